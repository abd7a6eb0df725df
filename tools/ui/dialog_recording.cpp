// Recording a lesson: the record button and panel, the start through the
// capture library with its wait for the recorder's first progress line, the
// clock, the stop that hands the recording to the contents save, the device
// list, and the exit request, which a running recording refuses.
#include "app/ui/dialog.h"

#include "app/toolbar_buttons.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/message_box.h"
#include "app/utilities.h"
#include "platform/processes.h"
#include "tools/capture_plan.h"
#include "ui_dialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMovie>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtConcurrent>

#include <unistd.h>

namespace {

// The wait for the recorder's first progress line: this many polls, 10 ms
// apart, with the events of the window handled at each.
constexpr int kProgressPolls = 3000;
constexpr int kProgressPollMs = 10;
// The clock worker redraws once a second and looks at its flag in between,
// so a stop (or the window's end) need not wait a whole second for it.
constexpr int kClockTickMs = 1000;
constexpr int kClockPollMs = 50;
// How often a running recorder is looked at, and how long an ended one may
// take to be gone.
constexpr int kRecorderWatchMs = 200;
constexpr int kRecorderEndDeadlineMs = 3000;

const char* const kViewCorners[] = {"LeftTop", "LeftBottom", "RightTop", "RightBottom"};

QString ProposedExtension(int type)
{
    return type == 2 ? QStringLiteral(".mp4") : QStringLiteral(".iic");
}

}  // namespace

bool Dialog::CopyRecorderToWorkFolder()
{
    const QString recorderName = platform::LinuxProgramName(QStringLiteral("ffmpeg.exe"));
    const QString copy = m_workFolder + recorderName;
    if (QFileInfo::exists(copy))
        return true;
    QString source = m_applicationFolder + QLatin1Char('/') + recorderName;
    if (!QFileInfo(source).isFile())
        source = QStandardPaths::findExecutable(recorderName);
    if (source.isEmpty())
        return false;
    if (QFile::copy(source, copy))
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Without the copy the library runs the program it was copied from.
    return true;
}

void Dialog::EndOwnRecorders()
{
    const QList<qint64> ended = tools::EndOwnRecorders(m_workFolder);
    if (!ended.isEmpty())
        tools::WaitUntilEnded(ended, kRecorderEndDeadlineMs);
}

void Dialog::RecoverLeftRecordings()
{
    const tools::LeftRecordings left =
        tools::RecoverLeftRecordings(m_workFolder, m_config.Path);
    for (const QString& removed : left.removed)
        qDebug().noquote() << QStringLiteral("recording : removed the unusable recording %1").arg(removed);
    for (const QString& failure : left.failures)
        qDebug().noquote() << QStringLiteral("recording : %1").arg(failure);
    if (left.recovered.isEmpty())
        return;
    QStringList names;
    for (const QString& path : left.recovered)
        names << QDir::toNativeSeparators(path);
    qDebug().noquote() << QStringLiteral("recording : recovered %1").arg(names.join(QLatin1String(", ")));
    m_recoveredRecordingsNote =
        QStringLiteral("The last recording was cut off when the program ended. What it recorded was saved as %1.")
            .arg(names.join(QLatin1String(", ")));
}

void Dialog::ReportRecoveredRecordings()
{
    if (m_recoveredRecordingsNote.isEmpty())
        return;
    const QString note = m_recoveredRecordingsNote;
    m_recoveredRecordingsNote.clear();
    ui::ShowMessageBox(QMessageBox::Information, this, QStringLiteral("Recording"), note, QMessageBox::Ok);
}

void Dialog::RememberRecorder(const QString& recordingName)
{
    const QList<qint64> recorders = tools::RecordersStartedHere();
    m_recorder = recorders.isEmpty() ? tools::ProcessStamp() : tools::StampOf(recorders.last());
    if (m_recorder.pid <= 0) {
        qDebug().noquote() << QStringLiteral("recording : the recorder's process was not found");
        return;
    }
    tools::RecorderRecord record;
    record.owner = tools::StampOf(getpid());
    record.recorder = m_recorder;
    record.recordingName = recordingName;
    QString error;
    if (!tools::WriteRecorderRecord(m_workFolder, record, &error))
        qDebug().noquote() << QStringLiteral("recording : cannot note the recorder in %1: %2").arg(m_workFolder, error);
}

void Dialog::WatchRecorder()
{
    if (tools::StillRuns(m_recorder))
        return;
    if (m_recorderWatch)
        m_recorderWatch->stop();
    if (!(m_bRecording || m_bScreenRecording) || m_recordingStarting || !m_bRecClock)
        return;
    const QString reason = tools::RecorderEndReason(ReadLineData ? ReadLineData() : QString());
    qDebug().noquote() << QStringLiteral("recording : the recorder ended during the recording: %1").arg(reason);
    EndRecording(reason);
    SetMainMenuEnabled(true);
}

namespace {

// Runs the capture library's listing (it starts the recorder and waits for
// it) and reads what it wrote; on a pool thread, away from the window.
tools::DeviceLists ListDevices(DeviceSaveFunction deviceSave, const QString& workFolder)
{
    deviceSave(QDir::cleanPath(workFolder));
    QFile log(workFolder + QStringLiteral("deviceinfo.log"));
    // A link in our work folder is not what the library wrote.
    if (QFileInfo(log.fileName()).isSymLink() || !log.open(QIODevice::ReadOnly))
        return {};
    // A device list is a few lines; anything larger is not one.
    return tools::ParseDeviceInfo(log.read(1024 * 1024));
}

}  // namespace

void Dialog::ParseDeviceInfoLog()
{
    // A listing still running is waited for: the library keeps one table.
    FinishDeviceListing();
    m_cam_list.clear();
    m_mic_list.clear();
    if (!DeviceSave)
        return;
    if (!m_deviceListingConnected) {
        connect(&m_deviceListing, &QFutureWatcher<tools::DeviceLists>::finished, this,
                &Dialog::FinishDeviceListing);
        m_deviceListingConnected = true;
    }
    m_deviceListingPending = true;
    m_deviceListing.setFuture(QtConcurrent::run(ListDevices, DeviceSave, m_workFolder));
}

void Dialog::FinishDeviceListing()
{
    if (!m_deviceListingPending)
        return;
    m_deviceListing.waitForFinished();
    m_deviceListingPending = false;
    const tools::DeviceLists lists = m_deviceListing.result();
    m_cam_list = lists.cameras;
    m_mic_list = lists.microphones;
    if (m_configDlg)
        m_configDlg->SetDeviceNames(m_cam_list, m_mic_list);
    if (m_recDlg)
        m_recDlg->SetButtonsEnabled(m_cam_list.size(), m_mic_list.size());
    // A list that is empty leaves its current device as it was.
    if (!m_cam_list.isEmpty())
        m_cam_name = m_cam_list.first();
    if (!m_mic_list.isEmpty())
        m_mic_name = m_mic_list.first();
    ChooseCameraFromList();
}

void Dialog::PrepareRecordingTimeline()
{
    tools::PrepareRecordingTimeline(m_board);
    m_toGroupRecords.clear();
    m_rec_distinct_stamps.clear();
}

void Dialog::SetMainMenuEnabled(bool enabled)
{
    if (!m_mainMenu)
        return;
    const QList<QAction*> actions = m_mainMenu->actions();
    for (int i = 0; i < actions.size() && i <= 13; ++i) {
        // A sub-menu's entry follows its menu's own state, which the window's
        // being enabled again would otherwise bring back.
        if (QMenu* subMenu = actions[i]->menu())
            subMenu->setEnabled(enabled);
        actions[i]->setEnabled(enabled);
    }
}

void Dialog::OptRecBtn(int mode)
{
    const bool running = m_bRecording || m_bScreenRecording;
    // A press while a start waits for its recorder would start or stop in
    // the middle of it.
    if (m_recordingStarting)
        return;
    if (mode == 0)
        mode = running ? 2 : 1;
    if (mode == 1) {
        if (running)
            return;
        if (m_recDlg)
            m_recDlg->SetRecType(m_config.Type);
        if (m_config.Type == 3) {
            if (m_recDlg)
                m_recDlg->show();
        } else {
            OptRecStart(m_config.Type);
        }
    } else if (mode == 2) {
        if (!running)
            return;
        OptStopBtn();
        SetMainMenuEnabled(true);
    }
}

void Dialog::OptRecDialog()
{
    for (QWidget* panel : FloatingSubPanels())
        panel->hide();
    if (!m_floatingRec)
        return;
    m_floatingRec->SetHoverButton(nullptr, false);
    m_floatingRec->show();
}

QString Dialog::WaitForRecorderProgress()
{
    QString progress;
    // A recorder that ended will not report any more.
    for (int poll = 0; poll < kProgressPolls && (m_recorder.pid <= 0 || tools::StillRuns(m_recorder)); ++poll) {
        QCoreApplication::processEvents();
        QThread::msleep(kProgressPollMs);
        if (tools::FindProgressTime(ReadLineData(), &progress)) {
            qDebug().noquote() << QStringLiteral("tempString %1 %2").arg(poll).arg(progress);
            return progress;
        }
    }
    return QString();
}

void Dialog::ShowRecordingStartFailure()
{
    SetButtonStyle(ui->recbtn, Scaled(40, m_scale), Scaled(36, m_scale), QStringLiteral("RecStart"));
    ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("Recording"), m_lang.messages.value(100 - 100),
                       QMessageBox::Yes);
    m_bRecording = false;
    m_bRecClock = false;
}

bool Dialog::ConfirmRecordingStart(int type)
{
    if (type == 2 && m_bDualScreen) {
        ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("confirm"), m_lang.messages.value(101 - 100),
                           QMessageBox::Yes);
        return false;
    }
    if (m_config.Check) {
        const int key = type == 0 ? 140 : type == 1 ? 138 : 120;
        const QMessageBox::StandardButton answer =
            ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"), m_lang.messages.value(key - 100),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
        if (answer == QMessageBox::No)
            return false;
    }
    return true;
}

bool Dialog::ChooseRecordingTarget(int type)
{
    // A chosen file that exists stays until the new recording replaces it
    // whole. A target chosen for a start that did not come through is not used by
    // the next one.
    m_iic_SaveAs_PathName.clear();
    m_iic_SaveAs_Folder.clear();
    m_iic_SaveAs_FileName.clear();
    if (m_config.Name) {
        OptVirtureKeyboard();
        const QString extension = ProposedExtension(type);
        const QString proposal = m_config.Path + QLatin1Char('/') + MakeFileTimeStamp() + extension;
        const QString filter =
            type == 2 ? QStringLiteral("Video file (*.mp4)") : QStringLiteral("Dravik contents file (*.iic)");
        QString chosen = ui::GetSaveFileName(this, QStringLiteral("Save as"), proposal, filter);
        CloseOnScreenKeyboard();
        if (chosen.isEmpty())
            return false;
        if (!chosen.endsWith(extension, Qt::CaseInsensitive))
            chosen += extension;
        const QFileInfo target(chosen);
        m_iic_SaveAs_PathName = target.absoluteFilePath();
        m_iic_SaveAs_Folder = target.absolutePath();
        m_iic_SaveAs_FileName = target.fileName();
    }
    return true;
}

void Dialog::OptRecStart(int type)
{
    if (m_bRecording || m_bScreenRecording || m_recordingStarting)
        return;
    if (!m_bCaptureLibLoaded || type < 0 || type > 2) {
        qDebug().noquote() << QStringLiteral("recording type %1 cannot be recorded").arg(type);
        return;
    }
    // The start picks its devices from the library's table.
    FinishDeviceListing();
    EndOwnRecorders();
    PrepareRecordingTimeline();
    QThread::msleep(400);

    if (!ConfirmRecordingStart(type) || !ChooseRecordingTarget(type))
        return;

    m_rec_type = type;
    if (!CopyRecorderToWorkFolder()) {
        qDebug().noquote() << QStringLiteral("recording start fail~~ : no recorder program");
        ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("Recording"),
                           QStringLiteral("The recorder program (ffmpeg) is missing, so nothing can be recorded. "
                                          "Install it and try again."),
                           QMessageBox::Yes);
        return;
    }
    WaitForFolderFiles(QDir::cleanPath(m_workFolder), platform::LinuxProgramName(QStringLiteral("ffmpeg.exe")), 50,
                       20);
    m_bRecording = true;
    m_bRecClock = true;
    m_rec_file = QString::number(QDateTime::currentMSecsSinceEpoch());

    tools::RecordingRequest request;
    request.type = type;
    request.workFolder = m_workFolder;
    request.recordName = m_rec_file;
    request.camera = m_cam_name;
    request.microphone = m_mic_name;
    request.screenWidth = m_canvasWidth;
    request.screenHeight = m_canvasHeight;
    const tools::CaptureSettings settings = tools::RecorderSettings(request, m_config);
    qDebug().noquote() << QStringLiteral("file path %1 %2").arg(settings.folder, settings.fileName);
    ConfigSetting(settings.folder, settings.fileName, settings.camera, settings.microphone, settings.size,
                  settings.mode, settings.videoQuality, settings.videoFrameRate, settings.audioQuality,
                  settings.audioBitRate);
    m_recordingStarting = true;
    const int started = StartRecording(type);

    if (started == 0) {
        m_recordingStarting = false;
        ShowRecordingStartFailure();
        qDebug().noquote() << QStringLiteral("recording start fail~~");
        return;
    }
    m_bRecording = true;
    RememberRecorder(settings.fileName);
    SetButtonStyle(ui->recbtn, Scaled(40, m_scale), Scaled(36, m_scale), QStringLiteral("RecStop"));
    SetMainMenuEnabled(false);

    ShowLoading();
    setEnabled(false);
    const QString progress = WaitForRecorderProgress();
    const qint64 offset = progress.isEmpty() ? 0 : tools::ProgressOffsetMs(progress);
    qDebug().noquote() << QStringLiteral("AddMsec = %1").arg(offset);
    m_rec_time.start();
    m_rec_time.moveBack(offset);
    qDebug().noquote() << QStringLiteral("Orbel = %1, ffmpeg = %2").arg(m_rec_time.elapsed()).arg(progress);
    setEnabled(true);
    HideLoading();
    m_recordingStarting = false;

    // A recorder that never reported is not left capturing.
    if (progress.isEmpty()) {
        SetMainMenuEnabled(true);
        StopRecording();
        tools::RemoveRecorderRecord(m_workFolder);
        m_recorder = tools::ProcessStamp();
        ShowRecordingStartFailure();
        m_rec_time.invalidate();
        qDebug().noquote() << QStringLiteral("recording start fail~~");
        return;
    }

    m_bScreenRecording = false;
    if (type == 2) {
        m_bRecording = false;
        m_bScreenRecording = true;
    } else if (type == 0) {
        if (m_toolbarPosition != 4) {
            ui->viewbtn->setChecked(true);
            ui->viewbtn->show();
            ui->viewlocationbtn->show();
            ui->viewlocationsubbtn->show();
        }
        const int corner = m_config.ViewPos;
        ClickViewLocationBtn(corner >= 0 && corner < 4 ? QLatin1String(kViewCorners[corner]) : m_viewLocationKey);
    }

    ui->rectimeLabel->setText(QStringLiteral("0:00:00"));
    ui->rectimeLabel->show();
    m_ThreadRecTime.setFuture(QtConcurrent::run(&Dialog::RecTimeWorker, this));
    ::AppendViewRecord(m_board.slot[0], ekStartRec, 0.0, m_zoom, VerticalScrollValue(), HorizontalScrollValue(),
                       m_curr_note.create_data);
    m_rec_note_index = {m_note_idx};
    m_rec_note_names = QStringList{m_curr_note.name};
    m_rec_note_stamps = QStringList{m_curr_note.create_data};
    m_rec_note_times = QStringList{QString::number(m_rec_time.elapsed())};

    if (!m_recorderWatch) {
        m_recorderWatch = new QTimer(this);
        m_recorderWatch->setInterval(kRecorderWatchMs);
        connect(m_recorderWatch, &QTimer::timeout, this, &Dialog::WatchRecorder);
    }
    if (m_recorder.pid > 0)
        m_recorderWatch->start();

    setEnabled(true);

    // A video without sound is told once, at its start, not found at its end.
    if (type != 1 && tools::IsNoMicrophone(m_mic_name)) {
        qDebug().noquote() << QStringLiteral("recording : no microphone, the video has no sound");
        ui::ShowMessageBox(QMessageBox::Information, this, QStringLiteral("Recording"),
                           QStringLiteral("No microphone is connected: the video is recorded without sound."),
                           QMessageBox::Ok);
    }
}

void Dialog::RecTimeWorker(Dialog* dialog)
{
    while (dialog->m_bRecClock) {
        for (int waited = 0; waited < kClockTickMs && dialog->m_bRecClock; waited += kClockPollMs)
            QThread::msleep(kClockPollMs);
        if (dialog->m_bRecClock)
            emit dialog->CallDrawRecTime();
    }
}

void Dialog::OptStopBtn()
{
    EndRecording(QString());
}

void Dialog::EndRecording(const QString& failure)
{
    if (m_recorderWatch)
        m_recorderWatch->stop();
    m_previewHidden = false;
    m_bRecClock = false;
    ui->rectimeLabel->hide();

    ::AppendViewRecord(m_board.slot[0], ekEndRec, double(m_rec_time.elapsed()), m_zoom, 0, 0,
                       m_curr_note.create_data);
    qDebug().noquote() << QStringLiteral("rec_type : %1").arg(m_rec_type);

    const int stopped = StopRecording ? StopRecording() : 0;
    // The recorder is gone now, one way or the other.
    tools::RemoveRecorderRecord(m_workFolder);
    m_recorder = tools::ProcessStamp();
    if (!failure.isEmpty()) {
        // What was recorded up to the end is kept, and the drawing with it.
        StartContentsSave();
        ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("Recording"),
                           QStringLiteral("The recording stopped: %1\nWhat was recorded up to then is saved.")
                               .arg(failure),
                           QMessageBox::Yes);
    } else if (stopped != 0) {
        StartContentsSave();
    } else {
        qDebug().noquote() << QStringLiteral("dialog :: Recording complete failed");
        // The recorder is gone either way: a flag left set would refuse every
        // later recording and the exit for good.
        m_bRecording = false;
        m_bScreenRecording = false;
        ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("Recording"),
                           QStringLiteral("The recording could not be completed and was not saved."),
                           QMessageBox::Yes);
    }
    SetButtonStyle(ui->recbtn, Scaled(40, m_scale), Scaled(36, m_scale), QStringLiteral("RecStart"));
}

void Dialog::OptCloseOrbel()
{
    if (m_bRecording || m_bScreenRecording) {
        qDebug().noquote() << QStringLiteral("Dialog :: Recording 2");
        ui::ShowMessageBox(QMessageBox::Critical, this, QString(), QStringLiteral("Close Recording"),
                           QMessageBox::Ok);
        return;
    }
    // A save that runs (the window manager's close is not held back by the
    // progress window) has cleared the changed mark, but the lesson is on
    // no disk until it has ended well. Its end is waited for and handled
    // here; a failed one has said why and the lesson stays open.
    if (m_ThreadPrjSave.isRunning() || !m_projectSaveEndHandled) {
        qDebug().noquote() << QStringLiteral("exit waits for the running save");
        if (!WaitForRunningSave() || !m_projectSaveResult)
            return;
    }
    if (!m_boardModified) {
        emit MainDlgClose();
        return;
    }
    const QMessageBox::StandardButton answer =
        ui::ShowMessageBox(QMessageBox::Question, m_configDlg ? static_cast<QWidget*>(m_configDlg) : this,
                           QStringLiteral("Confirm"), m_lang.messages.value(103 - 100),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return;
    if (answer == QMessageBox::No) {
        emit MainDlgClose();
        return;
    }
    // The save's end closes the window once the lesson is written (the
    // jobs' group); a save that fails keeps the lesson open, and so does no
    // file chosen. One that outlasts the wait has told the user to exit
    // again once it has ended, and then closes nothing by itself.
    m_afterProjectSave = 1;
    OptProjectSave(false);
    if (m_projectSaveStarted && !WaitForRunningSave(1000))
        m_afterProjectSave = 0;
}
