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
#include <QBuffer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

// A picture of noise, so its file spans several chunks.
QByteArray NoisePng(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, qRgb((x * 97 + y * 31) & 255, (x * y) & 255, (x ^ y) * 13 & 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The folder received files go to, below a board's root; empty until made.
QString DocumentFolderBelow(const QString& root)
{
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() == QLatin1String("Doc"))
            return path;
    }
    return QString();
}

// Reads pixels straight from a display's X server: quick enough to look
// every few milliseconds, where a screenshot program takes a good part of a
// second on a busy machine.
class ScreenReader
{
public:
    explicit ScreenReader(const OwnDisplay& display) : m_x(XOpenDisplay(display.name.toLocal8Bit().constData())) {}
    ~ScreenReader()
    {
        if (m_x)
            XCloseDisplay(m_x);
    }
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // Pixels of the area with every channel below 90; -1 when it cannot be read.
    int DarkPixels(QRect area)
    {
        if (!m_x)
            return -1;
        XImage* image = XGetImage(m_x, DefaultRootWindow(m_x), area.x(), area.y(), unsigned(area.width()),
                                  unsigned(area.height()), AllPlanes, ZPixmap);
        if (!image)
            return -1;
        int dark = 0;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                dark += Channel(pixel, image->red_mask) < 90 && Channel(pixel, image->green_mask) < 90
                                && Channel(pixel, image->blue_mask) < 90
                            ? 1
                            : 0;
            }
        }
        XDestroyImage(image);
        return dark;
    }

private:
    static unsigned long Channel(unsigned long pixel, unsigned long mask)
    {
        if (mask == 0)
            return 0;
        unsigned long value = pixel & mask;
        while (!(mask & 1)) {
            mask >>= 1;
            value >>= 1;
        }
        return value * 255 / mask;
    }

    Display* m_x;
};

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

// A participant that, once told to, sends `total` bytes of messages nobody
// reads as fast as the relay takes them, on a thread of its own, reading all
// it is sent until it is stopped (for at most 150 seconds).
class Flooder : public QThread
{
public:
    explicit Flooder(qint64 total) : m_total(total) {}
    ~Flooder() override
    {
        Stop();
        wait();
    }
    // The latest participant list it was sent.
    QString Users() const
    {
        QMutexLocker lock(&m_lock);
        return m_users;
    }
    void Go() { m_go = true; }
    void Stop() { m_stop = true; }
    qint64 Sent() const { return m_sent; }
    bool Finished() const { return m_finished; }

protected:
    void run() override
    {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), coll::kSessionPort);
        if (!socket.waitForConnected(5000))
            return;
        const QString id = coll::ParticipantId(QStringLiteral("Flooder"), QStringLiteral("192.0.2.67"));
        socket.write(BuildCollFrame("Connected_OK", coll::HandshakeData(id, QStringLiteral("pw"), 1), coll::kBlockEnd));
        const QByteArray chunk = BuildCollFrame("SENDMSG", QByteArray(60000, 'x'), coll::kBlockEnd);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 150000) {
            if (m_go && m_sent < m_total && socket.bytesToWrite() < 4 * 1024 * 1024) {
                socket.write(chunk);
                m_sent += chunk.size();
            } else if (m_sent >= m_total && socket.bytesToWrite() == 0) {
                m_finished = true;
            }
            if (m_stop)
                return;
            if (socket.bytesToWrite() > 0)
                socket.waitForBytesWritten(100);
            else if (!m_go || m_finished)
                socket.waitForReadyRead(50);
            Read(socket);
            if (socket.state() != QAbstractSocket::ConnectedState)
                return;
        }
    }

private:
    void Read(QTcpSocket& socket)
    {
        m_buffer.Append(socket.readAll());
        CollFrame frame;
        while (m_buffer.Next(&frame) > 0) {
            if (frame.keyword == "users") {
                QMutexLocker lock(&m_lock);
                m_users = QString::fromUtf8(frame.data);
            }
        }
    }

    const qint64 m_total;
    std::atomic<bool> m_go{false};
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_sent{0};
    std::atomic<bool> m_finished{false};
    CollFrameBuffer m_buffer;
    mutable QMutex m_lock;
    QString m_users;
};

}  // namespace

class BrokenPeerProgramXTest : public CollabProgramTest
{
    Q_OBJECT

    // Drags a stroke at height y on the host's board and times, from its
    // end, its release reaching the participant and its ink showing on the
    // host, both looked for side by side every few milliseconds; -1 for what
    // did not happen within five seconds.
    void DrawOnHost(const OwnDisplay& display, RunningProgram& participant, int y, qint64* shownMs,
                    qint64* reachedMs)
    {
        const int mark = participant.lines().size();
        Use(display);
        XdotoolDrag(QPoint(400, y), QPoint(700, y), 20);
        QElapsedTimer clock;
        clock.start();
        ScreenReader screen(display);
        *shownMs = -1;
        *reachedMs = -1;
        while (clock.elapsed() < 5000 && (*shownMs < 0 || *reachedMs < 0)) {
            if (*reachedMs < 0 && participant.hasLine(QStringLiteral("EXE Rx : [REALTIME_EVENT] 3,0,3,"), mark))
                *reachedMs = clock.elapsed();
            if (*shownMs < 0 && screen.DarkPixels(QRect(420, y - 4, 260, 9)) > 200)
                *shownMs = clock.elapsed();
            QTest::qWait(5);
        }
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

        // The viewer has done its part; twenty participants that never read
        // join, and one that floods the relay from a thread of its own, so
        // the flood goes on while the test draws and looks.
        viewer.socket.disconnectFromHost();
        std::vector<std::unique_ptr<TestPeer>> stalled;
        for (int i = 0; i < 20; ++i) {
            stalled.push_back(std::make_unique<TestPeer>());
            QVERIFY(stalled.back()->Join(QStringLiteral("Stalled%1").arg(i), false));
        }
        Flooder flooder(30 * 1024 * 1024);
        flooder.start();
        QTRY_VERIFY_WITH_TIMEOUT(flooder.Users().count(QLatin1Char(',')) == 22, 10000);
        const qint64 before = ResidentKiB(host.pid());
        QVERIFY(before > 0);
        qint64 peak = before;
        flooder.Go();

        // Strokes drawn on the host throughout: each shows on the host's
        // board and reaches the participant within a second of its end.
        struct Stroke {
            int y;
            bool heldBack;  // drawn while the relay held the flood back
            qint64 shownMs;
            qint64 reachedMs;
        };
        QVector<Stroke> strokes;
        QElapsedTimer clock;
        clock.start();
        while (!flooder.Finished() && flooder.isRunning() && clock.elapsed() < 120000) {
            peak = qMax(peak, ResidentKiB(host.pid()));
            if (strokes.size() < 10 && flooder.Sent() > 0) {
                Stroke stroke{440 + 25 * strokes.size(), false, -1, -1};
                stroke.heldBack = host.hasLine("reading paused") && !host.hasLine("stopped reading");
                DrawOnHost(hostDisplay, participant, stroke.y, &stroke.shownMs, &stroke.reachedMs);
                strokes << stroke;
            }
            QTest::qWait(200);
        }
        QVERIFY2(flooder.Finished(), "the flood went out whole and in time");
        QTRY_VERIFY_WITH_TIMEOUT((peak = qMax(peak, ResidentKiB(host.pid())), !flooder.Users().contains("Stalled")),
                                 60000);
        // The participant that reads is still in.
        QVERIFY(flooder.Users().contains("[User]_"));
        flooder.Stop();
        QVERIFY(flooder.wait(10000));
        QStringList figures;
        for (const Stroke& stroke : qAsConst(strokes))
            figures << QStringLiteral("%1%2/%3").arg(stroke.heldBack ? "*" : "").arg(stroke.shownMs).arg(stroke.reachedMs);
        qInfo().noquote() << QStringLiteral("host grew by %1 MiB at most; strokes shown/reached in ms "
                                            "(* while the flood was held back): %2")
                                 .arg((peak - before) / 1024)
                                 .arg(figures.join(QLatin1Char(' ')));
        QVERIFY2(peak - before < 300 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(peak - before)));
        QVERIFY2(std::any_of(strokes.begin(), strokes.end(), [](const Stroke& s) { return s.heldBack; }),
                 "a stroke was drawn while the relay held the flood back");
        for (const Stroke& stroke : qAsConst(strokes)) {
            QVERIFY2(stroke.shownMs >= 0 && stroke.shownMs < 1000 && stroke.reachedMs >= 0 && stroke.reachedMs < 1000,
                     qPrintable(QStringLiteral("the stroke at %1 took %2 ms to show and %3 ms to reach the participant")
                                    .arg(stroke.y)
                                    .arg(stroke.shownMs)
                                    .arg(stroke.reachedMs)));
            QTRY_VERIFY_WITH_TIMEOUT(InkAlong(joinDisplay, 420, 680, stroke.y) > 200, 10000);
        }
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

        // The writer's picture is cut off by its departure; a file of the
        // same name follows, then another. Neither part of the first is
        // ever put in place, and the last arrives whole.
        const QByteArray half = QByteArray(3072, 'h');
        const QByteArray picture = NoisePng(60, 40);
        const QByteArray cutTail = coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("cut"));
        const QByteArray nextTail = coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("next"));
        QByteArray files = BuildCollFrame("DOC_ST", half, cutTail)
                           + BuildCollFrame("EXIT", "[Writer]_192.0.2.9", coll::kBlockEnd);
        for (const QByteArray& tail : {cutTail, nextTail}) {
            files += BuildCollFrame("DOC_ST", picture, tail);
            files += BuildCollFrame("DOC_EN", coll::FileEndData(), tail);
        }
        session->write(files);
        session->flush();
        QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(DocumentFolderBelow(board.root.path()) + "/next.png"),
                                  "the last picture is received", 10000);
        const QString documents = DocumentFolderBelow(board.root.path());
        QCOMPARE(ReadFile(documents + "/next.png"), picture);
        QVERIFY(!QFileInfo::exists(documents + "/cut.png"));
        QVERIFY(!participant.hasLine("picture cannot be read"));

        mark = participant.lines().size();
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
