#pragma once

#include "tools/capture_plan.h"

#include <QImage>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QWaitCondition>

#include <atomic>

class QThread;

// One running ffmpeg. It lives on a thread of its own, which reads ffmpeg's
// output as it comes whatever the caller's thread is doing: a recorder whose
// pipe is not read stalls, and so would the recording.
class CaptureSession
{
public:
    CaptureSession(QString program, tools::CapturePlan plan);
    ~CaptureSession();  // ends ffmpeg when it still runs
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Starts ffmpeg and waits until it reports its first progress, which it
    // does only once every input opened and the output is being written.
    // False when it could not start, ended first (a device that is missing
    // or busy, a size it cannot grab) or said nothing of progress within
    // `deadlineMs`; the caller then ends the session.
    bool start(int deadlineMs);

    // The latest line of ffmpeg's standard error.
    QString latestLine();

    // The latest preview frame and a counter that changes with each frame.
    QImage latestFrame(quint64* serial);

    // Asks ffmpeg to finish ("q" on its input), waits at most `graceMs`, then
    // ends it. True only when ffmpeg exited by itself with 0 and the output
    // file exists and is not empty.
    bool stop(int graceMs);

    bool isRunning();
    qint64 processId();
    const QString& outputPath() const { return m_plan.outputPath; }

private:
    void run();
    void readOutput(class QProcess& process);

    const QString m_program;
    const tools::CapturePlan m_plan;
    QThread* m_thread = nullptr;

    QMutex m_mutex;
    QWaitCondition m_changed;
    enum class State { NotStarted, Running, Ended } m_state = State::NotStarted;
    bool m_cleanExit = false;  // exited by itself with code 0
    bool m_progressSeen = false;
    qint64 m_pid = 0;
    tools::ProgressLines m_lines;
    QImage m_frame;
    quint64 m_frameSerial = 0;
    int m_graceMs = 10000;

    std::atomic<bool> m_stopRequested{false};
    QByteArray m_framePartial;  // worker thread only
};
