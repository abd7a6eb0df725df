#pragma once

#include "tools/instrument_geometry.h"
#include "tools/ui/tooldlg_base.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

// The protractor: a translucent full circle with a 0..359 degree scale. Its
// zero direction turns with a green handle, a second arm opens with a blue
// one to measure an angle, and it is resized by its corners; the menu asks
// the board to draw both arms and the arc between them.
class ToolDlg_Protractor : public ToolDlgBase
{
    Q_OBJECT

public:
    explicit ToolDlg_Protractor(QWidget* parent = nullptr);
    ~ToolDlg_Protractor() override;
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
    QRegion Layout() override;
    void HandlePressed(QObject* handle) override;
    void HandleMoved(QObject* handle) override;
    void HandleReleased(QObject* handle) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_angle = 0;
    int m_armAngle = 0;
    bool m_rotating = false;
    bool m_armHeld = false;
    ToolDlg::ProtractorDraw m_lastDraw;
    int m_corner = 0;
    QLabel* m_turnHandle = nullptr;
    QLabel* m_armHandle = nullptr;
    // Top-left, top-right, bottom-right, bottom-left: corners 1 to 4.
    QLabel* m_cornerHandles[4] = {};
};
