#pragma once

#include <QPoint>
#include <QRectF>

// Small geometry shared by the board, the selection frame and the instruments.
// Screen coordinates: y grows downward, so a positive angle turns clockwise.

double DegToRad(double deg);

// Direction from (x2, y2) to (x1, y1) in degrees, 0..360: 0 when the first point
// lies straight below the second, 90 to its left, 180 above, 270 to its right.
double PointAngle(int x1, int y1, int x2, int y2);

// Integer midpoint, truncating toward zero.
QPoint MidPoint(int x1, int y1, int x2, int y2);

// (x, y) turned by deg about (cx, cy), truncated toward zero.
QPoint RotatePoint(int x, int y, double deg, int cx, int cy);

// Bounds of the rectangle (x, y, w, h) turned by deg about its centre.
QRectF RotatedRectBounds(float x, float y, float w, float h, float deg);

// Grows bounds to take in p. QRectF::united() passes over rectangles without
// area, so a run of points cannot be gathered that way.
void TakeInPoint(QRectF* bounds, QPointF p);
