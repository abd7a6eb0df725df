#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QVector>
#include <functional>

#include "board/board_model.h"
#include "board/segment_painter.h"

// Rebuilding a page from its records: the three object painters and the walk
// over the slot tables that a full redraw makes. Everything paints into a
// caller-owned image at the current zoom (document coordinates times zoom),
// so the same code serves the screen, the page files and the benchmarks.

struct PageRenderOptions {
    double zoom = 1.0;
    bool interpolation = true;
    bool antialiasing = true;
    SpecialPen special;  // style, cap and join of the board's pens
    // Layer pixels the painters may touch; empty paints wherever the object
    // reaches. Repainting part of a page clips each object to that part.
    QRect clip;
};

// One figure object (kinds 5..13): the outline at PenWidth, or filled with a
// hairline outline for the filled kinds, turned by Angle about its centre.
QRect PaintEllipseFigure(QImage& target, const EventMaster& em, const EventDetail& ed,
                         const PageRenderOptions& o);

// One free-pen stroke. `scratch` lends its interpolator; `highlight` draws the
// whole outline at once with the object pen instead of piece by piece with
// the recorded pressure widths. Returns the rectangle painted (grown by the
// repaint margin); empty when nothing was drawn.
QRect PaintPathFigure(QImage& target, PointerSlotState& scratch, bool highlight, const EventDetail& ed,
                      const QVector<FreePenPoint>& points, const PageRenderOptions& o);

// One brush stroke, replaying the live brush so that it swells and thins as
// it did when drawn. `scratch` lends its interpolator and brush state.
QRect PaintLineFigure(QImage& target, PointerSlotState& scratch, const EventDetail& ed,
                      const QVector<FreePenPoint>& points, const PageRenderOptions& o);

// Paints an image object (kind 2) from its media file into `target` at
// `zoom`: scaled to its BoundRF, turned by its Angle about the BoundRF's
// centre, drawn at its move point M, only inside `clip` when it is not
// empty. False when the file is no picture.
bool PaintImageObject(QImage& target, const QString& imagePath, const EventDetail& detail, double zoom,
                      const QRect& clip = QRect());

// The rectangle of the target an image object covers at `zoom`.
QRect ImageObjectRect(const EventDetail& detail, double zoom);

// Paints an image object (kind 2) from its media file; supplied by the window.
using ImageObjectPainter = std::function<void(QImage& target, const QString& file, const EventDetail& ed)>;

// Paints one object of `slot` as a full redraw paints it (strokes with slot
// 0's highlight flag, `scratch` lending the replay state), so an object added
// to a cached page comes out with the very pixels a redraw would give.
// Returns false for kinds that paint nothing (page, zoom, scroll and
// recording marks, images without a media file, strokes without samples);
// `painted` receives the rectangle touched.
bool PaintPageObject(QImage& target, BoardModel& board, PointerSlotState& scratch, int slot, const EventMaster& em,
                     const EventDetail& ed, const QStringList& mediaFiles, const ImageObjectPainter& paintImage,
                     const PageRenderOptions& o, QRect* painted = nullptr);

// Paints every live object of the page `noteName` into `target`: slot by slot,
// each slot in table order, so a later slot paints over an earlier one. Each
// master is matched with the first detail of its slot carrying the same
// EventID (looked up through the slot's index, so the walk stays linear in
// the number of records); the slots' own stroke state is left untouched, so a
// redraw never disturbs a stroke in progress. Deleted objects, objects of other pages and, unless
// withSelected, selected objects are left out. Returns the number painted.
// `contents`, when given, is made to list what the target now holds.
class PageLayerContents;
int PaintPageObjects(QImage& target, BoardModel& board, const QString& noteName, bool withSelected,
                     const QStringList& mediaFiles, const ImageObjectPainter& paintImage,
                     const PageRenderOptions& o, PageLayerContents* contents = nullptr);

// Gives `image` the new size, keeping its content at the top left and
// filling new area with `fill`. The same size keeps the very same image.
void ResizePageImage(QImage& image, QSize size, const QColor& fill);

// Cuts the visible rectangle of the page layer into the view buffer, reusing
// the buffer when it already has the size and format, so that live painting
// never has to copy the page first. Following a scroll bar only cuts; it
// never paints the objects again.
void CutPageView(QImage& view, const QImage& page, QRect visible);
