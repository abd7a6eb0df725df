// Screen: 1920x1080x24
// Recording in the running whiteboard with our capture library and its test
// devices, worked from outside with xdotool: a screen recording from the
// launcher's recording panel into the recording folder, with an ffmpeg of
// someone else left alone; then, asked each time, the record type dialog and
// a start the library refuses.
#include "board/camera_preview_place.h"
#include "panels/floating_panels.h"
#include "platform/processes.h"
#include "storage/settings_file.h"
#include "tests/support/own_display.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtEndian>
#include <QtTest>

#include <memory>

#include <csignal>
#include <unistd.h>

namespace {

const int W = 1920;
const int H = 1080;
const QPoint kLauncher(400, 300);

QString N(int v) { return QString::number(v); }

void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
}

QPoint Centre(const QVector<PanelButton>& buttons, const char* name)
{
    for (const PanelButton& spec : buttons) {
        if (QLatin1String(spec.objectName) == QLatin1String(name))
            return spec.geometry.center();
    }
    return QPoint();
}

double ProbedSeconds(const QString& path)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_format", "-of", "json", path});
    if (!probe.waitForFinished(20000))
        return -1;
    return QJsonDocument::fromJson(probe.readAllStandardOutput())
        .object()
        .value("format")
        .toObject()
        .value("duration")
        .toString()
        .toDouble();
}

// The recorders a whiteboard runs.
QList<qint64> RecordersOf(const RunningProgram& board)
{
    QList<qint64> found;
    for (qint64 pid : platform::ProcessIds()) {
        if (platform::ParentProcessId(pid) == board.pid() && platform::ProcessExecutableName(pid) == "ffmpeg")
            found << pid;
    }
    return found;
}

QStringList Files(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}

// Whole parts (a moof box and the mdat after it, both complete) of the
// fragmented video at `path`, read as far as it is written.
int WholeParts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray data = file.readAll();
    int whole = 0;
    bool fragment = false;
    qint64 at = 0;
    while (at + 8 <= data.size()) {
        quint64 size = qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(data.constData() + at));
        qint64 header = 8;
        if (size == 1) {
            if (at + 16 > data.size())
                break;
            size = qFromBigEndian<quint64>(reinterpret_cast<const uchar*>(data.constData() + at + 8));
            header = 16;
        }
        if (size < quint64(header) || size > quint64(data.size() - at))
            break;
        const QByteArray type = data.mid(int(at) + 4, 4);
        if (type == "moof") {
            fragment = true;
        } else if (type == "mdat" && fragment) {
            ++whole;
            fragment = false;
        }
        at += qint64(size);
    }
    return whole;
}

bool WriteSettings(int type, const QString& recordFolder, int viewPos = 0)
{
    ConfigInfomation config;
    const SettingsFolders folders = PrepareSettingsFolders();
    SetConfigDefaults(&config, folders, W, H, true);
    config.toolsave = true;
    config.toolpos = 4;
    config.floatingX = kLauncher.x();
    config.floatingY = kLauncher.y();
    config.Type = type;
    config.Check = false;
    config.Name = false;
    config.Path = recordFolder;
    config.ScreenFrameRate = 2;  // 15 fps
    config.ScreenQuality = 1;
    config.ViewPos = viewPos;
    return WriteConfigFile(SettingsFilePath(), config);
}

}  // namespace

class RecordingProgramXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QString m_recordings;

    QProcessEnvironment Environment(const QByteArray& failure = QByteArray())
    {
        QProcessEnvironment env;
        env.insert("DRAVIK_CAPTURE_TEST_DEVICES", "1");
        if (!failure.isEmpty())
            env.insert("DRAVIK_CAPTURE_FAIL", failure);
        return env;
    }

    // The video being recorded into the work folder: waits (30 s) until it
    // holds `parts` whole parts of two seconds each. A busy machine records
    // slower than the clock, so a recording is made as long as its content.
    bool RecordedParts(int parts)
    {
        const QString work = m_root->path() + "/Temp/Orbel5";
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            const QStringList videos = Files(work, "*.mp4");
            if (!videos.isEmpty() && WholeParts(work + "/" + videos.first()) >= parts)
                return true;
            if (clock.elapsed() > 30000) {
                qWarning("the recording in %s did not hold %d whole parts within 30 s", qPrintable(work), parts);
                return false;
            }
            QTest::qWait(100);
        }
    }

    // Opens the launcher's recording panel and returns its top-left corner.
    QPoint OpenRecordingPanel(RunningProgram& board)
    {
        Click(kLauncher + Centre(LauncherButtons(), "btnRec"));
        const QStringList ids = WaitForXWindows("^floatingrec$", 5000, board.pid());
        return ids.isEmpty() ? QPoint(-1, -1) : XWindowGeometry(ids.first()).topLeft();
    }

    // A whiteboard that records the screen into `folder` (made here) from the
    // panel; false, with a warning, when any step failed.
    bool StartScreenRecordingInto(RunningProgram& board, const QString& folder)
    {
        if (!QDir().mkpath(folder) || !WriteSettings(2, folder)
            || !StartWhiteboard(board, {"/noAutoUpdate"}, Environment())) {
            qWarning("the whiteboard could not be started for recording");
            return false;
        }
        if (board.waitForLine("time Done", 10000) < 0) {
            qWarning("the whiteboard's splash did not close");
            return false;
        }
        return StartRecordingFromPanel(board);
    }

    // Starts a recording from the panel; false when the recorder never
    // reported.
    bool StartRecordingFromPanel(RunningProgram& board)
    {
        const QPoint panel = OpenRecordingPanel(board);
        const int from = board.lines().size();
        Click(panel + Centre(RecPanelButtons(), "btnRec"));
        const bool started = board.waitForLine("Orbel = ", 20000, from) >= 0;
        if (!started)
            qWarning().noquote() << board.lines().mid(from).join('\n');
        return started;
    }

    bool StopRecordingFromPanel(RunningProgram& board)
    {
        const QPoint panel = OpenRecordingPanel(board);
        const int from = board.lines().size();
        Click(panel + Centre(RecPanelButtons(), "btnStop"));
        return board.waitForLine("save complete", 30000, from) >= 0;
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_recordings = m_root->path() + "/recordings";
        QVERIFY(QDir().mkpath(m_recordings));
    }

    void cleanupTestCase() { m_root.reset(); }

    // The teacher opens the recording panel, records the screen for a few
    // seconds and stops; the video lands in the recording folder as long as
    // the clock ran. An ffmpeg that another program runs is not touched.
    void screenRecordingFromThePanel()
    {
        // Detached, as a program of someone else's would be: not below this
        // test, which runs from the whiteboard's own folder.
        qint64 other = 0;
        QVERIFY(QProcess::startDetached("ffmpeg", {"-hide_banner", "-loglevel", "quiet", "-nostdin", "-re", "-f",
                                                   "lavfi", "-i", "sine=frequency=220", "-f", "null", "-"},
                                        QString(), &other));
        auto otherRuns = [other] { return ::kill(pid_t(other), 0) == 0 && platform::ProcessExecutableName(other) == "ffmpeg"; };
        struct EndAtExit {
            qint64 pid;
            ~EndAtExit() { ::kill(pid_t(pid), SIGKILL); }
        } endOther{other};
        QTRY_VERIFY(otherRuns());

        QVERIFY(WriteSettings(2, m_recordings));
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, Environment()));
        QVERIFY(board.waitForLine("time Done", 10000) >= 0);
        QVERIFY(otherRuns());

        const QPoint panel = OpenRecordingPanel(board);
        QCOMPARE(panel, kLauncher - QPoint(27, 27));
        const int from = board.lines().size();
        QElapsedTimer sinceClick;
        Click(panel + Centre(RecPanelButtons(), "btnRec"));
        sinceClick.start();
        QVERIFY2(board.waitForLine("Orbel = ", 20000, from) >= 0, qPrintable(board.lines().mid(from).join('\n')));
        const qint64 startMs = sinceClick.elapsed();
        QElapsedTimer clock;
        clock.start();
        qWarning().noquote() << QStringLiteral("record click to a running recording: %1 ms").arg(startMs);
        for (const char* line : {"file path", "tempString", "AddMsec = "})
            QVERIFY2(board.hasLine(line, from), line);

        QVERIFY(RecordedParts(2));
        const QPoint again = OpenRecordingPanel(board);
        Click(again + Centre(RecPanelButtons(), "btnStop"));
        // The clock is read when the whiteboard takes the stop (a busy
        // machine hands it the click late). The recorder had already recorded
        // for a while when it first reported; the whiteboard's clock counts
        // that time too.
        QVERIFY(board.waitForLine("rec_type : 2", 30000, from) >= 0);
        const QStringList offsets = board.lines().mid(from).filter("AddMsec = ");
        QVERIFY(!offsets.isEmpty());
        const double clockSeconds =
            clock.elapsed() / 1000.0 + offsets.first().section("AddMsec = ", 1).trimmed().toDouble() / 1000.0;
        QVERIFY(board.waitForLine("save complete", 30000, from) >= 0);

        const QStringList videos = QDir(m_recordings).entryList({"*.mp4"}, QDir::Files);
        QCOMPARE(videos.size(), 1);
        const double seconds = ProbedSeconds(m_recordings + "/" + videos.first());
        QVERIFY2(qAbs(seconds - clockSeconds) <= 1.5,
                 qPrintable(QStringLiteral("video %1 s, clock %2 s").arg(seconds).arg(clockSeconds)));

        QVERIFY2(otherRuns(), "the other ffmpeg was ended");
        QCOMPARE(CloseWhiteboard(board), 0);
    }

    // A camera recording shows the library's preview in the corner the
    // settings name, clear of the toolbar, and takes it away with the stop.
    void cameraPreviewInItsCorner()
    {
        QVERIFY(WriteSettings(0, m_recordings, 3));
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, Environment()));
        QVERIFY(board.waitForLine("time Done", 10000) >= 0);

        const QPoint panel = OpenRecordingPanel(board);
        const int from = board.lines().size();
        Click(panel + Centre(RecPanelButtons(), "btnRec"));
        QVERIFY2(board.waitForLine("Orbel = ", 20000, from) >= 0, qPrintable(board.lines().mid(from).join('\n')));
        const QRect expected = board::CameraPreviewRect(3, 4, QRect(0, 0, W, H), 1.0f);
        QStringList preview;
        QTRY_VERIFY_WITH_TIMEOUT(!(preview = FindXWindows("^Camera Preview$", board.pid())).isEmpty(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(XWindowGeometry(preview.first()), expected, 5000);

        const QPoint again = OpenRecordingPanel(board);
        Click(again + Centre(RecPanelButtons(), "btnStop"));
        QVERIFY(board.waitForLine("rec_type : 0", 10000, from) >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(FindXWindows("^Camera Preview$", board.pid()).isEmpty(), 5000);
        QVERIFY(board.waitForLine("save complete", 30000, from) >= 0);
        QCOMPARE(CloseWhiteboard(board), 0);
    }

    // Asked each time: the record button brings up the record type dialog;
    // a start the library refuses is reported and leaves nothing running.
    void refusedStartAfterTheTypeDialog()
    {
        QVERIFY(WriteSettings(3, m_recordings));
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, Environment("start")));
        QVERIFY(board.waitForLine("time Done", 10000) >= 0);

        const QPoint panel = OpenRecordingPanel(board);
        const int from = board.lines().size();
        Click(panel + Centre(RecPanelButtons(), "btnRec"));
        const QStringList dialog = WaitForXWindows("^Select Recording Type$|^Rec$", 5000, board.pid());
        QVERIFY(!dialog.isEmpty());
        const QRect area = XWindowGeometry(dialog.first());
        QCOMPARE(area.size(), QSize(481, 139));
        Click(area.topLeft() + QPoint(340, 113));  // OK
        QVERIFY2(board.waitForLine("recording start fail~~", 10000, from) >= 0,
                 qPrintable(board.lines().mid(from).join('\n')));
        QVERIFY(board.hasLine("message box warning: Recording", from));
        // Stopped or not, the exit is not refused.
        QCOMPARE(CloseWhiteboard(board), 0);
    }

    // Two whiteboards of one installation, each of its own account folders
    // and screen, record at once: neither ends the other's recorder, at its
    // start or at its recording's, and both recordings are saved.
    void twoWhiteboardsRecordAtOnce()
    {
        const QByteArray testDisplay = qgetenv("DISPLAY");
        const QString firstFolder = m_root->path() + "/first";
        QVERIFY(QDir().mkpath(firstFolder));
        QVERIFY(WriteSettings(2, firstFolder));
        RunningProgram first;
        QVERIFY(StartWhiteboard(first, {"/noAutoUpdate"}, Environment()));
        QVERIFY(first.waitForLine("time Done", 10000) >= 0);
        QVERIFY(StartRecordingFromPanel(first));
        const QList<qint64> firstRecorder = RecordersOf(first);
        QCOMPARE(firstRecorder.size(), 1);

        OwnDisplay display;
        QVERIFY(display.Start(QStringLiteral("%1x%2x24").arg(W).arg(H)));
        {
            ScopedFolderRoot secondRoot;
            const QString secondFolder = secondRoot.path() + "/recordings";
            QVERIFY(QDir().mkpath(secondFolder));
            QVERIFY(WriteSettings(2, secondFolder));
            RunningProgram second;
            QVERIFY(StartBoardOn(second, display, secondRoot.path()));
            QVERIFY(second.waitForLine("time Done", 10000) >= 0);
            QCOMPARE(RecordersOf(first), firstRecorder);
            QVERIFY(StartRecordingFromPanel(second));
            QCOMPARE(RecordersOf(first), firstRecorder);
            QVERIFY(StopRecordingFromPanel(second));
            QCOMPARE(Files(secondFolder, "*.mp4").size(), 1);
            QCOMPARE(CloseWhiteboard(second), 0);
        }
        qputenv("DISPLAY", testDisplay);
        QCOMPARE(RecordersOf(first), firstRecorder);
        QVERIFY(StopRecordingFromPanel(first));
        QVERIFY(!first.hasLine("Recording complete failed"));
        QCOMPARE(Files(firstFolder, "*.mp4").size(), 1);
        QVERIFY(ProbedSeconds(firstFolder + "/" + Files(firstFolder, "*.mp4").first()) > 1.0);
        QCOMPARE(CloseWhiteboard(first), 0);
    }

    // The recorder dies while the screen is being recorded: the teacher is
    // told at once, and the video up to then is saved and plays.
    void recorderKilledDuringARecording()
    {
        const QString folder = m_root->path() + "/killed";
        RunningProgram board;
        QVERIFY(StartScreenRecordingInto(board, folder));
        const int from = board.lines().size();
        QTRY_VERIFY_WITH_TIMEOUT(!RecordersOf(board).isEmpty(), 5000);
        // Long enough for a few whole parts of the video.
        QVERIFY(RecordedParts(2));
        QCOMPARE(::kill(pid_t(RecordersOf(board).first()), SIGKILL), 0);
        QVERIFY2(board.waitForLine("message box warning: Recording | The recording stopped: ", 10000, from) >= 0,
                 qPrintable(board.lines().mid(from).join('\n')));
        QVERIFY(board.waitForLine("save complete", 30000, from) >= 0);
        const QStringList videos = Files(folder, "*.mp4");
        QCOMPARE(videos.size(), 1);
        const double seconds = ProbedSeconds(folder + "/" + videos.first());
        QVERIFY2(seconds >= 1.5, qPrintable(QString::number(seconds)));
        QCOMPARE(CloseWhiteboard(board), 0);
    }

    // The whiteboard is killed while it records: at the next start the
    // recording moves to the recording folder, marked as recovered, and the
    // teacher is told once; nothing is left in the work folder.
    void recordingOfAKilledWhiteboardIsRecovered()
    {
        const QString folder = m_root->path() + "/recovered";
        {
            RunningProgram board;
            QVERIFY(StartScreenRecordingInto(board, folder));
            QVERIFY(RecordedParts(1));
            board.kill();
        }
        const QString work = m_root->path() + "/Temp/Orbel5";
        QVERIFY2(!Files(work, "*.mp4").isEmpty(), qPrintable(QDir(work).entryList().join(' ')));

        RunningProgram again;
        QVERIFY(StartWhiteboard(again, {"/noAutoUpdate"}, Environment()));
        QVERIFY(again.waitForLine("message box information: Recording | The last recording", 10000) >= 0);
        const QStringList told = again.lines().filter("message box information: Recording | The last recording");
        QCOMPARE(told.size(), 1);
        const QStringList videos = Files(folder, "*_recovered.mp4");
        QCOMPARE(videos.size(), 1);
        QVERIFY(told.first().contains(videos.first()));
        QVERIFY(ProbedSeconds(folder + "/" + videos.first()) >= 1.0);
        QVERIFY(Files(work, "*.mp4").isEmpty());
        QVERIFY(!QFileInfo::exists(work + "/recorder.pid"));
        QCOMPARE(CloseWhiteboard(again), 0);
    }
};

QTEST_MAIN(RecordingProgramXTest)
#include "recording_program_xtest.moc"
