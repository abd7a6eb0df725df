#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include "board/board_model.h"

// The selection's arithmetic, without a window: finding an object by its
// key, the hit tests of a tap and of a dragged area, the frame rectangle
// around the selected objects and the page area a frame covers. Object
// geometry is in document pixels; taps, areas and frames in widget pixels.

// How the board is shown: a document point p lies at p * zoom - scroll.
struct BoardView {
    double zoom = 1.0;
    int hscroll = 0;
    int vscroll = 0;
};

QPointF ToWidget(QPointF document, const BoardView& view);

// One object of the board: its slot and its two records. Null records when
// the key names nothing.
struct ObjectRef {
    int slot = -1;
    EventMaster* master = nullptr;
    EventDetail* detail = nullptr;
    bool found() const { return master && detail; }
};
struct ConstObjectRef {
    int slot = -1;
    const EventMaster* master = nullptr;
    const EventDetail* detail = nullptr;
    bool found() const { return master && detail; }
};

// The object a key names: a valid key below the slot's counter, its master
// found by EventID and the detail with that master's EventID. Every editing
// operation that walks the selection finds its objects through this.
ObjectRef FindObjectByKey(BoardModel& board, const QString& key);
ConstObjectRef FindObjectByKey(const BoardModel& board, const QString& key);

// The keys that name a live object of the note, in list order. A step built
// from them has its places 1..n without a gap.
QStringList LiveObjectKeys(const BoardModel& board, const QStringList& keys, const QString& noteName);

// Hit band of an object in widget pixels: opaque ink is easier to hit than
// translucent highlighter ink.
int HitTolerance(const EventDetail& ed);

// A stroke's samples as integer widget points, turned with the object when
// its angle is above 0.
QVector<QPoint> StrokeWidgetPoints(const QVector<FreePenPoint>& samples, const EventDetail& ed,
                                   const BoardView& view);

// The point a turned figure turns about when a tap or an eraser band is
// turned into its own frame: the centre of the rectangle spanned by its two
// points (widget pixels), rounded in single precision.
QPoint FigureCentre(QPointF m, QPointF c);

// Whether a tap at `tap` hits a figure (every kind but the strokes).
bool FigureHitAtPoint(int kind, const EventDetail& ed, const BoardView& view, QPoint tap, int tolerance);
// Whether a tap hits a stroke: some sample (turned with the object) within
// the tolerance box.
bool StrokeHitAtPoint(const QVector<FreePenPoint>& samples, const EventDetail& ed, const BoardView& view, QPoint tap,
                      int tolerance);
// Whether the area between the corners a and b touches a figure or a stroke.
bool FigureHitInArea(int kind, const EventDetail& ed, const BoardView& view, QPoint a, QPoint b);
bool StrokeHitInArea(const QVector<QPoint>& points, QPoint a, QPoint b);

struct PickedObject {
    int slot = 0;
    quint16 eventId = 0;
};

// The objects a tap picks: per slot the topmost figure it hits; a stroke hit
// ends the whole scan. Only live objects of the note are hit.
QVector<PickedObject> PickObjectsAtPoint(const BoardModel& board, const QString& noteName, const BoardView& view,
                                         QPoint tap);
// Every live object of the note that the area touches, slot by slot, oldest
// first.
QVector<PickedObject> PickObjectsInArea(const BoardModel& board, const QString& noteName, const BoardView& view,
                                        QPoint a, QPoint b);

// The corners (top-left, top-right, bottom-right, bottom-left) of a
// rectangle, the right and bottom taken as x + width and y + height.
void RectCorners(const QRect& r, QPoint corners[4]);
// The rectangle from the first corner to the third.
QRect RectFromCorners(const QPoint corners[4]);

// The selection frame rectangle around the selected objects, margin for the
// pen width included. An empty selection gives the margin square around the
// widget origin.
QRect SelectionFrameRect(const BoardModel& board, const QStringList& keys, const BoardView& view);

// The page area under a frame drawn around `rect` turned by `angle` about
// its centre, or through the four turned `corners`: their bounding box grown
// by 32 pixels for the frame's pen and handles.
QRect FrameRestoreArea(const QRect& rect, double angle);
QRect FrameRestoreArea(const QPoint corners[4]);
