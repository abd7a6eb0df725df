// Files to the peers: a page's document, the pictures placed on it, and the
// debug panel's test files, as runs of raw chunks closed by an end frame.
#include "app/ui/dialog.h"
#include "collab/coll_messages.h"
#include "collab/file_transfer.h"
#include "platform/folders.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>

namespace {

// Above this much unsent data the socket is asked to hand what it can to
// the system at once, so a large file does not pile up in our memory first.
constexpr qint64 kFlushAbove = 256 * 1024;

}  // namespace

void Dialog::Coll_Send_Doc(int mode, QString userId, int kind, QString path, QString name)
{
    QTcpSocket* socket = Coll_SessionSocket();
    if (!socket)
        return;
    const QString filePath = coll::FileTransferPath(kind, m_curr_note.path, path, platform::ProgramFolder());
    QFile file(filePath);
    if (filePath.isEmpty() || !QFileInfo(filePath).isFile() || !file.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Couldn't open the file";
        return;
    }
    const qint64 fileSize = file.size();
    const QByteArray tail = coll::FileTail(coll::Address{mode, userId}, kind, name);
    qint64 sent = 0;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(coll::kFileChunkSize);
        if (chunk.isEmpty())
            break;  // a read error ends the file like its end
        sent += chunk.size();
        Coll_WriteFrame(socket, "DOC_ST", chunk, tail);
        if (socket->bytesToWrite() > kFlushAbove)
            socket->flush();
    }
    Coll_WriteFrame(socket, "DOC_EN", coll::FileEndData(), tail);
    file.close();
    qDebug().noquote() << QStringLiteral("[EXE] Send file size / total file size : [%1] / [%2] ")
                              .arg(sent)
                              .arg(fileSize);
}

// The picture files of the image objects on the page being shown, one after
// the other.
void Dialog::Coll_Send_ImgFile(int mode, QString userId)
{
    if (!Coll_SessionSocket())
        return;
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        const SlotRecords& records = m_board.slot[slot].records;
        for (const EventMaster& em : records.masters()) {
            if (!records.findDetail(em.EventID))
                continue;
            if (em.NoteName != m_curr_note.create_data || em.Kind != ekImage)
                continue;
            // 65535 names no file; any other number outside the list is as
            // good as none.
            if (em.StrData >= m_mediaFiles.size()) {
                qDebug().noquote() << "img file path error";
                continue;
            }
            const QString filePath = m_mediaFiles.at(em.StrData);
            const QString fileName = coll::ImageNameFromPath(filePath);
            qDebug().noquote() << QStringLiteral("strFilePath = %1").arg(filePath);
            qDebug().noquote() << QStringLiteral("strFileName = %1").arg(fileName);
            Coll_Send_Doc(mode, userId, 4, filePath, fileName);
        }
    }
}
