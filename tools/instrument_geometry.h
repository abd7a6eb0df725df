#pragma once

// What the ruler, the compass and the protractor compute, without a window:
// their scale, where their lines and arcs lie, and how a drag turns, moves,
// lengthens or resizes them. The instrument windows only call these, so every
// rule can be checked without a display.
//
// Coordinates are those of the instrument window (which covers the primary
// screen), y downward. Angles are whole degrees, clockwise from straight up.

#include "board/geometry.h"

#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QRegion>
#include <QString>

namespace ToolDlg {

// The one rotation of points the three instruments share: (x, y) turned by
// deg about (cx, cy), clockwise on screen, truncated toward zero.
using ::RotatePoint;
inline QPoint RotatePoint(QPoint p, double deg, QPoint centre)
{
    return ::RotatePoint(p.x(), p.y(), deg, centre.x(), centre.y());
}

// Bearing of p seen from centre in whole degrees (truncated): 0 straight up,
// 90 right, 180 down, 270 left; a point on the centre gives 270.
int Bearing(QPoint centre, QPoint p);

// Whole pixels per millimetre for a logical DPI: the dots per centimetre
// truncated, then rounded to millimetres. Never below 1, so a scale always
// has steps to count (a DPI below 13 would otherwise give 0 and a division
// by zero).
int PixelsPerMillimetre(int logicalDpi);

// One tick of a millimetre scale: tick i of a scale that starts with a
// centimetre. Centimetre ticks are long and labelled; the millimetre ticks
// after one grow 4, 7, 10, 13, 16 and then 4, 7, 10, 13 pixels.
struct ScaleTick {
    bool centimetre = false;
    int length = 0;
};
ScaleTick ScaleTickAt(int i);

// "cm.mm" of a count of millimetre steps (144 gives "14.4").
QString ScaleReadout(int steps);

// The four corners of r turned by deg about its centre: top-left, top-right,
// bottom-right, bottom-left.
QPolygon TurnedRect(const QRect& r, double deg);

// A band along a radius: from `from` to `to` pixels out from centre at the
// bearing deg, halfWidth to each side. The instruments' arms, handles and
// read-outs lie in such bands.
QPolygon RadialBand(QPoint centre, double deg, int from, int to, int halfWidth);

// The pointer's displacement since the press, in the instrument's own
// unturned axes: both positions turned back by deg about the press centre.
QPoint FrameDisplacement(QPoint pointer, QPoint pressPosition, int deg, QPoint pressCentre);

// A rectangle of the given width and height whose centre is `centre`.
QRect CentredRect(QPoint centre, int width, int height);

// The shape a compass or protractor paints: the square `square` turned by
// `first` (it holds the disc and the scales), the band of the first arm with
// its handle and read-out, the band of the second arm (`second` further
// clockwise) with its handle and read-out, and, while the first arm turns,
// the fixed reference line straight up.
QRegion TwoArmDiscShape(const QRect& square, int first, int second, bool reference);

// --- Ruler ------------------------------------------------------------------

constexpr int kRulerMinWidth = 142;

// Millimetre steps on a ruler `width` wide: the scale starts 10 px inside the
// left end and stops at least 12 px before the right end.
int RulerSteps(int width, int pixelsPerMm);

// The three drawable lines of a ruler turned by deg, already turned: each
// runs from the zero tick to the ruler's right end less 12 px.
struct RulerLines {
    QPoint topFrom, topTo;
    QPoint middleFrom, middleTo;
    QPoint bottomFrom, bottomTo;
};
RulerLines RulerEdgeLines(const QRect& ruler, int deg);

// Lengthening by an end handle. From the press geometry and the pointer's
// displacement dx along the ruler, the new ruler rectangle with the opposite
// end kept where it is on screen. False (and *result untouched) when the new
// width would be odd or below kRulerMinWidth.
bool LengthenRuler(const QRect& pressRect, int dx, int deg, bool rightEnd, QRect* result);

// --- Compass and protractor --------------------------------------------------

constexpr int kCompassMinWidth = 161;
constexpr int kProtractorMinWidth = 181;

// Resizing a square by one of its corners (1 top-left, 2 top-right,
// 3 bottom-right, 4 bottom-left) with the displacement d in the square's own
// axes; one amount moves both edges so the square stays square, and the
// opposite corner keeps its place on screen. False when the new width would
// be below minWidth or the corner is none of the four.
bool ResizeSquare(const QRect& pressRect, int corner, QPoint d, int deg, int minWidth, QRect* result);

// A request to draw an arc: the circle inscribed in rect, from bearing `from`
// clockwise to bearing `to` (to >= from, possibly past 359).
struct ArcRequest {
    QRect rect;
    int from = 0;
    int to = 0;
};

// The compass's arc between its arms (first arm at a1, second a2 further
// clockwise), and the rest of the circle from the second arm back to the
// first.
ArcRequest CompassArc(const QRect& circle, int a1, int a2);
ArcRequest CompassReverseArc(const QRect& circle, int a1, int a2);

// Millimetre steps along the compass's radius.
int CompassSteps(const QRect& circle, int pixelsPerMm);

// The protractor's draw request: its two arms from the centre to the rim (the
// zero direction at `deg`, the arm `arm` degrees further clockwise) and a small
// arc between them on a circle a quarter of the protractor's size.
struct ProtractorDraw {
    QPoint centre;
    QPoint zeroEnd;
    QPoint armEnd;
    ArcRequest arc;
};
ProtractorDraw ProtractorDrawRequest(const QRect& circle, int deg, int arm);

// Point size of the protractor's degree labels: a twentieth of its width,
// kept within 10 to 40.
int ProtractorLabelPointSize(int width);

}  // namespace ToolDlg
