#include "app/ui/dialog.h"

#include "app/utilities.h"

#include <QDebug>

void Dialog::OptVirtureKeyboard()
{
    if (!ShowOnScreenKeyboard())
        qDebug() << "error keyboard";
}
