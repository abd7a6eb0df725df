#pragma once

#include "app/ui/placeholder_dialog.h"

// What the seven sub-panels of the floating launcher share: the main window
// marks the button under the mouse before it shows a panel.
class FloatingSubPanel : public PlaceholderDialog
{
public:
    FloatingSubPanel(const char* className, QWidget* parent);

    // (nullptr, false) clears the mark.
    void SetHoverButton(QWidget* button, bool on);
    QWidget* hoverButton() const { return m_hoverButton; }

private:
    QWidget* m_hoverButton = nullptr;
};
