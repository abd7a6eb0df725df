// Picks and drags objects in the running whiteboard as a person would:
// xdotool draws a line and a rectangle, chooses the select tool on the
// toolbar, taps and drags, and the screen is looked at from outside.
#include "app/ui/dialog.h"
#include "tests/support/board_screen.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QImage>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
}

void Drag(QPoint from, QPoint to)
{
    QStringList steps{"mousemove", N(from.x()), N(from.y()), "mousedown", "1"};
    for (int i = 1; i <= 20; ++i) {
        const QPoint p = from + (to - from) * i / 20;
        steps << "mousemove" << N(p.x()) << N(p.y()) << "sleep" << "0.01";
    }
    steps << "mouseup" << "1";
    Xdotool(steps);
}

bool Dark(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }

int DarkIn(const QImage& image, QRect area)
{
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += Dark(image.pixel(x, y)) ? 1 : 0;
    return n;
}

}  // namespace

class SelectionProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    RunningProgram m_board;
    QMap<QString, QRect> m_buttons;  // on the screen, by object name

    // Screenshots until the condition holds, at most 10 s: the screen shows
    // a change a moment after the board made it.
    QImage ScreenWhen(const std::function<bool(const QImage&)>& holds)
    {
        return ScreenshotWhen(m_root->path() + "/screen.png", holds);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        m_noLibraries = std::make_unique<QTemporaryDir>();
        {
            // The same layout code on the same screen places the buttons
            // where the program shows them.
            m_buttons = ToolbarButtonsOnScreen(m_noLibraries->path());
        }
        QProcessEnvironment environment;
        environment.insert("DRAVIK_NO_MODAL", "1");
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, environment));
        QVERIFY(m_board.waitForLine("time Done", 20000) >= 0);
    }

    void cleanupTestCase()
    {
        if (m_board.isRunning())
            CloseWhiteboard(m_board);
        m_root.reset();
    }

    void pickFrameAndDrag()
    {
        QVERIFY(ChooseFromToolbarRow(m_board, m_buttons, "drawbtn", 2));  // the line
        Drag(QPoint(300, 300), QPoint(500, 300));
        QVERIFY(m_board.waitForLine("exe : object 0-0 kind 5", 10000) >= 0);
        QVERIFY(ChooseFromToolbarRow(m_board, m_buttons, "drawbtn", 3));  // the rectangle
        Drag(QPoint(300, 400), QPoint(500, 500));
        QVERIFY(m_board.waitForLine("exe : object 0-1 kind 8", 10000) >= 0);

        QVERIFY(ClickToolbarButton(m_board, m_buttons, "objectbtn"));

        // A tap beside the line: the frame 5 pixels out of its rectangle
        // (97 .. 103 around y 300), and the rotation handle above it.
        Click(QPoint(400, 304));
        const QRect frameLeft(290, 296, 4, 8);
        const QRect rotationHandle(395, 265, 10, 10);
        QImage shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, frameLeft) > 0; });
        shot.save(QDir::current().filePath("selection-frame.png"));
        QVERIFY(DarkIn(shot, frameLeft) > 0);
        QVERIFY(DarkIn(shot, rotationHandle) > 0);

        // A tap on empty board takes it away.
        Click(QPoint(800, 250));
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, frameLeft) == 0; });
        QCOMPARE(DarkIn(shot, frameLeft), 0);
        QCOMPARE(DarkIn(shot, rotationHandle), 0);
        QVERIFY(DarkIn(shot, QRect(350, 298, 100, 5)) > 50);  // the line stays

        // Picked again and dragged from inside its frame 100 pixels up: the
        // line stands at its new place and nothing is left at the old one.
        Click(QPoint(400, 304));
        ScreenWhen([&](const QImage& s) { return DarkIn(s, frameLeft) > 0; });
        Drag(QPoint(400, 300), QPoint(400, 200));
        shot = ScreenWhen([](const QImage& s) { return DarkIn(s, QRect(350, 198, 100, 5)) > 50; });
        QVERIFY(DarkIn(shot, QRect(350, 198, 100, 5)) > 50);
        QCOMPARE(DarkIn(shot, QRect(310, 290, 180, 20)), 0);

        // A drag across both objects frames both: one frame around the line
        // (now at y 200) and the rectangle, its bottom side below the
        // rectangle's.
        Drag(QPoint(250, 150), QPoint(560, 560));
        const QRect frameBottom(350, 505, 100, 6);
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, frameBottom) > 50; });
        shot.save(QDir::current().filePath("selection-both.png"));
        QVERIFY(DarkIn(shot, frameBottom) > 50);
        QVERIFY(DarkIn(shot, QRect(290, 240, 4, 20)) > 0);  // its left side between the two
        QVERIFY(m_board.hasLine("exe : area pick : eventID : 0"));
        QVERIFY(m_board.hasLine("exe : area pick : eventID : 1"));
    }
};

QTEST_MAIN(SelectionProgramTest)
#include "selection_program_xtest.moc"
