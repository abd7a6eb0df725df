#include "tools/ui/spot.h"

spot::spot(QWidget* parent)
    : PlaceholderDialog("spot", parent)
{
}

void spot::InitDialog(QStringList*) {}
void spot::SetSpotMask(int, int, int) {}
