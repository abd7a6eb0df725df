#include "storage/staging_writer.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {

namespace {

constexpr qint64 kCopyChunk = 256 * 1024;

void Log(const QString& line)
{
    qDebug().noquote() << QStringLiteral("exe : ") + line;
}

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

QString SystemText(int errorNumber) { return QString::fromLocal8Bit(std::strerror(errorNumber)); }

// Writes all of `size` bytes; false with errno set when the system took
// fewer.
bool WriteAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

enum class CopyFailure { None, Read, Write };

// Copies what `in` holds to `out`; errno tells why it stopped.
CopyFailure CopyDescriptor(int in, int out)
{
    QByteArray chunk(int(kCopyChunk), Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(in, chunk.data(), size_t(chunk.size()));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return CopyFailure::Read;
        }
        if (got == 0)
            return CopyFailure::None;
        if (!WriteAll(out, chunk.constData(), got))
            return CopyFailure::Write;
    }
}

// A regular file that is no link, opened for reading without blocking on
// a FIFO or device planted under its name.
int OpenRegularForReading(const QString& path, int* errorNumber)
{
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *errorNumber = errno;
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *errorNumber = EINVAL;
        return -1;
    }
    return fd;
}

bool SyncFolder(const QString& folder, int* errorNumber)
{
    const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        *errorNumber = errno;
        return false;
    }
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
    if (!synced)
        *errorNumber = errno;
    ::close(fd);
    return synced;
}

// Closes `fd` after flushing it to disk when `sync`; false with errno set.
bool FinishFile(int fd, bool sync)
{
    if (sync && ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return false;
    }
    return ::close(fd) == 0;
}

}  // namespace

QString WriteFailureText(const QString& path, int errorNumber)
{
    if (errorNumber == ENOSPC || errorNumber == EDQUOT)
        return QStringLiteral("the disk is full (%1)").arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    return QStringLiteral("\"%1\" cannot be written: %2")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), SystemText(errorNumber));
}

StagingWriter::StagingWriter(const QString& folder)
    : m_folder(folder)
{
}

bool StagingWriter::Fail(const QString& path, int errorNumber)
{
    return FailWith(WriteFailureText(path, errorNumber));
}

bool StagingWriter::FailWith(const QString& text)
{
    if (m_error.isEmpty()) {
        m_error = text;
        Log(QStringLiteral("staging stopped: %1").arg(text));
    }
    return false;
}

bool StagingWriter::StageBytes(const QString& name, const QByteArray& bytes)
{
    if (!ok())
        return false;
    const QString path = m_folder + QLatin1Char('/') + name;
    // The staging folder is ours alone; the files themselves get the usual
    // mode, which the archive keeps: a package unpacked for the player must
    // stay readable to the web server's workers.
    const int fd = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return Fail(path, errno);
    if (!WriteAll(fd, bytes.constData(), bytes.size())) {
        const int saved = errno;
        ::close(fd);
        return Fail(path, saved);
    }
    if (!FinishFile(fd, false))
        return Fail(path, errno);
    return true;
}

bool StagingWriter::StageWith(const QString& name, const std::function<void(QIODevice*)>& write)
{
    if (!ok())
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(&buffer);
    buffer.close();
    return StageBytes(name, bytes);
}

bool StagingWriter::StageCopy(const QString& source, const QString& name)
{
    if (!ok())
        return false;
    int readError = 0;
    const int in = OpenRegularForReading(source, &readError);
    if (in < 0)
        return FailWith(QStringLiteral("\"%1\" cannot be read: %2")
                            .arg(QDir::toNativeSeparators(source), SystemText(readError)));
    const QString path = m_folder + QLatin1Char('/') + name;
    const int out = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (out < 0) {
        const int saved = errno;
        ::close(in);
        return Fail(path, saved);
    }
    const CopyFailure failure = CopyDescriptor(in, out);
    const int saved = errno;
    ::close(in);
    if (failure != CopyFailure::None) {
        ::close(out);
        if (failure == CopyFailure::Read)
            return FailWith(QStringLiteral("\"%1\" cannot be read: %2")
                                .arg(QDir::toNativeSeparators(source), SystemText(saved)));
        return Fail(path, saved);
    }
    if (!FinishFile(out, false))
        return Fail(path, errno);
    return true;
}

QString ResolvedSaveTarget(const QString& target)
{
    const QFileInfo info(target);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A link to a file not made yet: the save makes the file it names.
    return info.symLinkTarget();
}

namespace {

const char kPendingSuffix[] = ".saving";

bool IsPendingSaveName(const QString& name)
{
    // "." + the lesson's name (one character at least) + ".saving".
    const int suffixSize = int(sizeof(kPendingSuffix) - 1);
    return name.size() > 1 + suffixSize && name.startsWith(QLatin1Char('.'))
        && name.endsWith(QLatin1String(kPendingSuffix));
}

}  // namespace

QString PendingSavePath(const QString& resolvedTarget)
{
    const QFileInfo info(resolvedTarget);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1String(kPendingSuffix);
}

bool IsAbandonedPendingSave(const QString& path)
{
    if (!IsPendingSaveName(QFileInfo(path).fileName()))
        return false;
    struct stat st;
    return ::lstat(Native(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1
        && st.st_uid == ::geteuid();
}

void RemoveAbandonedPendingSaves(const QString& folder)
{
    const QStringList names =
        QDir(folder).entryList({QStringLiteral(".*") + QLatin1String(kPendingSuffix)},
                               QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QString path = folder + QLatin1Char('/') + name;
        if (!IsAbandonedPendingSave(path))
            continue;
        if (::unlink(Native(path).constData()) == 0)
            Log(QStringLiteral("removed what an interrupted save left: %1").arg(path));
        else
            Log(QStringLiteral("cannot remove what an interrupted save left: %1: %2").arg(path, SystemText(errno)));
    }
}

namespace {

// A note is three short lines; anything longer is nothing a save wrote.
constexpr qint64 kMaxCopyNoteBytes = 3 * 4096;

// Writes `bytes` as the file `path` (never through a link there), flushed to
// disk with its folder; false with `*errorNumber`.
bool WriteFlushedFile(const QString& path, const QByteArray& bytes, int* errorNumber)
{
    const int fd = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *errorNumber = errno;
        return false;
    }
    if (!WriteAll(fd, bytes.constData(), bytes.size())) {
        *errorNumber = errno;
        ::close(fd);
        return false;
    }
    if (!FinishFile(fd, true)) {
        *errorNumber = errno;
        return false;
    }
    return SyncFolder(QFileInfo(path).absolutePath(), errorNumber);
}

// Copies all of `in` (at its start, `size` bytes) over the file `target` in
// place, as every hard link of it sees it, and flushes it. Room for the
// larger file is taken first: a disk too full for it fails with the file
// untouched (`*touched` false). Once bytes went in, a failure leaves the
// file half written.
bool CopyInPlace(int in, const QString& target, qint64 size, int* errorNumber, bool* touched)
{
    *touched = false;
    const int out = ::open(Native(target).constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (out < 0 || ::fstat(out, &st) != 0 || !S_ISREG(st.st_mode)) {
        *errorNumber = out < 0 ? errno : EINVAL;
        if (out >= 0)
            ::close(out);
        return false;
    }
    if (size > st.st_size) {
        const int reserved = ::posix_fallocate(out, st.st_size, size - st.st_size);
        if (reserved != 0 && reserved != EINVAL && reserved != EOPNOTSUPP) {
            // What the reservation added is given back; the old bytes were
            // never touched.
            if (::ftruncate(out, st.st_size) != 0)
                Log(QStringLiteral("cannot give back the room taken for %1: %2").arg(target, SystemText(errno)));
            ::close(out);
            *errorNumber = reserved;
            return false;
        }
    }
    *touched = true;
    bool copied = CopyDescriptor(in, out) == CopyFailure::None;
    int saved = errno;
    if (copied) {
        const off_t end = ::lseek(out, 0, SEEK_CUR);
        if (end < 0 || ::ftruncate(out, end) != 0) {
            saved = errno;
            copied = false;
        }
    }
    if (!FinishFile(out, true) && copied) {
        saved = errno;
        copied = false;
    }
    if (!copied)
        *errorNumber = saved;
    return copied;
}

QByteArray CopyNoteBytes(const QString& pending, const QString& target, qint64 size)
{
    return Native(pending) + '\n' + Native(target) + '\n' + QByteArray::number(size) + '\n';
}

// The complete, flushed `pending` beside the hard-linked `target` goes into
// it in place. The note in the work folder says so before the first byte
// goes in, so that a copy cut short is finished at the next start; pending
// file and note go once the copy is on disk.
bool CopyPendingInPlace(const QString& pending, const QString& target, const QString& copyNote, QString* error)
{
    const QString folder = QFileInfo(pending).absolutePath();
    struct stat st;
    int failure = 0;
    if (::lstat(Native(pending).constData(), &st) != 0 || !SyncFolder(folder, &failure)
        || !WriteFlushedFile(copyNote, CopyNoteBytes(pending, target, st.st_size), &failure)) {
        if (failure == 0)
            failure = errno;
        ::unlink(Native(pending).constData());
        ::unlink(Native(copyNote).constData());
        *error = WriteFailureText(target, failure);
        return false;
    }
    int readError = 0;
    const int in = OpenRegularForReading(pending, &readError);
    bool touched = false;
    const bool copied = in >= 0 && CopyInPlace(in, target, st.st_size, &failure, &touched);
    if (in < 0)
        failure = readError;
    else
        ::close(in);
    if (!copied && touched) {
        *error = WriteFailureText(target, failure)
            + QStringLiteral("; the complete lesson is kept in \"%1\" and put in place at the next start")
                  .arg(QDir::toNativeSeparators(pending));
        return false;
    }
    ::unlink(Native(pending).constData());
    if (!SyncFolder(folder, &readError))
        Log(QStringLiteral("cannot flush the folder %1: %2").arg(folder, SystemText(readError)));
    ::unlink(Native(copyNote).constData());
    if (!copied)
        *error = WriteFailureText(target, failure);
    return copied;
}

}  // namespace

bool FinishInPlaceCopy(const QString& copyNote, QString* keptPending)
{
    struct stat st;
    if (::lstat(Native(copyNote).constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxCopyNoteBytes)
        return true;
    QFile file(copyNote);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray bytes = file.read(kMaxCopyNoteBytes);
    file.close();
    // A note is written whole before the copy starts: one cut short means
    // the lesson was not touched yet.
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() != 4 || !lines.at(3).isEmpty())
        return true;
    const QString pending = QFile::decodeName(lines.at(0));
    const QString target = QFile::decodeName(lines.at(1));
    bool number = false;
    const qint64 size = lines.at(2).toLongLong(&number);
    if (!number || !QFileInfo(target).isAbsolute() || pending != PendingSavePath(target))
        return true;
    struct stat pendingStat;
    // Gone: the copy was finished and its pending file removed.
    if (!IsAbandonedPendingSave(pending) || ::lstat(Native(pending).constData(), &pendingStat) != 0
        || pendingStat.st_size != size)
        return true;
    int failure = 0;
    const int in = OpenRegularForReading(pending, &failure);
    bool touched = false;
    if (in < 0 || !CopyInPlace(in, target, size, &failure, &touched)) {
        if (in >= 0)
            ::close(in);
        Log(QStringLiteral("cannot finish the interrupted save of %1: %2; its lesson is kept in %3")
                .arg(target, SystemText(failure), pending));
        *keptPending = pending;
        return false;
    }
    ::close(in);
    ::unlink(Native(pending).constData());
    int folderError = 0;
    if (!SyncFolder(QFileInfo(pending).absolutePath(), &folderError))
        Log(QStringLiteral("cannot flush the folder of %1: %2").arg(pending, SystemText(folderError)));
    Log(QStringLiteral("finished the interrupted save of %1").arg(target));
    return true;
}

bool PlaceArchive(const QString& archive, const QString& target, const QString& copyNote, QString* error)
{
    const QString resolved = ResolvedSaveTarget(target);
    const QFileInfo resolvedInfo(resolved);
    const QString folder = resolvedInfo.absolutePath();
    struct stat old;
    const bool exists = ::lstat(Native(resolved).constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        *error = QStringLiteral("\"%1\" is not a regular file").arg(QDir::toNativeSeparators(resolved));
        return false;
    }
    int readError = 0;
    const int in = OpenRegularForReading(archive, &readError);
    if (in < 0) {
        *error = QStringLiteral("the packed archive cannot be read: %1").arg(SystemText(readError));
        return false;
    }

    // A save killed before its rename left its pending file here; it is
    // never the lesson, which stays under its own name until the rename.
    RemoveAbandonedPendingSaves(folder);
    const QString pending = PendingSavePath(resolved);
    const int out = ::open(Native(pending).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (out < 0) {
        *error = WriteFailureText(pending, errno);
        ::close(in);
        return false;
    }
    int saved = 0;
    bool written = true;
    if (exists) {
        // The new file is what the old one was to its owner and its readers.
        if (::fchmod(out, old.st_mode & 07777) != 0)
            Log(QStringLiteral("cannot keep the mode of %1: %2").arg(resolved, SystemText(errno)));
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::fchown(out, old.st_uid, old.st_gid) != 0)
            Log(QStringLiteral("cannot keep the owner of %1: %2").arg(resolved, SystemText(errno)));
    }
    if (CopyDescriptor(in, out) != CopyFailure::None) {
        saved = errno;
        written = false;
    }
    ::close(in);
    if (!FinishFile(out, true) && written) {
        saved = errno;
        written = false;
    }
    // Every other name of a hard-linked file must keep seeing the lesson,
    // so such a file gets the new bytes in place, from the complete copy.
    if (written && exists && old.st_nlink > 1)
        return CopyPendingInPlace(pending, resolved, copyNote, error);
    if (written && std::rename(Native(pending).constData(), Native(resolved).constData()) != 0) {
        saved = errno;
        written = false;
    }
    if (!written) {
        ::unlink(Native(pending).constData());
        *error = WriteFailureText(resolved, saved);
        return false;
    }
    int folderError = 0;
    if (!SyncFolder(folder, &folderError))
        Log(QStringLiteral("cannot flush the folder %1: %2").arg(folder, SystemText(folderError)));
    return true;
}

}  // namespace storage
