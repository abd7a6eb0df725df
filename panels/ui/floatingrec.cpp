#include "panels/ui/floatingrec.h"

floatingrec::floatingrec(QWidget* parent)
    : PlaceholderSubPanel("floatingrec", parent)
{
}

void floatingrec::InitDialog(QStringList*) {}
