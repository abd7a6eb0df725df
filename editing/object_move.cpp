#include "editing/object_move.h"

#include "board/figure_paths.h"
#include "editing/selection.h"

QPoint MoveOffset(QPoint current, QPoint pressPoint, double zoom)
{
    return QPoint(int((current.x() - pressPoint.x()) / zoom), int((current.y() - pressPoint.y()) / zoom));
}

namespace {

QPointF Shifted(QPointF p, QPoint offset)
{
    return QPointF(double(int(p.x()) + offset.x()), double(int(p.y()) + offset.y()));
}

}  // namespace

MoveStep MoveObjects(BoardModel& board, const QStringList& keys, QPoint offset, bool recording, double mediaPos,
                     QPoint cornersBefore[4], QPoint corners[4])
{
    MoveStep step;
    QVector<ObjectRef> refs;
    QStringList found;
    for (const QString& key : keys) {
        const ObjectRef ref = FindObjectByKey(board, key);
        if (ref.found()) {
            refs.append(ref);
            found.append(key);
        }
    }
    const int n = refs.size();
    bool haveGroupRect = false;
    for (int i = 0; i < n; ++i) {
        const ObjectRef& ref = refs[i];
        EventDetail& ed = *ref.detail;
        const EventMaster& em = *ref.master;
        MovedObject moved;
        moved.key = found[i];
        moved.slot = ref.slot;
        moved.before.M = ed.M;
        moved.before.C = ed.C;
        moved.before.BoundRF = ed.BoundRF;
        moved.before.Angle = ed.Angle;

        bool changed = true;
        if (em.Kind == ekFree || em.Kind == ekBrush) {
            auto samples = board.FreePenMap.find(moved.key);
            if (samples == board.FreePenMap.end()) {
                changed = false;
            } else {
                for (FreePenPoint& sample : *samples)
                    sample.M = Shifted(sample.M, offset);
                // The slot's full list is what a project save writes: both
                // lists must hold the same points.
                CopyStrokeMovePoints(board.slot[ref.slot].allPoints, ed.EventID, *samples);
            }
        } else {
            ed.M = Shifted(ed.M, offset);
            ed.C = Shifted(ed.C, offset);
        }
        if (changed) {
            RectCorners(ed.BoundRF, cornersBefore);
            for (int c = 0; c < 4; ++c)
                corners[c] = cornersBefore[c] + offset;
            ed.BoundRF.translate(offset);
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
                mp.PrevAngle = moved.before.Angle;
                mp.GroupIndex = i + 1;
                mp.GroupTotal = n;
                if (n > 1) {
                    const QRect prev = moved.before.BoundRF;
                    step.groupRect = NormalizeRect(haveGroupRect ? step.groupRect : prev, prev, moved.before.Angle);
                    haveGroupRect = true;
                    if (i + 1 == n)
                        mp.GroupRect = step.groupRect;
                }
                board.slot[ref.slot].modifyPoints.append(mp);
            }
        }
        moved.master = em;
        moved.detail = ed;
        for (int c = 0; c < 4; ++c)
            moved.corners[c] = corners[c];
        step.objects.append(moved);
    }
    return step;
}
