#include "panels/ui/floatingfigure.h"

floatingfigure::floatingfigure(QWidget* parent)
    : PlaceholderSubPanel("floatingfigure", parent)
{
}

void floatingfigure::InitDialog(QStringList*) {}

void floatingfigure::SetFigureKey(QString key)
{
    m_key = key;
    emit CallOptFigureChange(key);
}

void floatingfigure::SetTransChecked(bool checked) { m_transChecked = checked; }
void floatingfigure::SetTransEnabled(bool enabled) { m_transEnabled = enabled; }
void floatingfigure::SetSmartVisible(bool visible) { m_smartVisible = visible; }
