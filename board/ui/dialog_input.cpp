// Touch, tablet, wheel and key input of the board. Every drawing input ends in
// the pointer primitives with the slot its user level allows: the source's own
// slot alone or as host, slot 10 as writer, none as viewer.
#include <QDateTime>
#include <QDebug>
#include <QGestureEvent>
#include <QKeyEvent>
#include <QPanGesture>
#include <QPinchGesture>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTouchEvent>
#include <QWheelEvent>
#include <cmath>

#include "app/ui/dialog.h"
#include "ui_dialog.h"

namespace {

bool InsideVisible(const QWidget* widget, QPoint p)
{
    return widget && widget->isVisible() && widget->geometry().contains(p);
}

}  // namespace

// Touches that land on the board's own controls are not drawing.
bool Dialog::TouchLandsOnControls(QPoint p) const
{
    for (const QWidget* navigator : m_pageNavigators) {
        if (InsideVisible(navigator, p))
            return true;
    }
    if (ui->mainbar->geometry().contains(p))
        return true;
    if (InsideVisible(ui->notelistLabel, p) || InsideVisible(ui->rectimeLabel, p))
        return true;
    if (m_subButtonRowOpen
        && (m_subButtonRowRect.normalized().contains(p, true) || ui->horwidthslider->geometry().contains(p)
            || ui->verwidthslider->geometry().contains(p)))
        return true;
    return InsideVisible(ui->horizontalScrollBar, p) || InsideVisible(ui->verticalScrollBar, p);
}

bool Dialog::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        event->accept();
        if (m_tabletPenInUse || !m_select_id_str.isEmpty())
            return true;
        const auto* touch = static_cast<QTouchEvent*>(event);
        const QList<QTouchEvent::TouchPoint>& points = touch->touchPoints();
        int handled = 0;
        for (const QTouchEvent::TouchPoint& point : points) {
            if (handled > 9)
                break;
            const int x = int(point.pos().x());
            const int y = int(point.pos().y());
            const int id = point.id();
            switch (point.state()) {
            case Qt::TouchPointPressed: {
                int slot = ClaimTouchSlot(id);
                if (slot < 0)
                    slot = kMouseOverflowSlot;
                qDebug().noquote() << "TouchPointPressed" << id;
                if (!TouchLandsOnControls(QPoint(x, y))) {
                    if (m_subButtonRowOpen && !m_subButtonRowRect.normalized().contains(QPoint(x, y), true))
                        ClearSubBtn();
                    const int target = LocalInputSlot(m_collUserLevel, slot);
                    if (target == slot)
                        qDebug().noquote() << QStringLiteral("touch press %1 (%2, %3)").arg(slot).arg(x).arg(y);
                    if (target >= 0)
                        PointerPress(target, x, y, true, false);
                }
                ++handled;
                break;
            }
            case Qt::TouchPointMoved: {
                int slot = TouchPointSlot(id);
                if (slot >= 0)
                    m_touchSlots[slot].current = point.pos();
                else
                    slot = kMouseOverflowSlot;
                // No log line here: a finger moves a hundred times a second,
                // ten fingers at once.
                const int target = LocalInputSlot(m_collUserLevel, slot);
                if (target >= 0)
                    PointerMove(target, x, y, true, false);
                ++handled;
                break;
            }
            case Qt::TouchPointReleased: {
                const int owned = TouchPointSlot(id);
                const int slot = owned >= 0 ? owned : kMouseOverflowSlot;
                const int target = LocalInputSlot(m_collUserLevel, slot);
                if (target >= 0)
                    PointerRelease(target, x, y, true, false);
                if (points.size() == 1)
                    m_touchSlots.ReleaseAll();
                else if (owned >= 0)
                    ReleaseTouchSlot(owned);
                ++handled;
                break;
            }
            default:
                break;
            }
        }
        // Every finger is up: no slot may stay claimed by a point that was
        // past the ten handled in one event.
        if (event->type() == QEvent::TouchEnd)
            m_touchSlots.ReleaseAll();
        return true;
    }
    case QEvent::Gesture: {
        event->accept();
        if (m_board.slot[0].event_kind != ekSelect)
            return true;
        auto* gestures = static_cast<QGestureEvent*>(event);
        if (auto* pan = static_cast<QPanGesture*>(gestures->gesture(Qt::PanGesture))) {
            if (m_select_id_str.isEmpty()) {
                if (pan->state() == Qt::GestureUpdated) {
                    m_panGestureActive = true;
                    GestureActive = true;
                    GestureHold = true;
                    const QPointF delta = pan->delta();
                    m_gestureAcceleration = std::max(delta.x(), delta.y());
                    if (ui->horizontalScrollBar->isVisible())
                        ui->horizontalScrollBar->setValue(int(ui->horizontalScrollBar->value() - delta.x()));
                    if (ui->verticalScrollBar->isVisible())
                        ui->verticalScrollBar->setValue(int(ui->verticalScrollBar->value() - delta.y()));
                } else if (pan->state() == Qt::GestureFinished || pan->state() == Qt::GestureCanceled) {
                    m_gestureAcceleration = 0;
                    m_panGestureActive = false;
                    GestureActive = false;
                    GestureHold = false;
                }
            }
        }
        if (auto* pinch = static_cast<QPinchGesture*>(gestures->gesture(Qt::PinchGesture)))
            PinchGesture(pinch->state(), pinch->totalScaleFactor(), pinch->rotationAngle(),
                         pinch->lastRotationAngle());
        return true;
    }
    default:
        return QWidget::event(event);
    }
}

// Qt hands the second press of a quick pair over as a double click and sends
// no press for it: treated as a press, so a stroke or a drag begun right after
// a tap is not lost.
void Dialog::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void Dialog::wheelEvent(QWheelEvent* event)
{
    qDebug().noquote() << QStringLiteral("wheelEvent (%1, %2) delta %3")
                              .arg(event->position().x())
                              .arg(event->position().y())
                              .arg(event->angleDelta().y());
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QWidget::keyPressEvent(event);
}

void Dialog::closeEvent(QCloseEvent*)
{
}

void Dialog::tabletEvent(QTabletEvent* event)
{
    const int x = int(event->posF().x());
    const int y = int(event->posF().y());
    switch (event->type()) {
    case QEvent::TabletPress:
        event->accept();
        if (m_tabletPenInUse && event->button() == Qt::LeftButton) {
            m_penDown = true;
            if (ui->mainbar->geometry().contains(event->pos()) && m_board.slot[0].event_kind != ekImage) {
                // Left for the bar, which then gets it as a mouse press.
                event->ignore();
                return;
            }
            if (m_subButtonRowOpen && !m_subButtonRowRect.normalized().contains(event->pos(), true))
                ClearSubBtn();
            m_tabletPosition = m_prevTabletPosition = QPointF();
            m_tabletPressure = m_prevTabletPressure = 0.0;
            m_tabletRotation = m_prevTabletRotation = 0.0;
            PressLocalPointer(x, y);
        } else if (!m_tabletPenInUse && event->button() == Qt::MiddleButton) {
            m_tabletPenInUse = true;
            if (m_board.slot[0].event_kind == ekFree) {
                m_board.slot[0].event_kind = ekAreaEraser;
                setCursor(m_cursorCross);
            }
        }
        return;
    case QEvent::TabletMove: {
        if (!m_tabletPenInUse)
            return;
        if (!m_penDown) {
            event->ignore();
            return;
        }
        event->accept();
        const QPointF pos = event->posF();
        double whole = 0.0;
        const float fracX = float(std::modf(pos.x(), &whole) * 1000.0);
        const float fracY = float(std::modf(pos.y(), &whole) * 1000.0);
        // Samples on whole pixels are the pen's mouse-emulation echoes.
        if (fracX == 0.0f || fracY == 0.0f || event->pressure() < 0.1)
            return;
        m_tabletPosition = pos;
        m_tabletPressure = event->pressure();
        m_tabletRotation = event->rotation();
        // The sample keeps the width this pressure paints at, so a redraw of
        // the stroke gives back the widths drawn now.
        m_pressureLevel = qRound(m_tabletPressure * kPressureLevels);
        m_pressureScale = double(m_specialPen.baseWidth) / kPressureLevels;
        const int rx = int(std::floor(pos.x() + 0.5));
        const int ry = int(std::floor(pos.y() + 0.5));
        const int target = LocalInputSlot(m_collUserLevel, m_mouseSlot);
        if (target >= 0)
            PointerMove(target, rx, ry, true, false);
        m_prevTabletPosition = m_tabletPosition;
        m_prevTabletPressure = m_tabletPressure;
        m_prevTabletRotation = m_tabletRotation;
        return;
    }
    case QEvent::TabletRelease:
        if (!m_tabletPenInUse)
            return;
        event->accept();
        if (event->buttons() & ~Qt::MiddleButton)
            return;
        m_penDown = false;
        if (m_collUserLevel == 1)
            return;
        if (event->button() == Qt::LeftButton) {
            PointerRelease(LocalInputSlot(m_collUserLevel, m_mouseSlot), x, y, true, false);
        } else if (event->button() == Qt::RightButton && !ui->mainbar->geometry().contains(event->pos())
                   && !ui->logbtn->geometry().contains(event->pos())) {
            OptRightMenu();
        }
        return;
    default:
        QWidget::tabletEvent(event);
        return;
    }
}

void Dialog::TabletEnter(QTabletEvent* event)
{
    qDebug().noquote() << QStringLiteral("tablet Enter button %1 (%2, %3)")
                              .arg(int(event->button()))
                              .arg(event->posF().x())
                              .arg(event->posF().y());
    m_tabletPenInUse = true;
    if (m_mousePressed) {
        const QPoint at = m_board.slot[m_mouseSlot].current;
        PointerRelease(m_mouseSlot, at.x(), at.y(), true, false);
        m_mousePressed = false;
    }
    if (event->pointerType() == QTabletEvent::Eraser && m_board.slot[0].event_kind == ekFree) {
        m_board.slot[0].event_kind = ekAreaEraser;
        setCursor(m_cursorCross);
    }
}

void Dialog::TabletLeave(QTabletEvent* event)
{
    qDebug().noquote() << QStringLiteral("tablet Leave button %1 at %2")
                              .arg(int(event->button()))
                              .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs));
    if (m_board.slot[0].event_kind == ekAreaEraser) {
        const QPoint at = m_board.slot[m_mouseSlot].current;
        PointerRelease(m_mouseSlot, at.x(), at.y(), true, false);
        m_board.slot[0].event_kind = ekFree;
        setCursor(m_cursorPen);
    }
    m_tabletPenInUse = false;
}
