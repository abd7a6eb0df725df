#include "editing/undo_list.h"

#include "board/event_kind.h"

int UndoEditKind(int kind)
{
    switch (kind) {
    case URKindMove:
        return ekMove;
    case URKindResize:
        return ekResize;
    case URKindRotate:
        return ekRotate;
    default:
        return 0;
    }
}

UndoRedo MakeUndoEntry(int kind, int slot, int tool, const QString& noteName, const EventMaster& em,
                       const EventDetail& ed, const ErasePoint& ep, const PreData& pd, int place,
                       int size, QPoint offset)
{
    UndoRedo entry;
    entry.Kind = kind;
    entry.NoteName = noteName;
    entry.Slot = slot;
    entry.StepPlace = place;
    entry.StepSize = size;
    entry.Tool = tool;
    entry.EditKind = UndoEditKind(kind);
    entry.EraseKind = ep.EraseKind;
    entry.EventID = ed.EventID;
    entry.BeforeM = pd.M;
    entry.BeforeC = pd.C;
    entry.BeforeBoundRF = pd.BoundRF;
    entry.BeforeAngle = pd.Angle;
    entry.AfterM = ed.M;
    entry.AfterC = ed.C;
    entry.AfterBoundRF = ed.BoundRF;
    entry.StrData = em.StrData;
    entry.AfterAngle = ed.Angle;
    entry.Deleted = ed.Deleted;
    entry.Modified = ed.Modified;
    entry.Offset = offset;
    return entry;
}

void UndoList::Clear()
{
    URList.clear();
    URIndex = 0;
    URStepCount = 0;
}

void UndoList::Insert(UndoRedo entry)
{
    // Full: the first entry of a new step pushes the oldest step out.
    if (URStepCount > kMaxSteps - 1 && !URList.isEmpty()) {
        const int oldestSize = qBound(1, URList.first().StepSize, URList.size());
        URList.remove(0, oldestSize);
        URIndex -= oldestSize;
        for (UndoRedo& e : URList)
            --e.Step;
        URStepCount = kMaxSteps - 1;
    }

    // A new action after undo discards the undone steps.
    if (!URList.isEmpty() && URIndex >= 0 && URIndex < URList.size()) {
        const int current = URList[URIndex].Step;
        if (current < URStepCount - 1) {
            int undone = 0;
            for (const UndoRedo& e : URList) {
                if (e.Step > current)
                    ++undone;
            }
            undone = qMin(undone, URList.size() - URIndex - 1);
            URList.remove(URIndex + 1, undone);
            URStepCount = current + 1;
        }
    }

    if (URIndex < 0) {
        URList.resize(0);
        URStepCount = 0;
    }

    entry.Step = URStepCount;
    URList.append(entry);
    URIndex = URList.size() - 1;
    if (entry.StepPlace == entry.StepSize)
        ++URStepCount;
}
