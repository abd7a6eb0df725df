#include "tools/ui/tooldlg_compass.h"

#include <QPainter>

using namespace ToolDlg;

ToolDlg_Compass::ToolDlg_Compass(QWidget* parent)
    : ToolDlgTwoArmDisc("ToolDlg_Compass", kCompassMinWidth, parent)
{
    for (const char* name : {"label_debug1", "label_debug2", "label_debug3"})
        MakeDiagnosticLabel(name, QSize(700, 21));
    hide();
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
    const ArcRequest arc = CompassArc(m_rect, m_angle, m_armAngle);
    emit Compass_DrawArc(arc.rect, arc.from, arc.to);
}

void ToolDlg_Compass::OptMenu_DrawArc_reverse()
{
    const ArcRequest arc = CompassReverseArc(m_rect, m_angle, m_armAngle);
    emit Compass_DrawArc(arc.rect, arc.from, arc.to);
}

void ToolDlg_Compass::OptMenu_Close()
{
    hide();
}

void ToolDlg_Compass::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen thinBlue(Qt::blue, 1);
    const QPen thinBlack(Qt::black, 1);
    const QPoint c = m_rect.center();
    const int h = m_rect.height();
    const int r = m_rect.width() / 2;
    PaintGround(painter);

    // The square, the disc and the radius scale turn with the first arm.
    PaintDisc(painter, 2);
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
    painter.rotate(m_angle);
    // The read-out keeps the pen of the last tick.
    painter.setFont(QFont(QStringLiteral("Arial"), 20));
    painter.drawText(QRect(r / 2 - 30, 40, 60, 30), Qt::AlignCenter, ScaleReadout(steps));

    PaintArms(painter);
    painter.setPen(thinBlack);
    painter.drawLine(0, -20, 0, 0);
    painter.drawLine(-20, 0, r, 0);
    PaintReadoutsAndSweeps(painter);
}
