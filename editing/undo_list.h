#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector>

#include "board/board_records.h"

// What an undo entry records. The numbers are sent to peers.
enum UndoRedoKind : int {
    URKindAdd = 1,
    URKindDelete = 2,
    URKindMove = 3,
    URKindResize = 4,
    URKindRotate = 5,
};

// One entry of the undo list: one object touched by one user action.
struct UndoRedo {
    int Kind = 0;
    QString NoteName;
    int Slot = 0;
    int Step = 0;
    int StepPlace = 1;
    int StepSize = 1;
    int Tool = 0;
    int EditKind = 0;
    int EraseKind = 0;
    quint16 EventID = 0;
    QPointF BeforeM;
    QPointF BeforeC;
    QRect BeforeBoundRF;
    float BeforeAngle = 0.f;
    QPointF AfterM;
    QPointF AfterC;
    QRect AfterBoundRF;
    quint16 StrData = kNoMediaIndex;
    float AfterAngle = 0.f;
    quint8 Deleted = 0;
    quint8 Modified = 0;
    QPoint Offset;
};

// One modify event logged while a recording runs.
struct ModifyPoint {
    quint16 EventID = 0;
    double MediaPos = 0.0;
    int Kind = 0;
    int ModifyKind = 0;
    QPointF M;
    QPointF C;
    QRect BoundRF;
    quint16 StrData = kNoMediaIndex;
    float Angle = 0.f;
    QRect PrevBoundRF;
    float PrevAngle = 0.f;
    int GroupIndex = 0;
    int GroupTotal = 0;
    QRect GroupRect{-1, -1, -1, -1};
};

// The edit code an entry kind stands for: 0 for add and delete, then
// ekMove, ekResize and ekRotate.
int UndoEditKind(int kind);

// An entry from the records of an object after the change and its geometry
// before it. Step is left for the list to fill.
UndoRedo MakeUndoEntry(int kind, int slot, int tool, const QString& noteName, const EventMaster& em,
                       const EventDetail& ed, const ErasePoint& ep, const PreData& pd, int place,
                       int size, QPoint offset);

// The list of steps. A step is the run of entries of one user action; undo and
// redo always take whole steps. At most kMaxSteps complete steps are kept.
class UndoList
{
public:
    static constexpr int kMaxSteps = 50;

    QVector<UndoRedo> URList;
    int URIndex = 0;
    int URStepCount = 0;

    // Empties the list; index and step count back to 0.
    void Clear();

    // Appends one entry: drops the oldest step when the list is full,
    // discards undone steps, numbers the entry and completes its step when
    // its place is the last of the step.
    void Insert(UndoRedo entry);

    bool CanUndo() const { return URIndex >= 0 && !URList.isEmpty(); }
    bool CanRedo() const { return URIndex + 1 < URList.size(); }
};
