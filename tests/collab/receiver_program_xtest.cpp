// Two real whiteboards share one board: each on an X server of its own with
// its own folders, inside the test's own network namespace. The host serves
// on the namespace's address, the participant joins at 127.0.0.1. What the
// host draws, the page it shows and its undo reach the participant's
// screen; the participant, given the write right, draws back.
#include "app/ui/dialog.h"
#include "collab/ui/collconnectdlg.h"
#include "collab/ui/colluserlistdlg.h"
#include "tests/support/net_namespace.h"
#include "tests/support/own_display.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);

}  // namespace

class ReceiverProgramXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    // Places on the screen, taken from the same layout code on a screen of
    // the same size.
    QMap<QString, QPoint> m_at;

    bool StartBoard(RunningProgram& board, const OwnDisplay& display, QTemporaryDir& root)
    {
        QProcessEnvironment environment;
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("DRAVIK_NO_MODAL", "1");
        environment.insert("DRAVIK_ROOT", root.path());
        environment.insert("TMPDIR", root.path());
        environment.insert("DISPLAY", display.name);
        environment.insert("DRAVIK_LIBRARY_DIR", BuiltProgramFolder());
        Use(display);
        return StartWhiteboard(board, {}, environment);
    }

    void Connect(const OwnDisplay& display, RunningProgram& board, bool host)
    {
        Use(display);
        Click(display, m_at["connect"]);
        QVERIFY(!WaitForXWindows("^Server / Client$", 10000, board.pid()).isEmpty());
        Click(display, m_at[host ? "BtnRdo_server" : "BtnRdo_client"]);
        if (!host)
            Type(display, m_at["lineEdit_IP"], QStringLiteral("127.0.0.1"));
        Type(display, m_at["lineEdit_PASS"], QStringLiteral("pw"));
        Click(display, m_at["Btn_connect"]);
    }

    QImage Screen(const OwnDisplay& display)
    {
        const QString path = m_root->path() + "/screen.png";
        QFile::remove(path);
        QProcess::execute("import", {"-display", display.name, "-window", "root", path});
        return QImage(path);
    }

    // Dark pixels near the horizontal line from x0 to x1 at height y.
    int InkAlong(const OwnDisplay& display, int x0, int x1, int y)
    {
        const QImage screen = Screen(display);
        if (screen.isNull())
            return -1;
        int dark = 0;
        for (int x = x0; x <= x1; ++x) {
            for (int dy = -4; dy <= 4; ++dy)
                dark += qGray(screen.pixel(x, y + dy)) < 100 ? 1 : 0;
        }
        return dark;
    }

private slots:
    void initTestCase()
    {
        if (!InOwnNetworkNamespace())
            QSKIP("no network namespace can be made here; the session runs only inside one");
        if (QStandardPaths::findExecutable("Xvfb").isEmpty())
            QSKIP("no Xvfb");
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        ScopedLibraryFolder libraries(BuiltProgramFolder());
        Dialog layout;
        layout.InitDialog(false);
        QVERIFY(layout.m_collConnectDlg);
        const QPoint board(layout.m_canvasLeft, 0);
        const auto centre = [&](QWidget* w) { return w->geometry().center() + board; };
        m_at.insert("connect", centre(layout.ui->btn_show_collconnectDlg));
        m_at.insert("notebtn", centre(layout.ui->notebtn));
        m_at.insert("undobtn", centre(layout.ui->undobtn));
        CollConnectDlg* dialog = layout.m_collConnectDlg;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        for (QWidget* w : std::initializer_list<QWidget*>{dialog->BtnRdo_server, dialog->BtnRdo_client,
                                                         dialog->lineEdit_PASS, dialog->Btn_connect,
                                                         dialog->lineEdit_IP})
            m_at.insert(w->objectName(), w->mapTo(dialog, w->rect().center()) + dialog->geometry().topLeft());
        dialog->hide();

        // The host's user list slid open, with the host and one participant.
        layout.SetToolbarByRole(3, true);
        m_at.insert("userlist", centre(layout.ui->btn_show_userListDlg));
        CollUserListDlg* list = layout.m_collUserListDlg;
        layout.OptUserListDlgBtn();
        list->SetUserList(QStringLiteral("[Server]_192.0.2.1"));
        list->SetUserList(QStringLiteral("[User]_192.0.2.1"));
        QTest::qWait(1500);
        QTableWidget* table = list->tableWidget_userList;
        const QRect row = table->visualRect(table->model()->index(1, 0));
        m_at.insert("participantRow", table->viewport()->mapTo(list, row.center()) + list->geometry().topLeft() + board);
        m_at.insert("write", list->btn_authorize_Write->geometry().center() + list->geometry().topLeft() + board);
    }

    void sharedBoard()
    {
        OwnDisplay hostDisplay, joinDisplay;
        QVERIFY(hostDisplay.Start());
        QVERIFY(joinDisplay.Start());
        QTemporaryDir hostRoot, joinRoot;
        RunningProgram host, participant;
        QVERIFY(StartBoard(host, hostDisplay, hostRoot));
        QVERIFY(host.waitForLine("exe : Success load Konnexa.dll", 5000) >= 0);
        Connect(hostDisplay, host, true);
        QVERIFY(host.waitForLine("exe : ----Start Server----", 10000) >= 0);
        QVERIFY(StartBoard(participant, joinDisplay, joinRoot));
        QVERIFY(participant.waitForLine("exe : Success load Konnexa.dll", 5000) >= 0);
        Connect(joinDisplay, participant, false);
        // The host's page record ends the page set-up of the newcomer.
        QVERIFY(participant.waitForLine("NOTEDATA_info", 10000) >= 0);
        QTest::qWait(1000);

        // A stroke on the host appears along its path on the participant.
        QCOMPARE(InkAlong(joinDisplay, 420, 680, 400), 0);
        Use(hostDisplay);
        XdotoolDrag(QPoint(400, 400), QPoint(700, 400), 30);
        QTRY_VERIFY_WITH_TIMEOUT(InkAlong(joinDisplay, 420, 680, 400) > 200, 10000);
        if (qEnvironmentVariableIsSet("DRAVIK_KEEP_SCREEN"))
            Screen(joinDisplay).save(qEnvironmentVariable("DRAVIK_KEEP_SCREEN"));

        // A new page on the host: the participant shows it, without the stroke.
        Click(hostDisplay, m_at["notebtn"]);
        QTRY_COMPARE_WITH_TIMEOUT(InkAlong(joinDisplay, 420, 680, 400), 0, 10000);

        // A stroke, then the host's undo takes it away on both boards.
        Use(hostDisplay);
        XdotoolDrag(QPoint(400, 500), QPoint(700, 500), 30);
        QTRY_VERIFY_WITH_TIMEOUT(InkAlong(joinDisplay, 420, 680, 500) > 200, 10000);
        Click(hostDisplay, m_at["undobtn"]);
        QTRY_COMPARE_WITH_TIMEOUT(InkAlong(joinDisplay, 420, 680, 500), 0, 10000);
        QCOMPARE(InkAlong(hostDisplay, 420, 680, 500), 0);

        // The host hands the write right to the participant from its user
        // list; what the participant draws appears on the host.
        Click(hostDisplay, m_at["userlist"]);
        QTest::qWait(1500);
        Click(hostDisplay, m_at["participantRow"]);
        const int mark = participant.lines().size();
        Click(hostDisplay, m_at["write"]);
        // Granted, the participant tells everyone its pen and board size.
        QVERIFY(participant.waitForLine("EXE Tx: TotalSize", 10000, mark) >= 0);
        QTest::qWait(1000);
        Use(joinDisplay);
        XdotoolDrag(QPoint(400, 600), QPoint(700, 600), 30);
        QTRY_VERIFY_WITH_TIMEOUT(InkAlong(hostDisplay, 420, 680, 600) > 200, 10000);

        QCOMPARE(CloseWhiteboard(participant), 0);
        Use(hostDisplay);
        QCOMPARE(CloseWhiteboard(host), 0);
    }
};

DRAVIK_NETNS_TEST_MAIN(ReceiverProgramXTest, QApplication)
#include "receiver_program_xtest.moc"
