#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class UpdateSession;

// How the install engine talks to whoever shows it: state labels, the progress
// bar and message boxes. The engine itself needs no window.
class InstallFeedback
{
public:
    virtual ~InstallFeedback() = default;
    // The state label shows text `textId`, the step label `step` ("Step: 3/5").
    virtual void showInstallState(int textId, const QString& step) = 0;
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    // A file of the archive cannot be created: true to try once more.
    virtual bool askRetry(const QString& text) = 0;
    // A failure the user has to acknowledge.
    virtual void showError(const QString& text) = 0;
};

// Applies a downloaded update archive to the install folder: backup of what
// will be overwritten, unpacking into a staging folder, copying over the
// install folder (with replacement of the updater's own program), the listed
// deletions, programs and registrations, and rollback when the copy fails.
class InstallEngine
{
public:
    InstallEngine(UpdateSession& session, InstallFeedback& feedback);

    // The whole install; true when the update is in place and the main program
    // may be restarted. The archive and the description file are deleted in
    // every case.
    bool installUpdate(const QString& archivePath);

    bool listZipEntries(QStringList* normalEntries, QStringList* updaterEntries) const;
    bool backupInstallFolder(const QString& installFolder, const QString& backupFolder);
    bool unzipUpdate(const QString& archivePath, const QString& stagingFolder);
    bool copyNewFiles(const QString& stagingFolder, const QString& installFolder, QString* failedEntry);
    // False when something could not be put back.
    bool restoreBackup(const QString& backupFolder, const QString& installFolder);
    bool deleteListedEntries(const QString& installFolder);
    void executeListedFiles(const QString& installFolder);
    void registerListedServers(const QString& installFolder);

    QString backupFolder() const;
    QString stagingFolder() const;

    QStringList backedUpFiles;
    QStringList addedFiles;
    QStringList backedUpFolders;
    QStringList backedUpDeleteFiles;
    // Folders the copy makes for entries that come without folder entries of
    // their own; the rollback takes them away again when they are empty.
    QStringList createdFolders;

private:
    // The archive's central directory, read once per install and shared by
    // the backup, the unpack and the copy.
    struct ArchiveListing {
        bool read = false;
        bool opened = false;
        QStringList normal;
        QStringList updater;
        QSet<QString> normalSet;
        quint64 totalSize = 0;
    };
    const ArchiveListing& listing() const;
    // Progress at most a few dozen times a second: a call per chunk would
    // cost more than the unpack itself on a large archive.
    void reportProgress(quint32 value, bool force);

    UpdateSession& m_session;
    InstallFeedback& m_feedback;
    QString m_archivePath;
    mutable ArchiveListing m_listing;
    qint64 m_lastProgressMs = -1;
    // Set only when this run renamed the updater's program to its parked
    // name: the rollback moves back nothing else.
    bool m_parkedUpdater = false;
};

// The updater's program file on this platform, and its parked copy.
QString updaterProgramName();
QString parkedUpdaterProgramName();

// How a listed file gets to its destination. A destination file is always
// replaced by a new one, never written in place, which is what makes the two
// faster ways safe: a hard link keeps the old bytes for as long as the
// backup needs them, and a staged file is not needed once it is in place.
enum class EntryTransfer {
    Copy,
    LinkOrCopy,  // a hard link where the file system allows it (the backup)
    MoveOrCopy,  // a rename where the file system allows it (out of staging)
};

// Copies each listed entry (relative to both roots); folders are created,
// files replace what is there. With `stop` the first failure ends the walk
// and names the entry; without it failures are passed over.
bool copyListedEntries(const QStringList& entries, const QString& fromRoot, const QString& toRoot,
                       bool stop, QString* failedEntry, bool* anyFailed = nullptr,
                       EntryTransfer transfer = EntryTransfer::Copy);

// Copies one regular file: the destination is written fresh (a link in its
// place is not followed) with the source's mode bits; nothing is synced.
bool copyRegularFile(const QString& source, const QString& destination);

// Flushes the file system that holds `folder` to disk: once per install step
// rather than once per file.
void syncFolderFileSystem(const QString& folder);

// Deletes a folder with everything below it. Symbolic links are removed as
// links and never followed. A missing folder counts as removed.
bool removeTree(const QString& folder);
