#include "tools/ui/tooldlg_protractor.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

using namespace ToolDlg;

ToolDlg_Protractor::ToolDlg_Protractor(QWidget* parent)
    : ToolDlgBase("ToolDlg_Protractor", QSize(301, 301), parent)
{
    m_turnHandle = MakeHandle("label_Angle", kTurnHandleStyle);
    m_armHandle = MakeHandle("label_Angle_sub", kArmHandleStyle);
    m_cornerHandles[0] = MakeHandle("label_TopLeft", kEndHandleStyle);
    m_cornerHandles[1] = MakeHandle("label_TopRight", kEndHandleStyle);
    m_cornerHandles[2] = MakeHandle("label_BottomRight", kEndHandleStyle);
    m_cornerHandles[3] = MakeHandle("label_BottomLeft", kEndHandleStyle);
    MakeMenuButton();
    int y = 10;
    for (const char* name : {"label_debug1", "label_debug2", "label_debug3"}) {
        MakeDiagnosticLabel(name, QSize(700, 21))->move(10, y);
        y += 20;
    }
    hide();
}

ToolDlg_Protractor::~ToolDlg_Protractor()
{
    if (m_menu) {
        m_menu->clear();
        m_menu->close();
    }
}

void ToolDlg_Protractor::CreateMenu(QStringList* menuTexts, QStringList* commonTexts)
{
    BuildMenu(menuTexts, commonTexts, {{28, SLOT(OptMenu_DrawLine())}});
}

void ToolDlg_Protractor::OptMenu_DrawLine()
{
    m_lastDraw = ProtractorDrawRequest(m_rect, m_angle, m_armAngle);
    emit Protractor_DrawLine(m_lastDraw.centre, m_lastDraw.zeroEnd);
    emit Protractor_DrawLine(m_lastDraw.centre, m_lastDraw.armEnd);
    emit Protractor_DrawArc(m_lastDraw.arc.rect, m_lastDraw.arc.from, m_lastDraw.arc.to);
}

void ToolDlg_Protractor::OptMenu_Close()
{
    hide();
}

QRegion ToolDlg_Protractor::Layout()
{
    const QPoint c = m_rect.center();
    const int w = m_rect.width();
    const int h = m_rect.height();
    const QPoint corners[4] = {m_rect.topLeft(), QPoint(m_rect.left() + w, m_rect.top()),
                               QPoint(m_rect.left() + w, m_rect.top() + h), QPoint(m_rect.left(), m_rect.top() + h)};
    for (int i = 0; i < 4; ++i)
        CentreOn(m_cornerHandles[i], RotatePoint(corners[i], m_angle, c));
    m_menuButton->move(RotatePoint(QPoint(m_rect.right() - 25, m_rect.bottom() - 25), m_angle, c) - QPoint(22, 22));
    m_menuButton->setPixmap(TurnedMenuIcon(m_angle));
    CentreOn(m_turnHandle, RotatePoint(QPoint(c.x(), c.y() - h / 2 - 20), m_angle, c));
    CentreOn(m_armHandle, RotatePoint(QPoint(c.x(), c.y() - h / 2 - 80), m_angle + m_armAngle, c));

    QRegion shape = TwoArmDiscShape(m_rect, m_angle, m_armAngle, m_rotating);
    for (const QLabel* corner : m_cornerHandles)
        shape += HandleRegion(corner);
    shape += HandleRegion(m_menuButton);
    shape += HandleRegion(m_turnHandle);
    shape += HandleRegion(m_armHandle);
    return shape;
}

void ToolDlg_Protractor::HandlePressed(QObject* handle)
{
    if (handle == m_turnHandle) {
        m_rotating = true;
        Changed();
        return;
    }
    if (handle == m_armHandle) {
        m_armHeld = true;
        Changed();
        return;
    }
    for (int i = 0; i < 4; ++i) {
        if (handle == m_cornerHandles[i])
            m_corner = i + 1;
    }
}

void ToolDlg_Protractor::HandleMoved(QObject* handle)
{
    const QPoint c = m_rect.center();
    if (handle == m_turnHandle) {
        m_angle = Bearing(c, Pointer());
        Changed();
    } else if (handle == m_armHandle) {
        m_armAngle = Bearing(c, RotatePoint(Pointer(), -m_angle, c));
        Changed();
    }
}

void ToolDlg_Protractor::HandleReleased(QObject* handle)
{
    if (handle == m_turnHandle || handle == m_armHandle) {
        m_rotating = false;
        m_armHeld = false;
        Changed();
        return;
    }
    for (const QLabel* corner : m_cornerHandles) {
        if (handle == corner)
            m_corner = 0;
    }
}

void ToolDlg_Protractor::mouseMoveEvent(QMouseEvent* event)
{
    if (m_rotating || m_armHeld || m_menuButtonHeld || !(event->buttons() & Qt::LeftButton) || m_pressRect.isNull())
        return;
    if (m_corner != 0) {
        const QPoint d = FrameDisplacement(Pointer(), m_pressPosition, m_angle, m_pressRect.center());
        QRect resized;
        if (!ResizeSquare(m_pressRect, m_corner, d, m_angle, kProtractorMinWidth, &resized))
            return;
        m_workingRect = resized;
        m_rect = resized;
    } else {
        // Window coordinates on both sides, so a primary screen that does not
        // start at (0, 0) moves the protractor with the pointer too.
        setCursor(Qt::SizeAllCursor);
        m_rect.moveCenter(m_pressRect.center() + (event->pos() - m_pressPosition));
    }
    Changed();
}

void ToolDlg_Protractor::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen penA(Qt::blue, 1);
    const QPen penB(Qt::black, 1);
    const QPen penC(Qt::red, 2);
    const QPen penD(Qt::blue, 2);
    const QPoint c = m_rect.center();
    const int w = m_rect.width();
    const int h = m_rect.height();

    if (m_rotating) {
        painter.setPen(penC);
        painter.drawLine(c, QPoint(c.x(), c.y() - h / 2 - 20));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(m_rotating ? penC : m_armHeld ? penD : penB);
    painter.drawEllipse(m_rect);

    painter.translate(c);
    painter.rotate(m_angle);
    painter.translate(-c);
    painter.setPen(penB);
    painter.drawRect(m_rect);
    painter.setBrush(QBrush(QColor(200, 200, 200, 20), Qt::SolidPattern));
    painter.drawEllipse(m_rect);
    painter.setBrush(Qt::NoBrush);

    painter.translate(c);
    painter.save();
    painter.setFont(QFont(QStringLiteral("Arial"), ProtractorLabelPointSize(w)));
    for (int i = 0; i < 360; ++i) {
        if (i % 10 == 0) {
            painter.setPen(penA);
            painter.drawLine(0, -h / 2, 0, 20 - h / 2);
            if (i % 30 == 0) {
                painter.setPen(Qt::black);
                painter.drawText(QRect(-50, h / 18 - h / 2, 100, 40), Qt::AlignCenter, QString::number(i));
            }
        } else {
            painter.setPen(penB);
            painter.drawLine(0, -h / 2, 0, (i % 5 == 0 ? 14 : 8) - h / 2);
        }
        if (i % 10 == 0 && i % 90 != 0) {
            painter.setPen(penB);
            painter.drawLine(0, -w / 10, 0, -w / 4);
        }
        painter.rotate(1.0);
    }
    painter.restore();

    if (m_rotating) {
        painter.setPen(penC);
        painter.drawLine(0, 0, 0, -h / 2 - 20);
    }
    if (m_armHeld) {
        painter.setPen(penD);
        painter.drawLine(0, 0, 0, -h / 2 - 60);
    }
    painter.setPen(penD);
    painter.rotate(m_armAngle);
    painter.drawLine(0, 0, 0, -h / 2 - 60);
    painter.rotate(-m_armAngle);

    painter.setPen(penA);
    painter.drawLine(0, w / 5 - h / 2, 0, h / 2 - w / 5);
    painter.drawLine(w / 5 - w / 2, 0, w / 2 - w / 5, 0);

    painter.setFont(QFont(QStringLiteral("Arial"), 15));
    painter.setPen(penC);
    painter.drawText(QRect(-30, -50 - h / 2, 60, 20), Qt::AlignCenter, QString::number(m_angle));
    painter.setPen(penD);
    painter.rotate(m_armAngle);
    painter.drawText(QRect(-30, -110 - h / 2, 60, 20), Qt::AlignCenter, QString::number(m_armAngle));
    painter.rotate(-m_armAngle);

    painter.translate(-c);
    const QRect half = CentredRect(c, w / 2, h / 2);
    auto sweep = [&](const QColor& colour, int span) {
        painter.setPen(QPen(colour, 6));
        painter.drawArc(m_rect, 1440, span);
        painter.setPen(QPen(colour, 3));
        painter.drawArc(half, 1440, span);
    };
    // While turning: from the zero direction back to the screen's vertical;
    // while opening the arm: from the zero direction to the arm.
    if (m_rotating)
        sweep(Qt::red, m_angle * 16);
    if (m_armHeld)
        sweep(Qt::blue, -m_armAngle * 16);
}
