#pragma once

#include "tools/instrument_geometry.h"
#include "tools/ui/tooldlg_base.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

// The compass: a translucent circle in a square frame with a degree ring, a
// centimetre scale along its radius and two arms. The first arm sets where an
// arc starts, the second how far it sweeps; the menu asks the board to draw
// the circle, the arc between the arms or the rest of the circle.
class ToolDlg_Compass : public ToolDlgBase
{
    Q_OBJECT

public:
    explicit ToolDlg_Compass(QWidget* parent = nullptr);
    ~ToolDlg_Compass() override;
    void CreateMenu(QStringList* menuTexts, QStringList* commonTexts);

    int FirstAngle() const { return m_firstAngle; }
    int SecondAngle() const { return m_secondAngle; }

signals:
    void Compass_DrawEllipse(QRect circle);
    void Compass_DrawArc(QRect circle, int startAngle, int endAngle);

public slots:
    void OptMenu_DrawEllipse();
    void OptMenu_DrawArc();
    void OptMenu_DrawArc_reverse();
    void OptMenu_Close();

protected:
    QRegion Layout() override;
    void HandlePressed(QObject* handle) override;
    void HandleMoved(QObject* handle) override;
    void HandleReleased(QObject* handle) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_firstAngle = 0;
    int m_secondAngle = 0;
    bool m_firstArmHeld = false;
    bool m_secondArmHeld = false;
    int m_corner = 0;
    QLabel* m_firstHandle = nullptr;
    QLabel* m_secondHandle = nullptr;
    // Top-left, top-right, bottom-right, bottom-left: corners 1 to 4.
    QLabel* m_cornerHandles[4] = {};
};
