#include "tools/instrument_geometry.h"

#include <QtGlobal>

#include <algorithm>

namespace ToolDlg {

int Bearing(QPoint centre, QPoint p)
{
    return static_cast<int>(PointAngle(centre.x(), centre.y(), p.x(), p.y()));
}

int PixelsPerMillimetre(int logicalDpi)
{
    const int dotsPerCm = static_cast<int>(logicalDpi / 2.54);
    return std::max(1, (dotsPerCm + 5) / 10);
}

ScaleTick ScaleTickAt(int i)
{
    ScaleTick tick;
    if (i % 10 == 0) {
        tick.centimetre = true;
        tick.length = 20;
        return tick;
    }
    // The length counter starts again at every centimetre and wraps after
    // five millimetres.
    tick.length = 4 + 3 * ((i % 10 - 1) % 5);
    return tick;
}

QString ScaleReadout(int steps)
{
    return QStringLiteral("%1.%2").arg(steps / 10).arg(steps % 10);
}

QPolygon TurnedRect(const QRect& r, double deg)
{
    const QPoint c = r.center();
    const QPoint corners[4] = {QPoint(r.left(), r.top()), QPoint(r.left() + r.width(), r.top()),
                               QPoint(r.left() + r.width(), r.top() + r.height()),
                               QPoint(r.left(), r.top() + r.height())};
    QPolygon turned;
    for (const QPoint& p : corners)
        turned << RotatePoint(p, deg, c);
    return turned;
}

QPolygon RadialBand(QPoint centre, double deg, int from, int to, int halfWidth)
{
    const QPoint corners[4] = {centre + QPoint(-halfWidth, -to), centre + QPoint(halfWidth, -to),
                               centre + QPoint(halfWidth, -from), centre + QPoint(-halfWidth, -from)};
    QPolygon band;
    for (const QPoint& p : corners)
        band << RotatePoint(p, deg, centre);
    return band;
}

QPoint FrameDisplacement(QPoint pointer, QPoint pressPosition, int deg, QPoint pressCentre)
{
    const QPoint u = RotatePoint(pointer, -deg, pressCentre);
    const QPoint v = RotatePoint(pressPosition, -deg, pressCentre);
    return u - v;
}

QRect CentredRect(QPoint centre, int width, int height)
{
    QRect r(0, 0, width, height);
    r.moveCenter(centre);
    return r;
}

QRegion TwoArmDiscShape(const QRect& square, int first, int second, bool reference)
{
    const QPoint c = square.center();
    const int rim = square.height() / 2;
    // The first arm's handle ends 32 px past the rim and its read-out 50 px;
    // the second arm's handle 92 px and its read-out 110 px.
    QRegion shape(TurnedRect(square.adjusted(-4, -4, 4, 4), first));
    shape += QRegion(RadialBand(c, first, 0, rim + 64, 32));
    shape += QRegion(RadialBand(c, first + second, 0, rim + 114, 32));
    if (reference)
        shape += QRegion(RadialBand(c, 0, 0, rim + 22, 3));
    return shape;
}

int RulerSteps(int width, int pixelsPerMm)
{
    return (width - 22) / std::max(1, pixelsPerMm);
}

RulerLines RulerEdgeLines(const QRect& ruler, int deg)
{
    const QPoint c = ruler.center();
    const int from = ruler.left() + 10;
    const int to = ruler.left() + ruler.width() - 12;
    RulerLines lines;
    lines.topFrom = RotatePoint(QPoint(from, ruler.top()), deg, c);
    lines.topTo = RotatePoint(QPoint(to, ruler.top()), deg, c);
    lines.middleFrom = RotatePoint(QPoint(from, c.y()), deg, c);
    lines.middleTo = RotatePoint(QPoint(to, c.y()), deg, c);
    lines.bottomFrom = RotatePoint(QPoint(from, ruler.bottom()), deg, c);
    lines.bottomTo = RotatePoint(QPoint(to, ruler.bottom()), deg, c);
    return lines;
}

bool LengthenRuler(const QRect& pressRect, int dx, int deg, bool rightEnd, QRect* result)
{
    // An odd width has no middle pixel to turn about, so the ruler keeps an
    // even width; the next pointer move is judged afresh.
    if ((pressRect.width() + dx) % 2 != 0)
        return false;
    QRect working = pressRect;
    if (rightEnd)
        working.setRight(pressRect.right() + dx);
    else
        working.setLeft(pressRect.left() + dx);
    if (working.width() < kRulerMinWidth)
        return false;
    const QPoint centre = RotatePoint(working.center(), deg, pressRect.center());
    *result = CentredRect(centre, working.width(), pressRect.height());
    return true;
}

bool ResizeSquare(const QRect& pressRect, int corner, QPoint d, int deg, int minWidth, QRect* result)
{
    QRect working = pressRect;
    switch (corner) {
    case 1: {
        const int step = std::min(d.x(), d.y());
        working.setLeft(pressRect.left() + step);
        working.setTop(pressRect.top() + step);
        break;
    }
    case 2: {
        const int step = std::min(-d.x(), d.y());
        working.setRight(pressRect.right() - step);
        working.setTop(pressRect.top() + step);
        break;
    }
    case 3: {
        const int step = std::min(d.x(), d.y());
        working.setRight(pressRect.right() + step);
        working.setBottom(pressRect.bottom() + step);
        break;
    }
    case 4: {
        const int step = std::min(-d.x(), d.y());
        working.setLeft(pressRect.left() - step);
        working.setBottom(pressRect.bottom() + step);
        break;
    }
    default:
        return false;
    }
    if (working.width() < minWidth)
        return false;
    const QPoint centre = RotatePoint(working.center(), deg, pressRect.center());
    *result = CentredRect(centre, working.width(), working.width());
    return true;
}

ArcRequest CompassArc(const QRect& circle, int a1, int a2)
{
    return ArcRequest{circle, a1, a1 + a2};
}

ArcRequest CompassReverseArc(const QRect& circle, int a1, int a2)
{
    return ArcRequest{circle, a1 + a2, a1 + 360};
}

int CompassSteps(const QRect& circle, int pixelsPerMm)
{
    return (circle.width() / 2) / std::max(1, pixelsPerMm);
}

ProtractorDraw ProtractorDrawRequest(const QRect& circle, int deg, int arm)
{
    ProtractorDraw draw;
    draw.centre = circle.center();
    draw.zeroEnd = RotatePoint(QPoint(draw.centre.x(), circle.top()), deg, draw.centre);
    draw.armEnd = RotatePoint(QPoint(draw.centre.x(), circle.top()), deg + arm, draw.centre);
    // A quarter-size square on the same centre; the odd pixel of an odd
    // width goes to the left and top so the centres agree.
    auto inset = [](int k) { return (k / 2) / 4 + (k % 2 != 0 ? 1 : 0) + (k / 2) / 2; };
    const int w = circle.width();
    const int h = circle.height();
    draw.arc.rect = QRect(circle.left() + inset(w), circle.top() + inset(h), (w / 2) / 2, (h / 2) / 2);
    draw.arc.from = deg;
    draw.arc.to = deg + arm;
    return draw;
}

int ProtractorLabelPointSize(int width)
{
    return qBound(10, width / 20, 40);
}

}  // namespace ToolDlg
