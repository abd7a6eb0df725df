#include "app/ui/dialog.h"

#include "app/ui/message_box.h"
#include "app/utilities.h"

#include <QDebug>

void Dialog::OptVirtureKeyboard()
{
    if (ShowOnScreenKeyboard())
        return;
    qDebug() << "error keyboard";
    // Said once a run: the save dialogs ask for the keyboard every time, and
    // the answer will not change until the keyboard is installed.
    static bool told = false;
    if (told)
        return;
    told = true;
    ui::WarningBox(this, QStringLiteral("On-screen keyboard"),
                   QStringLiteral("No on-screen keyboard could be started. Install the program \"onboard\" to type "
                                  "with the pointer; a real keyboard still works."));
}
