// Stand-ins for the main-window methods the drawing and page code hand over
// to (selection, editing, debug overlay, the toolbar, the floating
// panels, image objects, collaboration). Each notes that it was asked, or does
// the least the board relies on; the subsystem that owns it replaces its line
// here with the real body.
#include <QDebug>

#include "app/ui/dialog.h"

namespace {

void NotYet(const char* name)
{
    qDebug().noquote() << QStringLiteral("exe : %1 is not available yet").arg(QLatin1String(name));
}

}  // namespace

void Dialog::ResizeMove(int, int) { NotYet("ResizeMove"); }
void Dialog::RotateMove(int, int) { NotYet("RotateMove"); }
void Dialog::ResizeRelease(int, int, int) { NotYet("ResizeRelease"); }
void Dialog::RotateRelease(int, int, int) { NotYet("RotateRelease"); }
