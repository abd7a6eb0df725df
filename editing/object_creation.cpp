#include "editing/object_creation.h"

#include "board/figure_paths.h"

CreatedObject BuildObjectRecords(const PointerSlotState& s, int slot, quint16 mediaIndex,
                                 const CreationContext& ctx)
{
    CreatedObject out;
    const int tool = s.event_kind;
    const double zoom = ctx.zoom;
    const quint16 eventId = static_cast<quint16>(s.nextEventId);

    EventMaster& em = out.master;
    em.EventID = eventId;
    if (!ctx.recording)
        em.MediaPos = -1.0;
    else if (tool == ekFree || tool == ekBrush)
        em.MediaPos = s.pressMediaPos;
    else
        em.MediaPos = ctx.recordingElapsedMs;
    em.Kind = tool;
    em.StrData = mediaIndex;
    em.SCale = zoom;
    em.VScroll = static_cast<quint16>(ctx.vscroll);
    em.HScroll = static_cast<quint16>(ctx.hscroll);
    em.Slot = static_cast<quint16>(slot);
    em.NoteName = ctx.noteName;

    EventDetail& ed = out.detail;
    ed.EventID = eventId;
    ed.S = DocumentPoint(s.anchor, zoom, ctx.hscroll, ctx.vscroll);
    ed.E = DocumentPoint(s.current, zoom, ctx.hscroll, ctx.vscroll);
    ed.M = ed.S;
    ed.C = ed.E;

    if (tool == ekEArrow || tool == ekBArrow) {
        QPainterPath path;
        ArrowLinePath(path, s.anchor, s.current, tool == ekBArrow);
        const QRectF r = path.boundingRect();
        ed.OriginRF = QRect(static_cast<int>(r.x() / zoom + ctx.hscroll / zoom),
                            static_cast<int>(r.y() / zoom + ctx.vscroll / zoom),
                            static_cast<int>(r.width() / zoom), static_cast<int>(r.height() / zoom));
    } else if (mediaIndex != kNoMediaIndex) {
        ed.OriginRF = QRect(QPoint(static_cast<int>(ed.S.x()), static_cast<int>(ed.S.y())),
                            QPoint(static_cast<int>(ed.E.x()), static_cast<int>(ed.E.y())));
    } else {
        ed.OriginRF = QRect(static_cast<int>(s.minCorner.x() / zoom + ctx.hscroll / zoom),
                            static_cast<int>(s.minCorner.y() / zoom + ctx.vscroll / zoom),
                            static_cast<int>((s.maxCorner.x() - s.minCorner.x()) / zoom),
                            static_cast<int>((s.maxCorner.y() - s.minCorner.y()) / zoom));
    }
    ed.BoundRF = ed.OriginRF;
    ed.PenColor = s.pen.color();
    ed.PenWidth = static_cast<quint16>(s.pen.width());
    ed.Angle = 0.f;
    ed.Transparent = static_cast<quint16>(ctx.penAlpha);
    ed.CanvasWidth = static_cast<quint16>(ctx.widgetSize.width());
    ed.CanvasHeight = static_cast<quint16>(ctx.widgetSize.height());
    return out;
}

CreatedObject CreateBoardObject(BoardModel& board, int slot, quint16 mediaIndex, const CreationContext& ctx)
{
    PointerSlotState& s = board.slot[slot];
    const CreatedObject made = BuildObjectRecords(s, slot, mediaIndex, ctx);
    s.records.appendMaster(made.master);
    s.records.appendDetail(made.detail);
    if (s.event_kind == ekFree || s.event_kind == ekBrush) {
        board.FreePenMap.insert(MakeObjectKey(slot, made.master.EventID), s.strokePoints);
        s.strokePoints.resize(0);
    }
    ++s.nextEventId;
    return made;
}
