// Undo and redo of whole steps. A lone user and the host run them on their
// own list; a writer holding the tool right asks the host, which answers
// with the changed objects and its list's position.
#include <QDebug>

#include "app/ui/dialog.h"
#include "editing/undo_apply.h"

void Dialog::OptUndo()
{
    RunUndoCommand(false);
}

void Dialog::OptRedo()
{
    RunUndoCommand(true);
}

void Dialog::UR_Update_fpp(UndoRedo entry, EventMaster em, EventDetail ed, bool undo)
{
    Q_UNUSED(ed);
    ShiftStrokeSamples(m_board, entry, em.Kind, undo);
}

void Dialog::RunUndoCommand(bool redo)
{
    const int action = redo ? 4 : 3;
    const int level = m_collUserLevel;
    if (level == 2) {
        if (ToolRightHeld()) {
            ResetSelection();
            Coll_Send_UndoRedo(0, QString(), action);
        }
        return;
    }
    if (level != 0 && level != 3)
        return;
    if (redo ? !RedoAvailable(m_undo) : !m_undo.CanUndo())
        return;
    if (level == 3) {
        // The host's own strokes in progress are finished first and become
        // the newest step; the writer's is finished by the writer, which
        // then asks again.
        for (int slot = 0; slot < kMouseOverflowSlot; ++slot) {
            const PointerSlotState& s = m_board.slot[slot];
            if (s.pressed)
                PointerRelease(slot, s.current.x(), s.current.y(), true, false);
        }
        if (m_board.slot[kMouseOverflowSlot].pressed) {
            Coll_Send_MouseRelease(0, QString(), action);
            return;
        }
    }

    UndoPass pass;
    pass.recording = m_bRecording;
    pass.mediaPos = RecordingElapsedMs();
    const UndoStepResult step = RunUndoStep(m_undo, m_board, redo ? UndoDirection::Redo : UndoDirection::Undo, pass);
    if (!step.ran)
        return;
    for (quint16 id : step.missing)
        qDebug().noquote() << QStringLiteral("exe : %1 passes over object %2, which is gone")
                                  .arg(redo ? QStringLiteral("redo") : QStringLiteral("undo"))
                                  .arg(id);
    if (level == 3) {
        for (const PeerEdit& e : step.edits) {
            const QPoint* c = e.corners;
            Coll_Send_Modify(e.mode, MakeObjectKey(e.slot, e.eventId), e.eventId, e.offset.x(), e.offset.y(),
                             e.deleted, e.angle, e.rect, c[0].x(), c[0].y(), c[1].x(), c[1].y(), c[2].x(), c[2].y(),
                             c[3].x(), c[3].y(), 1, 1);
        }
        Coll_Send_URdata(0, QString(), m_undo.URIndex, m_undo.URList.size());
    }
    if (step.applied > 0)
        m_boardModified = true;
    UpdatePrevNextButtons();
    SelectionFrameShown = false;
    ClearSelection();
    NoteObjectKeys.clear();
    RedrawChangedObjects();
}
