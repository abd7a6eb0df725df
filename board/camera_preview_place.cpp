#include "board/camera_preview_place.h"

namespace board {

namespace {

constexpr int kMainBarHeight = 45;

}  // namespace

QRect CameraPreviewRect(int corner, int barPosition, const QRect& screen, float interfaceScale)
{
    const int bar = static_cast<int>(kMainBarHeight * interfaceScale);
    const bool right = corner == 2 || corner == 3;
    const bool bottom = corner == 1 || corner == 3;
    // Positions count from the screen's left edge, so a board on a second
    // screen keeps its preview on that screen.
    int x = screen.x() + 20;
    if (right)
        x = screen.x() + screen.width() - (barPosition == 3 ? 388 : 340);
    else if (barPosition == 2)
        x = screen.x() + 68;
    int y = barPosition == 1 ? 20 + bar : 20;
    if (bottom)
        y = barPosition == 0 ? screen.height() - bar - 288 : screen.height() - 288;
    return QRect(x, y, kCameraPreviewWidth, kCameraPreviewHeight);
}

QRect HiddenCameraPreviewRect()
{
    return QRect(-1000, -1000, 10, 10);
}

bool MainBarClickPoint(int barPosition, const QRect& screen, QPoint* point)
{
    const int w = screen.width();
    const int h = screen.height();
    switch (barPosition) {
    case 0:
        *point = QPoint(w - 105, h - 48);
        break;
    case 1:
        *point = QPoint(w - 5, 5);
        break;
    case 2:
        *point = QPoint(5, h - 148);
        break;
    case 3:
        *point = QPoint(w - 5, h - 148);
        break;
    default:
        return false;
    }
    point->rx() += screen.x();
    return true;
}

}  // namespace board
