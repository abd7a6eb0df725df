#include "tests/support/board_window.h"

#include <QtTest>

void BoardWindowTest::initTestCase()
{
    qputenv("DRAVIK_NO_MODAL", "1");
    root = std::make_unique<ScopedFolderRoot>();
    QVERIFY(root->isValid());
}

void BoardWindowTest::cleanupTestCase() { root.reset(); }

void BoardWindowTest::init()
{
    board = new Dialog;
    board->resize(800, 600);
    board->InitBoardModel();
    board->ResetBoard(false);
    board->show();
    QVERIFY(QTest::qWaitForWindowExposed(board));
}

void BoardWindowTest::cleanup()
{
    delete board;
    board = nullptr;
}

void BoardWindowTest::Drag(int slot, QPoint from, QPoint to, int steps)
{
    board->PointerPress(slot, from.x(), from.y(), true, false);
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        board->PointerMove(slot, p.x(), p.y(), true, false);
    }
    board->PointerRelease(slot, to.x(), to.y(), true, false);
}
