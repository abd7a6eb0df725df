#include "panels/ui/floatingeraser.h"

floatingeraser::floatingeraser(QWidget* parent)
    : PlaceholderSubPanel("floatingeraser", parent)
{
}

void floatingeraser::InitDialog(QStringList*) {}
void floatingeraser::SetEraserKey(QString key) { m_key = key; }
