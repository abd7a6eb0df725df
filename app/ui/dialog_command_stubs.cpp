// Stand-ins for the commands and slots the connection table, the menus and
// the tray already reach but whose subsystems come later. Each writes one
// "is not available yet" line; the issue that builds a command replaces its
// line here with the real body in its own file.
#include "app/ui/dialog.h"

#include <QDebug>

namespace {

void NotYet(const char* name)
{
    qDebug().noquote() << QStringLiteral("exe : %1 is not available yet").arg(QLatin1String(name));
}

}  // namespace

void Dialog::OptMenuCut() { NotYet("OptMenuCut"); }
void Dialog::OptMenuCopy() { NotYet("OptMenuCopy"); }
void Dialog::OptMenuPaste() { NotYet("OptMenuPaste"); }
void Dialog::OptMenuDelete() { NotYet("OptMenuDelete"); }
void Dialog::OptMenuAll() { NotYet("OptMenuAll"); }
void Dialog::OptMenuReset() { NotYet("OptMenuReset"); }
void Dialog::OptMenutoFront() { NotYet("OptMenutoFront"); }
void Dialog::OptMenuForward() { NotYet("OptMenuForward"); }
void Dialog::OptMenuBackward() { NotYet("OptMenuBackward"); }
void Dialog::OptMenutoBack() { NotYet("OptMenutoBack"); }
void Dialog::OptMenuGroup() { NotYet("OptMenuGroup"); }
void Dialog::OptMenuUngroup() { NotYet("OptMenuUngroup"); }
