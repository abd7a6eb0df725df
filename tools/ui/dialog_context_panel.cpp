// The board's context panel: the editing commands and the instruments at the
// pointer, reached by a right click or the pen's barrel button on the board.
#include "app/ui/dialog.h"
#include "tools/context_panel.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

bool Dialog::BoardHasRecords() const
{
    for (const PointerSlotState& s : m_board.slot) {
        if (!s.records.masters().isEmpty())
            return true;
    }
    return false;
}

void Dialog::UpdateContextPanelActions()
{
    QVector<bool> enabled;
    for (const QAction* a : qAsConst(m_editActions))
        enabled.append(a && a->isEnabled());
    tools::ApplyContextPanelRules(enabled, BoardHasRecords(), !m_select_id_str.isEmpty(), m_collUserLevel);
    for (int i = 0; i < m_editActions.size(); ++i) {
        if (m_editActions[i])
            m_editActions[i]->setEnabled(enabled[i]);
    }
}

void Dialog::OptRightMenu()
{
    ClearSubBtn();
    if (!m_editMenu)
        return;
    UpdateContextPanelActions();
    const QPoint at = tools::ContextPanelPosition(QCursor::pos(), m_editMenu->sizeHint(),
                                                  QSize(m_canvasWidth, m_canvasHeight));
    m_editMenu->popup(at);
}
