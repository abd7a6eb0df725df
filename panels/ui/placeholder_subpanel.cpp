#include "panels/ui/placeholder_subpanel.h"

#include "app/ui/placeholder_dialog.h"

PlaceholderSubPanel::PlaceholderSubPanel(const char* className, QWidget* parent)
    : FloatingSubPanel(className, parent)
    , m_className(className)
{
}

void PlaceholderSubPanel::setVisible(bool visible)
{
    if (visible) {
        SayNotAvailableYet(m_className);
        return;
    }
    FloatingSubPanel::setVisible(false);
}
