#include "tools/ui/tooldlg_compass.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

using namespace ToolDlg;

ToolDlg_Compass::ToolDlg_Compass(QWidget* parent)
    : ToolDlgBase("ToolDlg_Compass", QSize(301, 301), parent)
{
    m_firstHandle = MakeHandle("label_Angle", kTurnHandleStyle);
    m_secondHandle = MakeHandle("label_Angle_sub", kArmHandleStyle);
    m_cornerHandles[0] = MakeHandle("label_TopLeft", kEndHandleStyle);
    m_cornerHandles[1] = MakeHandle("label_TopRight", kEndHandleStyle);
    m_cornerHandles[2] = MakeHandle("label_BottomRight", kEndHandleStyle);
    m_cornerHandles[3] = MakeHandle("label_BottomLeft", kEndHandleStyle);
    MakeMenuButton();
    for (const char* name : {"label_debug1", "label_debug2", "label_debug3"})
        MakeDiagnosticLabel(name, QSize(700, 21));
    hide();
}

ToolDlg_Compass::~ToolDlg_Compass()
{
    if (m_menu) {
        m_menu->clear();
        m_menu->close();
    }
}

void ToolDlg_Compass::CreateMenu(QStringList* menuTexts, QStringList* commonTexts)
{
    BuildMenu(menuTexts, commonTexts,
              {{29, SLOT(OptMenu_DrawEllipse())}, {30, SLOT(OptMenu_DrawArc())},
               {31, SLOT(OptMenu_DrawArc_reverse())}});
}

void ToolDlg_Compass::OptMenu_DrawEllipse()
{
    emit Compass_DrawEllipse(m_rect);
}

void ToolDlg_Compass::OptMenu_DrawArc()
{
    const ArcRequest arc = CompassArc(m_rect, m_firstAngle, m_secondAngle);
    emit Compass_DrawArc(arc.rect, arc.from, arc.to);
}

void ToolDlg_Compass::OptMenu_DrawArc_reverse()
{
    const ArcRequest arc = CompassReverseArc(m_rect, m_firstAngle, m_secondAngle);
    emit Compass_DrawArc(arc.rect, arc.from, arc.to);
}

void ToolDlg_Compass::OptMenu_Close()
{
    hide();
}

QRegion ToolDlg_Compass::Layout()
{
    const QPoint c = m_rect.center();
    const int w = m_rect.width();
    const int h = m_rect.height();
    const QPoint corners[4] = {m_rect.topLeft(), QPoint(m_rect.left() + w, m_rect.top()),
                               QPoint(m_rect.left() + w, m_rect.top() + h), QPoint(m_rect.left(), m_rect.top() + h)};
    for (int i = 0; i < 4; ++i)
        CentreOn(m_cornerHandles[i], RotatePoint(corners[i], m_firstAngle, c));
    CentreOn(m_menuButton, RotatePoint(QPoint(m_rect.right() - 25, m_rect.bottom() - 25), m_firstAngle, c));
    m_menuButton->setPixmap(TurnedMenuIcon(m_firstAngle));
    CentreOn(m_firstHandle, RotatePoint(QPoint(c.x(), c.y() - h / 2 - 20), m_firstAngle, c));
    CentreOn(m_secondHandle, RotatePoint(QPoint(c.x(), c.y() - h / 2 - 80), m_firstAngle + m_secondAngle, c));

    QRegion shape = TwoArmDiscShape(m_rect, m_firstAngle, m_secondAngle, m_firstArmHeld);
    for (const QLabel* corner : m_cornerHandles)
        shape += HandleRegion(corner);
    shape += HandleRegion(m_menuButton);
    shape += HandleRegion(m_firstHandle);
    shape += HandleRegion(m_secondHandle);
    return shape;
}

void ToolDlg_Compass::HandlePressed(QObject* handle)
{
    if (handle == m_firstHandle) {
        m_firstArmHeld = true;
        Changed();
        return;
    }
    if (handle == m_secondHandle) {
        m_secondArmHeld = true;
        Changed();
        return;
    }
    for (int i = 0; i < 4; ++i) {
        if (handle == m_cornerHandles[i])
            m_corner = i + 1;
    }
}

void ToolDlg_Compass::HandleMoved(QObject* handle)
{
    const QPoint c = m_rect.center();
    if (handle == m_firstHandle) {
        m_firstAngle = Bearing(c, Pointer());
        Changed();
    } else if (handle == m_secondHandle) {
        // Measured from the first arm, so the second arm follows the first.
        m_secondAngle = Bearing(c, RotatePoint(Pointer(), -m_firstAngle, c));
        Changed();
    }
}

void ToolDlg_Compass::HandleReleased(QObject* handle)
{
    if (handle == m_firstHandle || handle == m_secondHandle) {
        m_firstArmHeld = false;
        m_secondArmHeld = false;
        Changed();
        return;
    }
    for (const QLabel* corner : m_cornerHandles) {
        if (handle == corner)
            m_corner = 0;
    }
}

void ToolDlg_Compass::mouseMoveEvent(QMouseEvent* event)
{
    if (m_firstArmHeld || m_secondArmHeld || m_menuButtonHeld || !(event->buttons() & Qt::LeftButton)
        || m_pressRect.isNull())
        return;
    if (m_corner != 0) {
        const QPoint d = FrameDisplacement(Pointer(), m_pressPosition, m_firstAngle, m_pressRect.center());
        QRect resized;
        if (!ResizeSquare(m_pressRect, m_corner, d, m_firstAngle, kCompassMinWidth, &resized))
            return;
        m_workingRect = resized;
        m_rect = resized;
    } else {
        setCursor(Qt::SizeAllCursor);
        m_rect.moveCenter(m_pressRect.center() + (event->pos() - m_pressPosition));
    }
    Changed();
}

void ToolDlg_Compass::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen thinBlue(Qt::blue, 1);
    const QPen thinBlack(Qt::black, 1);
    const QPen red(Qt::red, 2);
    const QPen blue(Qt::blue, 2);
    const QPen black(Qt::black, 2);
    const QPoint c = m_rect.center();
    const int w = m_rect.width();
    const int h = m_rect.height();
    const int r = w / 2;
    const int a1 = m_firstAngle;
    const int a2 = m_secondAngle;

    if (m_firstArmHeld) {
        painter.setPen(red);
        painter.drawLine(c, QPoint(c.x(), c.y() - h / 2 - 20));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(m_firstArmHeld ? red : m_secondArmHeld ? blue : black);
    painter.drawEllipse(m_rect);

    // The square, the disc and the radius scale turn with the first arm.
    painter.translate(c);
    painter.rotate(a1);
    painter.translate(-c);
    painter.setPen(thinBlack);
    painter.drawRects(&m_rect, 1);
    painter.setBrush(QBrush(QColor(200, 200, 200, 20), Qt::SolidPattern));
    painter.drawEllipse(m_rect);
    painter.setBrush(Qt::NoBrush);

    painter.save();
    painter.translate(c);
    for (int i = 0; i < 360; ++i) {
        if (i % 30 == 0) {
            painter.setPen(thinBlue);
            painter.drawLine(0, -h / 2, 0, 20 - h / 2);
        } else {
            painter.setPen(thinBlack);
            if (i % 10 == 0)
                painter.drawLine(0, -h / 2, 0, 14 - h / 2);
        }
        painter.rotate(1.0);
    }
    painter.restore();

    const int p = PixelsPerMillimetre(m_logicalDpi);
    const int steps = CompassSteps(m_rect, p);
    const QFont labelFont(QStringLiteral("Arial"), 10);
    for (int j = 0; j <= steps; ++j) {
        const int x = c.x() + j * p;
        const ScaleTick tick = ScaleTickAt(j);
        if (tick.centimetre) {
            painter.setPen(thinBlack);
            painter.drawLine(x, c.y(), x, c.y() + tick.length);
            painter.setFont(labelFont);
            painter.setPen(Qt::black);
            painter.drawText(QRect(x - 10, c.y() + 20, 20, 20), Qt::AlignCenter, QString::number(j / 10));
        } else {
            painter.setPen(thinBlue);
            painter.drawLine(x, c.y(), x, c.y() + tick.length);
        }
    }

    painter.resetTransform();
    painter.translate(c);
    painter.rotate(a1);
    // The read-out keeps the pen of the last tick.
    painter.setFont(QFont(QStringLiteral("Arial"), 20));
    painter.drawText(QRect(r / 2 - 30, 40, 60, 30), Qt::AlignCenter, ScaleReadout(steps));

    if (m_firstArmHeld) {
        painter.setPen(red);
        painter.drawLine(0, 0, 0, -20 - h / 2);
    }
    if (m_secondArmHeld) {
        painter.setPen(blue);
        painter.drawLine(0, 0, 0, -60 - h / 2);
    }
    painter.setPen(blue);
    painter.rotate(a2);
    painter.drawLine(0, 0, 0, -60 - h / 2);
    painter.rotate(-a2);

    painter.setPen(thinBlack);
    painter.drawLine(0, -20, 0, 0);
    painter.drawLine(-20, 0, r, 0);

    painter.setFont(QFont(QStringLiteral("Arial"), 15));
    painter.setPen(red);
    painter.drawText(QRect(-30, -50 - h / 2, 60, 20), Qt::AlignCenter, QString::number(a1));
    painter.setPen(blue);
    painter.rotate(a2);
    painter.drawText(QRect(-30, -110 - h / 2, 60, 20), Qt::AlignCenter, QString::number(a2));
    painter.rotate(-a2);

    const QRect half = CentredRect(c, w / 2, h / 2);
    auto sweep = [&](const QColor& colour, int span) {
        painter.resetTransform();
        painter.translate(c);
        painter.rotate(a1);
        painter.translate(-c);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, 6));
        painter.drawArc(m_rect, 1440, span);
        painter.setPen(QPen(colour, 3));
        painter.drawArc(half, 1440, span);
    };
    // While an arm turns: from straight up to the first arm, or from the
    // first arm to the second.
    if (m_firstArmHeld)
        sweep(Qt::red, a1 * 16);
    if (m_secondArmHeld)
        sweep(Qt::blue, -a2 * 16);
}
