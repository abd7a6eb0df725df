#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>

// Update archives and folder fixtures made by the tests themselves.

struct ZipEntry
{
    QString name;
    QByteArray data;
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    bool compressed = false;
    // When set, the entry's whole Unix mode (type bits too, 0120777 for a
    // link) in place of `permissions`.
    quint32 unixMode = 0;
};

extern const QFile::Permissions kExecutablePermissions;

// Writes a zip file; entries are stored uncompressed unless marked, so that a
// test can find and damage an entry's bytes. Names are written as given,
// unsafe ones too.
bool MakeZip(const QString& path, const QList<ZipEntry>& entries);

// Writes a fixture file, making its folder first; `permissions`, when given,
// replace the file's mode bits. Returns false when anything failed.
bool WriteTestFile(const QString& path, const QByteArray& data, QFile::Permissions permissions = {});
QByteArray ReadTestFile(const QString& path);

// Every file and folder below `root`: relative path -> checksum and mode bits
// ("dir" for folders).
QMap<QString, QString> FolderSnapshot(const QString& root);
