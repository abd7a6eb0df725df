// Two real whiteboards share one board: each on an X server of its own with
// its own folders, inside the test's own network namespace. The host serves
// on the namespace's address, the participant joins at 127.0.0.1. What the
// host draws, the page it shows and its undo reach the participant's
// screen; the participant, given the write right, draws back.
#include "app/ui/dialog.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/session_core.h"
#include "collab/ui/colluserlistdlg.h"
#include "tests/support/collab_session.h"
#include "tests/support/net_namespace.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QPropertyAnimation>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

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

class ReceiverProgramXTest : public CollabProgramTest
{
    Q_OBJECT

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

    // Screenshots until the area differs from `before` and two shots in a row
    // agree there: what slides in has come to rest.
    bool ComesToRest(const OwnDisplay& display, const QImage& before, QRect area)
    {
        QElapsedTimer clock;
        clock.start();
        QImage last;
        while (clock.elapsed() < 15000) {
            const QImage shot = Screen(display);
            if (shot.isNull())
                continue;
            const QImage now = shot.copy(area);
            if (now != before.copy(area) && now == last)
                return true;
            last = now;
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        DRAVIK_SKIP_WHERE_SESSIONS_CANNOT_RUN();
        QVERIFY(MeasurePlaces([this](Dialog& layout) {
            // The host's user list slid open, with the host and one participant.
            const QPoint board(layout.m_canvasLeft, 0);
            layout.SetToolbarByRole(3, true);
            m_at.insert("userlist", layout.ui->btn_show_userListDlg->geometry().center() + board);
            CollUserListDlg* list = layout.m_collUserListDlg;
            layout.OptUserListDlgBtn();
            list->SetUserList(QStringLiteral("[Server]_192.0.2.1"));
            list->SetUserList(QStringLiteral("[User]_192.0.2.1"));
            if (!QTest::qWaitFor([&layout]() { return layout.m_userListPanelAnimation->state() == QAbstractAnimation::Stopped; },
                                 10000)) {
                qWarning("the user list did not finish sliding open within 10 s");
                return false;
            }
            QTableWidget* table = list->tableWidget_userList;
            const QRect row = table->visualRect(table->model()->index(1, 0));
            m_at.insert("participantRow", table->viewport()->mapTo(list, row.center()) + list->geometry().topLeft() + board);
            m_at.insert("write", list->btn_authorize_Write->geometry().center() + list->geometry().topLeft() + board);
            return true;
        }));
    }

    void sharedBoard()
    {
        SessionBoard hostBoard, joinBoard;
        QVERIFY(StartSession(hostBoard, joinBoard, QStringLiteral("127.0.0.1")));
        auto& [hostDisplay, hostRoot, host] = hostBoard;
        auto& [joinDisplay, joinRoot, participant] = joinBoard;

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
        const QRect list = QRect(m_at["participantRow"], m_at["write"]).normalized().adjusted(-20, -20, 20, 20);
        const QImage closed = Screen(hostDisplay);
        Click(hostDisplay, m_at["userlist"]);
        QVERIFY2(ComesToRest(hostDisplay, closed, list), "the user list sliding open and coming to rest");
        Click(hostDisplay, m_at["participantRow"]);
        const int mark = participant.lines().size();
        Click(hostDisplay, m_at["write"]);
        // Granted, the participant tells everyone its pen and board size.
        QVERIFY(participant.waitForLine("EXE Tx: TotalSize", 10000, mark) >= 0);
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
        SessionBoard hostBoard(outer.path() + "/host-XXXXXX"), joinBoard(outer.path() + "/join-XXXXXX");
        QVERIFY(StartSession(hostBoard, joinBoard, QStringLiteral("127.0.0.1")));
        auto& [hostDisplay, hostRoot, host] = hostBoard;
        auto& [joinDisplay, joinRoot, participant] = joinBoard;
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
        // The relay takes the frames above in a moment; what follows cuts the
        // peer's stream, which must not take them along.
        QTest::qWait(1000);
        // A size announced and never sent, then bytes that are no frame.
        peer.socket.write(QByteArray::fromHex("ea60000000055553455253"));
        peer.socket.flush();
        HostilePeer garbage;
        QVERIFY(garbage.Join(QStringLiteral("Trudy")));
        garbage.socket.write(QByteArray::fromHex("0010ffffffff41414141414141414141"));
        garbage.socket.flush();
        // Nothing shows that a frame was dropped: the boards get a quiet
        // moment to do what they must not, then are looked at.
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
