// Arrow outlines with the slot's snapped end, and the selection frame.
#include <QPainter>

#include "app/ui/dialog.h"
#include "board/figure_paths.h"
#include "editing/selection.h"

void Dialog::LinePath(QPainterPath& path, QPointF start, QPointF end, bool bothHeads, bool setPoints, int slot)
{
    QPointF snapped;
    ArrowLinePath(path, start, end, bothHeads, &snapped);
    if (setPoints && IsValidPointerSlot(slot)) {
        PointerSlotState& s = m_board.slot[slot];
        s.anchor = QPoint(int(start.x()), int(start.y()));
        s.current = QPoint(int(snapped.x()), int(snapped.y()));
    }
}

void Dialog::RotatedObjectFrame(QRect r)
{
    const bool single = m_select_id_str.size() == 1;
    const double angle = m_select_id_str.size() < 2 ? SelectionAngle : 0.0;
    SelectionAngle = float(angle);
    const SelectionFrameShape shape = BuildSelectionFrame(r, angle, single);

    QPainter painter(&m_viewImage);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QBrush(Qt::black), 2.0, Qt::SolidLine, m_specialPen.cap, m_specialPen.join));
    painter.save();
    const QPointF c = QRectF(r).center();
    painter.translate(c);
    painter.rotate(angle);
    painter.translate(-c);
    painter.drawRect(QRect(QPoint(r.left() - 5, r.top() - 5), QPoint(r.right() + 5, r.bottom() + 5)));
    painter.restore();
    for (int i = 0; i < 4; ++i)
        m_selectionState.DrawnCorners[i] = shape.corners[i];
    if (single) {
        painter.setBrush(Qt::white);
        for (int i = 0; i < 4; ++i)
            painter.drawPolygon(shape.handles[i]);
        painter.drawEllipse(shape.handles[4].boundingRect());
        for (int i = 0; i < kSelectionHandleCount; ++i)
            m_selectionState.Handles[i] = shape.handles[i];
    }
    painter.end();
    update(FrameRestoreArea(shape.corners));
}
