#include "editing/selection.h"

#include <QPainterPath>
#include <QPolygon>
#include <QRectF>
#include <algorithm>
#include <cmath>

#include "board/figure_paths.h"
#include "board/geometry.h"

QPointF ToWidget(QPointF document, const BoardView& view)
{
    return QPointF(document.x() * view.zoom - view.hscroll, document.y() * view.zoom - view.vscroll);
}

namespace {

bool IsStrokeKind(int kind)
{
    return kind == ekFree || kind == ekBrush;
}

bool IsLineKind(int kind)
{
    return kind == ekLine || kind == ekBArrow || kind == ekEArrow;
}

// Kinds whose inside counts as the object; the outlined circle, rectangle
// and ellipse are hit only on the band along their outline.
bool IsSolidKind(int kind)
{
    return kind == ekImage || kind == ekLine || kind == ekFillCircle || kind == ekFillRect || kind == ekFillEllipse
           || kind == ekBArrow || kind == ekEArrow;
}

template <typename Ref, typename Board>
Ref FindIn(Board& board, const QString& key)
{
    Ref ref;
    int slot = 0;
    int id = 0;
    if (!ParseObjectKey(key, &slot, &id) || id >= board.slot[slot].nextEventId)
        return ref;
    auto& records = board.slot[slot].records;
    auto* master = records.findMaster(quint16(id));
    if (!master)
        return ref;
    auto* detail = records.findDetail(master->EventID);
    if (!detail)
        return ref;
    ref.slot = slot;
    ref.master = master;
    ref.detail = detail;
    return ref;
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double length2 = d.x() * d.x() + d.y() * d.y();
    double t = 0.0;
    if (length2 > 0.0)
        t = std::clamp(((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / length2, 0.0, 1.0);
    const QPointF foot = a + t * d;
    return std::hypot(p.x() - foot.x(), p.y() - foot.y());
}

// A box around everything a figure's outline with `grow` can reach: arrow
// heads stand at most 25 pixels off their line, and a line's end snaps
// within the box of its two points.
QRectF FigureReach(int kind, QPointF m, QPointF c, double grow)
{
    QRectF box;
    if (kind == ekCircle || kind == ekFillCircle) {
        const double r = std::hypot(c.x() - m.x(), c.y() - m.y());
        box = QRectF(m.x() - r, m.y() - r, 2 * r, 2 * r);
    } else {
        box = QRectF(m, c).normalized();
    }
    return box.adjusted(-grow, -grow, grow, grow);
}

QPainterPath AreaRectPath(QPoint a, QPoint b)
{
    QPainterPath area;
    RectPath(area, a, b, 0);
    return area;
}

}  // namespace

QPoint FigureCentre(QPointF m, QPointF c)
{
    const QPointF centre = QRectF(m, c).center();
    return QPoint(int(std::lround(float(centre.x()))), int(std::lround(float(centre.y()))));
}

ObjectRef FindObjectByKey(BoardModel& board, const QString& key)
{
    return FindIn<ObjectRef>(board, key);
}

ConstObjectRef FindObjectByKey(const BoardModel& board, const QString& key)
{
    return FindIn<ConstObjectRef>(board, key);
}

QStringList LiveObjectKeys(const BoardModel& board, const QStringList& keys, const QString& noteName)
{
    QStringList live;
    live.reserve(keys.size());
    for (const QString& key : keys) {
        const ConstObjectRef ref = FindObjectByKey(board, key);
        if (ref.found() && !ref.detail->Deleted && ref.master->NoteName == noteName)
            live.append(key);
    }
    return live;
}

int HitTolerance(const EventDetail& ed)
{
    return ed.PenWidth + (ed.Transparent == 255 ? 5 : 2);
}

QVector<QPoint> StrokeWidgetPoints(const QVector<FreePenPoint>& samples, const EventDetail& ed, const BoardView& view)
{
    QVector<QPoint> points;
    points.reserve(samples.size());
    const bool turned = ed.Angle > 0;
    const QPoint centre = ed.BoundRF.center();
    for (const FreePenPoint& sample : samples) {
        QPointF p = sample.M;
        if (turned)
            p = RotatePoint(int(sample.M.x()), int(sample.M.y()), ed.Angle, centre.x(), centre.y());
        const QPointF w = ToWidget(p, view);
        points.append(QPoint(int(w.x()), int(w.y())));
    }
    return points;
}

bool StrokeHitAtPoint(const QVector<FreePenPoint>& samples, const EventDetail& ed, const BoardView& view, QPoint tap,
                      int tolerance)
{
    const QRect box(QPoint(tap.x() - tolerance, tap.y() - tolerance), QPoint(tap.x() + tolerance, tap.y() + tolerance));
    const bool turned = ed.Angle > 0;
    const QPoint centre = ed.BoundRF.center();
    for (const FreePenPoint& sample : samples) {
        QPointF p = sample.M;
        if (turned)
            p = RotatePoint(int(sample.M.x()), int(sample.M.y()), ed.Angle, centre.x(), centre.y());
        const QPointF w = ToWidget(p, view);
        if (box.contains(QPoint(int(w.x()), int(w.y()))))
            return true;
    }
    return false;
}

bool FigureHitAtPoint(int kind, const EventDetail& ed, const BoardView& view, QPoint tap, int tolerance)
{
    if (IsStrokeKind(kind))
        return false;
    const QPointF m = ToWidget(ed.M, view);
    const QPointF c = ToWidget(ed.C, view);
    QPoint q = tap;
    if (ed.Angle > 0) {
        const QPoint centre = FigureCentre(m, c);
        q = RotatePoint(tap.x(), tap.y(), -ed.Angle, centre.x(), centre.y());
    }
    if (!FigureReach(kind, m, c, tolerance + 26).contains(q))
        return false;

    QPainterPath outer;
    if (IsLineKind(kind))
        StraightLinePath(outer, m, c, tolerance);
    else
        FigurePath(kind, m, c, outer, tolerance);
    if (!outer.contains(q)) {
        // The band of a line is offset along the diagonal, so it is thin for
        // lines drawn near 45 degrees; the distance to the drawn line keeps
        // those as easy to hit as any other.
        return IsLineKind(kind) && DistanceToSegment(q, m, SnapLineEnd(m, c)) <= tolerance;
    }
    if (IsSolidKind(kind))
        return true;
    QPainterPath inner;
    FigurePath(kind, m, c, inner, -tolerance);
    return !inner.contains(q);
}

bool StrokeHitInArea(const QVector<QPoint>& points, QPoint a, QPoint b)
{
    if (points.isEmpty())
        return false;
    const QPainterPath area = AreaRectPath(a, b);
    const QRectF areaBox = area.boundingRect();
    int minX = points.first().x(), maxX = minX, minY = points.first().y(), maxY = minY;
    for (const QPoint& p : points) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    // The bounds decide most strokes without building their outline: apart
    // is a miss and inside is a hit, as the outline test would find.
    if (maxX < areaBox.left() || minX > areaBox.right() || maxY < areaBox.top() || minY > areaBox.bottom())
        return false;
    if (minX >= areaBox.left() && maxX <= areaBox.right() && minY >= areaBox.top() && maxY <= areaBox.bottom())
        return true;
    QPainterPath outline;
    outline.moveTo(points.first());
    for (int i = 1; i < points.size(); ++i)
        outline.lineTo(points[i]);
    return area.intersects(outline);
}

bool FigureHitInArea(int kind, const EventDetail& ed, const BoardView& view, QPoint a, QPoint b)
{
    if (IsStrokeKind(kind))
        return false;
    QPainterPath outline;
    FigurePath(kind, ToWidget(ed.M, view), ToWidget(ed.C, view), outline, 0);
    if (outline.isEmpty())
        return false;
    if (ed.Angle <= 0)
        return AreaRectPath(a, b).intersects(outline);
    // A turned figure is tested in its own frame: the area turns back.
    const int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), btm = std::max(a.y(), b.y());
    const QPointF centre = ToWidget(QRectF(ed.BoundRF).center(), view);
    const int cx = int(centre.x()), cy = int(centre.y());
    QPolygon turned;
    for (const QPoint& p : {QPoint(l, t), QPoint(r, t), QPoint(r, btm), QPoint(l, btm)})
        turned << RotatePoint(p.x(), p.y(), -ed.Angle, cx, cy);
    QPainterPath area;
    area.addPolygon(turned);
    area.closeSubpath();
    return area.intersects(outline);
}

QVector<PickedObject> PickObjectsAtPoint(const BoardModel& board, const QString& noteName, const BoardView& view,
                                         QPoint tap)
{
    QVector<PickedObject> picked;
    for (int s = 0; s < kPointerSlotCount; ++s) {
        const SlotRecords& records = board.slot[s].records;
        const QVector<EventMaster>& masters = records.masters();
        for (int i = masters.size() - 1; i >= 0; --i) {
            const EventMaster& em = masters[i];
            if (em.NoteName != noteName)
                continue;
            const EventDetail* ed = records.findDetail(em.EventID);
            if (!ed || ed->Deleted)
                continue;
            const int tolerance = HitTolerance(*ed);
            if (IsStrokeKind(em.Kind)) {
                const auto samples = board.FreePenMap.constFind(MakeObjectKey(s, em.EventID));
                if (samples == board.FreePenMap.constEnd())
                    continue;
                if (StrokeHitAtPoint(*samples, *ed, view, tap, tolerance)) {
                    picked.append({s, em.EventID});
                    return picked;
                }
            } else if (FigureHitAtPoint(em.Kind, *ed, view, tap, tolerance)) {
                picked.append({s, em.EventID});
                break;
            }
        }
    }
    return picked;
}

QVector<PickedObject> PickObjectsInArea(const BoardModel& board, const QString& noteName, const BoardView& view,
                                        QPoint a, QPoint b)
{
    QVector<PickedObject> picked;
    for (int s = 0; s < kPointerSlotCount; ++s) {
        const SlotRecords& records = board.slot[s].records;
        for (const EventMaster& em : records.masters()) {
            if (em.NoteName != noteName)
                continue;
            const EventDetail* ed = records.findDetail(em.EventID);
            if (!ed || ed->Deleted)
                continue;
            bool hit = false;
            if (IsStrokeKind(em.Kind)) {
                const auto samples = board.FreePenMap.constFind(MakeObjectKey(s, em.EventID));
                hit = samples != board.FreePenMap.constEnd()
                      && StrokeHitInArea(StrokeWidgetPoints(*samples, *ed, view), a, b);
            } else {
                hit = FigureHitInArea(em.Kind, *ed, view, a, b);
            }
            if (hit)
                picked.append({s, em.EventID});
        }
    }
    return picked;
}

void RectCorners(const QRect& r, QPoint corners[4])
{
    corners[0] = QPoint(r.x(), r.y());
    corners[1] = QPoint(r.x() + r.width(), r.y());
    corners[2] = QPoint(r.x() + r.width(), r.y() + r.height());
    corners[3] = QPoint(r.x(), r.y() + r.height());
}

QRect RectFromCorners(const QPoint corners[4])
{
    return QRect(corners[0].x(), corners[0].y(), std::abs(corners[2].x() - corners[0].x()),
                 std::abs(corners[2].y() - corners[0].y()));
}

QRect SelectionFrameRect(const BoardModel& board, const QStringList& keys, const BoardView& view)
{
    QPainterPath outline;
    double minX = 10000.0, minY = 10000.0, maxX = -1.0, maxY = -1.0;
    int margin = 3;
    int lastKind = -1;
    for (const QString& key : keys) {
        const ConstObjectRef ref = FindObjectByKey(board, key);
        if (!ref.found())
            continue;
        const EventDetail& ed = *ref.detail;
        margin = std::max(margin, int(ed.PenWidth));
        lastKind = ref.master->Kind;
        if (IsStrokeKind(lastKind)) {
            const QVector<FreePenPoint> samples = board.FreePenMap.value(key);
            for (int i = 0; i < samples.size(); ++i) {
                const QPointF p = ToWidget(samples[i].M, view);
                if (i == 0)
                    outline.moveTo(p);
                else
                    outline.lineTo(p);
            }
        } else {
            FigurePath(lastKind, ed.M, ed.C, outline, 0);
        }
        const QRect& b = ed.BoundRF;
        const QPoint centre = b.center();
        for (const QPoint& corner : {b.topLeft(), b.topRight(), b.bottomLeft(), b.bottomRight()}) {
            const QPoint p = RotatePoint(corner.x(), corner.y(), ed.Angle, centre.x(), centre.y());
            minX = std::min(minX, double(p.x()));
            maxX = std::max(maxX, double(p.x()));
            minY = std::min(minY, double(p.y()));
            maxY = std::max(maxY, double(p.y()));
        }
    }

    const QRectF box = outline.boundingRect();
    double l, t, r, b;
    if (IsStrokeKind(lastKind)) {
        l = box.x();
        t = box.y();
        r = box.x() + box.width();
        b = box.y() + box.height();
    } else {
        l = box.x() * view.zoom - view.hscroll;
        t = box.y() * view.zoom - view.vscroll;
        r = l + box.width() * view.zoom;
        b = t + box.height() * view.zoom;
    }
    // Several objects get an upright box around their turned rectangles.
    if (keys.size() > 1 && lastKind >= 0) {
        l = minX * view.zoom - view.hscroll;
        r = maxX * view.zoom - view.hscroll;
        t = minY * view.zoom - view.vscroll;
        b = maxY * view.zoom - view.vscroll;
    }
    return QRect(QPoint(int(l) - margin, int(t) - margin), QPoint(int(r) + margin, int(b) + margin));
}

QRect FrameRestoreArea(const QPoint corners[4])
{
    int minX = corners[0].x(), maxX = minX, minY = corners[0].y(), maxY = minY;
    for (int i = 1; i < 4; ++i) {
        minX = std::min(minX, corners[i].x());
        maxX = std::max(maxX, corners[i].x());
        minY = std::min(minY, corners[i].y());
        maxY = std::max(maxY, corners[i].y());
    }
    return QRect(QPoint(minX, minY), QPoint(maxX, maxY)).adjusted(-32, -32, 32, 32);
}

QRect FrameRestoreArea(const QRect& rect, double angle)
{
    const QPoint c = rect.center();
    QPoint corners[4];
    RectCorners(rect, corners);
    for (QPoint& p : corners)
        p = RotatePoint(p.x(), p.y(), angle, c.x(), c.y());
    return FrameRestoreArea(corners);
}
