#pragma once

#include "tools/ui/tooldlg_base.h"

class QLabel;
class QPainter;

// What the compass and the protractor share: a translucent disc in a square
// frame that turns with a green handle, a second arm opened with a blue one
// and measured from the first, round corner handles that resize the square,
// and the red and blue read-outs and sweeps shown while an arm turns.
class ToolDlgTwoArmDisc : public ToolDlgBase
{
    Q_OBJECT

protected:
    ToolDlgTwoArmDisc(const char* objectName, int minWidth, QWidget* parent);

    QRegion Layout() override;
    void HandlePressed(QObject* handle) override;
    void HandleMoved(QObject* handle) override;
    void HandleReleased(QObject* handle) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    // The outline (red or blue while an arm turns), then the frame and the
    // disc fill turned with the first arm. Leaves the painter turned about
    // the centre, in window coordinates.
    void PaintDisc(QPainter& painter, int idleOutlineWidth);
    // The held arms and the second arm; the painter is at the centre,
    // turned with the first arm, and stays there.
    void PaintArms(QPainter& painter);
    // Both angle read-outs and, while an arm turns, its sweep.
    void PaintReadoutsAndSweeps(QPainter& painter);

    int m_angle = 0;
    int m_armAngle = 0;
    bool m_turnHeld = false;
    bool m_armHeld = false;

private:
    int m_minWidth;
    int m_corner = 0;
    QLabel* m_turnHandle = nullptr;
    QLabel* m_armHandle = nullptr;
    // Top-left, top-right, bottom-right, bottom-left: corners 1 to 4.
    QLabel* m_cornerHandles[4] = {};
};
