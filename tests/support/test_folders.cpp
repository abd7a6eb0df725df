#include "tests/support/test_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

ScopedFolderRoot::ScopedFolderRoot()
{
    m_hadPrevious = qEnvironmentVariableIsSet("DRAVIK_ROOT");
    m_previous = qgetenv("DRAVIK_ROOT");
    qputenv("DRAVIK_ROOT", m_dir.path().toLocal8Bit());
}

ScopedFolderRoot::~ScopedFolderRoot()
{
    if (m_hadPrevious)
        qputenv("DRAVIK_ROOT", m_previous);
    else
        qunsetenv("DRAVIK_ROOT");
}

ScopedLibraryFolder::ScopedLibraryFolder(const QString& folder)
{
    qputenv("DRAVIK_LIBRARY_DIR", folder.toLocal8Bit());
}

ScopedLibraryFolder::~ScopedLibraryFolder()
{
    qunsetenv("DRAVIK_LIBRARY_DIR");
}

QString BuiltProgramFolder()
{
    return QStringLiteral(DRAVIK_BIN_DIR);
}

QString TestOutputFolder()
{
    const QString folder = QDir(BuiltProgramFolder() + QStringLiteral("/../test-output"))
                               .absoluteFilePath(QCoreApplication::applicationName());
    if (!QDir().mkpath(folder))
        return QString();
    // Only this user writes there.
    QFile::setPermissions(QFileInfo(folder).absolutePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return QDir(folder).absolutePath();
}
