#pragma once

#include <QString>

class QTextStream;

// The folder read when Regrouper is started without one: a sample package
// under the temporary folder (the doubled slash is how it has always been
// spelt and does no harm).
QString DefaultContentsFolder();

// One whole run on `folder`: read, group, write "New_Event.xml". Problems go
// to `err`, one line each. Returns the exit code: 0 when the file was
// written, non-zero when the folder does not exist or the file could not be
// written (nothing is written then).
int RunRegrouper(const QString& folder, QTextStream& err);
