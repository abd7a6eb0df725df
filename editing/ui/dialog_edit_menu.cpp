// The board's edit menu: cut, copy and paste on the window's own object
// clipboard, delete, select all, reset, the stacking order, group and
// ungroup. Every command works on the selection of the current note.
#include <QAction>
#include <QDebug>

#include "app/ui/dialog.h"

void Dialog::DeleteObjectInStep(const QString& key, int place, int size, double mediaPos)
{
    const ObjectRef ref = FindObjectByKey(m_board, key);
    if (!ref.found())
        return;
    EventDetail& ed = *ref.detail;
    const ErasePoint erase = StepErasePoint(ed, mediaPos, size >= 2 ? 2 : 0, place, size, GroupRectSum);
    InsertURList(URKindDelete, ref.slot, *ref.master, ed, erase, PreData(), place, size, QPoint(0, 0));
    if (!ed.Deleted)
        m_boardModified = true;
    MarkObjectDeleted(m_board, ref.slot, ed, erase, m_bRecording);
    if (m_collUserLevel == 2 || m_collUserLevel == 3)
        Coll_Send_Modify(2, key, ed.EventID, 0, 0, 1, 0, QRect(), 0, 0, 0, 0, 0, 0, 0, 0, place, size);
}

void Dialog::CopySelectedObjects(bool cut)
{
    const double mediaPos = RecordingElapsedMs();
    if (!m_select_id_str.isEmpty()) {
        for (int i = 0; i < m_select_id_str.size(); ++i)
            qDebug().noquote() << QStringLiteral("exe : Copy : m_select_id_str[%1] : %2").arg(i).arg(m_select_id_str[i]);
        // Keys that no longer name a live object take no place in the
        // step, so a cut is always a complete step.
        const QStringList targets = LiveObjectKeys(m_board, m_select_id_str, m_curr_note.create_data);
        m_board.clipboard = CopyToClipboard(m_board, targets);
        PasteCount = 0;
        if (cut) {
            for (int i = 0; i < targets.size(); ++i)
                DeleteObjectInStep(targets[i], i + 1, targets.size(), mediaPos);
        }
    }
    SelectionFrameShown = false;
    ClearSelection();
    NoteObjectKeys.clear();
}

void Dialog::PasteObjects()
{
    const double mediaPos = RecordingElapsedMs();
    const ObjectClipboard& clipboard = m_board.clipboard;
    if (clipboard.masters.isEmpty()) {
        ClearSelection();
        return;
    }
    ++PasteCount;
    qDebug().noquote() << QStringLiteral("exe : PasteCount %1").arg(PasteCount);
    const QVector<PastedObject> pasted =
        PasteFromClipboard(m_board, clipboard, 10 * PasteCount, m_curr_note.create_data, mediaPos);
    for (int j = 0; j < pasted.size(); ++j) {
        const PastedObject& object = pasted[j];
        InsertURList(URKindAdd, 0, object.master, object.detail, ErasePoint(), PreData(), j + 1, pasted.size(),
                     QPoint(0, 0));
        if (object.master.Kind == ekFree || object.master.Kind == ekBrush)
            qDebug().noquote() << QStringLiteral("exe : Paste : m_select_id_str[%1] : %2")
                                      .arg(j)
                                      .arg(clipboard.ClipboardKeys.value(j));
    }
    m_boardModified = true;
    RedrawPageObjects(true);
    ClearSelection();
}

void Dialog::OptMenuCopy()
{
    CopySelectedObjects(false);
    RedrawPageObjects(true);
    SetEditActionEnable(2);
}

void Dialog::OptMenuCut()
{
    CopySelectedObjects(true);
    RedrawChangedObjects();
    SetEditActionEnable(1);
}

void Dialog::OptMenuPaste() { PasteObjects(); }

void Dialog::OptMenuDelete()
{
    if (!m_select_id_str.isEmpty()) {
        const double mediaPos = RecordingElapsedMs();
        const QStringList targets = LiveObjectKeys(m_board, m_select_id_str, m_curr_note.create_data);
        for (int i = 0; i < targets.size(); ++i)
            DeleteObjectInStep(targets[i], i + 1, targets.size(), mediaPos);
    }
    SelectionFrameShown = false;
    ClearSelection();
    NoteObjectKeys.clear();
    RedrawChangedObjects();
}

void Dialog::OptMenuAll()
{
    SelectObjectsInArea(0, 0, m_canvasWidth, m_canvasHeight, false);
    ClickObjectBtn(QStringLiteral("ekSelect"));
    // Cut, Copy, Delete, the four stacking commands and Reset.
    for (int index : {0, 1, 3, 5, 6, 7, 8, 11}) {
        if (index < m_editActions.size() && m_editActions[index])
            m_editActions[index]->setEnabled(true);
    }
}

void Dialog::OptMenuReset()
{
    if (m_select_id_str.size() == 1) {
        const QString key = m_select_id_str.first();
        const ObjectRef ref = FindObjectByKey(m_board, key);
        if (!ref.found())
            return;
        PreData before;
        if (ResetObjectGeometry(m_board, key, ref, &before, m_bRecording, RecordingElapsedMs())) {
            InsertURList(URKindResize, ref.slot, *ref.master, *ref.detail, ErasePoint(), before, 1, 1, QPoint(0, 0));
            m_boardModified = true;
        }
    }
    SelectionFrameShown = false;
    ClearSelection();
    NoteObjectKeys.clear();
    RedrawPageObjects(true);
}

void Dialog::RestackSelection(StackMove move)
{
    if (m_select_id_str.size() != 1) {
        RedrawPageObjects(true);
        ClearSelection();
        return;
    }
    int slot = 0;
    int eventId = 0;
    if (!ParseObjectKey(m_select_id_str.first(), &slot, &eventId))
        return;
    SlotRecords& records = m_board.slot[slot].records;
    if (records.masters().size() <= 1) {
        qDebug().noquote() << "exe : EMList 0";
        return;
    }
    if (!RestackObject(records, quint16(eventId), move))
        return;
    m_boardModified = true;
    RedrawPageObjects(true);
    SelectionFrameShown = false;
    ClearSelection();
}

void Dialog::OptMenuForward() { RestackSelection(StackMove::ToTop); }
void Dialog::OptMenuBackward() { RestackSelection(StackMove::ToBottom); }
void Dialog::OptMenutoFront() { RestackSelection(StackMove::UpOne); }
void Dialog::OptMenutoBack() { RestackSelection(StackMove::DownOne); }

void Dialog::OptMenuGroup() { qDebug().noquote() << "exe : OptMenuGroup"; }
void Dialog::OptMenuUngroup() { qDebug().noquote() << "exe : OptMenuUngroup"; }
