#include "storage/contents_package.h"

#include "board/event_kind.h"
#include "board/note_pages.h"
#include "board/page_background.h"
#include "board/picture_file.h"
#include "platform/folders.h"
#include "storage/event_file_bytes.h"
#include "storage/pdf_libraries.h"
#include "storage/xml_bytes.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace storage {

const char kPackageExtension[] = ".iic";
const char kPackageVideoName[] = "video.mp4";
const char kPackageAudioName[] = "audio.mp3";

namespace {

const char kNewEventFileName[] = "New_Event.xml";

void Log(const QString& line)
{
    qDebug().noquote() << QStringLiteral("exe : ") + line;
}

void WriteRect(XmlBytes& xml, const char* x, const char* y, const char* w, const char* h, const QRect& r)
{
    xml.intAttribute(x, r.x());
    xml.intAttribute(y, r.y());
    xml.intAttribute(w, r.width());
    xml.intAttribute(h, r.height());
}

bool AltPointSet(double x, double y) { return x != -1.0 && y != -1.0; }

bool AltRectSet(const QRect& r)
{
    return r.x() != -1 && r.y() != -1 && r.width() != -1 && r.height() != -1;
}

// The second rectangle of an erase or edit record stands for the group's
// last member of a group of more than one.
bool UsesGroupRect(int groupIndex, int groupTotal) { return groupTotal != 1 && groupIndex == groupTotal; }

void WriteDetail(XmlBytes& xml, const EventDetail& ed)
{
    const bool altS = AltPointSet(ed.AltSX, ed.AltSY);
    const bool altE = AltPointSet(ed.AltEX, ed.AltEY);
    xml.startElement("ED");
    xml.intAttribute("EI", ed.EventID);
    xml.doubleAttribute("SX", altS ? ed.AltSX : ed.S.x());
    xml.doubleAttribute("SY", altS ? ed.AltSY : ed.S.y());
    xml.doubleAttribute("EX", altE ? ed.AltEX : ed.E.x());
    xml.doubleAttribute("EY", altE ? ed.AltEY : ed.E.y());
    WriteRect(xml, "OX", "OY", "OW", "OH", AltRectSet(ed.AltRect) ? ed.AltRect : ed.OriginRF);
    xml.colorAttribute("PC", ed.PenColor.rgb());
    xml.intAttribute("PW", ed.PenWidth);
    xml.doubleAttribute("OA", double(ed.ExportAngle));
    xml.intAttribute("BD", ed.PageDeleted != 0 ? 1 : 0);
    xml.intAttribute("MD", ed.Modified != 0 ? 1 : 0);
    xml.intAttribute("TP", ed.Transparent);
    xml.endElement();
}

void WriteErase(XmlBytes& xml, const ErasePoint& ep)
{
    xml.startElement("EP");
    xml.intAttribute("EI", ep.EventID);
    xml.doubleAttribute("MP", ep.MediaPos);
    xml.intAttribute("EK", ep.EraseKind);
    WriteRect(xml, "BX", "BY", "BW", "BH", UsesGroupRect(ep.GroupIndex, ep.GroupTotal) ? ep.GroupRect : ep.BoundRF);
    xml.doubleAttribute("AG", double(ep.Angle));
    xml.intAttribute("GI", ep.GroupIndex);
    xml.intAttribute("GT", ep.GroupTotal);
    xml.endElement();
}

void WriteModify(XmlBytes& xml, const ModifyPoint& me)
{
    xml.startElement("ME");
    xml.intAttribute("EI", me.EventID);
    xml.doubleAttribute("MP", me.MediaPos);
    xml.intAttribute("KD", me.Kind);
    xml.intAttribute("MK", me.ModifyKind);
    xml.coordAttribute("MX", me.M.x());
    xml.coordAttribute("MY", me.M.y());
    xml.coordAttribute("CX", me.C.x());
    xml.coordAttribute("CY", me.C.y());
    WriteRect(xml, "BX", "BY", "BW", "BH", me.BoundRF);
    xml.intAttribute("SD", me.StrData);
    xml.doubleAttribute("AG", double(me.Angle));
    WriteRect(xml, "PX", "PY", "PW", "PH",
              UsesGroupRect(me.GroupIndex, me.GroupTotal) ? me.GroupRect : me.PrevBoundRF);
    xml.doubleAttribute("PG", double(me.PrevAngle));
    xml.intAttribute("GI", me.GroupIndex);
    xml.intAttribute("GT", me.GroupTotal);
    xml.endElement();
}

void WritePoint(XmlBytes& xml, const FreePenPoint& p)
{
    StartPointRecord(xml, p);
    xml.doubleAttribute("SX", p.S.x());
    xml.doubleAttribute("SY", p.S.y());
    xml.endElement();
}

// Event ids are unique within a slot, so a set per slot selects each record
// once, in one look-up instead of a walk over every id written.
using IdSet = QSet<quint16>;

// Writes the records of `records` whose id is in `ids`, in table order, in a
// group of their own; `also` sees each written record.
template <typename Record, typename WriteOne, typename Also>
void WriteSelected(XmlBytes& xml, const char* tag, int slot, const QVector<Record>& records, const IdSet& ids,
                   WriteOne writeOne, Also also)
{
    if (ids.isEmpty())
        return;
    bool open = false;
    for (const Record& record : records) {
        if (!ids.contains(record.EventID))
            continue;
        if (!open) {
            OpenSlotGroup(xml, tag, slot);
            open = true;
        }
        writeOne(xml, record);
        also(record);
    }
    if (open)
        xml.endElement();
}

bool IsRegularFile(const QString& path)
{
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile();
}

// Names of files the package writer makes itself; a media file of such a
// name would replace one of them.
bool IsPackageEntryName(const QString& name, const QString& recordName)
{
    return name == QLatin1String(kNotesFileName) || name == QLatin1String(kMediaListFileName)
        || name == QLatin1String(kNewEventFileName) || name == QLatin1String(kPackageVideoName)
        || name == QLatin1String(kPackageAudioName) || name == recordName + QStringLiteral(".pdf")
        || name.contains(QStringLiteral("_HALCY_"))
        || (name.startsWith(QLatin1String("thumbnail_")) && name.endsWith(QLatin1String(".jpg")))
        || name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
}

// A thumbnail that cannot be made is left out; one that cannot be written
// stops the save.
bool WriteThumbnail(const NoteInfo& note, StagingWriter& writer)
{
    const QString name = ThumbnailFileName(note.create_data);
    if (!IsBareFileName(name))
        return true;
    qDebug().noquote() << QStringLiteral("thumnail save name : %1").arg(name);
    const PictureRead read = ReadPicture(note.imagePath);
    const QImage& page = read.image;
    if (page.isNull()) {
        Log(QStringLiteral("no page image for the thumbnail: %1").arg(read.error));
        return true;
    }
    return StageThumbnail(writer, name, page);
}

// Notes.xml, the thumbnails and the event files, one step per visit.
bool StageVisits(const ContentsSaveInput& input, StagingWriter& writer, const ProgressFunction& progress)
{
    const int count = input.visits.size();
    QVector<VisitNoteEntry> entries;
    QSet<QString> written;
    for (int i = 0; i < count; ++i) {
        const PageVisit& visit = input.visits.at(i);
        const int n = VisitedNote(visit, input.notes);
        if (n < 0) {
            Log(QStringLiteral("contents save skips visit %1: note \"%2\" is gone").arg(i).arg(visit.create));
        } else {
            const NoteInfo& note = input.notes.at(n);
            entries.append(MakeVisitNoteEntry(visit, note, input.colorSetting));
            // The tables are a copy taken at the start: a note shown again
            // gets the same files, written once.
            if (!written.contains(note.create_data)) {
                written.insert(note.create_data);
                if (!WriteThumbnail(note, writer))
                    return false;
                const QString eventName = VisitEventFileName(note.create_data);
                if (eventName.isEmpty()) {
                    Log(QStringLiteral("contents save skips the event file of \"%1\"").arg(note.create_data));
                } else if (!writer.StageBytes(eventName, VisitEventFileBytes(note.create_data, input.boardSize,
                                                                             input.tables))) {
                    return false;
                }
            }
        }
        progress(QStringLiteral("Save Event(%1/%2)").arg(i + 1).arg(count), i + 1);
    }
    return writer.StageBytes(QLatin1String(kNotesFileName),
                             VisitNotesXmlBytes(input.recordName + QStringLiteral(".pdf"), entries));
}

bool StageMedia(const ContentsSaveInput& input, StagingWriter& writer, const ProgressFunction& progress)
{
    const int count = input.mediaFiles.size();
    QStringList names;
    for (const QString& source : input.mediaFiles)
        names << QFileInfo(source).fileName();
    // The line keeps its place even for a file that is left out: the records
    // point at media by position.
    if (!writer.StageWith(QLatin1String(kMediaListFileName), [&](QIODevice* device) {
            QTextStream out(device);
            out.setCodec("UTF-8");
            for (const QString& name : qAsConst(names))
                out << name << '\n';
            out.flush();
        }))
        return false;
    for (int k = 0; k < count; ++k) {
        const QString& source = input.mediaFiles.at(k);
        const QString& name = names.at(k);
        const QString target = writer.folder() + QLatin1Char('/') + name;
        if (!IsBareFileName(name) || IsPackageEntryName(name, input.recordName)) {
            Log(QStringLiteral("contents save skips \"%1\": not a plain file name").arg(source));
        } else if (!IsRegularFile(source)) {
            Log(QStringLiteral("contents save skips \"%1\": not a regular file").arg(source));
        } else if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
            Log(QStringLiteral("contents save keeps the first \"%1\"").arg(name));
        } else if (!writer.StageCopy(source, name)) {
            return false;
        }
        progress(QStringLiteral("Save Objects(%1/%2)").arg(k).arg(count), k + 2 * input.notes.size());
    }
    return true;
}

bool StageNewEvent(const ContentsSaveInput& input, StagingWriter& writer)
{
    QVector<ToGroupRecord> records;
    EventExportBuilder::RecordLists lists;
    lists.fill(&records);
    QStringList shown;
    for (const PageVisit& visit : input.visits)
        shown << visit.create;
    QStringList distinct;
    EventExportBuilder builder(
        input.tables, ExportRules::Whiteboard(),
        [&](const QString& stamp) { return DistinctPagePosition(shown, shown.size(), &distinct, stamp); }, lists);
    builder.BuildToGroupRecords();
    SortToGroupRecords(records);
    NewEventHeader header;
    header.noteCount = distinct.size();
    header.width = input.boardSize.width();
    header.height = input.boardSize.height();
    ToGroupSection group;
    group.name = QStringLiteral("TO_GROUP");
    group.records = &records;
    return writer.StageWith(QLatin1String(kNewEventFileName), [&](QIODevice* device) {
        WriteNewEventXml(device, header, {group}, ExportNumberFormat::SixDigits);
    });
}

QString WithoutSeparator(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

// The recording folder, made when missing; the documents folder when the
// setting is empty.
// A name in `folder` that no file holds yet: `base` + `suffix`, else with
// "_2", "_3" ... before the suffix.
QString FreePath(const QString& folder, const QString& base, const QString& suffix)
{
    QString path = folder + QLatin1Char('/') + base + suffix;
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = folder + QLatin1Char('/') + base + QStringLiteral("_%1").arg(n) + suffix;
    return path;
}

// A package that could not be packed goes, with everything staged, into
// the recording folder: the work folder is emptied with the next new board.
QString KeepUnpacked(const QString& staging, const QString& pendingArchive, const QString& recordFolder,
                     const QString& stamp)
{
    // A recording folder that cannot be written to still leaves the user's
    // documents folder.
    QString kept = FreePath(recordFolder, stamp, QString());
    if (!QDir().mkpath(kept)) {
        kept = FreePath(platform::KnownFolderPath(platform::KnownFolder::Documents), stamp, QString());
        if (!QDir().mkpath(kept))
            return QString();
    }
    const QDir from(staging);
    for (const QString& name : from.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!MoveFileTo(staging + QLatin1Char('/') + name, kept + QLatin1Char('/') + name))
            Log(QStringLiteral("contents save cannot keep %1").arg(name));
    }
    if (IsRegularFile(pendingArchive))
        MoveFileTo(pendingArchive, kept + QLatin1Char('/') + stamp + QLatin1String(kPackageExtension));
    QDir().rmdir(staging);
    return kept;
}

ContentsSaveResult SaveScreenRecording(const ContentsSaveInput& input)
{
    ContentsSaveResult result;
    const QString source = input.recordedVideo.isEmpty()
                               ? input.workFolder + input.recordName + QStringLiteral(".mp4")
                               : input.recordedVideo;
    const QString folder = RecordingFolder(input.recordFolder);
    if (!input.saveAsPath.isEmpty()) {
        qDebug().noquote() << QStringLiteral("1. temp_path: %1").arg(input.workFolder);
        qDebug().noquote() << QStringLiteral("2. m_rec_file: %1").arg(input.recordName);
        qDebug().noquote() << QStringLiteral("3. m_iic_SaveAs_PathName: %1").arg(input.saveAsPath);
        result.recSavedPath = input.saveAsPath;
        result.recSavedName = input.saveAsName;
        result.recSavedFolder = input.saveAsFolder;
    } else {
        result.recSavedPath = FreePath(folder, input.stamp, QStringLiteral(".mp4"));
        result.recSavedName = QFileInfo(result.recSavedPath).fileName();
        result.recSavedFolder = folder;
    }
    if (!MoveFileTo(source, result.recSavedPath, !input.saveAsPath.isEmpty())) {
        result.failure = QStringLiteral("The screen recording could not be moved to \"%1\". It is kept at \"%2\".")
                             .arg(QDir::toNativeSeparators(result.recSavedPath), QDir::toNativeSeparators(source));
        Log(result.failure);
    }
    return result;
}

QString ErrnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

QVector<PageVisit> PageVisitsFromLog(const QVector<int>& noteIndex, const QStringList& names,
                                     const QStringList& creates, const QStringList& access)
{
    const int count = std::min({noteIndex.size(), names.size(), creates.size(), access.size()});
    QVector<PageVisit> visits;
    visits.reserve(count);
    for (int i = 0; i < count; ++i)
        visits.append({noteIndex.at(i), names.at(i), creates.at(i), access.at(i)});
    return visits;
}

int VisitedNote(const PageVisit& visit, const QVector<NoteInfo>& notes)
{
    if (visit.noteIndex >= 0 && visit.noteIndex < notes.size()
        && notes.at(visit.noteIndex).create_data == visit.create)
        return visit.noteIndex;
    for (int i = 0; i < notes.size(); ++i) {
        if (notes.at(i).create_data == visit.create)
            return i;
    }
    return -1;
}

QString VisitEventFileName(const QString& create)
{
    const QString name = create + QStringLiteral(".xml");
    if (!IsBareFileName(create) || name == QLatin1String(kNotesFileName) || name == QLatin1String(kNewEventFileName))
        return QString();
    return name;
}

QByteArray VisitEventFileBytes(const QString& create, QSize boardSize, const ExportBoardTables& tables)
{
    XmlBytes xml;
    xml.startElement("Event");
    xml.attribute("Note", create);
    xml.intAttribute("Width", boardSize.width());
    xml.intAttribute("Height", boardSize.height());

    // Per slot: the ids of the masters written, of all details written and
    // of the details whose first flag is set.
    std::array<IdSet, kPointerSlotCount> noteIds;
    std::array<IdSet, kPointerSlotCount> detailIds;
    std::array<IdSet, kPointerSlotCount> flaggedIds;
    for (int k = 0; k < kPointerSlotCount; ++k) {
        bool open = false;
        for (const EventMaster& em : tables[k].masters) {
            if (em.NoteName != create)
                continue;
            if (!open) {
                OpenSlotGroup(xml, "EM", k);
                open = true;
            }
            WriteMasterRecord(xml, em);
            noteIds[k].insert(em.EventID);
        }
        if (open)
            xml.endElement();
    }
    for (int k = 0; k < kPointerSlotCount; ++k) {
        WriteSelected(xml, "ED", k, tables[k].details, noteIds[k], WriteDetail, [&](const EventDetail& ed) {
            detailIds[k].insert(ed.EventID);
            if (ed.PageDeleted != 0)
                flaggedIds[k].insert(ed.EventID);
        });
    }
    const auto nothing = [](const auto&) {};
    for (int k = 0; k < kPointerSlotCount; ++k)
        WriteSelected(xml, "EP", k, tables[k].erasePoints, flaggedIds[k], WriteErase, nothing);
    for (int k = 0; k < kPointerSlotCount; ++k)
        WriteSelected(xml, "ME", k, tables[k].modifyPoints, detailIds[k], WriteModify, nothing);
    for (int k = 0; k < kPointerSlotCount; ++k)
        WriteSelected(xml, "FP", k, tables[k].samples, noteIds[k], WritePoint, nothing);
    return xml.finish();
}

VisitNoteEntry MakeVisitNoteEntry(const PageVisit& visit, const NoteInfo& note, const QString& colorSetting)
{
    VisitNoteEntry entry;
    entry.type = note.type;
    entry.name = visit.name == QLatin1String("WhiteBoard") ? BoardNameFromColor(colorSetting) : visit.name;
    entry.create = visit.create;
    entry.access = visit.access;
    entry.width = note.width;
    entry.height = note.height;
    entry.pageOption = note.page_option;
    return entry;
}

QByteArray VisitNotesXmlBytes(const QString& pdfName, const QVector<VisitNoteEntry>& entries)
{
    XmlBytes xml;
    xml.startElement("NoteList");
    xml.attribute("PDFName", pdfName);
    for (const VisitNoteEntry& entry : entries) {
        xml.startElement("NoteInfo");
        xml.intAttribute("Type", entry.type);
        xml.attribute("Name", entry.name);
        xml.attribute("Create", entry.create);
        xml.attribute("Access", entry.access);
        xml.intAttribute("NoteWidth", entry.width);
        xml.intAttribute("NoteHeight", entry.height);
        xml.intAttribute("PageOption", entry.pageOption ? 1 : 0);
        xml.endElement();
    }
    return xml.finish();
}

QString RecordingFolder(const QString& setting)
{
    const QString folder =
        setting.isEmpty() ? platform::KnownFolderPath(platform::KnownFolder::Documents) : WithoutSeparator(setting);
    QDir().mkpath(folder);
    return folder;
}

bool MoveFileTo(const QString& from, const QString& to, bool replace)
{
    if (!IsRegularFile(from))
        return false;
    if (!replace && (QFileInfo::exists(to) || QFileInfo(to).isSymLink()))
        return false;
    // rename(2) replaces a target in one step (a link there as a link).
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (errno != EXDEV) {
        Log(QStringLiteral("cannot move %1 to %2: %3").arg(from, to, ErrnoText()));
        return false;
    }
    // Another file system: the copy is made beside the target and put in
    // place whole; the source goes only then.
    const QFileInfo target(to);
    const QString partial = target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".moving");
    QFile::remove(partial);
    const qint64 size = QFileInfo(from).size();
    if (!QFile::copy(from, partial) || QFileInfo(partial).size() != size
        || std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(to).constData()) != 0) {
        Log(QStringLiteral("cannot copy %1 to %2").arg(from, to));
        QFile::remove(partial);
        return false;
    }
    QFile::remove(from);
    return true;
}

PackagePdfResult ExportVisitPdfs(const PdfExporterLibrary& exporter, const QVector<PageVisit>& visits,
                                 const QVector<NoteInfo>& notes, const PackagePdfSettings& settings,
                                 const QString& folder, const QString& recordName)
{
    PackagePdfResult result;
    if (!exporter.bound) {
        // Nothing may be called through functions that were never resolved.
        result.ok = false;
        result.error = QStringLiteral("cannot load exporter module");
        Log(QStringLiteral("contents save without a PDF: %1").arg(result.error));
        return result;
    }
    qDebug().noquote() << QStringLiteral("dotsPerInch %1").arg(settings.scale * 96.0);
    qDebug().noquote() << QStringLiteral("----------------------");
    const int count = visits.size();
    const QString packagePdf = QStringLiteral("%1/%2%3").arg(folder, recordName, QStringLiteral(".pdf"));
    QSet<QString> exported;
    QStringList mergeList;
    // Read once for all board pages; a refused picture leaves them their colour.
    const PictureRead boardPicture =
        settings.backgroundPicture.isEmpty() ? PictureRead() : ReadPicture(settings.backgroundPicture);
    if (!boardPicture.error.isEmpty())
        Log(QStringLiteral("background picture not used: %1").arg(boardPicture.error));
    const QString boardPicturePath = boardPicture.image.isNull() ? QString() : settings.backgroundPicture;
    for (int i = 0; i < count; ++i) {
        const int n = VisitedNote(visits.at(i), notes);
        if (n < 0 || exported.contains(visits.at(i).create))
            continue;
        exported.insert(visits.at(i).create);
        const NoteInfo& note = notes.at(n);
        qDebug().noquote() << QStringLiteral("pdf note type %1 path %2").arg(note.type).arg(note.path);

        // The page background, built into images of its own: the board's
        // view stays as it is.
        BackgroundRequest request;
        request.path = note.path;
        request.type = note.type;
        request.pageOption = note.page_option;
        request.view = settings.view;
        request.content = settings.content.isEmpty() ? QRect(QPoint(0, 0), settings.view) : settings.content;
        request.boardColor = settings.boardColor;
        request.backgroundPicture = boardPicturePath;
        request.backgroundImage = boardPicture.image;
        request.currentImageSize = settings.view;
        const bool boardPage = note.type == 1
            && (note.path == QLatin1String("WhiteBoard") || note.path == QLatin1String("BlackBoard"));
        BackgroundResult background;
        background.image = QImage(settings.view, QImage::Format_RGB32);
        if (boardPage || note.type == 2)
            background = BuildPageBackground(request, DocumentRenderer());
        const int width = background.image.width();
        const int height = background.image.height();

        if (boardPage) {
            const QColor colour = note.path == QLatin1String("WhiteBoard") ? settings.boardColor : kBlackBoardColor;
            exporter.NewPDF(width, height, settings.scale, boardPicturePath, colour);
        } else if (note.type == 1 || note.type == 3) {
            exporter.NewPDFFrom(note.path, width, height, width, height, 0, 0);
        } else if (note.type == 2) {
            if (exporter.NewPDF(width, height, settings.scale, QString(), QColor(255, 255, 255, 255)) == 0) {
                QImage picture = ReadPicture(note.path).image;
                if (!picture.isNull() && background.pictureRectSet)
                    picture = picture.scaled(background.pictureRect.size(), Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation);
                exporter.PainterSetPage();
                exporter.DrawImage(QPointF(background.pictureRect.topLeft()), picture);
                exporter.PainterFinishPage();
            }
        } else {
            Log(QStringLiteral("no PDF page for a note of type %1").arg(note.type));
            continue;
        }

        const QString name = count == 1
            ? packagePdf
            : QStringLiteral("%1/%2_HALCY_%3%4")
                  .arg(folder)
                  .arg(i + 1)
                  .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss.zzz")),
                       QStringLiteral(".pdf"));
        qDebug().noquote() << QStringLiteral("pdf name : %1").arg(name);
        const int saved = exporter.SavePDF(name);
        exporter.Close();
        if (saved != 0) {
            result.ok = false;
            result.error = QStringLiteral("Fail to save pdf for NoteIndex %1").arg(i);
            Log(result.error);
            break;
        }
        if (count > 1)
            mergeList << name;
    }
    if (count > 1 && !mergeList.isEmpty()) {
        if (result.ok && exporter.MergePDF(mergeList, packagePdf) != 0) {
            result.ok = false;
            result.error = QStringLiteral("Fail to merge pdf");
            Log(result.error);
        }
        for (const QString& file : mergeList)
            QFile::remove(file);
    }
    return result;
}

QString StageContentsPackage(const ContentsSaveInput& input, const PdfExporterLibrary& exporter,
                             const ProgressFunction& progress, ContentsSaveResult* result)
{
    QString error;
    const QString staging = PrepareStagingFolder(input.workFolder, input.recordName, &error);
    if (staging.isEmpty()) {
        result->failure = QStringLiteral("The contents package could not be prepared: %1.").arg(error);
        return QString();
    }

    StagingWriter writer(staging);
    const auto stop = [&]() {
        result->failure = QStringLiteral("The contents package could not be written: %1. The recording is kept "
                                         "in \"%2\".")
                              .arg(writer.error(), QDir::toNativeSeparators(input.workFolder));
        RemoveStagingFolder(input.workFolder, input.recordName);
        return QString();
    };
    if (!StageVisits(input, writer, progress))
        return stop();
    const PackagePdfResult pdf = ExportVisitPdfs(exporter, input.visits, input.notes, input.pdf, staging,
                                                 input.recordName);
    result->pdfOk = pdf.ok;
    result->pdfError = pdf.error;
    if (!StageMedia(input, writer, progress))
        return stop();

    // The drawing script comes before the recording is moved in: a failure
    // up to here leaves the recording where the recorder put it.
    if (!StageNewEvent(input, writer))
        return stop();

    const bool audio = input.recordType == 1;
    QString recording = audio ? input.recordedAudio : input.recordedVideo;
    if (recording.isEmpty())
        recording = input.workFolder + input.recordName + (audio ? QStringLiteral(".mp3") : QStringLiteral(".mp4"));
    const QString recordingEntry = QLatin1String(audio ? kPackageAudioName : kPackageVideoName);
    if (!MoveFileTo(recording, staging + QLatin1Char('/') + recordingEntry))
        Log(QStringLiteral("contents save has no recording: %1").arg(recording));
    return staging;
}

ContentsSaveResult SaveContentsPackage(const ContentsSaveInput& input, const PdfExporterLibrary& exporter,
                                       const ProgressFunction& progress)
{
    if (input.recordType == 2)
        return SaveScreenRecording(input);
    ContentsSaveResult result;
    if (input.recordType != 0 && input.recordType != 1)
        return result;
    const QString staging = StageContentsPackage(input, exporter, progress, &result);
    if (staging.isEmpty()) {
        qDebug().noquote() << QStringLiteral("dialog :: contents save failed");
        Log(result.failure);
        return result;
    }

    const QString recordFolder = RecordingFolder(input.recordFolder);
    if (!input.saveAsPath.isEmpty()) {
        result.savedPath = input.saveAsPath;
        result.savedName = input.saveAsName;
        result.savedFolder = input.saveAsFolder;
    } else {
        result.savedPath = FreePath(recordFolder, input.stamp, QLatin1String(kPackageExtension));
        result.savedName = QFileInfo(result.savedPath).fileName();
        result.savedFolder = recordFolder;
    }

    const ProjectSaveResult packed =
        PackProject(input.workFolder, input.recordName, result.savedPath, /*keepStaging=*/true);
    if (packed.saved) {
        result.packageWritten = true;
        return result;
    }
    qDebug().noquote() << QStringLiteral("dialog :: contents save failed");
    result.keptFolder = KeepUnpacked(staging, PendingArchivePath(input.workFolder, input.recordName), recordFolder,
                                     input.stamp.isEmpty() ? input.recordName : input.stamp);
    result.failure = result.keptFolder.isEmpty()
        ? QStringLiteral("The contents package could not be written to \"%1\": %2. Its files are in \"%3\".")
              .arg(QDir::toNativeSeparators(result.savedPath), packed.error, QDir::toNativeSeparators(staging))
        : QStringLiteral("The contents package could not be written to \"%1\": %2. Its files, the recording "
                         "included, are kept in \"%3\".")
              .arg(QDir::toNativeSeparators(result.savedPath), packed.error,
                   QDir::toNativeSeparators(result.keptFolder));
    Log(result.failure);
    result.savedName.clear();
    result.savedFolder.clear();
    result.savedPath.clear();
    return result;
}

}  // namespace storage
