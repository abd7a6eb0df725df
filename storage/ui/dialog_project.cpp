// The project commands (new lecture, open, save, save as, a project handed
// over) and the save job. The job works on a snapshot its starter takes, so
// the board may change (or be reset) without touching what is being written;
// the commands that reset or replace the board wait for a running save first.
#include "app/ui/dialog.h"

#include "app/ui/message_box.h"
#include "app/utilities.h"
#include "storage/project_file.h"
#include "storage/ui/progressdlg.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>
#include <QDir>
#include <QFileInfo>

namespace {

// Waits of the commands that must not overlap a save: 100 ms steps.
constexpr int kSaveWaitSteps = 200;
// A recording's package is written in seconds; its PDF pages may take a few
// minutes on a slow machine.
constexpr int kHandOffSaveDeadlineMs = 300000;

}  // namespace

void Dialog::ProjectSaveThreadEntry(void* owner)
{
    static_cast<Dialog*>(owner)->SaveProject();
}

void Dialog::ProjectLoadThreadEntry(void* owner)
{
    static_cast<Dialog*>(owner)->LoadProject();
}

storage::ProjectSnapshot Dialog::TakeProjectSnapshot()
{
    storage::ProjectSnapshot project;
    project.notes = m_note_list;
    project.mediaFiles = m_mediaFiles;
    for (int k = 0; k < kPointerSlotCount; ++k) {
        const PointerSlotState& slot = m_board.slot[k];
        project.slotTables[k] = {slot.records.masters(), slot.records.details(), slot.allPoints};
    }
    project.boardSize = size();
    // The page the notes are laid on: after a fitted open it is smaller than
    // the view, and the next open fits from it.
    project.pageSize = m_contentArea.isEmpty() ? QSize(m_view_width, m_view_height) : m_contentArea.size();
    int current = m_note_idx;
    for (int i = 0; i < m_note_list.size(); ++i) {
        if (m_note_list.at(i).create_data == m_curr_note.create_data) {
            current = i;
            break;
        }
    }
    project.thumbnailNote = storage::ThumbnailNoteIndex(m_rec_note_index, current, m_note_list.size());
    // The shown page's file is written only when the page is left; its live
    // layer is the picture that is up to date.
    if (project.thumbnailNote >= 0 &&
        m_note_list.at(project.thumbnailNote).create_data == m_curr_note.create_data)
        project.thumbnailImage = m_canvasImage;
    else
        FinishPageImages();  // the thumbnail is read from its page's file
    return project;
}

void Dialog::SaveProject()
{
    SaveEventsXml(m_defaultProjectName);
    if (m_projectStaging.isEmpty() || !m_projectStagingError.isEmpty()) {
        // Nothing half made is packed or left behind.
        if (!m_projectStaging.isEmpty())
            storage::RemoveStagingFolder(m_workFolder, m_defaultProjectName);
        m_projectSaveError = m_projectStagingError;
    } else {
        const storage::ProjectSaveResult result =
            storage::PackProject(m_workFolder, m_defaultProjectName, m_projectSaveTarget);
        m_projectSaveError = result.error;
        m_projectSaveResult = result.saved;
    }
    if (!m_projectSaveResult) {
        qDebug().noquote() << QStringLiteral("proj save failed");
        qDebug().noquote() << QStringLiteral("exe : %1").arg(m_projectSaveError);
        return;
    }
    qDebug().noquote() << QStringLiteral("exe : project saved to %1").arg(m_projectSaveTarget);
}

void Dialog::SaveEventsXml(QString stamp)
{
    m_projectStagingError.clear();
    m_projectStaging = storage::PrepareStagingFolder(m_workFolder, stamp, &m_projectStagingError);
    if (m_projectStaging.isEmpty())
        return;
    storage::StagingWriter writer(m_projectStaging);
    if (!storage::StageEventFiles(m_projectSnapshot, writer,
                                  [this](const QString& text, int value) { emit SetProgress(text, value); })) {
        m_projectStagingError = writer.error();
        return;
    }
    SaveNotesXml(m_projectStaging);
    SaveStrData(m_projectStaging);
}

void Dialog::SaveNotesXml(QString folder)
{
    if (!m_projectStagingError.isEmpty())
        return;
    storage::StagingWriter writer(folder);
    if (!storage::StageNoteList(m_projectSnapshot, writer,
                                [this](const QString& text, int value) { emit SetProgress(text, value); }))
        m_projectStagingError = writer.error();
}

void Dialog::SaveStrData(QString folder)
{
    if (!m_projectStagingError.isEmpty())
        return;
    storage::StagingWriter writer(folder);
    if (!storage::StageMediaList(m_projectSnapshot, writer,
                                 [this](const QString& text, int value) { emit SetProgress(text, value); }))
        m_projectStagingError = writer.error();
}

bool Dialog::WaitForRunningSave(int settleMs)
{
    // The progress window keeps the user out while a save runs, but not a
    // project handed over by another copy or the window manager's close.
    if (m_ThreadPrjSave.isRunning())
        WaitForJob(m_ThreadPrjSave, kSaveWaitSteps, settleMs);
    if (!m_ThreadPrjSave.isRunning()) {
        // The caller goes on from what the save left: a failed one has
        // marked the board again and said why before anything else happens.
        ThreadPrjSaveFinished();
        return true;
    }
    ui::WarningBox(this, QStringLiteral("Save project file"),
                   QStringLiteral("The project is still being saved. Try again once the save has ended."));
    return false;
}

void Dialog::OptProjectSave(bool saveAs)
{
    // An earlier save's end is handled with that save's flags before this
    // one sets its own.
    const bool earlierSaveEnded = WaitForRunningSave();
    m_projectSaveStarted = false;
    if (!earlierSaveEnded)
        return;
    // The packer is the system's zip; nothing is copied beside it.
    m_defaultProjectName = MakeFileTimeStamp();
    m_projectSaveError.clear();
    m_projectSaveStarted = false;
    // A plain save that fails keeps the path it was given (ThreadPrjSaveFinished).
    if (!saveAs)
        m_previousProjectPath = m_currentProjectPath;
    if (m_currentProjectPath.isEmpty()) {
        OptVirtureKeyboard();
        const QString folder = m_lastSaveFolder.isEmpty() ? m_currentProjectFolder : m_lastSaveFolder;
        const QString suggestion = folder + QLatin1Char('/') + m_defaultProjectName + m_projectExtension;
        QString chosen = ui::GetSaveFileName(this, saveAs ? QStringLiteral("Save as") : QStringLiteral("Save project file"),
                                             suggestion, m_projectSaveFilter);
        if (chosen.isEmpty()) {
            CloseOnScreenKeyboard();
            m_projectSaveResult = false;
            m_projectSaveEndHandled = false;
            ThreadPrjSaveFinished();
            return;
        }
        // A name typed without the extension still becomes a project file.
        if (!chosen.endsWith(m_projectExtension, Qt::CaseInsensitive))
            chosen += m_projectExtension;
        m_lastSaveFolder = QFileInfo(chosen).absolutePath();
        m_currentProjectPath = chosen;
        m_legacyProject = false;
    } else if (m_legacyProject) {
        // The old file stays as it is; the lesson goes on in the new one.
        m_currentProjectPath = storage::LegacySaveName(m_currentProjectPath);
        m_previousProjectPath = m_currentProjectPath;
        m_legacyProject = false;
    }
    // The file in place is not removed: the new archive replaces it only
    // once it is complete.
    emit SetProgress(QStringLiteral("Save Project Preparing..."), 0);
    m_projectSnapshot = TakeProjectSnapshot();
    // What the snapshot holds is what gets saved; a stroke that arrives while
    // the job runs marks the board again. A failed save marks it again too
    // (ThreadPrjSaveFinished).
    m_boardModified = false;
    m_projectSaveTarget = m_currentProjectPath;
    m_projectSaveResult = false;
    if (m_progressDlg) {
        m_progressDlg->SetMaximum(2 * m_note_list.size() + m_mediaFiles.size());
        m_progressDlg->show();
    }
    m_projectSaveStarted = true;
    m_projectSaveEndHandled = false;
    m_ThreadPrjSave.setFuture(DialogWorker(ProjectSaveThreadEntry, this));
}

void Dialog::OptProjectSaveAs()
{
    // What to do after a save belongs to that save: an earlier one ends
    // first, with its own.
    if (!WaitForRunningSave())
        return;
    m_previousProjectPath = m_currentProjectPath;
    m_currentProjectPath.clear();
    m_afterProjectSave = 0;
    OptProjectSave(true);
}

void Dialog::ReportProjectSaveFailure()
{
    if (m_projectSaveError.isEmpty())
        return;
    const QString text = QStringLiteral("The project could not be saved to \"%1\": %2.\nThe file there is unchanged.")
                             .arg(QDir::toNativeSeparators(m_projectSaveTarget), m_projectSaveError);
    m_projectSaveError.clear();
    ui::CriticalBox(this, QStringLiteral("Save project file"), text);
}

bool Dialog::SaveAndWait(int action, bool saveAs)
{
    // What to do after a save belongs to that save: an earlier one ends
    // first, with its own.
    if (!WaitForRunningSave())
        return false;
    m_afterProjectSave = action;
    OptProjectSave(saveAs);
    // A cancelled save dialog: the board stays as it is, nothing is lost.
    if (!m_projectSaveStarted)
        return false;
    if (!WaitForRunningSave(1000))
        return false;
    if (!m_projectSaveResult) {
        ReportProjectSaveFailure();
        return false;
    }
    return true;
}

QMessageBox::StandardButton Dialog::AskToSaveChanges(QWidget* parent)
{
    return ui::ShowMessageBox(QMessageBox::Question, parent, QStringLiteral("Confirm"), m_lang.messages.value(103 - 100),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

bool Dialog::OfferToSaveBeforeReset()
{
    if (!WaitForRunningSave())
        return false;
    if (!m_boardModified)
        return true;
    const QMessageBox::StandardButton answer = AskToSaveChanges(this);
    if (answer == QMessageBox::Yes)
        return SaveAndWait(0, false);
    return answer == QMessageBox::No;
}

void Dialog::OptProjectOpen()
{
    if (!WaitForRunningSave() || !WaitForRunningLoad())
        return;
    if (m_boardModified) {
        const QMessageBox::StandardButton answer = AskToSaveChanges(this);
        if (answer == QMessageBox::Yes) {
            if (!SaveAndWait(2, false))
                return;
        } else if (answer != QMessageBox::No) {
            return;
        }
    }
    const QString path = ui::GetOpenFileName(this, QStringLiteral("Load project file"), m_currentProjectFolder,
                                             m_projectOpenFilter);
    if (path.isEmpty())
        return;
    ResetBoard(true);
    m_note_list.clear();
    StartProjectLoad(path);
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    m_currentProjectFolder = slash > 0 ? path.left(slash) : m_currentProjectFolder;
    m_config.proj = m_currentProjectFolder;
}

// The peers start afresh together with the host's board, so a lesson whose
// save failed (and is kept) is not cleared on their side alone.
void Dialog::StartNewLecture()
{
    m_contentArea = QRect(0, 0, m_view_width, m_view_height);
    m_paintRect = QRect(0, 0, m_view_width, m_view_height);
    ResetBoard(true);
    if (m_collUserLevel == 3) {
        Coll_Send_InitProj(0, QString(), true);
        Coll_Send_NoteBtn(0, QString(), m_noteKind);
        Coll_Send_NoteData(0, QString(), 1);
        Coll_Send_NoteIdx(0, QString());
    }
    qDebug().noquote() << QStringLiteral("new lecture started");
}

void Dialog::OptNewLecture()
{
    if (!WaitForRunningSave())
        return;
    if (m_boardModified) {
        const QMessageBox::StandardButton answer = AskToSaveChanges(this);
        if (answer == QMessageBox::Yes) {
            // The reset follows once the save has ended well
            // (ThreadPrjSaveFinished).
            m_afterProjectSave = 3;
            OptProjectSave(false);
        } else if (answer == QMessageBox::No) {
            StartNewLecture();
        }
    } else {
        StartNewLecture();
    }
}

void Dialog::OpenISPFile(QString path)
{
    qDebug().noquote() << QStringLiteral("openISPFile~~");
    // A start waiting for its recorder, or a recording's save the hand-off
    // already waits for, ends first; the project opens after it.
    if (m_recordingStarting || m_handOffWaiting) {
        QTimer::singleShot(100, this, [this, path]() { OpenISPFile(path); });
        return;
    }
    if (m_bRecording || m_bScreenRecording) {
        if (!StopRecordingForHandOff())
            return;
    }
    OptPanserMode();
    AddDebugLine(QStringLiteral("is_save_prj=%1").arg(m_boardModified ? 1 : 0), 0);
    if (!WaitForRunningSave() || !WaitForRunningLoad())
        return;
    if (m_boardModified) {
        const QMessageBox::StandardButton answer = AskToSaveChanges(this);
        if (answer == QMessageBox::Yes) {
            if (!SaveAndWait(2, true))
                return;
        } else if (answer != QMessageBox::No) {
            return;
        }
    }
    ResetBoard(true);
    CheckPenDriverDevice();
    m_note_list.clear();
    StartProjectLoad(path);
}

bool Dialog::StopRecordingForHandOff()
{
    // The recording is stopped and saved as the stop button would, and the
    // save has ended (its end handled) before the board is reset.
    qDebug().noquote() << QStringLiteral("openISPFile : the running recording is stopped and saved first");
    OptRecBtn(2);
    if (!m_ThreadSave.isRunning())
        return true;
    const QScopedValueRollback<bool> waiting(m_handOffWaiting, true);
    // Until the save's end has been handled: handled later, it would put the
    // recorded page back over the project being opened.
    bool ended = false;
    const QMetaObject::Connection endSeen =
        connect(&m_ThreadSave, &QFutureWatcher<void>::finished, this, [&ended]() { ended = true; });
    QElapsedTimer waited;
    waited.start();
    while (!ended && waited.elapsed() < kHandOffSaveDeadlineMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (!ended)
            QThread::msleep(10);
    }
    disconnect(endSeen);
    if (!ended) {
        qDebug().noquote() << QStringLiteral("openISPFile : the recording's save did not end in time");
        ui::WarningBox(this, QStringLiteral("Save Recoding Data"),
                       QStringLiteral("The recording is still being saved. Open the project again once the save "
                                      "has ended."));
        return false;
    }
    return true;
}

void Dialog::OpenIICFile(QString path)
{
    qDebug().noquote() << QStringLiteral("OpenIICFile : %1").arg(path);
}
