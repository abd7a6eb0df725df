#include "board/event_kind.h"
#include "panels/ui/configdlg.h"
#include "platform/processes.h"
#include "storage/project_file.h"
#include "tools/recorder_guard.h"
#include "tests/support/board_window.h"
#include "tests/support/debug_log.h"
#include "tests/support/zip_fixture.h"
#include "ui_dialog.h"

#include <quazip/quazip.h>

#include <QAction>
#include <QComboBox>
#include <QSemaphore>
#include <QDir>
#include <QMenu>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

// Recorders this test process started and that still run.
QList<qint64> OurRecorders()
{
    QList<qint64> found;
    for (qint64 pid : platform::ProcessIds()) {
        if (platform::ParentProcessId(pid) == getpid() && platform::ProcessExecutableName(pid) == "ffmpeg")
            found << pid;
    }
    return found;
}

bool Logged(const QString& start)
{
    for (const QString& line : g_log)
        if (line.startsWith(start))
            return true;
    return false;
}

QStringList PackageEntries(const QString& path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return {};
    return zip.getFileNameList();
}

// Stand-ins of the library's listing: one writes a listing into the folder,
// the other writes nothing.
void WriteListing(QString folder)
{
    WriteTestFile(folder + "/deviceinfo.log",
                  "DirectShow video devices\n \"Cam A\"\n \"screen-capture-recorder\"\n"
                  "DirectShow audio devices\n \"Mic A\"\n     Alternative name \"@x\"\n");
}
void WriteNothing(QString) {}
// A listing that takes as long as the test holds it (at most five seconds).
QSemaphore g_listingGate;
void WriteListingWhenReleased(QString folder)
{
    g_listingGate.tryAcquire(1, 5000);
    WriteListing(folder);
}

const EventMaster* LastMarker(const Dialog* board, int kind)
{
    const QVector<EventMaster>& masters = board->m_board.slot[0].records.masters();
    for (int i = masters.size() - 1; i >= 0; --i)
        if (masters[i].Kind == kind)
            return &masters[i];
    return nullptr;
}

}  // namespace

// The recording controls of the window with our capture library and its test
// devices: a sound recording from start to package, the failures of the
// start and the stop, and the exit request while a recording runs.
class DialogRecordingTest : public BoardWindowTest
{
    Q_OBJECT

    QTemporaryDir m_recordings;

    static void startLog()
    {
        qInstallMessageHandler(CollectLog);
        g_log.clear();
    }

    // The main menu's entries, "1" for each enabled one and "0" for each
    // disabled one, in menu order.
    QString mainMenuState()
    {
        QString state;
        for (QAction* action : board->m_mainMenu->actions())
            state += action->isEnabled() ? '1' : '0';
        return state;
    }

    QString recordButtonSheet(const char* key)
    {
        QString tooltip;
        return board->MakeButtonStyleSheet(key, tooltip);
    }

    void prepareSoundRecording()
    {
        startLog();
        QVERIFY2(PrepareSoundRecording(m_recordings.path()), "the capture library did not load");
        // The second stage hides the clock label too.
        board->ui->rectimeLabel->hide();
    }

    void checkNothingLeftRunning()
    {
        qunsetenv("DRAVIK_CAPTURE_FAIL");
        QVERIFY2(OurRecorders().isEmpty(), "a recorder was left running");
    }

public:
    DialogRecordingTest()
    {
        qputenv("DRAVIK_CAPTURE_TEST_DEVICES", "1");
    }

private slots:

    void exitRefusedWhileRecording_data()
    {
        QTest::addColumn<bool>("lesson");
        QTest::addColumn<bool>("screen");
        QTest::newRow("lesson recording") << true << false;
        QTest::newRow("screen recording") << false << true;
    }

    void exitRefusedWhileRecording()
    {
        QFETCH(bool, lesson);
        QFETCH(bool, screen);
        startLog();
        board->m_bRecording = lesson;
        board->m_bScreenRecording = screen;
        QSignalSpy closed(board, &Dialog::MainDlgClose);
        board->OptCloseOrbel();
        QCOMPARE(closed.count(), 0);
        QVERIFY(g_log.contains("Dialog :: Recording 2"));
        QVERIFY2(g_log.contains("message box critical:  | Close Recording"), qPrintable(g_log.join('\n')));
        board->m_bRecording = false;
        board->m_bScreenRecording = false;
    }

    // The exit request saves first and waits for that save, however long it
    // takes within the wait: one that then fails keeps the window open, the
    // lesson marked as changed and the project file on disk the old one,
    // whole, and says why.
    void exitDuringALongSaveKeepsTheOldProject()
    {
        startLog();
        QTemporaryDir programs;
        // A packer that writes part of its archive and takes its time.
        QVERIFY(WriteTestFile(programs.filePath("zip"), "#!/bin/sh\necho partial > \"$3\"\nsleep 12\nexit 1\n",
                              kExecutablePermissions));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", programs.path().toLocal8Bit() + ":" + path);
        const QString project = m_recordings.filePath("lesson.vk");
        QVERIFY(WriteTestFile(project, "the saved lesson"));
        board->m_currentProjectPath = project;
        board->m_boardModified = true;

        QSignalSpy closed(board, &Dialog::MainDlgClose);
        QElapsedTimer waited;
        waited.start();
        board->OptCloseOrbel();
        qputenv("PATH", path);
        QVERIFY(waited.elapsed() >= 9500);
        QVERIFY(!board->m_ThreadPrjSave.isRunning());
        QCoreApplication::processEvents();
        QCOMPARE(closed.count(), 0);
        QVERIFY(board->m_boardModified);
        QVERIFY2(Logged("message box critical: Save project file | The project could not be saved to"),
                 qPrintable(g_log.join('\n')));
        QCOMPARE(ReadTestFile(project), QByteArray("the saved lesson"));
        QCOMPARE(QDir(m_recordings.path()).entryList({"*lesson*"}, QDir::Files | QDir::Hidden),
                 QStringList{"lesson.vk"});
    }

    // Asked to save first, the user chooses no file: the lesson stays open
    // rather than lost.
    void exitWithoutAChosenFileStaysOpen()
    {
        startLog();
        board->m_currentProjectPath.clear();
        board->m_boardModified = true;
        QSignalSpy closed(board, &Dialog::MainDlgClose);
        board->OptCloseOrbel();
        QTest::qWait(200);
        QCOMPARE(closed.count(), 0);
        QVERIFY(Logged("file dialog save: "));
    }

    // The listing the library leaves in the work folder fills the device
    // lists, the settings dialog's choices and the recording panel; without
    // one they are empty. The library takes its time (it runs the recorder),
    // and the window does not wait for it.
    void deviceListsFromTheWorkFolder()
    {
        QDir().mkpath(board->m_workFolder);
        board->m_configDlg = new ConfigDlg(board);
        board->DeviceSave = WriteListingWhenReleased;
        board->ParseDeviceInfoLog();
        QVERIFY(board->m_cam_list.isEmpty());
        g_listingGate.release();
        QTRY_COMPARE_WITH_TIMEOUT(board->m_cam_list, QStringList{"Cam A"}, 10000);
        QCOMPARE(board->m_mic_list, QStringList{"Mic A"});
        QCOMPARE(board->m_mic_name, QString("Mic A"));
        auto* cameras = board->m_configDlg->findChild<QComboBox*>("rec_camdeviceC");
        QVERIFY(cameras);
        QCOMPARE(cameras->count(), 1);
        QCOMPARE(cameras->itemText(0), QString("Cam A"));

        // A recording start that comes first waits for the listing.
        QFile::remove(board->m_workFolder + "deviceinfo.log");
        board->DeviceSave = WriteNothing;
        board->ParseDeviceInfoLog();
        board->FinishDeviceListing();
        QVERIFY(board->m_cam_list.isEmpty());
        QVERIFY(board->m_mic_list.isEmpty());
        QCOMPARE(cameras->count(), 0);
    }

    // Asked for the file, the start proposes the recording folder, the file
    // stamp and the extension of what the type leaves; no file chosen, no
    // recording.
    void proposedFile_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("extension");
        QTest::newRow("camera: a contents package") << 0 << ".iic";
        QTest::newRow("sound: a contents package") << 1 << ".iic";
        QTest::newRow("screen: a video") << 2 << ".mp4";
    }

    void proposedFile()
    {
        QFETCH(int, type);
        QFETCH(QString, extension);
        prepareSoundRecording();
        board->m_config.Name = true;
        board->OptRecStart(type);
        QString proposal;
        for (const QString& line : g_log)
            if (line.startsWith("file dialog save: Save as | "))
                proposal = line.mid(int(qstrlen("file dialog save: Save as | ")));
        const QRegularExpression stamped("^" + QRegularExpression::escape(m_recordings.path()) + "/"
                                         + "[0-9]{8}_[0-9]{6}" + QRegularExpression::escape(extension) + "$");
        QVERIFY2(stamped.match(proposal).hasMatch(), qPrintable(proposal));
        QVERIFY(!board->m_bRecording);
        QVERIFY(!Logged("file path"));
    }

    void stopWithoutRecordingDoesNothing()
    {
        startLog();
        board->OptRecBtn(2);
        QVERIFY(!Logged("rec_type :"));
        QVERIFY(board->m_board.slot[0].records.masters().isEmpty());
    }

    // A sound recording with the test tone from start to contents package:
    // the clock counts from the recorder's start, the markers frame it and
    // the package holds the sound.
    void soundRecordingEndsInAPackage()
    {
        prepareSoundRecording();
        board->OptRecBtn(1);
        QVERIFY2(board->m_bRecording, qPrintable(g_log.join('\n')));
        QVERIFY(!board->m_bScreenRecording);
        QVERIFY(board->m_bRecClock);
        QVERIFY(board->isEnabled());
        QVERIFY(board->ui->rectimeLabel->isVisible());
        QCOMPARE(board->ui->recbtn->styleSheet(), recordButtonSheet("RecStop"));
        QCOMPARE(mainMenuState(), QString(14, '0'));
        for (const char* line : {"file path", "tempString", "AddMsec = ", "Orbel = "})
            QVERIFY2(Logged(line), line);

        QVERIFY(LastMarker(board, ekStartRec));
        // A copy: the end marker's append may move the table.
        const EventMaster startMarker = *LastMarker(board, ekStartRec);
        const EventMaster* start = &startMarker;
        QCOMPARE(start->MediaPos, 0.0);
        QCOMPARE(start->StrData, quint16(0xffff));
        QCOMPARE(start->SCale, board->m_zoom);
        QCOMPARE(start->Slot, quint16(0));
        QCOMPARE(start->NoteName, board->m_curr_note.create_data);
        QCOMPARE(board->m_rec_note_stamps, QStringList{board->m_curr_note.create_data});

        QTRY_COMPARE_WITH_TIMEOUT(board->ui->rectimeLabel->text(), QString("0:00:02"), 5000);
        board->OptRecBtn(0);
        QVERIFY(!board->m_bRecClock);
        QVERIFY(Logged("rec_type : 1"));
        const EventMaster* end = LastMarker(board, ekEndRec);
        QVERIFY(end);
        QVERIFY2(end->MediaPos >= 2000 && end->MediaPos < 5000, qPrintable(QString::number(end->MediaPos)));
        QCOMPARE(end->HScroll, quint16(0));
        QCOMPARE(end->VScroll, quint16(0));
        QCOMPARE(end->StrData, quint16(0xffff));
        QCOMPARE(int(end->EventID), int(start->EventID) + 1);

        QCOMPARE(board->ui->recbtn->styleSheet(), recordButtonSheet("RecStart"));
        QCOMPARE(mainMenuState(), QString(14, '1'));
        QTRY_VERIFY_WITH_TIMEOUT(!board->m_ThreadSave.isRunning(), 30000);
        QVERIFY(!board->m_bRecording);
        const QStringList packages = QDir(m_recordings.path()).entryList({"*.iic"}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        QVERIFY(PackageEntries(m_recordings.filePath(packages.first())).contains("audio.mp3"));
        QTRY_COMPARE(board->ui->rectimeLabel->text(), QString("0:00:00"));
        checkNothingLeftRunning();
    }

    // Closing the window while it records stops the recording, saves it and
    // lets the clock go before the window goes.
    void closingWhileRecordingSavesTheRecording()
    {
        prepareSoundRecording();
        const QString folder = m_recordings.filePath("closing");
        QVERIFY(QDir().mkpath(folder));
        board->m_config.Path = folder;
        board->OptRecBtn(1);
        QVERIFY(board->m_bRecording);
        QTest::qWait(1500);
        delete board;
        board = nullptr;
        QVERIFY(Logged("rec_type : 1"));
        const QStringList packages = QDir(folder).entryList({"*.iic"}, QDir::Files);
        QVERIFY(!packages.isEmpty());
        checkNothingLeftRunning();
    }

    // The library refuses to start: the user is told, nothing runs, and the
    // button and the flags are as before.
    void refusedStart()
    {
        prepareSoundRecording();
        qputenv("DRAVIK_CAPTURE_FAIL", "start");
        board->OptRecBtn(1);
        QVERIFY(!board->m_bRecording);
        QVERIFY(!board->m_bRecClock);
        QVERIFY(g_log.contains("recording start fail~~"));
        QVERIFY(Logged("message box warning: Recording | "));
        QVERIFY(!board->ui->rectimeLabel->isVisible());
        QCOMPARE(board->ui->recbtn->styleSheet(), recordButtonSheet("RecStart"));
        QCOMPARE(mainMenuState(), QString(14, '1'));
        QVERIFY(!LastMarker(board, ekStartRec));
        checkNothingLeftRunning();
    }

    // The recorder runs but never reports its progress: after the wait the
    // start counts as failed and the recorder is not left capturing.
    void recorderThatNeverReportsIsStopped()
    {
        prepareSoundRecording();
        qputenv("DRAVIK_CAPTURE_FAIL", "progress");
        board->OptRecBtn(1);
        QVERIFY(!board->m_bRecording);
        QVERIFY(!board->m_bRecClock);
        QVERIFY(board->isEnabled());
        QVERIFY(g_log.contains("recording start fail~~"));
        QVERIFY(Logged("message box warning: Recording | "));
        QCOMPARE(board->ui->recbtn->styleSheet(), recordButtonSheet("RecStart"));
        QCOMPARE(mainMenuState(), QString(14, '1'));
        checkNothingLeftRunning();
    }

    // A stop the library reports as failed saves nothing and replaces no
    // file, but leaves the window able to record and to close again.
    void failedStopKeepsTheChosenFile()
    {
        prepareSoundRecording();
        board->OptRecBtn(1);
        QVERIFY(board->m_bRecording);
        const QString chosen = m_recordings.filePath("lesson.iic");
        QVERIFY(WriteTestFile(chosen, "the earlier lesson"));
        board->m_iic_SaveAs_PathName = chosen;
        board->m_iic_SaveAs_FileName = "lesson.iic";
        board->m_iic_SaveAs_Folder = m_recordings.path();
        qputenv("DRAVIK_CAPTURE_FAIL", "stop");
        board->OptRecBtn(2);
        QVERIFY(g_log.contains("dialog :: Recording complete failed"));
        QVERIFY(!board->m_ThreadSave.isRunning());
        QFile kept(chosen);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("the earlier lesson"));
        QVERIFY(!board->m_bRecording);
        QSignalSpy closed(board, &Dialog::MainDlgClose);
        board->m_boardModified = false;
        board->OptCloseOrbel();
        QCOMPARE(closed.count(), 1);
        checkNothingLeftRunning();
    }

    // The recorder ends in the middle of a recording (killed, a full disk):
    // the clock stops, the teacher is told at once, and what was recorded up
    // to then is saved with the drawing.
    void recorderEndingMidRecordingKeepsWhatWasRecorded()
    {
        prepareSoundRecording();
        const QString folder = m_recordings.filePath("cut");
        QVERIFY(QDir().mkpath(folder));
        board->m_config.Path = folder;
        board->OptRecBtn(1);
        QVERIFY(board->m_bRecording);
        const QString record = board->m_workFolder + tools::kRecorderRecordName;
        QVERIFY(QFileInfo::exists(record));
        QTRY_COMPARE_WITH_TIMEOUT(board->ui->rectimeLabel->text(), QString("0:00:01"), 5000);
        const QList<qint64> recorders = OurRecorders();
        QCOMPARE(recorders.size(), 1);
        QCOMPARE(::kill(pid_t(recorders.first()), SIGKILL), 0);

        QTRY_VERIFY_WITH_TIMEOUT(!board->m_bRecClock, 5000);
        QVERIFY2(Logged("message box warning: Recording | The recording stopped: "), qPrintable(g_log.join('\n')));
        QVERIFY(LastMarker(board, ekEndRec));
        QCOMPARE(board->ui->recbtn->styleSheet(), recordButtonSheet("RecStart"));
        QCOMPARE(mainMenuState(), QString(14, '1'));
        QTRY_VERIFY_WITH_TIMEOUT(!board->m_ThreadSave.isRunning(), 30000);
        QVERIFY(!board->m_bRecording);
        const QStringList packages = QDir(folder).entryList({"*.iic"}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        const QStringList entries = PackageEntries(QDir(folder).filePath(packages.first()));
        QVERIFY2(entries.contains("audio.mp3") && entries.contains("New_Event.xml"), qPrintable(entries.join(' ')));
        QVERIFY(!QFileInfo::exists(record));
        checkNothingLeftRunning();
    }

    // A project handed over by another start while a recording runs: the
    // recording is stopped and its package written before the project opens.
    void handOffDuringARecordingSavesItFirst()
    {
        prepareSoundRecording();
        const QString folder = m_recordings.filePath("handoff");
        QVERIFY(QDir().mkpath(folder));
        board->m_config.Path = folder;
        storage::ProjectSnapshot project;
        for (const char* stamp : {"20240102090000000", "20240102090000001"}) {
            NoteInfo note;
            note.name = note.path = QStringLiteral("WhiteBoard");
            note.create_data = QString::fromLatin1(stamp);
            project.notes << note;
        }
        project.boardSize = project.pageSize = QSize(board->m_view_width, board->m_view_height);
        const QString path = m_recordings.filePath("handed.vk");
        QVERIFY(QDir().mkpath(m_recordings.filePath("stage")));
        QVERIFY(storage::SaveProjectFile(project, m_recordings.filePath("stage/"), "s", path,
                                         [](const QString&, int) {})
                    .saved);

        board->OptRecBtn(1);
        QVERIFY(board->m_bRecording);
        QTRY_COMPARE_WITH_TIMEOUT(board->ui->rectimeLabel->text(), QString("0:00:01"), 5000);
        board->m_boardModified = false;
        board->OpenISPFile(path);

        // The package is complete when the project starts to load.
        QVERIFY(!board->m_bRecording && !board->m_bRecClock);
        const QStringList packages = QDir(folder).entryList({"*.iic"}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        QVERIFY(PackageEntries(QDir(folder).filePath(packages.first())).contains("audio.mp3"));
        QTRY_VERIFY_WITH_TIMEOUT(board->m_ThreadPrjLoad.isFinished() && !board->m_projectLoadJob, 30000);
        QCOMPARE(board->m_currentProjectPath, path);
        QCOMPARE(board->m_note_list.size(), 2);
        QCOMPARE(mainMenuState(), QString(14, '1'));
        checkNothingLeftRunning();
    }

    // Without the recorder program the teacher is told what is missing, not
    // that a device failed.
    void missingRecorderProgramIsNamed()
    {
        prepareSoundRecording();
        QFile::remove(board->m_workFolder + "ffmpeg");
        QTemporaryDir emptyFolder;
        board->m_applicationFolder = emptyFolder.path();
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", emptyFolder.path().toUtf8());
        board->OptRecBtn(1);
        qputenv("PATH", path);
        QVERIFY2(Logged("message box warning: Recording | The recorder program (ffmpeg) is missing"),
                 qPrintable(g_log.join('\n')));
        QVERIFY(!board->m_bRecording && !board->m_bRecClock);
        QVERIFY(board->ui->recbtn->styleSheet() != recordButtonSheet("RecStop"));
        checkNothingLeftRunning();
    }

    // A video recorded with no microphone is said to have no sound, once,
    // when it starts.
    void videoWithoutMicrophoneIsToldAtItsStart()
    {
        prepareSoundRecording();
        board->m_config.Type = 0;
        board->m_cam_name = "Test Camera";
        board->m_mic_name.clear();
        board->m_config.Path = m_recordings.filePath("silent");
        QVERIFY(QDir().mkpath(board->m_config.Path));
        board->OptRecBtn(1);
        QVERIFY2(board->m_bRecording, qPrintable(g_log.join('\n')));
        QCOMPARE(g_log.filter("message box information: Recording | No microphone").size(), 1);
        board->OptRecBtn(2);
        QTRY_VERIFY_WITH_TIMEOUT(!board->m_ThreadSave.isRunning(), 30000);
        QCOMPARE(g_log.filter("message box information: Recording | No microphone").size(), 1);
        checkNothingLeftRunning();
    }
};

QTEST_MAIN(DialogRecordingTest)
#include "dialog_recording_test.moc"
