#pragma once

// Which recorders (ffmpeg) this copy of the whiteboard may end, how a running
// recorder is watched, and what becomes of a recording whose whiteboard
// ended without stopping it.
//
// While a recording runs, the work folder holds "recorder.pid": the process
// of the whiteboard and that of its recorder, each as id and start time, and
// the file the recorder writes. A copy ends only recorders it started and
// the one that file names, when it still is that recorder and the copy that
// started it is gone; another copy's recorder, another account's or an
// unrelated ffmpeg is left alone.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tools {

extern const char* const kRecorderRecordName;  // "recorder.pid"

// One process: an id and the start time that goes with it, so that an id the
// system gave to another process since does not pass for it.
struct ProcessStamp {
    qint64 pid = 0;
    qint64 started = -1;
};

// The process as it runs now (started -1 when it does not).
ProcessStamp StampOf(qint64 pid);
// True while the very process of the stamp runs.
bool StillRuns(const ProcessStamp& stamp);

struct RecorderRecord {
    ProcessStamp owner;     // the whiteboard that started the recorder
    ProcessStamp recorder;  // the recorder
    QString recordingName;  // bare name of the file it writes in the work folder
};

QByteArray FormatRecorderRecord(const RecorderRecord& record);
// False for anything that is not a whole record; the name is reduced to a
// bare file name.
bool ParseRecorderRecord(const QByteArray& text, RecorderRecord* record);

// The record in the work folder: written whole or not at all; read only from
// a regular file, never through a link.
bool WriteRecorderRecord(const QString& workFolder, const RecorderRecord& record, QString* error);
bool ReadRecorderRecord(const QString& workFolder, RecorderRecord* record);
void RemoveRecorderRecord(const QString& workFolder);

// Recorders this process started that still run, newest last.
QList<qint64> RecordersStartedHere();

// Ends the recorders this process started and the one the work folder's
// record names when that still is the recorder and the whiteboard that
// started it is this one or is gone. Returns the ids ended.
QList<qint64> EndOwnRecorders(const QString& workFolder);

// Waits until none of the processes runs, at most `deadlineMs`. False when
// one still ran at the deadline.
bool WaitUntilEnded(const QList<qint64>& pids, int deadlineMs);

// The text shown when a recorder ended by itself, from its last output line.
QString RecorderEndReason(const QString& lastLine);

// True when the recording file holds something a player can play: an MP4 with
// its header and at least one complete media block, or an MP3 with an audio
// frame. A header alone, a file cut before its header or an empty file does
// not count.
bool RecordingHoldsMedia(const QString& path);

struct LeftRecordings {
    QStringList recovered;  // where the playable ones went
    QStringList removed;    // empty or unreadable files removed
    QStringList failures;   // what could not be moved or removed, and why
};

// Recordings a whiteboard of this account left in the work folder when it
// ended without stopping them: each playable one moves into the recording
// folder (the Record/Path setting, see storage::RecordingFolder) under a name
// marked as recovered, the rest is removed. Nothing is touched while the
// whiteboard named in the record still runs elsewhere, nor the file of a
// recorder that still runs.
LeftRecordings RecoverLeftRecordings(const QString& workFolder, const QString& recordingSetting);

}  // namespace tools
