#include "board/board_model.h"
#include "board/event_kind.h"
#include "storage/settings_file.h"
#include "tools/capture_plan.h"
#include "tools/recording.h"

#include <QtTest>

using tools::CaptureSettings;


namespace {

// A listing in the form the capture library writes it, with the lines a
// DirectShow listing carries besides the names.
const char kFullListing[] =
    "[dshow @ 0x1] DirectShow video devices (some may be both video and audio devices)\n"
    "[dshow @ 0x1]  \"HD Webcam\"\n"
    "[dshow @ 0x1]     Alternative name \"@device_pnp_\\\\?\\usb#vid\"\n"
    "[dshow @ 0x1]  \"screen-capture-recorder\"\n"
    "[dshow @ 0x1]  \"USB Cam\"\n"
    "[dshow @ 0x1] DirectShow audio devices\n"
    "[dshow @ 0x1]  \"Microphone (Realtek)\"\n"
    "[dshow @ 0x1]     Alternative name \"@device_cm_{33D9A762}\"\n"
    "[dshow @ 0x1]  \"Line In\"\n"
    "dummy: Immediate exit requested\n"
    "[dshow @ 0x1]  \"After the end\"\n";

ConfigInfomation RecordConfig(int videoRatio)
{
    ConfigInfomation config;
    config.VideoRatio = videoRatio;
    config.VideoQuality = 1;
    config.VideoFrameRate = 2;
    config.AudioQuality = 3;
    config.AudioBitRate = 4;
    config.ScreenQuality = 5;
    config.ScreenFrameRate = 6;
    return config;
}

}  // namespace

class RecordingTest : public QObject
{
    Q_OBJECT

private slots:
    void deviceListing_data();
    void deviceListing();
    void recorderSettings_data();
    void recorderSettings();
    void progressTime_data();
    void progressTime();
    void clockMovedBackByTheRecordersOffset();
    void timelineBeforeARecording();
};

void RecordingTest::deviceListing_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QStringList>("cameras");
    QTest::addColumn<QStringList>("microphones");

    QTest::newRow("both sections, skipped lines and the end")
        << QByteArray(kFullListing) << QStringList{"HD Webcam", "USB Cam"}
        << QStringList{"Microphone (Realtek)", "Line In"};
    QTest::newRow("without the camera header no microphones either")
        << QByteArray("[dshow] DirectShow audio devices\n[dshow]  \"Line In\"\n") << QStringList() << QStringList();
    QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("as our library writes it")
        << tools::DeviceInfoLog({tools::TestCamera()}, {tools::TestMicrophone()}) << QStringList{"Test Camera"}
        << QStringList{"Test Tone"};
    QTest::newRow("windows line ends, unquoted lines")
        << QByteArray("DirectShow video devices\r\n no name here\r\n \"Cam\"\r\nDirectShow audio devices\r\n"
                      " \"Mic\"\r\n")
        << QStringList{"Cam"} << QStringList{"Mic"};
}

void RecordingTest::deviceListing()
{
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, cameras);
    QFETCH(QStringList, microphones);
    const tools::DeviceLists lists = tools::ParseDeviceInfo(listing);
    QCOMPARE(lists.cameras, cameras);
    QCOMPARE(lists.microphones, microphones);
}

void RecordingTest::recorderSettings_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("videoRatio");
    QTest::addColumn<QString>("microphone");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("passedMicrophone");
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("qualities");

    const QList<int> video{1, 2, 3, 4};
    QTest::newRow("camera 320x240") << 0 << 0 << "Mic" << "1700.mp4" << "Cam" << "Mic" << "320x240" << 3 << video;
    QTest::newRow("camera 640x480") << 0 << 1 << "Mic" << "1700.mp4" << "Cam" << "Mic" << "640x480" << 3 << video;
    QTest::newRow("camera 1280x720") << 0 << 2 << "Mic" << "1700.mp4" << "Cam" << "Mic" << "1280x720" << 0 << video;
    QTest::newRow("camera 1920x1080") << 0 << 3 << "Mic" << "1700.mp4" << "Cam" << "Mic" << "1920x1080" << 0
                                      << video;
    QTest::newRow("camera, unknown ratio") << 0 << 4 << "Mic" << "1700.mp4" << "Cam" << "Mic" << "" << 3 << video;
    QTest::newRow("sound") << 1 << 3 << "Mic" << "1700.mp3" << "" << "Mic" << "" << 0 << QList<int>{0, 0, 3, 4};
    QTest::newRow("screen") << 2 << 0 << "Mic" << "1700.mp4" << "" << "Mic" << "1920x1080" << 2
                            << QList<int>{5, 6, 3, 4};
    QTest::newRow("screen without a microphone") << 2 << 0 << "" << "1700.mp4" << "" << "none" << "1920x1080" << 2
                                                 << QList<int>{5, 6, 3, 4};
}

void RecordingTest::recorderSettings()
{
    QFETCH(int, type);
    QFETCH(int, videoRatio);
    QFETCH(QString, microphone);

    tools::RecordingRequest request;
    request.type = type;
    request.workFolder = "/tmp/work/Orbel5/";
    request.recordName = "1700";
    request.camera = "Cam";
    request.microphone = microphone;
    request.screenWidth = 1920;
    request.screenHeight = 1080;
    const CaptureSettings settings = tools::RecorderSettings(request, RecordConfig(videoRatio));

    QCOMPARE(settings.folder, QString("/tmp/work/Orbel5"));
    QTEST(settings.fileName, "fileName");
    QTEST(settings.camera, "camera");
    QTEST(settings.microphone, "passedMicrophone");
    QTEST(settings.size, "size");
    QTEST(settings.mode, "mode");
    QTEST((QList<int>{settings.videoQuality, settings.videoFrameRate, settings.audioQuality, settings.audioBitRate}),
          "qualities");
}

void RecordingTest::progressTime_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("hit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("offsetMs");

    QTest::newRow("progress line") << "frame=   30 fps= 15 q=29.0 size=  256kB time=00:00:02.50 bitrate= 838.9kbits/s"
                                   << true << "00:00:02.50" << qint64(2500);
    QTest::newRow("time= at the very start") << "time=00:00:02.50 bitrate=1" << false << "" << qint64(0);
    QTest::newRow("the last time= counts") << "a time=00:00:01.00 b time=00:00:07.25 c" << true << "00:00:07.25"
                                           << qint64(7250);
    QTest::newRow("no time") << "Press [q] to stop" << false << "" << qint64(0);
    QTest::newRow("time not yet known") << "size=0kB time=N/A bitrate=N/A" << true << "N/A bitrate" << qint64(0);
    QTest::newRow("short line") << "x time=00:00:0" << true << "00:00:0" << qint64(0);
    QTest::newRow("case matters") << "x TIME=00:00:02.50" << false << "" << qint64(0);
}

void RecordingTest::progressTime()
{
    QFETCH(QString, line);
    QString text;
    QTEST(tools::FindProgressTime(line, &text), "hit");
    QTEST(text, "text");
    QTEST(tools::ProgressOffsetMs(text), "offsetMs");
}

// "00:00:02.50" starts the clock 2500 ms in the past: its first reading is
// at least 2500 and well under a second more.
void RecordingTest::clockMovedBackByTheRecordersOffset()
{
    tools::RecordingClock clock;
    QVERIFY(!clock.isValid());
    QCOMPARE(clock.elapsed(), qint64(0));
    clock.start();
    clock.moveBack(tools::ProgressOffsetMs("00:00:02.50"));
    const qint64 first = clock.elapsed();
    QVERIFY2(first >= 2500 && first < 3500, qPrintable(QString::number(first)));
    clock.start();
    QVERIFY(clock.elapsed() < 1000);
}

void RecordingTest::timelineBeforeARecording()
{
    BoardModel board;
    PointerSlotState& slot = board.slot[3];
    EventDetail kept;
    kept.EventID = 1;
    kept.M = QPointF(10, 20);
    kept.C = QPointF(30, 40);
    kept.BoundRF = QRect(5, 6, 7, 8);
    kept.Angle = 30.f;
    kept.PageDeleted = 1;
    kept.Modified = 1;
    EventDetail gone = kept;
    gone.EventID = 2;
    gone.Deleted = 1;
    slot.records.appendDetail(kept);
    slot.records.appendDetail(gone);
    for (quint16 id : {1, 2}) {
        EventMaster em;
        em.EventID = id;
        em.MediaPos = 1234.0;
        slot.records.appendMaster(em);
        FreePenPoint sample;
        sample.EventID = id;
        sample.MediaPos = 1234.0;
        sample.S = QPointF(1, 1);
        sample.M = QPointF(9, 9);
        slot.allPoints << sample;
    }
    slot.erasePoints << ErasePoint();
    slot.modifyPoints << ModifyPoint();

    tools::PrepareRecordingTimeline(board);

    QCOMPARE(slot.records.findMaster(1)->MediaPos, -1.0);
    QCOMPARE(slot.records.findMaster(2)->MediaPos, -2.0);
    QCOMPARE(slot.allPoints[0].MediaPos, -1.0);
    QCOMPARE(slot.allPoints[1].MediaPos, -2.0);
    QCOMPARE(slot.allPoints[0].S, QPointF(9, 9));
    const EventDetail* ed = slot.records.findDetail(1);
    QCOMPARE(QPointF(ed->AltSX, ed->AltSY), QPointF(10, 20));
    QCOMPARE(QPointF(ed->AltEX, ed->AltEY), QPointF(30, 40));
    QCOMPARE(ed->AltRect, QRect(5, 6, 7, 8));
    QCOMPARE(ed->ExportAngle, 30);
    QCOMPARE(int(ed->PageDeleted), 0);
    QCOMPARE(int(ed->Modified), 0);
    QVERIFY(slot.records.findDetail(2)->Deleted);
    QVERIFY(slot.erasePoints.isEmpty());
    QVERIFY(slot.modifyPoints.isEmpty());
}

QTEST_GUILESS_MAIN(RecordingTest)
#include "recording_test.moc"
