#include "editing/object_resize.h"

#include <algorithm>
#include <cmath>

#include "board/event_kind.h"
#include "board/geometry.h"
#include "editing/undo_apply.h"

namespace {

int WidgetX(double v, const BoardView& view)
{
    return int(v * view.zoom - view.hscroll);
}

int WidgetY(double v, const BoardView& view)
{
    return int(v * view.zoom - view.vscroll);
}

int DocumentX(int v, const BoardView& view)
{
    return int((v + view.hscroll) / view.zoom);
}

int DocumentY(int v, const BoardView& view)
{
    return int((v + view.vscroll) / view.zoom);
}

QPointF Centre(const QRect& r)
{
    return QPointF(r.x() + r.width() / 2.0, r.y() + r.height() / 2.0);
}

// The outward direction of a handle on each axis: the corner it grabs (a
// side handle counts as the corner at the start of its side going
// clockwise), -1 toward the left or top, +1 toward the right or bottom.
void HandleDirections(int handle, int* sx, int* sy)
{
    const int corner = handle <= 4 ? handle : handle - 6;
    *sx = (corner == 2 || corner == 3) ? 1 : -1;
    *sy = (corner == 3 || corner == 4) ? 1 : -1;
}

// The pointer turned back by the object's angle about the frame centre, to
// the nearest pixel: truncating would move a pointer on a whole pixel by one
// through the rounding of the sine and cosine.
QPoint TurnedBack(QPoint p, double angle, QPoint centre)
{
    if (angle == 0.0)
        return p;
    const double theta = DegToRad(-angle);
    const double c = std::cos(theta), s = std::sin(theta);
    const double dx = p.x() - centre.x(), dy = p.y() - centre.y();
    return QPoint(int(std::lround(centre.x() + c * dx - s * dy)), int(std::lround(centre.y() + s * dx + c * dy)));
}

bool IsStrokeKind(int kind)
{
    return kind == ekFree || kind == ekBrush;
}

// Figures and images scale through their two points.
bool ScalesByPoints(int kind)
{
    return kind == ekImage || IsFigureKind(kind);
}

// The object when it is live on the note; not found otherwise.
ObjectRef LiveObject(BoardModel& board, int slot, quint16 eventId, const QString& noteName)
{
    ObjectRef ref = FindObjectByKey(board, MakeObjectKey(slot, eventId));
    if (!ref.found() || ref.detail->Deleted || ref.master->NoteName != noteName)
        return ObjectRef();
    return ref;
}

// One object alone makes its step: a modify event of kind 0 without a group.
UndoPass SingleObjectPass(bool recording, double mediaPos)
{
    UndoPass pass;
    pass.recording = recording;
    pass.mediaPos = mediaPos;
    pass.stepSize = 1;
    pass.place = 1;
    return pass;
}

ObjectEdit EditOf(const ObjectRef& ref, const PreData& before)
{
    ObjectEdit edit;
    edit.changed = true;
    edit.slot = ref.slot;
    edit.master = *ref.master;
    edit.detail = *ref.detail;
    edit.before = before;
    return edit;
}

}  // namespace

bool IsResizeHandle(int handle)
{
    return (handle >= 1 && handle <= 4) || (handle >= 7 && handle <= 10);
}

double SnapRightAngle(double a)
{
    if (a < 0)
        a += 360.0;
    if (a > 85.0 && a < 95.0)
        return 90.0;
    if (a > 175.0 && a < 185.0)
        return 180.0;
    if (a > 265.0 && a < 275.0)
        return 270.0;
    if (a > 355.0 || a < 5.0)
        return 0.0;
    return a;
}

QPoint ToWidgetPixels(QPointF document, const BoardView& view)
{
    return QPoint(WidgetX(document.x(), view), WidgetY(document.y(), view));
}

QPoint ToDocumentPixels(QPoint widget, const BoardView& view)
{
    return QPoint(DocumentX(widget.x(), view), DocumentY(widget.y(), view));
}

QPoint WidgetCentre(const QRect& document, const BoardView& view)
{
    return ToWidgetPixels(Centre(document), view);
}

ResizeResult ResizeFrameAt(const ResizeGrip& grip, QPoint pointer)
{
    ResizeResult result;
    if (!IsResizeHandle(grip.handle))
        return result;
    const BoardView& view = grip.view;
    const QRect& f = grip.frame;
    const int left = WidgetX(f.x(), view), top = WidgetY(f.y(), view);
    const int right = WidgetX(f.x() + f.width(), view), bottom = WidgetY(f.y() + f.height(), view);

    const QPoint centre = WidgetCentre(f, view);
    QPoint p = TurnedBack(pointer, grip.angle, centre);

    int sx = 0, sy = 0;
    HandleDirections(grip.handle, &sx, &sy);
    const QPoint fixed(sx < 0 ? right : left, sy < 0 ? bottom : top);
    const QPoint grabbed(sx < 0 ? left : right, sy < 0 ? top : bottom);
    const bool corner = grip.handle <= 4;
    const bool movesX = corner || grip.handle == 8 || grip.handle == 10;
    const bool movesY = corner || grip.handle == 7 || grip.handle == 9;
    if (grip.fromPress) {
        const QPoint grabOffset = TurnedBack(grip.press, grip.angle, centre) - grabbed;
        p -= QPoint(movesX ? grabOffset.x() : 0, movesY ? grabOffset.y() : 0);
    }

    QPoint n = p;
    const int w = int(f.width() * view.zoom);
    const int h = int(f.height() * view.zoom);
    if (corner && f.width() != 0 && f.height() != 0 && w != 0 && h != 0 && !grip.lockX && !grip.lockY) {
        // Growth along each axis, positive outward; the candidate that
        // grows the frame more (or shrinks it less) sets the other axis.
        const double ratio = double(h) / double(w);
        double gx = sx * double(p.x() - grabbed.x());
        double gy = sy * double(p.y() - grabbed.y());
        if (ratio * gx >= gy)
            gy = ratio * gx;
        else
            gx = gy / ratio;
        n = QPoint(int(grabbed.x() + sx * gx), int(grabbed.y() + sy * gy));
    }

    // The frame never turns over. An axis without extent (a straight line)
    // has no side to cross: it keeps its coordinate below whatever the
    // pointer does there.
    if (f.width() > 0 && sx * (n.x() - fixed.x()) <= 0)
        return result;
    if (f.height() > 0 && sy * (n.y() - fixed.y()) <= 0)
        return result;

    if (corner) {
        if (f.width() <= 0)
            n.setX(grabbed.x());
        else if (f.height() <= 0)
            n.setY(grabbed.y());
        if (grip.lockX)
            n.setX(grabbed.x());
        if (grip.lockY)
            n.setY(grabbed.y());
    }

    // The new frame in widget pixels, and in document pixels: an edge that
    // stays keeps its document value, so a frame does not creep by the
    // rounding of a round trip.
    int edges[4] = {left, top, right, bottom};
    int docEdges[4] = {f.x(), f.y(), f.x() + f.width(), f.y() + f.height()};
    const int xEdge = sx < 0 ? 0 : 2;
    const int yEdge = sy < 0 ? 1 : 3;
    if (movesX && n.x() != grabbed.x()) {
        edges[xEdge] = n.x();
        docEdges[xEdge] = DocumentX(n.x(), view);
    }
    if (movesY && n.y() != grabbed.y()) {
        edges[yEdge] = n.y();
        docEdges[yEdge] = DocumentY(n.y(), view);
    }
    result.applies = true;
    result.widgetFrame = QRect(edges[0], edges[1], edges[2] - edges[0], edges[3] - edges[1]);
    result.documentFrame = QRect(docEdges[0], docEdges[1], docEdges[2] - docEdges[0], docEdges[3] - docEdges[1]);
    return result;
}

void WriteMovedCorners(int handle, const QRect& frame, QPoint corners[4])
{
    QPoint edges[4];
    RectCorners(frame, edges);
    switch (handle) {
    case 1:
    case 2:
    case 3:
    case 4:
        corners[handle - 1] = edges[handle - 1];
        break;
    case 7:
        corners[0].setY(edges[0].y());
        corners[1].setY(edges[1].y());
        break;
    case 8:
        corners[1].setX(edges[1].x());
        corners[2].setX(edges[2].x());
        break;
    case 9:
        corners[2].setY(edges[2].y());
        corners[3].setY(edges[3].y());
        break;
    case 10:
        corners[3].setX(edges[3].x());
        corners[0].setX(edges[0].x());
        break;
    default:
        break;
    }
}

void TurnedCorners(const QRect& frame, double angle, QPoint centre, QPoint corners[4])
{
    RectCorners(frame, corners);
    for (int i = 0; i < 4; ++i)
        corners[i] = RotatePoint(corners[i].x(), corners[i].y(), angle, centre.x(), centre.y());
}

QPoint PivotShift(const QRect& before, const QRect& after, double angle)
{
    if (angle == 0.0)
        return QPoint(0, 0);
    // A point shown at R(p - centre) + centre: keeping the shared corner in
    // place takes (R - I)(after's centre - before's centre).
    const QPointF d = Centre(after) - Centre(before);
    const double theta = DegToRad(angle);
    const double c = std::cos(theta), s = std::sin(theta);
    const double x = c * d.x() - s * d.y() - d.x();
    const double y = s * d.x() + c * d.y() - d.y();
    return QPoint(int(std::lround(x)), int(std::lround(y)));
}

QRect ScaleAboutMiddle(const QRect& r, double scale)
{
    if (scale == 1.0)
        return r;
    const int l = r.x() + int((1.0 - scale) * r.width() * 0.5);
    const int t = r.y() + int((1.0 - scale) * r.height() * 0.5);
    const int right = r.x() + r.width() + int((scale - 1.0) * r.width() * 0.5);
    const int b = r.y() + r.height() + int((scale - 1.0) * r.height() * 0.5);
    return QRect(l, t, right - l, b - t);
}

double HandleAngle(QPoint centre, QPoint pointer)
{
    return SnapRightAngle(PointAngle(centre.x(), centre.y(), pointer.x(), pointer.y()));
}

QPointF RescalePoint(QPointF p, const QRect& from, const QRect& to)
{
    double x = p.x(), y = p.y();
    if (from.width() != 0)
        x = to.x() + (x - from.x()) * to.width() / double(from.width());
    if (from.height() != 0)
        y = to.y() + (y - from.y()) * to.height() / double(from.height());
    return QPointF(x, y);
}

ObjectEdit ResizeObject(BoardModel& board, int slot, quint16 eventId, const QString& noteName, QRect bound,
                        bool recording, double mediaPos)
{
    const ObjectRef ref = LiveObject(board, slot, eventId, noteName);
    if (!ref.found())
        return ObjectEdit();
    const int kind = ref.master->Kind;
    if (IsStrokeKind(kind)) {
        if (!board.FreePenMap.contains(MakeObjectKey(slot, eventId)))
            return ObjectEdit();
    } else if (!ScalesByPoints(kind)) {
        return ObjectEdit();
    }
    bound.setWidth(std::max(0, bound.width()));
    bound.setHeight(std::max(0, bound.height()));

    EventDetail& ed = *ref.detail;
    const PreData before{ed.M, ed.C, ed.BoundRF, ed.Angle};
    ed.BoundRF = bound;
    if (IsStrokeKind(kind)) {
        RescaleStrokeSamples(board, slot, eventId, before.BoundRF, bound);
    } else {
        ed.M = RescalePoint(ed.M, before.BoundRF, bound);
        ed.C = RescalePoint(ed.C, before.BoundRF, bound);
    }
    UndoPass pass = SingleObjectPass(recording, mediaPos);
    LogModify(board, ref, before.BoundRF, before.Angle, true, pass);
    return EditOf(ref, before);
}

ObjectEdit RotateObject(BoardModel& board, int slot, quint16 eventId, const QString& noteName, float angle,
                        bool recording, double mediaPos)
{
    const ObjectRef ref = LiveObject(board, slot, eventId, noteName);
    if (!ref.found() || ref.detail->Angle == angle)
        return ObjectEdit();
    if (!IsStrokeKind(ref.master->Kind) && !ScalesByPoints(ref.master->Kind))
        return ObjectEdit();
    EventDetail& ed = *ref.detail;
    const PreData before{ed.M, ed.C, ed.BoundRF, ed.Angle};
    ed.Angle = angle;
    UndoPass pass = SingleObjectPass(recording, mediaPos);
    LogModify(board, ref, before.BoundRF, before.Angle, true, pass);
    return EditOf(ref, before);
}
