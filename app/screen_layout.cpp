#include "app/screen_layout.h"

bool ScreensFormDualCanvas(const QVector<QRect>& screens)
{
    if (screens.size() < 2)
        return false;
    const QRect& first = screens.first();
    for (const QRect& screen : screens) {
        if (screen.left() < 0 || screen.width() != first.width() || screen.height() != first.height()
            || screen.top() != first.top() || screen.bottom() != first.bottom())
            return false;
    }
    return true;
}

QSize CanvasSizeForScreens(const QVector<QRect>& screens, int primary, bool dual)
{
    if (screens.isEmpty())
        return QSize();
    if (primary < 0 || primary >= screens.size())
        primary = 0;
    const QSize primarySize = screens.at(primary).size();
    if (dual && ScreensFormDualCanvas(screens))
        return QSize(2 * primarySize.width(), primarySize.height());
    return primarySize;
}
