#pragma once

#include <QPoint>
#include <QPointF>
#include <QString>
#include <QVector>
#include <array>

#include "board/board_model.h"
#include "editing/selection.h"

// What the area eraser wipes in one pointer movement: every live object of
// the note whose outline the movement's segment band touches. Bands and
// outlines are in widget pixels.

// The band around the segment from a to b: a parallelogram about 2 pixels
// high, reaching 1 pixel past each end in x.
std::array<QPoint, 4> SegmentBand(QPoint a, QPoint b);

// Whether two convex polygons (a segment or a point counts as one) share a
// point; touching counts.
bool ConvexPolygonsMeet(const QPointF* a, int aCount, const QPointF* b, int bCount);

// Whether a segment band (or any convex quad) touches the object's outline:
// the samples of a stroke (each piece between two samples as its own band),
// the outline of a figure, or the inside of an image or a filled figure.
bool StrokeMeetsBand(const QVector<QPoint>& points, const std::array<QPoint, 4>& band);
bool FigureMeetsBand(int kind, const EventDetail& ed, const BoardView& view, const std::array<QPoint, 4>& band);

// The objects one movement from a to b erases, slot by slot and in table
// order. Objects whose bounds lie apart from the band are passed over
// without building their outline.
QVector<PickedObject> PickObjectsAlongPath(const BoardModel& board, const QString& noteName, const BoardView& view,
                                           QPoint a, QPoint b);
