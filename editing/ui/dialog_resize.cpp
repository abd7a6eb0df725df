// Resizing and turning the one selected object with the handles of its
// frame. While the handle is dragged a light grey frame shows the result;
// the release changes the object once, as one undo step, tells the peers and
// draws the page and the frame again.
#include <QPainter>

#include "app/ui/dialog.h"
#include "board/geometry.h"

bool Dialog::SingleSelectedObject(int* slot, quint16* eventId) const
{
    int keySlot = 0, keyId = 0;
    if (m_select_id_str.size() != 1 || !ParseObjectKey(m_select_id_str.first(), &keySlot, &keyId))
        return false;
    // The frame belongs to the object remembered at selection; a key that
    // names another object has nothing to do with it.
    if (keyId != m_selectionState.Master.EventID)
        return false;
    *slot = keySlot;
    *eventId = quint16(keyId);
    return true;
}

ResizeGrip Dialog::CurrentResizeGrip() const
{
    ResizeGrip grip;
    grip.handle = SelectionHandle;
    grip.frame = m_selectionState.FrameRect;
    grip.angle = SelectionAngle;
    grip.lockX = LockX;
    grip.lockY = LockY;
    grip.view = CurrentBoardView();
    grip.fromPress = true;
    grip.press = m_pressPosition.toPoint();
    return grip;
}

void Dialog::StartPreviewFromFrame()
{
    for (int i = 0; i < 4; ++i)
        RubberBandCorners[i] = m_selectionState.DrawnCorners[i];
}

void Dialog::ShowTurnedPreview(QRect frame, double angle, QPoint centre)
{
    // The page layer holds no frame: taking the last preview's area from it
    // leaves the page as it is without any.
    RestoreFrameArea(QRect(), 1);
    TurnedCorners(frame, angle, centre, RubberBandCorners);
    QPainter painter(&m_viewImage);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QBrush(Qt::lightGray, Qt::SolidPattern), 2.0, Qt::SolidLine, m_specialPen.cap,
                        m_specialPen.join));
    painter.translate(RotatePoint(0, 0, angle, centre.x(), centre.y()));
    painter.rotate(angle);
    painter.drawRect(frame);
    painter.end();
    update(FrameRestoreArea(RubberBandCorners));
}

void Dialog::ResizeView(int cx, int cy, QRect frame)
{
    ShowTurnedPreview(frame, SelectionAngle, QPoint(cx, cy));
}

void Dialog::ResizeMove(int x, int y)
{
    LastPointerPoint = QPoint(x, y);
    if (m_select_id_str.size() != 1)
        return;
    const ResizeGrip grip = CurrentResizeGrip();
    const ResizeResult result = ResizeFrameAt(grip, LastPointerPoint);
    if (!result.applies)
        return;
    WriteMovedCorners(grip.handle, result.widgetFrame, m_selectionState.FrameCorners);
    const QPoint c = WidgetCentre(grip.frame, grip.view);
    ResizeView(c.x(), c.y(), result.widgetFrame);
}

void Dialog::ResizeRelease(int slot, int x, int y)
{
    Q_UNUSED(slot);
    const ResizeGrip grip = CurrentResizeGrip();
    const ResizeResult result = ResizeFrameAt(grip, QPoint(x, y));
    if (!result.applies) {
        // Let go beyond the fixed corner: the object stays as it was. The
        // corners go back to document pixels and the frame replaces the
        // preview.
        RectCorners(grip.frame, m_selectionState.FrameCorners);
        RestoreFrameArea(QRect(), 1);
        if (!m_select_id_str.isEmpty())
            RotatedObjectFrame(SelectionRect);
        return;
    }
    const QRect resized = result.documentFrame;
    RectCorners(resized.translated(PivotShift(grip.frame, resized, SelectionAngle)), m_selectionState.FrameCorners);
    if (!m_select_id_str.isEmpty() && !ResizeSelection())
        RectCorners(grip.frame, m_selectionState.FrameCorners);
    // The whole page is drawn again from the records: the preview goes with it.
    RedrawPageObjects(true);
    if (!m_select_id_str.isEmpty())
        CalcSelectionRect();
}

bool Dialog::ResizeSelection()
{
    int slot = 0;
    quint16 eventId = 0;
    if (!SingleSelectedObject(&slot, &eventId))
        return false;
    const QPoint* c = m_selectionState.FrameCorners;
    const QRect bound(c[0].x(), c[0].y(), c[1].x() - c[0].x(), c[3].y() - c[0].y());
    const double mediaPos = RecordingElapsedMs();
    const ObjectEdit edit =
        ResizeObject(m_board, slot, eventId, m_curr_note.create_data, bound, m_bRecording, mediaPos);
    if (!edit.changed)
        return false;
    ResizeOldBound = edit.before.BoundRF;
    InsertURList(URKindResize, slot, edit.master, edit.detail, ErasePoint(), edit.before, 1, 1, QPoint(0, 0));
    if (m_collUserLevel == 2 || m_collUserLevel == 3)
        Coll_Send_Modify(1, MakeObjectKey(slot, eventId), eventId, 0, 0, 0, 0, edit.detail.BoundRF, 0, 0, 0, 0, 0,
                         0, 0, 0, 1, 1);
    m_boardModified = true;
    return true;
}

void Dialog::RotateSelection(double angle)
{
    const float previous = SelectionAngle;
    RotateAngle = angle;
    SelectionAngle = float(angle);
    int slot = 0;
    quint16 eventId = 0;
    if (!SingleSelectedObject(&slot, &eventId)) {
        SelectionAngle = previous;
        RotateAngle = previous;
        return;
    }
    const double mediaPos = RecordingElapsedMs();
    const ObjectEdit edit =
        RotateObject(m_board, slot, eventId, m_curr_note.create_data, SelectionAngle, m_bRecording, mediaPos);
    if (!edit.changed) {
        // Already at the angle, or gone: the frame shows what the object is.
        const ConstObjectRef ref = FindObjectByKey(qAsConst(m_board), MakeObjectKey(slot, eventId));
        if (!ref.found() || ref.detail->Deleted) {
            SelectionAngle = previous;
            RotateAngle = previous;
        }
        return;
    }
    InsertURList(URKindRotate, slot, edit.master, edit.detail, ErasePoint(), edit.before, 1, 1, QPoint(0, 0));
    if (m_collUserLevel == 2 || m_collUserLevel == 3)
        Coll_Send_Modify(3, MakeObjectKey(slot, eventId), eventId, 0, 0, 0, int(SelectionAngle), QRect(), 0, 0, 0,
                         0, 0, 0, 0, 0, 1, 1);
    m_boardModified = true;
}

namespace {

// The centre of the frame corners (document pixels) in widget pixels.
QPoint FrameCentre(const QPoint corners[4], const BoardView& view)
{
    const QPoint tl = ToWidgetPixels(corners[0], view);
    const QPoint br = ToWidgetPixels(corners[2], view);
    return MidPoint(tl.x(), tl.y(), br.x(), br.y());
}

}  // namespace

void Dialog::RotateMove(int x, int y)
{
    if (m_select_id_str.size() != 1)
        return;
    const BoardView view = CurrentBoardView();
    const QPoint* corners = m_selectionState.FrameCorners;
    const QPoint m = FrameCentre(corners, view);
    RotateAngle = HandleAngle(m, QPoint(x, y));
    // The preview stands 5 document pixels off the object all round.
    const QPoint a = ToWidgetPixels(corners[0] - QPoint(5, 5), view);
    const QPoint b = ToWidgetPixels(corners[2] + QPoint(5, 5), view);
    const int dw = b.x() - a.x(), dh = b.y() - a.y();
    ShowTurnedPreview(QRect(m.x() - dw / 2, m.y() - dh / 2, dw, dh), RotateAngle, m);
}

void Dialog::RotateRelease(int slot, int x, int y)
{
    Q_UNUSED(slot);
    if (m_select_id_str.size() != 1)
        return;
    const QPoint m = FrameCentre(m_selectionState.FrameCorners, CurrentBoardView());
    RotateSelection(HandleAngle(m, QPoint(x, y)));
    RedrawPageObjects(true);
    if (!m_select_id_str.isEmpty())
        CalcSelectionRect();
}
