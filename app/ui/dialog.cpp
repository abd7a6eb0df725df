#include "app/ui/dialog.h"

Dialog::Dialog(QWidget* parent)
    : QWidget(parent)
{
}

Dialog::~Dialog() = default;
