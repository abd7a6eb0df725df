#pragma once

#include "tools/instrument_geometry.h"
#include "tools/ui/tooldlg_disc.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

// The protractor: a translucent full circle with a 0..359 degree scale. Its
// zero direction turns with a green handle, a second arm opens with a blue
// one to measure an angle, and it is resized by its corners; the menu asks
// the board to draw both arms and the arc between them.
class ToolDlg_Protractor : public ToolDlgTwoArmDisc
{
    Q_OBJECT

public:
    explicit ToolDlg_Protractor(QWidget* parent = nullptr);
    void CreateMenu(QStringList* menuTexts, QStringList* commonTexts);

    int Angle() const { return m_angle; }
    int ArmAngle() const { return m_armAngle; }

signals:
    void Protractor_DrawLine(QPoint from, QPoint to);
    void Protractor_DrawArc(QRect circle, int startAngle, int endAngle);

public slots:
    void OptMenu_DrawLine();
    void OptMenu_Close();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ToolDlg::ProtractorDraw m_lastDraw;
};
