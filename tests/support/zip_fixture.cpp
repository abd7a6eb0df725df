#include "tests/support/zip_fixture.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

const QFile::Permissions kExecutablePermissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                  | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                  | QFile::ExeOther;

bool MakeZip(const QString& path, const QList<ZipEntry>& entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const ZipEntry& entry : entries) {
        QuaZipFile file(&zip);
        QuaZipNewInfo info(entry.name);
        info.setPermissions(entry.permissions);
        if (entry.unixMode != 0)
            info.externalAttr = entry.unixMode << 16;
        if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, entry.compressed ? Z_DEFLATED : 0,
                       entry.compressed ? Z_DEFAULT_COMPRESSION : 0))
            return false;
        file.write(entry.data);
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

bool WriteTestFile(const QString& path, const QByteArray& data, QFile::Permissions permissions)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool written = file.write(data) == data.size();
    file.close();
    written = written && file.error() == QFileDevice::NoError;
    if (permissions)
        written = file.setPermissions(permissions) && written;
    return written;
}

QByteArray ReadTestFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QMap<QString, QString> FolderSnapshot(const QString& root)
{
    QMap<QString, QString> result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const QString key = QDir(root).relativeFilePath(path);
        if (info.isDir()) {
            result.insert(key, QStringLiteral("dir"));
            continue;
        }
        const QByteArray sum = QCryptographicHash::hash(ReadTestFile(path), QCryptographicHash::Sha256).toHex();
        result.insert(key, QString::fromLatin1(sum) + QLatin1Char(' ') + QString::number(int(info.permissions()), 8));
    }
    return result;
}
