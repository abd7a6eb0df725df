// Our collaboration transport: a TCP relay on Qt Network around the relay
// core of collab/, and the program's one client socket.
#include "outside/Konnexa/konnexa_api.h"

#include "collab/relay_core.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QMetaObject>
#include <QNetworkInterface>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace {

// What may wait unsent for all participants together. The relay runs inside
// the whiteboard, so peers that stop reading must not make it hold the
// session's traffic once for each of them. Past half the budget the relay
// stops reading the participants until the receivers have taken a good part
// of it: they then send at the pace of the slowest reader, and what they
// send waits once, in their own connection, not once per receiver. The
// host's own connection is read on up to the whole budget, so that the
// teacher's strokes reach the class at once whatever a participant floods.
constexpr qint64 kDefaultOutputBudget = qint64(128) * 1024 * 1024;
// While reading waits, a participant that has taken nothing of its output
// for this long has stopped reading: it is dropped, so the others go on.
// The host's own connection, in this process, is never dropped this way.
constexpr qint64 kStalledMs = 5000;
// How much one socket holds read and not yet relayed.
constexpr qint64 kReadChunk = 256 * 1024;
// How far the relay may run ahead of any one reader. What waits for a reader
// is what a frame queued now waits behind, so the participants are also held
// back while one reader has more than this to take: a teacher's stroke then
// reaches a slow reader within a moment, not after a whole flood.
constexpr qint64 kReaderLead = 1024 * 1024;
// The whiteboard's own socket takes no more than this from the system ahead
// of the frames it handles, so that a sender's pace reaches the relay.
constexpr qint64 kClientReadBuffer = 1024 * 1024;
// A connection we close after a refusal gets this long to take its answer.
constexpr int kCloseGraceMs = 5000;

qint64 OutputBudget()
{
    bool ok = false;
    const qint64 budget = qEnvironmentVariable("DRAVIK_RELAY_OUTPUT_BUDGET").toLongLong(&ok);
    return ok && budget > 0 ? budget : kDefaultOutputBudget;
}

bool IsLocalAddress(const QHostAddress& address)
{
    if (address.isLoopback())
        return true;
    const QList<QHostAddress> own = QNetworkInterface::allAddresses();
    for (const QHostAddress& mine : own) {
        if (mine.isEqual(address, QHostAddress::TolerantConversion))
            return true;
    }
    return false;
}

// Lives on the relay thread; every member is touched only there.
class RelayServer : public QObject
{
public:
    RelayServer()
    {
        m_clock.start();
        // A child, so that it moves to the relay thread with its owner.
        m_expiry = new QTimer(this);
        m_expiry->setInterval(1000);
        QObject::connect(m_expiry, &QTimer::timeout, this, [this]() {
            m_core.ExpirePending(m_clock.elapsed());
            Apply();
            DropStalled();
        });
    }

    ~RelayServer() override { CloseAll(); }

    bool Listen(int port)
    {
        if (m_server && m_server->isListening() && m_server->serverPort() == port)
            return true;
        CloseAll();
        m_server = new QTcpServer(this);
        QObject::connect(m_server, &QTcpServer::newConnection, this, [this]() { Accept(); });
        if (port < 0 || port > 65535 || !m_server->listen(QHostAddress::AnyIPv4, quint16(port))) {
            qDebug().noquote() << QStringLiteral("Konnexa : cannot listen on port %1: %2")
                                      .arg(port)
                                      .arg(m_server->errorString());
            delete m_server;
            m_server = nullptr;
            return false;
        }
        m_outputBudget = OutputBudget();
        m_expiry->start();
        qDebug().noquote() << QStringLiteral("Konnexa : listening on port %1").arg(port);
        return true;
    }

    void CloseAll()
    {
        m_expiry->stop();
        if (m_server) {
            m_server->close();
            delete m_server;
            m_server = nullptr;
        }
        m_core.CloseAll();
        Apply();
        m_readingPaused = false;
        m_hostPaused = false;
    }

private:
    void Accept()
    {
        while (m_server && m_server->hasPendingConnections()) {
            QTcpSocket* socket = m_server->nextPendingConnection();
            socket->setParent(nullptr);
            // Live strokes are many small frames: each goes out at once.
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            // While reading waits, what a sender sends more stays in the
            // system's buffers, and the sender is slowed down by them.
            socket->setReadBufferSize(kReadChunk);
            const int id = ++m_lastId;
            m_sockets.insert(id, socket);
            m_core.Open(id, IsLocalAddress(socket->peerAddress()), m_clock.elapsed());
            QObject::connect(socket, &QTcpSocket::readyRead, this, [this, id]() { Read(id); });
            QObject::connect(socket, &QTcpSocket::bytesWritten, this, [this, id]() {
                m_waitingSince[id] = m_clock.elapsed();
                ResumeWhenDrained();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, this, [this, id]() {
                m_core.Closed(id);
                Apply();
            });
            // Bytes that came with the connection itself.
            if (socket->bytesAvailable() > 0)
                Read(id);
        }
    }

    void Read(int id)
    {
        QTcpSocket* socket = m_sockets.value(id);
        const bool host = id == m_core.HostConnection();
        while (socket && socket->bytesAvailable() > 0 && !(host ? m_hostPaused : m_readingPaused)) {
            // All that is buffered, at most the read buffer's size. Reading
            // past the buffered bytes is also what lets the socket take more
            // from the system once its buffer was full.
            m_core.Receive(id, socket->readAll());
            Apply();
            socket = m_sockets.value(id);
            const qint64 unsent = Unsent();
            if (!m_readingPaused && (unsent > m_outputBudget / 2 || LongestQueue() > kReaderLead)) {
                m_readingPaused = true;
                qDebug().noquote() << QStringLiteral("Konnexa : %1 bytes wait unsent, reading paused").arg(unsent);
            }
            if (host && unsent > m_outputBudget) {
                m_hostPaused = true;
                qDebug().noquote() << QStringLiteral("Konnexa : %1 bytes wait unsent, the host waits too").arg(unsent);
            }
        }
    }

    qint64 LongestQueue() const
    {
        qint64 longest = 0;
        for (const QTcpSocket* socket : m_sockets)
            longest = qMax(longest, socket->bytesToWrite());
        return longest;
    }

    qint64 Unsent() const
    {
        qint64 total = 0;
        for (const QTcpSocket* socket : m_sockets)
            total += socket->bytesToWrite();
        return total;
    }

    void ResumeWhenDrained()
    {
        if (!m_readingPaused && !m_hostPaused)
            return;
        const qint64 unsent = Unsent();
        bool resumed = false;
        if (m_hostPaused && unsent <= m_outputBudget / 2) {
            m_hostPaused = false;
            resumed = true;
        }
        if (m_readingPaused && unsent <= m_outputBudget / 4 && LongestQueue() <= kReaderLead / 2) {
            m_readingPaused = false;
            resumed = true;
            qDebug().noquote() << "Konnexa : reading resumed";
        }
        if (!resumed)
            return;
        // What arrived meanwhile raised no new signal: it is read now, after
        // the caller has returned.
        QTimer::singleShot(0, this, [this]() {
            for (const int id : m_sockets.keys())
                Read(id);
        });
    }

    void DropStalled()
    {
        if (!m_readingPaused)
            return;
        const qint64 now = m_clock.elapsed();
        QVector<int> stalled;
        for (auto it = m_sockets.cbegin(); it != m_sockets.cend(); ++it) {
            if (it.key() != m_core.HostConnection() && it.value()->bytesToWrite() > 0
                && now - m_waitingSince.value(it.key(), now) >= kStalledMs)
                stalled.append(it.key());
        }
        for (const int id : qAsConst(stalled)) {
            qDebug().noquote() << QStringLiteral("Konnexa : participant %1 stopped reading, dropped").arg(id);
            Forget(id, true);
            m_core.Drop(id);
        }
        Apply();
        ResumeWhenDrained();
    }

    // Carries out what the core decided, in order; a departure queues more
    // actions, so the loop runs until nothing is left.
    void Apply()
    {
        for (;;) {
            const QVector<RelayCore::Action> actions = m_core.TakeActions();
            if (actions.isEmpty())
                return;
            for (const RelayCore::Action& action : actions) {
                QTcpSocket* socket = m_sockets.value(action.connection);
                if (!socket)
                    continue;
                switch (action.kind) {
                case RelayCore::ActionKind::Send:
                    // A participant's wait for its output starts with the
                    // first byte queued for it.
                    if (socket->bytesToWrite() == 0)
                        m_waitingSince[action.connection] = m_clock.elapsed();
                    socket->write(action.bytes);
                    break;
                case RelayCore::ActionKind::Close:
                    Forget(action.connection, false);
                    break;
                case RelayCore::ActionKind::Abort:
                    Forget(action.connection, true);
                    break;
                }
            }
        }
    }

    void Forget(int id, bool abort)
    {
        QTcpSocket* socket = m_sockets.take(id);
        m_waitingSince.remove(id);
        if (!socket)
            return;
        QObject::disconnect(socket, nullptr, this, nullptr);
        if (abort || socket->state() == QAbstractSocket::UnconnectedState) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kCloseGraceMs, socket, [socket]() {
            socket->abort();
            socket->deleteLater();
        });
        socket->disconnectFromHost();
    }

    QTcpServer* m_server = nullptr;
    QHash<int, QTcpSocket*> m_sockets;
    RelayCore m_core;
    QTimer* m_expiry = nullptr;
    QElapsedTimer m_clock;
    qint64 m_outputBudget = kDefaultOutputBudget;
    // Reading the participants waits past half the budget, reading the host
    // past the whole of it.
    bool m_readingPaused = false;
    bool m_hostPaused = false;
    // Per connection: since when its output has waited without a byte taken.
    QHash<int, qint64> m_waitingSince;
    int m_lastId = 0;
};

QThread* g_relayThread = nullptr;
RelayServer* g_relay = nullptr;
QPointer<QTcpSocket> g_socket;

template <typename Work>
void OnRelayThread(Work work)
{
    if (QThread::currentThread() == g_relayThread)
        work();
    else
        QMetaObject::invokeMethod(g_relay, work, Qt::BlockingQueuedConnection);
}

void DisposeSocket()
{
    QTcpSocket* socket = g_socket.data();
    g_socket.clear();
    if (!socket)
        return;
    // No signal of the old socket may reach its receivers any more.
    socket->disconnect();
    socket->abort();
    socket->deleteLater();
}

}  // namespace

extern "C" {

bool server_start(int port)
{
    if (!g_relayThread) {
        g_relayThread = new QThread;
        g_relayThread->setObjectName(QStringLiteral("Konnexa relay"));
        g_relay = new RelayServer;
        g_relay->moveToThread(g_relayThread);
        g_relayThread->start();
    }
    bool listening = false;
    OnRelayThread([&listening, port]() { listening = g_relay->Listen(port); });
    return listening;
}

void server_close()
{
    if (g_relay)
        OnRelayThread([]() { g_relay->CloseAll(); });
}

void server_delete()
{
    if (!g_relayThread)
        return;
    // The relay comes back to this thread so that it can be deleted here once
    // its own thread has ended.
    QThread* caller = QThread::currentThread();
    OnRelayThread([caller]() {
        g_relay->CloseAll();
        g_relay->moveToThread(caller);
    });
    if (g_relayThread != caller) {
        g_relayThread->quit();
        g_relayThread->wait();
    }
    delete g_relay;
    g_relay = nullptr;
    delete g_relayThread;
    g_relayThread = nullptr;
}

void soc_new()
{
    DisposeSocket();
    g_socket = new QTcpSocket;
    g_socket->setReadBufferSize(kClientReadBuffer);
    // Live strokes are many small frames: each goes out at once.
    QObject::connect(g_socket.data(), &QTcpSocket::connected, g_socket.data(), []() {
        if (g_socket)
            g_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    });
}

QTcpSocket* soc_() { return g_socket.data(); }

void soc_connectToHost(QString host, int port)
{
    if (g_socket && port >= 0 && port <= 65535)
        g_socket->connectToHost(host, quint16(port));
}

void soc_close()
{
    if (g_socket)
        g_socket->close();
}

bool soc_canReadLine() { return g_socket && g_socket->canReadLine(); }

QByteArray soc_readLine() { return g_socket ? g_socket->readLine() : QByteArray(); }

qint64 soc_write(QByteArray bytes) { return g_socket ? g_socket->write(bytes) : -1; }

void soc_delete() { DisposeSocket(); }
}
