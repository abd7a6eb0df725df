// The mouse on the board, and showing the view image.
#include <QDebug>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/ui/dialog.h"

void Dialog::mousePressEvent(QMouseEvent* event)
{
    qDebug().noquote() << QStringLiteral("mousePressEvent : m_bTabletEvent=%1").arg(m_tabletPenInUse ? 1 : 0);
    if (m_tabletPenInUse || event->pos() == m_referencePoint)
        return;
    m_mousePressed = true;
    if (event->button() != Qt::LeftButton)
        return;
    if (QWidget* bar = MainBar()) {
        if (bar->geometry().contains(event->pos()) && m_board.slot[0].event_kind != ekImage)
            return;
    }
    // A press beside an open sub-button row closes the row first.
    if (m_subButtonRowOpen && !m_subButtonRowRect.normalized().contains(event->pos(), true))
        ClearSubBtn();
    PressLocalPointer(event->x(), event->y());
}

void Dialog::PressLocalPointer(int x, int y)
{
    const int target = LocalInputSlot(m_collUserLevel, 0);
    // The mouse and the pen draw in slot 0 from their press on, alone or as host.
    if (target == 0)
        m_mouseSlot = 0;
    if (target >= 0)
        PointerPress(target, x, y, true, false);
}

void Dialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_tabletPenInUse)
        return;
    m_mousePressed = true;
    const int target = LocalInputSlot(m_collUserLevel, m_mouseSlot);
    if (target >= 0)
        PointerMove(target, event->x(), event->y(), true, false);
}

void Dialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_tabletPenInUse)
        return;
    if (event->button() == Qt::LeftButton
        && (CheckTouchPointIndex(event->x(), event->y()) != -1 || event->pos() == m_referencePoint))
        return;
    if (m_collUserLevel != 1) {
        if (event->button() == Qt::LeftButton) {
            PointerRelease(LocalInputSlot(m_collUserLevel, m_mouseSlot), event->x(), event->y(), true, false);
        } else if (event->button() == Qt::RightButton) {
            QWidget* bar = MainBar();
            if (!bar || !bar->geometry().contains(event->pos()))
                OptRightMenu();
        }
    }
    m_mousePressed = false;
}

void Dialog::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, m_boardFillColor);
    // While a note image job borrows the view image the saved copy is shown.
    const QImage& shown = m_showPageImage ? m_viewImage : m_savedViewImage;
    if (!shown.isNull())
        painter.drawImage(area, shown, area);
}
