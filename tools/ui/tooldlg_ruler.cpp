#include "tools/ui/tooldlg_ruler.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

using namespace ToolDlg;

ToolDlg_Ruler::ToolDlg_Ruler(QWidget* parent)
    : ToolDlgBase("ToolDlg_Ruler", QSize(600, 100), parent)
{
    m_turnHandle = MakeHandle("label_Angle", kTurnHandleStyle);
    m_leftHandle = MakeHandle("label_Left", kEndHandleStyle);
    m_rightHandle = MakeHandle("label_Right", kEndHandleStyle);
    MakeMenuButton();
    m_angleText = new QLabel(this);
    m_angleText->setObjectName(QStringLiteral("label_Angle_Text"));
    m_angleText->resize(81, 21);
    m_angleText->setFont(QFont(QStringLiteral("Arial"), 15));
    m_angleText->hide();
    for (const char* name : {"pos_label", "pos_label2", "pos_label3"})
        MakeDiagnosticLabel(name, QSize(521, 31));
    hide();
}

void ToolDlg_Ruler::CreateMenu(QStringList* menuTexts, QStringList* commonTexts)
{
    BuildMenu(menuTexts, commonTexts,
              {{25, SLOT(OptMenu_DrawTopLine())}, {26, SLOT(OptMenu_DrawMidLine())},
               {27, SLOT(OptMenu_DrawBottomLine())}});
}

void ToolDlg_Ruler::OptMenu_DrawTopLine()
{
    emit Ruler_DrawLine(m_lines.topFrom, m_lines.topTo);
}

void ToolDlg_Ruler::OptMenu_DrawMidLine()
{
    emit Ruler_DrawLine(m_lines.middleFrom, m_lines.middleTo);
}

void ToolDlg_Ruler::OptMenu_DrawBottomLine()
{
    emit Ruler_DrawLine(m_lines.bottomFrom, m_lines.bottomTo);
}

void ToolDlg_Ruler::OptMenu_Close()
{
    hide();
}

QRegion ToolDlg_Ruler::Layout()
{
    const QPoint c = m_rect.center();
    m_lines = RulerEdgeLines(m_rect, m_angle);
    CentreOn(m_leftHandle, RotatePoint(QPoint(m_rect.left(), c.y()), m_angle, c));
    CentreOn(m_rightHandle, RotatePoint(QPoint(m_rect.left() + m_rect.width(), c.y()), m_angle, c));
    CentreOn(m_menuButton, RotatePoint(QPoint(c.x() + 44, c.y() + 15), m_angle, c));
    m_menuButton->setPixmap(TurnedMenuIcon(m_angle));
    CentreOn(m_turnHandle, RotatePoint(QPoint(c.x(), c.y() - 90), m_angle, c));
    m_angleText->move(RotatePoint(QPoint(c.x() + 10, c.y() - 60), m_angle, c) - QPoint(10, 12));

    // The body with a margin for its outline, the handles, and while turning
    // the two reference lines and the read-out.
    QRegion shape(TurnedRect(m_rect.adjusted(-2, -2, 2, 2), m_angle));
    for (const QLabel* label : {m_leftHandle, m_rightHandle, m_menuButton, m_turnHandle})
        shape += HandleRegion(label);
    if (m_rotating) {
        shape += QRegion(RadialBand(c, 0, 0, 82, 3));
        shape += QRegion(RadialBand(c, m_angle, 0, 82, 3));
        shape += HandleRegion(m_angleText);
    }
    return shape;
}

void ToolDlg_Ruler::HandlePressed(QObject* handle)
{
    if (handle == m_turnHandle) {
        m_rotating = true;
        m_angleText->setText(QString::number(m_angle));
        m_angleText->show();
        Changed();
    } else if (handle == m_leftHandle) {
        m_lengthenLeft = true;
        m_lengthenRight = false;
    } else if (handle == m_rightHandle) {
        m_lengthenRight = true;
        m_lengthenLeft = false;
    }
}

void ToolDlg_Ruler::HandleMoved(QObject* handle)
{
    if (handle != m_turnHandle)
        return;
    m_angle = Bearing(m_rect.center(), Pointer());
    m_angleText->setText(QString::number(m_angle));
    Changed();
}

void ToolDlg_Ruler::HandleReleased(QObject* handle)
{
    if (handle == m_turnHandle) {
        m_rotating = false;
        m_angleText->hide();
        Changed();
    } else if (handle == m_leftHandle || handle == m_rightHandle) {
        m_lengthenLeft = false;
        m_lengthenRight = false;
        setCursor(Qt::ArrowCursor);
    }
}

void ToolDlg_Ruler::mouseMoveEvent(QMouseEvent* event)
{
    if (m_rotating || m_menuButtonHeld || !(event->buttons() & Qt::LeftButton) || m_pressRect.isNull())
        return;
    if (m_lengthenRight || m_lengthenLeft) {
        const QPoint d = FrameDisplacement(Pointer(), m_pressPosition, m_angle, m_pressRect.center());
        QRect lengthened;
        if (!LengthenRuler(m_pressRect, d.x(), m_angle, m_lengthenRight, &lengthened))
            return;
        m_workingRect = lengthened;
        m_rect = lengthened;
    } else {
        setCursor(Qt::SizeAllCursor);
        m_rect.moveCenter(m_pressRect.center() + (event->pos() - m_pressPosition));
    }
    Changed();
}

void ToolDlg_Ruler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen shortTick(Qt::blue, 1);
    const QPen longTick(Qt::black, 2);
    const QPen rotation(QColor(255, 0, 0, 200), 2);
    const QPoint c = m_rect.center();
    const int w = m_rect.width();
    const int h = m_rect.height();
    const int p = PixelsPerMillimetre(m_logicalDpi);
    const int steps = RulerSteps(w, p);
    PaintGround(painter);

    if (m_rotating) {
        painter.setPen(rotation);
        painter.drawLine(c, QPoint(c.x(), c.y() - 80));
    }
    painter.translate(c);
    painter.rotate(m_angle);
    if (m_rotating) {
        painter.setPen(rotation);
        painter.drawLine(0, 0, 0, -80);
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(-w / 2, -h / 2, w, h);
    painter.fillRect(-w / 2, -h / 2, w, h, QColor(200, 200, 200, 20));

    const QFont labelFont(QStringLiteral("Arial"), 10);
    for (int i = 0; i <= steps; ++i) {
        const int x = i * p - w / 2 + 11;
        const ScaleTick tick = ScaleTickAt(i);
        if (tick.centimetre) {
            painter.setPen(longTick);
            painter.drawLine(x, -h / 2, x, tick.length - h / 2);
            painter.setFont(labelFont);
            painter.setPen(Qt::black);
            painter.drawText(QRect(i * p - w / 2 + 1, 25 - h / 2, 20, 20), Qt::AlignCenter,
                             QString::number(i / 10));
        } else {
            painter.setPen(shortTick);
            painter.drawLine(x, -h / 2, x, -h / 2 + tick.length);
        }
    }
    // The read-out keeps the pen of the last tick.
    painter.setFont(QFont(QStringLiteral("Arial"), 20));
    painter.drawText(QRect(-30, 0, 60, 30), Qt::AlignCenter, ScaleReadout(steps));
}
