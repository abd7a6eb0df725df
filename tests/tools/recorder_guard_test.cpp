#include "platform/processes.h"
#include "tools/recorder_guard.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

using tools::ProcessStamp;
using tools::RecorderRecord;

namespace {

QByteArray Box(const char* type, const QByteArray& payload)
{
    const quint32 size = quint32(8 + payload.size());
    QByteArray box;
    box.append(char(size >> 24)).append(char(size >> 16)).append(char(size >> 8)).append(char(size));
    return box + type + payload;
}

// The layouts of a recorder's MP4: its header (file type and an empty index
// that says fragments follow), then fragments of index and media.
const QByteArray kHeader = Box("ftyp", "isom\0\0\2\0isomiso6") + Box("moov", Box("mvhd", QByteArray(100, '\0')));
const QByteArray kFragment = Box("moof", QByteArray(40, '\1')) + Box("mdat", QByteArray(2000, '\2'));

QByteArray Mp3Frames()
{
    QByteArray frames;
    for (int i = 0; i < 4; ++i)
        frames += QByteArray("\xff\xfb\x90\x64", 4) + QByteArray(413, '\0');
    return frames;
}

bool Write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

// An ffmpeg that is no child of this process, as another copy's recorder is.
qint64 StartStrangerRecorder()
{
    qint64 pid = 0;
    if (!QProcess::startDetached("ffmpeg", {"-hide_banner", "-loglevel", "quiet", "-nostdin", "-re", "-f", "lavfi",
                                            "-i", "sine=frequency=330", "-t", "120", "-f", "null", "-"},
                                 QString(), &pid))
        return 0;
    QElapsedTimer waited;
    waited.start();
    while (platform::ProcessExecutableName(pid) != "ffmpeg" && waited.elapsed() < 10000)
        QThread::msleep(10);
    return platform::ProcessExecutableName(pid) == "ffmpeg" ? pid : 0;
}

// A stamp of a process that has ended.
ProcessStamp EndedProcess()
{
    QProcess done;
    done.start("true", QStringList());
    if (!done.waitForStarted(10000))
        return {999999999, 1};
    const qint64 pid = done.processId();
    done.waitForFinished(10000);
    return {pid, 1};
}

}  // namespace

class RecorderGuardTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;

    void writeRecord(const ProcessStamp& owner, const ProcessStamp& recorder, const QString& name)
    {
        QString error;
        QVERIFY2(tools::WriteRecorderRecord(m_work.path(), {owner, recorder, name}, &error), qPrintable(error));
    }

private slots:
    void init()
    {
        for (const QString& name : QDir(m_work.path()).entryList(QDir::Files | QDir::System | QDir::Hidden))
            QFile::remove(m_work.filePath(name));
    }

    void recordReadsBackOnlyWhole_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("whole") << QByteArray("owner 10 200\nrecorder 11 201\nfile 1700000000000.mp4\n") << true;
        QTest::newRow("name with a folder") << QByteArray("owner 10 200\nrecorder 11 201\nfile ../x.mp4\n") << false;
        QTest::newRow("name that climbs") << QByteArray("owner 10 200\nrecorder 11 201\nfile ..\n") << false;
        QTest::newRow("no name") << QByteArray("owner 10 200\nrecorder 11 201\nfile \n") << false;
        QTest::newRow("no start time") << QByteArray("owner 10\nrecorder 11 201\nfile a.mp4\n") << false;
        QTest::newRow("no process") << QByteArray("owner 0 200\nrecorder 11 201\nfile a.mp4\n") << false;
        QTest::newRow("cut short") << QByteArray("owner 10 200\nrecorder 11") << false;
        QTest::newRow("lines swapped") << QByteArray("recorder 11 201\nowner 10 200\nfile a.mp4\n") << false;
        QTest::newRow("garbage") << QByteArray("\xff\xfe\0\0 owner") << false;
    }

    void recordReadsBackOnlyWhole()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        RecorderRecord record;
        QCOMPARE(tools::ParseRecorderRecord(text, &record), valid);
        if (valid) {
            QCOMPARE(record.owner.pid, 10);
            QCOMPARE(record.recorder.started, 201);
            QCOMPARE(tools::FormatRecorderRecord(record), text);
        }
    }

    // The record is not read through a link: the folder is ours, the link's
    // target may not be.
    void recordIsNotReadThroughALink()
    {
        QTemporaryDir elsewhere;
        QVERIFY(Write(elsewhere.filePath("record"), "owner 10 200\nrecorder 11 201\nfile a.mp4\n"));
        QVERIFY(QFile::link(elsewhere.filePath("record"), m_work.filePath(tools::kRecorderRecordName)));
        RecorderRecord record;
        QVERIFY(!tools::ReadRecorderRecord(m_work.path(), &record));
    }

    // Only this process's recorders and one left by a whiteboard that is gone
    // are ended: the recorder of a copy that still runs, a process whose id
    // the record names but that started at another time, and any other
    // ffmpeg are left alone.
    void endsOnlyOwnRecorders()
    {
        QProcess ours;
        ours.start("ffmpeg", {"-hide_banner", "-loglevel", "quiet", "-nostdin", "-re", "-f", "lavfi", "-i",
                              "sine=frequency=220", "-t", "120", "-f", "null", "-"});
        QVERIFY(ours.waitForStarted(10000));
        const qint64 stranger = StartStrangerRecorder();
        const qint64 left = StartStrangerRecorder();
        QVERIFY(stranger > 0 && left > 0);
        struct EndAtExit {
            QList<qint64> pids;
            ~EndAtExit()
            {
                for (qint64 pid : pids)
                    ::kill(pid_t(pid), SIGKILL);
            }
        } cleanup{{stranger, left}};

        // Another copy that still runs (our parent stands in for it).
        writeRecord(tools::StampOf(getppid()), tools::StampOf(stranger), "1.mp4");
        QCOMPARE(tools::EndOwnRecorders(m_work.path()), QList<qint64>{ours.processId()});
        QVERIFY(ours.waitForFinished(10000));
        QVERIFY(tools::StillRuns(tools::StampOf(stranger)));

        // The id of the recorder, but another start time: not that recorder.
        writeRecord(EndedProcess(), {left, tools::StampOf(left).started + 1}, "1.mp4");
        QVERIFY(tools::EndOwnRecorders(m_work.path()).isEmpty());
        QVERIFY(tools::StillRuns(tools::StampOf(left)));

        // Left by a whiteboard that is gone: ended.
        writeRecord(EndedProcess(), tools::StampOf(left), "1.mp4");
        QCOMPARE(tools::EndOwnRecorders(m_work.path()), QList<qint64>{left});
        QVERIFY(tools::WaitUntilEnded({left}, 10000));
        QVERIFY(tools::StillRuns(tools::StampOf(stranger)));
    }

    void playableRecordings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("playable");
        QTest::newRow("fragments") << "a.mp4" << kHeader + kFragment + kFragment << true;
        QTest::newRow("cut in its second fragment") << "a.mp4" << kHeader + kFragment + kFragment.left(500) << true;
        QTest::newRow("header only") << "a.mp4" << kHeader << false;
        QTest::newRow("cut in its first media block") << "a.mp4" << kHeader + kFragment.left(100) << false;
        QTest::newRow("media without an index") << "a.mp4" << Box("ftyp", "isom") + Box("mdat", "xxxx") << false;
        QTest::newRow("box claiming the world") << "a.mp4" << QByteArray("\xff\xff\xff\xffmoov", 8) << false;
        QTest::newRow("empty") << "a.mp4" << QByteArray() << false;
        QTest::newRow("mp3 frames") << "a.mp3" << Mp3Frames() << true;
        QTest::newRow("mp3 after a tag") << "a.mp3" << QByteArray("ID3\4\0\0\0\0\0\x10", 10) + QByteArray(16, '\0') + Mp3Frames() << true;
        QTest::newRow("mp3 tag only") << "a.mp3" << QByteArray("ID3\4\0\0\0\0\0\x10", 10) + QByteArray(16, '\0') << false;
    }

    void playableRecordings()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(bool, playable);
        QVERIFY(Write(m_work.filePath(name), data));
        QCOMPARE(tools::RecordingHoldsMedia(m_work.filePath(name)), playable);
    }

    // A whiteboard that ended while recording: its playable recording moves
    // to the recording folder under a recovered name, what cannot play goes,
    // and files that are no recordings stay.
    void leftRecordingsOfAnEndedWhiteboard()
    {
        QTemporaryDir recordings;
        QVERIFY(Write(m_work.filePath("1700000000000.mp4"), kHeader + kFragment));
        QVERIFY(Write(m_work.filePath("1700000000001.mp4"), kHeader));
        QVERIFY(Write(m_work.filePath("1700000000002.mp3"), QByteArray()));
        QVERIFY(Write(m_work.filePath("page.png"), "picture"));
        writeRecord(EndedProcess(), EndedProcess(), "1700000000000.mp4");

        const tools::LeftRecordings left = tools::RecoverLeftRecordings(m_work.path(), recordings.path());
        QCOMPARE(left.recovered.size(), 1);
        QVERIFY2(QFileInfo(left.recovered.first()).fileName().endsWith("_recovered.mp4"),
                 qPrintable(left.recovered.first()));
        QCOMPARE(QFileInfo(left.recovered.first()).path(), recordings.path());
        QCOMPARE(QFileInfo(left.recovered.first()).size(), qint64(kHeader.size() + kFragment.size()));
        QCOMPARE(left.removed.size(), 2);
        QVERIFY(left.failures.isEmpty());
        QCOMPARE(QDir(m_work.path()).entryList(QDir::Files), QStringList{"page.png"});

        // Nothing more to do at the next start.
        const tools::LeftRecordings again = tools::RecoverLeftRecordings(m_work.path(), recordings.path());
        QVERIFY(again.recovered.isEmpty() && again.removed.isEmpty());
    }

    // The record names a whiteboard that still runs: its recording is in
    // the making and stays where it is.
    void recordingOfARunningWhiteboardStays()
    {
        QTemporaryDir recordings;
        QVERIFY(Write(m_work.filePath("1700000000000.mp4"), kHeader + kFragment));
        writeRecord(tools::StampOf(getppid()), EndedProcess(), "1700000000000.mp4");
        const tools::LeftRecordings left = tools::RecoverLeftRecordings(m_work.path(), recordings.path());
        QVERIFY(left.recovered.isEmpty() && left.removed.isEmpty());
        QVERIFY(QFileInfo::exists(m_work.filePath("1700000000000.mp4")));
        QVERIFY(QFileInfo::exists(m_work.filePath(tools::kRecorderRecordName)));
    }
};

QTEST_GUILESS_MAIN(RecorderGuardTest)
#include "recorder_guard_test.moc"
