#pragma once

#include <QString>
#include <QStringList>

// Where the system keeps its files on Linux. The whiteboard was laid out around
// a handful of well-known Windows folders; every such folder is looked up here
// and nowhere else, so one environment variable (DRAVIK_ROOT) can move all of
// them under a single root for tests or side-by-side copies.
namespace platform {

enum class KnownFolder {
    CommonAppData,  // machine-wide application data: settings, server configuration
    ProgramFiles,   // where bundled outside programs are installed
    Documents,      // the user's documents: projects, recordings
    Temp,           // temporary files: the work folder lives here
    Home,           // the user's home folder
    Runtime,        // per-user runtime files: sockets, locks
};

// The Linux folder standing in for `folder`, without a trailing separator.
// The folder exists when this returns (it is created if needed).
QString KnownFolderPath(KnownFolder folder);

// The folder the running program was started from (the install folder).
QString ProgramFolder();

// Joins a path written with Windows separators ("\\Norvane\\Dravik\\Config.ini")
// onto a Linux base folder. Empty parts and a leading separator are dropped.
QString JoinPath(const QString& base, const QString& windowsRelative);

// Turns Windows separators into Linux ones, leaving everything else alone.
QString ToLinuxSeparators(const QString& path);

// The root every known folder is moved under, or an empty text when the
// folders follow the user's normal Linux locations.
QString FolderRoot();

}  // namespace platform
