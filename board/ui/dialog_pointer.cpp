// Press, move and release: where every input source and every peer's stroke
// ends. They start, extend and finish strokes and figures, drive the
// selection frame and the edit tools, and turn finished strokes into records.
#include <QDebug>
#include <QLabel>
#include <QLineF>
#include <QRubberBand>
#include <cmath>

#include "app/ui/dialog.h"
#include "board/geometry.h"

namespace {

bool IsPenKind(int kind)
{
    return kind == ekFree || kind == ekBrush;
}

bool IsDrawingKind(int kind)
{
    return kind >= ekFree && kind <= ekEArrow;
}

}  // namespace

void Dialog::PointerPress(int slot, int x, int y, bool local, bool usePressTime)
{
    Q_UNUSED(usePressTime);
    if (!IsValidPointerSlot(slot)) {
        qDebug().noquote() << QStringLiteral("exe : press on unknown pointer slot %1 ignored").arg(slot);
        return;
    }
    PointerSlotState& s = m_board.slot[slot];
    if (m_debugMode) {
        ShowStatusCoords(x, y);
        ShowPointerDebug(1, slot, x, y);
    }
    if (IsPenKind(s.event_kind)) {
        m_strokeCounterA = 0;
        m_strokeCounterB = 0;
        s.strokeCounter = 0.0;
        if (m_board.PressedSlotCount() == 0)
            m_strokeClock.start();
    }

    const PointerSlotState& first = m_board.slot[0];
    if (first.event_kind == ekFree && first.m_curr_drawbtn == QLatin1String("ekSmart")
        && slot != kMouseOverflowSlot && PointerInputAllowed() && !m_smartReplay) {
        if (m_collUserLevel == 3)
            OptSetUserLevel(QString(), true);
        m_board.smartPen.Start(QPoint(x, y));
        return;
    }

    if (m_collConnected && (m_collUserLevel == 3 || m_collUserLevel == 2) && local)
        SendRealtimeEvent(s.event_kind, slot, 1, x, y);

    // The keyboard follows the press, so the board's key chords reach it; at
    // the floating position the bar is hidden and the board takes it itself.
    if (QWidget* bar = MainBar())
        (bar->isVisible() ? bar : static_cast<QWidget*>(this))->setFocus(Qt::OtherFocusReason);
    const QPoint p(x, y);
    s.anchor = p;
    s.current = p;
    s.pressed = true;
    m_pressPosition = QPointF(x, y);
    m_lastMovePosition = QPointF(x, y);
    s.maxCorner = p;
    s.minCorner = p;

    // Nothing of the page is copied at a press: a figure preview keeps only
    // the patch it covers, and a finished stroke is taken from the page layer.
    ForgetLiveInk(slot);

    switch (s.event_kind) {
    case ekFree:
    case ekBrush: {
        FreePenPoint sample;
        sample.EventID = quint16(s.nextEventId);
        sample.MediaPos = m_bRecording ? RecordingElapsedMs() : -1.0;
        s.pressMediaPos = sample.MediaPos;
        sample.Press = 0.f;
        sample.S = ToDocument(QPointF(x, y));
        sample.M = sample.S;
        sample.MouseAction = 1;
        s.strokePoints.append(sample);
        s.allPoints.append(sample);
        if (s.event_kind == ekBrush) {
            s.brushWidth = float(s.pen.width() + 2);
            s.brushRadius = float(s.pen.width()) * 0.3f;
            s.brushSquare = s.brushRadius * 0.3f;
            s.brushDrawWidth = s.brushSquare;
            s.brushPoint = QPointF(x, y);
            s.brushEndPoint = QPointF(x, y);
            s.brushSteps = 0;
            s.brushStepLength = 0.0;
        }
        s.lastSample = QPointF(x, y);
        s.interpolator.ResetWeights();
        s.interpolator.Begin(x, y);
        if (s.event_kind == ekFree && m_cursorImage && m_cursorLabel) {
            m_cursorLabel->setGeometry(x - 16, y - 16, 32, 32);
            m_cursorLabel->show();
        }
        return;
    }
    default:
        break;
    }
    if (IsDrawingKind(s.event_kind))
        return;
    if (slot != 0 && slot != kMouseOverflowSlot)
        return;

    if (s.event_kind == ekSelect && SelectionFrameShown) {
        SelectionState& sel = m_selectionState;
        sel.FrameRect = RectFromCorners(sel.FrameCorners);
        const QRect frame = sel.FrameRect;
        LockX = false;
        LockY = false;
        const bool single = m_select_id_str.size() == 1;
        // The remembered object lives in the slot that drew it, which need
        // not be the pressing one (a mouse press on a touch stroke).
        const EventDetail* selected = nullptr;
        int selectedSlot = 0, selectedId = 0;
        if (!m_select_id_str.isEmpty() && ParseObjectKey(m_select_id_str.first(), &selectedSlot, &selectedId))
            selected = m_board.slot[selectedSlot].records.findDetail(sel.Master.EventID);
        if (selected && (sel.Master.Kind == ekBArrow || sel.Master.Kind == ekEArrow)) {
            LockX = selected->M.x() == selected->C.x();
            LockY = selected->M.y() == selected->C.y();
        }
        QPoint hit = p;
        if (selected && selected->Angle > 0 && single) {
            const QPoint c = SelectionRect.center();
            hit = RotatePoint(x, y, -selected->Angle, c.x(), c.y());
        }
        auto inHandle = [&](int polygon) {
            return single && sel.Handles[polygon].containsPoint(p, Qt::OddEvenFill);
        };
        bool grabbed = true;
        if (inHandle(0)) {
            SelectionEditMode = 2;
            SelectionHandle = 1;
        } else if (inHandle(1)) {
            SelectionEditMode = 2;
            SelectionHandle = 2;
        } else if (inHandle(2)) {
            SelectionEditMode = 2;
            SelectionHandle = 3;
        } else if (inHandle(3)) {
            SelectionEditMode = 2;
            SelectionHandle = 4;
        } else if (inHandle(4)) {
            SelectionEditMode = 3;
            SelectionHandle = 5;
            RotateAngle = SelectionAngle;
        } else if (inHandle(5) && frame.height() > 5 && !LockY) {
            SelectionEditMode = 2;
            SelectionHandle = 7;
            SetPointerCursor(SelectionAngle, 0, 1, 2, 3);
        } else if (inHandle(6) && frame.width() > 5 && !LockX) {
            SelectionEditMode = 2;
            SelectionHandle = 8;
            SetPointerCursor(SelectionAngle, 1, 0, 3, 2);
        } else if (inHandle(7) && frame.height() > 5 && !LockY) {
            SelectionEditMode = 2;
            SelectionHandle = 9;
            SetPointerCursor(SelectionAngle, 0, 1, 2, 3);
        } else if (inHandle(8) && frame.width() > 5 && !LockX) {
            SelectionEditMode = 2;
            SelectionHandle = 10;
            SetPointerCursor(SelectionAngle, 1, 0, 3, 2);
        } else {
            grabbed = false;
        }
        // A resize or a turn shows its preview in place of the frame.
        if (grabbed)
            StartPreviewFromFrame();
        if (!grabbed && SelectionRect.contains(hit)) {
            // No copy of the view: the drag takes its frame back off the
            // view from the page layer, which never holds a frame.
            MovePressPoint[slot] = p;
            s.event_kind = ekMove;
            SelectionEditMode = 1;
            setCursor(m_cursorSizeAll);
            SelectionHandle = 6;
        }
    } else if (s.event_kind == ekMoveAll && NoteObjectKeys.isEmpty()) {
        SelectAllOnNote();
        setCursor(m_cursorSizeAll);
    }
}

void Dialog::PointerMove(int slot, int x, int y, bool local, bool usePressTime)
{
    if (!IsValidPointerSlot(slot)) {
        qDebug().noquote() << QStringLiteral("exe : move on unknown pointer slot %1 ignored").arg(slot);
        return;
    }
    PointerSlotState& s = m_board.slot[slot];
    if (m_debugMode) {
        ShowStatusCoords(x, y);
        ShowPointerDebug(2, slot, x, y);
    }
    if (m_board.smartPen.active() && slot != kMouseOverflowSlot) {
        const QPoint last = m_board.smartPen.last();
        DrawGuideLines(last.x(), last.y(), x, y, -1, 0);
        m_board.smartPen.Append(QPoint(x, y));
        return;
    }
    if (!s.pressed)
        return;

    s.prevAnchor = s.anchor;
    s.prevCurrent = s.current;
    m_lastMovePosition = QPointF(x, y);

    bool growCorners = IsPenKind(s.event_kind);
    if (!growCorners && m_select_id_str.size() == 1) {
        int keySlot = 0, keyId = 0;
        if (ParseObjectKey(m_select_id_str.first(), &keySlot, &keyId)) {
            const EventMaster* em = m_board.slot[keySlot].records.findMaster(quint16(keyId));
            growCorners = em && IsPenKind(em->Kind);
        }
    }
    if (growCorners) {
        s.maxCorner = QPoint(std::max(s.maxCorner.x(), x), std::max(s.maxCorner.y(), y));
        s.minCorner = QPoint(std::min(s.minCorner.x(), x), std::min(s.minCorner.y(), y));
    } else {
        s.maxCorner = QPoint(std::max(s.anchor.x(), x), std::max(s.anchor.y(), y));
        s.minCorner = QPoint(std::min(s.anchor.x(), x), std::min(s.anchor.y(), y));
    }
    s.current = QPoint(x, y);

    if (IsDrawingKind(s.event_kind)) {
        DrawStrokeStep(slot, s.event_kind, 1, local, usePressTime);
        return;
    }
    if (slot != 0 && slot != kMouseOverflowSlot)
        return;

    if (m_board.slot[0].event_kind == ekMoveAll) {
        UpdateMoveAll(slot, false);
        s.anchor = s.current;
    } else if (s.event_kind == ekSelect || s.event_kind == ekImage || s.event_kind == ekZoomRect) {
        if (SelectionEditMode == 2) {
            ResizeMove(x, y);
        } else if (SelectionEditMode == 3) {
            if (std::fabs(x - m_pressPosition.x()) > 10.0 || std::fabs(y - m_pressPosition.y()) > 10.0)
                RotateMove(x, y);
        } else {
            if (!m_rubberBand)
                m_rubberBand = new QRubberBand(QRubberBand::Rectangle, this);
            m_rubberBand->show();
            RubberBandRect(slot, 1);
        }
    } else if (s.event_kind == ekAreaEraser) {
        EraseObjectsAlongPath(s.anchor.x(), s.anchor.y(), x, y, true);
        s.anchor = QPoint(x, y);
    } else if (s.event_kind == ekMove) {
        Modify_Move(slot, 1);
        s.anchor = s.current;
    }
}

void Dialog::PointerRelease(int slot, int x, int y, bool local, bool usePressTime)
{
    if (!IsValidPointerSlot(slot)) {
        qDebug().noquote() << QStringLiteral("exe : release on unknown pointer slot %1 ignored").arg(slot);
        return;
    }
    PointerSlotState& s = m_board.slot[slot];
    if (IsPenKind(s.event_kind)) {
        m_strokeCounterA = 0;
        m_strokeCounterB = 0;
        s.strokeCounter = 0.0;
    }
    if (m_debugMode) {
        ShowStatusCoords(x, y);
        ShowPointerDebug(3, slot, x, y);
    }

    if (m_board.smartPen.active() && slot != kMouseOverflowSlot) {
        const QPoint last = m_board.smartPen.last();
        DrawGuideLines(last.x(), last.y(), x, y, -1, 0);
        m_board.smartPen.Finish(QPoint(x, y));
        m_board.smartPen.setActive(false);
        // The guide line lives only on the view: showing the page layer again
        // takes it away; a recognised figure is painted into the layer by the
        // release it is replayed through.
        ShowPageLayer();
        RecognizeSmartPen(slot);
        ShowPageLayer();
        if (m_collUserLevel == 3)
            OptSetUserLevel(QString(), true);
        return;
    }

    if (!s.pressed)
        return;
    const int pressedCount = m_board.PressedSlotCount();
    if (pressedCount > 1)
        m_multiPointer = true;

    const int tool = s.event_kind;
    if (tool == ekFree || tool == ekBrush || tool == ekLine || (tool >= ekRect && tool <= ekEArrow)) {
        PointerMove(slot, x, y, local, usePressTime);
        if (m_cursorImage && m_cursorLabel)
            m_cursorLabel->hide();
    }
    if (m_collConnected && (m_collUserLevel == 3 || m_collUserLevel == 2) && local)
        SendRealtimeEvent(tool, slot, 3, x, y);

    if (tool != ekBArrow && tool != ekEArrow)
        s.current = QPoint(x, y);
    s.pressed = false;
    // Peers' edits that came while pointers were down are drawn now.
    if (m_collRedrawDeferred && m_board.PressedSlotCount() == 0) {
        m_collRedrawDeferred = false;
        Coll_ScheduleRedraw();
    }

    if (!IsDrawingKind(tool)) {
        if (slot != 0 && slot != kMouseOverflowSlot)
            return;
        if (m_board.slot[0].event_kind == ekMoveAll) {
            UpdateMoveAll(slot, true);
        } else if (tool == ekMove) {
            s.event_kind = ekSelect;
            SelectionEditMode = 0;
            Modify_Move(slot, 2);
            setCursor(m_cursorPointingHand);
        } else if (tool == ekSelect) {
            if (SelectionEditMode == 0) {
                if (QLineF(s.anchor, s.current).length() >= 2.0) {
                    s.prevAnchor = s.anchor;
                    s.prevCurrent = s.current;
                    if (m_rubberBand)
                        m_rubberBand->hide();
                    SelectObjectsInArea(s.anchor.x(), s.anchor.y(), s.current.x(), s.current.y(), false);
                } else {
                    SelectObjectAtPoint(s.anchor.x(), s.anchor.y(), s.current.x(), s.current.y(), false);
                }
            } else if (SelectionEditMode == 2) {
                ResizeRelease(slot, x, y);
                setCursor(m_cursorPointingHand);
            } else if (SelectionEditMode == 3) {
                RotateRelease(slot, x, y);
            }
            SelectionEditMode = 0;
        } else if (tool == ekSelEraser) {
            SelectObjectAtPoint(s.anchor.x(), s.anchor.y(), s.current.x(), s.current.y(), true);
        } else if (tool == ekImage) {
            if (std::abs(s.anchor.x() - s.current.x()) > 3 && std::abs(s.anchor.y() - s.current.y()) > 3)
                InsertCaptureImage(slot);
            if (m_rubberBand)
                m_rubberBand->hide();
        } else if (tool == ekZoomRect) {
            if (m_rubberBand)
                m_rubberBand->hide();
            ZoomToRect(s.anchor.x(), s.anchor.y(), s.current.x(), s.current.y());
        }
    } else {
        if (tool == ekFree) {
            if (std::fabs(s.lastSample.x() - s.current.x()) < 1e-12
                && std::fabs(s.lastSample.y() - s.current.y()) < 1e-12)
                s.current.ry() += 1;  // a tap leaves a dot
            FreePenPoint sample;
            sample.EventID = quint16(s.nextEventId);
            sample.MediaPos = !m_bRecording ? -1.0 : (usePressTime ? s.pressMediaPos : RecordingElapsedMs());
            sample.S = ToDocument(s.current);
            sample.M = sample.S;
            sample.MouseAction = 3;
            s.strokePoints.append(sample);
            s.allPoints.append(sample);
            // A highlighter stroke painted piece by piece darkens where the
            // pieces overlap; the finished object below replaces it with the
            // stroke drawn as one path.
            PaintLastSegment(slot);
        } else if (tool == ekBrush) {
            FreePenPoint sample;
            sample.EventID = quint16(s.nextEventId);
            sample.MediaPos = m_bRecording ? RecordingElapsedMs() : -1.0;
            sample.Press = s.brushRadius;
            sample.S = ToDocument(s.current);
            sample.M = sample.S;
            sample.MouseAction = 3;
            s.strokePoints.append(sample);
            s.allPoints.append(sample);
            UpdateLastSegmentRect(slot);
        }
        const int objectsBefore = s.records.masters().size();
        CreateObjectEvent(slot, kNoMediaIndex);
        ShowFinishedObject(slot, objectsBefore, pressedCount);
    }

    // A finished stroke or figure is on the page layer and the view already,
    // zoomed and scrolled pages included; edits rebuild the page.
    if (m_zoom > 1.0 || VerticalScrollBarVisible()) {
        // The slot's tool as the release left it: a finished move is the
        // select tool again and gets its frame back. One redraw serves both.
        const bool reframe = s.event_kind == ekSelect;
        if (reframe || (pressedCount <= 1 && !IsDrawingKind(tool)))
            RedrawPageObjects(true);
        if (reframe)
            CalcSelectionRect();
    } else if (pressedCount <= 1
               && (tool == ekFree || tool == ekBrush || tool == ekLine || (tool >= ekRect && tool <= ekSelect)
                   || tool == ekMove || tool == ekResize || tool == ekRotate)) {
        if (m_multiPointer && (m_collUserLevel != 0 || tool != ekFree || s.highlight)) {
            if (!IsDrawingKind(tool))
                RedrawPageObjects(true);
            ResetSelection();
            m_multiPointer = false;
        }
        while (!m_pendingNewcomers.isEmpty())
            Coll_PushBoardTo(m_pendingNewcomers.takeFirst());
    }
}

void Dialog::PointerDispatch(int slot, int action, int x, int y)
{
    if (!PointerInputAllowed())
        return;
    switch (action) {
    case 50:
        PointerPress(slot, x, y, true, false);
        break;
    case 10:
        PointerMove(slot, x, y, true, false);
        break;
    case 60:
        PointerRelease(slot, x, y, true, false);
        break;
    default:
        break;
    }
}

// The pen driver's pointers N = 1..9 draw in slot N. The window that takes
// the driver's messages logs presses and releases; moves come by the
// thousand and are not logged.
#define DRAVIK_PEN_DRIVER_POINTER(n)                                                               \
    void Dialog::MultiPointer##n(int action, int x, int y)                                         \
    {                                                                                              \
        PointerDispatch(n, action, x, y);                                                          \
    }

DRAVIK_PEN_DRIVER_POINTER(1)
DRAVIK_PEN_DRIVER_POINTER(2)
DRAVIK_PEN_DRIVER_POINTER(3)
DRAVIK_PEN_DRIVER_POINTER(4)
DRAVIK_PEN_DRIVER_POINTER(5)
DRAVIK_PEN_DRIVER_POINTER(6)
DRAVIK_PEN_DRIVER_POINTER(7)
DRAVIK_PEN_DRIVER_POINTER(8)
DRAVIK_PEN_DRIVER_POINTER(9)

#undef DRAVIK_PEN_DRIVER_POINTER

void Dialog::MultiPointerAll(int id, int action, int x, int y)
{
    int slot = -1;
    if (id >= 1 && id <= 9)
        slot = id;
    else if (id >= 101 && id <= 109)
        slot = id - 100;
    if (slot < 0)
        return;
    PointerDispatch(slot, action, x, y);
}

void Dialog::SetPointerCursor(double angle, int a, int b, int c, int d)
{
    int pick = -1;
    if ((angle >= 0 && angle <= 20) || (angle > 160 && angle <= 200) || (angle > 340 && angle <= 360))
        pick = a;
    else if ((angle > 70 && angle <= 110) || (angle > 250 && angle <= 290))
        pick = b;
    else if ((angle > 20 && angle <= 70) || (angle > 200 && angle <= 250))
        pick = c;
    else if ((angle > 110 && angle <= 160) || (angle > 290 && angle <= 340))
        pick = d;
    const QCursor* cursors[4] = {&m_cursorSizeVer, &m_cursorSizeHor, &m_cursorSizeBDiag, &m_cursorSizeFDiag};
    if (pick >= 0 && pick < 4)
        setCursor(*cursors[pick]);
}

void Dialog::RubberBandRect(int slot, int phase)
{
    if (!IsValidPointerSlot(slot))
        return;
    PointerSlotState& s = m_board.slot[slot];
    if (phase == 1) {
        if (m_rubberBand)
            m_rubberBand->setGeometry(QRect(s.anchor, s.current).normalized());
    } else if (phase == 2) {
        s.prevAnchor = s.anchor;
        s.prevCurrent = s.current;
    }
}

void Dialog::ShowCaptureOverlays(bool show)
{
    if (!show) {
        m_floatingToolsVisible.clear();
        if (QWidget* bar = MainBar())
            bar->hide();
        for (QWidget* tool : qAsConst(m_floatingTools)) {
            m_floatingToolsVisible.append(tool && tool->isVisible());
            if (tool)
                tool->hide();
        }
        return;
    }
    if (m_toolbarPosition == 4)
        return;
    if (QWidget* bar = MainBar())
        bar->show();
    for (QWidget* tool : qAsConst(m_floatingTools)) {
        if (tool)
            tool->show();
    }
}

void Dialog::HideCaptureOverlays()
{
    // The floating tools come back in every toolbar position: with a floating
    // toolbar the launcher is one of them, and left hidden it would be gone.
    if (m_toolbarPosition != 4) {
        if (QWidget* bar = MainBar())
            bar->show();
    }
    for (int i = 0; i < m_floatingTools.size(); ++i) {
        QWidget* tool = m_floatingTools[i];
        if (!tool)
            continue;
        tool->setVisible(i < m_floatingToolsVisible.size() && m_floatingToolsVisible[i]);
    }
}
