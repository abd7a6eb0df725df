// Real whiteboards against peers that the test plays, inside the test's own
// network namespace: a viewer that draws, participants that never read
// while another floods the relay, and a host that sends bytes that are no
// frame or more board than a participant takes. The boards stay usable and
// a session that cannot go on ends with a message.
#include "collab/board_push.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/session_core.h"
#include "tests/support/collab_session.h"
#include "tests/support/net_namespace.h"
#include "tests/support/screenshot.h"
#include "tests/support/xdotool.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);

// Resident memory of a process in KiB; -1 when it cannot be read.
qint64 ResidentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// A participant played by the test over a plain socket on loopback.
class TestPeer
{
public:
    bool Join(const QString& typedId, bool reads = true)
    {
        if (!reads) {
            // Nothing is ever read: the relay's output for it piles up.
            socket.setReadBufferSize(4096);
            socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        }
        socket.connectToHost(QStringLiteral("127.0.0.1"), coll::kSessionPort);
        if (!socket.waitForConnected(5000))
            return false;
        id = coll::ParticipantId(typedId, QStringLiteral("192.0.2.66"));
        Send("Connected_OK", coll::HandshakeData(id, QStringLiteral("pw"), 1));
        return !reads || QTest::qWaitFor([this]() { return !Users().isEmpty(); }, 5000);
    }
    void Send(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail = coll::kBlockEnd)
    {
        socket.write(BuildCollFrame(keyword, data, tail));
    }
    // The latest participant list the relay sent.
    QString Users()
    {
        buffer.Append(socket.readAll());
        CollFrame frame;
        while (buffer.Next(&frame) > 0) {
            if (frame.keyword == "users")
                users = QString::fromUtf8(frame.data);
        }
        return users;
    }
    QString id;
    QTcpSocket socket;
    CollFrameBuffer buffer;
    QString users;
};

}  // namespace

class BrokenPeerProgramXTest : public CollabProgramTest
{
    Q_OBJECT

    // A stroke dragged on the board shows within a second of its end.
    bool StrokeShowsAtOnce(const OwnDisplay& display, int y, qint64* tookMs)
    {
        Use(display);
        XdotoolDrag(QPoint(400, y), QPoint(700, y), 20);
        QElapsedTimer clock;
        clock.start();
        const QImage shown = ScreenshotWhen(
            m_root->path() + "/stroke.png",
            [y](const QImage& screen) { return DarkPixels(screen, QRect(420, y - 4, 260, 9)) > 200; }, 5000);
        *tookMs = clock.elapsed();
        return DarkPixels(shown, QRect(420, y - 4, 260, 9)) > 200 && *tookMs < 1000;
    }

private slots:
    void initTestCase()
    {
        DRAVIK_SKIP_WHERE_SESSIONS_CANNOT_RUN();
        QVERIFY(MeasurePlaces());
    }

    // A viewer's strokes reach no board; twenty participants that never
    // read, while another floods the relay, cost the host no more than the
    // relay's budget and are dropped; the host draws on meanwhile.
    void viewersAndSlowReaders()
    {
        SessionBoard hostBoard, joinBoard;
        QVERIFY(StartSession(hostBoard, joinBoard, QStringLiteral("127.0.0.1")));
        auto& [hostDisplay, hostRoot, host] = hostBoard;
        auto& [joinDisplay, joinRoot, participant] = joinBoard;

        // The viewer draws in the writer's slot and in the host's.
        TestPeer viewer;
        QVERIFY(viewer.Join(QStringLiteral("Viewer")));
        for (const char* slot : {"10", "0"}) {
            const QByteArray lead = QByteArray("3,") + slot;
            viewer.Send("REALTIME_EVENT", lead + ",1,400,300");
            for (int x = 420; x <= 700; x += 20)
                viewer.Send("REALTIME_EVENT", lead + ",2," + QByteArray::number(x) + ",300");
            viewer.Send("REALTIME_EVENT", lead + ",3,700,300");
        }
        viewer.socket.flush();
        // Sent after the viewer's frames: once the host's stroke is on the
        // participant's board, the viewer's would be too.
        Use(hostDisplay);
        XdotoolDrag(QPoint(400, 400), QPoint(700, 400), 30);
        QTRY_VERIFY_WITH_TIMEOUT(InkAlong(joinDisplay, 420, 680, 400) > 200, 10000);
        QCOMPARE(InkAlong(joinDisplay, 420, 680, 300), 0);
        QCOMPARE(InkAlong(hostDisplay, 420, 680, 300), 0);

        // Twenty participants that never read, and one that floods.
        std::vector<std::unique_ptr<TestPeer>> stalled;
        for (int i = 0; i < 20; ++i) {
            stalled.push_back(std::make_unique<TestPeer>());
            QVERIFY(stalled.back()->Join(QStringLiteral("Stalled%1").arg(i), false));
        }
        QTRY_VERIFY_WITH_TIMEOUT(viewer.Users().count(QLatin1Char(',')) == 22, 10000);
        const qint64 before = ResidentKiB(host.pid());
        QVERIFY(before > 0);
        qint64 peak = before;
        const QByteArray chunk = BuildCollFrame("SENDMSG", QByteArray(60000, 'x'), coll::kBlockEnd);
        const int chunks = 30 * 1024 * 1024 / 60000;
        QElapsedTimer clock;
        clock.start();
        // A stroke drawn while the relay holds the flood back.
        qint64 strokeMs = -1;
        bool drewAtOnce = false;
        for (int sent = 0; sent < chunks && clock.elapsed() < 120000; ++sent) {
            viewer.socket.write(chunk);
            // The flood waits while the relay does not take it.
            QElapsedTimer held;
            held.start();
            while (viewer.socket.bytesToWrite() > 4 * 1024 * 1024 && clock.elapsed() < 120000) {
                viewer.socket.waitForBytesWritten(100);
                if (strokeMs < 0 && held.elapsed() > 1000)
                    drewAtOnce = StrokeShowsAtOnce(hostDisplay, 500, &strokeMs);
            }
            if (sent % 50 == 0) {
                viewer.Users();
                peak = qMax(peak, ResidentKiB(host.pid()));
            }
        }
        QVERIFY2(clock.elapsed() < 120000, "the flood went out in time");
        QTRY_COMPARE_WITH_TIMEOUT(viewer.socket.bytesToWrite(), qint64(0), 30000);
        QTRY_VERIFY_WITH_TIMEOUT((peak = qMax(peak, ResidentKiB(host.pid())), !viewer.Users().contains("Stalled")),
                                 60000);
        qInfo().noquote() << QStringLiteral("host grew by %1 MiB at most; the stroke showed after %2 ms")
                                 .arg((peak - before) / 1024)
                                 .arg(strokeMs);
        QVERIFY2(peak - before < 300 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(peak - before)));
        QVERIFY2(strokeMs >= 0, "the relay held the flood back at some point");
        QVERIFY2(drewAtOnce, qPrintable(QStringLiteral("the stroke took %1 ms").arg(strokeMs)));
        // The participant that reads is still in.
        QVERIFY(viewer.Users().contains("[User]_"));

        Use(joinDisplay);
        QCOMPARE(CloseWhiteboard(participant), 0);
        Use(hostDisplay);
        QCOMPARE(CloseWhiteboard(host), 0);
    }

    // The test plays the host. Bytes that are no frame, and a board larger
    // than the participant takes, each end its session once, with the
    // message; the participant can join again each time.
    void brokenHost()
    {
        QTcpServer fakeHost;
        QVERIFY(fakeHost.listen(QHostAddress(kAddress), coll::kSessionPort));
        SessionBoard board;
        QVERIFY(board.Start());
        const OwnDisplay& display = board.display;
        RunningProgram& participant = board.program;

        // The participant joins; the handshake is answered with the list.
        const auto join = [&]() -> QTcpSocket* {
            if (!Connect(display, participant, kAddress))
                return nullptr;
            if (!QTest::qWaitFor([&fakeHost]() { return fakeHost.hasPendingConnections(); }, 10000))
                return nullptr;
            QTcpSocket* socket = fakeHost.nextPendingConnection();
            if (!QTest::qWaitFor([socket]() { return socket->bytesAvailable() > 0; }, 10000))
                return nullptr;
            socket->readAll();
            socket->write(BuildCollFrame("users", "[Host]_192.0.2.1,[User]_192.0.2.1", coll::kBlockEnd));
            return socket;
        };

        QTcpSocket* session = join();
        QVERIFY(session);
        int mark = participant.lines().size();
        session->write(QByteArray::fromHex("0008000000106162636" "4"));
        session->flush();
        QVERIFY(participant.waitForLine("DLL : receive data size Error", 10000, mark) >= 0);
        QVERIFY(participant.waitForLine("message box critical:  | cannot connect server.", 10000, mark) >= 0);
        QVERIFY(participant.waitForLine("connect_Server error :  false", 5000, mark) >= 0);

        // Joined again, the host pushes more objects than a board takes.
        session = join();
        QVERIFY(session);
        mark = participant.lines().size();
        QByteArray push = BuildCollFrame("DATA_CLEAR", "0,,ALL", coll::kBlockEnd);
        const QByteArray record = BuildCollFrame("EMDATA_SET", "0,,1,0,7,0,3,0,1,0,0,0,,", coll::kBlockEnd);
        for (int i = 0; i <= coll::kPushObjectLimit + 10; ++i)
            push += record;
        session->write(push);
        while (session->bytesToWrite() > 0 && session->waitForBytesWritten(10000)) {
        }
        QVERIFY(participant.waitForLine("larger than this board can take", 60000, mark) >= 0);
        QVERIFY(participant.waitForLine("connect_Server error :  false", 5000, mark) >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(session->state() != QAbstractSocket::ConnectedState, 10000);
        // One end, one message.
        QCOMPARE(participant.lines().mid(mark).filter("message box critical").size(), 1);

        // And the participant joins a third time, so it is alone and free.
        QVERIFY(join());
        Use(display);
        QCOMPARE(CloseWhiteboard(participant), 0);
    }
};

DRAVIK_NETNS_TEST_MAIN(BrokenPeerProgramXTest, QApplication)
#include "broken_peer_program_xtest.moc"
