#include "updater/install_engine.h"

#include "app/utilities.h"
#include "platform/processes.h"
#include "updater/shell_link.h"
#include "updater/update_language.h"
#include "updater/update_session.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {

const QString kUpdaterFolder = QStringLiteral("_Patchora_/");
constexpr int kRunTimeoutMs = 120000;
constexpr int kRegisterTimeoutMs = 60000;
constexpr qint64 kCopyChunk = 256 * 1024;
constexpr int kProgressIntervalMs = 40;

// Entry modes as the archive stores them (the high half of the external
// attributes, written by Unix tools).
constexpr quint32 kModeTypeMask = 0170000;
constexpr quint32 kModeLink = 0120000;

bool IsLinkEntry(const QuaZipFileInfo64& info)
{
    return ((info.externalAttr >> 16) & kModeTypeMask) == kModeLink;
}

// Installed files are never writable by others than their owner, whatever
// the archive says.
QFile::Permissions InstalledPermissions(const QuaZipFileInfo64& info)
{
    return info.getPermissions() & ~(QFile::WriteGroup | QFile::WriteOther);
}

bool WriteAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size_t(size));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        size -= put;
    }
    return true;
}

bool MakePath(const QString& path)
{
    return QDir().mkpath(path);
}

// The folder part of a path: up to and including its last "/".
QString FolderPart(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.left(slash + 1);
}

// The registration tool: configurable, since the system's own has no Linux
// counterpart; a missing tool is reported like any program that cannot start.
QString RegistrationTool()
{
    const QString configured = qEnvironmentVariable("DRAVIK_REGISTER_TOOL");
    return configured.isEmpty() ? QStringLiteral("regsvr32.exe") : configured;
}

// Removes `folder` when empty, then each parent that became empty, but never
// `stopAt` or anything above it.
void RemoveEmptyFolders(const QString& folder, const QString& stopAt)
{
    const QString root = QDir::cleanPath(stopAt);
    QString current = QDir::cleanPath(folder);
    while (current.startsWith(root + QLatin1Char('/')) && current != root) {
        if (!QDir().rmdir(current))
            return;
        current = QFileInfo(current).path();
    }
}

bool IsPlainFile(const QByteArray& path)
{
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

// One file by the chosen way; a file system that does not allow the fast
// way (another device, no hard links) gets a copy.
bool TransferFile(const QString& source, const QString& destination, EntryTransfer transfer)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    if (transfer != EntryTransfer::Copy && IsPlainFile(from)) {
        struct stat existing {};
        const bool destinationIsFolder = ::lstat(to.constData(), &existing) == 0 && S_ISDIR(existing.st_mode);
        if (!destinationIsFolder) {
            if (transfer == EntryTransfer::MoveOrCopy && ::rename(from.constData(), to.constData()) == 0)
                return true;
            if (transfer == EntryTransfer::LinkOrCopy) {
                ::unlink(to.constData());
                if (::link(from.constData(), to.constData()) == 0)
                    return true;
            }
        }
    }
    return copyRegularFile(source, destination);
}

}  // namespace

QString updaterProgramName()
{
    return platform::LinuxProgramName(QStringLiteral("Patchora.exe"));
}

QString parkedUpdaterProgramName()
{
    return platform::LinuxProgramName(QStringLiteral("Patchora-old.exe"));
}

InstallEngine::InstallEngine(UpdateSession& session, InstallFeedback& feedback)
    : m_session(session), m_feedback(feedback)
{
}

QString InstallEngine::backupFolder() const
{
    return m_session.workFolder() + QStringLiteral("/old");
}

QString InstallEngine::stagingFolder() const
{
    return m_session.workFolder() + QStringLiteral("/new");
}

bool InstallEngine::installUpdate(const QString& archivePath)
{
    m_archivePath = archivePath;
    const QString install = m_session.installFolder();
    const QString backup = backupFolder();
    const QString staging = stagingFolder();
    m_feedback.showInstallState(2102, QStringLiteral("Step: 3/5"));
    bool ok = true;
    bool keepBackup = false;

    removeTree(backup);
    removeTree(staging);

    if (install.isEmpty() || m_session.workFolder().isEmpty()) {
        ok = false;
        m_feedback.showError(updateText(2124));
    } else if (!backupInstallFolder(install, backup)) {
        ok = false;
        m_feedback.showError(updateText(2124));
    } else {
        // The backup is what a failed copy is undone from: on disk before
        // anything is overwritten.
        syncFolderFileSystem(backup);
        if (!unzipUpdate(archivePath, staging)) {
            ok = false;
            m_feedback.showError(updateText(2125));
        }
    }

    if (ok) {
        QString failed;
        const bool copied = copyNewFiles(staging, install, &failed);
        syncFolderFileSystem(install);
        if (copied) {
            deleteListedEntries(install);
            executeListedFiles(install);
            registerListedServers(install);
        } else {
            ok = false;
            m_feedback.showError(QStringLiteral("%1\n%2").arg(updateText(2126), failed));
            if (!restoreBackup(backup, install)) {
                // The backup is the only copy of what could not be put back.
                keepBackup = true;
                m_feedback.showError(updateText(kRestoreFailedTextId).arg(backup));
            }
        }
    }

    m_feedback.showInstallState(2103, QStringLiteral("Step: 4/5"));
    if (!keepBackup)
        removeTree(backup);
    removeTree(staging);
    QFile::remove(archivePath);
    QFile::remove(m_session.infPath);

    if (ok)
        m_feedback.showInstallState(2104, QStringLiteral("Step: 5/5"));
    return ok;
}

const InstallEngine::ArchiveListing& InstallEngine::listing() const
{
    if (m_listing.read)
        return m_listing;
    m_listing.read = true;
    QuaZip zip(m_archivePath.isEmpty() ? m_session.archivePath() : m_archivePath);
    if (!zip.open(QuaZip::mdUnzip))
        return m_listing;
    m_listing.opened = true;
    const QList<QuaZipFileInfo64> entries = zip.getFileInfoList64();
    for (const QuaZipFileInfo64& info : entries) {
        const QString& name = info.name;
        m_listing.totalSize += info.uncompressedSize;
        // Names that would reach outside the folders are never listed; the
        // unpack refuses the archive for them.
        if (!isSafeRelativePath(name))
            continue;
        if (name.startsWith(kUpdaterFolder)) {
            if (name != kUpdaterFolder)
                m_listing.updater.append(name);
        } else {
            m_listing.normal.append(name);
            m_listing.normalSet.insert(name);
        }
    }
    zip.close();
    return m_listing;
}

bool InstallEngine::listZipEntries(QStringList* normalEntries, QStringList* updaterEntries) const
{
    const ArchiveListing& entries = listing();
    if (!entries.opened)
        return false;
    *normalEntries += entries.normal;
    *updaterEntries += entries.updater;
    return true;
}

bool InstallEngine::backupInstallFolder(const QString& installFolder, const QString& backupFolder)
{
    if (!MakePath(backupFolder + QLatin1Char('/')))
        return false;
    const ArchiveListing& entries = listing();
    if (!entries.opened)
        return false;
    QSet<QString> created;
    for (const QString& entry : entries.normal) {
        if (QFileInfo::exists(installFolder + QLatin1Char('/') + entry))
            backedUpFiles << entry;
        else
            addedFiles << entry;
        const QStringList parts = entry.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        QString folder;
        for (int i = 0; i + 1 < parts.size(); ++i) {
            folder += (folder.isEmpty() ? QString() : QStringLiteral("/")) + parts.at(i);
            if (created.contains(folder) || entries.normalSet.contains(folder + QLatin1Char('/')))
                continue;
            if (!QFileInfo::exists(installFolder + QLatin1Char('/') + folder)) {
                created.insert(folder);
                createdFolders << folder;
            }
        }
    }
    for (const QString& folder : qAsConst(m_session.deleteFolders)) {
        if (!folder.isEmpty() && QFileInfo(installFolder + QLatin1Char('/') + folder + QLatin1Char('/')).isDir())
            backedUpFolders << folder;
    }
    for (const QString& file : qAsConst(m_session.deleteFiles)) {
        if (!file.isEmpty() && QFileInfo::exists(installFolder + QLatin1Char('/') + file))
            backedUpDeleteFiles << file;
    }
    QString failed;
    return copyListedEntries(backedUpFiles, installFolder, backupFolder, true, &failed, nullptr,
                             EntryTransfer::LinkOrCopy)
           && copyListedEntries(backedUpFolders, installFolder, backupFolder, true, &failed)
           && copyListedEntries(backedUpDeleteFiles, installFolder, backupFolder, true, &failed, nullptr,
                                EntryTransfer::LinkOrCopy);
}

void InstallEngine::reportProgress(quint32 value, bool force)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!force && m_lastProgressMs >= 0 && now - m_lastProgressMs < kProgressIntervalMs)
        return;
    m_lastProgressMs = now;
    m_feedback.setProgressValue(static_cast<int>(value));
}

bool InstallEngine::unzipUpdate(const QString& archivePath, const QString& stagingFolder)
{
    m_feedback.setProgressValue(0);
    if (!MakePath(stagingFolder + QLatin1Char('/')))
        return false;
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdUnzip))
        return false;

    // The sizes come from the central directory; no entry is read for them.
    const QList<QuaZipFileInfo64> entries = zip.getFileInfoList64();
    quint32 total = 0;
    for (const QuaZipFileInfo64& info : entries) {
        total += static_cast<quint32>(info.uncompressedSize);
        // A link would let a later entry write through it, outside the
        // folder; the archive is refused before anything is unpacked.
        if (IsLinkEntry(info)) {
            qWarning().noquote() << "Patchora : refused link entry" << info.name;
            return false;
        }
    }
    m_feedback.setProgressMaximum(static_cast<int>(total));

    std::vector<char> buffer(static_cast<size_t>(kCopyChunk));
    bool allWritten = true;
    quint32 written = 0;
    for (bool more = zip.goToFirstFile(); more && allWritten; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return false;
        const QString name = info.name;
        if (!isSafeRelativePath(name)) {
            qWarning().noquote() << "Patchora : refused archive entry" << name;
            return false;
        }
        if (IsLinkEntry(info))
            return false;
        const QString target = stagingFolder + QLatin1Char('/') + name;
        if (name.endsWith(QLatin1Char('/'))) {
            if (!MakePath(target))
                return false;
            continue;
        }
        // Archives without folder entries are common: make the parents.
        if (!MakePath(FolderPart(target)))
            return false;

        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            const QString text = updateText(2128) + QLatin1Char(' ') + name;
            if (!m_feedback.askRetry(text))
                return false;
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                m_feedback.showError(text);
                return false;
            }
        }
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly)) {
            out.close();
            return false;
        }
        qint64 entryWritten = 0;
        for (;;) {
            const qint64 got = entry.read(buffer.data(), kCopyChunk);
            if (got == 0)
                break;
            if (got < 0) {
                qWarning().noquote() << "Patchora : cannot read archive entry" << name;
                allWritten = false;
                break;
            }
            const qint64 put = out.write(buffer.data(), got);
            if (put > 0) {
                entryWritten += put;
                written += static_cast<quint32>(put);
                reportProgress(written, false);
            }
            if (put != got) {
                allWritten = false;
                break;
            }
        }
        if (!out.flush())
            allWritten = false;
        // The entry's time, taken while the file is still open for writing.
        if (info.dateTime.isValid()) {
            out.setFileTime(info.dateTime, QFileDevice::FileModificationTime);
            out.setFileTime(info.dateTime, QFileDevice::FileAccessTime);
        }
        // Keep the entry's mode bits, so that programs stay executable.
        if ((info.externalAttr >> 16) != 0)
            out.setPermissions(InstalledPermissions(info));
        out.close();
        entry.close();
        // A damaged entry shows as a CRC mismatch once it has been read whole.
        if (entry.getZipError() != UNZ_OK) {
            qWarning().noquote() << "Patchora : archive entry" << name << "is damaged (error"
                                 << entry.getZipError() << ")";
            return false;
        }
        if (!allWritten || entryWritten != static_cast<qint64>(info.uncompressedSize))
            return false;
    }
    zip.close();
    reportProgress(written, true);
    syncFolderFileSystem(stagingFolder);
    return allWritten;
}

bool InstallEngine::copyNewFiles(const QString& stagingFolder, const QString& installFolder, QString* failedEntry)
{
    QStringList normal;
    QStringList updater;
    if (!listZipEntries(&normal, &updater))
        return false;
    if (!copyListedEntries(normal, stagingFolder, installFolder, true, failedEntry, nullptr,
                           EntryTransfer::MoveOrCopy))
        return false;
    for (QString& entry : updater)
        entry.remove(kUpdaterFolder);
    const QString program = updaterProgramName();
    if (updater.size() != 1 || updater.first() != program)
        return true;

    failedEntry->clear();
    const QString current = installFolder + QLatin1Char('/') + program;
    const QString parked = installFolder + QLatin1Char('/') + parkedUpdaterProgramName();
    if (QFileInfo(parked).isFile() || QFileInfo(parked).isSymLink())
        QFile::remove(parked);
    // The running program's file can be renamed, not overwritten in place.
    // Something else under the parked name (a folder) makes the rename fail,
    // and then nothing was parked.
    if (QFileInfo::exists(current)) {
        if (QFileInfo::exists(parked) || QFileInfo(parked).isSymLink() || !QFile::rename(current, parked))
            return false;
        m_parkedUpdater = true;
    }
    QString source = stagingFolder + QLatin1Char('/') + kUpdaterFolder;
    stripTrailingSeparator(source);
    source += QLatin1Char('/') + program;
    if (QFileInfo::exists(current) || QFileInfo(current).isSymLink())
        QFile::remove(current);
    return copyRegularFile(source, current);
}

bool InstallEngine::restoreBackup(const QString& backupFolder, const QString& installFolder)
{
    bool restored = true;
    for (int i = addedFiles.size() - 1; i >= 0; --i) {
        const QString path = installFolder + QLatin1Char('/') + addedFiles.at(i);
        const QFileInfo info(path);
        if (info.isDir() && !info.isSymLink()) {
            QDir().rmdir(path);  // only when empty
            if (QDir(path).exists() && QDir(path).isEmpty())
                restored = false;
        } else if (info.exists() || info.isSymLink()) {
            if (!QFile::remove(path))
                restored = false;
        }
    }
    for (int i = createdFolders.size() - 1; i >= 0; --i)
        QDir().rmdir(installFolder + QLatin1Char('/') + createdFolders.at(i));
    bool failed = false;
    QString ignored;
    copyListedEntries(backedUpFiles, backupFolder, installFolder, false, &ignored, &failed);
    copyListedEntries(backedUpFolders, backupFolder, installFolder, false, &ignored, &failed);
    copyListedEntries(backedUpDeleteFiles, backupFolder, installFolder, false, &ignored, &failed);
    if (failed)
        restored = false;

    // Only what this run parked goes back, and only while it is still the
    // plain file it parked: anything else under that name is not ours.
    if (m_parkedUpdater) {
        const QString program = installFolder + QLatin1Char('/') + updaterProgramName();
        const QString parked = installFolder + QLatin1Char('/') + parkedUpdaterProgramName();
        const QFileInfo parkedInfo(parked);
        if (!parkedInfo.isFile() || parkedInfo.isSymLink()) {
            restored = false;
        } else {
            const QFileInfo programInfo(program);
            if ((programInfo.isFile() || programInfo.isSymLink()) && !QFile::remove(program))
                restored = false;
            else if (!QFile::rename(parked, program))
                restored = false;
            else
                m_parkedUpdater = false;
        }
    }
    return restored;
}

bool InstallEngine::deleteListedEntries(const QString& installFolder)
{
    for (const QString& file : qAsConst(m_session.deleteFiles)) {
        const QString path = installFolder + QLatin1Char('/') + file;
        if (!file.isEmpty() && QFileInfo(path).isFile())
            QFile::remove(path);
    }
    for (const QString& folder : qAsConst(m_session.deleteFolders)) {
        const QString path = installFolder + QLatin1Char('/') + folder;
        if (!folder.isEmpty() && QFileInfo(path + QLatin1Char('/')).isDir())
            RemoveEmptyFolders(path, installFolder);
    }
    return true;
}

void InstallEngine::executeListedFiles(const QString& installFolder)
{
    for (int i = 0; i < m_session.exeFiles.size(); ++i) {
        const QString& file = m_session.exeFiles.at(i);
        const QString path = installFolder + QLatin1Char('/') + file;
        int code = 0;
        if (file.isEmpty() || !QFileInfo(path).isFile()) {
            code = 2;
        } else {
            qint64 pid = 0;
            if (shellStart(QStringLiteral("open"), path, m_session.exeParams.value(i), m_session.installFolder(),
                           &pid, &code)) {
                waitForProcess(pid, kRunTimeoutMs);
                code = 0;
            }
        }
        if (code != 0) {
            m_feedback.showError(QStringLiteral("%1\n%2\n\n%3(Error Code = %4)")
                                     .arg(updateText(2129), file, systemErrorText(code), QString::number(code)));
            return;
        }
    }
}

void InstallEngine::registerListedServers(const QString& installFolder)
{
    const QString tool = RegistrationTool();
    for (const QString& library : qAsConst(m_session.regFiles)) {
        const QString parameters = QStringLiteral("/s \"%1/%2\"").arg(installFolder, library);
        qint64 pid = 0;
        int code = 0;
        if (!shellStart(QStringLiteral("open"), tool, parameters, m_session.installFolder(), &pid, &code)) {
            m_feedback.showError(QStringLiteral("%1\n\n%2(Error Code = %3)")
                                     .arg(updateText(2130), systemErrorText(code), QString::number(code)));
            return;
        }
        waitForProcess(pid, kRegisterTimeoutMs);
    }
}

bool copyListedEntries(const QStringList& entries, const QString& fromRoot, const QString& toRoot, bool stop,
                       QString* failedEntry, bool* anyFailed, EntryTransfer transfer)
{
    failedEntry->clear();
    for (const QString& entry : entries) {
        const QString source = fromRoot + QLatin1Char('/') + entry;
        const QString destination = toRoot + QLatin1Char('/') + entry;
        const QFileInfo info(source);
        bool ok = true;
        if (info.isDir()) {
            ok = MakePath(destination);
        } else if (info.exists()) {
            const QString folder = FolderPart(destination);
            ok = (QFileInfo(folder).isDir() || MakePath(folder)) && TransferFile(source, destination, transfer);
        } else {
            continue;
        }
        if (ok)
            continue;
        qWarning().noquote() << "Patchora : cannot copy" << source << "to" << destination;
        if (anyFailed)
            *anyFailed = true;
        if (stop) {
            *failedEntry = entry;
            return false;
        }
    }
    return true;
}

bool copyRegularFile(const QString& source, const QString& destination)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat status {};
    if (::fstat(in, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(in);
        return false;
    }
    // Whatever stood at the destination (a file, a link) is replaced, never
    // written through.
    ::unlink(to.constData());
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           status.st_mode & 07777);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    std::vector<char> buffer(static_cast<size_t>(kCopyChunk));
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (!WriteAll(out, buffer.data(), got)) {
            ok = false;
            break;
        }
    }
    // The mode given at creation is narrowed by the umask; the source's bits
    // are what the copy keeps.
    if (ok && ::fchmod(out, status.st_mode & 07777) != 0)
        ok = false;
    ::close(in);
    if (::close(out) != 0)
        ok = false;
    if (!ok)
        ::unlink(to.constData());
    return ok;
}

void syncFolderFileSystem(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::syncfs(fd);
    ::close(fd);
}

bool removeTree(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
        return true;
    return RemoveFolderRecursive(folder, QString());
}
