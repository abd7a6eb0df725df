#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
        return QDir::tempPath();
    case KnownFolder::Home:
        return QDir::homePath();
    case KnownFolder::Runtime: {
        const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (!xdg.isEmpty() && QFileInfo(xdg).isDir())
            return xdg;
        return QDir::tempPath() + QStringLiteral("/dravik-runtime-") + QString::number(getuid());
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

QString KnownFolderPath(KnownFolder folder)
{
    const QString root = FolderRoot();
    QString path = root.isEmpty() ? StandardFolder(folder) : RootedFolder(root, folder);
    path = QDir::cleanPath(path);
    QDir().mkpath(path);
    return path;
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
