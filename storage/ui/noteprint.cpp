#include "storage/ui/noteprint.h"

NotePrint::NotePrint(QWidget* parent)
    : PlaceholderDialog("NotePrint", parent)
{
}

void NotePrint::InitNotePrint(bool) {}
