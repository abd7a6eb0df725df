#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include "board/board_model.h"

// Moving the selected objects by one document offset: the records change,
// strokes move their samples in FreePenMap and in the slot's full sample
// list alike, and a running recording gets one modify event per object.

// The drag from the press point to the current point (widget pixels) in
// document pixels, truncated toward zero.
QPoint MoveOffset(QPoint current, QPoint pressPoint, double zoom);

// One object of a move step, for its undo entry and its peer message.
struct MovedObject {
    QString key;
    int slot = 0;
    EventMaster master;
    EventDetail detail;  // after the move
    PreData before;
    QPoint corners[4];   // the frame corners sent for it (document pixels)
};

struct MoveStep {
    QVector<MovedObject> objects;  // in selection order; places 1..n
    QRect groupRect;               // union of the previous bounds, turned
};

// Moves every object the keys name by offset. Keys that name nothing are
// left out of the step, so its places run 1..n without a gap. cornersBefore
// and corners are the selection's frame corners: each moved object sets
// them to its bounds before and after; a stroke without samples keeps them.
// While recording, each moved object logs a ModifyPoint at mediaPos and is
// flagged Modified.
MoveStep MoveObjects(BoardModel& board, const QStringList& keys, QPoint offset, bool recording, double mediaPos,
                     QPoint cornersBefore[4], QPoint corners[4]);
