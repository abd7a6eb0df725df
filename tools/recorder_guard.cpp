#include "tools/recorder_guard.h"

#include "platform/processes.h"
#include "storage/contents_package.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>

#include <algorithm>

#include <unistd.h>

namespace tools {

const char* const kRecorderRecordName = "recorder.pid";

namespace {

// A record is three short lines; anything longer is not one.
constexpr qint64 kMaxRecordBytes = 4096;
// The work folder holds a few hundred files at most; a folder with far more
// is not read to its end at a start.
constexpr int kMaxLeftFiles = 4096;
// An MP4 is walked box by box; a file with more top-level boxes than this is
// not one of ours.
constexpr int kMaxBoxes = 1 << 20;

const QString kRecorderProgram = QStringLiteral("ffmpeg");

QString RecordPath(const QString& workFolder)
{
    return QDir(workFolder).filePath(QLatin1String(kRecorderRecordName));
}

bool IsRecorder(qint64 pid)
{
    return platform::ProcessExecutableName(pid) == kRecorderProgram
           && platform::ProcessUserId(pid) == static_cast<qint64>(getuid());
}

bool ParseStamp(const QByteArray& line, const QByteArray& key, ProcessStamp* stamp)
{
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || parts[0] != key)
        return false;
    bool pidOk = false;
    bool startOk = false;
    stamp->pid = parts[1].toLongLong(&pidOk);
    stamp->started = parts[2].toLongLong(&startOk);
    return pidOk && startOk && stamp->pid > 0 && stamp->started >= 0;
}

// A recording of ours is named by the milliseconds of its start.
bool IsRecordingName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,19}\\.(mp4|mp3)$"));
    return pattern.match(name).hasMatch();
}

bool Mp4HoldsMedia(QFile& file)
{
    const qint64 size = file.size();
    qint64 offset = 0;
    bool header = false;
    bool media = false;
    for (int boxes = 0; boxes < kMaxBoxes && offset + 8 <= size; ++boxes) {
        if (!file.seek(offset))
            return false;
        const QByteArray head = file.read(16);
        if (head.size() < 8)
            return false;
        const auto byte = [&head](int i) { return quint64(quint8(head[i])); };
        quint64 boxSize = (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
        const QByteArray type = head.mid(4, 4);
        qint64 headerSize = 8;
        if (boxSize == 1) {
            if (head.size() < 16)
                return false;
            boxSize = 0;
            for (int i = 8; i < 16; ++i)
                boxSize = (boxSize << 8) | byte(i);
            headerSize = 16;
        } else if (boxSize == 0) {
            boxSize = quint64(size - offset);  // runs to the end of the file
        }
        if (boxSize < quint64(headerSize) || boxSize > quint64(size - offset))
            break;  // cut off here: what came before still counts
        if (type == "moov")
            header = true;
        else if (type == "mdat" && boxSize > quint64(headerSize))
            media = true;
        offset += qint64(boxSize);
    }
    return header && media;
}

bool Mp3HoldsMedia(QFile& file)
{
    QByteArray start = file.read(64 * 1024);
    if (start.startsWith("ID3") && start.size() >= 10) {
        // The tag's size is four 7-bit bytes.
        const auto byte = [&start](int i) { return int(quint8(start[i]) & 0x7f); };
        const qint64 tag = 10 + ((byte(6) << 21) | (byte(7) << 14) | (byte(8) << 7) | byte(9));
        if (!file.seek(tag))
            return false;
        start = file.read(64 * 1024);
    }
    for (int i = 0; i + 1 < start.size(); ++i) {
        if (quint8(start[i]) == 0xff && (quint8(start[i + 1]) & 0xe0) == 0xe0)
            return true;
    }
    return false;
}

QString RecoveredName(const QString& folder, const QFileInfo& left)
{
    bool ok = false;
    const qint64 ms = left.completeBaseName().toLongLong(&ok);
    const QDateTime when = ok ? QDateTime::fromMSecsSinceEpoch(ms) : left.lastModified();
    const QString base = when.toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral("_recovered");
    const QString suffix = QLatin1Char('.') + left.suffix();
    QString path = folder + QLatin1Char('/') + base + suffix;
    for (int n = 2; n < 1000 && (QFileInfo::exists(path) || QFileInfo(path).isSymLink()); ++n)
        path = folder + QLatin1Char('/') + base + QLatin1Char('_') + QString::number(n) + suffix;
    return path;
}

}  // namespace

ProcessStamp StampOf(qint64 pid)
{
    return {pid, platform::ProcessStartTime(pid)};
}

bool StillRuns(const ProcessStamp& stamp)
{
    return stamp.pid > 0 && stamp.started >= 0 && platform::ProcessRuns(stamp.pid)
           && platform::ProcessStartTime(stamp.pid) == stamp.started;
}

QByteArray FormatRecorderRecord(const RecorderRecord& record)
{
    return QStringLiteral("owner %1 %2\nrecorder %3 %4\nfile %5\n")
        .arg(record.owner.pid)
        .arg(record.owner.started)
        .arg(record.recorder.pid)
        .arg(record.recorder.started)
        .arg(record.recordingName)
        .toUtf8();
}

bool ParseRecorderRecord(const QByteArray& text, RecorderRecord* record)
{
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 3)
        return false;
    RecorderRecord parsed;
    if (!ParseStamp(lines[0], "owner", &parsed.owner) || !ParseStamp(lines[1], "recorder", &parsed.recorder)
        || !lines[2].startsWith("file "))
        return false;
    const QString name = QString::fromUtf8(lines[2].mid(5));
    // The record names a file of the work folder, nothing outside it.
    if (name.isEmpty() || name != QFileInfo(name).fileName() || name == QLatin1String("..")
        || name == QLatin1String("."))
        return false;
    parsed.recordingName = name;
    *record = parsed;
    return true;
}

bool WriteRecorderRecord(const QString& workFolder, const RecorderRecord& record, QString* error)
{
    QSaveFile file(RecordPath(workFolder));
    const QByteArray text = FormatRecorderRecord(record);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool ReadRecorderRecord(const QString& workFolder, RecorderRecord* record)
{
    const QString path = RecordPath(workFolder);
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() > kMaxRecordBytes)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ParseRecorderRecord(file.read(kMaxRecordBytes), record);
}

void RemoveRecorderRecord(const QString& workFolder)
{
    const QString path = RecordPath(workFolder);
    if ((QFileInfo(path).isFile() || QFileInfo(path).isSymLink()) && !QFile::remove(path))
        qDebug().noquote() << QStringLiteral("recording : cannot remove %1").arg(path);
}

QList<qint64> RecordersStartedHere()
{
    QList<QPair<qint64, qint64>> found;  // start time, id
    const qint64 self = getpid();
    for (qint64 pid : platform::ProcessIds()) {
        if (platform::ParentProcessId(pid) == self && IsRecorder(pid) && platform::ProcessRuns(pid))
            found.append({platform::ProcessStartTime(pid), pid});
    }
    std::sort(found.begin(), found.end());
    QList<qint64> ids;
    for (const auto& entry : found)
        ids << entry.second;
    return ids;
}

QList<qint64> EndOwnRecorders(const QString& workFolder)
{
    QList<qint64> ended;
    for (qint64 pid : RecordersStartedHere()) {
        if (platform::TerminateProcess(pid))
            ended << pid;
    }
    RecorderRecord record;
    if (!workFolder.isEmpty() && ReadRecorderRecord(workFolder, &record)) {
        const bool ownerGone = record.owner.pid == getpid() || !StillRuns(record.owner);
        if (ownerGone && !ended.contains(record.recorder.pid) && StillRuns(record.recorder)
            && IsRecorder(record.recorder.pid) && platform::TerminateProcess(record.recorder.pid))
            ended << record.recorder.pid;
    }
    for (qint64 pid : ended)
        qDebug().noquote() << QStringLiteral("recording : ended our recorder %1").arg(pid);
    return ended;
}

bool WaitUntilEnded(const QList<qint64>& pids, int deadlineMs)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        bool running = false;
        for (qint64 pid : pids)
            running = running || platform::ProcessRuns(pid);
        if (!running)
            return true;
        if (waited.elapsed() >= deadlineMs) {
            qDebug().noquote() << QStringLiteral("recording : a recorder still ran after %1 ms").arg(deadlineMs);
            return false;
        }
        QThread::msleep(10);
    }
}

QString RecorderEndReason(const QString& lastLine)
{
    const QString line = lastLine.trimmed();
    // A progress line says only how far it got, not why it stopped.
    if (line.isEmpty() || line.contains(QLatin1String("time=")))
        return QStringLiteral("the recorder program ended unexpectedly");
    return line.left(300);
}

bool RecordingHoldsMedia(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() == 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (info.suffix().compare(QLatin1String("mp4"), Qt::CaseInsensitive) == 0)
        return Mp4HoldsMedia(file);
    if (info.suffix().compare(QLatin1String("mp3"), Qt::CaseInsensitive) == 0)
        return Mp3HoldsMedia(file);
    return false;
}

LeftRecordings RecoverLeftRecordings(const QString& workFolder, const QString& recordingSetting)
{
    LeftRecordings left;
    if (workFolder.isEmpty())
        return left;
    RecorderRecord record;
    const bool recorded = ReadRecorderRecord(workFolder, &record);
    if (recorded && record.owner.pid != getpid() && StillRuns(record.owner))
        return left;
    const QString running = recorded && StillRuns(record.recorder) ? record.recordingName : QString();

    const QFileInfoList entries =
        QDir(workFolder).entryInfoList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    int seen = 0;
    for (const QFileInfo& entry : entries) {
        if (++seen > kMaxLeftFiles)
            break;
        if (!IsRecordingName(entry.fileName()) || entry.fileName() == running)
            continue;
        if (!entry.isSymLink() && RecordingHoldsMedia(entry.filePath())) {
            const QString target = RecoveredName(storage::RecordingFolder(recordingSetting), entry);
            if (storage::MoveFileTo(entry.filePath(), target))
                left.recovered << target;
            else
                left.failures << QStringLiteral("%1 could not be moved to %2").arg(entry.filePath(), target);
        } else if (QFile::remove(entry.filePath())) {
            left.removed << entry.filePath();
        } else {
            left.failures << QStringLiteral("%1 could not be removed").arg(entry.filePath());
        }
    }
    if (recorded && running.isEmpty())
        RemoveRecorderRecord(workFolder);
    return left;
}

}  // namespace tools
