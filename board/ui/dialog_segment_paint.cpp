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
    const QRect dirty = PaintFreePenStep(m_viewImage, s, PaintOptions());
    if (m_cursorImage && m_cursorLabel) {
        const QPoint c = s.lastSample.toPoint();
        m_cursorLabel->setGeometry(c.x() - 16, c.y() - 16, 32, 32);
    }
    update(dirty);
}

void Dialog::PaintBrushSegment(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    update(PaintBrushStep(m_viewImage, m_board.slot[slot], PaintOptions()));
}

void Dialog::PaintLastSegment(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    update(PaintLastStep(m_viewImage, m_board.slot[slot], PaintOptions()));
}

void Dialog::UpdateLastSegmentRect(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    PointerSlotState& s = m_board.slot[slot];
    s.brushRadius = 0.f;
    update(LastSegmentRect(s));
}

void Dialog::RestoreImageRegion(int slot, int margin)
{
    if (!IsValidPointerSlot(slot) || m_backupImage.isNull())
        return;
    const PointerSlotState& s = m_board.slot[slot];
    // Only the part inside the page: a patch copied from beyond its edge
    // would paint black over the page.
    const QRect r = QRect(s.prevAnchor, s.prevCurrent)
                        .normalized()
                        .adjusted(-margin, -margin, margin, margin)
                        .intersected(m_backupImage.rect());
    if (r.isEmpty())
        return;
    QPainter painter(&m_viewImage);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(r.topLeft(), m_backupImage, r);
    painter.end();
    update(r);
}
