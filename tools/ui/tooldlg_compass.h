#pragma once

#include "tools/instrument_geometry.h"
#include "tools/ui/tooldlg_disc.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

// The compass: a translucent circle in a square frame with a degree ring, a
// centimetre scale along its radius and two arms. The first arm sets where an
// arc starts, the second how far it sweeps; the menu asks the board to draw
// the circle, the arc between the arms or the rest of the circle.
class ToolDlg_Compass : public ToolDlgTwoArmDisc
{
    Q_OBJECT

public:
    explicit ToolDlg_Compass(QWidget* parent = nullptr);
    void CreateMenu(QStringList* menuTexts, QStringList* commonTexts);

    int FirstAngle() const { return m_angle; }
    int SecondAngle() const { return m_armAngle; }

signals:
    void Compass_DrawEllipse(QRect circle);
    void Compass_DrawArc(QRect circle, int startAngle, int endAngle);

public slots:
    void OptMenu_DrawEllipse();
    void OptMenu_DrawArc();
    void OptMenu_DrawArc_reverse();
    void OptMenu_Close();

protected:
    void paintEvent(QPaintEvent* event) override;
};
