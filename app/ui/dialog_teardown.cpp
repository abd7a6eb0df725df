// How the whiteboard ends: a running recording is stopped and its save job
// waited for (bounded), the settings are written, every panel and library
// object is freed, the work folder is emptied and the pen module is stopped.
#include "app/ui/dialog.h"

#include "app/ui/dialog_panels.h"
#include "app/utilities.h"
#include "ui_dialog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileDialog>
#include <QMenu>
#include <QMovie>
#include <QRubberBand>
#include <QSignalMapper>
#include <QSystemTrayIcon>
#include <QThread>

namespace {

template <typename T>
void DeleteAndClear(T*& object)
{
    delete object;
    object = nullptr;
}

}  // namespace

Dialog::~Dialog()
{
    qDebug().noquote() << QStringLiteral("~Dialog()");
    const QRect frame = frameGeometry();
    qDebug().noquote() << QStringLiteral("Dialog frameGeometry : QRect(%1,%2 %3x%4)")
                              .arg(frame.x())
                              .arg(frame.y())
                              .arg(frame.width())
                              .arg(frame.height());
    if (m_debugMode) {
        ui->listWidget_logwindow->hide();
        ui->listWidget_logwindow2->hide();
    }
    // The save started below must neither ask nor open anything.
    m_openOutput = false;
    m_windowAlive = false;
    if (m_bRecording || m_bScreenRecording) {
        OptStopBtn();
        m_shutdownWaitCount = WaitForJob(m_ThreadSave, 100, 0);
    }
    // The clock worker emits from this window; it ends before the window.
    m_bRecClock = false;
    m_ThreadRecTime.waitForFinished();
    // The device listing runs in the capture library, which must stay loaded.
    m_deviceListing.waitForFinished();
    ShutdownDialog();

    if (m_pdfRendererBound)
        ClosePdfRenderer();
    // The pen module and the USB library do not depend on the renderer: they
    // are stopped and released in every case.
    ShutdownUsbLink();
    ForgetInstance(this);
    // The label lets go of the animation before it goes, or its own end
    // would reach the freed movie.
    if (m_loadingMovie)
        ui->label_gif->clear();
    DeleteAndClear(m_loadingMovie);
    DeleteAndClear(ui);
    QCoreApplication::exit(0);
}

void Dialog::ShutdownDialog()
{
    if (m_shutdownDone)
        return;
    SaveConfigData();
    // The page painter renders through the document library released below.
    StopPageBacklog();

    // A contents save left running after the wait still reads the tables and
    // the work folder: they go only once it has ended.
    if (m_ThreadSave.isRunning())
        m_ThreadSave.waitForFinished();
    // So does a project save, which reads the window's snapshot.
    if (m_ThreadPrjSave.isRunning())
        m_ThreadPrjSave.waitForFinished();
    m_board = BoardModel();

    DeleteAndClear(m_noteDialog);
    // A file dialog still parented here leaves a freed entry behind that the
    // window's own destruction would read; it goes unparented.
    for (QFileDialog** fileDialog : {&m_openFileDialog, &m_saveFileDialog}) {
        if (*fileDialog)
            (*fileDialog)->setParent(nullptr);
        DeleteAndClear(*fileDialog);
    }
    DeleteAndClear(m_clipart);
    DeleteAndClear(m_notePrint);
    DeleteAndClear(m_noteSave);
    DeleteAndClear(m_configDlg);
    DeleteAndClear(m_showImportMsg);
    DeleteAndClear(m_importDlg);
    DeleteAndClear(m_navi);
    DeleteAndClear(m_blind);
    DeleteAndClear(m_spot);
    DeleteAndClear(m_floatingMain);
    DeleteAndClear(m_floatingColor);
    DeleteAndClear(m_floatingEraser);
    DeleteAndClear(m_floatingFigure);
    DeleteAndClear(m_floatingNote);
    DeleteAndClear(m_floatingChangeMode);
    DeleteAndClear(m_floatingRec);
    DeleteAndClear(m_floatingZoom);
    DeleteAndClear(m_recDlg);
    DeleteAndClear(m_projSave);
    DeleteAndClear(m_progressDlg);
    m_floatingTools.clear();

    if (m_mainMenu) {
        for (QAction*& action : m_toolPosActions)
            DeleteAndClear(action);
        DeleteAndClear(m_editMenu);
        qDeleteAll(m_languageActions);
        m_languageActions.clear();
        m_mainMenu->clear();
        m_mainMenu->close();
    }
    if (m_trayIcon) {
        if (m_trayMenu) {
            m_trayMenu->clear();
            m_trayMenu->close();
        }
        DeleteAndClear(m_trayIcon);
    }
    DeleteAndClear(m_masterModeDlg);

    m_lang = LanguageTexts();
    m_note_list.clear();
    m_rec_note_names.clear();
    m_rec_note_stamps.clear();
    m_rec_note_times.clear();
    m_rec_distinct_stamps.clear();
    CaptureRects.clear();
    m_mediaFiles.clear();

    // Peers drop the host's page reference before the host goes away.
    if (m_collUserLevel == 3)
        Coll_Send_ImgPath(0, QString(), true);
    // A search still running would post its answers to the dialogs below.
    Coll_StopHostSearch();
    if (m_collLibraryLoaded) {
        ReleaseCollaborationLibrary();
        DeleteAndClear(m_collUserListDlg);
        DeleteAndClear(m_collConnectDlg);
        DeleteAndClear(m_collIpDlg);
    }

    DeleteAndClear(m_compass);
    DeleteAndClear(m_protractor);
    DeleteAndClear(m_ruler);
    DeleteAndClear(m_strovaDlg);
    DeleteAndClear(m_rubberBand);
    if (m_cursorImage)
        DeleteAndClear(m_cursorLabel);

    m_select_id_str.clear();
    m_pendingNewcomers.clear();

    if (m_ThreadSave.isRunning())
        m_ThreadSave.waitForFinished();
    // So does a project save, which reads the window's snapshot.
    if (m_ThreadPrjSave.isRunning())
        m_ThreadPrjSave.waitForFinished();
    if (!m_workFolder.isEmpty())
        RemoveFolderRecursive(m_workFolder, m_workFolder);

    qDebug().noquote() << QStringLiteral("Close Orbel");
    m_shutdownDone = true;
}
