#pragma once

#include <QRect>
#include <QSize>
#include <QVector>

// The size of the board canvas for the screens the system reports. In dual
// mode two equal screens side by side (every screen at a non-negative left
// edge, all as wide, as high and at the same top and bottom as the first)
// give twice the primary screen's width; anything else gives the primary
// screen alone.
QSize CanvasSizeForScreens(const QVector<QRect>& screens, int primary, bool dual);

// True when the screens qualify for the doubled canvas.
bool ScreensFormDualCanvas(const QVector<QRect>& screens);
