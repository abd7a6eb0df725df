#pragma once

#include <QByteArray>
#include <QString>

// The whiteboard's place in the desktop: a desktop entry that opens lessons,
// projects and contents packages with this program, and the file types of
// those three extensions, so that the desktop's opener (a file manager, or
// the board handing a finished package to it) starts the whiteboard on them.

// The MIME types, one per extension.
extern const char kPackageMimeType[];   // ".iic"
extern const char kProjectMimeType[];   // ".vk"
extern const char kLessonMimeType[];    // ".vj"

// The desktop entry that starts `programPath` with the opened file.
QByteArray DesktopEntryText(const QString& programPath);

// The shared MIME database source that names the three file types by their
// extensions (each a kind of zip archive).
QByteArray MimeTypesText();

// The user's data folder the desktop reads entries and types from
// (~/.local/share, or XDG_DATA_HOME); below DRAVIK_ROOT's home when that is set.
QString DesktopDataHome();

// Puts the desktop entry into <dataHome>/applications and the types into
// <dataHome>/mime/packages, and refreshes the desktop's caches of both with
// update-desktop-database and update-mime-database when they are installed.
// Files that already hold the same text are left alone and nothing is
// refreshed, so a normal start costs two reads. A link where a file or folder
// is expected is refused. Returns an empty text, or why it failed.
QString InstallDesktopIntegration(const QString& dataHome, const QString& programPath);
