#pragma once

#include <QByteArray>
#include <QString>
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

// The package's base name as a query value: "%", "#", "&" and "+" escaped, in
// that order (so an escape is never escaped twice).
QString EscapePlayerQueryValue(const QString& baseName);

// The local player page for a package: port 8080 on the loopback interface.
QUrl ContentsPlayerUrl(const QString& baseName);

// Folders and files of the package player.
QString PlayerWorkFolder();      // unpacked packages, the web server's document root
QString PlayerFilesFolder();     // the player's own pages, copied into the work folder
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
// the loopback interface on port 8080, the player work folder as the document
// root.
QByteArray WebServerConfig(const WebServerAccount& account);

// Where the server writes its process id.
QString WebServerPidFile();

// Starts the local web server unless it runs already; an idle start empties
// the player work folder first. The server is Debian's, run with our own
// configuration file (written afresh at each start) and left to detach: it
// outlives the whiteboard. Says nothing when the server is not installed or
// does not start: the package still unpacks and the browser opens. With
// DRAVIK_NO_WEB_SERVER set (the test suite) no server is started.
void EnsureLocalWebServer();

// Plays a contents package: web server, player files, unpacking into
// <work folder>/<base name>, then the browser on the player page.
void PlayContentsPackage(const FileArgument& package);

// The bytes a second copy hands to the running one, and back. Both ends are
// ours, so UTF-8 carries every path intact.
QByteArray HandOffBytes(const QString& path);
QString HandOffPath(const QByteArray& bytes);

// The tag of a hand-off message.
constexpr quint64 kHandOffTag = 20;
