// Dragging the selection: while the pointer moves only the frame follows it;
// the release moves the objects once, as one undo step.
#include <QDebug>

#include "app/ui/dialog.h"
#include "editing/object_move.h"

void Dialog::Modify_Move(int slot, int phase)
{
    if (!IsValidPointerSlot(slot) || m_select_id_str.isEmpty())
        return;
    PointerSlotState& s = m_board.slot[slot];

    // The frame moves by the raw pointer step, in widget pixels.
    const QPoint step = s.current - s.anchor;
    RestoreFrameArea(SelectionRect, 0);
    SelectionRect.translate(step);
    for (QPoint& corner : SelectionPolygon)
        corner += step;
    RotatedObjectFrame(SelectionRect);
    if (phase == 1)
        return;

    const double mediaPos = m_bRecording ? RecordingElapsedMs() : -1.0;
    const QPoint offset = MoveOffset(s.current, MovePressPoint[slot], m_zoom);
    // A tap on the selection moves nothing: no undo step, nothing to send.
    if (offset.isNull())
        return;
    const MoveStep moved = MoveObjects(m_board, m_select_id_str, offset, m_bRecording, mediaPos,
                                       m_selectionState.FrameCornersBefore, m_selectionState.FrameCorners);
    m_selectionState.FrameRect = RectFromCorners(m_selectionState.FrameCorners);
    if (m_bRecording && moved.objects.size() > 1)
        GroupRectSum = moved.groupRect;
    const int n = moved.objects.size();
    for (int i = 0; i < n; ++i) {
        const MovedObject& object = moved.objects[i];
        InsertURList(URKindMove, object.slot, object.master, object.detail, ErasePoint(), object.before, i + 1, n,
                     offset);
        if (m_collUserLevel == 2 || m_collUserLevel == 3) {
            qDebug().noquote() << QStringLiteral("Modify_Move : id_str = %1, edEventID = %2, Xval=%3, Yval=%4")
                                      .arg(object.key)
                                      .arg(object.detail.EventID)
                                      .arg(offset.x())
                                      .arg(offset.y());
            const QPoint* c = object.corners;
            Coll_Send_Modify(0, object.key, object.detail.EventID, offset.x(), offset.y(), 0, 0, QRect(), c[0].x(),
                             c[0].y(), c[1].x(), c[1].y(), c[2].x(), c[2].y(), c[3].x(), c[3].y(), i + 1, n);
        }
    }
    if (n > 0)
        m_boardModified = true;
    RedrawPageObjects(true);
    RotatedObjectFrame(SelectionRect);
}
