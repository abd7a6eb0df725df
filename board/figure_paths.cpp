#include "board/figure_paths.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

#include "board/event_kind.h"
#include "board/geometry.h"

namespace {

int RoundHalfUp(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

// Corners of a figure rectangle: truncated, ordered, optionally grown.
QRect FigureRect(QPointF p1, QPointF p2, int margin)
{
    const int left = static_cast<int>(std::min(p1.x(), p2.x()));
    const int top = static_cast<int>(std::min(p1.y(), p2.y()));
    const int right = static_cast<int>(std::max(p1.x(), p2.x()));
    const int bottom = static_cast<int>(std::max(p1.y(), p2.y()));
    if (margin != 0)
        return QRect(QPoint(left - margin, top - margin), QPoint(right + margin, bottom + margin));
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

void FigurePath(int kind, QPointF p1, QPointF p2, QPainterPath& path, int margin)
{
    switch (kind) {
    case ekLine:
        path.moveTo(p1);
        path.lineTo(p2);
        break;
    case ekCircle:
    case ekFillCircle:
        CirclePath(path, p1, p2, margin);
        break;
    case ekRect:
    case ekFillRect:
    case ekImage:
        RectPath(path, p1, p2, margin);
        break;
    case ekEllipse:
    case ekFillEllipse:
        EllipsePath(path, p1, p2, margin);
        break;
    case ekEArrow:
        ArrowLinePath(path, p1, p2, false);
        break;
    case ekBArrow:
        ArrowLinePath(path, p1, p2, true);
        break;
    default:
        break;
    }
}

void CirclePath(QPainterPath& path, QPointF centre, QPointF edge, int margin)
{
    double r = QLineF(centre, edge).length();
    if (margin != 0)
        r += margin;
    path.addEllipse(centre, r, r);
}

void EllipsePath(QPainterPath& path, QPointF p1, QPointF p2, int margin)
{
    path.addEllipse(QRectF(FigureRect(p1, p2, margin)));
}

void RectPath(QPainterPath& path, QPointF p1, QPointF p2, int margin)
{
    path.addRect(QRectF(FigureRect(p1, p2, margin)));
}

void StraightLinePath(QPainterPath& path, QPointF p1, QPointF p2, int margin)
{
    p2 = SnapLineEnd(p1, p2);
    const double m = margin;
    path.moveTo(p1.x() - m, p1.y() - m);
    path.lineTo(p2.x() - m, p2.y() - m);
    path.lineTo(p2.x() + m, p2.y() + m);
    path.lineTo(p1.x() + m, p1.y() + m);
    path.lineTo(p1.x() - m, p1.y() - m);
}

QPointF SnapLineEnd(QPointF start, QPointF end)
{
    if (std::fabs(static_cast<float>(start.y() - end.y())) <= 10.f)
        end.setY(start.y());
    else if (std::fabs(static_cast<float>(start.x() - end.x())) <= 10.f)
        end.setX(start.x());
    return end;
}

void ArrowLinePath(QPainterPath& path, QPointF start, QPointF end, bool bothHeads, QPointF* snappedEnd)
{
    end = SnapLineEnd(start, end);
    if (snappedEnd)
        *snappedEnd = end;
    path.moveTo(start);
    path.lineTo(end);

    QPointF w1 = start;
    QPointF w2 = end;
    ArrowHeadPath(w1, w2, false);
    path.moveTo(end);
    path.lineTo(w1);
    path.moveTo(end);
    path.lineTo(w2);
    if (bothHeads) {
        QPointF w3 = start;
        QPointF w4 = end;
        ArrowHeadPath(w3, w4, true);
        path.moveTo(start);
        path.lineTo(w3);
        path.moveTo(start);
        path.lineTo(w4);
    }
}

void ArrowHeadPath(QPointF& a, QPointF& b, bool atStart)
{
    const int ax = static_cast<int>(a.x());
    const int ay = static_cast<int>(a.y());
    const int bx = static_cast<int>(b.x());
    const int by = static_cast<int>(b.y());
    const QPoint base = atStart ? QPoint(bx, by) : QPoint(ax, ay);
    const QPoint dir = atStart ? QPoint(ax - bx, ay - by) : QPoint(bx - ax, by - ay);
    const double theta = std::atan2(static_cast<double>(dir.y()), static_cast<double>(dir.x()));
    const double s = std::sin(theta);
    const double c = std::cos(theta);
    const double k = std::hypot(static_cast<double>(dir.x()), static_cast<double>(dir.y())) - 20.0;
    a = QPointF(RoundHalfUp(base.x() + k * c - 15.0 * s), RoundHalfUp(base.y() + k * s + 15.0 * c));
    b = QPointF(RoundHalfUp(base.x() + k * c + 15.0 * s), RoundHalfUp(base.y() + k * s - 15.0 * c));
}

QRect NormalizeRect(QRect outer, QRect r, double angle)
{
    QPoint corners[4] = {QPoint(r.x(), r.y()), QPoint(r.x() + r.width(), r.y()),
                         QPoint(r.x() + r.width(), r.y() + r.height()),
                         QPoint(r.x(), r.y() + r.height())};
    if (angle != 0.0) {
        const QPoint c = r.center();
        for (QPoint& p : corners)
            p = RotatePoint(p.x(), p.y(), angle, c.x(), c.y());
    }
    int minX = corners[0].x(), maxX = corners[0].x();
    int minY = corners[0].y(), maxY = corners[0].y();
    for (const QPoint& p : corners) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    const int left = std::min(minX, outer.x());
    const int top = std::min(minY, outer.y());
    const int right = std::max(maxX, outer.x() + outer.width());
    const int bottom = std::max(maxY, outer.y() + outer.height());
    return QRect(left, top, std::abs(left - right), std::abs(top - bottom));
}

namespace {

// A handle square's corners: top-left, top-right, bottom-right, bottom-left.
QPolygon HandleSquare(QPoint centre, double angle, QPoint pivot)
{
    QPolygon square;
    const QPoint offsets[4] = {QPoint(-10, -10), QPoint(10, -10), QPoint(10, 10), QPoint(-10, 10)};
    for (const QPoint& o : offsets) {
        const QPoint p = centre + o;
        square << (angle != 0.0 ? RotatePoint(p.x(), p.y(), angle, pivot.x(), pivot.y()) : p);
    }
    return square;
}

}  // namespace

SelectionFrameShape BuildSelectionFrame(QRect r, double angle, bool withHandles)
{
    SelectionFrameShape shape;
    const QPoint c = r.center();
    const QPoint raw[4] = {QPoint(r.x(), r.y()), QPoint(r.x() + r.width(), r.y()),
                           QPoint(r.x() + r.width(), r.y() + r.height()),
                           QPoint(r.x(), r.y() + r.height())};
    for (int i = 0; i < 4; ++i)
        shape.corners[i] = RotatePoint(raw[i].x(), raw[i].y(), angle, c.x(), c.y());
    shape.rotationPoint =
        RotatePoint(r.x() + r.width() / 2, r.y() - 20, angle, c.x(), c.y());
    if (!withHandles)
        return shape;

    shape.hasHandles = true;
    const QPoint outward[4] = {QPoint(-5, -5), QPoint(5, -5), QPoint(5, 5), QPoint(-5, 5)};
    for (int i = 0; i < 4; ++i)
        shape.handles[i] = HandleSquare(shape.corners[i] + outward[i], angle, shape.corners[i]);
    shape.handles[4] = HandleSquare(shape.rotationPoint, 0.0, shape.rotationPoint);

    // Edge bands between the facing corners of neighbouring squares.
    const QPolygon& tl = shape.handles[0];
    const QPolygon& tr = shape.handles[1];
    const QPolygon& br = shape.handles[2];
    const QPolygon& bl = shape.handles[3];
    enum { TL = 0, TR = 1, BR = 2, BL = 3 };
    shape.handles[5] = QPolygon({tl[TR], tr[TL], tr[BL], tl[BR]});
    shape.handles[6] = QPolygon({tr[BL], tr[BR], br[TR], br[TL]});
    shape.handles[7] = QPolygon({bl[BR], br[BL], br[TL], bl[TR]});
    shape.handles[8] = QPolygon({tl[BL], tl[BR], bl[TR], bl[TL]});
    return shape;
}
