#include "tools/ui/tooldlg_disc.h"

#include "tools/instrument_geometry.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

using namespace ToolDlg;

ToolDlgTwoArmDisc::ToolDlgTwoArmDisc(const char* objectName, int minWidth, QWidget* parent)
    : ToolDlgBase(objectName, QSize(301, 301), parent), m_minWidth(minWidth)
{
    m_turnHandle = MakeHandle("label_Angle", kTurnHandleStyle);
    m_armHandle = MakeHandle("label_Angle_sub", kArmHandleStyle);
    m_cornerHandles[0] = MakeHandle("label_TopLeft", kEndHandleStyle);
    m_cornerHandles[1] = MakeHandle("label_TopRight", kEndHandleStyle);
    m_cornerHandles[2] = MakeHandle("label_BottomRight", kEndHandleStyle);
    m_cornerHandles[3] = MakeHandle("label_BottomLeft", kEndHandleStyle);
    MakeMenuButton();
}

QRegion ToolDlgTwoArmDisc::Layout()
{
    const QPoint c = m_rect.center();
    const int w = m_rect.width();
    const int h = m_rect.height();
    const QPoint corners[4] = {m_rect.topLeft(), QPoint(m_rect.left() + w, m_rect.top()),
                               QPoint(m_rect.left() + w, m_rect.top() + h), QPoint(m_rect.left(), m_rect.top() + h)};
    for (int i = 0; i < 4; ++i)
        CentreOn(m_cornerHandles[i], RotatePoint(corners[i], m_angle, c));
    CentreOn(m_menuButton, RotatePoint(QPoint(m_rect.right() - 25, m_rect.bottom() - 25), m_angle, c));
    m_menuButton->setPixmap(TurnedMenuIcon(m_angle));
    CentreOn(m_turnHandle, RotatePoint(QPoint(c.x(), c.y() - h / 2 - 20), m_angle, c));
    CentreOn(m_armHandle, RotatePoint(QPoint(c.x(), c.y() - h / 2 - 80), m_angle + m_armAngle, c));

    QRegion shape = TwoArmDiscShape(m_rect, m_angle, m_armAngle, m_turnHeld);
    for (const QLabel* corner : m_cornerHandles)
        shape += HandleRegion(corner);
    for (const QLabel* label : {m_menuButton, m_turnHandle, m_armHandle})
        shape += HandleRegion(label);
    return shape;
}

void ToolDlgTwoArmDisc::HandlePressed(QObject* handle)
{
    if (handle == m_turnHandle || handle == m_armHandle) {
        (handle == m_turnHandle ? m_turnHeld : m_armHeld) = true;
        Changed();
        return;
    }
    for (int i = 0; i < 4; ++i) {
        if (handle == m_cornerHandles[i])
            m_corner = i + 1;
    }
}

void ToolDlgTwoArmDisc::HandleMoved(QObject* handle)
{
    const QPoint c = m_rect.center();
    if (handle == m_turnHandle) {
        m_angle = Bearing(c, Pointer());
        Changed();
    } else if (handle == m_armHandle) {
        // Measured from the first arm, so the second arm follows the first.
        m_armAngle = Bearing(c, RotatePoint(Pointer(), -m_angle, c));
        Changed();
    }
}

void ToolDlgTwoArmDisc::HandleReleased(QObject* handle)
{
    if (handle == m_turnHandle || handle == m_armHandle) {
        m_turnHeld = false;
        m_armHeld = false;
        Changed();
        return;
    }
    for (const QLabel* corner : m_cornerHandles) {
        if (handle == corner)
            m_corner = 0;
    }
}

void ToolDlgTwoArmDisc::mouseMoveEvent(QMouseEvent* event)
{
    if (m_turnHeld || m_armHeld || m_menuButtonHeld || !(event->buttons() & Qt::LeftButton) || m_pressRect.isNull())
        return;
    if (m_corner != 0) {
        const QPoint d = FrameDisplacement(Pointer(), m_pressPosition, m_angle, m_pressRect.center());
        QRect resized;
        if (!ResizeSquare(m_pressRect, m_corner, d, m_angle, m_minWidth, &resized))
            return;
        m_workingRect = resized;
        m_rect = resized;
    } else {
        // Window coordinates on both sides, so a primary screen that does not
        // start at (0, 0) moves the instrument with the pointer too.
        setCursor(Qt::SizeAllCursor);
        m_rect.moveCenter(m_pressRect.center() + (event->pos() - m_pressPosition));
    }
    Changed();
}

void ToolDlgTwoArmDisc::PaintDisc(QPainter& painter, int idleOutlineWidth)
{
    const QPoint c = m_rect.center();
    const QPen red(Qt::red, 2);
    if (m_turnHeld) {
        painter.setPen(red);
        painter.drawLine(c, QPoint(c.x(), c.y() - m_rect.height() / 2 - 20));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(m_turnHeld ? red : m_armHeld ? QPen(Qt::blue, 2) : QPen(Qt::black, idleOutlineWidth));
    painter.drawEllipse(m_rect);

    painter.translate(c);
    painter.rotate(m_angle);
    painter.translate(-c);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(m_rect);
    painter.setBrush(QBrush(QColor(200, 200, 200, 20), Qt::SolidPattern));
    painter.drawEllipse(m_rect);
    painter.setBrush(Qt::NoBrush);
}

void ToolDlgTwoArmDisc::PaintArms(QPainter& painter)
{
    const int h = m_rect.height();
    const QPen blue(Qt::blue, 2);
    if (m_turnHeld) {
        painter.setPen(QPen(Qt::red, 2));
        painter.drawLine(0, 0, 0, -h / 2 - 20);
    }
    if (m_armHeld) {
        painter.setPen(blue);
        painter.drawLine(0, 0, 0, -h / 2 - 60);
    }
    painter.setPen(blue);
    painter.rotate(m_armAngle);
    painter.drawLine(0, 0, 0, -h / 2 - 60);
    painter.rotate(-m_armAngle);
}

void ToolDlgTwoArmDisc::PaintReadoutsAndSweeps(QPainter& painter)
{
    const QPoint c = m_rect.center();
    const int w = m_rect.width();
    const int h = m_rect.height();
    painter.resetTransform();
    painter.translate(c);
    painter.rotate(m_angle);
    painter.setFont(QFont(QStringLiteral("Arial"), 15));
    painter.setPen(QPen(Qt::red, 2));
    painter.drawText(QRect(-30, -50 - h / 2, 60, 20), Qt::AlignCenter, QString::number(m_angle));
    painter.setPen(QPen(Qt::blue, 2));
    painter.rotate(m_armAngle);
    painter.drawText(QRect(-30, -110 - h / 2, 60, 20), Qt::AlignCenter, QString::number(m_armAngle));
    painter.rotate(-m_armAngle);

    painter.translate(-c);
    painter.setBrush(Qt::NoBrush);
    const QRect half = CentredRect(c, w / 2, h / 2);
    auto sweep = [&](const QColor& colour, int span) {
        painter.setPen(QPen(colour, 6));
        painter.drawArc(m_rect, 1440, span);
        painter.setPen(QPen(colour, 3));
        painter.drawArc(half, 1440, span);
    };
    // While turning: from straight up to the first arm; while opening the
    // second arm: from the first arm to the second.
    if (m_turnHeld)
        sweep(Qt::red, m_angle * 16);
    if (m_armHeld)
        sweep(Qt::blue, -m_armAngle * 16);
}
