#pragma once

#include "panels/ui/floating_subpanel.h"

// A sub-panel whose own working is not there yet: the main window creates,
// wires, moves and marks it like the others, but it never becomes visible
// and says so once per request to show it.
class PlaceholderSubPanel : public FloatingSubPanel
{
public:
    PlaceholderSubPanel(const char* className, QWidget* parent);

    void setVisible(bool visible) override;

private:
    const char* m_className;
};
