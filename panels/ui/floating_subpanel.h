#pragma once

#include "panels/ui/floating_panel.h"

#include <QPoint>

// A sub-panel of the launcher: a ring of checkable buttons that opens
// centred over the launcher and closes itself once the pointer has left it.
class FloatingSubPanel : public FloatingPanel
{
    Q_OBJECT

public:
    // Places the panel over a launcher whose top-left corner is (x, y).
    void MoveTo(int x, int y);

    // The last pointer position seen over the panel, for the leave rule.
    QPoint LastPointerPosition() const { return m_lastPosition; }

protected:
    FloatingSubPanel(const char* className, QWidget* parent);

    // A button of the ring: checkable, following the pointer without a press.
    QPushButton* AddRingButton(const char* objectName);
    // Window flags, translucency, the background picture on the whole panel.
    void InitFrame(const QString& folder, const QString& background);

    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPoint m_lastPosition;
};
