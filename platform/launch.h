#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Starting programs and documents. Programs get an argument list, never a
// shell command line built from paths; documents and URLs go to the desktop's
// default handler.
namespace platform {

// The executable to run for a program name: a Windows name is mapped through
// the process table first; a bare name is looked up on PATH; a path is kept.
// Empty when nothing runnable is found.
QString ResolveProgram(const QString& program);

// Starts a program that outlives the call. Returns false when it cannot start.
bool StartDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder = QString(), qint64* pid = nullptr);

// Runs a program and waits for it at most timeoutMs (negative: no limit).
// Returns its exit code, or -1 when it could not start, crashed or timed out
// (a timed-out program is ended). Standard output and error go to `output`.
int RunAndWait(const QString& program, const QStringList& arguments, int timeoutMs,
               QByteArray* output = nullptr, const QString& workingFolder = QString());

// Opens a file with its default program, or a URL in the browser.
bool OpenDocument(const QString& pathOrUrl);

}  // namespace platform
