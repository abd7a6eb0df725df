// The receiver's dispatch: each whole frame goes to the group of handlers its
// keyword's code belongs to.
#include "app/ui/dialog.h"

#include <QDebug>

void Dialog::Coll_Receive(int code, const QByteArray& keyword, const QByteArray& data, const QByteArray& tail)
{
    // Unknown keywords and "SENDMSG" (code 0) do nothing.
    if (code == 0)
        return;
    // File chunks are not listed, so that a transfer does not flood the log.
    if (code == 2) {
        Coll_ReceiveFile(keyword, data, tail);
        return;
    }
    qDebug().noquote() << QStringLiteral("EXE Rx : [%1] %2").arg(QString::fromUtf8(keyword), QString::fromUtf8(data.left(256)));
    if (code == 25) {
        Coll_ReceiveModify(data);
        return;
    }
    if (Coll_ReceiveSession(code, data) || Coll_ReceiveBoard(code, data) || Coll_ReceiveLive(code, data)
        || Coll_ReceivePages(code, data))
        return;
    qDebug().noquote() << QStringLiteral("exe : no receiver for %1 (%2)").arg(QString::fromUtf8(keyword.left(32))).arg(code);
}

void Dialog::Coll_ResetReceiver()
{
    m_fileReceiver.Abort();
    m_fileSender.clear();
    m_pendingDocument = NoteInfo();
    m_hostBoardSize = QSize();
    m_writerBoardSize = QSize();
    for (bool& down : m_remoteStrokeDown)
        down = false;
    m_collRedrawDeferred = false;
}
