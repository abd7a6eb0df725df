#pragma once

#include <QColor>
#include <QImage>
#include <QPen>
#include <QRect>

#include "board/board_model.h"

// Live stroke painting: each pointer move paints only the new piece of the
// stroke into the view image and reports the rectangle that must be shown
// again. Nothing here redraws the page.

// The board-wide pen attributes the special pens take (highlight, pressure).
struct SpecialPen {
    Qt::PenStyle style = Qt::SolidLine;
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
    QColor color = Qt::black;
    int baseWidth = 3;
    int highlightWidth = 20;
};

struct SegmentPaintOptions {
    bool interpolation = true;
    bool antialiasing = true;
    SpecialPen special;
    bool tabletActive = false;
    double pressure = 0.0;
    double prevPressure = 0.0;
};

// The pen of the free pen: the highlight pen when the slot highlights, else
// the slot's own pen.
QPen FreePenOf(const PointerSlotState& s, const SpecialPen& special);

// A pen whose width follows the tablet pressure; never thinner than 1 px.
QPen PressurePen(const SpecialPen& special, float width);

// Margin around a painted segment that is shown again: enough for the pen.
int RepaintMargin(const QPen& pen);

// One move step of the free pen from the slot's last sample to its current
// point. Returns the window rectangle to repaint.
QRect PaintFreePenStep(QImage& view, PointerSlotState& s, const SegmentPaintOptions& o);

// One move step of the brush.
QRect PaintBrushStep(QImage& view, PointerSlotState& s, const SegmentPaintOptions& o);

// The straight closing segment of a stroke.
QRect PaintLastStep(QImage& view, PointerSlotState& s, const SegmentPaintOptions& o);

// The rectangle of the segment from the last sample to the current point.
QRect LastSegmentRect(const PointerSlotState& s);

// The smoothed stroke ends one sample behind the pointer. The live tail is
// the provisional straight piece from its end to the raw pointer, drawn so
// that ink sits under the pointer after every move and taken back before the
// next step paints the smoothed piece in its place. It is never recorded.
// Its pen is the pen of the stroke's newest piece (brush: the width the next
// step draws with).
QPen LiveTailPen(const PointerSlotState& s, bool brush, const SegmentPaintOptions& o);
// The rectangle the tail covers; empty when the stroke already ends at the
// pointer.
QRect LiveTailRect(const PointerSlotState& s, const QPen& pen);
void PaintLiveTail(QImage& view, const PointerSlotState& s, const QPen& pen, bool antialiasing);

// The brush width after a step of the given length: full width for the first
// six steps, then swelling by 0.3 on slow steps and thinning on fast ones,
// always between 1 and brushWidth.
float NextBrushRadius(float radius, int steps, double stepLength, float brushWidth);
