// Our collaboration library over loopback: its relay with real sockets, its
// exports in any order, and the whiteboard's all-or-nothing binding of it.
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/konnexa_binding.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>

namespace {

QByteArray Frame(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail = "Block_EN\n")
{
    return BuildCollFrame(keyword, data, tail);
}

quint16 FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return probe.serverPort();
}

// A participant made of a plain socket, keeping every frame it receives.
class Peer
{
public:
    explicit Peer(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        QObject::connect(&m_socket, &QTcpSocket::readyRead, [this]() { Read(); });
        QObject::connect(&m_socket, &QTcpSocket::disconnected, [this]() { m_closed = true; });
        QObject::connect(&m_socket, &QTcpSocket::errorOccurred, [this]() { m_closed = true; });
    }
    void send(const QByteArray& bytes) { m_socket.write(bytes); }
    void join(const QByteArray& id, const QByteArray& password, int level)
    {
        send(Frame("Connected_OK", id + ',' + password + ',' + QByteArray::number(level)));
    }
    QTcpSocket& socket() { return m_socket; }
    const QList<CollFrame>& frames() const { return m_frames; }
    const QByteArray& raw() const { return m_raw; }
    bool closed() const { return m_closed; }
    QStringList keywords(const QByteArray& except = "users") const
    {
        QStringList list;
        for (const CollFrame& frame : m_frames) {
            if (frame.keyword != except)
                list << QString::fromUtf8(frame.keyword + '|' + frame.data);
        }
        return list;
    }
    bool has(const QByteArray& keyword, const QByteArray& data) const
    {
        for (const CollFrame& frame : m_frames) {
            if (frame.keyword == keyword && frame.data == data)
                return true;
        }
        return false;
    }
    void clear()
    {
        m_frames.clear();
        m_raw.clear();
    }

private:
    void Read()
    {
        const QByteArray bytes = m_socket.readAll();
        m_raw += bytes;
        m_buffer.Append(bytes);
        CollFrame frame;
        while (m_buffer.Next(&frame) > 0)
            m_frames << frame;
    }

    QTcpSocket m_socket;
    CollFrameBuffer m_buffer;
    QByteArray m_raw;
    QList<CollFrame> m_frames;
    bool m_closed = false;
};

// The relay's debug lines while it lives, gathered from the relay's thread.
class RelayLog
{
public:
    RelayLog()
    {
        s_lines.clear();
        s_previous = qInstallMessageHandler(&RelayLog::Keep);
    }
    ~RelayLog() { qInstallMessageHandler(s_previous); }
    bool has(const QString& part) const
    {
        QMutexLocker lock(&s_lock);
        return !s_lines.filter(part).isEmpty();
    }

private:
    static void Keep(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        QMutexLocker lock(&s_lock);
        s_lines << message;
    }
    static QtMessageHandler s_previous;
    static QMutex s_lock;
    static QStringList s_lines;
};
QtMessageHandler RelayLog::s_previous = nullptr;
QMutex RelayLog::s_lock;
QStringList RelayLog::s_lines;

}  // namespace

class RelayLibraryTest : public QObject
{
    Q_OBJECT

private:
    coll::KonnexaLibrary& m_konnexa = coll::SharedKonnexa();
    quint16 m_port = 0;

    // A host "H" and participants "A", "B" admitted with the password "pw";
    // the host makes A the writer.
    void StartSession(Peer& host, Peer& a, Peer& b)
    {
        host.join("H", "pw", 3);
        QTRY_VERIFY_WITH_TIMEOUT(host.has("users", "H"), 5000);
        a.join("A", "pw", 2);
        QTRY_VERIFY_WITH_TIMEOUT(host.has("users", "H,A"), 5000);
        b.join("B", "pw", 1);
        QTRY_VERIFY_WITH_TIMEOUT(a.has("users", "H,A,B") && b.has("users", "H,A,B"), 5000);
        host.send(Frame("LEVEL_CH", "A,2,0"));
        QTRY_VERIFY_WITH_TIMEOUT(a.has("LEVEL_CH", "A,2,0"), 5000);
        host.clear();
        a.clear();
        b.clear();
    }

    // The host hands the tool right round; once every peer has it, every
    // frame relayed before it has arrived too.
    void Barrier(Peer& host, std::initializer_list<Peer*> peers, const QByteArray& tag)
    {
        host.send(Frame("TOOL_CH", tag));
        for (Peer* peer : peers)
            QTRY_VERIFY_WITH_TIMEOUT(peer->has("TOOL_CH", tag), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(host.has("TOOL_CH", tag), 10000);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_LIBRARY_DIR", DRAVIK_BIN_DIR);
        qputenv("DRAVIK_RELAY_OUTPUT_BUDGET", QByteArray::number(1024 * 1024));
        QVERIFY(coll::BindKonnexa(m_konnexa));
    }

    void init()
    {
        m_port = FreePort();
        QVERIFY(m_konnexa.server_start(m_port));
    }

    void cleanup()
    {
        m_konnexa.server_close();
        m_konnexa.server_delete();
    }

    void framesReachTheOthersUnchanged()
    {
        Peer host(m_port), a(m_port), b(m_port);
        StartSession(host, a, b);
        const QByteArray stroke = Frame("REALTIME_EVENT", "3,10,1,120,340");
        const QByteArray empty = Frame("SENDMSG", QByteArray(), QByteArray());
        a.send(stroke + empty);
        QTRY_VERIFY_WITH_TIMEOUT(b.raw() == stroke + empty, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(host.raw() == stroke + empty, 5000);
        Barrier(host, {&a, &b}, "H");
        QCOMPARE(a.keywords(), QStringList({"TOOL_CH|H"}));
    }

    void routingRules()
    {
        Peer host(m_port), a(m_port), b(m_port);
        StartSession(host, a, b);
        host.send(Frame("LEVEL_CH", "B,2,0"));
        host.send(Frame("NOTEIDX_SET", "1,A,0,4"));
        host.send(Frame("NOTEIDX_SET", "0,,1,4"));
        host.send(Frame("DOC_EN", "NULL", "1,B,0,Block_EN\n"));
        b.send(Frame("DATA_CLEAR", "0,,ALL"));  // host-only, from a participant
        b.send(Frame("EXIT", "A"));             // a forged departure
        Barrier(host, {&a, &b}, "H");
        QCOMPARE(a.keywords(), QStringList({"NOTEIDX_SET|1,A,0,4", "NOTEIDX_SET|0,,1,4", "TOOL_CH|H"}));
        QCOMPARE(b.keywords(),
                 QStringList({"LEVEL_CH|B,2,0", "NOTEIDX_SET|0,,1,4", "DOC_EN|NULL", "TOOL_CH|H"}));
        QCOMPARE(host.keywords(), QStringList({"TOOL_CH|H"}));
    }

    void twoSendersKeepTheirOrder()
    {
        Peer host(m_port), a(m_port), b(m_port);
        StartSession(host, a, b);
        const int count = 10000;
        QByteArray fromA, fromB;
        for (int i = 0; i < count; ++i) {
            fromA += Frame("REALTIME_EVENT", "A," + QByteArray::number(i));
            fromB += Frame("SENDMSG", "B," + QByteArray::number(i));
        }
        a.send(fromA);
        b.send(fromB);
        QTRY_VERIFY_WITH_TIMEOUT(host.frames().size() >= 2 * count, 30000);
        int nextA = 0, nextB = 0;
        for (const CollFrame& frame : host.frames()) {
            const coll::Fields fields(frame.data);
            if (fields.text(0) == QLatin1String("A"))
                QCOMPARE(fields.toInt(1), nextA++);
            else
                QCOMPARE(fields.toInt(1), nextB++);
        }
        QCOMPARE(nextA, count);
        QCOMPARE(nextB, count);
    }

    void wrongPasswordIsRefused()
    {
        Peer host(m_port), a(m_port), b(m_port);
        StartSession(host, a, b);
        Peer intruder(m_port);
        intruder.join("X", "guess", 2);
        intruder.send(Frame("DATA_CLEAR", "0,,ALL"));
        a.send(Frame("REALTIME_EVENT", "3,10,1,1,1"));
        QTRY_VERIFY_WITH_TIMEOUT(intruder.closed(), 5000);
        QCOMPARE(intruder.raw(), Frame("PASSERROR", QByteArray()));
        Barrier(host, {&a, &b}, "H");
        QCOMPARE(b.keywords(), QStringList({"REALTIME_EVENT|3,10,1,1,1", "TOOL_CH|H"}));
    }

    // A participant that never reads holds up the relay once half the
    // budget (1 MiB here) waits unsent, and is dropped when it has taken
    // nothing for a while; the others get everything.
    void nonReaderIsDroppedAtTheCap()
    {
        Peer host(m_port), a(m_port), b(m_port);
        StartSession(host, a, b);
        b.socket().setReadBufferSize(4096);
        b.socket().setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        QObject::disconnect(&b.socket(), &QTcpSocket::readyRead, nullptr, nullptr);
        const QByteArray chunk = Frame("DOC_ST", QByteArray(60000, 'x'), "0,,3,img,Block_EN\n");
        const auto chunksAt = [](const Peer& peer) {
            return int(std::count_if(peer.frames().begin(), peer.frames().end(),
                                     [](const CollFrame& f) { return f.keyword == "DOC_ST"; }));
        };
        // A sends in small steps, each once the host has the previous one, so
        // only B ever falls behind.
        int sent = 0;
        while (!host.has("EXIT", "B") && sent < 2000) {
            for (int i = 0; i < 5; ++i, ++sent)
                a.send(chunk);
            QTRY_COMPARE_WITH_TIMEOUT(chunksAt(host), sent, 30000);
        }
        QVERIFY(host.has("EXIT", "B"));
        QTRY_VERIFY_WITH_TIMEOUT(host.has("users", "H,A"), 5000);
        QVERIFY(!a.closed() && !host.closed());
    }

    // While a participant's flood is held back for one that does not read,
    // the host is still heard at once: its stroke reaches the others long
    // before the non-reader is dropped.
    void hostIsHeardWhileAFloodIsHeldBack()
    {
        Peer host(m_port), a(m_port), b(m_port);
        StartSession(host, a, b);
        b.socket().setReadBufferSize(4096);
        b.socket().setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        QObject::disconnect(&b.socket(), &QTcpSocket::readyRead, nullptr, nullptr);
        const QByteArray chunk = Frame("SENDMSG", QByteArray(60000, 'x'));
        const int chunks = 200;
        const auto chunksAt = [](const Peer& peer) {
            return int(std::count_if(peer.frames().begin(), peer.frames().end(),
                                     [](const CollFrame& f) { return f.keyword == "SENDMSG"; }));
        };
        {
            RelayLog log;
            for (int i = 0; i < chunks; ++i)
                a.send(chunk);
            QTRY_VERIFY2_WITH_TIMEOUT(log.has("reading paused"), "the relay holds the flood back", 30000);
        }
        host.send(Frame("REALTIME_EVENT", "3,0,1,5,5"));
        QTRY_VERIFY_WITH_TIMEOUT(a.has("EXIT", "B") || a.has("REALTIME_EVENT", "3,0,1,5,5"), 30000);
        QVERIFY2(!a.has("EXIT", "B"), "the host's stroke waited for the non-reader's drop");
        QVERIFY2(chunksAt(host) < chunks, "the stroke came while the flood was held back");
        QTRY_VERIFY_WITH_TIMEOUT(host.has("EXIT", "B"), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(chunksAt(host), chunks, 30000);
    }

    // Hostile bytes end only their sender; the relay goes on serving.
    void hostileInputLeavesTheRelayServing()
    {
        Peer host(m_port), a(m_port), b(m_port);
        StartSession(host, a, b);
        Peer garbage(m_port), announcer(m_port);
        garbage.send(QByteArray::fromHex("0008ffffffff0000000000000000deadbeef"));
        announcer.send(QByteArray::fromHex("1000" "0000"));  // 4096 bytes announced, two sent
        a.send(QByteArray::fromHex("0006 00000064 0000"));   // lengths that do not fit
        const QByteArray half = Frame("REALTIME_EVENT", "3,0,1,1,1");
        b.send(half.left(half.size() / 2));
        QTRY_VERIFY_WITH_TIMEOUT(garbage.closed(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(host.has("EXIT", "A"), 5000);
        b.socket().disconnectFromHost();
        QTRY_VERIFY_WITH_TIMEOUT(host.has("EXIT", "B"), 5000);
        QVERIFY(!host.has("REALTIME_EVENT", "3,0,1,1,1"));

        Peer c(m_port);
        c.join("C", "pw", 2);
        QTRY_VERIFY_WITH_TIMEOUT(host.has("Connected_ID", "C"), 5000);
        host.send(Frame("LEVEL_CH", "C,2,0"));
        QTRY_VERIFY_WITH_TIMEOUT(c.has("LEVEL_CH", "C,2,0"), 5000);
        c.send(Frame("REALTIME_EVENT", "3,10,1,2,2"));
        QTRY_VERIFY_WITH_TIMEOUT(host.has("REALTIME_EVENT", "3,10,1,2,2"), 5000);
        QVERIFY(!announcer.closed());
    }

    void busyPort()
    {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::AnyIPv4, 0));
        QVERIFY(!m_konnexa.server_start(holder.serverPort()));
        // The relay can still listen where it is free.
        QVERIFY(m_konnexa.server_start(FreePort()));
    }

    void exportsInAnyOrder()
    {
        for (int round = 0; round < 2; ++round) {
            m_konnexa.soc_delete();
            m_konnexa.soc_close();
            m_konnexa.soc_connectToHost(QStringLiteral("127.0.0.1"), m_port);
            QCOMPARE(m_konnexa.soc_write("x"), qint64(-1));
            QVERIFY(!m_konnexa.soc_canReadLine());
            QVERIFY(m_konnexa.soc_readLine().isEmpty());
            QVERIFY(!m_konnexa.soc_());
        }
        m_konnexa.server_close();
        m_konnexa.server_close();
        m_konnexa.server_delete();
        m_konnexa.server_delete();
        QVERIFY(m_konnexa.server_start(m_port));

        // A replaced socket's signals reach nobody any more.
        m_konnexa.soc_new();
        QTcpSocket* first = m_konnexa.soc_();
        QVERIFY(first);
        QCOMPARE(m_konnexa.soc_(), first);
        int lateSignals = 0;
        QObject::connect(first, &QTcpSocket::connected, [&]() { ++lateSignals; });
        QObject::connect(first, &QTcpSocket::disconnected, [&]() { ++lateSignals; });
        QObject::connect(first, &QTcpSocket::stateChanged, [&]() { ++lateSignals; });
        m_konnexa.soc_connectToHost(QStringLiteral("127.0.0.1"), m_port);
        const int beforeReplace = lateSignals;
        m_konnexa.soc_new();
        QTcpSocket* second = m_konnexa.soc_();
        QVERIFY(second);
        QTest::qWait(200);
        QCOMPARE(lateSignals, beforeReplace);

        // The client socket works through the exports.
        Peer host(m_port);
        host.join("H", "pw", 3);
        QTRY_VERIFY_WITH_TIMEOUT(host.has("users", "H"), 5000);
        m_konnexa.soc_connectToHost(QStringLiteral("127.0.0.1"), m_port);
        QTRY_VERIFY_WITH_TIMEOUT(second->state() == QAbstractSocket::ConnectedState, 5000);
        m_konnexa.soc_write(Frame("Connected_OK", "P,pw,1"));
        QTRY_VERIFY_WITH_TIMEOUT(host.has("Connected_ID", "P"), 5000);
        m_konnexa.soc_close();
        QTRY_VERIFY_WITH_TIMEOUT(host.has("EXIT", "P"), 5000);
        m_konnexa.soc_delete();
        QVERIFY(!m_konnexa.soc_());
    }

    void bindingIsAllOrNothing()
    {
        QCOMPARE(coll::KonnexaFunctionNames(),
                 QStringList({"server_start", "server_close", "server_delete", "soc_canReadLine", "soc_readLine",
                              "soc_write", "soc_connectToHost", "soc_close", "soc_new", "soc_delete", "soc_"}));
        coll::KonnexaLibrary lacking;
        qputenv("DRAVIK_LIBRARY_DIR", QByteArray(DRAVIK_BIN_DIR) + "/konnexa_lacking");
        QVERIFY(!coll::BindKonnexa(lacking));
        qputenv("DRAVIK_LIBRARY_DIR", QByteArray(DRAVIK_BIN_DIR) + "/no_such_folder");
        coll::KonnexaLibrary missing;
        QVERIFY(!coll::BindKonnexa(missing));
        qputenv("DRAVIK_LIBRARY_DIR", DRAVIK_BIN_DIR);
        for (coll::KonnexaLibrary* binding : {&lacking, &missing}) {
            QVERIFY(!binding->bound);
            QVERIFY(!binding->library.isLoaded());
            binding->forEachFunction([](const char* name, auto& slot) { QVERIFY2(!slot, name); });
        }
    }
};

QTEST_GUILESS_MAIN(RelayLibraryTest)
#include "relay_library_test.moc"
