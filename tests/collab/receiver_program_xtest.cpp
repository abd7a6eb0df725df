// Two real whiteboards share one board: each on an X server of its own with
// its own folders, inside the test's own network namespace. The host serves
// on the namespace's address, the participant joins at 127.0.0.1. What the
// host draws, the page it shows and its undo reach the participant's
// screen; the participant, given the write right, draws back.
#include "app/ui/dialog.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/session_core.h"
#include "collab/ui/collconnectdlg.h"
#include "collab/ui/colluserlistdlg.h"
#include "tests/support/net_namespace.h"
#include "tests/support/own_display.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);

// Every file below `root`, as relative paths, leaving out the folders given.
QStringList FilesBelow(const QString& root, const QStringList& except = {})
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        bool skipped = false;
        for (const QString& folder : except)
            skipped = skipped || path.startsWith(folder + QLatin1Char('/'));
        if (!skipped)
            files << QDir(root).relativeFilePath(path);
    }
    files.sort();
    return files;
}

// A participant that does everything wrong, as a plain socket.
class HostilePeer
{
public:
    bool Join(const QString& typedId)
    {
        socket.connectToHost(QStringLiteral("127.0.0.1"), coll::kSessionPort);
        if (!socket.waitForConnected(5000))
            return false;
        id = coll::ParticipantId(typedId, QStringLiteral("192.0.2.66"));
        Send("Connected_OK", coll::HandshakeData(id, QStringLiteral("pw"), 1));
        return socket.waitForReadyRead(5000);
    }
    void Send(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail = coll::kBlockEnd)
    {
        socket.write(BuildCollFrame(keyword, data, tail));
        socket.flush();
    }
    QString id;
    QTcpSocket socket;
};

}  // namespace

class ReceiverProgramXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    // Places on the screen, taken from the same layout code on a screen of
    // the same size.
    QMap<QString, QPoint> m_at;

    // Both boards on their own screens, the participant joined and given
    // the host's page.
    void StartSession(OwnDisplay& hostDisplay, OwnDisplay& joinDisplay, QTemporaryDir& hostRoot,
                      QTemporaryDir& joinRoot, RunningProgram& host, RunningProgram& participant)
    {
        QVERIFY(hostDisplay.Start());
        QVERIFY(joinDisplay.Start());
        QVERIFY(StartBoardOn(host, hostDisplay, hostRoot.path()));
        QVERIFY(host.waitForLine("exe : Success load Konnexa.dll", 5000) >= 0);
        Connect(hostDisplay, host, true);
        QVERIFY(host.waitForLine("exe : ----Start Server----", 10000) >= 0);
        QVERIFY(StartBoardOn(participant, joinDisplay, joinRoot.path()));
        QVERIFY(participant.waitForLine("exe : Success load Konnexa.dll", 5000) >= 0);
        Connect(joinDisplay, participant, false);
        // The host's page record ends the page set-up of the newcomer.
        QVERIFY(participant.waitForLine("NOTEDATA_info", 10000) >= 0);
        QTest::qWait(1000);
    }

    // A click on the board's collaboration button opens its connect dialog
    // within a second; the dialog is closed again.
    bool AnswersAClick(const OwnDisplay& display, RunningProgram& board)
    {
        Use(display);
        Click(display, m_at["connect"]);
        const QStringList windows = WaitForXWindows("^Server / Client$", 1000, board.pid());
        if (windows.isEmpty())
            return false;
        QProcess::execute(BuiltProgramFolder() + QStringLiteral("/CloseXWindow"), {windows.first()});
        return true;
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
        QTemporaryDir hostRoot, joinRoot;
        RunningProgram host, participant;
        StartSession(hostDisplay, joinDisplay, hostRoot, joinRoot, host, participant);
        if (QTest::currentTestFailed())
            return;

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

    // A peer joined to the session sends frames that are malformed, cut
    // short, out of range, path-like or not its to send. The relay or the
    // boards drop them; both boards keep answering, keep sharing, and no
    // file appears outside their folders or in their document folders.
    void hostilePeer()
    {
        QTemporaryDir outer;
        QVERIFY(outer.isValid());
        OwnDisplay hostDisplay, joinDisplay;
        QTemporaryDir hostRoot(outer.path() + "/host-XXXXXX"), joinRoot(outer.path() + "/join-XXXXXX");
        RunningProgram host, participant;
        StartSession(hostDisplay, joinDisplay, hostRoot, joinRoot, host, participant);
        if (QTest::currentTestFailed())
            return;
        const QString escape = QStringLiteral("dravik_escape_%1").arg(QCoreApplication::applicationPid());
        const QStringList outside = FilesBelow(outer.path(), {hostRoot.path(), joinRoot.path()});
        QStringList documents;
        for (const QString& root : {hostRoot.path(), joinRoot.path()})
            documents << FilesBelow(root).filter(QRegularExpression("(^|/)Doc/"));

        HostilePeer peer;
        QVERIFY(peer.Join(QStringLiteral("Mallory")));
        const QByteArray address = "0,,";
        const QList<QPair<QByteArray, QByteArray>> frames = {
            {"REALTIME_EVENT", "3,99,1,10,10"},
            {"REALTIME_EVENT", "3,-1,1,10,10"},
            {"REALTIME_EVENT", "3,1,1,2147483647,-2147483647"},
            {"REALTIME_EVENT", "3,1,3,5,5"},
            {"REALTIME_EVENT", "zzz"},
            {"REALTIME_EVENT", ""},
            {"MODIFY_SET", "0,,0"},
            {"MODIFY_SET", "1,5-70000,0,1,1,1,1,1,1,3"},
            {"MODIFY_SET", "2,10-99999,0,1,1,1"},
            {"MODIFY_SET", "3,0-0"},
            {"PENWIDTH_SET", "2147483647,3"},
            {"PENCOLOR_SET", "999,-999,999,999,2"},
            {"PENTYPE_SET", QByteArray(5000, 'x') + ",2"},
            {"RESOLUTION_SET", address + "3,0,0"},
            {"RESOLUTION_SET", address + "3,-5,100000000"},
            {"WIDTHSCROLLBAR_SET", address + "5,0"},
            {"ChangeNote_SET", address + "7"},
            {"UndoRedo_SET", address + "3"},
            {"EMDATA_SET", address + "12,0,0,-1,3,65535,1,0,0,12,x,"},
            {"NOTEDATA_SET", address + "../../" + escape.toUtf8() + ",/tmp/" + escape.toUtf8() + ",p,,,2,0,1,1,0"},
            {"IMGPATH_SET", address + "../../" + escape.toUtf8() + ",0,1"},
            {"NOTEBTN_SET", address + "../" + escape.toUtf8()},
            {"LEVEL_CH", peer.id.toUtf8() + ",3,0"},
        };
        for (const auto& frame : frames)
            peer.Send(frame.first, frame.second);
        const QList<QByteArray> tails = {
            "0,,3,../../../" + escape.toUtf8() + ",Block_EN\n",
            "0,,4,/tmp/" + escape.toUtf8() + ",Block_EN\n",
            "0,,4,..\\..\\" + escape.toUtf8() + ",Block_EN\n",
            "0,,0,Block_EN\n",
            "0,,1,Block_EN\n",
            "0,,2,Block_EN\n",
            "0,,9," + escape.toUtf8() + ",Block_EN\n",
            "",
        };
        for (const QByteArray& tail : tails) {
            for (int i = 0; i < 3; ++i)
                peer.Send("DOC_ST", QByteArray(3072, char('a' + i)), tail);
            peer.Send("DOC_EN", coll::FileEndData(), tail);
        }
        QTest::qWait(1000);
        // A size announced and never sent, then bytes that are no frame.
        peer.socket.write(QByteArray::fromHex("ea60000000055553455253"));
        peer.socket.flush();
        HostilePeer garbage;
        QVERIFY(garbage.Join(QStringLiteral("Trudy")));
        garbage.socket.write(QByteArray::fromHex("0010ffffffff41414141414141414141"));
        garbage.socket.flush();
        QTest::qWait(1500);

        // The peer holds no write right: its files reach no board.
        for (RunningProgram* board : {&host, &participant})
            QVERIFY(!board->hasLine("EXE Rx : file"));
        QVERIFY(AnswersAClick(hostDisplay, host));
        QVERIFY(AnswersAClick(joinDisplay, participant));
        QCOMPARE(FilesBelow(outer.path(), {hostRoot.path(), joinRoot.path()}), outside);
        QVERIFY(!QFileInfo::exists("/tmp/" + escape + ".png"));
        QVERIFY(!QFileInfo::exists("/tmp/" + escape));
        QStringList documentsAfter;
        for (const QString& root : {hostRoot.path(), joinRoot.path()})
            documentsAfter << FilesBelow(root).filter(QRegularExpression("(^|/)Doc/"));
        QCOMPARE(documentsAfter, documents);
        for (const QString& root : {hostRoot.path(), joinRoot.path()})
            QVERIFY(FilesBelow(root).filter(escape).isEmpty());

        // The session still works: the host's stroke reaches the participant.
        Use(hostDisplay);
        XdotoolDrag(QPoint(400, 450), QPoint(700, 450), 30);
        QTRY_VERIFY_WITH_TIMEOUT(InkAlong(joinDisplay, 420, 680, 450) > 200, 10000);
        Use(joinDisplay);
        QCOMPARE(CloseWhiteboard(participant), 0);
        Use(hostDisplay);
        QCOMPARE(CloseWhiteboard(host), 0);
    }
};

DRAVIK_NETNS_TEST_MAIN(ReceiverProgramXTest, QApplication)
#include "receiver_program_xtest.moc"
