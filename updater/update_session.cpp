#include "updater/update_session.h"

#include "storage/ini_values.h"
#include "updater/ini_line_editor.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QVariant>

namespace {

const QString kGroup = QStringLiteral("AutoUpdate");

QString ManagerKey(int n)
{
    return QStringLiteral("ManagerParam%1").arg(n);
}

// The update description file, read as UTF-8 like every INI-style file of the
// system: file names in it may carry any letters.
class DescriptionFile : public QSettings
{
public:
    explicit DescriptionFile(const QString& path)
        : QSettings(path, QSettings::IniFormat)
    {
        setIniCodec("UTF-8");
    }
};

int DescriptionCount(const QSettings& settings, const QString& key)
{
    bool ok = false;
    const int count = IniTextValue(settings, key).trimmed().toInt(&ok);
    return ok && count > 0 ? count : 0;
}

}  // namespace

QVector<QStringList> ReadCountedList(const QString& path, const QString& group, const QString& countKey,
                                     const QStringList& itemKeys)
{
    DescriptionFile settings(path);
    settings.beginGroup(group);
    // The count is the file's word, not ours: a huge one must not make us loop
    // or allocate for ever, and a list ends where its numbered keys end.
    const int count = qMin(DescriptionCount(settings, countKey), kMaxCountedEntries);
    QVector<QStringList> rows;
    for (int i = 1; i <= count; ++i) {
        const QString first = itemKeys.first().arg(i);
        if (!settings.contains(first))
            break;
        QStringList row;
        for (const QString& itemKey : itemKeys)
            row << IniTextValue(settings, itemKey.arg(i));
        // Entries that would reach outside the install folder are refused;
        // empty entries stay (they name nothing).
        if (!row.first().isEmpty() && !isSafeRelativePath(row.first())) {
            qWarning().noquote() << "Patchora : refused path in" << group << first << ":" << row.first();
            continue;
        }
        rows << row;
    }
    if (DescriptionCount(settings, countKey) > rows.size() && rows.size() == kMaxCountedEntries)
        qWarning().noquote() << "Patchora :" << group << "lists more than" << kMaxCountedEntries
                             << "entries; the rest are not read";
    return rows;
}

namespace {

QStringList FirstColumn(const QVector<QStringList>& rows)
{
    QStringList items;
    for (const QStringList& row : rows)
        items << row.first();
    return items;
}

}  // namespace

UpdateSession::UpdateSession()
{
    for (int i = 0; i < kManagerParamCount; ++i)
        managerParam << QString();
}

QString UpdateSession::param(int n) const
{
    if (n < 1 || n > managerParam.size())
        return QString();
    return managerParam.at(n - 1);
}

void UpdateSession::readParameters(const QString& parameterFile)
{
    iniPath = parameterFile;
    readManagerParams();
    clearManagerParams();
    stripTrailingSeparator(managerParam[0]);
    stripTrailingSeparator(managerParam[1]);
    stripTrailingSeparator(managerParam[7]);
}

void UpdateSession::readManagerParams()
{
    for (QString& value : managerParam)
        value.clear();
    if (iniPath.isEmpty() || !QFile::exists(iniPath))
        return;
    for (int n = 1; n <= kManagerParamCount; ++n)
        managerParam[n - 1] = ReadIniValue(iniPath, kGroup, ManagerKey(n));
}

void UpdateSession::clearManagerParams()
{
    if (iniPath.isEmpty() || !QFile::exists(iniPath))
        return;
    for (int n = 1; n <= kManagerParamCount; ++n)
        writeIniValue(iniPath, kGroup, ManagerKey(n), QString());
}

void UpdateSession::readAskState()
{
    nextAskDate.clear();
    if (iniPath.isEmpty() || !QFile::exists(iniPath))
        return;
    bool found = false;
    const QString date = ReadIniValue(iniPath, kGroup, QStringLiteral("NextAskDate"), QString(), &found);
    if (found)
        nextAskDate = date;
    const QString downloaded = ReadIniValue(iniPath, kGroup, QStringLiteral("BackgroudDownload"), QString(), &found);
    if (found)
        backgroundDownloaded = QVariant(downloaded).toBool();
    const QString version = ReadIniValue(iniPath, kGroup, QStringLiteral("BackgroudDownloadVersion"), QString(), &found);
    if (found)
        backgroundVersion = version;
}

void UpdateSession::saveAskState()
{
    writeIniValue(iniPath, kGroup, QStringLiteral("NextAskDate"), nextAskDate);
    writeIniValue(iniPath, kGroup, QStringLiteral("BackgroudDownload"),
                  backgroundDownloaded ? QStringLiteral("true") : QStringLiteral("false"));
    writeIniValue(iniPath, kGroup, QStringLiteral("BackgroudDownloadVersion"),
                  backgroundDownloaded ? newVersion : QString());
}

void UpdateSession::readUpdateDescription()
{
    infPath = workFolder() + QStringLiteral("/UpdateVersion.inf");
    newVersion = readNewVersion(infPath);
    if (backgroundDownloaded && backgroundVersion != newVersion) {
        // The archive waiting from a background download is not the offered one.
        backgroundDownloaded = false;
        backgroundVersion.clear();
        saveAskState();
    }
    readDeleteLists(infPath);
    readExecuteList(infPath);
    readRegServerList(infPath);
    updateFileName = readUpdateFileName(infPath);
    DescriptionFile settings(infPath);
    updateFileSha256 = IniTextValue(settings, QStringLiteral("UpdateFile/SHA256")).trimmed().toLower();
}

QString UpdateSession::readNewVersion(const QString& path) const
{
    DescriptionFile settings(path);
    return IniTextValue(settings, QStringLiteral("Update/NewVersion"));
}

QString UpdateSession::readUpdateFileName(const QString& path) const
{
    DescriptionFile settings(path);
    const QString name = IniTextValue(settings, QStringLiteral("UpdateFile/FileName"));
    // The archive lands in the work folder under this name: a bare file name only.
    if (!name.isEmpty() && (!isSafeRelativePath(name) || name.contains(QLatin1Char('/')))) {
        qWarning().noquote() << "Patchora : refused archive name" << name;
        return QString();
    }
    return name;
}

void UpdateSession::readDeleteLists(const QString& path)
{
    deleteFiles += FirstColumn(ReadCountedList(path, QStringLiteral("DeleteFile"), QStringLiteral("FileCount"),
                                               {QStringLiteral("File%1")}));
    deleteFolders += FirstColumn(ReadCountedList(path, QStringLiteral("DeleteFolder"), QStringLiteral("FolderCount"),
                                                 {QStringLiteral("Folder%1")}));
}

void UpdateSession::readExecuteList(const QString& path)
{
    const QVector<QStringList> rows = ReadCountedList(path, QStringLiteral("ExecuteFile"),
                                                      QStringLiteral("ExeFileCount"),
                                                      {QStringLiteral("ExeFile%1"), QStringLiteral("Param%1")});
    for (const QStringList& row : rows) {
        exeFiles << row.at(0);
        exeParams << row.at(1);
    }
}

void UpdateSession::readRegServerList(const QString& path)
{
    regFiles += FirstColumn(ReadCountedList(path, QStringLiteral("RegServerFile"), QStringLiteral("RegFileCount"),
                                            {QStringLiteral("RegFile%1")}));
}

QString UpdateSession::archivePath() const
{
    return workFolder() + QLatin1Char('/') + updateFileName;
}

void stripTrailingSeparator(QString& path)
{
    if (path.size() < 2)
        return;
    const QChar last = path.at(path.size() - 1);
    if (last == QLatin1Char('/') || last == QLatin1Char('\\'))
        path.chop(1);
}

QString nextAskDateFor(int laterChoice, const QDate& today)
{
    switch (laterChoice) {
    case 0:
        return QString();
    case 1:
        return today.addDays(1).toString(QStringLiteral("yyyy-MM-dd"));
    case 2:
        return today.addDays(7).toString(QStringLiteral("yyyy-MM-dd"));
    case 3:
        return today.addMonths(1).toString(QStringLiteral("yyyy-MM-dd"));
    default:
        return today.toString(QStringLiteral("yyyy-MM-dd"));
    }
}

bool isSafeRelativePath(const QString& path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('\\'))
        || path.contains(QLatin1Char(':')) || path.contains(QChar(0)))
        return false;
    QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() > 1 && parts.last().isEmpty())
        parts.removeLast();  // a folder entry
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

void writeIniValue(const QString& file, const QString& section, const QString& key, const QString& value)
{
    if (!WriteIniValue(file, section, key, value))
        qWarning().noquote() << "Patchora : cannot write" << key << "to" << file;
}
