#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The largest "New_Event.xml" written unless the command line says otherwise.
constexpr qint64 kDefaultMaxOutputBytes = qint64(1) << 30;

struct RegrouperOptions {
    QString folder;
    qint64 maxOutputBytes = kDefaultMaxOutputBytes;
};

// The exit code for a command line that cannot be read.
constexpr int kRegrouperUsageExitCode = 3;

// The usage text, naming every option.
QString RegrouperUsage();

// Reads "Regrouper [--max-output-bytes N] [folder]" (the program's name
// first). False with `error` set for an unknown option or a bad number.
bool ParseRegrouperArguments(const QStringList& arguments, RegrouperOptions* options, QString* error);

// The folder read when Regrouper is started without one: a sample package
// under the temporary folder (the doubled slash is how it has always been
// spelt and does no harm).
QString DefaultContentsFolder();

// One whole run on `folder`: read, group, write "New_Event.xml". Problems go
// to `err`, one line each. Returns the exit code: 0 when the file was
// written, non-zero when the folder does not exist or the file could not be
// written (nothing is written then).
int RunRegrouper(const QString& folder, QTextStream& err, qint64 maxOutputBytes = kDefaultMaxOutputBytes);
