// The on-screen keyboard command of the running whiteboard: from the Tools
// menu it opens the installed keyboard, the project save closes the keyboard
// again, and without a keyboard program the debug log and a message box (once
// a run) say so.
#include "app/ui/dialog.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

// The keyboard's own window.
const char* const kKeyboardWindow = "^Onboard$";

}  // namespace

class OnScreenKeyboardXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    RunningProgram m_board;
    QPoint m_toolsEntry;
    QPoint m_saveEntry;
    qint64 m_busPid = 0;
    QString m_busAddress;

    // The main menu from the logo, its Tools entry, and the first entry of
    // the Tools menu: the keyboard.
    bool ChooseKeyboard()
    {
        QStringList before = MappedWindowIds(m_board.pid());
        Xdotool({"mousemove", "48", "22", "click", "1"});
        const QString menu = WaitForNewXWindow(m_board.pid(), before, 10000);
        if (menu.isEmpty())
            return false;
        before << menu;
        const QPoint entry = XWindowGeometry(menu).topLeft() + m_toolsEntry;
        Xdotool({"mousemove", QString::number(entry.x()), QString::number(entry.y()), "click", "1"});
        if (WaitForNewXWindow(m_board.pid(), before, 10000).isEmpty())
            return false;
        Xdotool({"key", "--delay", "80", "Down", "Return"});
        return true;
    }

private slots:
    void initTestCase()
    {
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        qputenv("DRAVIK_NO_MODAL", "1");
        QTemporaryDir noLibraries;
        {
            ScopedLibraryFolder libraries(noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            const QList<QAction*> actions = layout.m_mainMenu->actions();
            m_saveEntry = layout.m_mainMenu->actionGeometry(actions.at(2)).center();
            for (QAction* a : actions) {
                if (a->menu() && !a->menu()->actions().contains(layout.m_toolPosActions[4]))
                    m_toolsEntry = layout.m_mainMenu->actionGeometry(a).center();
            }
        }
        QVERIFY(!m_toolsEntry.isNull());
        // A desktop session has a message bus, which the keyboard needs; this
        // private one lives as long as the test.
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"), {"--session", "--fork", "--print-address=1", "--print-pid=1"});
        QVERIFY2(bus.waitForFinished(10000) && bus.exitCode() == 0, "no session bus");
        const QStringList printed = QString::fromUtf8(bus.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), 2);
        m_busAddress = printed.at(0).trimmed();
        m_busPid = printed.at(1).trimmed().toLongLong();
        QVERIFY(m_busPid > 0);
    }

    void cleanupTestCase()
    {
        if (m_board.isRunning())
            CloseWhiteboard(m_board);
        if (m_busPid > 0)
            ::kill(pid_t(m_busPid), SIGTERM);
        m_root.reset();
    }

    void keyboardOpensAndTheSaveClosesIt()
    {
        QVERIFY2(!QStandardPaths::findExecutable("onboard").isEmpty(), "the keyboard program is not installed");
        QProcessEnvironment environment;
        environment.insert("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, environment));
        QVERIFY(m_board.waitForLine("time Done", 20000) >= 0);
        QVERIFY(ChooseKeyboard());
        QVERIFY2(!WaitForXWindows(kKeyboardWindow, 30000).isEmpty(), qPrintable(m_board.lines().join('\n').right(2000)));
        QVERIFY(!m_board.hasLine("error keyboard"));

        // The save asks for the keyboard for its file name; the answer (here
        // a cancelled dialog) closes the keyboard again.
        const int mark = m_board.lines().size();
        QVERIFY(ChooseMainMenuEntry(m_board.pid(), m_saveEntry));
        QVERIFY(m_board.waitForLine("file dialog save:", 10000, mark) >= 0);
        QVERIFY2(WaitForNoXWindows(kKeyboardWindow, 10000), "the keyboard stayed open after the save");
        QCOMPARE(CloseWhiteboard(m_board), 0);
    }

    void withoutAKeyboardTheUserIsTold()
    {
        QTemporaryDir emptyPath;
        QProcessEnvironment environment;
        environment.insert("PATH", emptyPath.path());
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, environment));
        QVERIFY(m_board.waitForLine("time Done", 20000) >= 0);
        int mark = m_board.lines().size();
        QVERIFY(ChooseKeyboard());
        QVERIFY(m_board.waitForLine("error keyboard", 10000, mark) >= 0);
        QVERIFY(m_board.waitForLine("message box warning: On-screen keyboard", 5000, mark) >= 0);
        // Asked again (each save asks): logged, not shown again.
        mark = m_board.lines().size();
        QVERIFY(ChooseKeyboard());
        QVERIFY(m_board.waitForLine("error keyboard", 10000, mark) >= 0);
        QVERIFY(!m_board.hasLine("message box", mark));
        QCOMPARE(CloseWhiteboard(m_board), 0);
    }
};

QTEST_MAIN(OnScreenKeyboardXTest)
#include "on_screen_keyboard_xtest.moc"
