#include "panels/ui/floating_subpanel.h"

FloatingSubPanel::FloatingSubPanel(const char* className, QWidget* parent)
    : PlaceholderDialog(className, parent)
{
}

void FloatingSubPanel::SetHoverButton(QWidget* button, bool on)
{
    m_hoverButton = on ? button : nullptr;
}
