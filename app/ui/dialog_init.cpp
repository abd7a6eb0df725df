// The second stage of building the main window, run once the window has been
// shown: the canvas size, cursors, every panel and dialog, the toolbar, the
// collaboration library, the connection table, the menus, the first page and
// the update check, in that order.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/outside_libraries.h"

#include "app/screen_layout.h"
#include "app/utilities.h"
#include "platform/library.h"
#include "platform/processes.h"
#include "ui_dialog.h"

#include <QAction>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPixmap>
#include <QRubberBand>
#include <QScreen>
#include <QStandardPaths>

namespace {

// The settings' own default for a floating panel that lies off the canvas.
QPoint FloatingResetPosition(int width, int height)
{
    return QPoint(width / 2, height / 2);
}

}  // namespace

// The update bridge calls this from wherever it runs; the answer is applied
// on the GUI thread, and an answer that comes before the window has started
// the check waits for it.
void UpdateCheckCallback(bool updateAvailable)
{
    Dialog* dialog = Dialog::Instance();
    if (!dialog)
        return;
    QMetaObject::invokeMethod(
        dialog, [dialog, updateAvailable] { dialog->ApplyUpdateCheck(updateAvailable); }, Qt::QueuedConnection);
}

void Dialog::ApplyUpdateCheck(bool updateAvailable)
{
    if (!m_updateCheckStarted) {
        m_updateAnswerPending = true;
        m_pendingUpdateAvailable = updateAvailable;
        return;
    }
    m_updateAnswerPending = false;
    if (m_configDlg)
        m_configDlg->SetUpdateBtnEnabled(updateAvailable);
    if (!m_autoUpdateOff && updateAvailable && !m_nextTimeCheck && ExecuteManager)
        ExecuteManager();
}

void Dialog::PrepareWorkFolderCopies()
{
    m_zoomSetData = false;
    m_videoViewOn = false;
    m_windowAlive = true;
    m_shutdownStarted = false;
    m_shutdownDone = false;
    m_openOutput = true;
    m_liveDisplay = true;
    CopyRecorderToWorkFolder();
}

void Dialog::ChooseCanvasSize()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const int primary = qMax(0, screens.indexOf(QGuiApplication::primaryScreen()));
    qDebug() << "primaryScreenIndex:" << primary;
    QVector<QRect> rects;
    for (const QScreen* screen : screens)
        rects.append(screen->geometry());
    m_bDualScreen = m_config.dual;
    if (m_bDualScreen && rects.size() > 1) {
        for (int i = 0; i < rects.size(); ++i)
            qDebug() << "ScreenRect[" << i << "]" << rects[i] << rects[i].top() << rects[i].bottom();
    }
    const QSize size = CanvasSizeForScreens(rects, primary, m_bDualScreen);
    m_canvasWidth = size.width();
    m_canvasHeight = size.height();
    if (m_bDualScreen && ScreensFormDualCanvas(rects))
        qDebug() << "dual size W H" << m_canvasWidth << m_canvasHeight;
}

void Dialog::MakeCursors()
{
    m_cursorBlank = QCursor(Qt::BlankCursor);
    const QPixmap pen(QStringLiteral(":/Cursor/pen"));
    m_cursorPen = pen.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pen, pen.width() / 2, pen.height() / 2);
    m_cursorCross = QCursor(Qt::CrossCursor);
    m_cursorPointingHand = QCursor(Qt::PointingHandCursor);
    m_cursorSizeAll = QCursor(Qt::SizeAllCursor);
    m_cursorSizeVer = QCursor(Qt::SizeVerCursor);
    m_cursorSizeHor = QCursor(Qt::SizeHorCursor);
    m_cursorSizeBDiag = QCursor(Qt::SizeBDiagCursor);
    m_cursorSizeFDiag = QCursor(Qt::SizeFDiagCursor);
    setCursor(m_config.cursor ? m_cursorPen : m_cursorBlank);
}

void Dialog::CreatePanels()
{
    const int W = m_canvasWidth;
    const int H = m_canvasHeight;

    m_clipart = new clipart(this);
    m_clipart->InitDialog(m_clipartFolder);
    m_clipart->hide();
    m_noteDialog = new NoteDialog(this);
    m_noteDialog->InitDialog(m_workFolder);
    m_noteDialog->hide();
    m_notePrint = new NotePrint(this);
    m_notePrint->InitNotePrint(false);
    m_noteSave = new NoteSave(this);
    m_noteSave->InitNoteSave(m_languageFilePath, false);

    m_configDlg = new ConfigDlg(this);
    m_configDlg->hide();
    m_configDlg->InitDialog(QGuiApplication::screens().size(), m_languageFolder, m_config.language, &m_cam_list,
                            &m_mic_list, m_bCaptureLibLoaded);
    m_configDlg->setGeometry(W / 2 - 225, H / 2 - 240, 451, 481);

    m_showImportMsg = new ShowImportMsg(this);
    m_showImportMsg->InitShowImportMsg(m_languageFilePath);
    m_importDlg = new ImportDlg(this);
    m_importDlg->InitImportDlg();

    m_navi = new navi(this);
    m_navi->InitDialog(W, H);
    m_navi->hide();
    m_pageNavigators = {m_navi};
    m_blind = new blind(this);
    m_blind->setGeometry(m_canvasLeft, 0, W, H);
    m_blind->InitDialog(&m_lang.spot);
    m_blind->hide();
    m_spot = new spot(this);
    m_spot->setGeometry(m_canvasLeft, 0, W, H);
    m_spot->InitDialog(&m_lang.spot);
    m_spot->hide();
    m_floatingTools << m_blind << m_spot;

    m_floatingMain = new floatingmain(this);
    m_floatingMain->InitDialog(&m_lang.hint, &m_lang.menu, W, H, m_bCaptureLibLoaded);
    m_floatingColor = new floatingcolor(this);
    m_floatingColor->InitDialog(&m_lang.hint, &m_lang.config);
    m_floatingEraser = new floatingeraser(this);
    m_floatingEraser->InitDialog(&m_lang.hint);
    m_floatingFigure = new floatingfigure(this);
    m_floatingFigure->InitDialog(&m_lang.hint);
    m_floatingNote = new floatingnote(this);
    m_floatingNote->InitDialog(&m_lang.hint);
    m_floatingChangeMode = new floatingchangemode(this);
    m_floatingChangeMode->InitDialog(&m_lang.hint, &m_lang.menu);
    m_floatingRec = new floatingrec(this);
    m_floatingRec->InitDialog(&m_lang.hint);
    m_floatingZoom = new floatingzoom(this);
    m_floatingZoom->InitDialog(&m_lang.hint);

    m_recDlg = new rec(this);
    m_recDlg->SetLanguageText(&m_lang.selRecType, &m_lang.common);
    m_recDlg->SetButtonsEnabled(m_cam_list.size(), m_mic_list.size());

    // A list that is empty leaves its current device as it was.
    if (!m_cam_list.isEmpty())
        m_cam_name = m_cam_list.first();
    if (!m_mic_list.isEmpty())
        m_mic_name = m_mic_list.first();

    m_projSave = new projsave(this);
    m_progressDlg = new progressdlg(this);
    m_openFileDialog = new QFileDialog(this, QString(), QString(), QString());
    m_saveFileDialog = new QFileDialog(this, QString(), QString(), QString());
    m_documentSelectedFilter = QStringLiteral("c:");

    m_ruler = new ToolDlg_Ruler(this);
    m_ruler->CreateMenu(&m_lang.menu, &m_lang.common);
    m_protractor = new ToolDlg_Protractor(this);
    m_protractor->CreateMenu(&m_lang.menu, &m_lang.common);
    m_compass = new ToolDlg_Compass(this);
    m_compass->CreateMenu(&m_lang.menu, &m_lang.common);
    m_floatingTools << m_ruler << m_protractor << m_compass;
    // A screen capture hides the launcher with the instruments.
    m_floatingTools << m_floatingMain;
    m_masterModeDlg = new MasterModedlg(this);
    m_masterModeDlg->CenterOnScreen();
}

QList<QWidget*> Dialog::FloatingSubPanels() const
{
    QList<QWidget*> panels;
    for (QWidget* panel : std::initializer_list<QWidget*>{m_floatingColor, m_floatingEraser, m_floatingFigure,
                                                          m_floatingNote, m_floatingChangeMode, m_floatingRec,
                                                          m_floatingZoom}) {
        if (panel)
            panels.append(panel);
    }
    return panels;
}

void Dialog::BindCollaborationLibrary()
{
    m_hostNoteIndex = 0;
    m_hostNoteCount = 1;
    m_collUserLevel = 0;
    LoadCollaborationLibrary();
    if (!m_collLibraryLoaded)
        return;
    SetButtonStyle(ui->btn_show_userListDlg, 40, 147, QStringLiteral("UserList"));
    m_collUserListDlg = new CollUserListDlg(this);
    m_collConnectDlg = new CollConnectDlg(this);
    m_collIpDlg = new CollIpDlg(this);
    connect(m_collConnectDlg, SIGNAL(OptFindServer()), this, SLOT(Coll_ThreadBroadcastSend()));
    connect(&m_ThreadCollSearch, SIGNAL(finished()), m_collConnectDlg, SLOT(Btn_FindServer_Enable()));
    m_localIpv4Addresses = LocalIpv4Address();
}

void Dialog::ChooseCameraFromList()
{
    if (!m_configDlg)
        return;
    for (int i = 0; i < m_cam_list.size(); ++i) {
        if (m_cam_list.at(i) == m_config.CamDevice) {
            m_configDlg->SetCamIndex(i);
            return;
        }
        if (!m_cam_list.isEmpty())
            m_cam_name = m_cam_list.first();
        if (!m_mic_list.isEmpty())
            m_mic_name = m_mic_list.first();
        m_configDlg->SetCamIndex(0);
    }
}

// There is no touch feedback to switch off on this platform: nothing is
// called and nothing is logged.
void Dialog::SwitchOffTouchFeedback() {}

void Dialog::InitDialog(bool autoUpdate)
{
    // 1.
    PrepareWorkFolderCopies();

    // 2.
    if (m_bCaptureLibLoaded)
        ParseDeviceInfoLog();

    // 3, 4.
    ChooseCanvasSize();
    const QRect rect(0, 0, m_canvasWidth, m_canvasHeight);
    qDebug() << "1. rect_ScreenGeometry = " << rect;
    setGeometry(rect);
    setWindowFlags(Qt::FramelessWindowHint);
    emit MainDlgSetGeometry(rect);
    qDebug() << "2. setGeometry = " << rect.x() << rect.y() << rect.width() << rect.height();

    // 5.
    MakeCursors();
    hide();
    emit MainDlg_DebugDisplaySize(1, QStringLiteral("cursor set next."));

    // 6.
    QDir().mkpath(m_workFolder);
    QDir().mkpath(m_currentProjectFolder);

    // 7.
    CreatePanels();
    emit MainDlg_DebugDisplaySize(2, QStringLiteral("Dlg set next."));

    // 8.
    ApplyBoardColor();
    ResizePageImage(m_viewImage, QSize(m_canvasWidth, m_canvasHeight));
    m_subButtonRowOpen = false;
    CheckPenDriverDevice();
    InitBoardModel();
    SetButtons();

    // 9.
    m_placement = MakeToolbarPlacement(m_canvasWidth, m_canvasHeight, m_scale);
    m_toolbarPosition = m_config.toolsave ? m_config.toolpos : 1;
    m_floatingPosition = QPoint(0, 0);
    if (m_config.toolsave) {
        if (!m_bDualScreen
            && (m_config.floatingX < 0 || m_config.floatingY < 0 || m_config.floatingX > m_canvasWidth
                || m_config.floatingY > m_canvasHeight)) {
            const QPoint reset = FloatingResetPosition(m_canvasWidth, m_canvasHeight);
            m_config.floatingX = reset.x();
            m_config.floatingY = reset.y();
        }
        m_floatingPosition = QPoint(m_config.floatingX, m_config.floatingY);
    }
    SetButtonStates();
    m_longPressDelay = 200;
    m_longPressCount = 0;
    m_longPressLimit = 2;
    emit MainDlg_DebugDisplaySize(3, QStringLiteral("MenuBar set next."));
    m_zoom = 1.0;

    // 10.
    BindCollaborationLibrary();

    // 11.
    m_strovaDlg = new StrovaDlg(this);
    ui->label_gif->hide();
    emit MainDlg_DebugDisplaySize(4, QStringLiteral("Coll set next."));

    // 12.
    m_board.smartPen.Clear();
    m_shapeRecognizer.LoadTemplates();
    SetToolbarPosition();
    ConnectSignals();
    emit MainDlg_DebugDisplaySize(5, QStringLiteral("SignalSlot set next."));

    // 13.
    ui->horwidthslider->setFixedHeight(48);
    ui->horwidthslider->setStyleSheet(QStringLiteral("border-image: url(:/Bar/leftright);"));
    ui->horwidthslider->setCursor(Qt::ArrowCursor);
    ui->horwidthslider->hide();
    ui->verwidthslider->setFixedWidth(45);
    ui->verwidthslider->setStyleSheet(QStringLiteral("border-image: url(:/Bar/topbottom);"));
    ui->verwidthslider->setCursor(Qt::ArrowCursor);
    ui->verwidthslider->hide();
    ui->horizontalScrollBar->setCursor(Qt::ArrowCursor);
    ui->horizontalScrollBar->hide();
    ui->verticalScrollBar->setCursor(Qt::ArrowCursor);
    ui->verticalScrollBar->hide();
    QFont clockFont = font();
    clockFont.setPointSize(20);
    clockFont.setWeight(75);
    ui->rectimeLabel->setFont(clockFont);
    ui->rectimeLabel->hide();

    // 14.
    CreateMenus();
    if (m_moveHereAction)
        m_moveHereAction->setVisible(m_toolbarPosition == 4);
    ui->mainbar->setCursor(Qt::ArrowCursor);
    ui->logbtn->setCursor(Qt::ArrowCursor);
    CreateTrayMenu();

    // 15.
    show();
    ResetBoard(false);
    emit MainDlg_DebugDisplaySize(6, QStringLiteral("InitProject set next."));

    // 16 and 17.
    if (m_collLibraryLoaded)
        SetToolbarByRole(m_collUserLevel, true);
    ui->verticalScrollBar->installEventFilter(this);
    ui->horizontalScrollBar->installEventFilter(this);

    // 18.
    if (m_configDlg)
        m_configDlg->SetUpdateBtnEnabled(false);
    m_autoUpdateOff = !autoUpdate;
    m_nextTimeCheck = NextTimeCheck ? NextTimeCheck() : false;
    if (ConnectAddressServer)
        ConnectAddressServer(m_config.upserver);
    m_updateCheckStarted = true;
    if (m_updateAnswerPending)
        ApplyUpdateCheck(m_pendingUpdateAvailable);
    emit MainDlg_DebugDisplaySize(8, QStringLiteral("update check next."));

    // 19.
    if (!m_rubberBand) {
        m_rubberBand = new QRubberBand(QRubberBand::Rectangle, this);
        QPalette palette = m_rubberBand->palette();
        palette.setBrush(QPalette::Highlight, QBrush(Qt::darkRed));
        m_rubberBand->setPalette(palette);
    }

    // 20.
    SwitchOffTouchFeedback();
    emit MainDlg_DebugDisplaySize(9, QStringLiteral("gesture set next."));

    // 21.
    ChooseCameraFromList();
    emit MainDlg_DebugDisplaySize(10, QStringLiteral("device_cam set next."));

    // 22.
    qDebug() << "3. setGeometry = " << geometry().x() << geometry().y() << geometry().width() << geometry().height();
    qDebug() << "InitDialog()";
    qDebug() << "Dialog frameGeometry : " << frameGeometry();
    emit MainDlgSetGeometry(rect);

    ReportRecoveredRecordings();
}

void Dialog::HidePagePanels()
{
    for (QWidget* panel : FloatingSubPanels())
        panel->hide();
}
