#include "editing/whole_note.h"

#include <QHash>
#include <array>

#include "board/figure_paths.h"
#include "editing/edit_commands.h"
#include "editing/selection.h"

namespace {

bool IsStrokeKind(int kind)
{
    return kind == ekFree || kind == ekBrush;
}

QPointF Shifted(QPointF p, QPoint d)
{
    return QPointF(double(int(p.x()) + d.x()), double(int(p.y()) + d.y()));
}

}  // namespace

QStringList MoveAllTargets(const BoardModel& board, const QStringList& keys, const QString& noteName)
{
    return LiveObjectKeys(board, keys, noteName);
}

void MoveAllObjects(BoardModel& board, const QStringList& targets, QPoint d)
{
    // Where each stroke starts in its slot's full list, found once per slot
    // and call rather than once per stroke.
    std::array<QHash<quint16, int>, kPointerSlotCount> firstSample;
    std::array<bool, kPointerSlotCount> haveFirst{};
    for (const QString& key : targets) {
        const ObjectRef ref = FindObjectByKey(board, key);
        if (!ref.found())
            continue;
        EventDetail& ed = *ref.detail;
        ed.BoundRF.translate(d);
        if (!IsStrokeKind(ref.master->Kind)) {
            ed.M = Shifted(ed.M, d);
            ed.C = Shifted(ed.C, d);
            continue;
        }
        const auto samples = board.FreePenMap.find(key);
        if (samples == board.FreePenMap.end())
            continue;
        for (FreePenPoint& sample : *samples)
            sample.M = Shifted(sample.M, d);
        QVector<FreePenPoint>& all = board.slot[ref.slot].allPoints;
        if (!haveFirst[ref.slot]) {
            firstSample[ref.slot] = FirstSamplePositions(all);
            haveFirst[ref.slot] = true;
        }
        CopyStrokeMovePointsAt(all, firstSample[ref.slot].value(ed.EventID, 0), ed.EventID, *samples);
    }
}

QVector<MovedObject> MoveAllStep(BoardModel& board, const QStringList& targets, QPoint total, bool recording,
                                 double mediaPos)
{
    QVector<MovedObject> step;
    const int n = targets.size();
    QRect groupRect;
    bool haveGroupRect = false;
    for (int i = 0; i < n; ++i) {
        const ObjectRef ref = FindObjectByKey(board, targets[i]);
        if (!ref.found())
            continue;
        EventDetail& ed = *ref.detail;
        const EventMaster& em = *ref.master;
        MovedObject moved;
        moved.key = targets[i];
        moved.slot = ref.slot;
        // A stroke moves by its samples; its M and C stay where they were.
        const QPointF back = IsStrokeKind(em.Kind) ? QPointF() : QPointF(total);
        moved.before.M = ed.M - back;
        moved.before.C = ed.C - back;
        moved.before.BoundRF = ed.BoundRF.translated(-total);
        moved.before.Angle = ed.Angle;
        if (recording) {
            ed.Modified = 1;
            ModifyPoint mp;
            mp.EventID = ed.EventID;
            mp.MediaPos = mediaPos;
            mp.Kind = em.Kind;
            mp.ModifyKind = n == 1 ? 0 : 2;
            mp.M = ed.M;
            mp.C = ed.C;
            mp.BoundRF = ed.BoundRF;
            mp.StrData = em.StrData;
            mp.Angle = ed.Angle;
            mp.PrevBoundRF = moved.before.BoundRF;
            mp.PrevAngle = ed.Angle;
            mp.GroupIndex = i + 1;
            mp.GroupTotal = n;
            if (n > 1) {
                const QRect prev = moved.before.BoundRF;
                groupRect = NormalizeRect(haveGroupRect ? groupRect : prev, prev, ed.Angle);
                haveGroupRect = true;
                if (i + 1 == n)
                    mp.GroupRect = groupRect;
            }
            board.slot[ref.slot].modifyPoints.append(mp);
        }
        moved.master = em;
        moved.detail = ed;
        RectCorners(ed.BoundRF, moved.corners);
        step.append(moved);
    }
    return step;
}

QVector<ErasedObject> EraseAllObjects(BoardModel& board, const QString& noteName, bool recording, double mediaPos)
{
    struct Live {
        int slot;
        const EventMaster* master;
        EventDetail* detail;
    };
    QVector<Live> live;
    for (int s = 0; s < kPointerSlotCount; ++s) {
        SlotRecords& records = board.slot[s].records;
        for (const EventMaster& em : records.masters()) {
            if (em.Kind == ekImage || em.NoteName != noteName)
                continue;
            EventDetail* ed = records.findDetail(em.EventID);
            if (ed && !ed->Deleted)
                live.append({s, &em, ed});
        }
    }
    QVector<ErasedObject> erased;
    erased.reserve(live.size());
    const int n = live.size();
    QRect groupRect;
    for (int p = 1; p <= n; ++p) {
        const Live& ref = live[p - 1];
        EventDetail& ed = *ref.detail;
        ErasedObject out;
        out.slot = ref.slot;
        out.master = *ref.master;
        out.detail = ed;
        // Erase all marks every object as one of several, even alone.
        out.erase = StepErasePoint(ed, mediaPos, 2, p, n, groupRect);
        MarkObjectDeleted(board, ref.slot, ed, out.erase, recording);
        erased.append(out);
    }
    return erased;
}
