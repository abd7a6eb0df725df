// Long jobs run off the GUI thread; their completion slots give the board
// back: the progress dialog goes, the saved view comes back, and what the
// command asked for after the job happens.
#include "app/ui/dialog.h"

#include "app/ui/message_box.h"
#include "app/utilities.h"
#include "platform/launch.h"
#include "storage/ui/progressdlg.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QFileInfo>
#include <QThread>
#include <QtConcurrent>

QFuture<void> Dialog::DialogWorker(JobEntry entry, void* owner)
{
    return QtConcurrent::run(entry, owner);
}

JobSnapshot Dialog::TakeJobSnapshot() const
{
    JobSnapshot snapshot;
    snapshot.board = m_board;
    snapshot.notes = m_note_list;
    snapshot.currentNote = m_curr_note;
    snapshot.noteIndex = m_note_idx;
    snapshot.backgroundImage = m_backgroundImage;
    snapshot.viewImage = m_viewImage;
    return snapshot;
}

void Dialog::StartSnapshotJob(QFutureWatcher<void>& watcher, std::function<void(const JobSnapshot&)> job)
{
    JobSnapshot snapshot = TakeJobSnapshot();
    watcher.setFuture(QtConcurrent::run([snapshot = std::move(snapshot), job = std::move(job)]() { job(snapshot); }));
}

int Dialog::WaitForJob(const QFutureWatcher<void>& watcher, int limit, int settleMs)
{
    int count = 0;
    QThread::msleep(100);
    ++count;
    while (watcher.isRunning() && count < limit) {
        QThread::msleep(100);
        ++count;
    }
    if (count >= limit && watcher.isRunning()) {
        qDebug().noquote() << QStringLiteral("(RecStop) m_ThreadSave time over (10 Sec)");
        return count;
    }
    if (settleMs > 0)
        QThread::msleep(ulong(settleMs));
    qDebug().noquote() << QStringLiteral("m_ThreadSave.isRunning == false");
    qDebug().noquote() << QStringLiteral("time(msec) = %1").arg(count * 100);
    return count;
}

void Dialog::SetProgressValue(QString text, int value)
{
    if (!m_progressDlg)
        return;
    m_progressDlg->SetText(text);
    m_progressDlg->SetValue(value);
}

void Dialog::ThreadPrjLoadFinished()
{
    // The end of an earlier run arriving while the next one reads.
    if (m_ThreadPrjLoad.isRunning())
        return;
    const QString failure = InstallLoadedProject();
    if (!m_note_list.isEmpty()) {
        m_note_idx = 0;
        NoteChangeWorker();
        m_boardModified = false;
    } else {
        ResetBoard(false);
    }
    if (m_progressDlg)
        m_progressDlg->hide();
    if (!failure.isEmpty())
        ui::CriticalBox(this, QStringLiteral("Load project file"), failure);
    if (!m_loadDamageReport.isEmpty()) {
        // The next save asks for a name: what was recovered never replaces
        // the original.
        m_currentProjectPath.clear();
        ui::WarningBox(this, QStringLiteral("Load project file"), m_loadDamageReport);
        m_loadDamageReport.clear();
    }
}

void Dialog::ThreadPrjSaveFinished()
{
    // The watcher's finished() of a save whose end a wait has handled
    // already arrives later, queued; by then a newer save may be running
    // on this snapshot, result and action.
    if (m_ThreadPrjSave.isRunning() || m_projectSaveEndHandled)
        return;
    m_projectSaveEndHandled = true;
    // What follows runs before any input that arrives after this line.
    qDebug().noquote() << QStringLiteral("project save finished");
    const int action = m_afterProjectSave;
    m_afterProjectSave = 0;
    m_projectSnapshot = storage::ProjectSnapshot();
    if (m_projectSaveResult) {
        CloseOnScreenKeyboard();
    } else {
        // The snapshot's changes are on no disk.
        if (m_projectSaveStarted)
            m_boardModified = true;
        ReportProjectSaveFailure();
    }
    switch (action) {
    case 0:
        if (!m_projectSaveResult)
            m_currentProjectPath = m_previousProjectPath;
        break;
    case 1:
        WaitForJob(m_ThreadPrjSave, 100, 1000);
        if (m_progressDlg)
            m_progressDlg->hide();
        // Closing only the inner window would leave the program running.
        if (m_projectSaveResult)
            emit MainDlgClose();
        return;
    case 3:
        // A lesson that was not saved is not thrown away.
        if (!m_projectSaveResult)
            break;
        m_paintRect = QRect(0, 0, m_view_width, m_view_height);
        WaitForJob(m_ThreadPrjSave, 100, 1000);
        StartNewLecture();
        break;
    default:
        break;
    }
    // An opener that waited for the save has started its load by now; the
    // dialog is the load's.
    if (m_progressDlg && !m_ThreadPrjLoad.isRunning())
        m_progressDlg->hide();
}

void Dialog::RestoreSavedView()
{
    m_viewImage = m_savedViewImage;
    m_backgroundImage = m_savedBackgroundImage;
    m_curr_note = m_savedNote;
    m_zoom = m_savedZoom;
}

void Dialog::ThreadNoteSaveFinished()
{
    if (m_progressDlg)
        m_progressDlg->hide();
    // The job rendered its pages away from the board: page, zoom and scroll
    // are still those the user left, and nothing has to be rebuilt.
    m_liveDisplay = true;
    update();
    // Every page is written by now: the printed ones were handed over
    // before the job ended.
    qDebug().noquote() << QStringLiteral("note job done");
    ReportNoteJobFailures();
}

void Dialog::ThreadSaveFinished()
{
    qDebug().noquote() << QStringLiteral("save complete");
    if (m_progressDlg)
        m_progressDlg->hide();
    RestoreSavedView();
    // The saved pictures have done their work.
    m_savedViewImage = QImage();
    m_savedBackgroundImage = QImage();
    const double zoom = m_zoom;
    SetInitImage(m_curr_note.path, m_curr_note.type, false);
    m_zoomBaseImage = m_backgroundImage;
    m_backupImage = m_backgroundImage;
    m_viewImage = m_backgroundImage;
    m_canvasImage = m_backgroundImage;
    m_zoom = 1.0;
    if (zoom > 1.0)
        ZoomByScale(float(zoom));
    ui->horizontalScrollBar->setValue(m_savedHScroll);
    ui->verticalScrollBar->setValue(m_savedVScroll);
    update();

    // A package that could not be packed was kept unpacked; the user learns
    // where.
    if (!m_contentsSaveFailure.isEmpty()) {
        ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("Save Recoding Data"), m_contentsSaveFailure,
                           QMessageBox::Ok);
        m_contentsSaveFailure.clear();
        if (m_outputPath.isEmpty())
            return;
    }
    if (!m_openOutput || m_rec_type < 0 || m_rec_type > 2)
        return;
    const QMessageBox::StandardButton answer =
        ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"), m_lang.messages.value(104 - 100),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    WaitForFolderFiles(m_outputFolder, m_outputFileName, 50, 200);
    // An output that never appeared is not handed to the desktop.
    if (m_outputPath.isEmpty() || !QFileInfo(m_outputPath).isFile()) {
        qDebug().noquote() << QStringLiteral("exe : recording output %1 not found").arg(m_outputPath);
        return;
    }
    platform::OpenDocument(m_outputPath);
}

void Dialog::ThreadRecTimeFinished()
{
    ui->rectimeLabel->setText(QStringLiteral("0:00:00"));
    qDebug().noquote() << QStringLiteral("rec time draw end");
}
