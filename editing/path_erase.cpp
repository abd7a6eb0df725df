#include "editing/path_erase.h"

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "board/figure_paths.h"
#include "board/geometry.h"

namespace {

bool IsStrokeKind(int kind)
{
    return kind == ekFree || kind == ekBrush;
}

// Kinds whose inside is ink: an eraser inside them touches them.
bool IsFilledKind(int kind)
{
    return kind == ekImage || kind == ekFillCircle || kind == ekFillRect || kind == ekFillEllipse;
}

struct Box {
    double left, top, right, bottom;
    bool meets(const Box& o) const
    {
        return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
    }
};

template <typename P>
Box BoxOf(const P* points, int count)
{
    Box b{double(points[0].x()), double(points[0].y()), double(points[0].x()), double(points[0].y())};
    for (int i = 1; i < count; ++i) {
        b.left = std::min(b.left, double(points[i].x()));
        b.right = std::max(b.right, double(points[i].x()));
        b.top = std::min(b.top, double(points[i].y()));
        b.bottom = std::max(b.bottom, double(points[i].y()));
    }
    return b;
}

// Whether the projections of both polygons onto the axis overlap.
bool OverlapOn(QPointF axis, const QPointF* a, int aCount, const QPointF* b, int bCount)
{
    const auto span = [&](const QPointF* p, int n, double* lo, double* hi) {
        *lo = *hi = axis.x() * p[0].x() + axis.y() * p[0].y();
        for (int i = 1; i < n; ++i) {
            const double d = axis.x() * p[i].x() + axis.y() * p[i].y();
            *lo = std::min(*lo, d);
            *hi = std::max(*hi, d);
        }
    };
    double aLo, aHi, bLo, bHi;
    span(a, aCount, &aLo, &aHi);
    span(b, bCount, &bLo, &bHi);
    return aLo <= bHi && bLo <= aHi;
}

// The separating axes of one polygon: its edges' normals, and for a segment
// its direction too (two segments on one line are apart only along it).
bool AxesOverlap(const QPointF* p, int n, const QPointF* a, int aCount, const QPointF* b, int bCount)
{
    const int edges = n == 2 ? 1 : (n < 2 ? 0 : n);
    for (int i = 0; i < edges; ++i) {
        const QPointF e = p[(i + 1) % n] - p[i];
        if (e.isNull())
            continue;
        if (!OverlapOn(QPointF(-e.y(), e.x()), a, aCount, b, bCount))
            return false;
        if (n == 2 && !OverlapOn(e, a, aCount, b, bCount))
            return false;
    }
    return true;
}

QPointF ToPointF(QPoint p)
{
    return QPointF(p);
}

}  // namespace

std::array<QPoint, 4> SegmentBand(QPoint a, QPoint b)
{
    if (a.x() <= b.x())
        return {QPoint(a.x() - 1, a.y() - 1), QPoint(a.x() - 1, a.y() + 1), QPoint(b.x() + 1, b.y() + 1),
                QPoint(b.x() + 1, b.y() - 1)};
    return {QPoint(a.x() + 1, a.y() - 1), QPoint(a.x() + 1, a.y() + 1), QPoint(b.x() - 1, b.y() + 1),
            QPoint(b.x() - 1, b.y() - 1)};
}

bool ConvexPolygonsMeet(const QPointF* a, int aCount, const QPointF* b, int bCount)
{
    if (aCount < 1 || bCount < 1)
        return false;
    if (!BoxOf(a, aCount).meets(BoxOf(b, bCount)))
        return false;
    return AxesOverlap(a, aCount, a, aCount, b, bCount) && AxesOverlap(b, bCount, a, aCount, b, bCount);
}

bool StrokeMeetsBand(const QVector<QPoint>& points, const std::array<QPoint, 4>& band)
{
    if (points.size() < 2)
        return false;
    const QPointF bandF[4] = {ToPointF(band[0]), ToPointF(band[1]), ToPointF(band[2]), ToPointF(band[3])};
    const Box bandBox = BoxOf(bandF, 4);
    for (int j = 1; j < points.size(); ++j) {
        const QPoint p = points[j - 1];
        const QPoint q = points[j];
        // The piece's band reaches at most 1 pixel past its two points.
        const Box pieceBox{double(std::min(p.x(), q.x()) - 1), double(std::min(p.y(), q.y()) - 1),
                           double(std::max(p.x(), q.x()) + 1), double(std::max(p.y(), q.y()) + 1)};
        if (!pieceBox.meets(bandBox))
            continue;
        const std::array<QPoint, 4> piece = SegmentBand(p, q);
        const QPointF pieceF[4] = {ToPointF(piece[0]), ToPointF(piece[1]), ToPointF(piece[2]), ToPointF(piece[3])};
        if (ConvexPolygonsMeet(bandF, 4, pieceF, 4))
            return true;
    }
    return false;
}

bool FigureMeetsBand(int kind, const EventDetail& ed, const BoardView& view, const std::array<QPoint, 4>& band)
{
    if (IsStrokeKind(kind))
        return false;
    const QPointF m = ToWidget(ed.M, view);
    const QPointF c = ToWidget(ed.C, view);
    QPainterPath outline;
    FigurePath(kind, m, c, outline, 0);
    if (outline.isEmpty())
        return false;

    // A turned figure is tested in its own frame: the band turns back.
    QPointF test[4];
    if (ed.Angle > 0) {
        const QPoint centre = FigureCentre(m, c);
        for (int i = 0; i < 4; ++i)
            test[i] = QPointF(RotatePoint(band[i].x(), band[i].y(), -ed.Angle, centre.x(), centre.y()));
    } else {
        for (int i = 0; i < 4; ++i)
            test[i] = ToPointF(band[i]);
    }
    const QRectF reach = outline.controlPointRect();
    const Box outlineBox{reach.left(), reach.top(), reach.right(), reach.bottom()};
    if (!BoxOf(test, 4).meets(outlineBox))
        return false;

    for (const QPolygonF& polygon : outline.toSubpathPolygons()) {
        if (polygon.size() == 1 && ConvexPolygonsMeet(test, 4, polygon.constData(), 1))
            return true;
        for (int i = 1; i < polygon.size(); ++i) {
            const QPointF piece[2] = {polygon[i - 1], polygon[i]};
            if (ConvexPolygonsMeet(test, 4, piece, 2))
                return true;
        }
    }
    return IsFilledKind(kind) && outline.contains(test[0]);
}

QVector<PickedObject> PickObjectsAlongPath(const BoardModel& board, const QString& noteName, const BoardView& view,
                                           QPoint a, QPoint b)
{
    QVector<PickedObject> picked;
    const std::array<QPoint, 4> band = SegmentBand(a, b);
    const Box bandBox = BoxOf(band.data(), 4);
    for (int s = 0; s < kPointerSlotCount; ++s) {
        const SlotRecords& records = board.slot[s].records;
        for (const EventMaster& em : records.masters()) {
            if (em.NoteName != noteName)
                continue;
            const EventDetail* ed = records.findDetail(em.EventID);
            if (!ed || ed->Deleted)
                continue;
            if (!IsStrokeKind(em.Kind)) {
                if (FigureMeetsBand(em.Kind, *ed, view, band))
                    picked.append({s, em.EventID});
                continue;
            }
            const auto samples = board.FreePenMap.constFind(MakeObjectKey(s, em.EventID));
            if (samples == board.FreePenMap.constEnd() || samples->size() < 2)
                continue;
            // The samples' bounds, turned with the stroke and shown as the
            // widget points are, grown for the pieces' bands and the
            // truncations on the way.
            QPointF lo = samples->first().M, hi = lo;
            for (const FreePenPoint& sample : *samples) {
                lo.setX(std::min(lo.x(), sample.M.x()));
                lo.setY(std::min(lo.y(), sample.M.y()));
                hi.setX(std::max(hi.x(), sample.M.x()));
                hi.setY(std::max(hi.y(), sample.M.y()));
            }
            QPointF corners[4] = {lo, QPointF(hi.x(), lo.y()), hi, QPointF(lo.x(), hi.y())};
            if (ed->Angle > 0) {
                const QPoint centre = ed->BoundRF.center();
                for (QPointF& p : corners)
                    p = QPointF(RotatePoint(int(p.x()), int(p.y()), ed->Angle, centre.x(), centre.y()));
            }
            for (QPointF& p : corners)
                p = ToWidget(p, view);
            Box strokeBox = BoxOf(corners, 4);
            strokeBox = {strokeBox.left - 3, strokeBox.top - 3, strokeBox.right + 3, strokeBox.bottom + 3};
            if (!strokeBox.meets(bandBox))
                continue;
            if (StrokeMeetsBand(StrokeWidgetPoints(*samples, *ed, view), band))
                picked.append({s, em.EventID});
        }
    }
    return picked;
}
