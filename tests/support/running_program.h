#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// A program started by a whole-program test, with everything it writes on
// standard output and error kept as lines that the test can wait for.
class RunningProgram
{
public:
    RunningProgram() = default;
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starts a program from the build folder (or a path) with the current
    // environment plus `extra`. Returns false when it cannot start.
    bool start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& extra = QProcessEnvironment(),
               const QString& workingFolder = QString());

    // Every line received so far.
    QStringList lines();
    // Waits until a line containing `text` arrives after line `from`; returns
    // its index or -1 when `timeoutMs` passed first.
    int waitForLine(const QString& text, int timeoutMs, int from = 0);
    bool hasLine(const QString& text, int from = 0);

    void write(const QByteArray& text);
    // Waits for the end; -2 when it did not end in time, -1 on a crash.
    int waitForExit(int timeoutMs);
    bool isRunning() const;
    qint64 pid() const;
    void kill();

private:
    void readAvailable();

    QProcess m_process;
    QByteArray m_partial;
    QStringList m_lines;
};

// Ids of the visible X windows whose name matches `pattern` (a regular
// expression), optionally only those of one process.
QStringList FindXWindows(const QString& pattern, qint64 pid = 0);

// Waits until FindXWindows finds at least one window; returns the ids.
QStringList WaitForXWindows(const QString& pattern, int timeoutMs, qint64 pid = 0);

// Waits until no visible window matches `pattern`; false, with a warning
// naming it, when one is still there after `timeoutMs`.
bool WaitForNoXWindows(const QString& pattern, int timeoutMs, qint64 pid = 0);

// Waits until window `id` of process `pid` is no longer shown; false, with
// a warning, when it still is after `timeoutMs`.
bool WaitForXWindowGone(qint64 pid, const QString& id, int timeoutMs);

// Ids of every visible X window of process `pid`, named or not.
QStringList MappedWindowIds(qint64 pid);

// Waits until process `pid` shows a window that is not among `before` (a
// popup menu has no name to wait for); its id, or empty after `timeoutMs`.
QString WaitForNewXWindow(qint64 pid, const QStringList& before, int timeoutMs);

// Starts the built whiteboard with `arguments` and the environment `extra`
// and waits until it has greeted the pen driver (the last step before its
// event loop runs) and its window is up. False when either never came.
bool StartWhiteboard(RunningProgram& board, const QStringList& arguments, const QProcessEnvironment& extra);

// Closes the whiteboard's window as its close button does and waits for the
// end: the exit code, or -3 when it has no window, -4 when the close could not
// be sent (and waitForExit's own codes). A board with unsaved changes asks
// "save first?": a shown question is answered No; a board without boxes
// (DRAVIK_NO_MODAL) keeps its lesson open, as it must, and is then ended by
// its PID, which counts as 0.
int CloseWhiteboard(RunningProgram& board);
