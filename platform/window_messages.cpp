#include "platform/window_messages.h"

#include "platform/folders.h"

#include <QDataStream>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QLocalSocket>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QSaveFile>
#include <QSet>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

const QByteArray kWindowMessageEventType = QByteArrayLiteral("dravik_window_message");

namespace {

constexpr quint32 kFrameMagic = 0x44574D31;  // "DWM1"
constexpr quint32 kReplyMagic = 0x44574D52;  // "DWMR"
// Nothing the system sends comes near this; a larger frame is garbage.
constexpr quint32 kMaxFrameSize = 16 * 1024 * 1024;
constexpr int kReplySize = 4 + 8;
// A sender writes its whole frame right after connecting; a connection that
// stays silent this long is not a sender and is dropped.
constexpr int kFrameReadLimitMs = 2000;
// Connections waiting for their frame at one time; more are turned away, so
// a flood of connections cannot use up the process's descriptors.
constexpr int kMaxOpenConnections = 32;
// Handlers running inside handlers (a handler that runs an event loop of its
// own, such as a message box's). A message that arrives deeper waits for the
// outer ones to end.
constexpr int kMaxHandlerDepth = 4;
// Posted messages waiting for their answer at one time.
constexpr int kMaxPendingPosts = 64;
// How long a blocking send tries to get through a full backlog, and how
// often.
constexpr int kConnectLimitMs = 2000;
constexpr int kConnectRetryMs = 10;

thread_local int t_handlerDepth = 0;

QMutex& GoneWindowsLock()
{
    static QMutex lock;
    return lock;
}

QSet<WindowHandle>& GoneWindows()
{
    static QSet<WindowHandle> gone;
    return gone;
}

// Logged once per window, when it first fails to answer.
void MarkWindowGone(WindowHandle window, int timeoutMs)
{
    QMutexLocker locker(&GoneWindowsLock());
    if (GoneWindows().contains(window))
        return;
    GoneWindows().insert(window);
    qDebug().noquote() << QStringLiteral("window %1 did not answer within %2 ms; it counts as gone until it "
                                         "greets again")
                              .arg(window, 0, 16)
                              .arg(timeoutMs);
}

QList<QPointer<MessageWindow>>& WindowsOfProcess()
{
    static QList<QPointer<MessageWindow>> windows;
    return windows;
}

QString SocketPath(WindowHandle handle)
{
    return WindowRegistryFolder() + QLatin1Char('/') + QString::number(handle, 16);
}

QString InfoPath(WindowHandle handle)
{
    return SocketPath(handle) + QStringLiteral(".id");
}

WindowHandle NewHandle()
{
    static std::atomic<quint32> serial{0};
    const quint32 next = (serial.fetch_add(1) % 0xFFFF) + 1;
    return (static_cast<quint64>(getpid()) << 16) | next;
}

QByteArray EncodeFrame(const WindowMessage& message)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    out << kFrameMagic << message.message << message.wParam << message.lParam
        << static_cast<quint8>(message.hasCopyData ? 1 : 0) << message.dwData
        << static_cast<quint32>(message.copyData.size());
    out.writeRawData(message.copyData.constData(), message.copyData.size());
    QByteArray frame(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(body.size()), frame.data());
    return frame + body;
}

bool DecodeFrame(const QByteArray& body, WindowMessage* message)
{
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_5_15);
    quint32 magic = 0;
    quint8 hasCopyData = 0;
    quint32 size = 0;
    in >> magic >> message->message >> message->wParam >> message->lParam >> hasCopyData
       >> message->dwData >> size;
    if (in.status() != QDataStream::Ok || magic != kFrameMagic || size > kMaxFrameSize)
        return false;
    message->hasCopyData = hasCopyData != 0;
    message->copyData.resize(static_cast<int>(size));
    if (size > 0 && in.readRawData(message->copyData.data(), static_cast<int>(size)) != static_cast<int>(size))
        return false;
    return in.atEnd();
}

QByteArray EncodeReply(qint64 result)
{
    QByteArray reply(kReplySize, '\0');
    qToBigEndian<quint32>(kReplyMagic, reply.data());
    qToBigEndian<qint64>(result, reply.data() + 4);
    return reply;
}

// A local socket address for `path`; false when the path does not fit.
bool SocketAddress(const QString& path, sockaddr_un* address)
{
    const QByteArray name = QFile::encodeName(path);
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    if (name.size() >= int(sizeof(address->sun_path)))
        return false;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

int MillisecondsLeft(const QDeadlineTimer& deadline)
{
    if (deadline.isForever())
        return -1;
    return int(qMax<qint64>(0, deadline.remainingTime()));
}

}  // namespace

quint64 MakePointParam(int x, int y)
{
    return (static_cast<quint64>(x & 0xFFFF) << 16) | static_cast<quint64>(y & 0xFFFF);
}

QString WindowRegistryFolder()
{
    const QString folder = KnownFolderPath(KnownFolder::Runtime) + QStringLiteral("/wm");
    EnsurePrivateFolder(folder);
    return folder;
}

MessageWindow::MessageWindow(const QString& windowClass, const QString& title, QObject* parent)
    : QObject(parent)
{
    const WindowHandle handle = NewHandle();
    const QString socketPath = SocketPath(handle);
    sockaddr_un address{};
    if (!SocketAddress(socketPath, &address)) {
        m_error = QStringLiteral("the socket path is too long: %1").arg(socketPath);
        return;
    }
    // Non-blocking: a wake-up with nobody left to accept must not leave the
    // thread in accept().
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listener < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    // The handle carries our process id, so anything already under this name
    // was left by an earlier process with the same id that is gone now.
    ::unlink(address.sun_path);
    if (::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0
        || ::chmod(address.sun_path, 0600) != 0 || ::listen(m_listener, SOMAXCONN) != 0) {
        m_error = QStringLiteral("cannot listen on %1: %2").arg(socketPath, QString::fromLocal8Bit(std::strerror(errno)));
        ::close(m_listener);
        m_listener = -1;
        ::unlink(address.sun_path);
        return;
    }
    m_socketPath = socketPath;

    // The name file appears only once the socket listens, so whoever finds it
    // can connect.
    QSaveFile info(InfoPath(handle));
    if (!info.open(QIODevice::WriteOnly)
        || info.write((windowClass + QLatin1Char('\n') + title + QLatin1Char('\n')).toUtf8()) < 0
        || !info.commit()) {
        m_error = info.errorString();
        ::close(m_listener);
        m_listener = -1;
        QFile::remove(m_socketPath);
        m_socketPath.clear();
        return;
    }

    m_handle = handle;
    m_infoFile = InfoPath(handle);
    m_listenerNotifier = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(m_listenerNotifier, &QSocketNotifier::activated, this, &MessageWindow::acceptConnections);
    WindowsOfProcess().append(QPointer<MessageWindow>(this));
}

MessageWindow::~MessageWindow()
{
    WindowsOfProcess().removeAll(QPointer<MessageWindow>(this));
    WindowsOfProcess().removeAll(QPointer<MessageWindow>());
    if (!m_infoFile.isEmpty())
        QFile::remove(m_infoFile);
    delete m_listenerNotifier;
    if (m_listener >= 0)
        ::close(m_listener);
    if (!m_socketPath.isEmpty())
        QFile::remove(m_socketPath);
}

void MessageWindow::acceptConnections()
{
    for (;;) {
        const int descriptor = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (descriptor < 0) {
            if (errno == EINTR)
                continue;
            // EAGAIN: nobody waits (any more). Anything else, such as running
            // out of descriptors, is tried again at the next wake-up.
            return;
        }
        if (m_connections.size() >= kMaxOpenConnections) {
            ::close(descriptor);
            continue;
        }
        auto* connection = new QLocalSocket(this);
        if (!connection->setSocketDescriptor(descriptor)) {
            ::close(descriptor);
            delete connection;
            continue;
        }
        m_connections.append(connection);
        connect(connection, &QLocalSocket::readyRead, this, [this, connection] { readConnection(connection); });
        connect(connection, &QLocalSocket::disconnected, this, [this, connection] { dropConnection(connection); });
        // A finder only checks that we listen and hangs up without a word; a
        // stranger may connect and say nothing at all.
        QTimer::singleShot(kFrameReadLimitMs, connection, [this, connection] { dropConnection(connection); });
        readConnection(connection);
    }
}

void MessageWindow::dropConnection(QLocalSocket* connection)
{
    m_buffers.remove(connection);
    if (!m_connections.removeOne(connection))
        return;
    connection->disconnect(this);
    connection->abort();
    connection->deleteLater();
}

void MessageWindow::readConnection(QLocalSocket* connection)
{
    if (!m_connections.contains(connection))
        return;
    QByteArray& buffer = m_buffers[connection];
    buffer += connection->readAll();
    if (buffer.size() < 4)
        return;
    const quint32 bodySize = qFromBigEndian<quint32>(buffer.constData());
    if (bodySize > kMaxFrameSize + 64) {
        m_buffers.remove(connection);
        dropConnection(connection);
        return;
    }
    if (static_cast<quint32>(buffer.size()) < 4 + bodySize)
        return;
    if (t_handlerDepth >= kMaxHandlerDepth)
        return;  // handled once the handlers outside this one have ended

    WindowMessage message;
    const bool decoded = DecodeFrame(buffer.mid(4, static_cast<int>(bodySize)), &message);
    m_buffers.remove(connection);
    // Nothing more is read from this connection: one frame, one answer.
    m_connections.removeOne(connection);
    connection->disconnect(this);
    if (!decoded) {
        connection->abort();
        connection->deleteLater();
        return;
    }

    QPointer<MessageWindow> self(this);
    QPointer<QLocalSocket> alive(connection);
    ++t_handlerDepth;
    const qint64 result = m_handler ? m_handler(message) : 0;
    --t_handlerDepth;
    if (!alive)
        return;
    if (connection->state() == QLocalSocket::ConnectedState) {
        // Twelve bytes always fit the socket's buffer: the answer goes out
        // without waiting, and the connection closes once it is written.
        connection->write(EncodeReply(result));
        connection->flush();
        connection->disconnectFromServer();
    }
    connection->deleteLater();
    if (self) {
        QTimer::singleShot(0, self, [self] {
            // Frames that waited while handlers were nested.
            if (!self)
                return;
            const QList<QLocalSocket*> waiting = self->m_connections;
            for (QLocalSocket* other : waiting) {
                if (self && self->m_connections.contains(other))
                    self->readConnection(other);
            }
        });
    }
}

qint64 MessageWindow::handleDirectly(const WindowMessage& message)
{
    ++t_handlerDepth;
    const qint64 result = m_handler ? m_handler(message) : 0;
    --t_handlerDepth;
    return result;
}

WindowHandle FindWindowByName(const QString& windowClass, const QString& title)
{
    QDir folder(WindowRegistryFolder());
    const QFileInfoList entries = folder.entryInfoList({QStringLiteral("*.id")}, QDir::Files, QDir::Time);
    for (const QFileInfo& entry : entries) {
        QFile info(entry.filePath());
        if (!info.open(QIODevice::ReadOnly))
            continue;
        const QStringList names = QString::fromUtf8(info.readAll()).split(QLatin1Char('\n'));
        info.close();
        if (names.size() < 2 || names.at(0) != windowClass || names.at(1) != title)
            continue;
        bool ok = false;
        const WindowHandle handle = entry.completeBaseName().toULongLong(&ok, 16);
        if (!ok || handle == 0)
            continue;

        QLocalSocket probe;
        probe.connectToServer(SocketPath(handle));
        if (probe.waitForConnected(1000)) {
            probe.abort();
            return handle;
        }
        // Nobody listens: the program that registered it ended without
        // cleaning up (a crash). Its entry must not shadow a live window.
        if (probe.error() == QLocalSocket::ConnectionRefusedError
            || probe.error() == QLocalSocket::ServerNotFoundError) {
            QFile::remove(entry.filePath());
            QFile::remove(SocketPath(handle));
        }
    }
    return 0;
}

bool IsWindowGone(WindowHandle window)
{
    QMutexLocker locker(&GoneWindowsLock());
    return GoneWindows().contains(window);
}

void ReviveWindow(WindowHandle window)
{
    QMutexLocker locker(&GoneWindowsLock());
    GoneWindows().remove(window);
}

bool IsWindowOfThisProcess(WindowHandle window)
{
    if (window == 0)
        return false;
    for (const QPointer<MessageWindow>& own : WindowsOfProcess()) {
        if (own && own->handle() == window)
            return true;
    }
    return false;
}

bool IsWindowOfThisThread(WindowHandle window)
{
    for (const QPointer<MessageWindow>& own : WindowsOfProcess()) {
        if (own && own->handle() == window && own->thread() == QThread::currentThread())
            return true;
    }
    return false;
}

int HandlerDepth()
{
    return t_handlerDepth;
}

bool SendWindowMessage(WindowHandle target, const WindowMessage& message, qint64* result, int timeoutMs)
{
    if (target == 0 || IsWindowGone(target))
        return false;
    // This thread cannot answer a connection while it waits on it: a window
    // of its own is handled by a direct call, unless a handler sends it,
    // where the message would be handled inside the handler that sends it,
    // and could send it again.
    for (const QPointer<MessageWindow>& own : WindowsOfProcess()) {
        if (!own || own->handle() != target || own->thread() != QThread::currentThread())
            continue;
        if (t_handlerDepth > 0) {
            qDebug().noquote() << QStringLiteral("message %1 to window %2 of this process not sent from inside a "
                                                 "handler")
                                      .arg(message.message)
                                      .arg(target, 0, 16);
            return false;
        }
        const qint64 answer = own->handleDirectly(message);
        if (result)
            *result = answer;
        return true;
    }

    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                  : QDeadlineTimer(timeoutMs);
    auto timedOut = [&]() {
        MarkWindowGone(target, timeoutMs);
        return false;
    };
    sockaddr_un address{};
    if (!SocketAddress(SocketPath(target), &address))
        return false;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return false;
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{descriptor};

    // A full backlog refuses the connection for now; a missing or dead
    // socket for good.
    const QDeadlineTimer connectLimit(qMin<qint64>(kConnectLimitMs, deadline.isForever() ? kConnectLimitMs
                                                                                          : deadline.remainingTime()));
    while (::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        if (errno != EAGAIN && errno != EINTR)
            return false;
        if (connectLimit.hasExpired())
            return deadline.hasExpired() ? timedOut() : false;
        ::poll(nullptr, 0, kConnectRetryMs);
    }

    const QByteArray frame = EncodeFrame(message);
    qint64 written = 0;
    while (written < frame.size()) {
        const ssize_t sent = ::send(descriptor, frame.constData() + written, size_t(frame.size() - written),
                                    MSG_NOSIGNAL);
        if (sent > 0) {
            written += sent;
            continue;
        }
        if (sent < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd writable{descriptor, POLLOUT, 0};
        if (::poll(&writable, 1, MillisecondsLeft(deadline)) == 0 && deadline.hasExpired())
            return timedOut();
    }

    // Only this connection is waited on: nothing else is handled meanwhile.
    QByteArray reply;
    char buffer[kReplySize];
    while (reply.size() < kReplySize) {
        const ssize_t got = ::recv(descriptor, buffer, size_t(kReplySize - reply.size()), 0);
        if (got > 0) {
            reply.append(buffer, int(got));
            continue;
        }
        if (got == 0 || (errno != EAGAIN && errno != EINTR))
            return false;  // the receiver went away without an answer
        pollfd readable{descriptor, POLLIN, 0};
        if (::poll(&readable, 1, MillisecondsLeft(deadline)) == 0 && deadline.hasExpired())
            return timedOut();
    }
    if (qFromBigEndian<quint32>(reply.constData()) != kReplyMagic)
        return false;
    if (result)
        *result = qFromBigEndian<qint64>(reply.constData() + 4);
    return true;
}

bool SendWindowMessage(WindowHandle target, quint32 message, quint64 wParam, qint64 lParam,
                       qint64* result, int timeoutMs)
{
    WindowMessage m;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    return SendWindowMessage(target, m, result, timeoutMs);
}

bool PostWindowMessage(WindowHandle target, const WindowMessage& message, int timeoutMs)
{
    static thread_local int pending = 0;
    if (target == 0 || IsWindowGone(target) || pending >= kMaxPendingPosts)
        return false;
    const QString path = SocketPath(target);
    if (!QFileInfo::exists(path))
        return false;

    auto* socket = new QLocalSocket;
    ++pending;
    auto finished = std::make_shared<bool>(false);
    auto finish = [socket, finished](bool timedOut, WindowHandle window, int limit) {
        if (*finished)
            return;
        *finished = true;
        --pending;
        if (timedOut)
            MarkWindowGone(window, limit);
        socket->disconnect();
        socket->abort();
        socket->deleteLater();
    };
    const QByteArray frame = EncodeFrame(message);
    QObject::connect(socket, &QLocalSocket::connected, socket, [socket, frame] {
        socket->write(frame);
        socket->flush();
    });
    auto reply = std::make_shared<QByteArray>();
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, reply, finish, target] {
        *reply += socket->readAll();
        if (reply->size() >= kReplySize)
            finish(false, target, 0);
    });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [finish, target] { finish(false, target, 0); });
    QObject::connect(socket, &QLocalSocket::errorOccurred, socket,
                     [finish, target](QLocalSocket::LocalSocketError) { finish(false, target, 0); });
    QTimer::singleShot(timeoutMs, socket, [finish, target, timeoutMs] { finish(true, target, timeoutMs); });
    socket->connectToServer(path);
    return true;
}

bool PostWindowMessage(WindowHandle target, quint32 message, quint64 wParam, qint64 lParam, int timeoutMs)
{
    WindowMessage m;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    return PostWindowMessage(target, m, timeoutMs);
}

void RegisterTouchWindow(WindowHandle window, int flags)
{
    Q_UNUSED(window);
    Q_UNUSED(flags);
}

}  // namespace platform
