#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString StandardFolder(KnownFolder folder)
{
    switch (folder) {
    case KnownFolder::CommonAppData:
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    case KnownFolder::ProgramFiles:
        return QStringLiteral("/opt");
    case KnownFolder::Documents:
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case KnownFolder::Temp:
        // The shared temporary folder is everyone's: our files live in a
        // folder of our own below it.
        return QDir::tempPath() + QStringLiteral("/dravik-") + QString::number(geteuid());
    case KnownFolder::Home:
        return QDir::homePath();
    case KnownFolder::Runtime: {
        const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (!xdg.isEmpty() && QFileInfo(xdg).isDir())
            return xdg;
        return StandardFolder(KnownFolder::Temp) + QStringLiteral("/runtime");
    }
    }
    return QDir::tempPath();
}

QString RootedFolder(const QString& root, KnownFolder folder)
{
    switch (folder) {
    case KnownFolder::CommonAppData: return root + QStringLiteral("/ProgramData");
    case KnownFolder::ProgramFiles:  return root + QStringLiteral("/ProgramFiles");
    case KnownFolder::Documents:     return root + QStringLiteral("/Documents");
    case KnownFolder::Temp:          return root + QStringLiteral("/Temp");
    case KnownFolder::Home:          return root + QStringLiteral("/Home");
    case KnownFolder::Runtime:       return root + QStringLiteral("/Runtime");
    }
    return root;
}

}  // namespace

QString FolderRoot()
{
    const QString root = qEnvironmentVariable("DRAVIK_ROOT");
    if (root.isEmpty())
        return QString();
    return QDir::cleanPath(QDir(root).absolutePath());
}

namespace {

QString FolderPath(KnownFolder folder)
{
    const QString root = FolderRoot();
    return QDir::cleanPath(root.isEmpty() ? StandardFolder(folder) : RootedFolder(root, folder));
}

// Makes the private folders (Runtime may lie inside Temp) and checks them.
QString MakePrivateFolders()
{
    const QString temp = FolderPath(KnownFolder::Temp);
    QDir().mkpath(QFileInfo(temp).path());
    QString problem = EnsurePrivateFolder(temp, PrivateTempMode());
    if (!problem.isEmpty())
        return problem;
    const QString runtime = FolderPath(KnownFolder::Runtime);
    QDir().mkpath(QFileInfo(runtime).path());
    return EnsurePrivateFolder(runtime);
}

}  // namespace

QString KnownFolderPath(KnownFolder folder)
{
    if (folder == KnownFolder::Temp || folder == KnownFolder::Runtime) {
        MakePrivateFolders();
        return FolderPath(folder);
    }
    const QString path = FolderPath(folder);
    QDir().mkpath(path);
    return path;
}

uint PrivateTempMode()
{
    return geteuid() == 0 ? 0711 : 0700;
}

QString EnsurePrivateFolder(const QString& path, uint mode)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), mode) != 0 && errno != EEXIST)
        return QStringLiteral("The folder %1 cannot be made: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
    // Opened without following a link, then judged by what was opened, so
    // nothing can be swapped in between the look and the use.
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        struct stat link {};
        if (::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode))
            return QStringLiteral("The folder %1 is a link; refusing to use it.").arg(path);
        if (errno == ENOTDIR)
            return QStringLiteral("%1 is not a folder; refusing to use it.").arg(path);
        return QStringLiteral("The folder %1 cannot be opened: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
    }
    struct stat info {};
    QString problem;
    if (::fstat(fd, &info) != 0)
        problem = QStringLiteral("The folder %1 cannot be read: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
    else if (info.st_uid != geteuid())
        problem = QStringLiteral("The folder %1 belongs to another account; refusing to use it.").arg(path);
    else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        problem = QStringLiteral("Other accounts can write to the folder %1; refusing to use it.").arg(path);
    else if ((info.st_mode & 07777) != mode && ::fchmod(fd, mode) != 0)
        problem = QStringLiteral("The folder %1 cannot be closed to others: %2")
                      .arg(path, QString::fromLocal8Bit(strerror(errno)));
    ::close(fd);
    return problem;
}

QString CheckPrivateFolders()
{
    return MakePrivateFolders();
}

QString ProgramFolder()
{
    const QString overridden = qEnvironmentVariable("DRAVIK_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QString ToLinuxSeparators(const QString& path)
{
    QString result = path;
    result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return result;
}

QString JoinPath(const QString& base, const QString& windowsRelative)
{
    const QStringList parts = ToLinuxSeparators(windowsRelative).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString result = base;
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    for (const QString& part : parts) {
        if (!result.endsWith(QLatin1Char('/')))
            result += QLatin1Char('/');
        result += part;
    }
    return result;
}

}  // namespace platform
