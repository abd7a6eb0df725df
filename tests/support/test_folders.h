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

// Folder of the built programs and libraries.
QString BuiltProgramFolder();
