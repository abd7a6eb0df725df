#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>

#include "board/board_model.h"
#include "editing/selection.h"

// Resizing and turning one board object, without a window: where a dragged
// frame handle puts the frame, the snapping of angles to right angles, the
// pinch's scaled frame, the shift that keeps a turned object in place when
// its frame changes, and applying a new bounding rectangle or angle to the
// object's records. Frames and pointers are in widget pixels, object
// geometry in document pixels. The peers' "MODIFY_SET" carries the same
// rectangles and angles, so the receiver applies them with these functions.

// The frame handles that resize: 1..4 the corners top-left, top-right,
// bottom-right, bottom-left; 7..10 the sides top, right, bottom, left.
bool IsResizeHandle(int handle);

// Snaps an angle in degrees to 0, 90, 180 or 270 when it lies strictly
// within 5 degrees of it (above 355 counts as near 0). A negative angle is
// first raised by 360 once, so -30 is 330 and -400 (still negative) is 0.
double SnapRightAngle(double degrees);

// Document and widget pixels, truncated toward zero:
// widget = trunc(v * zoom - scroll), document = trunc((v + scroll) / zoom).
QPoint ToWidgetPixels(QPointF document, const BoardView& view);
QPoint ToDocumentPixels(QPoint widget, const BoardView& view);

// One resize drag: what the press grabbed and the frame it started from.
struct ResizeGrip {
    int handle = 0;
    QRect frame;         // the object's frame rectangle, document pixels
    double angle = 0.0;  // the object's angle, degrees
    bool lockX = false;  // a vertical arrow keeps its x
    bool lockY = false;  // a horizontal arrow keeps its y
    BoardView view;
    // Where the handle was pressed (widget pixels). When set, the drag
    // counts from there rather than from the frame's corner or side, so a
    // handle pressed and let go without moving changes nothing and the frame
    // does not jump by the handle's distance from the corner.
    bool fromPress = false;
    QPoint press;
};

// The centre of a rectangle of document pixels, in widget pixels: the pivot
// an object turns about.
QPoint WidgetCentre(const QRect& document, const BoardView& view);

// Where the pointer puts the frame. The pointer is first turned back by the
// object's angle about the frame centre. A corner keeps the frame's
// proportions, taking whichever of the x-driven and the y-driven candidate
// gives the larger frame; a side moves that side only. The frame never turns
// over: a pointer not strictly beyond the fixed corner, on an axis where the
// frame has extent, applies nothing.
struct ResizeResult {
    bool applies = false;
    QRect widgetFrame;    // the new upright frame, widget pixels
    QRect documentFrame;  // the same in document pixels: moved edges converted, the others kept
};
ResizeResult ResizeFrameAt(const ResizeGrip& grip, QPoint pointer);

// Writes the coordinates the handle moves from `frame` into the frame
// corners (top-left, top-right, bottom-right, bottom-left): a corner handle
// its own corner, a side handle that side's two coordinates.
void WriteMovedCorners(int handle, const QRect& frame, QPoint corners[4]);

// The corners of `frame` turned by `angle` degrees about `centre`.
void TurnedCorners(const QRect& frame, double angle, QPoint centre, QPoint corners[4]);

// A turned object turns about the centre of its bounding rectangle, and the
// centre moves when the rectangle changes: the shift to add to the new
// rectangle so that the corner the two share stays where it was on the
// screen. (0, 0) for angle 0.
QPoint PivotShift(const QRect& before, const QRect& after, double angle);

// The rectangle grown about its middle by scale: each edge moves by half the
// growth, trunc((scale - 1) * extent / 2), inward when scale < 1. Scale 1.0
// moves nothing.
QRect ScaleAboutMiddle(const QRect& r, double scale);

// The rotation handle's angle: the pointer's bearing from the frame centre,
// clockwise from straight up (widget pixels), snapped.
double HandleAngle(QPoint centre, QPoint pointer);

// Maps a point from one rectangle onto another; an axis on which `from` has
// no extent keeps its coordinate.
QPointF RescalePoint(QPointF p, const QRect& from, const QRect& to);

// One object changed by a resize or a turn, for its undo entry and its peer
// message. Unchanged (and nothing of the board touched) when the object is
// missing, deleted, on another note, of a kind that has no geometry to scale,
// or already at the angle.
struct ObjectEdit {
    bool changed = false;
    int slot = 0;
    EventMaster master;
    EventDetail detail;  // after the change
    PreData before;
};

// Gives the object (found by slot and EventID) the bounding rectangle
// `bound` (a negative extent becomes 0) and maps its M and C, or a stroke's
// samples in FreePenMap and in the slot's full list, from the old rectangle
// onto it. A stroke without samples is not changed. While recording the
// object logs one modify event at mediaPos.
ObjectEdit ResizeObject(BoardModel& board, int slot, quint16 eventId, const QString& noteName, QRect bound,
                        bool recording, double mediaPos);

// Gives the object the angle; its points and rectangle stay.
ObjectEdit RotateObject(BoardModel& board, int slot, quint16 eventId, const QString& noteName, float angle,
                        bool recording, double mediaPos);
