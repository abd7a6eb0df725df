#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector>

#include "board/board_model.h"
#include "editing/selection.h"
#include "editing/undo_list.h"

// Taking back and repeating the steps of the undo list on the board records.
// Each entry kind has one function that knows both directions; a step walks
// its entries newest first (undo) or oldest first (redo) and hands back what
// the peers are to hear of each object.

enum class UndoDirection { Undo, Redo };

// One undo or redo command: the clock of its recording events and the group
// rectangle its entries build up.
struct UndoPass {
    bool recording = false;
    double mediaPos = -1.0;
    int stepSize = 1;
    int place = 0;  // 1-based place of the entry being applied
    QRect groupRect;
    bool haveGroupRect = false;
};

// What the peers hear of one applied entry: the fields of one "MODIFY_SET"
// (mode 0 move, 1 resize, 2 deleted or restored, 3 rotate; -1 nothing).
struct PeerEdit {
    int mode = -1;
    int slot = 0;
    quint16 eventId = 0;
    QPoint offset;
    int deleted = 0;
    int angle = 0;
    QRect rect;
    QPoint corners[4];
};

// Logs a modify event of the object's new geometry while the pass records,
// and flags the object Modified; `withGroup` forms the group rectangle over
// the previous rectangle and angle.
void LogModify(BoardModel& board, const ObjectRef& ref, const QRect& prevRect, float prevAngle, bool withGroup,
               UndoPass& pass);

// The object an entry names: the first detail with its EventID in its slot,
// then the first master with the same EventID. Not found when either is
// missing.
ObjectRef FindEntryObject(BoardModel& board, const UndoRedo& entry);

// One function per entry kind. Each changes the object's records (and a
// stroke's samples in FreePenMap and in the slot's full list), logs the
// recording event while a recording runs and returns the peers' message.
PeerEdit ApplyCreationEntry(BoardModel& board, const UndoRedo& entry, const ObjectRef& ref, UndoDirection dir,
                            UndoPass& pass);
PeerEdit ApplyDeletionEntry(BoardModel& board, const UndoRedo& entry, const ObjectRef& ref, UndoDirection dir,
                            UndoPass& pass);
PeerEdit ApplyResizeEntry(BoardModel& board, const UndoRedo& entry, const ObjectRef& ref, UndoDirection dir,
                          UndoPass& pass);
// Moves and rotations: the same geometry, told to peers differently.
PeerEdit ApplyMoveEntry(BoardModel& board, const UndoRedo& entry, const ObjectRef& ref, UndoDirection dir,
                        UndoPass& pass);

// Applies one entry by its kind. False, with nothing changed, when its
// object is missing; an unknown kind changes nothing either.
bool ApplyUndoEntry(BoardModel& board, const UndoRedo& entry, UndoDirection dir, UndoPass& pass, PeerEdit* edit);

// Moves a stroke's samples by the entry's offset (back by it when undo):
// each move point is truncated toward zero, then shifted. Only free-pen and
// brush objects with samples change.
void ShiftStrokeSamples(BoardModel& board, const UndoRedo& entry, int kind, bool undo);

// Maps a stroke's move points from one rectangle onto another, as above.
void RescaleStrokeSamples(BoardModel& board, int slot, quint16 eventId, const QRect& from, const QRect& to);

// The result of a whole undo or redo step.
struct UndoStepResult {
    bool ran = false;         // there was a step to take
    int applied = 0;          // entries whose object was found
    QVector<quint16> missing; // EventIDs of entries whose object was gone
    QVector<PeerEdit> edits;  // in the order applied
};

// Whether redo may run: an entry after the index whose step is complete.
bool RedoAvailable(const UndoList& list);

// Takes back or repeats one whole step and moves the index across it. An
// entry whose object is gone is passed over: the step is always finished,
// so the index never rests inside a step.
UndoStepResult RunUndoStep(UndoList& list, BoardModel& board, UndoDirection dir, UndoPass pass);
