#include "storage/ui/projsave.h"

projsave::projsave(QWidget* parent)
    : PlaceholderDialog("projsave", parent)
{
}
