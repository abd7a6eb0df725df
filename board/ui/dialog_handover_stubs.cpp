// Stand-ins for the main-window methods the drawing and page code hand over
// to (selection, editing, debug overlay, the toolbar, the floating
// panels, image objects, collaboration). Each notes that it was asked, or does
// the least the board relies on; the subsystem that owns it replaces its line
// here with the real body.
#include <QDebug>
#include <QStringList>

#include "app/ui/dialog.h"

namespace {

void NotYet(const char* name)
{
    qDebug().noquote() << QStringLiteral("exe : %1 is not available yet").arg(QLatin1String(name));
}

// A sender that is not built yet: the line names it with what it would send,
// so a reader of the log (and a test) sees every message a command makes.
void NotYetSent(const char* name, const QStringList& arguments)
{
    qDebug().noquote() << QStringLiteral("exe : %1(%2) is not available yet")
                              .arg(QLatin1String(name), arguments.join(QLatin1Char(',')));
}

QString Num(int n) { return QString::number(n); }

}  // namespace

void Dialog::ResizeMove(int, int) { NotYet("ResizeMove"); }
void Dialog::RotateMove(int, int) { NotYet("RotateMove"); }
void Dialog::ResizeRelease(int, int, int) { NotYet("ResizeRelease"); }
void Dialog::RotateRelease(int, int, int) { NotYet("RotateRelease"); }
void Dialog::UpdateMoveAll(int, int) { NotYet("UpdateMoveAll"); }
void Dialog::EraseObjectsAlongPath(QPoint, QPoint, int) { NotYet("EraseObjectsAlongPath"); }
void Dialog::MasterDlg_Show() { NotYet("MasterDlg_Show"); }
void Dialog::Coll_Send_URdata(int, QString, int, int) { NotYet("Coll_Send_URdata"); }
void Dialog::InsertImageObject(QString, int, QString) { NotYet("InsertImageObject"); }
void Dialog::Coll_Send_MouseRelease(int mode, QString id, int action)
{
    NotYetSent("Coll_Send_MouseRelease", {Num(mode), id, Num(action)});
}
void Dialog::NoteEraseAll(int) { NotYet("NoteEraseAll"); }
