// The one table of connections between the panels, the dialogs, the form's
// buttons, the job watchers and the main window. Every panel reaches the board
// only through one of these rows; the row's slot is where the work is done.
// Signals and slots are named by their normalised signatures, as both sides
// declare them; every connection is automatic, so a worker's signals arrive
// queued on the GUI thread.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/outside_libraries.h"

#include "ui_dialog.h"

#include <QDebug>

namespace {

enum class Needs { Always, Capture, Collaboration };

struct Wiring {
    int row;
    QObject* sender;
    const char* signal;
    const char* slot;
    Needs needs;
};

}  // namespace

void Dialog::ConnectSignals()
{
    // Running the table twice would double every connection.
    if (m_signalsConnected)
        return;
    m_signalsConnected = true;

    const Needs A = Needs::Always;
    const Needs Cap = Needs::Capture;
    const Needs Col = Needs::Collaboration;
    const Wiring table[] = {
        {1, m_noteDialog, SIGNAL(SelectItem(QString)), SLOT(ChangeNote(QString)), A},
        {2, m_noteDialog, SIGNAL(DeleteItem(QString)), SLOT(DeleteNote(QString)), A},
        {3, m_noteDialog, SIGNAL(CloseDialog()), SLOT(CloseNoteListDialog()), A},
        {4, m_clipart, SIGNAL(InsertImage(QString)), SLOT(InsertClipArtImage(QString)), A},
        {5, m_clipart, SIGNAL(InsertBackGroundImage(QString)), SLOT(BackGroundClipArtImage(QString)), A},
        {6, m_noteSave, SIGNAL(CallVirtualKeyboard()), SLOT(OptVirtureKeyboard()), A},
        {7, m_noteSave, SIGNAL(CallNoteSavePrintOperation(QString,QString,int,int)),
         SLOT(NoteSavePrintOperation(QString,QString,int,int)), A},
        {8, m_configDlg, SIGNAL(CallVirtualKeyboard()), SLOT(OptVirtureKeyboard()), A},
        {9, m_configDlg, SIGNAL(CallSaveConfigData(ConfigInfomation)), SLOT(SaveConfigData(ConfigInfomation)), A},
        {10, m_configDlg, SIGNAL(CallChangedCam(QString)), SLOT(OptChangedCam(QString)), A},
        {11, m_configDlg, SIGNAL(CallChangedMic(QString)), SLOT(OptChangedMic(QString)), A},
        {12, m_configDlg, SIGNAL(configdlg_setPos()), SLOT(OptConfigDlgSetPos()), A},
        {13, m_configDlg, SIGNAL(Config_Init()), SLOT(Config_InitAll()), A},
        {14, m_configDlg, SIGNAL(SavePrj_Update()), SLOT(Config_savePrj_Update()), A},
        {15, m_configDlg, SIGNAL(Call_MasterDlg()), SLOT(MasterDlg_Show()), A},
        {16, m_showImportMsg, SIGNAL(CallSetCheck(bool)), SLOT(SetDocumentOpenOption(bool)), A},
        {17, m_showImportMsg, SIGNAL(CallDocuments()), SLOT(OpenDocuments()), A},
        {18, m_importDlg, SIGNAL(CallAddDocuments(QString,bool,bool)), SLOT(AddDocuments(QString,bool,bool)), A},
        {19, m_importDlg, SIGNAL(CallAddFinished()), SLOT(AddFinished()), A},
        {20, m_navi, SIGNAL(CallScrollBarPositionChange(int,int)), SLOT(ChangeScrollBar(int,int)), A},
        {21, m_navi, SIGNAL(CallScrollBarPositionChange_Release()), SLOT(ChangeScrollBar_release()), A},
        {22, m_floatingMain, SIGNAL(CallOptMenuBtn()), SLOT(OptMenuBtn()), A},
        {23, m_floatingMain, SIGNAL(CallSubAlign(QPoint)), SLOT(OptSubAlign(QPoint)), A},
        {24, m_floatingMain, SIGNAL(CallOptColorDialog()), SLOT(OptColorDialog()), A},
        {25, m_floatingMain, SIGNAL(CallOptEraserDialog()), SLOT(OptEraserDialog()), A},
        {26, m_floatingMain, SIGNAL(CallOptFigureDialog()), SLOT(OptFigureDialog()), A},
        {27, m_floatingMain, SIGNAL(CallOptNoteDialog()), SLOT(OptNoteDialog()), A},
        {28, m_floatingMain, SIGNAL(CallOptChangeDialog()), SLOT(OptChangeDialog()), A},
        {29, m_floatingMain, SIGNAL(CallOptRecDialog()), SLOT(OptRecDialog()), A},
        {30, m_floatingMain, SIGNAL(CallOptZoomDialog()), SLOT(OptZoomDialog()), A},
        {31, m_floatingMain, SIGNAL(CallOptPrev()), SLOT(OptPreNoteBtn()), A},
        {32, m_floatingMain, SIGNAL(CallOptNext()), SLOT(OptPostNoteBtn()), A},
        {33, m_floatingColor, SIGNAL(CallOptColorChange(QString)), SLOT(ClickColorBtn(QString)), A},
        {34, m_floatingColor, SIGNAL(CallOptPenWidthChange(int)), SLOT(ChangePenWidth(int)), A},
        {35, m_floatingEraser, SIGNAL(CallOptEraserChange(QString)), SLOT(ClickEraseBtn(QString)), A},
        {36, m_floatingFigure, SIGNAL(CallOptFigureChange(QString)), SLOT(ClickDrawBtn(QString)), A},
        {37, m_floatingFigure, SIGNAL(CallOptUndo()), SLOT(OptUndo()), A},
        {38, m_floatingFigure, SIGNAL(CallOptRedo()), SLOT(OptRedo()), A},
        {39, m_floatingFigure, SIGNAL(CallOptTransChange(bool)), SLOT(OptTransBtnCheck(bool)), A},
        {40, m_floatingNote, SIGNAL(CallOptNoteChange(QString)), SLOT(ClickNoteBtn(QString)), A},
        {41, m_floatingNote, SIGNAL(CallOptNoteList()), SLOT(OptNoteListBtn()), A},
        {42, m_floatingChangeMode, SIGNAL(CallOptSelectChange(QString)), SLOT(ClickObjectBtn(QString)), A},
        {43, m_floatingChangeMode, SIGNAL(CallOptWinMode()), SLOT(OptWinBtn()), A},
        {44, m_floatingChangeMode, SIGNAL(coll_Connect()), SLOT(OptCollconnectDlgBtn()), Col},
        {45, m_floatingChangeMode, SIGNAL(coll_Ip()), SLOT(OptIpBtn()), Col},
        {46, m_floatingChangeMode, SIGNAL(Call_Strova()), SLOT(OptStrovaBtn()), A},
        {47, m_floatingZoom, SIGNAL(CallOptZoomChange(QString)), SLOT(ClickZoomBtn_setData_Contents(QString)), A},
        {48, m_floatingRec, SIGNAL(CallOptRec(int)), SLOT(OptRecBtn(int)), Cap},
        {49, m_floatingRec, SIGNAL(CallOptView(int)), SLOT(OptViewBtn(int)), Cap},
        {50, ui->logbtn, SIGNAL(pressed()), SLOT(OptMenuBtn()), A},
        {51, ui->notebtn, SIGNAL(pressed()), SLOT(OptNoteBtn()), A},
        {52, ui->windowbtn, SIGNAL(clicked()), SLOT(OptWinBtn()), A},
        {53, ui->colorbtn, SIGNAL(pressed()), SLOT(OptColorBtn()), A},
        {54, ui->pwidthbtn, SIGNAL(pressed()), SLOT(OptPenWidthBtn()), A},
        {55, ui->transbtn, SIGNAL(pressed()), SLOT(OptTransBtn()), A},
        {56, ui->drawbtn, SIGNAL(pressed()), SLOT(OptDrawBtn()), A},
        {57, ui->erasebtn, SIGNAL(pressed()), SLOT(OptEraseBtn()), A},
        {58, ui->prebtn, SIGNAL(pressed()), SLOT(OptPreNoteBtn()), A},
        {59, ui->postbtn, SIGNAL(pressed()), SLOT(OptPostNoteBtn()), A},
        {60, ui->objectbtn, SIGNAL(pressed()), SLOT(OptObjectBtn()), A},
        {61, ui->zoombtn, SIGNAL(pressed()), SLOT(OptZoomBtn_SetData_Contents()), A},
        {62, ui->notelistbtn, SIGNAL(clicked()), SLOT(OptNoteListBtn()), A},
        {63, ui->undobtn, SIGNAL(clicked()), SLOT(OptUndo()), A},
        {64, ui->redobtn, SIGNAL(clicked()), SLOT(OptRedo()), A},
        {65, ui->recbtn, SIGNAL(clicked()), SLOT(OptRecBtn()), Cap},
        {66, ui->viewbtn, SIGNAL(clicked()), SLOT(OptViewBtn()), A},
        {67, ui->viewlocationbtn, SIGNAL(clicked()), SLOT(OptViewLocationBtn()), A},
        {68, ui->horwidthslider, SIGNAL(valueChanged(int)), SLOT(ChangePenWidth(int)), A},
        {69, ui->verwidthslider, SIGNAL(valueChanged(int)), SLOT(ChangePenWidth(int)), A},
        {70, ui->btn_show_collconnectDlg, SIGNAL(clicked()), SLOT(OptCollconnectDlgBtn()), Col},
        {71, ui->btn_show_IP, SIGNAL(clicked()), SLOT(OptIpBtn()), Col},
        {72, ui->btn_show_userListDlg, SIGNAL(clicked()), SLOT(OptUserListDlgBtn()), Col},
        {73, m_collConnectDlg, SIGNAL(coll_startserver(QString,QString,QString)),
         SLOT(OptStartServer(QString,QString,QString)), Col},
        {74, m_collConnectDlg, SIGNAL(coll_connect(QString,QString,QString,int)),
         SLOT(OptConnect(QString,QString,QString,int)), Col},
        {75, m_collConnectDlg, SIGNAL(coll_disconnectToServer()), SLOT(OptServerClose()), Col},
        {76, m_collConnectDlg, SIGNAL(coll_disconnectToClient()), SLOT(OptDisconnect()), Col},
        {77, m_collConnectDlg, SIGNAL(CallVirtualKeyboard()), SLOT(OptVirtureKeyboard()), Col},
        {78, m_collUserListDlg, SIGNAL(coll_SetUserLevel(QString)), SLOT(OptSetUserLevel(QString)), Col},
        {79, m_collUserListDlg, SIGNAL(coll_SetUseTool(QString)), SLOT(OptSetUseTool(QString)), Col},
        {80, ui->btn_Strova, SIGNAL(clicked()), SLOT(OptStrovaBtn()), A},
        {81, m_strovaDlg, SIGNAL(StrovaWindowClose(QString,int)), SLOT(StrovaSaveInfo(QString,int)), A},
        {82, m_strovaDlg, SIGNAL(CallVirtualKeyboard()), SLOT(OptVirtureKeyboard()), A},
        {83, ui->notesubbtn, SIGNAL(pressed()), SLOT(CreateNoteSubBtn()), A},
        {84, ui->colorsubbtn, SIGNAL(pressed()), SLOT(CreateColorSubBtn()), A},
        {85, ui->pwidthsubbtn, SIGNAL(pressed()), SLOT(ShowPenWidthSlider()), A},
        {86, ui->drawsubbtn, SIGNAL(pressed()), SLOT(CreateDrawSubBtn()), A},
        {87, ui->erasesubbtn, SIGNAL(pressed()), SLOT(CreateEraseSubBtn()), A},
        {88, ui->objectsubbtn, SIGNAL(pressed()), SLOT(CreateObjectSubBtn()), A},
        {89, ui->zoomsubbtn, SIGNAL(pressed()), SLOT(CreateZoomSubBtn()), A},
        {90, ui->viewlocationsubbtn, SIGNAL(pressed()), SLOT(CreateViewLocationSubBtn()), A},
        {91, ui->horizontalScrollBar, SIGNAL(valueChanged(int)), SLOT(ChangeZoomMaphor(int)), A},
        {92, ui->verticalScrollBar, SIGNAL(valueChanged(int)), SLOT(ChangeZoomMapver(int)), A},
        {93, m_recDlg, SIGNAL(CallRecStart(int)), SLOT(OptRecStart(int)), A},
        {94, &m_ThreadSave, SIGNAL(finished()), SLOT(ThreadSaveFinished()), A},
        {95, &m_ThreadRecTime, SIGNAL(finished()), SLOT(ThreadRecTimeFinished()), A},
        {96, this, SIGNAL(CallDrawRecTime()), SLOT(DrawRecTime()), A},
        {97, this, SIGNAL(SetProgress(QString,int)), SLOT(SetProgressValue(QString,int)), A},
        {98, this, SIGNAL(SetNotePrint(QString,QImage)), SLOT(NotePrintProcess(QString,QImage)), A},
        {99, &m_ThreadPrjLoad, SIGNAL(finished()), SLOT(ThreadPrjLoadFinished()), A},
        {100, &m_ThreadPrjSave, SIGNAL(finished()), SLOT(ThreadPrjSaveFinished()), A},
        {101, m_ruler, SIGNAL(Ruler_DrawLine(QPoint,QPoint)), SLOT(OptTool_DrawLine(QPoint,QPoint)), A},
        {102, m_protractor, SIGNAL(Protractor_DrawLine(QPoint,QPoint)), SLOT(OptTool_DrawLine(QPoint,QPoint)), A},
        {103, m_protractor, SIGNAL(Protractor_DrawArc(QRect,int,int)), SLOT(OptTool_DrawArc(QRect,int,int)), A},
        {104, m_compass, SIGNAL(Compass_DrawEllipse(QRect)), SLOT(OptTool_DrawEllipse(QRect)), A},
        {105, m_compass, SIGNAL(Compass_DrawArc(QRect,int,int)), SLOT(OptTool_DrawArc(QRect,int,int)), A},
        {106, m_notePrint, SIGNAL(CallNoteSavePrintOperation(QString,QString,int,int)),
         SLOT(NoteSavePrintOperation(QString,QString,int,int)), A},
        {107, &m_ThreadNoteSave, SIGNAL(finished()), SLOT(ThreadNoteSaveFinished()), A},
        {108, m_masterModeDlg, SIGNAL(Call_Debug(bool)), SLOT(OptDebug(bool)), A},
        {109, m_masterModeDlg, SIGNAL(Call_Coll(bool)), SLOT(OptColl(bool)), A},
        {110, m_masterModeDlg, SIGNAL(Call_Cursor(bool)), SLOT(OptCursor(bool)), A},
        {111, m_masterModeDlg, SIGNAL(Call_Interpolation(bool)), SLOT(OptInterpolation(bool)), A},
        {112, m_masterModeDlg, SIGNAL(Call_Antialiasing(bool)), SLOT(OptAntialiasing(bool)), A},
    };

    for (const Wiring& w : table) {
        if (w.needs == Needs::Capture && !m_bCaptureLibLoaded)
            continue;
        // The library object's own state decides, as the binding left it.
        if (w.needs == Needs::Collaboration && !m_konnexa.library.isLoaded())
            continue;
        if (!w.sender) {
            qDebug().noquote() << QStringLiteral("exe : connection %1 has no sender").arg(w.row);
            continue;
        }
        if (!connect(w.sender, w.signal, this, w.slot))
            qDebug().noquote() << QStringLiteral("exe : connection %1 failed").arg(w.row);
    }

    if (!m_bCaptureLibLoaded) {
        if (m_floatingRec)
            m_floatingRec->hide();
        ui->recbtn->hide();
    }
}
