// Live stroke painting: each move paints the new piece into the view image
// and shows only its rectangle again.
#include <QLabel>
#include <QPainter>

#include "app/ui/dialog.h"

SegmentPaintOptions Dialog::PaintOptions() const
{
    SegmentPaintOptions o;
    o.interpolation = m_interpolation;
    o.antialiasing = m_antialiasing;
    o.special = m_specialPen;
    o.tabletActive = m_tabletPenInUse;
    o.pressure = m_tabletPressure;
    o.prevPressure = m_prevTabletPressure;
    return o;
}

void Dialog::PaintFreePenSegment(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    PointerSlotState& s = m_board.slot[slot];
    // The smoothed piece takes the place of the last move's provisional tail.
    TakeBackLivePatch(m_liveTail[slot]);
    const QRect dirty = PaintFreePenStep(m_viewImage, s, PaintOptions());
    NoteLiveInk(slot, dirty);
    DrawLiveTail(slot, false);
    if (m_cursorImage && m_cursorLabel) {
        const QPoint c = s.lastSample.toPoint();
        m_cursorLabel->setGeometry(c.x() - 16, c.y() - 16, 32, 32);
    }
}

void Dialog::PaintBrushSegment(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    TakeBackLivePatch(m_liveTail[slot]);
    NoteLiveInk(slot, PaintBrushStep(m_viewImage, m_board.slot[slot], PaintOptions()));
    DrawLiveTail(slot, true);
}

void Dialog::PaintLastSegment(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    TakeBackLivePatch(m_liveTail[slot]);
    NoteLiveInk(slot, PaintLastStep(m_viewImage, m_board.slot[slot], PaintOptions()));
}

void Dialog::UpdateLastSegmentRect(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    PointerSlotState& s = m_board.slot[slot];
    TakeBackLivePatch(m_liveTail[slot]);
    s.brushRadius = 0.f;
    NoteLiveInk(slot, LastSegmentRect(s));
}

// Takes back the slot's figure preview: the view as it was under it.
void Dialog::RestoreImageRegion(int slot, int margin)
{
    // The patch holds exactly what the preview covered, so no margin is
    // guessed around its two points.
    Q_UNUSED(margin);
    if (!IsValidPointerSlot(slot))
        return;
    TakeBackLivePatch(m_previewPatch[slot]);
}
