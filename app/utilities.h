#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

// Folder, process and network helpers shared by the whole whiteboard. They keep
// no state; each call stands alone on the caller's thread.

// Removes everything below `path`, and `path` itself unless it equals `root`
// (exact text comparison: the root is only emptied). Symbolic links are
// removed as links, never followed. Stops at the first failure.
bool RemoveFolderRecursive(const QString& path, const QString& root);

// Copies the tree below `source` into the existing folder `destination`.
// Existing files are kept; failures are skipped.
void CopyFolder(const QString& source, const QString& destination);

// Waits until `folder` holds a file named exactly `fileName`, checking up to
// `cnt` times with `msec` milliseconds between checks.
void WaitForFolderFiles(const QString& folder, const QString& fileName, int msec, int cnt);

// Whether the process runs the program named by `exeName` (a Windows name such
// as "ffmpeg.exe" is matched against its Linux program). Exact, case-sensitive.
bool ProcessNameMatches(qint64 processId, const QString& exeName);

// Mode 1: true when a process of that name runs. Mode 2: ends the matching
// processes that belong to this program and returns false. Other modes: false.
bool KillProcessByName(int mode, const QString& exeName);

// Starts the on-screen keyboard. Returns false when it cannot be started.
bool ShowOnScreenKeyboard();

// Closes the on-screen keyboard this program opened, if it still runs.
void CloseOnScreenKeyboard();

// The machine's usable IPv4 addresses in dotted form: no loopback, no
// link-local "169." addresses.
QStringList LocalIpv4Address();

// The filtering rule of LocalIpv4Address, for a given list of addresses.
QStringList UsableIpv4Addresses(const QList<QHostAddress>& addresses);
