#pragma once

#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>

#include "board/board_records.h"

// Outlines of the drawn figures. One set of builders serves painting, live
// previews, the object rectangle of arrows and hit tests (with a margin that
// fattens the outline).

// Appends the outline of a figure of EventKind kind spanned by p1 and p2.
void FigurePath(int kind, QPointF p1, QPointF p2, QPainterPath& path, int margin);

void CirclePath(QPainterPath& path, QPointF centre, QPointF edge, int margin);
void EllipsePath(QPainterPath& path, QPointF p1, QPointF p2, int margin);
void RectPath(QPainterPath& path, QPointF p1, QPointF p2, int margin);
void StraightLinePath(QPainterPath& path, QPointF p1, QPointF p2, int margin);

// A line end drawn near-level or near-plumb snaps to the horizontal (then the
// vertical) through the start.
QPointF SnapLineEnd(QPointF start, QPointF end);

// A line with an arrow head at its (snapped) end, and at its start when
// bothHeads. The snapped end is handed back through snappedEnd.
void ArrowLinePath(QPainterPath& path, QPointF start, QPointF end, bool bothHeads,
                   QPointF* snappedEnd = nullptr);

// Replaces a and b by the two wing points of an arrow head: 20 px back from
// the tip along the line, 15 px to either side.
void ArrowHeadPath(QPointF& a, QPointF& b, bool atStart);

// Smallest rectangle holding outer and the corners of r turned by angle
// degrees about r's centre.
QRect NormalizeRect(QRect outer, QRect r, double angle);

// The selection frame around r (widget coordinates) turned by angle: the
// turned corners of r and, when withHandles, the handle polygons in the
// order corner handles 1..4, rotation handle 5, edge handles 7..10.
struct SelectionFrameShape {
    QPoint corners[4];
    QPolygon handles[kSelectionHandleCount];
    QPoint rotationPoint;
    bool hasHandles = false;
};
SelectionFrameShape BuildSelectionFrame(QRect r, double angle, bool withHandles);
