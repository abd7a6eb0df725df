#include "panels/ui/floatingcolor.h"

floatingcolor::floatingcolor(QWidget* parent)
    : FloatingSubPanel("floatingcolor", parent)
{
}

void floatingcolor::InitDialog(QStringList*, QStringList*) {}

void floatingcolor::SetCurrentColor(QString colour, int width, int preset1, int preset2, int preset3, int preset4)
{
    m_colour = colour;
    m_width = width;
    m_presets[0] = preset1;
    m_presets[1] = preset2;
    m_presets[2] = preset3;
    m_presets[3] = preset4;
}
