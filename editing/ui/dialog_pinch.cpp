// Two fingers on a touch panel scale and turn the one selected object. While
// they move only a light grey frame follows; when they lift the object is
// turned (snapped to a right angle nearby), then scaled about its middle.
#include "app/ui/dialog.h"

void Dialog::TouchReleaseBtn()
{
    GestureHold = false;
}

void Dialog::PinchGesture(Qt::GestureState state, double totalScale, double rotation, double lastRotation)
{
    const bool selectTool = m_board.slot[0].event_kind == ekSelect;
    // The pinch acts on the object it began on with the select tool; once
    // the selection is another (an undo, a note change, a peer's delete) or
    // the tool changed, it only ends.
    const bool onSameObject = selectTool && m_select_id_str.size() == 1 && m_select_id_str.first() == PinchKey;
    switch (state) {
    case Qt::GestureStarted:
        if (!selectTool || m_select_id_str.size() != 1)
            return;
        m_pinchGestureActive = true;
        PinchKey = m_select_id_str.first();
        PinchBaseRect = RectFromCorners(m_selectionState.FrameCorners);
        PinchAngle = SelectionAngle;
        PinchScale = 1.0;
        StartPreviewFromFrame();
        break;
    case Qt::GestureUpdated:
        if (!m_pinchGestureActive || !onSameObject)
            return;
        GestureActive = true;
        GestureHold = true;
        PinchAngle += rotation - lastRotation;
        PinchScale = totalScale;
        DrawGestureFrame(PinchScale, PinchAngle);
        break;
    case Qt::GestureFinished:
    case Qt::GestureCanceled:
        if (!m_pinchGestureActive)
            return;
        m_pinchGestureActive = false;
        if (state == Qt::GestureFinished && onSameObject) {
            CommitGestureRotate(PinchAngle);
            CommitGestureScale(PinchScale);
        } else {
            EndPinchWithoutChange();
        }
        PinchScale = 1.0;
        PinchAngle = RotateAngle;
        GestureActive = false;
        GestureHold = false;
        break;
    default:
        break;
    }
}

void Dialog::EndPinchWithoutChange()
{
    // The frame preview turned SelectionAngle with the fingers; the frame
    // shows the selected object as it is.
    int slot = 0;
    quint16 eventId = 0;
    SelectionAngle = 0.f;
    if (SingleSelectedObject(&slot, &eventId)) {
        const ConstObjectRef ref = FindObjectByKey(qAsConst(m_board), MakeObjectKey(slot, eventId));
        if (ref.found())
            SelectionAngle = ref.detail->Angle;
    }
    RotateAngle = SelectionAngle;
    RedrawPageObjects(true);
    if (!m_select_id_str.isEmpty())
        CalcSelectionRect();
}

void Dialog::DrawGestureFrame(double scale, double angle)
{
    const BoardView view = CurrentBoardView();
    RotateAngle = SnapRightAngle(angle);
    SelectionAngle = float(RotateAngle);
    const QRect& base = PinchBaseRect;
    const QPoint tl = ToWidgetPixels(base.topLeft(), view);
    const QPoint br = ToWidgetPixels(QPoint(base.x() + base.width(), base.y() + base.height()), view);
    const QRect frame(tl.x(), tl.y(), br.x() - tl.x(), br.y() - tl.y());
    ShowTurnedPreview(ScaleAboutMiddle(frame, scale), RotateAngle, WidgetCentre(base, view));
}

void Dialog::CommitGestureRotate(double angle)
{
    RotateSelection(SnapRightAngle(angle));
}

void Dialog::CommitGestureScale(double scale)
{
    const QRect scaled = ScaleAboutMiddle(PinchBaseRect, scale);
    RectCorners(scaled.translated(PivotShift(PinchBaseRect, scaled, SelectionAngle)),
                m_selectionState.FrameCorners);
    if (!m_select_id_str.isEmpty() && !ResizeSelection())
        RectCorners(PinchBaseRect, m_selectionState.FrameCorners);
    RedrawPageObjects(true);
    if (!m_select_id_str.isEmpty())
        CalcSelectionRect();
}
