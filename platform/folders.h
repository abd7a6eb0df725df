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
// The folder exists when this returns (it is created if needed). Temp and
// Runtime are private folders of this user (see EnsurePrivateFolder): Temp is
// "dravik-<uid>" in the shared temporary folder, Runtime is XDG_RUNTIME_DIR or,
// without it, "runtime" inside Temp. A Temp or Runtime folder that fails the
// check is still returned; CheckPrivateFolder tells the program not to use it.
QString KnownFolderPath(KnownFolder folder);

// Makes `path` (its parent must exist) a folder that only this user can
// change, or checks that it is one. It is refused when it is a link or no
// folder, belongs to another account, or others may write into it. A folder
// made here gets `mode`; an existing one of ours is set to `mode` too, so
// others lose what they could read. Returns an empty text when the folder is
// sound, else why it is refused.
QString EnsurePrivateFolder(const QString& path, uint mode = 0700);

// The mode of the private Temp folder: 0700, except for root, whose web
// server workers run as an unprivileged account and must reach the package
// player folder inside it (they may pass through, not list).
uint PrivateTempMode();

// Checks (and makes) the private Temp and Runtime folders. Returns an empty
// text when both are sound, else a message for the user naming the folder.
QString CheckPrivateFolders();

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
