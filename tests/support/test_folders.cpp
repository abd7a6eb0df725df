#include "tests/support/test_folders.h"

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
