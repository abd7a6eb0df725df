// The host's pages arriving on a participant (page records, backgrounds,
// the image list, the page counter, a new lecture), the host's undo
// position, and the requests a writer and the host exchange about pages and
// undo.
#include "app/tool_commands.h"
#include "app/ui/dialog.h"
#include "collab/file_transfer.h"
#include "storage/project_file.h"

#include <QDebug>

namespace {

constexpr int kWriterSlot = 10;
// StrData indexes the image list with 16 bits, 65535 meaning none.
constexpr int kImageListLimit = 65535;

// The last part of a path, cut at "/" and at "\".
QString LastPathPart(const QString& path)
{
    const int cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

}  // namespace

bool Dialog::Coll_ReceivePages(int code, const QByteArray& data)
{
    const coll::Fields f(data);
    switch (code) {
    case 18:
        Coll_ReceiveNoteData(f);
        return true;
    case 21:
        Coll_ReceiveNoteButton(f.text(2));
        return true;
    case 26:
        Coll_ReceiveImagePath(f);
        return true;
    case 27: {
        const int index = f.toInt(2);
        const int count = f.toInt(3);
        if (count < 1 || index < 0 || index >= count) {
            qDebug().noquote() << QStringLiteral("exe : NOTEIDX_SET %1 of %2 ignored").arg(index).arg(count);
            return true;
        }
        m_hostNoteIndex = index;
        m_hostNoteCount = count;
        SetPageLabelGeometry(true, index, count);
        UpdatePageLabel(false, index, count);
        // A writer holding the tool right pages through the host's pages:
        // a page the host added is one more it may go to.
        if (m_collUserLevel == 2 && ToolRightHeld())
            SetPageNaviEnable(index, count);
        return true;
    }
    case 28:
        ResetBoard(f.toInt(2) != 0);
        return true;
    case 30:
        if (m_collUserLevel != 3)
            return true;
        if (f.toInt(2) == 1 && m_note_idx != 0)
            OptPreNoteBtn(true);
        else if (f.toInt(2) == 2 && m_note_idx + 1 < m_note_cnt)
            OptPostNoteBtn(true);
        return true;
    case 31:
        if (m_collUserLevel != 3)
            return true;
        if (f.toInt(2) == 3)
            OptUndo();
        else if (f.toInt(2) == 4)
            OptRedo();
        return true;
    case 32: {
        PointerSlotState& writer = m_board.slot[kWriterSlot];
        if (m_collUserLevel != 2 || !writer.pressed)
            return true;
        PointerRelease(kWriterSlot, writer.current.x(), writer.current.y(), true, false);
        const int action = f.toInt(2);
        if (action == 1 || action == 2)
            Coll_Send_ChangeNote(0, QString(), action);
        else if (action == 3 || action == 4)
            Coll_Send_UndoRedo(0, QString(), action);
        return true;
    }
    case 33:
        m_hostUndoIndex = f.toInt(2);
        m_hostUndoSize = f.toInt(3);
        UpdatePrevNextButtons();
        return true;
    default:
        return false;
    }
}

// The page's Name and Create stamp name files of the page and of saved
// projects: a record whose names are not bare file names is dropped.
void Dialog::Coll_ReceiveNoteData(const coll::Fields& f)
{
    NoteInfo record;
    record.name = f.text(2);
    record.create_data = f.text(3);
    record.type = f.toInt(7);
    record.page_option = f.toInt(8) != 0;
    if (!storage::IsBareFileName(record.name) || !storage::IsBareFileName(record.create_data)) {
        qDebug().noquote() << QStringLiteral("exe : NOTEDATA_SET with names \"%1\", \"%2\" dropped")
                                  .arg(record.name.left(64), record.create_data.left(64));
        return;
    }
    // A picture or document page shows our own copy of its file; the
    // sender's path means nothing here.
    const QString path = f.text(4);
    if (record.type == 2 || record.type == 3)
        record.path = coll::DocumentFolder(m_workFolder) + record.name;
    else
        record.path = storage::IsBareFileName(path) ? path : record.name;
    if (f.toInt(11) == 0) {
        m_pendingDocument = record;
        return;
    }
    m_curr_note.name = record.name;
    m_curr_note.create_data = record.create_data;
    m_curr_note.path = record.path;
    m_curr_note.type = record.type;
    m_curr_note.page_option = record.page_option;
    if (m_note_idx >= 0 && m_note_idx < m_note_list.size()) {
        NoteInfo& entry = m_note_list[m_note_idx];
        entry.name = record.name;
        entry.create_data = record.create_data;
        entry.type = record.type;
        entry.page_option = record.page_option;
    }
    qDebug().noquote() << QStringLiteral("NOTEDATA_info : m_curr_note.name=%1, m_curr_bote.create_data=%2")
                              .arg(m_curr_note.name, m_curr_note.create_data);
}

// The host laid a new background: a page of that kind takes the place of the
// page shown.
void Dialog::Coll_ReceiveNoteButton(const QString& name)
{
    if (NotePageNameForKey(name).isEmpty()) {
        if (!name.isEmpty())
            qDebug().noquote() << QStringLiteral("exe : NOTEBTN_SET of unknown kind %1 ignored").arg(name.left(32));
        return;
    }
    qDebug().noquote() << QStringLiteral("NOTEBTN_info : m_curr_note.width = %1, m_note_width = %2")
                              .arg(m_curr_note.width).arg(m_view_width);
    qDebug().noquote() << QStringLiteral("NOTEBTN_info : m_curr_note.height = %1, m_note_height = %2")
                              .arg(m_curr_note.height).arg(m_view_height);
    const QString replaced = m_curr_note.create_data;
    qDebug().noquote() << QStringLiteral("NOTEBTN_info : old_notebtn = %1, m_curr_note.name = %2")
                              .arg(name, m_curr_note.name);
    m_noteKind = name;
    OptNoteBtn(false);
    Coll_DropReplacedPage(replaced);
    qDebug().noquote() << QStringLiteral("NOTEBTN_info : m_note_datas.size() = %1").arg(m_note_list.size());
    qDebug().noquote() << QStringLiteral("m_note_idx = %1, m_note_cnt = %2").arg(m_note_idx).arg(m_note_cnt);
    UpdatePageLabel(false, m_hostNoteIndex, m_hostNoteCount);
}

void Dialog::Coll_ReceiveImagePath(const coll::Fields& f)
{
    if (f.toInt(3) != 0) {
        m_mediaFiles.clear();
    } else {
        const QString name = LastPathPart(f.text(2));
        if (!storage::IsBareFileName(name)) {
            qDebug().noquote() << QStringLiteral("exe : IMGPATH_SET entry %1 dropped").arg(f.text(2).left(64));
            return;
        }
        if (m_mediaFiles.size() >= kImageListLimit) {
            qDebug().noquote() << "exe : IMGPATH_SET past the image list's end dropped";
            return;
        }
        m_mediaFiles.append(coll::DocumentFolder(m_workFolder) + name);
    }
    m_imageCounter = f.toInt(4);
}

// Only a page that was really replaced goes: the board never loses its page
// to a background or a document that did not come.
void Dialog::Coll_DropReplacedPage(const QString& replaced)
{
    if (m_curr_note.create_data == replaced)
        return;
    for (int i = 0; i < m_note_list.size(); ++i) {
        if (m_note_list.at(i).create_data == replaced) {
            m_note_list.removeAt(i);
            if (i < m_note_idx)
                --m_note_idx;
            break;
        }
    }
    m_note_cnt = m_note_list.size();
    DeleteNote(replaced);
}
