#pragma once

#include <QString>
#include <QTemporaryDir>

// A private folder root for one test: every known folder of the platform layer
// lies below it while the object lives, so tests never touch the user's files.
class ScopedFolderRoot
{
public:
    ScopedFolderRoot();
    ~ScopedFolderRoot();
    ScopedFolderRoot(const ScopedFolderRoot&) = delete;
    ScopedFolderRoot& operator=(const ScopedFolderRoot&) = delete;

    QString path() const { return m_dir.path(); }
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

// Points the outside-library search (DRAVIK_LIBRARY_DIR) at `folder` for the
// life of the object: a folder without our libraries makes them all missing.
class ScopedLibraryFolder
{
public:
    explicit ScopedLibraryFolder(const QString& folder);
    ~ScopedLibraryFolder();
    ScopedLibraryFolder(const ScopedLibraryFolder&) = delete;
    ScopedLibraryFolder& operator=(const ScopedLibraryFolder&) = delete;
};

// Folder of the built programs and libraries.
QString BuiltProgramFolder();

// The folder where a test leaves files for a person to look at afterwards
// (screenshots): "test-output/<test program>" in the build folder, made on
// first use and kept. Empty when it cannot be made.
QString TestOutputFolder();
