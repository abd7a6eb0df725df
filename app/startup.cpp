#include "app/startup.h"

#include "app/utilities.h"
#include "platform/folders.h"
#include "platform/launch.h"
#include "platform/processes.h"
#include "storage/settings_file.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTcpServer>

#include <pwd.h>
#include <unistd.h>

const char kNoAutoUpdateSwitch[] = "/noAutoUpdate";

bool FileArgument::isProject() const
{
    return extension == QLatin1String("vk") || extension == QLatin1String("vj");
}

bool FileArgument::isContentsPackage() const
{
    return extension == QLatin1String("iic");
}

FileArgument ReadFileArgument(const QString& path)
{
    FileArgument argument;
    argument.path = path;
    const QString fileName = path.section(QLatin1Char('/'), -1);
    const QStringList pieces = fileName.split(QLatin1Char('.'));
    argument.baseName = pieces.value(0);
    if (pieces.size() > 1)
        argument.extension = pieces.at(1);
    return argument;
}

CommandLine ReadCommandLine(const QStringList& arguments)
{
    CommandLine line;
    QStringList files;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String(kNoAutoUpdateSwitch))
            line.updateCheck = false;
        else
            files << argument;
    }
    // Two files name no lesson: which one was meant cannot be told, so the
    // start goes on as a plain one.
    if (files.size() == 1)
        line.file = ReadFileArgument(files.first());
    return line;
}

QString EscapePlayerQueryValue(const QString& baseName)
{
    QString value = baseName;
    value.replace(QLatin1String("%"), QLatin1String("%25"));
    value.replace(QLatin1String("#"), QLatin1String("%23"));
    value.replace(QLatin1String("&"), QLatin1String("%26"));
    value.replace(QLatin1String("+"), QLatin1String("%2B"));
    return value;
}

int PlayerPort()
{
    bool ok = false;
    const int port = qEnvironmentVariable("DRAVIK_PLAYER_PORT").toInt(&ok);
    return ok && port > 0 && port <= 65535 ? port : kDefaultPlayerPort;
}

QUrl ContentsPlayerUrl(const QString& baseName)
{
    const QString text = QStringLiteral("http://127.0.0.1:%1/?ist=%2&OEM=NORVANE")
                             .arg(PlayerPort())
                             .arg(EscapePlayerQueryValue(baseName));
    return QUrl(text, QUrl::TolerantMode);
}

QString PlayerWorkFolder()
{
    // The user's own temporary folder, where the player's pages and the
    // unpacked packages are served from.
    return platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::Temp),
                              QStringLiteral("\\Orbel5 Player"));
}

QString PlayerFilesFolder()
{
    const QString installed = platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::ProgramFiles),
                                                 QStringLiteral("\\Norvane\\Dravik\\Player"));
    if (QFileInfo(installed).isDir())
        return installed;
    // A copy run from where it was built has its player beside the program.
    return platform::ProgramFolder() + QStringLiteral("/Player");
}

QString WebServerConfigPath()
{
    return platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::CommonAppData),
                              QStringLiteral("\\Norvane\\Dravik\\httpd.conf"));
}

namespace {

const QString kWebServerProgram = QStringLiteral("httpd.exe");
const QString kWebServerModules = QStringLiteral("/usr/lib/apache2/modules");

QString WebServerExecutable()
{
    // Scripted runs and the test suite keep the machine's player port alone.
    if (!qEnvironmentVariableIsEmpty("DRAVIK_NO_WEB_SERVER"))
        return QString();
    const QString found = platform::ResolveProgram(kWebServerProgram);
    if (!found.isEmpty())
        return found;
    // Debian installs the server outside an ordinary user's PATH.
    const QString system = QStringLiteral("/usr/sbin/") + platform::LinuxProgramName(kWebServerProgram);
    return QFileInfo(system).isExecutable() ? system : QString();
}

// A path as a quoted configuration value.
QString Quoted(const QString& path)
{
    QString escaped = path;
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// Where the server keeps its process id, lock files and error log.
QString WebServerRuntimeFolder()
{
    return platform::KnownFolderPath(platform::KnownFolder::Runtime) + QStringLiteral("/dravik-httpd");
}

// Root's server workers run as an unprivileged account and read the player
// folder; no other folder of ours is open to them.
uint PlayerWorkFolderMode()
{
    return geteuid() == 0 ? 0755 : 0700;
}

}  // namespace

QString WebServerPidFile()
{
    return WebServerRuntimeFolder() + QStringLiteral("/httpd.pid");
}

QByteArray WebServerConfig(const WebServerAccount& account)
{
    const QString serverRoot = QFileInfo(WebServerConfigPath()).path();
    const QString runtime = WebServerRuntimeFolder();
    const QString documentRoot = PlayerWorkFolder();
    QStringList lines;
    lines << QStringLiteral("# The whiteboard's package player. Written by the whiteboard each time it")
          << QStringLiteral("# starts the server, from the folders of that start.")
          << QStringLiteral("ServerRoot %1").arg(Quoted(serverRoot))
          << QStringLiteral("ServerName 127.0.0.1")
          << QStringLiteral("Listen 127.0.0.1:%1").arg(PlayerPort())
          << QStringLiteral("PidFile %1").arg(Quoted(runtime + QStringLiteral("/httpd.pid")))
          << QStringLiteral("DefaultRuntimeDir %1").arg(Quoted(runtime))
          << QStringLiteral("ErrorLog %1").arg(Quoted(runtime + QStringLiteral("/error.log")));
    // The server refuses to serve as root: started by root, its workers run
    // as an unprivileged account.
    if (account.valid)
        lines << QStringLiteral("User #%1").arg(account.userId) << QStringLiteral("Group #%1").arg(account.groupId);
    for (const char* module : {"mpm_event", "authz_core", "dir", "mime"})
        lines << QStringLiteral("LoadModule %1_module %2/mod_%1.so").arg(QLatin1String(module), kWebServerModules);
    const QString types = QStringLiteral("/etc/mime.types");
    if (QFileInfo::exists(types)) {
        lines << QStringLiteral("TypesConfig %1").arg(types);
    } else {
        lines << QStringLiteral("TypesConfig /dev/null")
              << QStringLiteral("AddType text/html .html .htm") << QStringLiteral("AddType text/css .css")
              << QStringLiteral("AddType text/javascript .js") << QStringLiteral("AddType application/xml .xml")
              << QStringLiteral("AddType application/pdf .pdf") << QStringLiteral("AddType image/png .png")
              << QStringLiteral("AddType image/jpeg .jpg .jpeg") << QStringLiteral("AddType video/mp4 .mp4")
              << QStringLiteral("AddType audio/mpeg .mp3");
    }
    // Nothing outside the work folder is served, and nothing inside it may
    // reach outside: a package could carry links to the user's files or its
    // own server settings.
    lines << QStringLiteral("<Directory \"/\">") << QStringLiteral("    AllowOverride None")
          << QStringLiteral("    Require all denied") << QStringLiteral("</Directory>")
          << QStringLiteral("DocumentRoot %1").arg(Quoted(documentRoot))
          << QStringLiteral("<Directory %1>").arg(Quoted(documentRoot)) << QStringLiteral("    Options None")
          << QStringLiteral("    AllowOverride None") << QStringLiteral("    Require all granted")
          << QStringLiteral("</Directory>")
          << QStringLiteral("DirectoryIndex index.html");
    return lines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

WebServerAccount WebServerAccountFor(qint64 userId)
{
    WebServerAccount account;
    if (userId != 0)
        return account;
    const struct passwd* nobody = getpwnam("nobody");
    if (!nobody || nobody->pw_uid == 0)
        return account;
    account.valid = true;
    account.userId = nobody->pw_uid;
    account.groupId = nobody->pw_gid;
    return account;
}

namespace {

bool WriteWebServerConfig(const WebServerAccount& account)
{
    const QString path = WebServerConfigPath();
    QDir().mkpath(QFileInfo(path).path());
    if (!platform::EnsurePrivateFolder(WebServerRuntimeFolder()).isEmpty())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(WebServerConfig(account)) >= 0 && file.commit();
}

}  // namespace

bool OurWebServerRuns()
{
    QFile pidFile(WebServerPidFile());
    if (!pidFile.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const qint64 pid = pidFile.read(32).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0)
        return false;
    // A pid file outlives its server, and the number may since have gone to
    // any other program: only our server run with our configuration counts.
    return platform::ProcessExecutableName(pid) == platform::LinuxProgramName(kWebServerProgram)
           && platform::ProcessArguments(pid).contains(WebServerConfigPath());
}

bool PlayerPortTaken()
{
    QTcpServer probe;
    if (probe.listen(QHostAddress::LocalHost, quint16(PlayerPort())))
        return false;
    return probe.serverError() == QAbstractSocket::AddressInUseError;
}

WebServerState EnsureLocalWebServer()
{
    // A server started by an earlier run with our configuration is ours too.
    platform::RegisterOwnFolder(QFileInfo(WebServerConfigPath()).path());
    if (OurWebServerRuns())
        return WebServerState::Running;
    const QString program = WebServerExecutable();
    if (program.isEmpty())
        return WebServerState::NotStarted;
    if (PlayerPortTaken()) {
        qDebug().noquote() << QStringLiteral("exe : port %1 of 127.0.0.1 is held by another program; "
                                             "the web server is not started")
                                  .arg(PlayerPort());
        return WebServerState::PortTaken;
    }
    const QString workFolder = PlayerWorkFolder();
    RemoveFolderRecursive(workFolder, workFolder);
    const WebServerAccount account = WebServerAccountFor(getuid());
    if (getuid() == 0 && !account.valid) {
        qDebug() << "exe : no unprivileged account for the web server, not started";
        return WebServerState::NotStarted;
    }
    if (!WriteWebServerConfig(account)) {
        qDebug() << "exe : cannot write the web server configuration" << WebServerConfigPath();
        return WebServerState::NotStarted;
    }
    // The server detaches on its own; nothing here waits for it.
    if (!platform::StartDetached(program, {QStringLiteral("-f"), WebServerConfigPath()})) {
        qDebug() << "exe : cannot start the web server" << program;
        return WebServerState::NotStarted;
    }
    return WebServerState::Started;
}

QString PlayContentsPackage(const FileArgument& package)
{
    if (EnsureLocalWebServer() == WebServerState::PortTaken) {
        // The browser would open a page that nothing of ours serves.
        return QStringLiteral("The package cannot be played: port %1 of 127.0.0.1, where the player is served, "
                              "is held by another program.")
            .arg(PlayerPort());
    }

    const QString workFolder = PlayerWorkFolder();
    const QString problem = platform::EnsurePrivateFolder(workFolder, PlayerWorkFolderMode());
    if (!problem.isEmpty())
        return problem;
    CopyFolder(PlayerFilesFolder(), workFolder);

    const QString target = workFolder + QLatin1Char('/') + package.baseName;
    QDir().mkpath(target);
    // Absolute, so that a package named like "-p.iic" is not read as options.
    const QString archive = QFileInfo(package.path).absoluteFilePath();
    platform::RunAndWait(QStringLiteral("unzip"),
                         {QStringLiteral("-j"), QStringLiteral("-u"), QStringLiteral("-d"), target, archive}, -1);

    platform::OpenDocument(ContentsPlayerUrl(package.baseName).toString(QUrl::FullyEncoded));
    return QString();
}

QString CheckOwnFolders()
{
    QString problem = platform::CheckPrivateFolders();
    if (problem.isEmpty())
        problem = platform::EnsurePrivateFolder(WorkFolderPath());
    if (problem.isEmpty())
        problem = platform::EnsurePrivateFolder(PlayerWorkFolder(), PlayerWorkFolderMode());
    return problem;
}

QByteArray HandOffBytes(const QString& path)
{
    return QFile::encodeName(path);
}

QString HandOffPath(const QByteArray& bytes)
{
    return QFile::decodeName(bytes);
}
