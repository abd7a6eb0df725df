#include "collab/modify_receive.h"

#include "editing/object_resize.h"
#include "editing/undo_apply.h"

#include <QDebug>
#include <QRect>
#include <cmath>

namespace coll {

namespace {

enum ModifyKind { kMove = 0, kResize = 1, kDelete = 2, kRotate = 3 };

bool IsStroke(int kind) { return kind == ekFree || kind == ekBrush; }

// Images, lines and the figures: the objects whose points a resize maps.
bool IsFigureOrImage(int kind) { return kind == ekImage || (kind >= ekLine && kind <= ekEArrow); }

PreData BeforeOf(const EventDetail& ed)
{
    PreData pd;
    pd.M = ed.M;
    pd.C = ed.C;
    pd.BoundRF = ed.BoundRF;
    pd.Angle = ed.Angle;
    return pd;
}

QPointF Shifted(QPointF p, double ox, double oy)
{
    return QPointF(std::trunc(p.x()) + ox, std::trunc(p.y()) + oy);
}

ModifyUndoEntry UndoEntry(int kind, int slot, const EventMaster& em, const EventDetail& ed, const PreData& pd,
                          int place, int size, QPoint offset = QPoint())
{
    ModifyUndoEntry entry;
    entry.kind = kind;
    entry.slot = slot;
    entry.master = em;
    entry.detail = ed;
    entry.before = pd;
    entry.place = place;
    entry.size = size;
    entry.offset = offset;
    return entry;
}

void ApplyMove(BoardModel& board, int slot, const EventMaster& em, const Fields& f, const ModifyContext& context,
               bool makeUndo, ModifyOutcome& out)
{
    const BoardScale scale = ModifyScale(context, f.toInt(15));
    for (int i = 0; i < 4; ++i)
        out.corners[i] = QPoint(RoundScaled(f.toInt(5 + 2 * i), scale.x), RoundScaled(f.toInt(6 + 2 * i), scale.y));
    out.cornersSet = true;
    const double ox = f.toInt(3) * scale.x + 0.5;
    const double oy = f.toInt(4) * scale.y + 0.5;
    const QRect bound(out.corners[0].x(), out.corners[0].y(), std::abs(out.corners[2].x() - out.corners[0].x()),
                      std::abs(out.corners[2].y() - out.corners[0].y()));
    const QString key = MakeObjectKey(slot, em.EventID);
    PointerSlotState& s = board.slot[slot];
    for (EventDetail& ed : s.records.editDetails()) {
        if (ed.EventID != em.EventID)
            continue;
        const PreData before = BeforeOf(ed);
        if (IsStroke(em.Kind)) {
            const auto samples = board.FreePenMap.find(key);
            if (samples != board.FreePenMap.end()) {
                for (FreePenPoint& p : *samples)
                    p.M = Shifted(p.M, ox, oy);
                CopyStrokeMovePoints(s.allPoints, em.EventID, *samples);
                ed.BoundRF = bound;
                if (em.Kind == ekBrush)
                    qDebug().noquote() << "ed Center : " << ed.BoundRF.center();
            }
        } else {
            ed.M = Shifted(ed.M, ox, oy);
            ed.C = Shifted(ed.C, ox, oy);
            ed.BoundRF = bound;
        }
        ++out.changedRecords;
        if (makeUndo) {
            out.undo << UndoEntry(3, slot, em, ed, before, f.toInt(13), f.toInt(14),
                                  QPoint(int(std::trunc(ox)), int(std::trunc(oy))));
        }
    }
}

void ApplyResize(BoardModel& board, int slot, const EventMaster& em, const Fields& f, const ModifyContext& context,
                 bool makeUndo, ModifyOutcome& out)
{
    const BoardScale scale = ModifyScale(context, f.toInt(9));
    const QRect r(RoundScaled(f.toInt(3), scale.x), RoundScaled(f.toInt(4), scale.y), RoundScaled(f.toInt(5), scale.x),
                  RoundScaled(f.toInt(6), scale.y));
    PointerSlotState& s = board.slot[slot];
    for (EventDetail& ed : s.records.editDetails()) {
        if (ed.EventID != em.EventID)
            continue;
        const QRect o = ed.BoundRF;
        out.logLines << QStringLiteral("Resize: reX=%1, reY=%2, reW=%3, reH=%4")
                            .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                     << QStringLiteral("Resize: edX=%1, edY=%2, edW=%3, edH=%4")
                            .arg(o.x()).arg(o.y()).arg(o.width()).arg(o.height());
        ed.BoundRF = r;
        ++out.changedRecords;
        if (ed.Deleted || em.NoteName != context.currentPage)
            continue;
        if (!IsStroke(em.Kind) && !IsFigureOrImage(em.Kind))
            continue;
        PreData before = BeforeOf(ed);
        before.BoundRF = o;
        // An old rectangle without extent cannot be mapped from: the points
        // stay where they are.
        const bool mappable = o.width() != 0 && o.height() != 0;
        if (mappable) {
            if (IsStroke(em.Kind)) {
                RescaleStrokeSamples(board, slot, em.EventID, o, r);
            } else {
                ed.M = RescalePoint(ed.M, o, r);
                ed.C = RescalePoint(ed.C, o, r);
            }
        }
        if (makeUndo)
            out.undo << UndoEntry(4, slot, em, ed, before, 1, 1);
    }
}

}  // namespace

BoardScale ModifyScale(const ModifyContext& context, int senderLevel)
{
    QSize remote;
    if (context.ownLevel == 1)
        remote = senderLevel == 3 ? context.host : senderLevel == 2 ? context.writer : QSize();
    else if (context.ownLevel == 2)
        remote = context.host;
    else if (context.ownLevel == 3)
        remote = context.writer;
    return ScaleFromHost(context.local, remote);
}

int RoundScaled(int value, double factor)
{
    const double scaled = value * factor + 0.5;
    // A peer's number far outside any board would not fit an int.
    constexpr double kLimit = 1e7;
    return int(std::trunc(qBound(-kLimit, scaled, kLimit)));
}

ModifyOutcome ApplyModify(BoardModel& board, const Fields& f, const ModifyContext& context, bool makeUndo)
{
    ModifyOutcome out;
    const int kind = f.toInt(0);
    int slot = -1;
    int eventId = -1;
    if (kind < kMove || kind > kRotate) {
        out.dropped = QStringLiteral("unknown edit kind %1").arg(f.text(0).left(16));
        return out;
    }
    // A tap on a selected object moves nothing: no change, no undo step.
    if (kind == kMove && f.toInt(3) == 0 && f.toInt(4) == 0) {
        out.dropped = QStringLiteral("a move by nothing");
        return out;
    }
    if (!ParseObjectKey(f.text(1), &slot, &eventId)) {
        out.dropped = QStringLiteral("no object key in %1").arg(f.text(1).left(32));
        return out;
    }
    PointerSlotState& s = board.slot[slot];
    // A move names its object by EventID, the others by position.
    const EventMaster* found = nullptr;
    if (kind == kMove)
        found = s.records.findMaster(quint16(eventId));
    else if (eventId < s.records.masters().size())
        found = &s.records.masters().at(eventId);
    if (!found || !s.records.findDetail(found->EventID)) {
        out.dropped = QStringLiteral("no object %1 on this board").arg(f.text(1));
        return out;
    }
    const EventMaster em = *found;

    switch (kind) {
    case kMove:
        ApplyMove(board, slot, em, f, context, makeUndo, out);
        break;
    case kResize:
        ApplyResize(board, slot, em, f, context, makeUndo, out);
        break;
    case kDelete: {
        EventDetail& ed = *s.records.findDetail(em.EventID);
        if (makeUndo) {
            ModifyUndoEntry entry = UndoEntry(2, slot, em, ed, PreData(), f.toInt(4), f.toInt(5));
            entry.erase.EraseKind = f.toInt(5) == 1 ? 0 : 2;
            out.undo << entry;
        }
        ed.Deleted = f.toInt(3) != 0 ? 1 : 0;
        out.changedRecords = 1;
        break;
    }
    case kRotate: {
        EventDetail& ed = *s.records.findDetail(em.EventID);
        const PreData before = BeforeOf(ed);
        ed.Angle = float(f.toInt(3));
        out.angleSet = true;
        out.angle = ed.Angle;
        out.changedRecords = 1;
        if (makeUndo)
            out.undo << UndoEntry(5, slot, em, ed, before, f.toInt(4), f.toInt(5));
        break;
    }
    default:
        break;
    }
    return out;
}

}  // namespace coll
