// Reading the session socket: whole frames out of one receive buffer, each
// handed to the receiver by its keyword.
#include "app/ui/dialog.h"
#include "collab/coll_messages.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QListWidget>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {

// Frames handled in one call before the rest waits for a queued call, so a
// long burst never keeps the window from painting and answering input.
constexpr int kFramesPerCall = 50;
// The packet log is emptied when it reaches this many lines.
constexpr int kPacketLogLimit = 80;

}  // namespace

void Dialog::Coll_AttachSocket()
{
    QTcpSocket* socket = m_collLibraryLoaded ? m_konnexa.soc_() : nullptr;
    m_collReceiveSocket = socket;
    m_collReceiveBuffer.Clear();
    if (!socket)
        return;
    connect(socket, &QTcpSocket::readyRead, this, &Dialog::onReadyRead, Qt::UniqueConnection);
    connect(socket, &QTcpSocket::disconnected, this, &Dialog::onDisconnected,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
}

// Never waits: a frame that has not fully arrived stays in the buffer until
// the next readyRead. Frames are dispatched whole and in order.
void Dialog::onReadyRead()
{
    if (m_collReading)
        return;  // the running call picks the new bytes up when the handler returns
    QTcpSocket* socket = m_collLibraryLoaded ? m_konnexa.soc_() : nullptr;
    if (!socket)
        return;
    if (socket != m_collReceiveSocket) {
        m_collReceiveSocket = socket;
        m_collReceiveBuffer.Clear();
    }
    const QPointer<QTcpSocket> alive(socket);
    m_collReading = true;
    int dispatched = 0;
    for (;;) {
        CollFrame frame;
        QByteArray bytes;
        const int result = m_collReceiveBuffer.Next(&frame, m_debugMode ? &bytes : nullptr);
        if (result == 0) {
            // The socket is read only once the whole frames held are handed
            // out: taking its bytes in moves what the buffer holds, which
            // then is less than one frame, however long a flood goes on.
            if (alive->bytesAvailable() <= 0)
                break;
            m_collReceiveBuffer.Append(alive->readAll());
            continue;
        }
        if (result < 0) {
            qDebug().noquote() << QStringLiteral("DLL : receive data size Error : socket=%1, nextBlocksize=%2")
                                      .arg(m_collReceiveBuffer.Held())
                                      .arg(m_collReceiveBuffer.AnnouncedSize());
            // The stream cannot be trusted past this point.
            Coll_AbortSession(QString());
            break;
        }
        if (m_debugMode)
            Coll_PacketLog(frame, bytes.size());
        Coll_Receive(coll::KeywordCode(frame.keyword), frame.keyword, frame.data, frame.tail);
        // A handler may have ended or replaced the session.
        if (!alive || !alive->isOpen() || m_konnexa.soc_() != socket || m_collReceiveSocket != socket)
            break;
        if (++dispatched >= kFramesPerCall) {
            if (!m_collReadQueued) {
                m_collReadQueued = true;
                QTimer::singleShot(0, this, [this]() {
                    m_collReadQueued = false;
                    onReadyRead();
                });
            }
            break;
        }
    }
    m_collReading = false;
}

// Ends the session from our side, as a lost connection ends it: the socket
// is dropped at once and nothing more of it is read. The abort reports the
// close (queued) when the socket was connected; the queued call covers one
// that was not, and whichever comes second ends nothing.
void Dialog::Coll_AbortSession(const QString& message)
{
    m_collLostMessage = message;
    m_collReceiveBuffer.Clear();
    QTcpSocket* socket = m_collLibraryLoaded ? m_konnexa.soc_() : nullptr;
    if (!socket)
        return;
    socket->abort();
    QMetaObject::invokeMethod(
        this, [this, socket]() {
            if (m_collLibraryLoaded && m_konnexa.soc_() == socket)
                Coll_ConnectionLost(int(QAbstractSocket::UnknownSocketError));
        },
        Qt::QueuedConnection);
}

// File chunks are never listed, so a transfer cannot flood the list.
void Dialog::Coll_PacketLog(const CollFrame& frame, int frameSize)
{
    QListWidget* list = ui->listWidget_logwindow2;
    if (frame.keyword != "DOC_ST") {
        list->addItem(QStringLiteral("EXE Rx : [%1], TotalSize=%2, nextsize=%3, H=%4, D=%5, T=%6, strD=%7")
                          .arg(QString::fromUtf8(frame.keyword))
                          .arg(frameSize)
                          .arg(frameSize - 2)
                          .arg(frame.keyword.size())
                          .arg(frame.data.size())
                          .arg(frame.tail.size())
                          .arg(QString::fromUtf8(frame.data)));
        list->scrollToBottom();
    }
    if (list->count() >= kPacketLogLimit)
        list->clear();
}
