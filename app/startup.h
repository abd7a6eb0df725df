#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

// What the whiteboard does with its command line before any window exists:
// reading the file argument, the local web server that plays contents
// packages, and playing a package in the browser.

// The file named on the command line. The kind comes from the last path
// component only: its first dot-separated piece is the base name and its
// second the extension, so "a.b.vk" has the extension "b" and names no
// project. A name without a dot has no extension.
struct FileArgument
{
    QString path;
    QString baseName;
    QString extension;

    bool isProject() const;          // "vk" or "vj"
    bool isContentsPackage() const;  // "iic"
};

FileArgument ReadFileArgument(const QString& path);

// The switch the updater passes when it starts the whiteboard again.
extern const char kNoAutoUpdateSwitch[];

// The command line (without the program name): the update switch and the
// file named, each read from wherever it stands, so "/noAutoUpdate
// lesson.vk" opens the lesson as "lesson.vk" alone does. The first argument
// that is not the switch is the file.
struct CommandLine
{
    bool updateCheck = true;  // no "/noAutoUpdate" among the arguments
    FileArgument file;        // path empty when no file is named
};

CommandLine ReadCommandLine(const QStringList& arguments);

// The package's base name as a query value: "%", "#", "&" and "+" escaped, in
// that order (so an escape is never escaped twice).
QString EscapePlayerQueryValue(const QString& baseName);

// The port of the package player on the loopback interface: 8080, or the
// one DRAVIK_PLAYER_PORT names (tests, a machine where 8080 is in use).
constexpr int kDefaultPlayerPort = 8080;
int PlayerPort();

// The local player page for a package: the player port on the loopback
// interface.
QUrl ContentsPlayerUrl(const QString& baseName);

// Folders and files of the package player.
QString PlayerWorkFolder();      // unpacked packages, the web server's document root
QString PlayerFilesFolder();     // the player's own pages (installed, or beside the program), copied into the work folder
QString WebServerConfigPath();   // the web server's configuration file

// The account the web server's workers run as: none for an ordinary user,
// who runs the whole server; "nobody" for root, as whom the server refuses to
// serve. Not valid when no such account exists.
struct WebServerAccount
{
    bool valid = false;
    qint64 userId = -1;
    qint64 groupId = -1;
};
WebServerAccount WebServerAccountFor(qint64 userId);

// The web server's configuration: our own modules, files and folders only,
// the loopback interface on the player port, the player work folder as the document
// root.
QByteArray WebServerConfig(const WebServerAccount& account);

// Where the server writes its process id.
QString WebServerPidFile();

// Whether the server recorded in our pid file runs, with our configuration
// file as its argument. Another server (the system's own, another account's
// or another copy's) is not ours, whatever its name.
bool OurWebServerRuns();

// Whether something holds the player port on 127.0.0.1.
bool PlayerPortTaken();

enum class WebServerState {
    Running,     // ours ran already
    Started,     // ours was started now
    PortTaken,   // another program holds the player port: nothing started
    NotStarted,  // no server, switched off, or it could not be started
};

// Starts the local web server unless ours runs already; an idle start empties
// the player work folder first. The server is Debian's, run with our own
// configuration file (written afresh at each start) and left to detach: it
// outlives the whiteboard. With DRAVIK_NO_WEB_SERVER set (the test suite) no
// server is started. When another program holds the player port, says so in
// the debug log and starts nothing.
WebServerState EnsureLocalWebServer();

// Plays a contents package: web server, player files, unpacking into
// <work folder>/<base name>, then the browser on the player page. Returns an
// empty text, or why the package cannot be played (another program holds
// the player port, the player folder is refused) for the caller to show.
QString PlayContentsPackage(const FileArgument& package);

// Checks the folders the whiteboard keeps below the shared temporary folder
// (its private folders, the work folder and the package player folder) and
// makes those that are missing. Empty when all are sound, else the message
// that tells the user which folder is refused and why.
QString CheckOwnFolders();

// The bytes a second copy hands to the running one, and back: the path's own
// file-name bytes, so a name that is not valid UTF-8 still names its file
// (see platform::UseLosslessFileNames).
QByteArray HandOffBytes(const QString& path);
QString HandOffPath(const QByteArray& bytes);

// The tag of a hand-off message.
constexpr quint64 kHandOffTag = 20;
