#pragma once

#include "board/board_model.h"
#include "board/board_records.h"

#include <QImage>
#include <QVector>

// What a background job reads of the board, copied on the GUI thread when the
// job starts. The containers and images share their data until the board
// changes them, so taking it costs next to nothing, and the job never reads a
// table while peers' strokes are added to it.
struct JobSnapshot {
    BoardModel board;
    QVector<NoteInfo> notes;
    NoteInfo currentNote;
    int noteIndex = 0;
    QImage backgroundImage;
    QImage viewImage;
};
