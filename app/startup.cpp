#include "app/startup.h"

#include "app/utilities.h"
#include "platform/folders.h"
#include "platform/launch.h"
#include "platform/processes.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

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

QString EscapePlayerQueryValue(const QString& baseName)
{
    QString value = baseName;
    value.replace(QLatin1String("%"), QLatin1String("%25"));
    value.replace(QLatin1String("#"), QLatin1String("%23"));
    value.replace(QLatin1String("&"), QLatin1String("%26"));
    value.replace(QLatin1String("+"), QLatin1String("%2B"));
    return value;
}

QUrl ContentsPlayerUrl(const QString& baseName)
{
    const QString text = QStringLiteral("http://127.0.0.1:8080/?ist=%1&OEM=NORVANE")
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
    return platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::ProgramFiles),
                              QStringLiteral("\\Norvane\\Dravik\\Player"));
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
    const QString found = platform::ResolveProgram(kWebServerProgram);
    if (!found.isEmpty())
        return found;
    // Debian installs the server outside an ordinary user's PATH.
    const QString system = QStringLiteral("/usr/sbin/") + platform::LinuxProgramName(kWebServerProgram);
    return QFileInfo(system).isExecutable() ? system : QString();
}

// A minimal server of our own: the loopback interface only, the player work
// folder as document root, every file kept in folders this user can write.
QByteArray WebServerConfig()
{
    const QString runtime = platform::KnownFolderPath(platform::KnownFolder::Runtime);
    const QString root = PlayerWorkFolder();
    QString text;
    text += QStringLiteral("ServerName 127.0.0.1\n");
    text += QStringLiteral("Listen 127.0.0.1:8080\n");
    text += QStringLiteral("PidFile \"%1/dravik-httpd.pid\"\n").arg(runtime);
    text += QStringLiteral("DefaultRuntimeDir \"%1\"\n").arg(runtime);
    text += QStringLiteral("ErrorLog \"%1/dravik-httpd-error.log\"\n").arg(runtime);
    for (const char* module : {"mpm_event", "authz_core", "mime", "dir"})
        text += QStringLiteral("LoadModule %1_module %2/mod_%1.so\n").arg(QLatin1String(module), kWebServerModules);
    text += QStringLiteral("TypesConfig /etc/mime.types\n");
    text += QStringLiteral("DocumentRoot \"%1\"\n").arg(root);
    text += QStringLiteral("<Directory \"%1\">\n    Require all granted\n</Directory>\n").arg(root);
    text += QStringLiteral("DirectoryIndex index.html\n");
    return text.toUtf8();
}

void WriteWebServerConfigIfMissing()
{
    const QString path = WebServerConfigPath();
    if (QFileInfo::exists(path))
        return;
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(WebServerConfig()) >= 0)
        file.commit();
}

}  // namespace

void EnsureLocalWebServer()
{
    if (KillProcessByName(1, kWebServerProgram))
        return;
    const QString workFolder = PlayerWorkFolder();
    RemoveFolderRecursive(workFolder, workFolder);
    const QString program = WebServerExecutable();
    if (program.isEmpty())
        return;
    WriteWebServerConfigIfMissing();
    platform::StartDetached(program, {QStringLiteral("-f"), WebServerConfigPath()});
}

void PlayContentsPackage(const FileArgument& package)
{
    EnsureLocalWebServer();

    const QString workFolder = PlayerWorkFolder();
    QDir().mkpath(workFolder);
    CopyFolder(PlayerFilesFolder(), workFolder);

    const QString target = workFolder + QLatin1Char('/') + package.baseName;
    QDir().mkpath(target);
    platform::RunAndWait(QStringLiteral("unzip"),
                         {QStringLiteral("-j"), QStringLiteral("-u"), QStringLiteral("-d"), target, package.path},
                         -1);

    platform::OpenDocument(ContentsPlayerUrl(package.baseName).toString(QUrl::FullyEncoded));
}

QByteArray HandOffBytes(const QString& path)
{
    return path.toUtf8();
}

QString HandOffPath(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}
