#pragma once

#include <QString>

// Starting programs the way the updater needs it: a program with a parameter
// string in a working folder, waited for a bounded time; and the small link
// file through which the main program is started again, detached from the
// updater.

// Starts `file` with `parameters` (split like a command line) in `directory`.
// verb "open" only. On success the process id goes to `pid`; on failure
// `errorCode` gets a system error number (2 when the file is missing).
bool shellStart(const QString& verb, const QString& file, const QString& parameters,
                const QString& directory, qint64* pid, int* errorCode);

// Waits at most `timeoutMs` for a started process to end.
void waitForProcess(qint64 pid, int timeoutMs);

// The system's text for an error number.
QString systemErrorText(int code);

// A link file: the program to start, its arguments and working folder.
class ShellLinkMaker
{
public:
    // Writes "<folder>/<target base name>.lnk". Returns 1 when made, 0 when not.
    int createLink(const QString& target, const QString& folder, const QString& description,
                   int hotKey, const QString& arguments, const QString& workingFolder,
                   bool makeFolder);
    // Makes sure `folder` exists as a folder. 1 ready, 0 failed.
    int ensureFolder(const QString& folder);
    QString linkPath() const { return m_linkPath; }

private:
    QString m_linkPath;
};

// Opens a link file: starts its target detached with its arguments in its
// working folder. False (with `errorCode`) when the link or target is unusable.
bool openLink(const QString& linkPath, qint64* pid, int* errorCode);
