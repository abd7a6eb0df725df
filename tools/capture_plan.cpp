#include "tools/capture_plan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace tools {

const char* const kTestCameraName = "Test Camera";
const char* const kTestMicrophoneName = "Test Tone";

namespace {

// A sysfs name file is one short line; anything longer is not a name.
constexpr qint64 kMaxNameFileBytes = 256;
// ffmpeg's progress lines are short; a "line" without an end past this is
// dropped rather than kept growing.
constexpr int kMaxPartialLineBytes = 64 * 1024;

int NodeNumber(const QString& node)
{
    bool ok = false;
    const int number = node.mid(5).toInt(&ok);
    return ok ? number : -1;
}

QString CleanName(QString name)
{
    name.replace(QLatin1Char('"'), QLatin1Char('\''));
    name.replace(QLatin1Char('\r'), QLatin1Char(' '));
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return name.trimmed();
}

int ClampIndex(int index, int count)
{
    return std::clamp(index, 0, count - 1);
}

// Low, Medium and High quality.
int VideoCrfForQuality(int quality)
{
    static const int crf[] = {30, 25, 20};
    return crf[ClampIndex(quality, 3)];
}

int Mp3CompressionForQuality(int quality)
{
    static const int level[] = {7, 5, 2};
    return level[ClampIndex(quality, 3)];
}

QStringList DeviceInput(const CaptureDevice& device, const QString& input)
{
    QStringList arguments{QStringLiteral("-thread_queue_size"), QStringLiteral("512")};
    // Synthetic sources run as fast as they can unless held to real time.
    if (device.format == QLatin1String("lavfi"))
        arguments << QStringLiteral("-re");
    arguments << QStringLiteral("-f") << device.format << QStringLiteral("-i") << input;
    return arguments;
}

}  // namespace

CaptureDevice TestCamera()
{
    return {QString::fromLatin1(kTestCameraName), QStringLiteral("lavfi"), QStringLiteral("testsrc")};
}

CaptureDevice TestMicrophone()
{
    return {QString::fromLatin1(kTestMicrophoneName), QStringLiteral("lavfi"), QStringLiteral("sine")};
}

QList<CaptureDevice> CamerasFromVideo4Linux(const QString& classFolder)
{
    QStringList nodes = QDir(classFolder).entryList({QStringLiteral("video*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    nodes.erase(std::remove_if(nodes.begin(), nodes.end(), [](const QString& node) { return NodeNumber(node) < 0; }),
                nodes.end());
    std::sort(nodes.begin(), nodes.end(),
              [](const QString& a, const QString& b) { return NodeNumber(a) < NodeNumber(b); });

    QList<CaptureDevice> cameras;
    for (const QString& node : nodes) {
        QFile file(classFolder + QLatin1Char('/') + node + QStringLiteral("/name"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString name = CleanName(QString::fromUtf8(file.read(kMaxNameFileBytes)));
        if (!name.isEmpty())
            cameras.append({name, QStringLiteral("v4l2"), QStringLiteral("/dev/") + node});
    }
    return cameras;
}

QList<CaptureDevice> MicrophonesFromPulseSources(const QString& listing)
{
    // "* <name> [<description>]" with the default marked by the star, and in
    // newer versions " (audio)" after the description.
    static const QRegularExpression line(QStringLiteral("^[ *]\\s*(\\S+)(?:\\s+\\[(.*)\\])?(?:\\s+\\([^)]*\\))?\\s*$"));
    QList<CaptureDevice> microphones;
    for (const QString& text : listing.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = line.match(text);
        if (!match.hasMatch())
            continue;
        const QString source = match.captured(1);
        if (source.endsWith(QLatin1String(".monitor")))
            continue;
        QString name = CleanName(match.captured(2));
        if (name.isEmpty())
            name = source;
        microphones.append({name, QStringLiteral("pulse"), source});
    }
    return microphones;
}

QList<CaptureDevice> MicrophonesFromAlsaPcm(const QString& pcmText)
{
    // "00-00: ALC3246 Analog : ALC3246 Analog : playback 1 : capture 1"
    static const QRegularExpression address(QStringLiteral("^(\\d+)-(\\d+):\\s*(.*)$"));
    QList<CaptureDevice> microphones;
    for (const QString& text : pcmText.split(QLatin1Char('\n'))) {
        const QStringList fields = text.split(QStringLiteral(" : "));
        const QRegularExpressionMatch match = address.match(fields.first());
        if (!match.hasMatch())
            continue;
        const bool capture = std::any_of(fields.begin() + 1, fields.end(), [](const QString& field) {
            return field.trimmed().startsWith(QLatin1String("capture"));
        });
        if (!capture)
            continue;
        QString name = CleanName(fields.size() > 1 ? fields.at(1) : QString());
        if (name.isEmpty() || name.startsWith(QLatin1String("playback")) || name.startsWith(QLatin1String("capture")))
            name = CleanName(match.captured(3));
        const QString device = QStringLiteral("plughw:%1,%2").arg(match.captured(1).toInt()).arg(match.captured(2).toInt());
        microphones.append({name.isEmpty() ? device : name, QStringLiteral("alsa"), device});
    }
    return microphones;
}

void MakeDeviceNamesUnique(QList<CaptureDevice>& devices)
{
    QHash<QString, int> count;
    for (CaptureDevice& device : devices) {
        device.name = CleanName(device.name);
        ++count[device.name];
    }
    for (CaptureDevice& device : devices) {
        if (count.value(device.name) > 1)
            device.name = QStringLiteral("%1 (%2)").arg(device.name, device.input);
    }
}

QByteArray DeviceInfoLog(const QList<CaptureDevice>& cameras, const QList<CaptureDevice>& microphones)
{
    QByteArray text("[capture] DirectShow video devices\n");
    for (const CaptureDevice& camera : cameras)
        text += "[capture]  \"" + camera.name.toUtf8() + "\"\n";
    text += "[capture] DirectShow audio devices\n";
    for (const CaptureDevice& microphone : microphones)
        text += "[capture]  \"" + microphone.name.toUtf8() + "\"\n";
    text += "dummy: Immediate exit requested\n";
    return text;
}

int FrameRateForIndex(int index)
{
    static const int rates[] = {5, 10, 15, 20, 25, 30};
    return rates[ClampIndex(index, 6)];
}

int AudioBitRateForIndex(int index)
{
    static const int rates[] = {96, 128, 192, 256, 320};
    return rates[ClampIndex(index, 5)];
}

bool IsNoMicrophone(const QString& name)
{
    return name.trimmed().isEmpty() || name.trimmed().compare(QLatin1String("none"), Qt::CaseInsensitive) == 0;
}

CapturePlan PlanRecording(int type, const CaptureSettings& settings, const CaptureDevice* camera,
                          const CaptureDevice* microphone, const QString& display)
{
    CapturePlan plan;
    // The file name is ours, but it is still only a name: it may not lead
    // out of the folder.
    const QString fileName = QFileInfo(settings.fileName).fileName();
    if (settings.folder.isEmpty() || fileName.isEmpty() || fileName == QLatin1String("..")) {
        plan.error = QStringLiteral("no output folder or file name");
        return plan;
    }
    if (type < 0 || type > 2) {
        plan.error = QStringLiteral("unknown record type %1").arg(type);
        return plan;
    }
    if (type == 0 && !camera) {
        plan.error = QStringLiteral("no camera");
        return plan;
    }
    if (type == 1 && !microphone) {
        plan.error = QStringLiteral("no microphone");
        return plan;
    }
    if (type == 2 && display.isEmpty()) {
        plan.error = QStringLiteral("no X display to record");
        return plan;
    }
    plan.outputPath = QDir::cleanPath(settings.folder) + QLatin1Char('/') + fileName;

    const int frameRate = FrameRateForIndex(settings.videoFrameRate);
    const QString rate = QString::number(frameRate);
    QStringList& a = plan.arguments;
    a << QStringLiteral("-hide_banner") << QStringLiteral("-y");

    if (type == 2) {
        a << QStringLiteral("-thread_queue_size") << QStringLiteral("512") << QStringLiteral("-f")
          << QStringLiteral("x11grab");
        if (!settings.size.isEmpty())
            a << QStringLiteral("-video_size") << settings.size;
        a << QStringLiteral("-framerate") << rate << QStringLiteral("-i") << display;
    } else if (type == 0) {
        if (camera->format == QLatin1String("lavfi")) {
            const QString size = settings.size.isEmpty() ? QStringLiteral("640x480") : settings.size;
            a << DeviceInput(*camera, QStringLiteral("%1=size=%2:rate=%3").arg(camera->input, size, rate));
        } else {
            a << QStringLiteral("-thread_queue_size") << QStringLiteral("512") << QStringLiteral("-f")
              << camera->format;
            if (!settings.size.isEmpty())
                a << QStringLiteral("-video_size") << settings.size;
            a << QStringLiteral("-i") << camera->input;
        }
    }
    if (microphone) {
        const QString source = microphone->format == QLatin1String("lavfi")
                                   ? microphone->input + QStringLiteral("=frequency=440:sample_rate=44100")
                                   : microphone->input;
        a << DeviceInput(*microphone, source);
    }

    const QString bitRate = QStringLiteral("%1k").arg(AudioBitRateForIndex(settings.audioBitRate));
    if (type == 1) {
        a << QStringLiteral("-map") << QStringLiteral("0:a") << QStringLiteral("-c:a") << QStringLiteral("libmp3lame")
          << QStringLiteral("-b:a") << bitRate << QStringLiteral("-compression_level")
          << QString::number(Mp3CompressionForQuality(settings.audioQuality));
    } else {
        // H.264 in yuv420p needs even sides; an odd screen loses its last row.
        // The fastest preset keeps the encoder up with a full screen in real
        // time on a busy machine, and without its frame delay the progress
        // time the whiteboard sets its clock by follows the capture closely.
        // The quality levels set the rate factor.
        a << QStringLiteral("-map") << QStringLiteral("0:v") << QStringLiteral("-vf")
          << QStringLiteral("crop=trunc(iw/2)*2:trunc(ih/2)*2") << QStringLiteral("-c:v") << QStringLiteral("libx264")
          << QStringLiteral("-preset") << QStringLiteral("ultrafast") << QStringLiteral("-tune")
          << QStringLiteral("zerolatency") << QStringLiteral("-crf")
          << QString::number(VideoCrfForQuality(settings.videoQuality)) << QStringLiteral("-pix_fmt")
          << QStringLiteral("yuv420p");
        if (type == 0)
            a << QStringLiteral("-r") << rate;
        if (microphone)
            a << QStringLiteral("-map") << QStringLiteral("1:a") << QStringLiteral("-c:a") << QStringLiteral("aac")
              << QStringLiteral("-b:a") << bitRate;
        // A plain MP4 gets its index only when the recorder finishes, so a
        // recorder that is killed or runs out of disk would leave a file that
        // plays nowhere. Written in fragments that each start at a key frame,
        // a key frame every two seconds, a cut recording still plays up to
        // its last whole fragment; each fragment goes to the file at once
        // rather than waiting in the writer's buffer, where the small
        // fragments of a still screen would stay for minutes.
        a << QStringLiteral("-g") << QString::number(2 * frameRate) << QStringLiteral("-movflags")
          << QStringLiteral("+frag_keyframe+empty_moov+default_base_moof") << QStringLiteral("-flush_packets")
          << QStringLiteral("1");
    }
    // "file:" keeps a folder name that looks like a protocol or an option
    // from being read as one.
    a << QStringLiteral("file:") + plan.outputPath;

    if (type == 0) {
        // A camera cannot be opened twice, so the preview is a second, small
        // output of the same recorder.
        plan.preview = true;
        a << QStringLiteral("-map") << QStringLiteral("0:v") << QStringLiteral("-vf")
          << QStringLiteral("scale=%1:%2").arg(kPreviewFrameWidth).arg(kPreviewFrameHeight) << QStringLiteral("-r")
          << QStringLiteral("10") << QStringLiteral("-f") << QStringLiteral("rawvideo") << QStringLiteral("-pix_fmt")
          << QStringLiteral("rgb24") << QStringLiteral("pipe:1");
    }
    return plan;
}

void ProgressLines::append(const QByteArray& data)
{
    m_partial += data;
    int start = 0;
    for (int i = 0; i < m_partial.size(); ++i) {
        const char c = m_partial.at(i);
        if (c != '\r' && c != '\n')
            continue;
        const QByteArray line = m_partial.mid(start, i - start).trimmed();
        if (!line.isEmpty())
            m_latest = QString::fromUtf8(line);
        start = i + 1;
    }
    m_partial.remove(0, start);
    if (m_partial.size() > kMaxPartialLineBytes)
        m_partial.clear();
}

}  // namespace tools
