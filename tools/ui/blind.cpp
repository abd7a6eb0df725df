#include "tools/ui/blind.h"

blind::blind(QWidget* parent)
    : PlaceholderDialog("blind", parent)
{
}

void blind::InitDialog(QStringList*) {}
void blind::ShowOnScreen(int, int, int) {}
