// Files from peers ("DOC_ST" chunks, closed by "DOC_EN"): written into the
// document folder and then shown, a page's document as that page, an image
// as an image object on the page.
#include "app/ui/dialog.h"
#include "collab/file_transfer.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QListWidget>

namespace {

// The file log is emptied when it reaches this many lines.
constexpr int kFileLogLimit = 50;

}  // namespace

coll::ReceiveFolders Dialog::Coll_ReceiveFolders() const
{
    coll::ReceiveFolders folders;
    folders.documentFolder = coll::DocumentFolder(m_workFolder);
    folders.updateFolder = m_workFolder + QStringLiteral("UpDateRx/");
    folders.debugMode = m_debugMode;
    return folders;
}

void Dialog::Coll_ReceiveFile(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail)
{
    const coll::Fields fields(tail);
    const QString kindText = fields.text(2);
    bool known = false;
    const int kind = kindText.toInt(&known);
    const QString name = kind == 0 ? m_pendingDocument.name : (kind == 3 || kind == 4) ? fields.text(3) : QString();
    if (keyword == "DOC_ST") {
        const QString sender = m_collUserLevel == 3 ? m_session.writeHolder : QString();
        if (m_fileReceiver.active() && sender != m_fileSender) {
            qDebug().noquote() << QStringLiteral("EXE Rx : file of %1 given up: a chunk of %2 came")
                                      .arg(m_fileSender.left(64), sender.left(64));
            m_fileReceiver.Abort();
        }
        if (!m_fileReceiver.active())
            m_fileSender = sender;
        m_fileReceiver.Chunk(known ? kind : -1, name, data, Coll_ReceiveFolders());
        return;
    }
    const qint64 total = m_fileReceiver.total();
    if (m_debugMode) {
        QListWidget* list = ui->listWidget_logwindow2;
        list->addItem(QStringLiteral("EXE Rx : [%1], nextsize=%2, H=%3, D=%4, T=%5, Total file size=%6")
                          .arg(QString::fromUtf8(keyword))
                          .arg(12 + keyword.size() + data.size() + tail.size())
                          .arg(keyword.size())
                          .arg(data.size())
                          .arg(tail.size())
                          .arg(total));
        list->scrollToBottom();
        if (list->count() >= kFileLogLimit)
            list->clear();
    }
    qDebug().noquote() << QStringLiteral("[EXE] receive total file size : [%1]").arg(total);
    const coll::ReceivedFile file = m_fileReceiver.Finish();
    if (!file.complete) {
        qDebug().noquote() << QStringLiteral("EXE Rx : no file of kind %1 to place").arg(kindText.left(8));
        return;
    }
    Coll_PlaceReceivedFile(file);
}

void Dialog::Coll_DropTransferOf(const QString& id)
{
    if (!m_fileReceiver.active())
        return;
    // A participant's files come from the host or from the writer, and the
    // relay passes their frames on unchanged, which name no sender. Any
    // departure may have cut the transfer off, so its bytes are not kept.
    if (m_collUserLevel != 3) {
        m_fileReceiver.Interrupt();
        return;
    }
    if (m_fileSender.isEmpty() || m_fileSender != id)
        return;
    qDebug().noquote() << QStringLiteral("EXE Rx : unfinished file of %1 dropped: it left").arg(id.left(64));
    m_fileReceiver.Abort();
    m_fileSender.clear();
}

void Dialog::Coll_PlaceReceivedFile(const coll::ReceivedFile& file)
{
    if (file.kind == 3) {
        // The image goes in as an image object; the tools stay as they were.
        // Whatever a peer sent must not stop the teacher with a box.
        const int previous = m_board.slot[0].event_kind;
        m_board.slot[0].event_kind = ekImage;
        m_placingPeerPicture = true;
        InsertImageObject(file.path, 0, file.name);
        m_placingPeerPicture = false;
        for (int s = 0; s < kMouseOverflowSlot; ++s)
            m_board.slot[s].event_kind = previous;
        return;
    }
    if (file.kind != 0)
        return;
    const NoteInfo record = m_pendingDocument;
    const QString replaced = m_curr_note.create_data;
    if (record.type == 2) {
        CreateNotePage(2, record.name, file.path, record.page_option);
    } else if (record.type == 3) {
        qDebug().noquote() << QStringLiteral("DOC_EN pdf : path = %1, page_option = %2").arg(file.path).arg(record.page_option);
        m_import_first_idx = m_note_list.size();
        AddDocuments(file.path, true, record.page_option);
        qDebug().noquote() << QStringLiteral("DOC_EN pdf : m_note_idx = %1, m_note_cnt = %2").arg(m_note_idx).arg(m_note_cnt);
        qDebug().noquote() << QStringLiteral("DOC_EN pdf : m_note_datas.size() = %1").arg(m_note_list.size());
    } else {
        qDebug().noquote() << QStringLiteral("EXE Rx : document of page type %1 not shown").arg(record.type);
        return;
    }
    Coll_DropReplacedPage(replaced);
    UpdatePageLabel(false, m_hostNoteIndex, m_hostNoteCount);
}
