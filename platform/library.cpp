#include "platform/library.h"

#include "platform/folders.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace platform {

QString OutsideLibraryPath(const QString& windowsLibraryName)
{
    QString base = QFileInfo(ToLinuxSeparators(windowsLibraryName)).fileName();
    if (base.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        base.chop(4);
    QString folder = qEnvironmentVariable("DRAVIK_LIBRARY_DIR");
    if (folder.isEmpty())
        folder = ProgramFolder();
    return QDir::cleanPath(folder + QStringLiteral("/lib") + base + QStringLiteral(".so"));
}

bool LoadOutsideLibrary(QLibrary& library, const QString& windowsLibraryName)
{
    const QString path = OutsideLibraryPath(windowsLibraryName);
    if (library.isLoaded())
        library.unload();
    library.setFileName(path);
    if (!QFileInfo::exists(path))
        return false;
    if (!library.load()) {
        qDebug().noquote() << "library" << path << "did not load:" << library.errorString();
        return false;
    }
    return true;
}

}  // namespace platform
