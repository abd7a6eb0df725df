#pragma once

// The board's context panel without widgets: where it opens and which of the
// twelve editing commands it offers.

#include <QPoint>
#include <QSize>
#include <QVector>

namespace tools {

// The editing commands in the order the window keeps their actions.
enum EditCommand {
    kCut,
    kCopy,
    kPaste,
    kDelete,
    kAll,
    kToFront,
    kForward,
    kBackward,
    kToBack,
    kGroup,
    kUngroup,
    kReset,
    kEditCommandCount
};

// The panel opens at the cursor; where it would reach the screen's right or
// bottom edge it is pulled back to end there.
QPoint ContextPanelPosition(QPoint cursor, QSize panel, QSize screen);

// Updates the enabled states of the twelve editing commands (indexed by
// EditCommand) for the panel: All comes on once the board holds anything
// (it is never switched off here), the commands on a selection follow the
// selection, and a shared board offers none of them. Paste, Group and Ungroup
// keep the state their own commands gave them.
void ApplyContextPanelRules(QVector<bool>& enabled, bool boardHasRecords, bool hasSelection, int collaborationLevel);

}  // namespace tools
