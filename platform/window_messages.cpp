#include "platform/window_messages.h"

#include "platform/folders.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QSaveFile>
#include <QThread>
#include <QtEndian>

#include <atomic>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace platform {

const QByteArray kWindowMessageEventType = QByteArrayLiteral("dravik_window_message");

namespace {

constexpr quint32 kFrameMagic = 0x44574D31;  // "DWM1"
constexpr quint32 kReplyMagic = 0x44574D52;  // "DWMR"
// Nothing the system sends comes near this; a larger frame is garbage.
constexpr quint32 kMaxFrameSize = 16 * 1024 * 1024;
constexpr int kReplySize = 4 + 8;
// A sender writes its whole frame right after connecting; a connection that
// stays silent this long is not a sender.
constexpr int kFrameReadLimitMs = 2000;

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

// Handles what reached the windows of the calling thread while it waits.
void ServiceWindowsOfThisThread()
{
    const QList<QPointer<MessageWindow>> windows = WindowsOfProcess();
    for (const QPointer<MessageWindow>& window : windows) {
        if (window && window->thread() == QThread::currentThread())
            window->serviceWaitingMessages();
    }
}

}  // namespace

quint64 MakePointParam(int x, int y)
{
    return (static_cast<quint64>(x & 0xFFFF) << 16) | static_cast<quint64>(y & 0xFFFF);
}

QString WindowRegistryFolder()
{
    const QString folder = KnownFolderPath(KnownFolder::Runtime) + QStringLiteral("/wm");
    if (!QFileInfo(folder).isDir()) {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return folder;
}

MessageWindow::MessageWindow(const QString& windowClass, const QString& title, QObject* parent)
    : QObject(parent)
{
    const WindowHandle handle = NewHandle();
    const QString socketPath = SocketPath(handle);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The handle carries our process id, so anything already under this name
    // was left by an earlier process with the same id that is gone now.
    QLocalServer::removeServer(socketPath);
    if (!m_server->listen(socketPath)) {
        m_error = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return;
    }

    // The name file appears only once the socket listens, so whoever finds it
    // can connect.
    QSaveFile info(InfoPath(handle));
    if (!info.open(QIODevice::WriteOnly)
        || info.write((windowClass + QLatin1Char('\n') + title + QLatin1Char('\n')).toUtf8()) < 0
        || !info.commit()) {
        m_error = info.errorString();
        m_server->close();
        delete m_server;
        m_server = nullptr;
        return;
    }

    m_handle = handle;
    m_infoFile = InfoPath(handle);
    connect(m_server, &QLocalServer::newConnection, this, &MessageWindow::serviceWaitingMessages);
    WindowsOfProcess().append(QPointer<MessageWindow>(this));
}

MessageWindow::~MessageWindow()
{
    WindowsOfProcess().removeAll(QPointer<MessageWindow>(this));
    WindowsOfProcess().removeAll(QPointer<MessageWindow>());
    if (!m_infoFile.isEmpty())
        QFile::remove(m_infoFile);
    if (m_server)
        m_server->close();  // removes the socket file
}

void MessageWindow::serviceWaitingMessages()
{
    // Accepting a connection below emits newConnection again; the outer loop
    // takes care of it.
    static thread_local bool accepting = false;
    if (!m_server || accepting)
        return;
    QPointer<MessageWindow> self(this);
    for (;;) {
        if (!m_server->hasPendingConnections()) {
            accepting = true;
            m_server->waitForNewConnection(0);
            accepting = false;
            if (!m_server->hasPendingConnections())
                break;
        }
        QLocalSocket* connection = m_server->nextPendingConnection();
        if (!connection)
            break;
        connection->setParent(nullptr);
        serveConnection(connection);
        if (!self || !m_server)
            return;
    }
}

void MessageWindow::serveConnection(QLocalSocket* connection)
{
    QPointer<MessageWindow> self(this);
    QByteArray buffer;
    QElapsedTimer clock;
    clock.start();
    quint32 bodySize = 0;
    for (;;) {
        buffer += connection->readAll();
        if (buffer.size() >= 4) {
            bodySize = qFromBigEndian<quint32>(buffer.constData());
            if (bodySize > kMaxFrameSize + 64) {
                delete connection;
                return;
            }
            if (static_cast<quint32>(buffer.size()) >= 4 + bodySize)
                break;
        }
        // A finder only checks that we listen and hangs up without a word.
        if (connection->state() != QLocalSocket::ConnectedState || clock.elapsed() > kFrameReadLimitMs) {
            delete connection;
            return;
        }
        connection->waitForReadyRead(100);
    }

    WindowMessage message;
    if (!DecodeFrame(buffer.mid(4, static_cast<int>(bodySize)), &message)) {
        delete connection;
        return;
    }
    const qint64 result = m_handler ? m_handler(message) : 0;
    if (connection->state() == QLocalSocket::ConnectedState) {
        connection->write(EncodeReply(result));
        connection->flush();
        connection->waitForBytesWritten(1000);
        connection->disconnectFromServer();
    }
    delete connection;
    Q_UNUSED(self);
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

bool SendWindowMessage(WindowHandle target, const WindowMessage& message, qint64* result, int timeoutMs)
{
    if (target == 0)
        return false;
    QLocalSocket socket;
    socket.connectToServer(SocketPath(target));
    if (!socket.waitForConnected(2000))
        return false;
    socket.write(EncodeFrame(message));
    socket.flush();

    QElapsedTimer clock;
    clock.start();
    QByteArray reply;
    for (;;) {
        reply += socket.readAll();
        if (reply.size() >= kReplySize) {
            if (qFromBigEndian<quint32>(reply.constData()) != kReplyMagic)
                return false;
            if (result)
                *result = qFromBigEndian<qint64>(reply.constData() + 4);
            return true;
        }
        if (socket.state() != QLocalSocket::ConnectedState)
            return false;
        int waitMs = 50;
        if (timeoutMs >= 0) {
            const qint64 left = timeoutMs - clock.elapsed();
            if (left <= 0)
                return false;
            waitMs = static_cast<int>(qMin<qint64>(left, waitMs));
        }

        // Wait for the answer or for a message to one of our own windows,
        // whichever comes first.
        std::vector<pollfd> fds;
        fds.push_back({static_cast<int>(socket.socketDescriptor()), POLLIN, 0});
        for (const QPointer<MessageWindow>& window : WindowsOfProcess()) {
            if (!window || window->thread() != QThread::currentThread())
                continue;
            const QLocalServer* server = window->findChild<QLocalServer*>();
            if (server && server->isListening())
                fds.push_back({static_cast<int>(server->socketDescriptor()), POLLIN, 0});
        }
        ::poll(fds.data(), fds.size(), waitMs);
        if (fds[0].revents != 0)
            socket.waitForReadyRead(0);
        ServiceWindowsOfThisThread();
    }
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

void RegisterTouchWindow(WindowHandle window, int flags)
{
    Q_UNUSED(window);
    Q_UNUSED(flags);
}

}  // namespace platform
