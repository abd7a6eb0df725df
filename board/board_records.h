#pragma once

#include <QColor>
#include <QMetaType>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QVector>

// The plain value records everything on the board is made of. They are copied
// by value into undo entries, the clipboard, project files and peer messages,
// so none of them holds a pointer.

// Input sources: touch points 0..9, the mouse/overflow slot 10.
constexpr int kPointerSlotCount = 11;
constexpr int kMouseOverflowSlot = 10;
constexpr quint16 kNoMediaIndex = 0xFFFF;

inline bool IsValidPointerSlot(int slot)
{
    return slot >= 0 && slot < kPointerSlotCount;
}

// The slot local input draws in, by the own collaboration level: alone (0)
// and as host (3) each source keeps its own slot; a writer (2) draws every
// source in slot 10, the one the host keeps for its writer; a viewer (1)
// draws nothing (-1).
inline int LocalInputSlot(int level, int ownSlot)
{
    if (level == 0 || level == 3)
        return ownSlot;
    if (level == 2)
        return kMouseOverflowSlot;
    return -1;
}

// One board object or event of a note page.
struct EventMaster {
    quint16 EventID = 0;
    double MediaPos = -1.0;
    int Kind = 0;
    quint16 StrData = kNoMediaIndex;
    double SCale = 1.0;
    quint16 VScroll = 0;
    quint16 HScroll = 0;
    quint16 Slot = 0;
    QString NoteName;
    QString Extra;
};

// Geometry and pen of the object with the same EventID in the same slot.
struct EventDetail {
    quint16 EventID = 0;
    QPointF S;
    QPointF E;
    QPointF M;
    QPointF C;
    QRect OriginRF;
    QRect BoundRF;
    QColor PenColor;
    quint16 PenWidth = 0;
    float Angle = 0.f;
    quint8 PageDeleted = 0;
    quint8 Deleted = 0;
    quint8 Selected = 0;
    quint8 Modified = 0;
    quint16 Transparent = 255;
    quint16 CanvasWidth = 0;
    quint16 CanvasHeight = 0;
    QPoint AuxPoints[4];
    // Alternative start and end pairs the event export uses when set.
    double AltSX = -1.0;
    double AltSY = -1.0;
    double AltEX = -1.0;
    double AltEY = -1.0;
    QRect AltRect{-1, -1, -1, -1};
    int ExportAngle = 0;
};

// One sample of a free-pen or brush stroke.
struct FreePenPoint {
    quint16 EventID = 0;
    double MediaPos = -1.0;
    float Press = 0.f;
    QPointF S;
    QPointF M;
    int MouseAction = 0;  // 1 press, 2 move, 3 release
};

// One erase event.
struct ErasePoint {
    quint16 EventID = 0;
    double MediaPos = 0.0;
    int EraseKind = 0;
    QRect BoundRF{0, 0, 0, 0};
    float Angle = 0.f;
    int GroupIndex = 0;
    int GroupTotal = 0;
    QRect GroupRect{0, 0, 0, 0};
};

// The geometry of an object before an edit.
struct PreData {
    QPointF M;
    QPointF C;
    QRect BoundRF{0, 0, 0, 0};
    float Angle = 0.f;
};

// Handle numbers of the selection frame: 1..4 corners, 5 rotation, 6 body,
// 7..10 edges. The polygon list holds 1..5 then 7..10.
constexpr int kSelectionHandleCount = 9;

// The selection frame of the current selection. FrameCorners and
// FrameCornersBefore are the edited object's bounds after and before an edit,
// document pixels; FrameRect runs from the first of them to the third (its
// centre is the pivot of a turn). The frame as drawn, turned, is in widget
// pixels: its corners and the handle polygons.
struct SelectionState {
    EventMaster Master;
    QPoint FrameCorners[4];
    QPoint FrameCornersBefore[4];
    QRect FrameRect;
    QPoint DrawnCorners[4];
    QPolygon Handles[kSelectionHandleCount];
};

// One entry of the note list.
struct NoteInfo {
    QString name;
    QString create_data;
    QString path;
    QString extra;
    QString imagePath;
    int type = 1;
    bool page_option = false;
    int width = 0;
    int height = 0;
};

// "slot-EventID", the text naming a board object.
QString MakeObjectKey(int slot, int eventId);

// Splits an object key. False (and the outputs untouched) unless the text is
// exactly two decimal parts joined by "-" with a valid slot and a 16-bit id.
bool ParseObjectKey(const QString& key, int* slot, int* eventId);

// Document coordinates of a widget position: p / zoom + scroll / zoom per axis.
QPointF DocumentPoint(QPointF widget, double zoom, int hscroll, int vscroll);

Q_DECLARE_METATYPE(EventMaster)
Q_DECLARE_METATYPE(EventDetail)
Q_DECLARE_METATYPE(FreePenPoint)
Q_DECLARE_METATYPE(ErasePoint)
Q_DECLARE_METATYPE(PreData)
Q_DECLARE_METATYPE(NoteInfo)
