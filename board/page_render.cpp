#include "board/page_render.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "board/event_kind.h"
#include "board/figure_paths.h"
#include "board/geometry.h"
#include "board/layer_repaint.h"
#include "board/picture_file.h"

namespace {

QPointF Zoomed(QPointF p, double zoom)
{
    return QPointF(p.x() * zoom, p.y() * zoom);
}

// Turns the painter by `angle` degrees about `centre`.
void RotateAbout(QPainter& painter, QPointF centre, double angle)
{
    painter.translate(centre);
    painter.rotate(angle);
    painter.translate(-centre);
}

// Part of a page is repainted by painting the objects that cross it clipped
// to it, and must come out as a full redraw paints it there. A plain
// rectangle clip does not: thin (one pixel and below) lines and the edges of
// fills are then rasterised against the clip instead of the page and land a
// little differently. A clip with the page's bounds does not change the
// rasteriser's work, so the area goes in with the page's two far corner
// pixels, which the caller puts back afterwards. Set before any turn, the
// clip is in layer pixels.
void ClipToArea(QPainter& painter, const QRect& clip)
{
    if (clip.isEmpty())
        return;
    const QRect page(0, 0, painter.device()->width(), painter.device()->height());
    QRegion region(clip);
    region += QRect(page.topLeft(), QSize(1, 1));
    region += QRect(page.bottomRight(), QSize(1, 1));
    painter.setClipRegion(region);
}

void ClipTo(QPainter& painter, const PageRenderOptions& o)
{
    ClipToArea(painter, o.clip);
}

// Where, in the painter's own coordinates, ink of a pen `width` wide can
// reach the clip: the clip turned back and grown by what joins, caps and
// antialiasing add around a line. Null without a clip or with a dashed pen,
// whose dashes depend on everything drawn before them.
QRectF ClipReach(const QPainter& painter, const PageRenderOptions& o, double width)
{
    if (o.clip.isEmpty() || o.special.style != Qt::SolidLine)
        return QRectF();
    const double reach = width + 3.0;
    return painter.transform().inverted().mapRect(QRectF(o.clip)).adjusted(-reach, -reach, reach, reach);
}

bool NearReach(QPointF a, QPointF b, const QRectF& reach)
{
    return std::max(a.x(), b.x()) >= reach.left() && std::min(a.x(), b.x()) <= reach.right()
           && std::max(a.y(), b.y()) >= reach.top() && std::min(a.y(), b.y()) <= reach.bottom();
}

// Draws the polyline, or with a reach only its part from the first to the
// last segment that comes near the clip: the segments left out lie apart
// from the clip, so are the new ends, and the pixels inside the clip are
// those of the whole line.
void DrawPolylineNear(QPainter& painter, const QPointF* points, int count, const QRectF& reach)
{
    if (reach.isNull() || count < 2) {
        painter.drawPolyline(points, count);
        return;
    }
    int first = -1;
    int last = -1;
    for (int i = 0; i + 1 < count; ++i) {
        if (NearReach(points[i], points[i + 1], reach)) {
            if (first < 0)
                first = i;
            last = i + 1;
        }
    }
    if (first < 0)
        return;
    // One more segment at either end, where there is one: a lone segment
    // is rasterised by another road than a line of several and would come
    // out a shade apart.
    first = std::max(0, first - 1);
    last = std::min(count - 1, last + 1);
    painter.drawPolyline(points + first, last - first + 1);
}

// Whether any ink of an unturned stroke can come near the clip, judged from
// its samples alone, before its outline is built. The smoothing makes each
// output point a blend of the last ten samples and the curve through three
// of them overshoots by at most an eighth of their spread, so the outline
// keeps within sixteen sample steps of the samples. Most strokes whose
// rectangle crosses a repainted place never touch it, and are passed over
// for a look at their samples.
bool SamplesMayReach(const QVector<FreePenPoint>& points, const PageRenderOptions& o, double width)
{
    if (o.clip.isEmpty())
        return true;
    double widest = width;
    double longestStep = 0;
    for (int i = 0; i < points.size(); ++i) {
        widest = std::max(widest, double(points[i].Press));
        if (i > 0) {
            const QPointF d = points[i].M - points[i - 1].M;
            longestStep = std::max(longestStep, std::fabs(d.x()) + std::fabs(d.y()));
        }
    }
    const double slack = widest + 4.0 + longestStep * o.zoom * (o.interpolation ? 16.0 : 1.0);
    const QRectF near = QRectF(o.clip).adjusted(-slack, -slack, slack, slack);
    for (const FreePenPoint& p : points) {
        if (near.contains(Zoomed(p.M, o.zoom)))
            return true;
    }
    return false;
}

QRect Grown(const QRectF& r, int margin)
{
    return r.normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

// The rectangle a turned painter covered, in image coordinates.
QRect PaintedRect(const QPainter& painter, const QRectF& local, int margin)
{
    return Grown(painter.transform().mapRect(local), margin);
}

// A sample's drawing width: its recorded pressure width, at least 1 px.
double SampleWidth(float press, int penWidth)
{
    if (press == 0.f)
        return penWidth;
    return std::max(1.0, double(press));
}

// Drops points of a run that lie within a quarter pixel of the line through
// the points kept around them: the pen covers them anyway, and every point
// costs a join when the run is stroked. At most kThinSpan points are skipped
// in a row, so the work per point stays bounded.
constexpr int kThinSpan = 24;

void ThinRun(const QPointF* points, int count, QVector<QPointF>* out)
{
    out->append(points[0]);
    int anchor = 0;
    for (int i = 1; i < count - 1; ++i) {
        if (i - anchor >= kThinSpan) {
            out->append(points[i]);
            anchor = i;
            continue;
        }
        const QPointF a = points[anchor];
        const QPointF b = points[i + 1];
        const QPointF d = b - a;
        const double length = std::hypot(d.x(), d.y());
        bool keep = false;
        for (int k = anchor + 1; k <= i && !keep; ++k) {
            const QPointF p = points[k] - a;
            const double distance = length > 0 ? std::fabs(d.x() * p.y() - d.y() * p.x()) / length
                                               : std::hypot(p.x(), p.y());
            keep = distance > 0.25;
        }
        if (keep) {
            out->append(points[i]);
            anchor = i;
        }
    }
    if (count > 1)
        out->append(points[count - 1]);
}

}  // namespace

QRect PaintEllipseFigure(QImage& target, const EventMaster& em, const EventDetail& ed, const PageRenderOptions& o)
{
    const QPointF m = Zoomed(ed.M, o.zoom);
    const QPointF c = Zoomed(ed.C, o.zoom);
    QPainterPath path;
    FigurePath(em.Kind, m, c, path, 0);
    if (path.isEmpty())
        return QRect();

    QPainter painter(&target);
    ClipTo(painter, o);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const bool filled = IsFilledFigureKind(em.Kind);
    QPen pen(QBrush(ed.PenColor, Qt::SolidPattern), filled ? 0.1 : double(ed.PenWidth), o.special.style,
             o.special.cap, o.special.join);
    painter.setPen(pen);
    painter.setBrush(filled ? QBrush(ed.PenColor, Qt::SolidPattern) : QBrush(Qt::NoBrush));
    const QRectF bounds = path.boundingRect();
    if (ed.Angle != 0.f)
        RotateAbout(painter, bounds.center(), ed.Angle);
    painter.drawPath(path);
    return PaintedRect(painter, bounds, RepaintMargin(pen));
}

QRect PaintPathFigure(QImage& target, PointerSlotState& scratch, bool highlight, const EventDetail& ed,
                      const QVector<FreePenPoint>& points, const PageRenderOptions& o)
{
    if (ed.Deleted || points.isEmpty())
        return QRect();
    if (ed.Angle <= 0.f && !SamplesMayReach(points, o, ed.PenWidth))
        return QRect();

    // The outline as a run of points, each with the width of the piece that
    // ends there.
    QVector<QPointF> outline;
    QVector<double> widths;
    outline.reserve(points.size() * 4);
    widths.reserve(points.size() * 4);
    const QPointF first = Zoomed(points[0].M, o.zoom);
    outline.append(first);
    widths.append(SampleWidth(points[0].Press, ed.PenWidth));

    StrokeInterpolator& interpolator = scratch.interpolator;
    interpolator.ResetWeights();
    interpolator.Begin(int(first.x()), int(first.y()));
    for (int i = 1; i < points.size(); ++i) {
        const QPointF p = Zoomed(points[i].M, o.zoom);
        if (!o.interpolation) {
            outline.append(p);
            widths.append(SampleWidth(points[i].Press, ed.PenWidth));
            continue;
        }
        interpolator.AddPoint(int(p.x()), int(p.y()));
        const int n = interpolator.Count();
        const float w1 = points[i].Press;
        const float w0 = points[i - 1].Press != 0.f ? points[i - 1].Press : w1;
        for (int j = 0; j < n; ++j) {
            const StrokeInterpolator::Point& out = interpolator.Output(j);
            outline.append(QPointF(out.x, out.y));
            if (w1 != 0.f)
                widths.append(std::max(1.0, double(w0) + (j + 1) * double(w1 - w0) / n));
            else
                widths.append(ed.PenWidth);
        }
    }
    if (o.interpolation && points.size() > 1) {
        outline.append(Zoomed(points.last().M, o.zoom));
        widths.append(SampleWidth(points.last().Press, ed.PenWidth));
    }

    QPainter painter(&target);
    ClipTo(painter, o);
    painter.setRenderHint(QPainter::Antialiasing, o.antialiasing);
    QPen pen(QBrush(ed.PenColor, Qt::SolidPattern), double(ed.PenWidth), o.special.style, o.special.cap,
             o.special.join);
    QRectF bounds(outline[0], QSizeF(0, 0));
    for (const QPointF& p : outline)
        TakeInPoint(&bounds, p);
    if (ed.Angle > 0.f)
        RotateAbout(painter, bounds.center(), ed.Angle);

    double widest = ed.PenWidth;
    if (highlight || outline.size() == 1) {
        painter.setPen(pen);
        if (outline.size() == 1)
            painter.drawPoint(outline[0]);
        else
            DrawPolylineNear(painter, outline.constData(), outline.size(), ClipReach(painter, o, pen.widthF()));
    } else {
        // Piece by piece at the recorded widths; neighbouring pieces of the
        // same width go down as one polyline, which looks the same with the
        // board's round caps and joins and costs far less.
        QVector<QPointF> thinned;
        int start = 0;
        while (start + 1 < outline.size()) {
            const double width = widths[start + 1];
            int end = start + 1;
            while (end + 1 < outline.size() && widths[end + 1] == width)
                ++end;
            pen.setWidthF(width);
            painter.setPen(pen);
            thinned.resize(0);
            ThinRun(outline.constData() + start, end - start + 1, &thinned);
            DrawPolylineNear(painter, thinned.constData(), thinned.size(), ClipReach(painter, o, width));
            widest = std::max(widest, width);
            start = end;
        }
    }
    return PaintedRect(painter, bounds, RepaintMargin(QPen(QBrush(), widest)));
}

QRect PaintLineFigure(QImage& target, PointerSlotState& scratch, const EventDetail& ed,
                      const QVector<FreePenPoint>& points, const PageRenderOptions& o)
{
    if (ed.Deleted || points.isEmpty())
        return QRect();
    if (ed.Angle == 0.f && !SamplesMayReach(points, o, ed.PenWidth + 2))
        return QRect();

    PointerSlotState& s = scratch;
    s.brushWidth = ed.PenWidth + 2;
    s.brushRadius = ed.PenWidth * 0.3f;
    s.brushDrawWidth = s.brushRadius * 0.3f;
    s.brushPoint = Zoomed(points[0].M, o.zoom);
    s.lastSample = s.brushPoint;
    s.brushSteps = 0;
    s.brushStepLength = 0.0;
    s.interpolator.ResetWeights();
    s.interpolator.Begin(int(s.brushPoint.x()), int(s.brushPoint.y()));

    QPainter painter(&target);
    ClipTo(painter, o);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF turnAbout(Zoomed(ed.BoundRF.topLeft(), o.zoom), Zoomed(ed.BoundRF.bottomRight(), o.zoom));
    if (ed.Angle != 0.f)
        RotateAbout(painter, turnAbout.center(), ed.Angle);
    QPen pen(QBrush(ed.PenColor, Qt::SolidPattern), 1.0, o.special.style, Qt::RoundCap, Qt::RoundJoin);

    QRectF bounds(s.brushPoint, QSizeF(0, 0));
    QVector<QPointF> piece;
    for (int i = 1; i < points.size(); ++i) {
        const QPointF p = Zoomed(points[i].M, o.zoom);
        s.interpolator.AddPoint(int(p.x()), int(p.y()));
        const int n = s.interpolator.Count();
        if (n <= 0)
            continue;
        piece.resize(0);
        piece.append(s.lastSample);
        for (int j = 0; j < n; ++j) {
            const StrokeInterpolator::Point& out = s.interpolator.Output(j);
            piece.append(QPointF(out.x, out.y));
        }
        const QPointF end = piece.last();
        s.brushStepLength = QLineF(s.brushPoint, end).length();
        pen.setWidthF(s.brushDrawWidth);
        painter.setPen(pen);
        DrawPolylineNear(painter, piece.constData(), piece.size(), ClipReach(painter, o, s.brushDrawWidth));
        for (const QPointF& q : piece)
            TakeInPoint(&bounds, q);

        s.brushRadius = NextBrushRadius(s.brushRadius, s.brushSteps, s.brushStepLength, s.brushWidth);
        s.brushDrawWidth = s.brushRadius;
        s.brushPoint = end;
        s.lastSample = end;
        ++s.brushSteps;
    }
    s.brushRadius = 0.f;
    return PaintedRect(painter, bounds, RepaintMargin(QPen(QBrush(), s.brushWidth)));
}

namespace {

// Where an image object is drawn: turned about its BoundRF's centre, its
// scaled picture at the move point.
QTransform ImageObjectTransform(const EventDetail& detail, double zoom)
{
    const QRectF bound(detail.BoundRF);
    const QPoint centre(int(std::floor(bound.center().x() * zoom + 0.5)),
                        int(std::floor(bound.center().y() * zoom + 0.5)));
    const QPoint origin = RotatePoint(0, 0, detail.Angle, centre.x(), centre.y());
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.rotate(detail.Angle);
    return t;
}

QSize ImageObjectSize(const EventDetail& detail, double zoom)
{
    return QSize(int(zoom * detail.BoundRF.width()), int(zoom * detail.BoundRF.height()));
}

}  // namespace

bool PaintImageObject(QImage& target, const QString& imagePath, const EventDetail& detail, double zoom,
                      const QRect& clip)
{
    const QImage image = ReadPicture(imagePath).image;
    if (image.isNull())
        return false;
    if (target.isNull())
        return true;
    QPainter painter(&target);
    ClipToArea(painter, clip);
    painter.setTransform(ImageObjectTransform(detail, zoom));
    const QSize size = ImageObjectSize(detail, zoom);
    const QImage scaled = image.scaled(size.width(), size.height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    painter.drawImage(QPointF(detail.M.x() * zoom, detail.M.y() * zoom), scaled);
    return true;
}

QRect ImageObjectRect(const EventDetail& detail, double zoom)
{
    const QRectF local(QPointF(detail.M.x() * zoom, detail.M.y() * zoom), QSizeF(ImageObjectSize(detail, zoom)));
    // Turned pixels may land one beyond the exact corners.
    return Grown(ImageObjectTransform(detail, zoom).mapRect(local), 2);
}

bool PaintPageObject(QImage& target, BoardModel& board, PointerSlotState& scratch, int slot, const EventMaster& em,
                     const EventDetail& ed, const QStringList& mediaFiles, const ImageObjectPainter& paintImage,
                     const PageRenderOptions& o, QRect* painted)
{
    QRect rect;
    switch (em.Kind) {
    case ekFree:
    case ekBrush: {
        const auto found = board.FreePenMap.constFind(MakeObjectKey(slot, em.EventID));
        if (found == board.FreePenMap.constEnd())
            return false;
        // Strokes are redrawn with slot 0's highlight flag, as when they are
        // shown again after an edit.
        if (em.Kind == ekFree)
            rect = PaintPathFigure(target, scratch, board.slot[0].highlight, ed, found.value(), o);
        else
            rect = PaintLineFigure(target, scratch, ed, found.value(), o);
        break;
    }
    case ekImage:
        if (em.StrData >= mediaFiles.size() || !paintImage)
            return false;
        paintImage(target, mediaFiles.at(em.StrData), ed);
        rect = ImageObjectRect(ed, o.zoom);
        break;
    case ekNoteChange:
    case ekZoom:
    case ekScroll:
    case ekStartRec:
    case ekEndRec:
        return false;
    default:
        rect = PaintEllipseFigure(target, em, ed, o);
        break;
    }
    if (painted)
        *painted = rect;
    return true;
}

int PaintPageObjects(QImage& target, BoardModel& board, const QString& noteName, bool withSelected,
                     const QStringList& mediaFiles, const ImageObjectPainter& paintImage,
                     const PageRenderOptions& o, PageLayerContents* contents)
{
    if (contents)
        contents->Clear();
    int painted = 0;
    // The replay needs an interpolator and brush state of its own: borrowing
    // a slot's would break a stroke that slot is drawing right now.
    PointerSlotState scratch;
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        const SlotRecords& records = board.slot[slot].records;
        for (const EventMaster& em : records.masters()) {
            if (em.NoteName != noteName)
                continue;
            const EventDetail* ed = records.findDetail(em.EventID);
            if (!ed || ed->Deleted || (!withSelected && ed->Selected))
                continue;
            QRect rect;
            if (PaintPageObject(target, board, scratch, slot, em, *ed, mediaFiles, paintImage, o, &rect))
                ++painted;
            if (contents)
                contents->Note(board, slot, em, *ed, rect);
        }
    }
    return painted;
}

void ResizePageImage(QImage& image, QSize size, const QColor& fill)
{
    if (image.size() == size)
        return;
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(fill);
    QPainter painter(&resized);
    painter.drawImage(0, 0, image);
    painter.end();
    image = resized;
}

void CutPageView(QImage& view, const QImage& page, QRect visible)
{
    const QImage::Format format = page.isNull() ? QImage::Format_ARGB32_Premultiplied : page.format();
    if (view.size() != visible.size() || view.format() != format)
        view = QImage(visible.size(), format);
    else
        view.detach();
    if (view.isNull())
        return;
    if (!page.rect().contains(visible))
        view.fill(0);
    QPainter painter(&view);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), page, visible);
}
