#pragma once

#include <QString>
#include <QTemporaryDir>

// A tmpfs of a few kilobytes mounted on a private folder for one test, so a
// save can meet a full disk for real. Mounting needs root (tests run as root
// here and in CI); isMounted() is false, with reason() saying why, where the
// mount is refused, and the test then skips.
class SmallFilesystem
{
public:
    explicit SmallFilesystem(qint64 bytes);
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool isMounted() const { return m_mounted; }
    const QString& reason() const { return m_reason; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_reason;
};
