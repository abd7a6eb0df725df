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

void Dialog::OptSetUserLevel(QString, bool) { NotYet("OptSetUserLevel"); }
void Dialog::SelectObjectAtPoint(QPoint, QPoint, int) { NotYet("SelectObjectAtPoint"); }
void Dialog::SelectObjectsInArea(QPoint, QPoint, int) { NotYet("SelectObjectsInArea"); }
void Dialog::ResizeMove(int, int) { NotYet("ResizeMove"); }
void Dialog::RotateMove(int, int) { NotYet("RotateMove"); }
void Dialog::ResizeRelease(int, int, int) { NotYet("ResizeRelease"); }
void Dialog::RotateRelease(int, int, int) { NotYet("RotateRelease"); }
void Dialog::Modify_Move(int, int) { NotYet("Modify_Move"); }
void Dialog::UpdateMoveAll(int, int) { NotYet("UpdateMoveAll"); }
void Dialog::EraseObjectsAlongPath(QPoint, QPoint, int) { NotYet("EraseObjectsAlongPath"); }
void Dialog::InsertCaptureImage(int) { NotYet("InsertCaptureImage"); }
void Dialog::CalcSelectionRect() { NotYet("CalcSelectionRect"); }
void Dialog::OptRightMenu() { NotYet("OptRightMenu"); }
void Dialog::MasterDlg_Show() { NotYet("MasterDlg_Show"); }
void Dialog::Coll_Send_URdata(int, QString, int, int) { NotYet("Coll_Send_URdata"); }
void Dialog::Coll_Send_Resolution(int, QString) { NotYet("Coll_Send_Resolution"); }
void Dialog::Coll_Send_StrokeData(int, QString) { NotYet("Coll_Send_StrokeData"); }
void Dialog::Coll_Send_Redraw(int, QString) { NotYet("Coll_Send_Redraw"); }
void Dialog::Coll_Send_HeightScrollBar(int, QString) { NotYet("Coll_Send_HeightScrollBar"); }
void Dialog::Coll_Send_WidthScrollBar(int, QString) { NotYet("Coll_Send_WidthScrollBar"); }
void Dialog::ClearSubBtn() { m_subButtonRowOpen = false; }
void Dialog::InsertImageObject(QString, int, QString) { NotYet("InsertImageObject"); }
void Dialog::SetDisplayData(int) { NotYet("SetDisplayData"); }
void Dialog::Coll_Send_ImgPath(int, QString, int) { NotYet("Coll_Send_ImgPath"); }
void Dialog::ResetToolbarForNewBoard() { NotYet("ResetToolbarForNewBoard"); }
void Dialog::Coll_Send_Doc(int, QString, int kind, QString, QString)
{
    qDebug().noquote() << QStringLiteral("exe : Coll_Send_Doc (kind %1) is not available yet").arg(kind);
}
void Dialog::Coll_Send_NoteData(int, QString, int flag)
{
    qDebug().noquote() << QStringLiteral("exe : Coll_Send_NoteData (flag %1) is not available yet").arg(flag);
}
void Dialog::Coll_Send_NoteIdx(int, QString) { NotYet("Coll_Send_NoteIdx"); }
