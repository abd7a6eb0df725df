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

void Dialog::ChangeNote(QString) { NotYet("ChangeNote"); }
void Dialog::CloseNoteListDialog() { NotYet("CloseNoteListDialog"); }
void Dialog::BackGroundClipArtImage(QString) { NotYet("BackGroundClipArtImage"); }
void Dialog::NoteSavePrintOperation(QString, QString, int, int) { NotYet("NoteSavePrintOperation"); }
void Dialog::ChangeScrollBar(int, int) { NotYet("ChangeScrollBar"); }
void Dialog::ChangeScrollBar_release() { NotYet("ChangeScrollBar_release"); }
void Dialog::OptMenuBtn() { NotYet("OptMenuBtn"); }
void Dialog::OptColorDialog() { NotYet("OptColorDialog"); }
void Dialog::OptEraserDialog() { NotYet("OptEraserDialog"); }
void Dialog::OptFigureDialog() { NotYet("OptFigureDialog"); }
void Dialog::OptNoteDialog() { NotYet("OptNoteDialog"); }
void Dialog::OptChangeDialog() { NotYet("OptChangeDialog"); }
void Dialog::OptRecDialog() { NotYet("OptRecDialog"); }
void Dialog::OptZoomDialog() { NotYet("OptZoomDialog"); }
void Dialog::OptPreNoteBtn() { NotYet("OptPreNoteBtn"); }
void Dialog::OptPostNoteBtn() { NotYet("OptPostNoteBtn"); }
void Dialog::ClickColorBtn(QString) { NotYet("ClickColorBtn"); }
void Dialog::ChangePenWidth(int) { NotYet("ChangePenWidth"); }
void Dialog::ClickEraseBtn(QString) { NotYet("ClickEraseBtn"); }
void Dialog::ClickDrawBtn(QString) { NotYet("ClickDrawBtn"); }
void Dialog::OptUndo() { NotYet("OptUndo"); }
void Dialog::OptRedo() { NotYet("OptRedo"); }
void Dialog::OptTransBtnCheck(bool) { NotYet("OptTransBtnCheck"); }
void Dialog::ClickNoteBtn(QString) { NotYet("ClickNoteBtn"); }
void Dialog::OptNoteListBtn() { NotYet("OptNoteListBtn"); }
void Dialog::ClickObjectBtn(QString) { NotYet("ClickObjectBtn"); }
void Dialog::OptWinBtn() { NotYet("OptWinBtn"); }
void Dialog::OptCollconnectDlgBtn() { NotYet("OptCollconnectDlgBtn"); }
void Dialog::OptIpBtn() { NotYet("OptIpBtn"); }
void Dialog::OptStrovaBtn() { NotYet("OptStrovaBtn"); }
void Dialog::ClickZoomBtn_setData_Contents(QString) { NotYet("ClickZoomBtn_setData_Contents"); }
void Dialog::OptRecBtn(int) { NotYet("OptRecBtn"); }
void Dialog::OptViewBtn(int) { NotYet("OptViewBtn"); }
void Dialog::OptNoteBtn() { NotYet("OptNoteBtn"); }
void Dialog::OptColorBtn() { NotYet("OptColorBtn"); }
void Dialog::OptPenWidthBtn() { NotYet("OptPenWidthBtn"); }
void Dialog::OptTransBtn() { NotYet("OptTransBtn"); }
void Dialog::OptDrawBtn() { NotYet("OptDrawBtn"); }
void Dialog::OptEraseBtn() { NotYet("OptEraseBtn"); }
void Dialog::OptObjectBtn() { NotYet("OptObjectBtn"); }
void Dialog::OptZoomBtn_SetData_Contents() { NotYet("OptZoomBtn_SetData_Contents"); }
void Dialog::OptViewLocationBtn() { NotYet("OptViewLocationBtn"); }
void Dialog::OptUserListDlgBtn() { NotYet("OptUserListDlgBtn"); }
void Dialog::OptStartServer(QString, QString, QString) { NotYet("OptStartServer"); }
void Dialog::OptConnect(QString, QString, QString, int) { NotYet("OptConnect"); }
void Dialog::OptServerClose() { NotYet("OptServerClose"); }
void Dialog::OptDisconnect() { NotYet("OptDisconnect"); }
void Dialog::OptSetUseTool(QString) { NotYet("OptSetUseTool"); }
void Dialog::CreateNoteSubBtn() { NotYet("CreateNoteSubBtn"); }
void Dialog::CreateColorSubBtn() { NotYet("CreateColorSubBtn"); }
void Dialog::ShowPenWidthSlider() { NotYet("ShowPenWidthSlider"); }
void Dialog::CreateDrawSubBtn() { NotYet("CreateDrawSubBtn"); }
void Dialog::CreateEraseSubBtn() { NotYet("CreateEraseSubBtn"); }
void Dialog::CreateObjectSubBtn() { NotYet("CreateObjectSubBtn"); }
void Dialog::CreateZoomSubBtn() { NotYet("CreateZoomSubBtn"); }
void Dialog::CreateViewLocationSubBtn() { NotYet("CreateViewLocationSubBtn"); }
void Dialog::ChangeZoomMaphor(int) { QueueScrollRedraw(); }
void Dialog::ChangeZoomMapver(int) { QueueScrollRedraw(); }
void Dialog::OptRecStart(int) { NotYet("OptRecStart"); }
void Dialog::NotePrintProcess(QString, QImage) { NotYet("NotePrintProcess"); }
void Dialog::OptTool_DrawLine(QPoint, QPoint) { NotYet("OptTool_DrawLine"); }
void Dialog::OptTool_DrawArc(QRect, int, int) { NotYet("OptTool_DrawArc"); }
void Dialog::OptTool_DrawEllipse(QRect) { NotYet("OptTool_DrawEllipse"); }
void Dialog::OptColl(bool) { NotYet("OptColl"); }
void Dialog::OptCursor(bool) { NotYet("OptCursor"); }
void Dialog::OptInterpolation(bool) { NotYet("OptInterpolation"); }
void Dialog::OptAntialiasing(bool) { NotYet("OptAntialiasing"); }
void Dialog::Coll_ThreadBroadcastSend() { NotYet("Coll_ThreadBroadcastSend"); }
void Dialog::OptNewLecture() { NotYet("OptNewLecture"); }
void Dialog::OptProjectOpen() { NotYet("OptProjectOpen"); }
void Dialog::OptProjectSaveAs() { NotYet("OptProjectSaveAs"); }
void Dialog::OptNoteSave() { NotYet("OptNoteSave"); }
void Dialog::OptNotePrint() { NotYet("OptNotePrint"); }
void Dialog::OptToolSpot() { NotYet("OptToolSpot"); }
void Dialog::OptToolBlind() { NotYet("OptToolBlind"); }

// Until saving and recording exist, the exit entry just ends the program.
void Dialog::OptCloseOrbel()
{
    NotYet("OptCloseOrbel");
    emit MainDlgClose();
}

void Dialog::OptFloating_Movehere() { NotYet("OptFloating_Movehere"); }
void Dialog::OptMenuCut() { NotYet("OptMenuCut"); }
void Dialog::OptMenuCopy() { NotYet("OptMenuCopy"); }
void Dialog::OptMenuPaste() { NotYet("OptMenuPaste"); }
void Dialog::OptMenuDelete() { NotYet("OptMenuDelete"); }
void Dialog::OptMenuAll() { NotYet("OptMenuAll"); }
void Dialog::OptMenuRuler() { NotYet("OptMenuRuler"); }
void Dialog::OptMenuProtractor() { NotYet("OptMenuProtractor"); }
void Dialog::OptMenuCompass() { NotYet("OptMenuCompass"); }
void Dialog::OptMenuReset() { NotYet("OptMenuReset"); }
void Dialog::OptMenutoFront() { NotYet("OptMenutoFront"); }
void Dialog::OptMenuForward() { NotYet("OptMenuForward"); }
void Dialog::OptMenuBackward() { NotYet("OptMenuBackward"); }
void Dialog::OptMenutoBack() { NotYet("OptMenutoBack"); }
void Dialog::OptMenuGroup() { NotYet("OptMenuGroup"); }
void Dialog::OptMenuUngroup() { NotYet("OptMenuUngroup"); }
void Dialog::OptPanserMode() { NotYet("OptPanserMode"); }
void Dialog::OptAllCapture() { NotYet("OptAllCapture"); }
void Dialog::OptRectCapture() { NotYet("OptRectCapture"); }

void Dialog::ParseDeviceInfoLog() { NotYet("ParseDeviceInfoLog"); }
void Dialog::OptStopBtn()
{
    NotYet("OptStopBtn");
    m_recordingOn = false;
    m_screenRecordingOn = false;
}
