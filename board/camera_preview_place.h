#pragma once

#include <QPoint>
#include <QRect>

// Where the capture library's camera preview goes on the board's screen, and
// where the click that gives the focus back to the board lands.
namespace board {

// The preview's size on the screen.
constexpr int kCameraPreviewWidth = 320;
constexpr int kCameraPreviewHeight = 268;

// The preview's rectangle in one corner (0 top left, 1 bottom left, 2 top
// right, 3 bottom right; any other value counts as top left), clear of the
// main bar (0 bottom, 1 top, 2 left, 3 right; 4, the floating panel, takes no
// room at an edge) whose height of 45 pixels grows with the interface scale.
// `screen` is the board's screen.
QRect CameraPreviewRect(int corner, int barPosition, const QRect& screen, float interfaceScale);

// Where the preview goes while it is hidden: off every screen.
QRect HiddenCameraPreviewRect();

// A point on the main bar away from its buttons, by its position; false for
// the floating panel, which has no bar at an edge.
bool MainBarClickPoint(int barPosition, const QRect& screen, QPoint* point);

}  // namespace board
