// Window mode hands the desktop back: with a system-tray host running, the
// window button hides the board, tells the pen driver "Window", and the tray
// icon's menu brings the board back and with it the driver's board mode.
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QFileInfo>
#include <QtTest>

#include <memory>

class WindowModeTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;

    static void Click(QPoint p)
    {
        Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"});
        QTest::qWait(500);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
    }

    void windowModeAndBack()
    {
        if (!QFileInfo::exists("/usr/bin/trayer"))
            QSKIP("no system-tray host (trayer) on this machine");
        RunningProgram tray;
        QVERIFY(tray.start("/usr/bin/trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                                "--width", "120", "--height", "32", "--SetDockType", "false"}));
        QVERIFY(!WaitForXWindows("^panel$", 10000).isEmpty());

        RunningProgram driver;
        QVERIFY(driver.start("PenDriverStub", {}));
        QVERIFY(driver.waitForLine("ready ", 10000) >= 0);
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY(driver.waitForLine("recv 2024 ", 10000) >= 0);
        QVERIFY2(board.waitForLine("time Done", 20000) >= 0, "the splash screen did not close within 20 s");

        // The window button: the sixth place of the top bar, after the logo,
        // the note button and its arrow.
        const int mark = driver.lines().size();
        Click(QPoint(168, 22));
        QVERIFY2(driver.waitForLine("recv 2025 0 0", 5000, mark) >= 0, qPrintable(board.lines().join('\n')));
        QTRY_VERIFY_WITH_TIMEOUT(FindXWindows("^Dialog6601$", board.pid()).isEmpty(), 5000);

        // The tray icon sits in the tray host's panel; its menu's first entry
        // brings the board back.
        const QStringList panels = FindXWindows("^panel$", tray.pid());
        QVERIFY(!panels.isEmpty());
        const QRect panel = XWindowGeometry(panels.first());
        // Icons gather at the panel's right end.
        QPoint icon(panel.right() - 12, panel.center().y());
        QTest::qWait(500);
        Click(icon);
        // The menu opens up and to the left of the icon at the screen's
        // corner; its first entry is its top row.
        const int back = driver.lines().size();
        Click(icon + QPoint(-150, -68));
        QVERIFY(!WaitForXWindows("^Dialog6601$", 5000, board.pid()).isEmpty());
        // The pen driver is told the board is back.
        QVERIFY(driver.waitForLine("recv 2025 0 1", 5000, back) >= 0);

        board.kill();
        driver.kill();
        tray.kill();
    }
};

QTEST_MAIN(WindowModeTest)
#include "window_mode_xtest.moc"
