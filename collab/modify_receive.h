#pragma once

// A peer's object edit ("MODIFY_SET") applied to the board records: the
// move, resize, delete or rotation of one object, scaled from the sender's
// board to ours. Works on a BoardModel alone; the window adds the selection
// frame, the undo list and the redraw.

#include "board/board_model.h"
#include "collab/board_push.h"
#include "collab/coll_messages.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

namespace coll {

// The board sizes an edit is scaled between, and whose level we have.
struct ModifyContext {
    int ownLevel = 0;
    QSize local;
    QSize host;    // from the host's "RESOLUTION_SET"; empty until then
    QSize writer;  // from the writer's
    QString currentPage;  // the Create stamp of the page shown
};

// The remote board an edit from `senderLevel` is scaled from: a viewer
// follows the sender, a writer always the host, the host always the writer;
// alone nothing. 1.0 while that board's size is unknown.
BoardScale ModifyScale(const ModifyContext& context, int senderLevel);

// value × factor + 0.5, truncated toward zero (10 → 10, −10 → −9 at 1.0).
int RoundScaled(int value, double factor);

// One entry for the host's undo list, as InsertURList takes it.
struct ModifyUndoEntry {
    int kind = 0;  // UndoRedoKind: 2 delete, 3 move, 4 resize, 5 rotate
    int slot = 0;
    EventMaster master;
    EventDetail detail;
    ErasePoint erase;
    PreData before;
    int place = 1;
    int size = 1;
    QPoint offset;
};

struct ModifyOutcome {
    // Why the message changed nothing (a debug line); empty when applied.
    QString dropped;
    int changedRecords = 0;
    // A move sets the selection frame's corners, a rotation its angle.
    bool cornersSet = false;
    QPoint corners[4];
    bool angleSet = false;
    float angle = 0.f;
    // The two packet-log lines of each resized record.
    QStringList logLines;
    // Filled only when `makeUndo` is set (the host).
    QVector<ModifyUndoEntry> undo;
};

// Applies one "MODIFY_SET" data text. A key without "-", a slot outside
// 0..10, an object that is not in the slot's tables or an unknown edit kind
// drops the message with the tables untouched.
ModifyOutcome ApplyModify(BoardModel& board, const Fields& fields, const ModifyContext& context, bool makeUndo);

}  // namespace coll
