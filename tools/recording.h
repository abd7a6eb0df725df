#pragma once

// What the recording controls compute without a window: the device lists of
// "deviceinfo.log", the recorder's settings per record type, the first
// progress line's time, the recording clock and the reset of the board's
// timeline before a recording.

#include "tools/capture_plan.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

struct BoardModel;
struct ConfigInfomation;

namespace tools {

// The device names of "deviceinfo.log" (UTF-8): the quoted names after the
// video header are cameras, those after the audio header microphones. The
// audio header counts only inside the camera section, so a listing without
// the video header gives no microphones either. "Alternative name" lines are
// skipped in both sections, "screen-capture-recorder" among the cameras, and
// "dummy: Immediate exit requested" ends the microphones.
struct DeviceLists {
    QStringList cameras;
    QStringList microphones;
};
DeviceLists ParseDeviceInfo(const QByteArray& utf8);

// The size a camera recording asks for by the VideoRatio setting: 0
// "320x240", 1 "640x480", 2 "1280x720", 3 "1920x1080", anything else empty.
QString VideoSizeForRatio(int ratio);

// The ten values handed to the capture library before a start of record type
// `type` (0 camera, 1 sound, 2 screen). `workFolder` may end in a separator,
// which the library's folder does not carry.
struct RecordingRequest {
    int type = 0;
    QString workFolder;
    QString recordName;  // the output's base name
    QString camera;
    QString microphone;
    int screenWidth = 0;
    int screenHeight = 0;
};
CaptureSettings RecorderSettings(const RecordingRequest& request, const ConfigInfomation& config);

// The eleven characters after the last "time=" of a progress line, when that
// "time=" does not stand at the very start of the line; else false.
bool FindProgressTime(const QString& line, QString* progressText);

// The seconds and their fraction of a progress time "hh:mm:ss.xx", in whole
// milliseconds ("00:00:02.50" gives 2500); 0 when they cannot be read.
qint64 ProgressOffsetMs(const QString& progressText);

// The recording clock: milliseconds since the recorder began writing. It is
// monotonic, so a change of the wall clock during a lesson does not move the
// media positions of the board's records.
class RecordingClock
{
public:
    void start() { m_timer.start(); m_offsetMs = 0; }
    // The recorder was already `ms` into its file when the clock started.
    void moveBack(qint64 ms) { m_offsetMs += ms; }
    void invalidate() { m_timer.invalidate(); m_offsetMs = 0; }
    bool isValid() const { return m_timer.isValid(); }
    qint64 elapsed() const { return m_timer.isValid() ? m_timer.elapsed() + m_offsetMs : 0; }

private:
    QElapsedTimer m_timer;
    qint64 m_offsetMs = 0;
};

// Makes what the board holds before a recording the recording's starting
// state: every detail keeps its geometry as the alternative one and loses its
// delete-companion and modified flags; objects and stroke samples stand at
// -1.0 (there from the start), deleted ones at -2.0 (left out of the export);
// erase and edit records go, and each sample's start point takes its current
// point.
void PrepareRecordingTimeline(BoardModel& board);

}  // namespace tools
