#include "board/segment_painter.h"

#include <QLineF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "board/geometry.h"

QPen FreePenOf(const PointerSlotState& s, const SpecialPen& special)
{
    if (s.highlight) {
        return QPen(QBrush(s.pen.color(), Qt::SolidPattern), special.highlightWidth, special.style,
                    Qt::FlatCap, Qt::BevelJoin);
    }
    return s.pen;
}

QPen PressurePen(const SpecialPen& special, float width)
{
    return QPen(QBrush(special.color, Qt::SolidPattern), std::max(1.0f, width), special.style,
                special.cap, special.join);
}

int RepaintMargin(const QPen& pen)
{
    return std::max(10, static_cast<int>(std::ceil(pen.widthF() / 2.0)) + 2);
}

namespace {

QRect GrownBounds(const QRectF& bounds, int margin)
{
    return bounds.normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

QRect SegmentBounds(QPointF a, QPointF b, int margin)
{
    return QRectF(a, b).normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

}  // namespace

QRect PaintFreePenStep(QImage& view, PointerSlotState& s, const SegmentPaintOptions& o)
{
    // The bounds of the new piece, gathered as it is drawn.
    QRectF bounds(s.lastSample, QSizeF(0, 0));
    QPainter painter(&view);
    const QPen pen = FreePenOf(s, o.special);
    painter.setPen(pen);
    if (o.antialiasing)
        painter.setRenderHint(QPainter::Antialiasing, true);
    int margin = RepaintMargin(pen);

    if (!o.interpolation) {
        painter.drawLine(s.lastSample, QPointF(s.current));
        TakeInPoint(&bounds, s.current);
        s.lastSample = s.current;
        return GrownBounds(bounds, margin);
    }

    s.interpolator.AddPoint(s.current.x(), s.current.y());
    const int n = s.interpolator.Count();
    if (n <= 0)
        return QRect();
    float w0 = 0.f, w1 = 0.f;
    if (o.tabletActive) {
        w1 = static_cast<float>(o.pressure * o.special.baseWidth);
        w0 = o.prevPressure != 0.0 ? static_cast<float>(o.prevPressure * o.special.baseWidth) : w1;
        margin = std::max(margin, RepaintMargin(PressurePen(o.special, std::max(w0, w1))));
    }
    QPointF from = s.lastSample;
    for (int i = 0; i < n; ++i) {
        const QPointF to(s.interpolator.Output(i).x, s.interpolator.Output(i).y);
        if (o.tabletActive)
            painter.setPen(PressurePen(o.special, w0 + (i + 1) * (w1 - w0) / n));
        painter.drawLine(from, to);
        TakeInPoint(&bounds, to);
        from = to;
    }
    s.lastSample = from;
    return GrownBounds(bounds, margin);
}

float NextBrushRadius(float radius, int steps, double stepLength, float brushWidth)
{
    float r = radius;
    if (steps <= 5) {
        r = brushWidth;
    } else if (stepLength < 10.0) {
        r += 0.3f;
    } else if (r > 1.0f && r < 2.0f) {
        r -= 0.15f;
    } else {
        r -= 0.3f;
    }
    r = std::min(r, brushWidth);
    return std::max(r, 1.0f);
}

QRect PaintBrushStep(QImage& view, PointerSlotState& s, const SegmentPaintOptions& o)
{
    QRectF bounds(s.lastSample, QSizeF(0, 0));
    QPainter painter(&view);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPen pen(QBrush(s.pen.color(), Qt::SolidPattern), s.brushDrawWidth, o.special.style,
                   Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);

    s.interpolator.AddPoint(s.current.x(), s.current.y());
    const int n = s.interpolator.Count();
    QPointF from = s.lastSample;
    for (int i = 0; i < n; ++i) {
        const QPointF to(s.interpolator.Output(i).x, s.interpolator.Output(i).y);
        painter.drawLine(from, to);
        TakeInPoint(&bounds, to);
        from = to;
    }
    if (n > 0)
        s.brushEndPoint = from;

    const double d = QLineF(s.brushPoint, s.brushEndPoint).length();
    s.brushStepLength = d;
    s.brushRadius = NextBrushRadius(s.brushRadius, s.brushSteps, d, s.brushWidth);
    s.brushDrawWidth = s.brushRadius;
    s.brushPoint = s.brushEndPoint;
    s.lastSample = s.brushEndPoint;
    ++s.brushSteps;
    return GrownBounds(bounds, std::max(RepaintMargin(pen), RepaintMargin(QPen(QBrush(), s.brushWidth))));
}

QRect PaintLastStep(QImage& view, PointerSlotState& s, const SegmentPaintOptions& o)
{
    QPen pen = FreePenOf(s, o.special);
    if (o.tabletActive && !s.highlight)
        pen = PressurePen(o.special, static_cast<float>(o.special.baseWidth * o.pressure));
    QPainter painter(&view);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(pen);
    painter.drawLine(s.lastSample, QPointF(s.current));
    return SegmentBounds(s.lastSample, s.current, RepaintMargin(pen));
}

QRect LastSegmentRect(const PointerSlotState& s)
{
    return SegmentBounds(s.lastSample, s.current, std::max(10, RepaintMargin(QPen(QBrush(), s.brushWidth))));
}

QPen LiveTailPen(const PointerSlotState& s, bool brush, const SegmentPaintOptions& o)
{
    if (brush)
        return QPen(QBrush(s.pen.color(), Qt::SolidPattern), s.brushDrawWidth, o.special.style, Qt::RoundCap,
                    Qt::RoundJoin);
    if (o.tabletActive)
        return PressurePen(o.special, static_cast<float>(o.pressure * o.special.baseWidth));
    return FreePenOf(s, o.special);
}

QRect LiveTailRect(const PointerSlotState& s, const QPen& pen)
{
    if (s.lastSample == QPointF(s.current))
        return QRect();
    return SegmentBounds(s.lastSample, s.current, RepaintMargin(pen));
}

void PaintLiveTail(QImage& view, const PointerSlotState& s, const QPen& pen, bool antialiasing)
{
    if (s.lastSample == QPointF(s.current))
        return;
    QPainter painter(&view);
    painter.setRenderHint(QPainter::Antialiasing, antialiasing);
    painter.setPen(pen);
    painter.drawLine(s.lastSample, QPointF(s.current));
}
