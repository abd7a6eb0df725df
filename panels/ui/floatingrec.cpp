#include "panels/ui/floatingrec.h"

floatingrec::floatingrec(QWidget* parent)
    : FloatingSubPanel("floatingrec", parent)
{
}

void floatingrec::InitDialog(QStringList*) {}
