#include "platform/library.h"
#include "platform/processes.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tools/capture_functions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>
#include <QScreen>
#include <QWidget>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

// ffprobe's view of a recorded file: its streams and its length.
struct ProbedFile {
    QList<QJsonObject> streams;
    double duration = 0;
};

ProbedFile Probe(const QString& path)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"), {"-v", "error", "-show_streams", "-show_format", "-of", "json", path});
    ProbedFile probed;
    if (!probe.waitForFinished(20000))
        return probed;
    const QJsonObject root = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    for (const QJsonValue& stream : root.value("streams").toArray())
        probed.streams << stream.toObject();
    probed.duration = root.value("format").toObject().value("duration").toString().toDouble();
    return probed;
}

// The media time in a progress line ("time=00:00:02.50"), or -1.
double ProgressSeconds(const QString& line)
{
    const int at = line.lastIndexOf(QLatin1String("time="));
    if (at <= 0)
        return -1;
    const QStringList parts = line.mid(at + 5, 11).split(':');
    if (parts.size() != 3)
        return -1;
    return parts.at(0).toInt() * 3600 + parts.at(1).toInt() * 60 + parts.at(2).toDouble();
}

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

}  // namespace

// The capture library as the whiteboard uses it: loaded by file name through
// the project's loader, configured, started, polled and stopped. Runs under a
// private X server; the test devices stand in for a camera and a microphone.
class CaptureXTest : public QObject
{
    Q_OBJECT

private:
    QLibrary m_library;
    ConfigSettingFunction configSetting = nullptr;
    StartRecordingFunction startRecording = nullptr;
    StopRecordingFunction stopRecording = nullptr;
    ReadLineDataFunction readLineData = nullptr;
    DeviceSaveFunction deviceSave = nullptr;
    GetDeviceListFunction getDeviceList = nullptr;
    QTemporaryDir m_folder;

    QString screenSize() const
    {
        const QSize size = QGuiApplication::primaryScreen()->size();
        return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    }

    void configure(const QString& file, const QString& camera, const QString& microphone, const QString& size)
    {
        // Medium quality, 15 fps, 128 kbps.
        configSetting(m_folder.path(), file, camera, microphone, size, 0, 1, 2, 1, 1);
    }

    // Polls the progress line as the whiteboard does, every 10 ms, until its
    // media time reaches `seconds`; the time reached, or -1.
    double waitForProgress(double seconds, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        double reached = -1;
        while (clock.elapsed() < timeoutMs) {
            reached = std::max(reached, ProgressSeconds(readLineData()));
            if (reached >= seconds)
                break;
            QTest::qWait(10);
        }
        return reached;
    }

    static QWidget* previewWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowTitle() == QLatin1String(kCameraPreviewTitle) && widget->isVisible())
                return widget;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        qputenv("DRAVIK_CAPTURE_TEST_DEVICES", "1");
        QVERIFY(platform::LoadOutsideLibrary(m_library, QStringLiteral("Vidorra.dll")));
        configSetting = platform::ResolveFunction<ConfigSettingFunction>(m_library, "ConfigSetting");
        startRecording = platform::ResolveFunction<StartRecordingFunction>(m_library, "StartRecording");
        stopRecording = platform::ResolveFunction<StopRecordingFunction>(m_library, "StopRecording");
        readLineData = platform::ResolveFunction<ReadLineDataFunction>(m_library, "ReadLineData");
        deviceSave = platform::ResolveFunction<DeviceSaveFunction>(m_library, "DeviceSave");
        getDeviceList = platform::ResolveFunction<GetDeviceListFunction>(m_library, "GetDeviceList");
        QVERIFY(configSetting && startRecording && stopRecording && readLineData && deviceSave && getDeviceList);
    }

    void cleanup()
    {
        qunsetenv("DRAVIK_CAPTURE_FAIL");
        QVERIFY2(OurRecorders().isEmpty(), "a recorder was left running");
    }

    void screenRecording()
    {
        configure("screen.mp4", "", "none", screenSize());
        QElapsedTimer running;
        running.start();
        QVERIFY(startRecording(2));
        QVERIFY2(waitForProgress(0, 10000) >= 0, qPrintable(readLineData()));
        QVERIFY(waitForProgress(3.0, 30000) >= 3.0);
        QVERIFY(stopRecording());
        // The video is as long as the recorder ran: at least what it had
        // reported, at most the time from the start to the stop. A busy
        // machine reports late, so the report alone does not bound it.
        const double ranSeconds = running.elapsed() / 1000.0;

        const ProbedFile probed = Probe(m_folder.path() + "/screen.mp4");
        QCOMPARE(probed.streams.size(), 1);
        const QJsonObject video = probed.streams.first();
        QCOMPARE(video.value("codec_name").toString(), QString("h264"));
        const QSize screen = QGuiApplication::primaryScreen()->size();
        QCOMPARE(video.value("width").toInt(), screen.width() / 2 * 2);
        QCOMPARE(video.value("height").toInt(), screen.height() / 2 * 2);
        QVERIFY2(probed.duration >= 2.0 && probed.duration <= ranSeconds + 1.0,
                 qPrintable(QStringLiteral("video %1 s, ran %2 s").arg(probed.duration).arg(ranSeconds)));
    }

    void soundRecording()
    {
        configure("sound.mp3", "", "Test Tone", "");
        QVERIFY(startRecording(1));
        QVERIFY(waitForProgress(1.0, 5000) >= 1.0);
        QVERIFY(stopRecording());
        const ProbedFile probed = Probe(m_folder.path() + "/sound.mp3");
        QCOMPARE(probed.streams.size(), 1);
        QCOMPARE(probed.streams.first().value("codec_type").toString(), QString("audio"));
        QCOMPARE(probed.streams.first().value("codec_name").toString(), QString("mp3"));
    }

    // The camera recording shows its preview, fed by the same recorder, while
    // it runs, and takes it away when it stops.
    void cameraRecordingWithPreview()
    {
        configure("camera.mp4", "Test Camera", "Test Tone", "320x240");
        QVERIFY(startRecording(0));
        QTRY_VERIFY_WITH_TIMEOUT(!FindXWindows(QStringLiteral("^Camera Preview$"), QCoreApplication::applicationPid())
                                      .isEmpty(),
                                 5000);
        QWidget* preview = previewWindow();
        QVERIFY(preview);
        QVERIFY(preview->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(preview->windowFlags() & Qt::FramelessWindowHint);
        // The test picture is coloured bars: frames arrived once its middle is
        // no longer the black of an empty preview.
        QTRY_VERIFY_WITH_TIMEOUT(preview->grab().toImage().pixelColor(preview->width() / 2, preview->height() / 2)
                                     != QColor(Qt::black),
                                 5000);
        QVERIFY(waitForProgress(1.5, 5000) >= 1.5);
        QVERIFY(stopRecording());
        QVERIFY(!previewWindow());

        const ProbedFile probed = Probe(m_folder.path() + "/camera.mp4");
        QStringList codecs;
        for (const QJsonObject& stream : probed.streams)
            codecs << stream.value("codec_type").toString() + ":" + stream.value("codec_name").toString();
        codecs.sort();
        QCOMPARE(codecs, QStringList({"audio:aac", "video:h264"}));
    }

    void deviceListFile()
    {
        const QString folder = m_folder.path() + "/devices";
        QVERIFY(QDir().mkpath(folder));
        deviceSave(folder);
        QFile file(folder + "/deviceinfo.log");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const int video = text.indexOf("DirectShow video devices");
        const int camera = text.indexOf("\"Test Camera\"");
        const int audio = text.indexOf("DirectShow audio devices");
        const int tone = text.indexOf("\"Test Tone\"");
        const int end = text.indexOf("dummy: Immediate exit requested");
        QVERIFY2(video >= 0 && video < camera && camera < audio && audio < tone && tone < end, qPrintable(text));
    }

    void startFailures_data()
    {
        QTest::addColumn<QString>("camera");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QByteArray>("failure");
        QTest::addColumn<int>("type");
        QTest::newRow("camera not connected") << "No Such Camera" << "640x480" << QByteArray() << 0;
        // Larger than the screen: ffmpeg gives up as soon as it opens it.
        QTest::newRow("recorder ends at once") << "" << "9000x9000" << QByteArray() << 2;
        QTest::newRow("asked to fail") << "" << QString() << QByteArray("start") << 2;
    }

    void startFailures()
    {
        QFETCH(QString, camera);
        QFETCH(QString, size);
        QFETCH(QByteArray, failure);
        QFETCH(int, type);
        if (!failure.isEmpty())
            qputenv("DRAVIK_CAPTURE_FAIL", failure);
        configure("failed.mp4", camera, "none", size.isNull() ? screenSize() : size);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(startRecording(type), 0);
        // Told by the recorder, not after the start's whole deadline.
        QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(readLineData(), QString());
        QCOMPARE(stopRecording(), 0);
    }

    // A recorder killed in the middle: the stop says the recording did not
    // finish, and the video up to its last whole part still plays.
    void recorderEndedFromOutside()
    {
        configure("killed.mp4", "", "none", screenSize());
        QVERIFY(startRecording(2));
        QVERIFY(waitForProgress(3.5, 15000) >= 3.5);
        const QList<qint64> recorders = OurRecorders();
        QCOMPARE(recorders.size(), 1);
        QCOMPARE(::kill(pid_t(recorders.first()), SIGKILL), 0);
        QTRY_VERIFY_WITH_TIMEOUT(OurRecorders().isEmpty(), 5000);
        QCOMPARE(stopRecording(), 0);
        const ProbedFile probed = Probe(m_folder.path() + "/killed.mp4");
        QCOMPARE(probed.streams.size(), 1);
        QVERIFY2(probed.duration >= 1.5, qPrintable(QString::number(probed.duration)));
    }

    // A recorder that fails only after a while, as ffmpeg does on a loaded
    // machine, is not taken as started, and is not left running.
    void slowlyFailingRecorderIsNotTakenAsStarted()
    {
        QTemporaryDir folder;
        QFile fake(folder.filePath("ffmpeg"));
        QVERIFY(fake.open(QIODevice::WriteOnly));
        QVERIFY(fake.write("#!/bin/sh\nsleep 2\necho 'Cannot open display' >&2\nexit 1\n") > 0);
        fake.close();
        QVERIFY(fake.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        configSetting(folder.path(), "slow.mp4", "", "none", screenSize(), 0, 1, 2, 1, 1);
        QCOMPARE(startRecording(2), 0);
        QCOMPARE(stopRecording(), 0);
    }

    void progressWithheld()
    {
        qputenv("DRAVIK_CAPTURE_FAIL", "progress");
        configure("quiet.mp3", "", "Test Tone", "");
        QVERIFY(startRecording(1));
        // Watched until the recorder has written a second of sound (128 kbps),
        // by which time it would have reported its progress.
        const QString output = m_folder.filePath("quiet.mp3");
        QElapsedTimer clock;
        clock.start();
        while (QFileInfo(output).size() < 16 * 1024) {
            QVERIFY2(clock.elapsed() < 20000, "the recorder wrote no second of sound within 20 s");
            QVERIFY(!readLineData().contains("time="));
            QTest::qWait(10);
        }
        QVERIFY(!readLineData().contains("time="));
        QVERIFY(stopRecording());
    }

    void stopAskedToFail()
    {
        qputenv("DRAVIK_CAPTURE_FAIL", "stop");
        configure("stopfail.mp3", "", "Test Tone", "");
        QVERIFY(startRecording(1));
        QVERIFY(waitForProgress(0, 3000) >= 0);
        QCOMPARE(stopRecording(), 0);
    }

    // The whiteboard itself: the capture library beside it loads; missing, or
    // lacking an operation, it is reported and not used.
    void whiteboardBindsTheLibrary_data()
    {
        QTest::addColumn<QString>("libraryFolder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside the program") << QString() << "exe : Success load Vidorra.dll";
        QTest::newRow("missing") << "empty" << "exe : cannot load Vidorra.dll";
        QTest::newRow("lacking an operation") << BuiltProgramFolder() + "/vidorra_lacking"
                                              << "exe : cannot load Vidorra.dll";
    }

    void whiteboardBindsTheLibrary()
    {
        QFETCH(QString, libraryFolder);
        QFETCH(QString, expected);
        ScopedFolderRoot root;
        QProcessEnvironment environment;
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("DRAVIK_NO_MODAL", "1");
        if (libraryFolder == "empty")
            libraryFolder = root.path();
        if (!libraryFolder.isEmpty())
            environment.insert("DRAVIK_LIBRARY_DIR", libraryFolder);
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, environment));
        QVERIFY(board.hasLine(expected));
        QVERIFY(!board.hasLine(expected.contains("Success") ? "exe : cannot load Vidorra.dll"
                                                            : "exe : Success load Vidorra.dll"));
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_MAIN(CaptureXTest)
#include "capture_xtest.moc"
