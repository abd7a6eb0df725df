// The enabled state of the page, undo and edit commands, and the page
// counter's place beside the toolbar.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "ui_dialog.h"

#include <QAction>

void Dialog::SetPageButtonsEnabled(bool previous, bool next)
{
    ui->prebtn->setEnabled(previous);
    ui->postbtn->setEnabled(next);
    // The launcher steps through the same pages.
    if (m_floatingMain) {
        m_floatingMain->SetPrevDisabled(!previous);
        m_floatingMain->SetNextDisabled(!next);
    }
}

void Dialog::SetPageNaviEnable(int index, int count)
{
    const NaviEnable e = PageNaviRule(index, count);
    SetPageButtonsEnabled(e.previous, e.next);
}

// A host who has handed the tool right on leaves the pages to its holder.
void Dialog::SetNoteNaviEnable()
{
    m_note_cnt = m_note_list.size();
    if (m_note_cnt == 1 || (m_collUserLevel == 3 && !ToolRightHeld())) {
        SetPageButtonsEnabled(false, false);
        return;
    }
    SetPageNaviEnable(m_note_idx, m_note_cnt);
}

// A lone user and a host with the tool right follow their own undo list; a
// writer with the tool right follows the host's list as last received.
void Dialog::UpdatePrevNextButtons()
{
    bool undo = false;
    bool redo = false;
    if (m_collUserLevel == 0 || (m_collUserLevel == 3 && ToolRightHeld())) {
        undo = m_undo.CanUndo();
        redo = m_undo.CanRedo();
    } else if (m_collUserLevel == 2 && ToolRightHeld()) {
        undo = m_hostUndoIndex >= 0 && m_hostUndoSize > 0;
        redo = m_hostUndoIndex + 1 < m_hostUndoSize;
    }
    ui->undobtn->setEnabled(undo);
    ui->redobtn->setEnabled(redo);
    if (m_undoAction)
        m_undoAction->setEnabled(undo);
    if (m_redoAction)
        m_redoAction->setEnabled(redo);
}

// Cut leaves something to paste; copy leaves something to paste and the
// board to select from.
void Dialog::SetEditActionEnable(int state)
{
    for (QAction* a : qAsConst(m_editActions)) {
        if (a)
            a->setEnabled(false);
    }
    if (m_editActions.size() < 5)
        return;
    // Cut, Copy, Paste, Delete, All, ...
    if (state == 1 || state == 2)
        m_editActions[2]->setEnabled(true);
    if (state == 2)
        m_editActions[4]->setEnabled(true);
}

void Dialog::SetPageLabelGeometry(bool useGiven, int index, int count)
{
    const PageLabelRects r = PageLabelGeometry(m_toolbarPosition, m_canvasWidth, m_scale, useGiven ? index : m_note_idx,
                                               useGiven ? count : m_note_cnt);
    ui->notelistLabel->setGeometry(r.page);
    ui->rectimeLabel->setGeometry(r.time);
}
