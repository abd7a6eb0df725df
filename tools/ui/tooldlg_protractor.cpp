#include "tools/ui/tooldlg_protractor.h"

#include <QLabel>
#include <QPainter>

using namespace ToolDlg;

ToolDlg_Protractor::ToolDlg_Protractor(QWidget* parent)
    : ToolDlgTwoArmDisc("ToolDlg_Protractor", kProtractorMinWidth, parent)
{
    int y = 10;
    for (const char* name : {"label_debug1", "label_debug2", "label_debug3"}) {
        MakeDiagnosticLabel(name, QSize(700, 21))->move(10, y);
        y += 20;
    }
    hide();
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

void ToolDlg_Protractor::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen thinBlue(Qt::blue, 1);
    const QPen thinBlack(Qt::black, 1);
    const QPoint c = m_rect.center();
    const int w = m_rect.width();
    const int h = m_rect.height();
    PaintGround(painter);

    PaintDisc(painter, 1);
    painter.translate(c);
    painter.save();
    painter.setFont(QFont(QStringLiteral("Arial"), ProtractorLabelPointSize(w)));
    for (int i = 0; i < 360; ++i) {
        if (i % 10 == 0) {
            painter.setPen(thinBlue);
            painter.drawLine(0, -h / 2, 0, 20 - h / 2);
            if (i % 30 == 0) {
                painter.setPen(Qt::black);
                painter.drawText(QRect(-50, h / 18 - h / 2, 100, 40), Qt::AlignCenter, QString::number(i));
            }
        } else {
            painter.setPen(thinBlack);
            painter.drawLine(0, -h / 2, 0, (i % 5 == 0 ? 14 : 8) - h / 2);
        }
        if (i % 10 == 0 && i % 90 != 0) {
            painter.setPen(thinBlack);
            painter.drawLine(0, -w / 10, 0, -w / 4);
        }
        painter.rotate(1.0);
    }
    painter.restore();

    PaintArms(painter);
    painter.setPen(thinBlue);
    painter.drawLine(0, w / 5 - h / 2, 0, h / 2 - w / 5);
    painter.drawLine(w / 5 - w / 2, 0, w / 2 - w / 5, 0);
    PaintReadoutsAndSweeps(painter);
}
