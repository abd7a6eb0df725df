#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include "board/board_model.h"
#include "editing/object_move.h"

// Edits of every object of a note at once: dragging them all and wiping
// them all.

// The objects a move-all drag moves: the keys that still name a live
// object of the note, in list order. Keys that name nothing are left out, so
// the places of the step run 1..n without a gap.
QStringList MoveAllTargets(const BoardModel& board, const QStringList& keys, const QString& noteName);

// Moves the objects by d in document pixels: figures and images shift their
// M and C (truncated toward zero first) and their bounds; strokes shift
// their samples (truncated likewise) in FreePenMap and in the slot's full
// list, and their bounds.
void MoveAllObjects(BoardModel& board, const QStringList& targets, QPoint d);

// The step a move-all drag leaves at its release: one entry per target with
// the drag's total offset; the geometry before is the one now moved back by
// the total (a stroke's M and C never moved). While recording each object
// logs a modify event and is flagged Modified; the last of several carries
// the group rectangle over the previous bounds.
QVector<MovedObject> MoveAllStep(BoardModel& board, const QStringList& targets, QPoint total, bool recording,
                                 double mediaPos);

// One object erase all takes away: its records as they were before, and the
// erase event of it.
struct ErasedObject {
    int slot = 0;
    EventMaster master;
    EventDetail detail;
    ErasePoint erase;
};

// Deletes every live object of the note except images, slot by slot in table
// order, as one step (erase kind 2, places 1..n; the last of several carries
// the group rectangle). While recording each erase event is logged in its
// slot.
QVector<ErasedObject> EraseAllObjects(BoardModel& board, const QString& noteName, bool recording, double mediaPos);
