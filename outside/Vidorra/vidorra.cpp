// Our capture controller, loaded by the whiteboard as "Vidorra.dll"
// (libVidorra.so). It records with ffmpeg: the screen through x11grab, a
// camera through video4linux, sound from PulseAudio or ALSA, and lists the
// devices in "deviceinfo.log". See the README's Linux section for the test
// devices and the failures a test can ask for.

#include "outside/Vidorra/camera_preview.h"
#include "outside/Vidorra/capture_session.h"
#include "tools/capture_functions.h"
#include "tools/capture_plan.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QSaveFile>
#include <QThread>

#define VIDORRA_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using tools::CaptureDevice;

// How long a new recorder may take to report its first progress before the
// start counts as failed; a loaded machine opening a camera takes seconds.
constexpr int kStartDeadlineMs = 20000;
// How long ffmpeg gets to finish its file after "q".
constexpr int kStopGraceMs = 10000;
// How long the PulseAudio source listing may take before it counts as "no server".
constexpr int kListingTimeoutMs = 3000;
constexpr qint64 kMaxListingBytes = 256 * 1024;

struct CaptureState {
    tools::CaptureSettings settings;
    QList<CaptureDevice> cameras;
    QList<CaptureDevice> microphones;
    CaptureSession* session = nullptr;
    QPointer<CameraPreview> preview;
};

// Never destroyed: a recorder thread may still run while the process ends,
// and ffmpeg is ended by its own parent-death signal then.
CaptureState& State()
{
    static CaptureState* state = new CaptureState;
    return *state;
}

bool FailureRequested(const char* what)
{
    return qEnvironmentVariable("DRAVIK_CAPTURE_FAIL") == QLatin1String(what);
}

// The whiteboard puts a copy of ffmpeg in its work folder so that its
// recorders can be told from other ffmpeg processes; a link there is not
// taken for that copy.
QString RecorderProgram(const QString& folder)
{
    if (!folder.isEmpty()) {
        const QFileInfo copy(folder + QStringLiteral("/ffmpeg"));
        if (!copy.isSymLink() && copy.isFile() && copy.isExecutable())
            return copy.absoluteFilePath();
    }
    return QStringLiteral("ffmpeg");
}

QList<CaptureDevice> ListMicrophones(const QString& program)
{
    QProcess listing;
    listing.start(program, {QStringLiteral("-hide_banner"), QStringLiteral("-sources"), QStringLiteral("pulse")});
    bool answered = false;
    if (listing.waitForStarted(kListingTimeoutMs)) {
        if (listing.waitForFinished(kListingTimeoutMs))
            answered = listing.exitStatus() == QProcess::NormalExit && listing.exitCode() == 0;
        else {
            listing.kill();
            listing.waitForFinished(1000);
        }
    }
    if (answered)
        return tools::MicrophonesFromPulseSources(QString::fromUtf8(listing.readAllStandardOutput().left(kMaxListingBytes)));

    QFile pcm(QStringLiteral("/proc/asound/pcm"));
    if (!pcm.open(QIODevice::ReadOnly))
        return {};
    return tools::MicrophonesFromAlsaPcm(QString::fromUtf8(pcm.read(kMaxListingBytes)));
}

void RefreshDevices(const QString& folder)
{
    CaptureState& state = State();
    const bool testDevices = qEnvironmentVariableIntValue("DRAVIK_CAPTURE_TEST_DEVICES") == 1;
    state.cameras.clear();
    state.microphones.clear();
    if (testDevices) {
        state.cameras << tools::TestCamera();
        state.microphones << tools::TestMicrophone();
    }
    state.cameras << tools::CamerasFromVideo4Linux(QStringLiteral("/sys/class/video4linux"));
    state.microphones << ListMicrophones(RecorderProgram(folder));
    tools::MakeDeviceNamesUnique(state.cameras);
    tools::MakeDeviceNamesUnique(state.microphones);
}

// The device a listed name stands for. A name that is not in the table may be
// a device plugged in since the last listing, so the table is read once more.
bool FindDevice(QList<CaptureDevice> CaptureState::*list, const QString& name, CaptureDevice* found)
{
    CaptureState& state = State();
    for (int pass = 0; pass < 2; ++pass) {
        for (const CaptureDevice& device : state.*list) {
            if (device.name == name) {
                *found = device;
                return true;
            }
        }
        if (pass == 0)
            RefreshDevices(state.settings.folder);
    }
    return false;
}

void EndSession()
{
    CaptureState& state = State();
    delete state.preview;
    delete state.session;
    state.session = nullptr;
}

bool OnGuiThread()
{
    QCoreApplication* application = QCoreApplication::instance();
    return qobject_cast<QApplication*>(application) && QThread::currentThread() == application->thread();
}

}  // namespace

VIDORRA_EXPORT void ConfigSetting(QString folder, QString fileName, QString camera, QString microphone, QString size,
                                  int mode, int a, int b, int c, int d)
{
    State().settings = {folder, fileName, camera, microphone, size, mode, a, b, c, d};
}

VIDORRA_EXPORT void GetDeviceList()
{
    RefreshDevices(State().settings.folder);
}

VIDORRA_EXPORT int StartRecording(int type)
{
    CaptureState& state = State();
    if (state.session) {
        qDebug().noquote() << "capture : an earlier recording still ran and is ended";
        EndSession();
    }
    if (FailureRequested("start")) {
        qDebug().noquote() << "capture : start fails as DRAVIK_CAPTURE_FAIL asks";
        return 0;
    }
    const tools::CaptureSettings& settings = state.settings;
    CaptureDevice camera;
    if (type == 0) {
        if (!FindDevice(&CaptureState::cameras, settings.camera, &camera)) {
            qDebug().noquote() << QStringLiteral("capture : camera \"%1\" is not connected").arg(settings.camera);
            return 0;
        }
    }
    CaptureDevice microphone;
    const bool withSound = !tools::IsNoMicrophone(settings.microphone);
    if (withSound) {
        if (!FindDevice(&CaptureState::microphones, settings.microphone, &microphone)) {
            qDebug().noquote() << QStringLiteral("capture : microphone \"%1\" is not connected").arg(settings.microphone);
            return 0;
        }
    }
    const tools::CapturePlan plan =
        tools::PlanRecording(type, settings, type == 0 ? &camera : nullptr, withSound ? &microphone : nullptr,
                             qEnvironmentVariable("DISPLAY"));
    if (!plan.error.isEmpty()) {
        qDebug().noquote() << "capture : cannot record:" << plan.error;
        return 0;
    }
    const QString program = RecorderProgram(settings.folder);
    qDebug().noquote() << "capture :" << program << plan.arguments.join(QLatin1Char(' '));

    state.session = new CaptureSession(program, plan);
    if (!state.session->start(kStartDeadlineMs)) {
        qDebug().noquote() << "capture : the recorder did not start:" << state.session->latestLine();
        EndSession();
        return 0;
    }
    if (plan.preview && OnGuiThread()) {
        state.preview = new CameraPreview(state.session);
        state.preview->show();
    }
    return 1;
}

VIDORRA_EXPORT QString ReadLineData()
{
    CaptureState& state = State();
    if (!state.session)
        return QString();
    const QString line = state.session->latestLine();
    if (FailureRequested("progress") && line.contains(QLatin1String("time=")))
        return QString();
    return line;
}

VIDORRA_EXPORT int StopRecording()
{
    CaptureState& state = State();
    if (!state.session) {
        qDebug().noquote() << "capture : stop without a recording";
        return 0;
    }
    delete state.preview;
    const bool finished = state.session->stop(kStopGraceMs);
    const QString output = state.session->outputPath();
    EndSession();
    if (FailureRequested("stop")) {
        qDebug().noquote() << "capture : stop fails as DRAVIK_CAPTURE_FAIL asks";
        return 0;
    }
    if (!finished)
        qDebug().noquote() << "capture : the recording did not finish:" << output;
    return finished ? 1 : 0;
}

VIDORRA_EXPORT void DeviceSave(QString folder)
{
    RefreshDevices(folder);
    const CaptureState& state = State();
    QSaveFile file(folder + QStringLiteral("/deviceinfo.log"));
    if (!file.open(QIODevice::WriteOnly) || file.write(tools::DeviceInfoLog(state.cameras, state.microphones)) < 0
        || !file.commit())
        qDebug().noquote() << "capture : cannot write the device list in" << folder << file.errorString();
}
