#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Processes by executable name, read from /proc. Windows programs the system
// names ("ffmpeg.exe", "httpd.exe") are mapped to their Linux programs in one
// table. Ending processes is deliberately narrow: only processes of this user
// that this program started, or that run from one of its own folders.
namespace platform {

// The Linux program that stands in for a Windows executable name. Names in the
// table map to their Linux programs; any other "X.exe" becomes "X"; a name
// without ".exe" is kept as it is.
QString LinuxProgramName(const QString& windowsExeName);

// Ids of every process visible in /proc, in ascending order.
QList<qint64> ProcessIds();

// Base name of the process's executable, or an empty text when it cannot be
// read (the process belongs to another user, or has ended).
QString ProcessExecutableName(qint64 pid);

// Full path of the process's executable, or an empty text.
QString ProcessExecutablePath(qint64 pid);

// Real user id of the process, or -1.
qint64 ProcessUserId(qint64 pid);

// Parent process id, or -1.
qint64 ParentProcessId(qint64 pid);

// When the process started, in clock ticks since boot, or -1 when it does not
// exist. With its id it names one process: an id used again later comes with
// another start time.
qint64 ProcessStartTime(qint64 pid);

// True while the process exists and has not ended; one that ended and waits
// for its parent to collect it counts as ended.
bool ProcessRuns(qint64 pid);

// The command-line arguments of the process (without the program itself), or
// an empty list when they cannot be read.
QStringList ProcessArguments(qint64 pid);

// Marks a folder as the program's own: processes running executables from it,
// or started with a file from it on their command line (a server run with our
// configuration file), may be ended by name. The program folder and the folder
// root always count.
void RegisterOwnFolder(const QString& folder);

// Remembers a process this program started (the launch functions do this).
void RegisterStartedProcess(qint64 pid);

// True when this program may end the process: it belongs to the same user,
// and it was started by this program (directly or below a process it started),
// its executable lies in one of the program's own folders, or one of its
// arguments names a path inside them. Run as root, a child of such a process
// counts too even when it runs as another user: a server's workers give up
// root for an unprivileged user.
bool IsOwnProcess(qint64 pid);

// Ends the process at once. Returns whether the signal was delivered.
bool TerminateProcess(qint64 pid);

}  // namespace platform
