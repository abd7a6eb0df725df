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
        XdotoolClick(QPoint(168, 22));
        QVERIFY2(driver.waitForLine("recv 2025 0 0", 10000, mark) >= 0, qPrintable(board.lines().join('\n')));
        QTRY_VERIFY_WITH_TIMEOUT(FindXWindows("^Dialog6601$", board.pid()).isEmpty(), 10000);

        // The tray icon sits in the tray host's panel; its menu's first entry
        // brings the board back.
        const QStringList panels = FindXWindows("^panel$", tray.pid());
        QVERIFY(!panels.isEmpty());
        const QRect panel = XWindowGeometry(panels.first());
        // Icons gather at the panel's right end.
        QPoint icon(panel.right() - 12, panel.center().y());
        // The menu opens up and to the left of the icon at the screen's
        // corner; its first entry is its top row. The icon may still be on
        // its way into the tray: the click is given again until the menu shows.
        const int back = driver.lines().size();
        QVERIFY(ChooseFromPopup(board.pid(), icon, 1, icon + QPoint(-150, -68), 3000));
        QVERIFY(!WaitForXWindows("^Dialog6601$", 10000, board.pid()).isEmpty());
        // The pen driver is told the board is back.
        QVERIFY(driver.waitForLine("recv 2025 0 1", 10000, back) >= 0);

        board.kill();
        driver.kill();
        tray.kill();
    }
};

QTEST_MAIN(WindowModeTest)
#include "window_mode_xtest.moc"
