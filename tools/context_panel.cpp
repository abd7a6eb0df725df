#include "tools/context_panel.h"

namespace tools {

QPoint ContextPanelPosition(QPoint cursor, QSize panel, QSize screen)
{
    QPoint p = cursor;
    if (cursor.x() + panel.width() >= screen.width())
        p.setX(screen.width() - panel.width());
    if (cursor.y() + panel.height() >= screen.height())
        p.setY(screen.height() - panel.height());
    return p;
}

void ApplyContextPanelRules(QVector<bool>& enabled, bool boardHasRecords, bool hasSelection, int collaborationLevel)
{
    if (enabled.size() < kEditCommandCount)
        enabled.resize(kEditCommandCount);
    if (boardHasRecords)
        enabled[kAll] = true;
    for (int command : {kCut, kCopy, kDelete, kToFront, kForward, kBackward, kToBack, kReset})
        enabled[command] = hasSelection;
    if (collaborationLevel != 0) {
        for (int i = 0; i < kEditCommandCount; ++i)
            enabled[i] = false;
    }
}

}  // namespace tools
