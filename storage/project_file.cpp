#include "storage/project_file.h"

#include "storage/event_file_bytes.h"

#include "app/utilities.h"
#include "platform/folders.h"
#include "platform/launch.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtConcurrent>
#include <QXmlStreamWriter>

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

void StartXmlDocument(QXmlStreamWriter& xml)
{
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    xml.writeStartDocument();
}

void OpenSlotGroup(QXmlStreamWriter& xml, const char* tag, int slot)
{
    xml.writeStartElement(QStringLiteral("%1_%2").arg(QLatin1String(tag)).arg(slot));
    xml.writeAttribute(QStringLiteral("Type"), QLatin1String(tag));
    xml.writeAttribute(QStringLiteral("Index"), Int(slot));
}

void WriteMasterRecord(QXmlStreamWriter& xml, const EventMaster& em)
{
    xml.writeStartElement(QStringLiteral("EM"));
    xml.writeAttribute(QStringLiteral("KD"), Int(em.Kind));
    xml.writeAttribute(QStringLiteral("MP"), FormatDouble(em.MediaPos));
    xml.writeAttribute(QStringLiteral("SD"), Int(em.StrData));
    xml.writeAttribute(QStringLiteral("EI"), Int(em.EventID));
    xml.writeAttribute(QStringLiteral("SC"), FormatDouble(em.SCale));
    xml.writeAttribute(QStringLiteral("HS"), Int(em.HScroll));
    xml.writeAttribute(QStringLiteral("VS"), Int(em.VScroll));
    xml.writeEndElement();
}

namespace {

bool WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
        || !file.flush()) {
        Log(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        Log(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

// Copies `source` into `folder` as `name`. Only a regular file that is no
// link is read (a FIFO would block the save), and only a bare name that is
// none of the writer's own entries is written; an existing entry is kept.
void CopyEntry(const QString& source, const QString& folder, const QString& name)
{
    if (!IsBareFileName(name) || IsWriterEntryName(name)) {
        Log(QStringLiteral("project save skips \"%1\": not a plain file name").arg(name));
        return;
    }
    const QFileInfo from(source);
    if (from.isSymLink() || !from.isFile()) {
        Log(QStringLiteral("project save skips \"%1\": not a regular file").arg(source));
        return;
    }
    const QString target = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        Log(QStringLiteral("project save keeps the first \"%1\"").arg(name));
        return;
    }
    if (!QFile::copy(source, target))
        Log(QStringLiteral("project save cannot copy \"%1\"").arg(source));
}

void WriteThumbnail(const ProjectSnapshot& project, const QString& staging)
{
    const int n = project.thumbnailNote;
    if (n < 0 || n >= project.notes.size())
        return;
    const NoteInfo& note = project.notes.at(n);
    const QString name = ThumbnailFileName(note.create_data);
    if (!IsBareFileName(name)) {
        Log(QStringLiteral("project save skips the thumbnail of \"%1\"").arg(note.create_data));
        return;
    }
    QImage page = project.thumbnailImage;
    if (page.isNull())
        page = QImage(note.imagePath);
    qDebug().noquote() << QStringLiteral("thumnail save name : %1").arg(QFileInfo(staging).fileName());
    if (page.isNull()) {
        Log(QStringLiteral("no page image for the thumbnail: %1").arg(note.imagePath));
        return;
    }
    const QImage thumbnail =
        page.scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!thumbnail.save(staging + QLatin1Char('/') + name))
        Log(QStringLiteral("cannot write the thumbnail %1").arg(name));
}

QString WithoutSeparator(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

// Removes a file, link or folder tree at `path` (a link as a link); `root`
// is the folder it lies in, for the tree removal.
void RemoveLeftover(const QString& path, const QString& root)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        RemoveFolderRecursive(path, root == path ? QString() : root);
    else if (info.exists() || info.isSymLink())
        QFile::remove(path);
}

bool RenameOver(const QString& from, const QString& to)
{
    // rename(2) replaces the target in one step (a link there is replaced,
    // not followed); QFile::rename refuses an existing target.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

}  // namespace

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

void StageEventFiles(const ProjectSnapshot& project, const QString& staging, const ProgressFunction& progress)
{
    WriteThumbnail(project, staging);
    const EventFileWriter writer(project);
    const int count = project.notes.size();
    // The files are made side by side and written here in note order; no
    // more are held at once than are being made, so a long lesson does not
    // sit in memory whole.
    const int window = 2 * qMax(1, QThread::idealThreadCount());
    QVector<QFuture<QByteArray>> making;
    int next = 0;
    for (int n = 0; n < count; ++n) {
        while (next < count && next < n + window) {
            making.append(QtConcurrent::run([&writer, next] { return writer.EventFile(next); }));
            ++next;
        }
        WriteWholeFile(staging + QLatin1Char('/') + EventFileName(n), making[n].result());
        making[n] = QFuture<QByteArray>();
        progress(QStringLiteral("Save Event(%1/%2)").arg(n).arg(count), n);
    }
}

void StageNoteList(const ProjectSnapshot& project, const QString& staging, const ProgressFunction& progress)
{
    const int count = project.notes.size();
    for (int n = 0; n < count; ++n) {
        const NoteInfo& note = project.notes.at(n);
        if (note.type == 2 || note.type == 3)
            CopyEntry(note.path, staging, note.name);
        progress(QStringLiteral("Save Notes(%1/%2)").arg(n).arg(count), count + n);
    }
    WriteWholeFile(staging + QLatin1Char('/') + QLatin1String(kNotesFileName), NotesXmlBytes(project.notes));
}

void StageMediaList(const ProjectSnapshot& project, const QString& staging, const ProgressFunction& progress)
{
    if (!WriteWholeFile(staging + QLatin1Char('/') + QLatin1String(kMediaListFileName),
                        MediaListBytes(project.mediaFiles)))
        return;
    const int count = project.notes.size();
    const int mediaCount = project.mediaFiles.size();
    for (int i = 0; i < mediaCount; ++i) {
        const QString& entry = project.mediaFiles.at(i);
        CopyEntry(entry, staging, QFileInfo(entry).fileName());
        progress(QStringLiteral("Save Objects(%1/%2)").arg(i).arg(mediaCount), 2 * count + i);
    }
}

QString PendingArchivePath(const QString& target)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".saving.zip");
}

ProjectSaveResult PackProject(const QString& workFolder, const QString& stamp, const QString& target,
                              bool keepStaging)
{
    ProjectSaveResult result;
    const QString work = WithoutSeparator(workFolder);
    const QString staging = work + QLatin1Char('/') + stamp;
    const QString archive = PendingArchivePath(target);
    // The packer adds to an archive that exists; a leftover of an earlier
    // save must not end up inside this one.
    RemoveLeftover(archive, QString());

    const QStringList arguments{QStringLiteral("-rm"), QStringLiteral("-j"), archive,
                                QStringLiteral("./%1").arg(stamp)};
    qDebug().noquote() << QStringLiteral("exe : zip %1").arg(arguments.join(QLatin1Char(' ')));
    QByteArray output;
    const int exitCode = platform::RunAndWait(QStringLiteral("zip.exe"), arguments, kPackerTimeoutMs, &output, work);
    const QFileInfo packed(archive);
    bool archiveWritten = false;
    if (exitCode != 0 || packed.isSymLink() || !packed.isFile()) {
        if (exitCode == -1 && platform::ResolveProgram(QStringLiteral("zip.exe")).isEmpty())
            result.error = QStringLiteral("the zip program was not found");
        else
            result.error = QStringLiteral("the zip program failed (exit code %1) %2")
                               .arg(exitCode).arg(QString::fromLocal8Bit(output).trimmed());
    } else if (!RenameOver(archive, target)) {
        result.error = QStringLiteral("the new archive could not replace the file (%1)")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)));
        archiveWritten = true;
    } else {
        result.saved = true;
    }
    // The packer has moved the files into a written archive: a caller that
    // keeps what it staged keeps that archive too.
    if (!result.saved && !(keepStaging && archiveWritten))
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
    StageEventFiles(project, staging, progress);
    StageNoteList(project, staging, progress);
    StageMediaList(project, staging, progress);
    return PackProject(workFolder, stamp, target);
}

}  // namespace storage
