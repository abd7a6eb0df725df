#include "storage/project_file.h"

#include "storage/event_file_bytes.h"

#include "app/utilities.h"
#include "board/picture_file.h"
#include "platform/folders.h"
#include "platform/launch.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QBuffer>
#include <QSet>
#include <QHash>
#include <QThread>
#include <QtConcurrent>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace storage {

const char kNotesFileName[] = "Notes.xml";
const char kMediaListFileName[] = "StrData.dat";
const char kProjectExtension[] = ".vk";
const char kLegacyExtension[] = ".vj";

namespace {

// The packer may take its time on a large lesson, but never for ever.
constexpr int kPackerTimeoutMs = 10 * 60 * 1000;

void Log(const QString& line)
{
    qDebug().noquote() << QStringLiteral("exe : ") + line;
}

QString Int(qint64 v) { return QString::number(v); }

}  // namespace

QString FormatDouble(double v) { return QString::number(v, 'g', 6); }

// Truncated toward zero; values no int can hold (and NaN) are pinned rather
// than left to undefined behaviour.
QString FormatCoord(double v)
{
    if (std::isnan(v))
        return QStringLiteral("0");
    if (v >= double(std::numeric_limits<int>::max()))
        return Int(std::numeric_limits<int>::max());
    if (v <= double(std::numeric_limits<int>::min()))
        return Int(std::numeric_limits<int>::min());
    return Int(int(v));
}

QString FormatFlag(bool v) { return v ? QStringLiteral("1") : QStringLiteral("0"); }

namespace {

// Copies `source` into the staging folder as `name`. Only a regular file that
// is no link is read (a FIFO would block the save), and only a bare name that
// is none of the writer's own entries is written; an existing entry is kept.
// What is left out is logged; false only when the writer failed.
bool CopyEntry(StagingWriter& writer, const QString& source, const QString& name)
{
    if (!IsBareFileName(name) || IsWriterEntryName(name)) {
        Log(QStringLiteral("project save skips \"%1\": not a plain file name").arg(name));
        return true;
    }
    const QFileInfo from(source);
    if (from.isSymLink() || !from.isFile()) {
        Log(QStringLiteral("project save skips \"%1\": not a regular file").arg(source));
        return true;
    }
    const QString target = writer.folder() + QLatin1Char('/') + name;
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        Log(QStringLiteral("project save keeps the first \"%1\"").arg(name));
        return true;
    }
    return writer.StageCopy(source, name);
}

// A failed thumbnail leaves the thumbnail out (it is never read back); a
// failed write stops the save like any other.
bool WriteThumbnail(const ProjectSnapshot& project, StagingWriter& writer)
{
    const int n = project.thumbnailNote;
    if (n < 0 || n >= project.notes.size())
        return true;
    const NoteInfo& note = project.notes.at(n);
    const QString name = ThumbnailFileName(note.create_data);
    if (!IsBareFileName(name)) {
        Log(QStringLiteral("project save skips the thumbnail of \"%1\"").arg(note.create_data));
        return true;
    }
    QImage page = project.thumbnailImage;
    if (page.isNull())
        page = ReadPicture(note.imagePath).image;
    qDebug().noquote() << QStringLiteral("thumnail save name : %1").arg(QFileInfo(writer.folder()).fileName());
    if (page.isNull()) {
        Log(QStringLiteral("no page image for the thumbnail: %1").arg(note.imagePath));
        return true;
    }
    return StageThumbnail(writer, name, page);
}

QString WithoutSeparator(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

// Removes a file, link or folder tree at `path` (a link as a link); `root`
// is the folder it lies in, for the tree removal.
constexpr char kPlacingJournalSuffix[] = ".placing";
constexpr char kCopyingJournalSuffix[] = ".copying";
constexpr qint64 kMaxJournalBytes = 4096;

void RemoveLeftover(const QString& path, const QString& root)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        RemoveFolderRecursive(path, root == path ? QString() : root);
    else if (info.exists() || info.isSymLink())
        QFile::remove(path);
}

}  // namespace

bool StageThumbnail(StagingWriter& writer, const QString& name, const QImage& page)
{
    const QImage thumbnail =
        page.scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!thumbnail.save(&buffer, "JPG")) {
        Log(QStringLiteral("cannot encode the thumbnail %1").arg(name));
        return true;
    }
    return writer.StageBytes(name, jpeg);
}

QString EventFileName(int notePosition)
{
    return QStringLiteral("Event_%1.xml").arg(notePosition);
}

QString ThumbnailFileName(const QString& create)
{
    return QStringLiteral("thumbnail_%1.jpg").arg(create);
}

bool IsBareFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool IsWriterEntryName(const QString& name)
{
    if (name == QLatin1String(kNotesFileName) || name == QLatin1String(kMediaListFileName))
        return true;
    if (name.startsWith(QLatin1String("thumbnail_")) && name.endsWith(QLatin1String(".jpg")))
        return true;
    if (name.startsWith(QLatin1String("Event_")) && name.endsWith(QLatin1String(".xml"))) {
        bool number = false;
        name.mid(6, name.size() - 10).toInt(&number);
        return number;
    }
    return false;
}

QString LegacySaveName(const QString& path)
{
    QString base = path;
    if (base.endsWith(QLatin1String(kLegacyExtension), Qt::CaseInsensitive))
        base.chop(3);
    return base + QStringLiteral("_new") + QLatin1String(kProjectExtension);
}

int ThumbnailNoteIndex(const QVector<int>& pageVisits, int currentNote, int noteCount)
{
    if (noteCount <= 0)
        return -1;
    if (!pageVisits.isEmpty() && pageVisits.first() >= 0 && pageVisits.first() < noteCount)
        return pageVisits.first();
    if (currentNote >= 0 && currentNote < noteCount)
        return currentNote;
    return 0;
}

QString PrepareStagingFolder(const QString& workFolder, const QString& stamp, QString* error)
{
    if (!IsBareFileName(stamp)) {
        *error = QStringLiteral("no staging folder name");
        return QString();
    }
    const QString staging = WithoutSeparator(workFolder) + QLatin1Char('/') + stamp;
    RemoveLeftover(staging, WithoutSeparator(workFolder));
    const QString refused = platform::EnsurePrivateFolder(staging);
    if (!refused.isEmpty()) {
        *error = refused;
        return QString();
    }
    return staging;
}

bool StageEventFiles(const ProjectSnapshot& project, StagingWriter& writer, const ProgressFunction& progress)
{
    if (!WriteThumbnail(project, writer))
        return false;
    const EventFileWriter events(project);
    const int count = project.notes.size();
    // The files are made side by side and written here in note order; no
    // more are held at once than are being made, so a long lesson does not
    // sit in memory whole.
    const int window = 2 * qMax(1, QThread::idealThreadCount());
    QVector<QFuture<QByteArray>> making;
    int next = 0;
    for (int n = 0; n < count; ++n) {
        while (next < count && next < n + window) {
            making.append(QtConcurrent::run([&events, next] { return events.EventFile(next); }));
            ++next;
        }
        const QByteArray bytes = making[n].result();
        making[n] = QFuture<QByteArray>();
        if (!writer.StageBytes(EventFileName(n), bytes)) {
            // Files still being made read the snapshot: they end before it goes.
            for (QFuture<QByteArray>& pending : making)
                pending.waitForFinished();
            return false;
        }
        progress(QStringLiteral("Save Event(%1/%2)").arg(n).arg(count), n);
    }
    return true;
}

bool StageNoteList(const ProjectSnapshot& project, StagingWriter& writer, const ProgressFunction& progress)
{
    const int count = project.notes.size();
    for (int n = 0; n < count; ++n) {
        const NoteInfo& note = project.notes.at(n);
        if ((note.type == 2 || note.type == 3) && !CopyEntry(writer, note.path, note.name))
            return false;
        progress(QStringLiteral("Save Notes(%1/%2)").arg(n).arg(count), count + n);
    }
    return writer.StageBytes(QLatin1String(kNotesFileName), NotesXmlBytes(project.notes));
}

StagedMedia StagedMediaNames(const ProjectSnapshot& project)
{
    StagedMedia staged;
    QSet<QString> taken;
    // A picture that is also a page background is one entry.
    QHash<QString, QString> nameOfPath;
    for (const NoteInfo& note : project.notes) {
        if (note.type == 2 || note.type == 3) {
            taken.insert(note.name);
            if (!nameOfPath.contains(note.path))
                nameOfPath.insert(note.path, note.name);
        }
    }
    for (const QString& entry : project.mediaFiles) {
        const QString bare = QFileInfo(entry).fileName();
        QString name = nameOfPath.value(entry);
        if (name.isEmpty()) {
            name = bare;
            // Two pictures of one bare name from different folders are two
            // entries: the later one gets a name of its own.
            if (IsBareFileName(bare) && !IsWriterEntryName(bare) && taken.contains(bare)) {
                const QFileInfo parts(bare);
                const QString stem = parts.completeBaseName();
                const QString suffix = parts.suffix().isEmpty() ? QString() : QLatin1Char('.') + parts.suffix();
                for (int k = 2; taken.contains(name); ++k)
                    name = QStringLiteral("%1_%2%3").arg(stem).arg(k).arg(suffix);
            }
            taken.insert(name);
            nameOfPath.insert(entry, name);
        }
        staged.names.append(name);
        // The list line keeps the held path; a renamed entry carries its new
        // name, which is all the reader takes from the line.
        staged.listLines.append(name == bare ? entry : entry.left(entry.size() - bare.size()) + name);
    }
    return staged;
}

bool StageMediaList(const ProjectSnapshot& project, StagingWriter& writer, const ProgressFunction& progress)
{
    const StagedMedia staged = StagedMediaNames(project);
    if (!writer.StageBytes(QLatin1String(kMediaListFileName), MediaListBytes(staged.listLines)))
        return false;
    const int count = project.notes.size();
    const int mediaCount = project.mediaFiles.size();
    for (int i = 0; i < mediaCount; ++i) {
        if (!CopyEntry(writer, project.mediaFiles.at(i), staged.names.at(i)))
            return false;
        progress(QStringLiteral("Save Objects(%1/%2)").arg(i).arg(mediaCount), 2 * count + i);
    }
    return true;
}

QString PendingArchivePath(const QString& workFolder, const QString& stamp)
{
    return WithoutSeparator(workFolder) + QLatin1Char('/') + stamp + QStringLiteral(".packing.zip");
}

void RemoveStagingFolder(const QString& workFolder, const QString& stamp)
{
    if (!IsBareFileName(stamp))
        return;
    const QString work = WithoutSeparator(workFolder);
    RemoveLeftover(work + QLatin1Char('/') + stamp, work);
}

QString PlacingJournalPath(const QString& workFolder, const QString& stamp)
{
    return WithoutSeparator(workFolder) + QLatin1Char('/') + stamp + QLatin1String(kPlacingJournalSuffix);
}

QString CopyingJournalPath(const QString& workFolder, const QString& stamp)
{
    return WithoutSeparator(workFolder) + QLatin1Char('/') + stamp + QLatin1String(kCopyingJournalSuffix);
}

void RemoveAbandonedSaves(const QString& workFolder)
{
    const QString work = WithoutSeparator(workFolder);
    // A hard-linked lesson cut short in its in-place copy is finished first,
    // from the complete file beside it: nothing may take that file away
    // before.
    QSet<QString> keptPending;
    const QStringList copies =
        QDir(work).entryList({QStringLiteral("*") + QLatin1String(kCopyingJournalSuffix)},
                             QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : copies) {
        const QString note = work + QLatin1Char('/') + name;
        QString pending;
        if (FinishInPlaceCopy(note, &pending))
            QFile::remove(note);
        else
            keptPending.insert(pending);
    }
    const QStringList journals =
        QDir(work).entryList({QStringLiteral("*") + QLatin1String(kPlacingJournalSuffix)},
                             QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : journals) {
        const QString journal = work + QLatin1Char('/') + name;
        const QFileInfo info(journal);
        if (info.isSymLink() || !info.isFile())
            continue;
        QFile file(journal);
        if (file.open(QIODevice::ReadOnly)) {
            // A path, no more: a longer note is nothing a save wrote.
            const QString pending = QFile::decodeName(file.read(kMaxJournalBytes));
            file.close();
            if (QFileInfo(pending).isAbsolute() && !keptPending.contains(pending) && IsAbandonedPendingSave(pending)) {
                if (QFile::remove(pending))
                    qDebug().noquote() << QStringLiteral("exe : removed what an interrupted save left: %1").arg(pending);
                else
                    qDebug().noquote() << QStringLiteral("exe : cannot remove what an interrupted save left: %1").arg(pending);
            }
        }
        QFile::remove(journal);
    }
}

ProjectSaveResult PackProject(const QString& workFolder, const QString& stamp, const QString& target,
                              bool keepStaging)
{
    ProjectSaveResult result;
    const QString work = WithoutSeparator(workFolder);
    const QString staging = work + QLatin1Char('/') + stamp;
    // The archive is made in the work folder, where the packer's own
    // temporary files stay too: a save killed half way leaves nothing in the
    // user's folder.
    const QString archive = PendingArchivePath(work, stamp);
    // The packer adds to an archive that exists; a leftover of an earlier
    // save must not end up inside this one.
    RemoveLeftover(archive, QString());

    const QStringList arguments{QStringLiteral("-rm"), QStringLiteral("-j"), archive,
                                QStringLiteral("./%1").arg(stamp)};
    qDebug().noquote() << QStringLiteral("exe : zip %1").arg(arguments.join(QLatin1Char(' ')));
    QByteArray output;
    const int exitCode = platform::RunAndWait(QStringLiteral("zip.exe"), arguments, kPackerTimeoutMs, &output, work);
    const QFileInfo packed(archive);
    const QFileInfo left(staging);
    // The packer moves every file it took; one left behind was not packed.
    const bool everythingPacked = !left.exists() || QDir(staging).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    bool archiveWritten = false;
    if (exitCode != 0 || packed.isSymLink() || !packed.isFile()) {
        if (exitCode == -1 && platform::ResolveProgram(QStringLiteral("zip.exe")).isEmpty())
            result.error = QStringLiteral("the zip program was not found");
        else if (output.contains("No space left") || output.contains("zip I/O error"))
            result.error = WriteFailureText(archive, ENOSPC);
        else
            result.error = QStringLiteral("the zip program failed (exit code %1) %2")
                               .arg(exitCode).arg(QString::fromLocal8Bit(output).trimmed());
    } else if (!everythingPacked) {
        result.error = QStringLiteral("the zip program left files out of the archive");
    } else {
        archiveWritten = true;
        // Until the archive is in place, a note in the work folder names the
        // pending file beside the target, so that the next start removes it
        // when this save is killed half way.
        const QString journal = PlacingJournalPath(work, stamp);
        RemoveLeftover(journal, QString());
        StagingWriter journalWriter(work);
        if (!journalWriter.StageBytes(QFileInfo(journal).fileName(),
                                      QFile::encodeName(PendingSavePath(ResolvedSaveTarget(target)))))
            qDebug().noquote() << QStringLiteral("exe : no note of the pending save: %1").arg(journalWriter.error());
        QString placeError;
        if (PlaceArchive(archive, target, CopyingJournalPath(work, stamp), &placeError))
            result.saved = true;
        else
            result.error = placeError;
        RemoveLeftover(journal, QString());
    }
    // The packer has moved the files into a written archive: a caller that
    // keeps what it staged keeps that archive too.
    if (result.saved || !(keepStaging && archiveWritten))
        RemoveLeftover(archive, QString());
    // A packer that failed leaves the staged files; one that worked has
    // moved them (and the emptied folder) away already.
    if (!keepStaging || result.saved)
        RemoveLeftover(staging, work);
    return result;
}

ProjectSaveResult SaveProjectFile(const ProjectSnapshot& project, const QString& workFolder, const QString& stamp,
                                  const QString& target, const ProgressFunction& progress)
{
    ProjectSaveResult result;
    const QString staging = PrepareStagingFolder(workFolder, stamp, &result.error);
    if (staging.isEmpty())
        return result;
    StagingWriter writer(staging);
    if (!StageEventFiles(project, writer, progress) || !StageNoteList(project, writer, progress)
        || !StageMediaList(project, writer, progress)) {
        result.error = writer.error();
        RemoveStagingFolder(workFolder, stamp);
        return result;
    }
    return PackProject(workFolder, stamp, target);
}

}  // namespace storage
