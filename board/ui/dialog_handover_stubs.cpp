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
void Dialog::Coll_Send_URdata(int, QString, int, int) { NotYet("Coll_Send_URdata"); }
void Dialog::Coll_Send_Resolution(int mode, QString id) { NotYetSent("Coll_Send_Resolution", {Num(mode), id}); }
void Dialog::Coll_Send_StrokeData(int mode, QString id) { NotYetSent("Coll_Send_StrokeData", {Num(mode), id}); }
void Dialog::Coll_Send_Redraw(int mode, QString id) { NotYetSent("Coll_Send_Redraw", {Num(mode), id}); }
void Dialog::Coll_Send_HeightScrollBar(int mode, QString id)
{
    NotYetSent("Coll_Send_HeightScrollBar", {Num(mode), id});
}
void Dialog::Coll_Send_WidthScrollBar(int mode, QString id)
{
    NotYetSent("Coll_Send_WidthScrollBar", {Num(mode), id});
}
void Dialog::InsertImageObject(QString, int, QString) { NotYet("InsertImageObject"); }
void Dialog::Coll_Send_ImgPath(int, QString, int) { NotYet("Coll_Send_ImgPath"); }
void Dialog::Coll_SendMessage(QString keyword, QString data)
{
    NotYetSent(qPrintable(keyword), {data});
}
void Dialog::Coll_Send_NoteBtn(int mode, QString id, QString kind)
{
    NotYetSent("Coll_Send_NoteBtn", {Num(mode), id, kind});
}
void Dialog::Coll_Send_NoteData(int mode, QString id, int flag)
{
    NotYetSent("Coll_Send_NoteData", {Num(mode), id, Num(flag)});
}
void Dialog::Coll_Send_NoteIdx(int mode, QString id) { NotYetSent("Coll_Send_NoteIdx", {Num(mode), id}); }
void Dialog::Coll_Send_ChangeNote(int mode, QString id, int direction)
{
    NotYetSent("Coll_Send_ChangeNote", {Num(mode), id, Num(direction)});
}
void Dialog::Coll_Send_MouseRelease(int mode, QString id, int action)
{
    NotYetSent("Coll_Send_MouseRelease", {Num(mode), id, Num(action)});
}
void Dialog::Coll_Send_Doc(int mode, QString id, int kind, QString first, QString second)
{
    NotYetSent("Coll_Send_Doc", {Num(mode), id, Num(kind), first, second});
}
void Dialog::Coll_Send_ImgFile(int mode, QString id) { NotYetSent("Coll_Send_ImgFile", {Num(mode), id}); }
void Dialog::NoteEraseAll(int) { NotYet("NoteEraseAll"); }
