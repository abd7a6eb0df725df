#include "panels/ui/floatingzoom.h"

floatingzoom::floatingzoom(QWidget* parent)
    : PlaceholderSubPanel("floatingzoom", parent)
{
}

void floatingzoom::InitDialog(QStringList*) {}
void floatingzoom::SetZoomKey(QString key) { m_key = key; }
