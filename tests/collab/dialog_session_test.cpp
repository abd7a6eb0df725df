// A whiteboard hosting, joining and leaving sessions on the real relay, with
// test peers as plain sockets, all inside the test's own network namespace.
#include "app/ui/dialog.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/ui/collconnectdlg.h"
#include "collab/ui/colluserlistdlg.h"
#include "tests/support/debug_log.h"
#include "tests/support/net_namespace.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QTableWidget>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QPropertyAnimation>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);

// A participant of our own making: handshakes, then keeps every frame.
class TestPeer
{
public:
    bool Join(const QString& typedId, const QString& password, int level = 1)
    {
        id = coll::ParticipantId(typedId, QStringLiteral("192.0.2.%1").arg(++s_count + 10));
        socket.connectToHost(kAddress, coll::kSessionPort);
        if (!socket.waitForConnected(5000))
            return false;
        socket.write(BuildCollFrame("Connected_OK", coll::HandshakeData(id, password, level), coll::kBlockEnd));
        return QTest::qWaitFor([this]() { return !Frames("users").isEmpty(); }, 5000);
    }
    // Every frame received so far as "KEYWORD|data".
    QStringList Received()
    {
        buffer.Append(socket.readAll());
        CollFrame frame;
        QByteArray bytes;
        while (buffer.Next(&frame, &bytes) > 0)
            frames << QString::fromUtf8(frame.keyword + '|' + frame.data);
        return frames;
    }
    QStringList Frames(const QString& keyword)
    {
        return Received().filter(QRegularExpression("^" + QRegularExpression::escape(keyword) + "\\|"));
    }
    void Forget() { Received(), frames.clear(); }
    void Send(const char* keyword, const QString& data)
    {
        socket.write(BuildCollFrame(keyword, data.toUtf8(), coll::kBlockEnd));
    }

    QString id;
    QTcpSocket socket;
    CollFrameBuffer buffer;
    QStringList frames;
    static int s_count;
};
int TestPeer::s_count = 0;

bool PortFree(quint16 port)
{
    QTcpServer probe;
    return probe.listen(QHostAddress::AnyIPv4, port);
}

}  // namespace

class DialogSessionTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<ScopedLibraryFolder> m_libraries;
    std::unique_ptr<Dialog> m_dialog;

    Dialog& d() { return *m_dialog; }

    void Host()
    {
        d().OptStartServer(kAddress, "Server", "pw");
        QVERIFY(d().m_session.serverRunning);
        QVERIFY(QTest::qWaitFor([this]() { return g_log.filter("TotalSize").size() > 0; }, 5000));
    }

private slots:
    void initTestCase()
    {
        if (!InOwnNetworkNamespace())
            QSKIP("no network namespace can be made here; the session tests talk only inside one");
        qInstallMessageHandler(CollectLog);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_libraries = std::make_unique<ScopedLibraryFolder>(BuiltProgramFolder());
        m_dialog = std::make_unique<Dialog>();
        m_dialog->show();
        m_dialog->InitDialog(false);
        QVERIFY(m_dialog->m_collLibraryLoaded);
        QVERIFY(m_dialog->m_collConnectDlg);
    }

    void init() { g_log.clear(); }

    void cleanup()
    {
        if (m_dialog) {
            // What a test drew is not worth a "save first?" on the way out.
            m_dialog->m_boardModified = false;
            m_dialog->OptServerClose();
            m_dialog->OptDisconnect();
        }
    }

    void cleanupTestCase() { m_dialog.reset(); }

    // The host serves on its address with the password it chose; a peer
    // with that password is admitted and listed after the host.
    void hostAdmitsPeer()
    {
        Host();
        QCOMPARE(d().m_collUserLevel, 3);
        QVERIFY(d().m_collConnected);
        QCOMPARE(d().m_session.hostId, QString("[Server]_192.0.2.1"));
        QCOMPARE(d().m_ownId, d().m_session.hostId);
        QCOMPARE(d().m_toolRightHolder, d().m_session.hostId);
        QVERIFY(g_log.contains("exe : ----Start Server----"));
        QVERIFY(d().m_discoverySocket);
        QCOMPARE(d().m_discoverySocket->localPort(), quint16(coll::kDiscoveryPort));
        QVERIFY(!PortFree(coll::kSessionPort));

        TestPeer peer;
        QVERIFY(peer.Join("Desk7", "pw"));
        QTRY_VERIFY_WITH_TIMEOUT(peer.Frames("users").last() == "users|[Server]_192.0.2.1," + peer.id, 5000);

        TestPeer intruder;
        QVERIFY(!intruder.Join("Other", "wrong"));
        QCOMPARE(intruder.Frames("PASSERROR").size(), 1);
    }

    // A second request in a session changes nothing: not the level, not the
    // board, not the socket.
    void secondConnectChangesNothing()
    {
        Host();
        const QString page = d().m_curr_note.create_data;
        QTcpSocket* socket = d().m_konnexa.soc_();
        d().OptConnect(kAddress, "User", "pw", 1);
        QCOMPARE(d().m_collUserLevel, 3);
        QCOMPARE(d().m_curr_note.create_data, page);
        QCOMPARE(d().m_konnexa.soc_(), socket);
        QVERIFY(g_log.contains("exe : Already connected to server"));
        d().OptStartServer(kAddress, "Server", "pw");
        QVERIFY(g_log.contains("exe : The server is already running."));
    }

    // The relay failing under the host is a connection error on the host's
    // own socket: the port is given back and a new session can start.
    void hostErrorFreesThePort()
    {
        Host();
        d().m_konnexa.server_close();
        QTRY_VERIFY_WITH_TIMEOUT(!d().m_collConnected, 5000);
        QVERIFY(!d().m_session.serverRunning);
        QVERIFY(!d().m_discoverySocket);
        QCOMPARE(d().m_collUserLevel, 0);
        QVERIFY(g_log.contains("message box critical:  | cannot connect server."));
        QVERIFY(d().m_collConnectDlg->Btn_connect->isEnabled());
        QVERIFY(PortFree(coll::kSessionPort));

        g_log.clear();
        Host();
        QVERIFY(d().m_collConnected);
        TestPeer peer;
        QVERIFY(peer.Join("Desk7", "pw"));
    }

    // A taken port is reported and changes nothing else; freed, it serves.
    void takenPort()
    {
        {
            QTcpServer squatter;
            QVERIFY(squatter.listen(QHostAddress::AnyIPv4, coll::kSessionPort));
            d().m_collConnectDlg->Btn_connect->click();
            QVERIFY(g_log.contains("message box critical:  | Could not listen on Port"));
            QVERIFY(g_log.contains("exe : ----Not Start Server----"));
            QVERIFY(!d().m_session.serverRunning);
            QVERIFY(!d().m_collConnected);
            QCOMPARE(d().m_collUserLevel, 0);
            QVERIFY(d().m_collConnectDlg->Btn_connect->isEnabled());
            QVERIFY(!d().m_collConnectDlg->Btn_disconnect->isEnabled());
        }
        d().m_collConnectDlg->Btn_connect->click();
        QVERIFY(d().m_session.serverRunning);
        QVERIFY(d().m_collConnected);
        QVERIFY(!d().m_collConnectDlg->Btn_connect->isEnabled());
        d().m_collConnectDlg->Btn_disconnect->click();
        QVERIFY(!d().m_session.serverRunning);
        QVERIFY(!d().m_collConnected);
        QVERIFY(PortFree(coll::kSessionPort));
    }

    // Joining as a viewer offers the unsaved lesson for saving first; with
    // no file chosen nothing happens. A host that cannot be reached leaves
    // the participant's own board as it was, with an idle dialog.
    void participantErrorPath()
    {
        d().ClickNoteBtn("BlackNote");
        const QString page = d().m_curr_note.create_data;
        const int pages = d().m_note_cnt;
        QVERIFY(d().m_boardModified);
        d().m_collConnectDlg->BtnRdo_client->click();
        d().m_collConnectDlg->lineEdit_IP->setText(kAddress);
        d().m_collConnectDlg->Btn_connect->click();
        QVERIFY(g_log.contains("message box question: Confirm | " + d().m_lang.messages.value(3)));
        QCOMPARE(d().m_collUserLevel, 0);
        QVERIFY(!d().m_collConnected);
        QCOMPARE(d().m_note_cnt, pages);
        QCOMPARE(d().m_curr_note.create_data, page);
        QVERIFY(d().m_boardModified);

        // Saved (or let go), the lesson still stays when the host never answers.
        g_log.clear();
        d().m_boardModified = false;
        d().m_collConnectDlg->Btn_connect->click();
        QCOMPARE(d().m_collUserLevel, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!d().m_collConnected, 5000);
        QCOMPARE(d().m_collUserLevel, 0);
        QCOMPARE(d().m_note_cnt, pages);
        QCOMPARE(d().m_curr_note.create_data, page);
        QVERIFY(g_log.contains("message box critical:  | cannot connect server."));
        QVERIFY(d().m_collConnectDlg->Btn_connect->isEnabled());
        QVERIFY(d().m_collConnectDlg->lineEdit_IP->isEnabled());
        QVERIFY(!d().ui->label_gif->isVisible());
        d().m_collConnectDlg->BtnRdo_server->click();
    }

    // The host's board is the lesson it taught: ending the session asks
    // "save first?", and with no file chosen the session goes on; saved, it
    // ends and the board starts afresh.
    void hostEndAsksToSave()
    {
        Host();
        d().ClickNoteBtn("BlackNote");
        QVERIFY(d().m_boardModified);
        const int pages = d().m_note_cnt;
        d().OptServerClose();
        QVERIFY(g_log.contains("message box question: Confirm | " + d().m_lang.messages.value(3)));
        QVERIFY(d().m_collConnected);
        QVERIFY(d().m_session.serverRunning);
        QCOMPARE(d().m_note_cnt, pages);

        QTemporaryDir files;
        d().m_currentProjectPath = files.filePath("hosted.vk");
        d().OptServerClose();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(files.filePath("hosted.vk")), 20000);
        QVERIFY(!d().m_collConnected);
        QVERIFY(!d().m_session.serverRunning);
        QCOMPARE(d().m_note_cnt, 1);
    }

    // Rights go only to the peer they name, in order; the host's own row
    // sends nothing; a host smart-pen stroke parks and gives back the right.
    void rights()
    {
        Host();
        TestPeer p, q;
        QVERIFY(p.Join("P", "pw"));
        QVERIFY(q.Join("Q", "pw"));
        p.Forget();
        q.Forget();

        d().OptSetUserLevel(d().m_session.hostId);
        d().OptSetUserLevel(p.id);
        QTRY_COMPARE_WITH_TIMEOUT(p.Frames("LEVEL_CH"), QStringList{"LEVEL_CH|" + p.id + ",2,0"}, 5000);
        d().OptSetUserLevel(q.id);
        QTRY_COMPARE_WITH_TIMEOUT(q.Frames("LEVEL_CH"), QStringList{"LEVEL_CH|" + q.id + ",2,0"}, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(p.Frames("LEVEL_CH"),
                                  QStringList({"LEVEL_CH|" + p.id + ",2,0", "LEVEL_CH|" + p.id + ",1,0"}), 5000);
        QCOMPARE(q.Frames("LEVEL_CH").size(), 1);
        p.Forget();
        q.Forget();

        // Q holds the tool right: moving the write right to P brings the tool
        // home first, to everyone, with the host's undo position.
        d().m_toolRightHolder = q.id;
        d().OptSetUserLevel(p.id);
        const QString undoPosition = "URdata_SET|0,,0,0";
        QTRY_COMPARE_WITH_TIMEOUT(
            p.Received(), QStringList({"TOOL_CH|" + d().m_session.hostId, undoPosition, "LEVEL_CH|" + p.id + ",2,0"}),
            5000);
        QTRY_COMPARE_WITH_TIMEOUT(
            q.Received(), QStringList({"LEVEL_CH|" + q.id + ",1,0", "TOOL_CH|" + d().m_session.hostId, undoPosition}),
            5000);
        d().m_toolRightHolder = d().m_session.hostId;
        p.Forget();

        // A smart-pen stroke of the host: P is told 1 then 2, both flagged.
        d().m_board.slot[0].event_kind = ekFree;
        d().m_board.slot[0].m_curr_drawbtn = "ekSmart";
        d().PointerPress(0, 100, 100, true, false);
        d().PointerMove(0, 200, 120, true, false);
        d().PointerRelease(0, 300, 140, true, false);
        QTRY_COMPARE_WITH_TIMEOUT(p.Frames("LEVEL_CH"),
                                  QStringList({"LEVEL_CH|" + p.id + ",1,1", "LEVEL_CH|" + p.id + ",2,1"}), 5000);
        QCOMPARE(d().m_session.writeHolder, p.id);
    }

    // The relay's participant list fills the host's user list, in
    // case-insensitive order, with the host's own marks.
    void hostListsUsers()
    {
        Host();
        TestPeer b, a;
        QVERIFY(b.Join("b", "pw"));
        QVERIFY(a.Join("A", "pw"));
        CollUserListDlg* list = d().m_collUserListDlg;
        QTRY_COMPARE_WITH_TIMEOUT(list->tableWidget_userList->rowCount(), 3, 5000);
        QCOMPARE(list->RowId(0), a.id);
        QCOMPARE(list->RowId(1), b.id);
        QCOMPARE(list->RowId(2), d().m_session.hostId);
        QVERIFY(list->IsMarked(2, 0));
        QVERIFY(list->IsMarked(2, 1));
        QVERIFY(!list->IsMarked(0, 0));
        // The host answers the list with its pen.
        QTRY_VERIFY_WITH_TIMEOUT(!a.Frames("PENINFO_SET").isEmpty(), 5000);
    }

    // A participant takes the rights the host hands it; a level no host can
    // hand out is ignored.
    void participantTakesRights()
    {
        QVERIFY(d().m_konnexa.server_start(coll::kSessionPort));
        TestPeer host;
        QVERIFY(host.Join("Server", "pw", 3));
        d().OptConnect(kAddress, "User", "pw", 1);
        QTRY_VERIFY_WITH_TIMEOUT(host.Frames("users").last().contains(d().m_ownId), 5000);
        QCOMPARE(d().m_collUserLevel, 1);
        QVERIFY(d().ui->label_gif->isVisible());

        host.Forget();
        host.Send("LEVEL_CH", d().m_ownId + ",3,0");
        host.Send("LEVEL_CH", d().m_ownId + ",2,0");
        QTRY_COMPARE_WITH_TIMEOUT(d().m_collUserLevel, 2, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!host.Frames("PENINFO_SET").isEmpty(), 5000);
        QVERIFY(host.Frames("PENINFO_SET").last().endsWith(",2"));
        QVERIFY(g_log.filter("LEVEL_CH with level 3 ignored").size() == 1);

        host.Send("TOOL_CH", d().m_ownId);
        QTRY_COMPARE_WITH_TIMEOUT(d().m_toolRightHolder, d().m_ownId, 5000);
        QVERIFY(d().ToolRightHeld());
        host.Send("LEVEL_CH", d().m_ownId + ",1,0");
        QTRY_COMPARE_WITH_TIMEOUT(d().m_collUserLevel, 1, 5000);

        d().OptDisconnect();
        QVERIFY(!d().ui->label_gif->isVisible());
        d().m_konnexa.server_close();
        d().m_konnexa.server_delete();
    }

    // Resetting a slot's pen: the local user's own pen and zoom survive a
    // reset of somebody else's slot.
    void displayData_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("ownKept");
        QTest::newRow("alone, all") << 0 << -1 << false;
        QTest::newRow("host, writer's slot") << 3 << 10 << true;
        QTest::newRow("host, own slot") << 3 << 3 << false;
        QTest::newRow("writer, host's slot") << 2 << 3 << true;
        QTest::newRow("writer, own slot") << 2 << 10 << false;
        QTest::newRow("viewer, writer's slot") << 1 << 10 << false;
    }
    void displayData()
    {
        QFETCH(int, level);
        QFETCH(int, slot);
        QFETCH(bool, ownKept);
        d().m_collUserLevel = level;
        for (PointerSlotState& s : d().m_board.slot) {
            s.pen = QPen(Qt::red, 9);
            s.event_kind = 5;
            s.m_curr_drawbtn = "ekLine";
            s.brushWidth = 0;
        }
        d().m_penWidth = 9;
        d().m_zoom = 2.0;
        d().m_currentPenColor = Qt::red;
        d().SetDisplayData(slot);
        QCOMPARE(d().m_penWidth, ownKept ? 9 : 2);
        QCOMPARE(d().m_zoom, ownKept ? 2.0 : 1.0);
        QCOMPARE(d().m_currentPenColor, ownKept ? QColor(Qt::red) : QColor(Qt::black));
        for (int s = 0; s < kPointerSlotCount; ++s) {
            const PointerSlotState& state = d().m_board.slot[s];
            const bool reset = slot == -1 || s == slot;
            QCOMPARE(state.pen.width(), reset ? 2 : 9);
            QCOMPARE(state.brushWidth, reset ? 4.0f : 0.0f);
            const bool toolReset = (slot == 10 && s == 10) || (slot >= 0 && slot < 10 && s < 10);
            QCOMPARE(state.event_kind, toolReset ? int(ekFree) : 5);
            QCOMPARE(state.m_curr_drawbtn, toolReset ? QString(QChar(3)) : QString("ekLine"));
        }
        d().m_collUserLevel = 0;
    }

    void displayDataLogTrimmed()
    {
        QListWidget* log = d().ui->listWidget_logwindow;
        log->clear();
        for (int i = 0; i < 98; ++i)
            log->addItem("line");
        d().SetDisplayData(-1);
        QCOMPARE(log->count(), 99);
        d().SetDisplayData(-1);
        QCOMPARE(log->count(), 0);
    }

    void disconnectInitOneSlot()
    {
        for (PointerSlotState& s : d().m_board.slot) {
            s.highlight = true;
            s.pressed = true;
            s.event_kind = 5;
        }
        d().OptDisconnectInit(10);
        QVERIFY(!d().m_board.slot[10].highlight);
        QVERIFY(!d().m_board.slot[10].pressed);
        QVERIFY(d().m_board.slot[3].highlight);
        QVERIFY(d().m_board.slot[3].pressed);
        d().OptDisconnectInit(-1);
        for (const PointerSlotState& s : d().m_board.slot) {
            QVERIFY(!s.highlight);
            QCOMPARE(s.event_kind, int(ekFree));
            QCOMPARE(s.m_curr_drawbtn, QString("ekFree"));
        }
    }

    // The panel and its button slide by exactly -300, +300, -300.
    void userListSlides()
    {
        QWidget* panel = d().m_collUserListDlg;
        QWidget* button = d().ui->btn_show_userListDlg;
        int panelX = 0;
        int buttonX = button->x();
        for (const int distance : {-300, 300, -300}) {
            d().OptUserListDlgBtn();
            if (distance == -300 && panelX == 0)
                panelX = d().width();
            QTRY_VERIFY_WITH_TIMEOUT(d().m_userListPanelAnimation->state() == QAbstractAnimation::Stopped, 3000);
            QCOMPARE(panel->x(), panelX + distance);
            QCOMPARE(button->x(), buttonX + distance);
            panelX += distance;
            buttonX += distance;
        }
        d().OptUserListDlgBtn();
        QTRY_VERIFY_WITH_TIMEOUT(d().m_userListPanelAnimation->state() == QAbstractAnimation::Stopped, 3000);
    }
};

DRAVIK_NETNS_TEST_MAIN(DialogSessionTest, QApplication)
#include "dialog_session_test.moc"
