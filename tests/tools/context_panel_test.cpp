#include "app/ui/dialog.h"
#include "app/ui/outside_libraries.h"
#include "tests/support/debug_log.h"
#include "tests/support/dialog_fixture.h"
#include "tests/support/test_folders.h"
#include "tools/context_panel.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The board's context panel: where it opens and which editing commands it
// offers, on a window that went through its second stage.
class ContextPanelTest : public DialogTestBase
{
    Q_OBJECT

    // The twelve editing commands' states as a string of 0 and 1, Cut first.
    QString EditStates() const
    {
        QString s;
        for (const QAction* a : board->m_editActions)
            s += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }

private slots:
    void initTestCase() { StartDialogTests(); }

    void init()
    {
        QVERIFY(OpenBoard());
    }

    void cleanup() { CloseBoard(); }

    void placement_data()
    {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QPoint>("expected");
        // A 200 x 300 panel on a 1920 x 1080 screen.
        QTest::newRow("room on both sides") << QPoint(500, 400) << QPoint(500, 400);
        QTest::newRow("near the right edge") << QPoint(1910, 400) << QPoint(1720, 400);
        QTest::newRow("exactly touching the right edge") << QPoint(1720, 400) << QPoint(1720, 400);
        QTest::newRow("near the bottom") << QPoint(500, 1070) << QPoint(500, 780);
        QTest::newRow("bottom-right corner") << QPoint(1919, 1079) << QPoint(1720, 780);
    }

    void placement()
    {
        QFETCH(QPoint, cursor);
        QFETCH(QPoint, expected);
        QCOMPARE(tools::ContextPanelPosition(cursor, QSize(200, 300), QSize(1920, 1080)), expected);
    }

    void enabling_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("selection");
        QTest::addColumn<bool>("records");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        // Cut Copy Paste Delete All | Front Forward Backward Back | Group Ungroup Reset
        QTest::newRow("selection: paste and grouping stay on") << 0 << true << true << "001000000110" << "111111111111";
        QTest::newRow("selection: paste and grouping stay off") << 0 << true << true << "000000000000" << "110111111001";
        QTest::newRow("no selection: its commands go off, All stays") << 0 << false << false << "111111111111"
                                                                     << "001010000110";
        QTest::newRow("ink on the board turns All on") << 0 << false << true << "000000000000" << "000010000000";
        QTest::newRow("viewer") << 1 << true << true << "111111111111" << "000000000000";
        QTest::newRow("writer") << 2 << true << true << "111111111111" << "000000000000";
        QTest::newRow("host") << 3 << true << true << "111111111111" << "000000000000";
    }

    void enabling()
    {
        QFETCH(int, level);
        QFETCH(bool, selection);
        QFETCH(bool, records);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QCOMPARE(board->m_editActions.size(), 12);
        for (int i = 0; i < 12; ++i)
            board->m_editActions[i]->setEnabled(before[i] == QLatin1Char('1'));
        board->m_collUserLevel = level;
        if (selection)
            board->m_select_id_str << QStringLiteral("3_7");
        if (records) {
            // Any slot's table counts, not only the mouse's.
            EventMaster em;
            em.EventID = 7;
            board->m_board.slot[3].records.appendMaster(em);
        }
        board->m_rulerAction->setEnabled(false);
        board->m_undoAction->setEnabled(true);

        board->OptRightMenu();
        QVERIFY(board->m_editMenu->isVisible());
        QCOMPARE(EditStates(), after);
        // The instruments and undo are not the panel's to switch.
        QVERIFY(!board->m_rulerAction->isEnabled());
        QVERIFY(board->m_undoAction->isEnabled());
        board->m_editMenu->hide();
    }

    void opensAtTheCursorInsideTheScreen()
    {
        const QSize screen(board->m_canvasWidth, board->m_canvasHeight);
        QCursor::setPos(screen.width() - 10, 100);
        if (QCursor::pos() != QPoint(screen.width() - 10, 100))
            QSKIP("this platform does not move the cursor");
        board->OptRightMenu();
        QVERIFY(board->m_editMenu->isVisible());
        const QRect panel = board->m_editMenu->geometry();
        QCOMPARE(panel.right() + 1, screen.width());
        QCOMPARE(panel.top(), 100);
    }
};

QTEST_MAIN(ContextPanelTest)
#include "context_panel_test.moc"
