// A finished stroke, figure or image becomes a board object with one undo step.
#include <QDebug>

#include "app/ui/dialog.h"
#include "editing/object_creation.h"
#include "ui_dialog.h"

void Dialog::CreateObjectEvent(int slot, int mediaIndex)
{
    if (!IsValidPointerSlot(slot) || mediaIndex < 0 || mediaIndex > 0xFFFF) {
        qDebug().noquote() << QStringLiteral("exe : object of slot %1, media %2 not created").arg(slot).arg(mediaIndex);
        return;
    }
    CreationContext ctx;
    ctx.zoom = m_zoom;
    ctx.hscroll = HorizontalScrollValue();
    ctx.vscroll = VerticalScrollValue();
    ctx.widgetSize = size();
    ctx.noteName = m_curr_note.create_data;
    ctx.penAlpha = m_currentPenColor.alpha();
    ctx.recording = m_bRecording;
    ctx.recordingElapsedMs = RecordingElapsedMs();
    const CreatedObject made = CreateBoardObject(m_board, slot, quint16(mediaIndex), ctx);
    InsertURList(URKindAdd, slot, made.master, made.detail, ErasePoint(), PreData(), 1, 1, QPoint());
    m_boardModified = true;
    qDebug().noquote() << QStringLiteral("exe : object %1 kind %2 media %3 StrData %4 samples %5")
                              .arg(MakeObjectKey(slot, made.master.EventID))
                              .arg(made.master.Kind)
                              .arg(made.master.MediaPos)
                              .arg(made.master.StrData)
                              .arg(m_board.FreePenMap.value(MakeObjectKey(slot, made.master.EventID)).size());
}

void Dialog::InsertURList(int kind, int slot, EventMaster em, EventDetail ed, ErasePoint ep, PreData pd, int place,
                          int size, QPoint offset)
{
    if (m_collUserLevel != 0 && m_collUserLevel != 3)
        return;
    if (!IsValidPointerSlot(slot) || kind < URKindAdd || kind > URKindRotate || place < 1 || size < place) {
        qDebug().noquote() << QStringLiteral("exe : undo entry (kind %1, slot %2, place %3 of %4) ignored")
                                  .arg(kind).arg(slot).arg(place).arg(size);
        return;
    }
    m_undo.Insert(MakeUndoEntry(kind, slot, m_board.slot[slot].event_kind, m_curr_note.create_data, em, ed, ep, pd,
                                place, size, offset));
    if (m_collUserLevel == 3)
        Coll_Send_URdata(0, QString(), m_undo.URIndex, m_undo.URList.size());
    UpdatePrevNextButtons();
}
