#pragma once

// What our capture library does without running anything: which devices the
// machine offers, how "deviceinfo.log" lists them, which ffmpeg command line
// records a given setting, and how ffmpeg's progress output becomes lines.
// The library itself (outside/Vidorra) only runs ffmpeg with these.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tools {

// One recording device as listed to the user, and how ffmpeg opens it:
// "-f <format> -i <input>". Synthetic test devices use format "lavfi" with the
// source's name ("testsrc", "sine") as input; the recording plan completes it.
struct CaptureDevice {
    QString name;
    QString format;
    QString input;
};

// The names of the test devices listed first when DRAVIK_CAPTURE_TEST_DEVICES
// is set, and the devices themselves.
extern const char* const kTestCameraName;      // "Test Camera"
extern const char* const kTestMicrophoneName;  // "Test Tone"
CaptureDevice TestCamera();
CaptureDevice TestMicrophone();

// Cameras from the video4linux class folder (normally /sys/class/video4linux):
// each "<node>/name" file names the camera of /dev/<node>, in node order.
QList<CaptureDevice> CamerasFromVideo4Linux(const QString& classFolder);

// Microphones from the output of "ffmpeg -sources pulse": every source but the
// monitors of outputs, by description (its name when it has none).
QList<CaptureDevice> MicrophonesFromPulseSources(const QString& listing);

// Microphones from the text of /proc/asound/pcm: every device with a capture
// stream, opened as "plughw:<card>,<device>" so ffmpeg gets the format it asks.
QList<CaptureDevice> MicrophonesFromAlsaPcm(const QString& pcmText);

// A name listed twice becomes "<name> (<input>)" at each of its entries, so
// every listed name stands for one device. Names must also stay free of double
// quotes, which delimit them in "deviceinfo.log".
void MakeDeviceNamesUnique(QList<CaptureDevice>& devices);

// "deviceinfo.log" as the whiteboard reads it: the video header, one quoted
// line per camera, the audio header, one quoted line per microphone and the
// closing line. UTF-8.
QByteArray DeviceInfoLog(const QList<CaptureDevice>& cameras, const QList<CaptureDevice>& microphones);

// The ten values of ConfigSetting, kept for the next start.
struct CaptureSettings {
    QString folder;
    QString fileName;
    QString camera;
    QString microphone;
    QString size;  // "WxH" or empty
    int mode = 0;
    int videoQuality = 0;
    int videoFrameRate = 0;
    int audioQuality = 0;
    int audioBitRate = 0;
};

// The settings dialog's lists: frame rates 5 to 30 fps and bit rates 96 to
// 320 kbps by index; an index outside the list takes the nearest end.
int FrameRateForIndex(int index);
int AudioBitRateForIndex(int index);

// Size of the raw frames the camera recording sends up its standard output
// for the preview window: rgb24, this many pixels.
constexpr int kPreviewFrameWidth = 320;
constexpr int kPreviewFrameHeight = 240;
constexpr int kPreviewFrameBytes = kPreviewFrameWidth * kPreviewFrameHeight * 3;

struct CapturePlan {
    QStringList arguments;  // for ffmpeg, without the program
    QString outputPath;     // folder + "/" + file name
    bool preview = false;   // raw preview frames come on standard output
    QString error;          // set when nothing can be recorded; arguments are then empty
};

// The ffmpeg command line for record type 0 (camera), 1 (sound) or 2
// (screen). `camera` and `microphone` are the devices the settings name, or
// null (no camera; no sound). `display` is the X display the screen is grabbed
// from.
CapturePlan PlanRecording(int type, const CaptureSettings& settings, const CaptureDevice* camera,
                          const CaptureDevice* microphone, const QString& display);

// A microphone name that means "record no sound".
bool IsNoMicrophone(const QString& name);

// ffmpeg's standard error as it arrives, split at "\r" and "\n" (its progress
// line is rewritten in place with "\r"). Keeps the latest complete line.
class ProgressLines
{
public:
    void append(const QByteArray& data);
    QString latest() const { return m_latest; }

private:
    QByteArray m_partial;
    QString m_latest;
};

}  // namespace tools
