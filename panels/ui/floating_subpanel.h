#pragma once

#include "panels/ui/floating_panel.h"

#include <QList>
#include <QPoint>
#include <QStringList>

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
    // A panel whose window title is not its class name.
    FloatingSubPanel(const char* className, const QString& title, QWidget* parent);

    // A button of the ring: checkable, following the pointer without a press.
    QPushButton* AddRingButton(const char* objectName);
    // Window flags, translucency, the background picture on the whole panel.
    void InitFrame(const QString& folder, const QString& background);
    // Gives each button the picture sheet, geometry and hint tool tip of its
    // row of `specs` (same order); the picture named `disabledFace` also
    // gets its disabled face.
    void StyleButtons(const QList<QPushButton*>& buttons, const QVector<PanelButton>& specs,
                      const QStringList* hintTexts, const char* disabledFace = nullptr);

    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPoint m_lastPosition;
};
