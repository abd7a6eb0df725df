#pragma once

#include <QSize>
#include <QString>

#include "board/board_model.h"

// What object creation needs to know of the view and the clock.
struct CreationContext {
    double zoom = 1.0;
    int hscroll = 0;
    int vscroll = 0;
    QSize widgetSize;
    QString noteName;
    int penAlpha = 255;           // alpha of the board's current pen colour
    bool recording = false;
    double recordingElapsedMs = 0.0;
};

struct CreatedObject {
    EventMaster master;
    EventDetail detail;
};

// The records of the object a slot has just finished (stroke, figure or,
// with a media index, an image), from the slot's press, current point and
// running corners. Pure: the board is not touched.
CreatedObject BuildObjectRecords(const PointerSlotState& s, int slot, quint16 mediaIndex,
                                 const CreationContext& ctx);

// Builds the records, appends them to the slot's tables, files a stroke's
// samples in FreePenMap under its key and advances the slot's counter.
// The caller enters the undo step. Returns the new records.
CreatedObject CreateBoardObject(BoardModel& board, int slot, quint16 mediaIndex,
                                const CreationContext& ctx);
