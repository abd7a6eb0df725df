#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// What one run of the updater knows: the parameters handed over by the main
// program's update bridge (the parameter file, group "AutoUpdate"), the ask
// state kept between runs, and the offered update from "UpdateVersion.inf" in
// the work folder. Everything is read once at start; only the ask state is
// written back later.
class UpdateSession
{
public:
    static constexpr int kManagerParamCount = 10;

    QString iniPath;
    QStringList managerParam;  // ManagerParam1 .. ManagerParam10 at index 0 .. 9
    QString infPath;
    QString updateFileName;
    QString updateFileSha256;  // optional check of the downloaded archive (lower-case hex)
    QString newVersion;
    QString nextAskDate;
    bool backgroundDownloaded = false;
    QString backgroundVersion;
    QStringList deleteFiles;
    QStringList deleteFolders;
    QStringList exeFiles;
    QStringList exeParams;
    QStringList regFiles;

    UpdateSession();

    // Parameter n (1 .. 10), empty when out of range.
    QString param(int n) const;
    QString serverUrl() const { return param(1); }
    QString workFolder() const { return param(2); }
    QString installFolder() const { return param(8); }
    QString mainProgram() const { return param(9); }
    QString languageCode() const { return param(10); }

    // Reads the parameters, blanks them in the file and strips the trailing
    // separator of the three folder-like values: the first part of start-up.
    void readParameters(const QString& parameterFile);

    void readManagerParams();
    void clearManagerParams();
    void readAskState();
    void saveAskState();

    // The offered version, the stale-archive reconciliation, the lists and the
    // archive name, read once the ask state is known.
    void readUpdateDescription();

    QString readNewVersion(const QString& path) const;
    QString readUpdateFileName(const QString& path) const;
    void readDeleteLists(const QString& path);
    void readExecuteList(const QString& path);
    void readRegServerList(const QString& path);

    // Archive path in the work folder.
    QString archivePath() const;
};

// The most entries read from one counted list of the description file.
constexpr int kMaxCountedEntries = 10000;

// A counted list of the description file: group `group`, its count under
// `countKey`, and per entry the values of `itemKeys` (each with one "%1" for
// the number, counted from 1). The list ends at the count, at
// kMaxCountedEntries, or at the first entry whose first key is missing; a
// first value that would reach outside the install folder drops its entry.
QVector<QStringList> ReadCountedList(const QString& path, const QString& group, const QString& countKey,
                                     const QStringList& itemKeys);

// Removes one trailing "/" or "\" from a text of at least two characters.
void stripTrailingSeparator(QString& path);

// The next-ask date for a "Later" choice: 0 = empty (ask at the next start),
// 1 = tomorrow, 2 = a week, 3 = a calendar month (day clamped to the month's
// end), any other value = today. Written "yyyy-MM-dd".
QString nextAskDateFor(int laterChoice, const QDate& today);

// Whether a path from an archive or the description file may be used below a
// folder: relative, "/" as separator, no drive colon, no backslash, and no
// empty, "." or ".." part. A trailing "/" (a folder entry) is allowed.
bool isSafeRelativePath(const QString& path);

// Writes one key of an INI file through the line editor; the result is only logged.
void writeIniValue(const QString& file, const QString& section, const QString& key,
                   const QString& value);
