#include "editing/undo_apply.h"

#include "board/event_kind.h"
#include "board/figure_paths.h"

namespace {

bool IsStrokeKind(int kind)
{
    return kind == ekFree || kind == ekBrush;
}

const QRect kNoGroupRect(-1, -1, -1, -1);

// Erase kind and modify kind: 0 for a step of one object, 2 for several.
int GroupKind(const UndoPass& pass)
{
    return pass.stepSize > 1 ? 2 : 0;
}

// Takes the rectangle, turned by its angle, into the pass's group rectangle.
// The last entry of a step of several carries the group; every other entry
// carries none.
QRect TakeIntoGroup(UndoPass& pass, const QRect& r, float angle)
{
    if (pass.stepSize <= 1)
        return kNoGroupRect;
    pass.groupRect = NormalizeRect(pass.haveGroupRect ? pass.groupRect : r, r, angle);
    pass.haveGroupRect = true;
    return pass.place == pass.stepSize ? pass.groupRect : kNoGroupRect;
}

void LogErase(BoardModel& board, int slot, const EventDetail& ed, UndoPass& pass)
{
    if (!pass.recording)
        return;
    ErasePoint ep;
    ep.EventID = ed.EventID;
    ep.MediaPos = pass.mediaPos;
    ep.EraseKind = GroupKind(pass);
    ep.BoundRF = ed.BoundRF;
    ep.Angle = ed.Angle;
    ep.GroupIndex = pass.place;
    ep.GroupTotal = pass.stepSize;
    ep.GroupRect = TakeIntoGroup(pass, ed.BoundRF, ed.Angle);
    board.slot[slot].erasePoints.append(ep);
}

// A modify event with the object's new geometry; `withGroup` forms the group
// rectangle over the previous rectangle and angle.
void LogModify(BoardModel& board, const ObjectRef& ref, const QRect& prevRect, float prevAngle, bool withGroup,
               UndoPass& pass)
{
    if (!pass.recording)
        return;
    const EventMaster& em = *ref.master;
    EventDetail& ed = *ref.detail;
    ModifyPoint mp;
    mp.EventID = ed.EventID;
    mp.MediaPos = pass.mediaPos;
    mp.Kind = em.Kind;
    mp.ModifyKind = GroupKind(pass);
    mp.M = ed.M;
    mp.C = ed.C;
    mp.BoundRF = ed.BoundRF;
    mp.StrData = em.StrData;
    mp.Angle = ed.Angle;
    mp.PrevBoundRF = prevRect;
    mp.PrevAngle = prevAngle;
    mp.GroupIndex = pass.place;
    mp.GroupTotal = pass.stepSize;
    if (withGroup)
        mp.GroupRect = TakeIntoGroup(pass, prevRect, prevAngle);
    ed.Modified = 1;
    board.slot[ref.slot].modifyPoints.append(mp);
}

PeerEdit EditOf(const ObjectRef& ref, int mode)
{
    PeerEdit edit;
    edit.mode = mode;
    edit.slot = ref.slot;
    edit.eventId = ref.detail->EventID;
    return edit;
}

PeerEdit DeletedEdit(const ObjectRef& ref, bool deleted)
{
    PeerEdit edit = EditOf(ref, 2);
    edit.deleted = deleted ? 1 : 0;
    return edit;
}

void DeleteObject(BoardModel& board, const ObjectRef& ref, UndoPass& pass)
{
    EventDetail& ed = *ref.detail;
    if (!ed.Deleted) {
        ed.PageDeleted = 1;
        ed.Deleted = 1;
    }
    LogErase(board, ref.slot, ed, pass);
}

void RestoreObject(BoardModel& board, const ObjectRef& ref, UndoPass& pass)
{
    ref.detail->Deleted = 0;
    LogModify(board, ref, QRect(-1, -1, -1, -1), -1.f, false, pass);
}

// The geometry an entry holds for one side of its change.
struct Geometry {
    QPointF m;
    QPointF c;
    QRect bound;
    float angle = 0.f;
};

Geometry Before(const UndoRedo& e)
{
    return {e.BeforeM, e.BeforeC, e.BeforeBoundRF, e.BeforeAngle};
}

Geometry After(const UndoRedo& e)
{
    return {e.AfterM, e.AfterC, e.AfterBoundRF, e.AfterAngle};
}

void SetGeometry(EventDetail& ed, const Geometry& g)
{
    ed.M = g.m;
    ed.C = g.c;
    ed.BoundRF = g.bound;
    ed.Angle = g.angle;
}

// Maps v from one span onto another; a span without extent keeps v.
double MapAxis(double v, int fromStart, int fromExtent, int toStart, int toExtent)
{
    if (fromExtent == 0)
        return v;
    return toStart + (v - fromStart) * toExtent / double(fromExtent);
}

}  // namespace

ObjectRef FindEntryObject(BoardModel& board, const UndoRedo& entry)
{
    ObjectRef ref;
    if (!IsValidPointerSlot(entry.Slot))
        return ref;
    SlotRecords& records = board.slot[entry.Slot].records;
    EventDetail* detail = records.findDetail(entry.EventID);
    EventMaster* master = detail ? records.findMaster(entry.EventID) : nullptr;
    if (!master)
        return ref;
    ref.slot = entry.Slot;
    ref.master = master;
    ref.detail = detail;
    return ref;
}

void ShiftStrokeSamples(BoardModel& board, const UndoRedo& entry, int kind, bool undo)
{
    if (!IsStrokeKind(kind) || !IsValidPointerSlot(entry.Slot))
        return;
    const auto samples = board.FreePenMap.find(MakeObjectKey(entry.Slot, entry.EventID));
    if (samples == board.FreePenMap.end())
        return;
    const int sign = undo ? -1 : 1;
    const int dx = sign * entry.Offset.x();
    const int dy = sign * entry.Offset.y();
    for (FreePenPoint& sample : *samples)
        sample.M = QPointF(double(int(sample.M.x()) + dx), double(int(sample.M.y()) + dy));
    // The full list is what a project save writes.
    CopyStrokeMovePoints(board.slot[entry.Slot].allPoints, entry.EventID, *samples);
}

QPointF MapPointBetweenRects(QPointF p, const QRect& from, const QRect& to)
{
    return QPointF(MapAxis(p.x(), from.x(), from.width(), to.x(), to.width()),
                   MapAxis(p.y(), from.y(), from.height(), to.y(), to.height()));
}

void RescaleStrokeSamples(BoardModel& board, int slot, quint16 eventId, const QRect& from, const QRect& to)
{
    if (!IsValidPointerSlot(slot))
        return;
    const auto samples = board.FreePenMap.find(MakeObjectKey(slot, eventId));
    if (samples == board.FreePenMap.end())
        return;
    for (FreePenPoint& sample : *samples)
        sample.M = MapPointBetweenRects(sample.M, from, to);
    CopyStrokeMovePoints(board.slot[slot].allPoints, eventId, *samples);
}

PeerEdit ApplyCreationEntry(BoardModel& board, const UndoRedo&, const ObjectRef& ref, UndoDirection dir,
                            UndoPass& pass)
{
    if (dir == UndoDirection::Undo) {
        DeleteObject(board, ref, pass);
        return DeletedEdit(ref, true);
    }
    RestoreObject(board, ref, pass);
    return DeletedEdit(ref, false);
}

PeerEdit ApplyDeletionEntry(BoardModel& board, const UndoRedo&, const ObjectRef& ref, UndoDirection dir,
                            UndoPass& pass)
{
    if (dir == UndoDirection::Undo) {
        RestoreObject(board, ref, pass);
        return DeletedEdit(ref, false);
    }
    DeleteObject(board, ref, pass);
    return DeletedEdit(ref, true);
}

PeerEdit ApplyResizeEntry(BoardModel& board, const UndoRedo& entry, const ObjectRef& ref, UndoDirection dir,
                          UndoPass& pass)
{
    const bool undo = dir == UndoDirection::Undo;
    const Geometry from = undo ? After(entry) : Before(entry);
    const Geometry to = undo ? Before(entry) : After(entry);
    SetGeometry(*ref.detail, to);
    if (IsStrokeKind(ref.master->Kind))
        RescaleStrokeSamples(board, ref.slot, ref.detail->EventID, from.bound, to.bound);
    LogModify(board, ref, from.bound, from.angle, true, pass);
    PeerEdit edit = EditOf(ref, 1);
    edit.rect = to.bound;
    return edit;
}

PeerEdit ApplyMoveEntry(BoardModel& board, const UndoRedo& entry, const ObjectRef& ref, UndoDirection dir,
                        UndoPass& pass)
{
    const bool undo = dir == UndoDirection::Undo;
    const Geometry from = undo ? After(entry) : Before(entry);
    const Geometry to = undo ? Before(entry) : After(entry);
    EventDetail& ed = *ref.detail;
    SetGeometry(ed, to);
    // A repeated move or turn is an edit of the object whether or not a
    // recording runs; taking one back marks it only for the recording.
    if (!undo)
        ed.Modified = 1;
    ShiftStrokeSamples(board, entry, ref.master->Kind, undo);
    LogModify(board, ref, from.bound, from.angle, true, pass);
    if (entry.Kind == URKindRotate) {
        PeerEdit edit = EditOf(ref, 3);
        edit.angle = int(to.angle);
        return edit;
    }
    PeerEdit edit = EditOf(ref, 0);
    edit.offset = undo ? -entry.Offset : entry.Offset;
    // Peers take the object's new bounds from these corners.
    RectCorners(to.bound, edit.corners);
    return edit;
}

bool ApplyUndoEntry(BoardModel& board, const UndoRedo& entry, UndoDirection dir, UndoPass& pass, PeerEdit* edit)
{
    const ObjectRef ref = FindEntryObject(board, entry);
    if (!ref.found())
        return false;
    PeerEdit result;
    switch (entry.Kind) {
    case URKindAdd:
        result = ApplyCreationEntry(board, entry, ref, dir, pass);
        break;
    case URKindDelete:
        result = ApplyDeletionEntry(board, entry, ref, dir, pass);
        break;
    case URKindResize:
        result = ApplyResizeEntry(board, entry, ref, dir, pass);
        break;
    case URKindMove:
    case URKindRotate:
        result = ApplyMoveEntry(board, entry, ref, dir, pass);
        break;
    default:
        break;
    }
    if (edit)
        *edit = result;
    return true;
}

bool RedoAvailable(const UndoList& list)
{
    const int next = list.URIndex + 1;
    return next >= 0 && next < list.URList.size() && list.URList[next].Step <= list.URStepCount - 1;
}

UndoStepResult RunUndoStep(UndoList& list, BoardModel& board, UndoDirection dir, UndoPass pass)
{
    UndoStepResult result;
    const bool undo = dir == UndoDirection::Undo;
    if (undo ? !(list.CanUndo() && list.URIndex < list.URList.size()) : !RedoAvailable(list))
        return result;
    result.ran = true;
    const UndoRedo& first = list.URList[undo ? list.URIndex : list.URIndex + 1];
    const int step = first.Step;
    const int n = qMax(1, first.StepSize);
    pass.stepSize = n;
    pass.haveGroupRect = false;
    for (int i = 0; i < n; ++i) {
        const int at = undo ? list.URIndex : list.URIndex + 1;
        // Never into the neighbouring step, whatever a step size says.
        if (at < 0 || at >= list.URList.size() || list.URList[at].Step != step)
            break;
        if (!undo)
            ++list.URIndex;
        const UndoRedo entry = list.URList[at];
        pass.place = i + 1;
        PeerEdit edit;
        if (ApplyUndoEntry(board, entry, dir, pass, &edit)) {
            ++result.applied;
            if (edit.mode >= 0)
                result.edits.append(edit);
        } else {
            result.missing.append(entry.EventID);
        }
        if (undo)
            --list.URIndex;
    }
    return result;
}
