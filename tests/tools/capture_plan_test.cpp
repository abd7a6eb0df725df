#include "tests/support/zip_fixture.h"
#include "tools/capture_plan.h"

#include <QtTest>

using tools::CaptureDevice;

namespace {

QStringList Names(const QList<CaptureDevice>& devices)
{
    QStringList names;
    for (const CaptureDevice& device : devices)
        names << device.name;
    return names;
}

QStringList Inputs(const QList<CaptureDevice>& devices)
{
    QStringList inputs;
    for (const CaptureDevice& device : devices)
        inputs << device.input;
    return inputs;
}

// True when `run` appears in `arguments` as consecutive entries.
bool ContainsRun(const QStringList& arguments, const QStringList& run)
{
    for (int i = 0; i + run.size() <= arguments.size(); ++i) {
        if (arguments.mid(i, run.size()) == run)
            return true;
    }
    return false;
}

}  // namespace

class CapturePlanTest : public QObject
{
    Q_OBJECT

private slots:
    void camerasAreListedInNodeOrderWithUniqueNames();
    void pulseSourcesWithoutMonitors();
    void alsaDevicesWithCapture();
    void deviceInfoLogLayout();
    void recordingCommandLines_data();
    void recordingCommandLines();
    void recordingThatCannotBePlanned_data();
    void recordingThatCannotBePlanned();
    void progressLinesSplitAtReturnAndNewline();
};

// Two nodes of one camera carry the same name; each listed name must stand
// for one device, and video10 sorts after video2.
void CapturePlanTest::camerasAreListedInNodeOrderWithUniqueNames()
{
    QTemporaryDir folder;
    QVERIFY(WriteTestFile(folder.path() + "/video10/name", "USB Cam\n"));
    QVERIFY(WriteTestFile(folder.path() + "/video0/name", "HD Webcam\n"));
    QVERIFY(WriteTestFile(folder.path() + "/video1/name", "HD Webcam\n"));
    QVERIFY(WriteTestFile(folder.path() + "/video2/name", "Desk \"Cam\"\n"));
    QVERIFY(WriteTestFile(folder.path() + "/vbi0/name", "Teletext\n"));
    QVERIFY(WriteTestFile(folder.path() + "/video3/name", "\n"));

    QList<CaptureDevice> cameras = tools::CamerasFromVideo4Linux(folder.path());
    QCOMPARE(Inputs(cameras), QStringList({"/dev/video0", "/dev/video1", "/dev/video2", "/dev/video10"}));
    tools::MakeDeviceNamesUnique(cameras);
    QCOMPARE(Names(cameras), QStringList({"HD Webcam (/dev/video0)", "HD Webcam (/dev/video1)", "Desk 'Cam'", "USB Cam"}));
    QVERIFY(tools::CamerasFromVideo4Linux(folder.path() + "/missing").isEmpty());
}

void CapturePlanTest::pulseSourcesWithoutMonitors()
{
    const QString listing = QStringLiteral(
        "Auto-detected sources for pulse:\n"
        "  alsa_output.pci-0000_00_1f.3.analog-stereo.monitor [Monitor of Built-in Audio] (audio)\n"
        "* alsa_input.pci-0000_00_1f.3.analog-stereo [Built-in Audio Analog Stereo] (audio)\n"
        "  bluez_source.headset [Headset]\n"
        "  plain_source\n");
    const QList<CaptureDevice> microphones = tools::MicrophonesFromPulseSources(listing);
    QCOMPARE(Names(microphones), QStringList({"Built-in Audio Analog Stereo", "Headset", "plain_source"}));
    QCOMPARE(Inputs(microphones),
             QStringList({"alsa_input.pci-0000_00_1f.3.analog-stereo", "bluez_source.headset", "plain_source"}));
    QCOMPARE(microphones.first().format, QString("pulse"));
}

void CapturePlanTest::alsaDevicesWithCapture()
{
    const QString pcm = QStringLiteral(
        "00-00: ALC3246 Analog : ALC3246 Analog : playback 1 : capture 1\n"
        "00-03: HDMI 0 : HDMI 0 : playback 1\n"
        "01-00: USB Audio : USB Audio : capture 1\n");
    const QList<CaptureDevice> microphones = tools::MicrophonesFromAlsaPcm(pcm);
    QCOMPARE(Names(microphones), QStringList({"ALC3246 Analog", "USB Audio"}));
    QCOMPARE(Inputs(microphones), QStringList({"plughw:0,0", "plughw:1,0"}));
    QCOMPARE(microphones.first().format, QString("alsa"));
}

// The whiteboard takes cameras between the video and audio headers and
// microphones between the audio header and the closing line, each name from
// between the first two double quotes.
void CapturePlanTest::deviceInfoLogLayout()
{
    const QList<CaptureDevice> cameras{tools::TestCamera(), {"Kamera ü", "v4l2", "/dev/video0"}};
    const QList<CaptureDevice> microphones{tools::TestMicrophone()};
    const QStringList lines = QString::fromUtf8(tools::DeviceInfoLog(cameras, microphones)).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines.at(0).contains("DirectShow video devices"));
    QCOMPARE(lines.at(1).section('"', 1, 1), QString("Test Camera"));
    QCOMPARE(lines.at(2).section('"', 1, 1), QString("Kamera ü"));
    QVERIFY(lines.at(3).contains("DirectShow audio devices"));
    QCOMPARE(lines.at(4).section('"', 1, 1), QString("Test Tone"));
    QCOMPARE(lines.at(5), QString("dummy: Immediate exit requested"));
    QVERIFY(!lines.at(0).contains('"') && !lines.at(3).contains('"'));
}

void CapturePlanTest::recordingCommandLines_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("camera");      // "" none, "test", "v4l2"
    QTest::addColumn<QString>("microphone");  // "" none, "test", "pulse"
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("frameRateIndex");
    QTest::addColumn<int>("bitRateIndex");
    QTest::addColumn<QList<QStringList>>("runs");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<bool>("preview");

    QTest::newRow("screen without sound")
        << 2 << "" << "" << "1280x800" << 3 << 0
        << QList<QStringList>{{"-f", "x11grab", "-video_size", "1280x800", "-framerate", "20", "-i", ":7"},
                              {"-c:v", "libx264"},
                              {"-pix_fmt", "yuv420p"},
                              {"-g", "40", "-movflags", "+frag_keyframe+empty_moov+default_base_moof",
                               "-flush_packets", "1", "file:/work/f/1.mp4"}}
        << QStringList{"-c:a", "pipe:1", "-re"} << false;
    QTest::newRow("screen with a pulse microphone")
        << 2 << "" << "pulse" << "1280x800" << 0 << 4
        << QList<QStringList>{{"-framerate", "5"},
                              {"-f", "pulse", "-i", "alsa_input.mic"},
                              {"-map", "1:a", "-c:a", "aac", "-b:a", "320k"}}
        << QStringList{"pipe:1"} << false;
    QTest::newRow("sound only, bit rate past the list")
        << 1 << "" << "test" << "" << 0 << 9
        << QList<QStringList>{{"-re", "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100"},
                              {"-map", "0:a", "-c:a", "libmp3lame", "-b:a", "320k"},
                              {"file:/work/f/1.mp3"}}
        << QStringList{"-c:v", "x11grab", "pipe:1", "-movflags"} << false;
    QTest::newRow("test camera with tone")
        << 0 << "test" << "test" << "320x240" << -1 << 1
        << QList<QStringList>{{"-re", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=5"},
                              {"-map", "1:a", "-c:a", "aac", "-b:a", "128k"},
                              {"-movflags", "+frag_keyframe+empty_moov+default_base_moof"},
                              {"-f", "rawvideo", "-pix_fmt", "rgb24", "pipe:1"}}
        << QStringList{"x11grab"} << true;
    QTest::newRow("camera at its own size")
        << 0 << "v4l2" << "" << "" << 5 << 0
        << QList<QStringList>{{"-f", "v4l2", "-i", "/dev/video0"}, {"-r", "30"}, {"scale=320:240"}}
        << QStringList{"-video_size", "-c:a"} << true;
}

void CapturePlanTest::recordingCommandLines()
{
    QFETCH(int, type);
    QFETCH(QString, camera);
    QFETCH(QString, microphone);
    QFETCH(QString, size);
    QFETCH(int, frameRateIndex);
    QFETCH(int, bitRateIndex);
    QFETCH(QList<QStringList>, runs);
    QFETCH(QStringList, absent);
    QFETCH(bool, preview);

    const CaptureDevice v4l2Camera{"Cam", "v4l2", "/dev/video0"};
    const CaptureDevice testCamera = tools::TestCamera();
    const CaptureDevice pulseMicrophone{"Mic", "pulse", "alsa_input.mic"};
    const CaptureDevice testMicrophone = tools::TestMicrophone();
    const CaptureDevice* cameraDevice = camera == "test" ? &testCamera : camera == "v4l2" ? &v4l2Camera : nullptr;
    const CaptureDevice* microphoneDevice =
        microphone == "test" ? &testMicrophone : microphone == "pulse" ? &pulseMicrophone : nullptr;

    tools::CaptureSettings settings;
    settings.folder = "/work/f/";
    settings.fileName = type == 1 ? "1.mp3" : "1.mp4";
    settings.size = size;
    settings.videoFrameRate = frameRateIndex;
    settings.audioBitRate = bitRateIndex;
    const tools::CapturePlan plan = tools::PlanRecording(type, settings, cameraDevice, microphoneDevice, ":7");
    QVERIFY2(plan.error.isEmpty(), qPrintable(plan.error));
    QCOMPARE(plan.outputPath, settings.folder.chopped(1) + "/" + settings.fileName);
    QCOMPARE(plan.preview, preview);
    QVERIFY(plan.arguments.contains("-y"));
    for (const QStringList& run : runs)
        QVERIFY2(ContainsRun(plan.arguments, run), qPrintable(run.join(' ') + " in " + plan.arguments.join(' ')));
    for (const QString& word : absent)
        QVERIFY2(!plan.arguments.contains(word), qPrintable(word));
    // The recording is the first output, the preview the second.
    if (preview)
        QVERIFY(plan.arguments.indexOf(QRegularExpression("^file:.*")) < plan.arguments.indexOf("pipe:1"));
}

void CapturePlanTest::recordingThatCannotBePlanned_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("withCamera");
    QTest::addColumn<bool>("withMicrophone");
    QTest::addColumn<QString>("display");
    QTest::newRow("camera type without a camera") << 0 << "/f" << "1.mp4" << false << true << ":0";
    QTest::newRow("sound type without a microphone") << 1 << "/f" << "1.mp3" << false << false << ":0";
    QTest::newRow("screen without a display") << 2 << "/f" << "1.mp4" << false << false << "";
    QTest::newRow("no folder") << 2 << "" << "1.mp4" << false << false << ":0";
    QTest::newRow("no file name") << 2 << "/f" << "sub/" << false << false << ":0";
    QTest::newRow("unknown type") << 3 << "/f" << "1.mp4" << true << true << ":0";
}

void CapturePlanTest::recordingThatCannotBePlanned()
{
    QFETCH(int, type);
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(bool, withCamera);
    QFETCH(bool, withMicrophone);
    QFETCH(QString, display);
    const CaptureDevice camera = tools::TestCamera();
    const CaptureDevice microphone = tools::TestMicrophone();
    tools::CaptureSettings settings;
    settings.folder = folder;
    settings.fileName = fileName;
    const tools::CapturePlan plan = tools::PlanRecording(type, settings, withCamera ? &camera : nullptr,
                                                         withMicrophone ? &microphone : nullptr, display);
    QVERIFY(!plan.error.isEmpty());
    QVERIFY(plan.arguments.isEmpty());
}

void CapturePlanTest::progressLinesSplitAtReturnAndNewline()
{
    tools::ProgressLines lines;
    lines.append("Input #0, x11grab\nframe=    1 time=00:00:0");
    QCOMPARE(lines.latest(), QString("Input #0, x11grab"));
    lines.append("0.10 bitrate=N/A\r");
    QCOMPARE(lines.latest(), QString("frame=    1 time=00:00:00.10 bitrate=N/A"));
    lines.append("\r\n  \r");
    QCOMPARE(lines.latest(), QString("frame=    1 time=00:00:00.10 bitrate=N/A"));
    lines.append("frame=    9 time=00:00:02.50 bitrate=N/A\rframe=   10 time=00:00:02.60 bitrate=N/A\r");
    QCOMPARE(lines.latest(), QString("frame=   10 time=00:00:02.60 bitrate=N/A"));

    // A stream without line ends cannot make it grow without bound, and the
    // lines after it still come through.
    lines.append(QByteArray(200 * 1024, 'x'));
    lines.append("\rnext line\n");
    QCOMPARE(lines.latest(), QString("next line"));
}

QTEST_GUILESS_MAIN(CapturePlanTest)
#include "capture_plan_test.moc"
