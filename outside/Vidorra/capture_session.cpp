#include "outside/Vidorra/capture_session.h"

#include <QDebug>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutexLocker>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace {

// ffmpeg ends, and finishes its file, when the thread that started it goes
// away: a whiteboard that crashes or is killed leaves no recorder behind.
class RecorderProcess : public QProcess
{
protected:
    void setupChildProcess() override { prctl(PR_SET_PDEATHSIG, SIGTERM); }
};

}  // namespace

CaptureSession::CaptureSession(QString program, tools::CapturePlan plan)
    : m_program(std::move(program)), m_plan(std::move(plan))
{
}

CaptureSession::~CaptureSession()
{
    if (!m_thread)
        return;
    m_graceMs = 3000;
    m_stopRequested = true;
    m_thread->wait();
    delete m_thread;
}

bool CaptureSession::start(int deadlineMs)
{
    if (m_thread)
        return false;
    m_thread = QThread::create([this] { run(); });
    m_thread->start();

    QMutexLocker lock(&m_mutex);
    while (m_state == State::NotStarted)
        m_changed.wait(&m_mutex);
    // How long a failing recorder takes to give up depends on the machine's
    // load; what it says does not.
    QDeadlineTimer deadline(deadlineMs);
    while (m_state == State::Running && !m_progressSeen && !deadline.hasExpired())
        m_changed.wait(&m_mutex, deadline);
    if (m_state == State::Running && !m_progressSeen)
        qDebug().noquote() << "capture : ffmpeg reported no progress within" << deadlineMs << "ms";
    return m_state == State::Running && m_progressSeen;
}

QString CaptureSession::latestLine()
{
    QMutexLocker lock(&m_mutex);
    return m_lines.latest();
}

QImage CaptureSession::latestFrame(quint64* serial)
{
    QMutexLocker lock(&m_mutex);
    if (serial)
        *serial = m_frameSerial;
    return m_frame;
}

bool CaptureSession::isRunning()
{
    QMutexLocker lock(&m_mutex);
    return m_state == State::Running;
}

qint64 CaptureSession::processId()
{
    QMutexLocker lock(&m_mutex);
    return m_pid;
}

bool CaptureSession::stop(int graceMs)
{
    if (!m_thread)
        return false;
    m_graceMs = graceMs;
    m_stopRequested = true;
    m_thread->wait();
    QMutexLocker lock(&m_mutex);
    const QFileInfo output(m_plan.outputPath);
    return m_cleanExit && output.isFile() && output.size() > 0;
}

void CaptureSession::run()
{
    RecorderProcess process;
    process.setProgram(m_program);
    process.setArguments(m_plan.arguments);
    process.setReadChannel(QProcess::StandardError);
    process.start();
    if (!process.waitForStarted(5000)) {
        qDebug().noquote() << "capture : ffmpeg did not start:" << m_program << process.errorString();
        QMutexLocker lock(&m_mutex);
        m_state = State::Ended;
        m_changed.wakeAll();
        return;
    }
    {
        QMutexLocker lock(&m_mutex);
        m_state = State::Running;
        m_pid = process.processId();
        m_changed.wakeAll();
    }

    bool quitSent = false;
    bool killed = false;
    QElapsedTimer sinceQuit;
    while (process.state() != QProcess::NotRunning) {
        if (m_stopRequested && !quitSent) {
            process.write("q");
            process.waitForBytesWritten(1000);
            quitSent = true;
            sinceQuit.start();
        }
        if (quitSent && !killed && sinceQuit.elapsed() > m_graceMs) {
            qDebug().noquote() << "capture : ffmpeg did not finish in time and is ended";
            process.kill();
            killed = true;
        }
        // Wakes on output on either pipe, on the end of the process or after
        // the timeout; the data of both pipes is buffered in the meantime.
        process.waitForReadyRead(20);
        readOutput(process);
    }
    readOutput(process);

    const bool clean = !killed && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!clean)
        qDebug().noquote() << "capture : ffmpeg ended with" << process.exitCode()
                           << (process.exitStatus() == QProcess::CrashExit ? "(ended from outside)" : "")
                           << "-" << m_lines.latest();
    QMutexLocker lock(&m_mutex);
    m_cleanExit = clean;
    m_state = State::Ended;
    m_changed.wakeAll();
}

void CaptureSession::readOutput(QProcess& process)
{
    const QByteArray errors = process.readAllStandardError();
    const QByteArray frames = m_plan.preview ? process.readAllStandardOutput() : QByteArray();
    if (errors.isEmpty() && frames.isEmpty())
        return;

    QImage newest;
    if (!frames.isEmpty()) {
        m_framePartial += frames;
        const int whole = m_framePartial.size() / tools::kPreviewFrameBytes;
        if (whole > 0) {
            // Only the newest complete frame is worth showing.
            const char* bits = m_framePartial.constData() + (whole - 1) * tools::kPreviewFrameBytes;
            newest = QImage(reinterpret_cast<const uchar*>(bits), tools::kPreviewFrameWidth,
                            tools::kPreviewFrameHeight, tools::kPreviewFrameWidth * 3, QImage::Format_RGB888)
                         .copy();
            m_framePartial.remove(0, whole * tools::kPreviewFrameBytes);
        }
    }
    QMutexLocker lock(&m_mutex);
    if (!errors.isEmpty()) {
        m_lines.append(errors);
        if (!m_progressSeen && m_lines.latest().contains(QLatin1String("time="))) {
            m_progressSeen = true;
            m_changed.wakeAll();
        }
    }
    if (!newest.isNull()) {
        m_frame = newest;
        ++m_frameSerial;
    }
}
