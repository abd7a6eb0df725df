#pragma once

#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include "board/board_model.h"
#include "editing/selection.h"

// The edit menu's work on the board records, without a window: deleting
// objects as one step, the object clipboard, putting an object back to the
// geometry it was made with, and the stacking order within a slot.

// The erase event of one object deleted as place `place` of a step of
// `size` objects, with `eraseKind` as the event's kind. For a step of
// several, `groupRect` collects the union of the objects' bounds turned by
// their angles (place 1 starts it); the last place carries it.
ErasePoint StepErasePoint(const EventDetail& ed, double mediaPos, int eraseKind, int place, int size,
                          QRect& groupRect);

// Flags the object deleted; while recording its erase event is logged in the
// slot. An object already deleted is left as it is and logs nothing.
void MarkObjectDeleted(BoardModel& board, int slot, EventDetail& ed, const ErasePoint& erase, bool recording);

// Fills a fresh clipboard with the objects the keys name (live objects only,
// in key order). Each key is kept with its records, and a stroke's samples
// are copied with them: a paste made after the board was reset or another
// project loaded still draws the copied strokes, not whatever now carries
// their keys.
ObjectClipboard CopyToClipboard(const BoardModel& board, const QStringList& keys);

// One object a paste made, in slot 0.
struct PastedObject {
    EventMaster master;
    EventDetail detail;
};

// Adds a duplicate of every clipboard object to slot 0, shifted by `offset`
// document pixels right and down, on the note `noteName`, under slot 0's
// next EventIDs. Strokes get their samples in FreePenMap and in slot 0's full
// sample list. The duplicates are not selected.
QVector<PastedObject> PasteFromClipboard(BoardModel& board, const ObjectClipboard& clipboard, int offset,
                                         const QString& noteName, double mediaPos);

// Puts the object back to the geometry it was made with: M and C to S and E,
// the bounds to OriginRF, angle 0; a stroke's samples back to their first
// points, in FreePenMap and in the slot's full list. False, with nothing
// changed, when it already has that geometry. `before` receives the geometry
// it had; while recording a modify event is logged and the object is
// flagged Modified.
bool ResetObjectGeometry(BoardModel& board, const QString& key, const ObjectRef& ref, PreData* before,
                         bool recording, double mediaPos);

// Stacking within a slot: the order of its tables is the order objects are
// painted in, later over earlier.
enum class StackMove {
    ToTop,     // taken out and appended: painted over every object of its slot
    ToBottom,  // taken out and put first: painted under all of them
    UpOne,     // changes places with the record after it
    DownOne,   // changes places with the record before it
};

// Moves the object's master record and its detail record alike. False, with
// nothing changed, when the slot holds fewer than two records, the object is
// not there, or it already stands where the move would take it.
bool RestackObject(SlotRecords& records, quint16 eventId, StackMove move);
