#include "editing/edit_commands.h"

#include <cmath>
#include <utility>

#include "board/event_kind.h"
#include "board/figure_paths.h"

namespace {

bool IsStrokeKind(int kind)
{
    return kind == ekFree || kind == ekBrush;
}

bool SamePoint(QPointF a, QPointF b)
{
    return std::fabs(a.x() - b.x()) <= 1e-12 && std::fabs(a.y() - b.y()) <= 1e-12;
}

}  // namespace

ErasePoint StepErasePoint(const EventDetail& ed, double mediaPos, int eraseKind, int place, int size,
                          QRect& groupRect)
{
    ErasePoint ep;
    ep.EventID = ed.EventID;
    ep.MediaPos = mediaPos;
    ep.EraseKind = eraseKind;
    ep.BoundRF = ed.BoundRF;
    ep.Angle = ed.Angle;
    ep.GroupIndex = place;
    ep.GroupTotal = size;
    ep.GroupRect = QRect(-1, -1, -1, -1);
    if (size > 1) {
        groupRect = NormalizeRect(place == 1 ? ed.BoundRF : groupRect, ed.BoundRF, ed.Angle);
        if (place == size)
            ep.GroupRect = groupRect;
    }
    return ep;
}

void MarkObjectDeleted(BoardModel& board, int slot, EventDetail& ed, const ErasePoint& erase, bool recording)
{
    if (ed.Deleted)
        return;
    if (recording)
        board.slot[slot].erasePoints.append(erase);
    ed.PageDeleted = 1;
    ed.Deleted = 1;
}

ObjectClipboard CopyToClipboard(const BoardModel& board, const QStringList& keys)
{
    ObjectClipboard clipboard;
    for (const QString& key : keys) {
        const ConstObjectRef ref = FindObjectByKey(board, key);
        if (!ref.found())
            continue;
        clipboard.masters.append(*ref.master);
        clipboard.details.append(*ref.detail);
        clipboard.ClipboardKeys.append(key);
        clipboard.samples.append(IsStrokeKind(ref.master->Kind) ? board.FreePenMap.value(key)
                                                                 : QVector<FreePenPoint>());
    }
    return clipboard;
}

QVector<PastedObject> PasteFromClipboard(BoardModel& board, const ObjectClipboard& clipboard, int offset,
                                         const QString& noteName, double mediaPos)
{
    PointerSlotState& slot0 = board.slot[0];
    const QPointF d(offset, offset);
    QVector<PastedObject> pasted;
    pasted.reserve(clipboard.masters.size());
    for (int j = 0; j < clipboard.masters.size() && j < clipboard.details.size(); ++j) {
        const EventMaster& from = clipboard.masters[j];
        const EventDetail& fromDetail = clipboard.details[j];
        const quint16 id = quint16(slot0.nextEventId);
        ++slot0.nextEventId;

        PastedObject out;
        EventMaster& em = out.master;
        em.EventID = id;
        em.MediaPos = mediaPos;
        em.Kind = from.Kind;
        em.StrData = from.StrData;
        em.SCale = from.SCale;
        em.VScroll = from.VScroll;
        em.HScroll = from.HScroll;
        em.Slot = from.Slot;
        em.NoteName = noteName;

        EventDetail& ed = out.detail;
        ed.EventID = id;
        ed.S = fromDetail.S + d;
        ed.E = fromDetail.E + d;
        ed.M = fromDetail.M + d;
        ed.C = fromDetail.C + d;
        ed.OriginRF = fromDetail.OriginRF.translated(offset, offset);
        ed.BoundRF = fromDetail.BoundRF.translated(offset, offset);
        ed.PenColor = fromDetail.PenColor;
        ed.PenWidth = fromDetail.PenWidth;
        ed.Angle = fromDetail.Angle;
        ed.Transparent = fromDetail.Transparent;
        ed.CanvasWidth = fromDetail.CanvasWidth;
        ed.CanvasHeight = fromDetail.CanvasHeight;

        slot0.records.appendMaster(em);
        slot0.records.appendDetail(ed);

        if (IsStrokeKind(em.Kind) && j < clipboard.samples.size() && !clipboard.samples[j].isEmpty()) {
            QVector<FreePenPoint> samples = clipboard.samples[j];
            for (FreePenPoint& sample : samples) {
                sample.EventID = id;
                sample.S += d;
                sample.M += d;
                sample.MediaPos = mediaPos;
            }
            slot0.allPoints += samples;
            board.FreePenMap.insert(MakeObjectKey(0, id), samples);
        }
        pasted.append(out);
    }
    return pasted;
}

bool ResetObjectGeometry(BoardModel& board, const QString& key, const ObjectRef& ref, PreData* before,
                         bool recording, double mediaPos)
{
    EventDetail& ed = *ref.detail;
    PreData kept;
    kept.M = ed.M;
    kept.C = ed.C;
    kept.BoundRF = ed.BoundRF;
    kept.Angle = ed.Angle;
    if (before)
        *before = kept;
    if (SamePoint(ed.S, kept.M) && SamePoint(ed.E, kept.C) && ed.OriginRF == kept.BoundRF && kept.Angle == 0.f)
        return false;

    ed.M = ed.S;
    ed.C = ed.E;
    ed.BoundRF = ed.OriginRF;
    ed.Angle = 0.f;
    if (IsStrokeKind(ref.master->Kind)) {
        const auto samples = board.FreePenMap.find(key);
        if (samples != board.FreePenMap.end()) {
            for (FreePenPoint& sample : *samples)
                sample.M = sample.S;
            // The project save writes the slot's full list: it must hold
            // the stroke where it now is.
            CopyStrokeMovePoints(board.slot[ref.slot].allPoints, ed.EventID, *samples);
        }
    }
    if (recording) {
        ModifyPoint mp;
        mp.EventID = ed.EventID;
        mp.MediaPos = mediaPos;
        mp.Kind = ref.master->Kind;
        mp.ModifyKind = 0;
        mp.M = ed.M;
        mp.C = ed.C;
        mp.BoundRF = ed.BoundRF;
        mp.StrData = ref.master->StrData;
        mp.Angle = ed.Angle;
        mp.PrevBoundRF = kept.BoundRF;
        mp.PrevAngle = kept.Angle;
        mp.GroupIndex = 1;
        mp.GroupTotal = 1;
        mp.GroupRect = QRect(-1, -1, -1, -1);
        board.slot[ref.slot].modifyPoints.append(mp);
        ed.Modified = 1;
    }
    return true;
}

namespace {

template <typename T>
void MoveRecord(QVector<T>& table, int from, StackMove move, int neighbour)
{
    switch (move) {
    case StackMove::ToTop:
        table.append(table.takeAt(from));
        break;
    case StackMove::ToBottom:
        table.prepend(table.takeAt(from));
        break;
    case StackMove::UpOne:
    case StackMove::DownOne:
        if (neighbour >= 0)
            std::swap(table[from], table[neighbour]);
        break;
    }
}

}  // namespace

bool RestackObject(SlotRecords& records, quint16 eventId, StackMove move)
{
    const int n = records.masters().size();
    const int p = records.masterIndex(eventId);
    if (n < 2 || p < 0)
        return false;
    const bool atTop = p == n - 1;
    const bool atBottom = p == 0;
    if ((atTop && (move == StackMove::ToTop || move == StackMove::UpOne))
        || (atBottom && (move == StackMove::ToBottom || move == StackMove::DownOne)))
        return false;

    const int neighbourMaster = move == StackMove::UpOne ? p + 1 : move == StackMove::DownOne ? p - 1 : -1;
    const int detail = records.detailIndex(eventId);
    const int neighbourDetail =
        neighbourMaster >= 0 ? records.detailIndex(records.masters()[neighbourMaster].EventID) : -1;

    MoveRecord(records.editMasters(), p, move, neighbourMaster);
    // A detail record stands where its master does; one without a partner
    // (a damaged table) is left where it is.
    if (detail >= 0 && (neighbourMaster < 0 || neighbourDetail >= 0))
        MoveRecord(records.editDetails(), detail, move, neighbourDetail);
    return true;
}
