#pragma once

// The project file (".vk") as it is written, without a window.
//
// A project is a zip archive whose entries are all flat (no folder entries,
// no folder names):
//
//   "Notes.xml"                 the note list
//   "Event_<n>.xml"             the objects of the note at list position n
//                               (n = 0 .. note count - 1, decimal)
//   "thumbnail_<Create>.jpg"    one 320 x 240 JPEG of one note; never read back
//   <Name> of a note of type 2 or 3
//                               that note's background file (a picture or one
//                               document page), stored under the note's Name
//   "StrData.dat"               the media list
//   <bare file name> of every media list entry
//                               that media file
//
// A name from the board becomes an entry only when it is a bare file name
// (IsBareFileName) and not one of the entries the writer makes itself
// (IsWriterEntryName); anything else is left out and logged, so a name can
// neither leave the staging folder nor replace the note list or an event file.
//
// Every XML file is UTF-8 with the declaration <?xml version="1.0"
// encoding="UTF-8"?>, one element per line, indented by four spaces per
// level; every attribute value is text. Number forms:
//   int     signed decimal                                    -3
//   u16     unsigned decimal of a 16-bit field                 65535
//   double  %g with six significant digits                     -1, 0.5, 1.23457e+06
//   float   widened to double, then as double                  12.5
//   coord   double truncated toward zero, then as int          12.9 -> 12, -0.7 -> 0
//   colour  "#rrggbb", lower case, alpha dropped               #ff0000
//   flag    1 or 0
//
// Notes.xml:
//   <listwidget>
//       <NoteInfo Type(int) Name Create Path NoteWidth(int) NoteHeight(int)
//                 PageOption(flag)/>            one per note, in note order
//   </listwidget>
//
// Event_<n>.xml (the note at position n; its objects are the records whose
// NoteName equals the note's Create):
//   <Event Note(=Create) Width Height RWidth RHeight>   board widget size,
//                                                        then page size (ints)
//       <EM_k Type="EM" Index=k>   slots k = 0..10 holding records of the note
//           <EM KD(int) MP(double) SD(u16) EI(u16) SC(double) HS(u16) VS(u16)/>
//       </EM_k>
//       ... every EM_ group first, then every ED_ group, then every FP_ group:
//       <ED_k Type="ED" Index=k>   the details whose EventID an EM of slot k wrote
//           <ED EI SX SY EX EY MX MY CX CY(coord) OX OY OW OH BX BY BW BH(int)
//               PC(colour) PW(u16) AG(float) BD(flag: deleted) TP(u16)/>
//       </ED_k>
//       <FP_k Type="FP" Index=k>   the stored stroke samples of those EventIDs
//           <FP EI(u16) MP(double) MA(int) PS(float) SX SY MX MY(coord)/>
//       </FP_k>
//   </Event>
//   A slot without records of the note gets no group; a note without
//   objects is the declaration and the lone, empty Event element. Records
//   keep their table order.
//
// StrData.dat: one media list entry per line, exactly as held (a full path),
// each ended by "\n", UTF-8, no header; the entry's position is the StrData
// index the EM records use.

#include "board/board_records.h"
#include "storage/staging_writer.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <functional>

class QIODevice;

namespace storage {

extern const char kNotesFileName[];      // "Notes.xml"
extern const char kMediaListFileName[];  // "StrData.dat"
extern const char kProjectExtension[];   // ".vk"
extern const char kLegacyExtension[];    // ".vj", read only
constexpr int kThumbnailWidth = 320;
constexpr int kThumbnailHeight = 240;

QString EventFileName(int notePosition);          // "Event_<n>.xml"
QString ThumbnailFileName(const QString& create); // "thumbnail_<Create>.jpg"

// True for a name that stays inside the folder it is joined to: not empty,
// not "." or "..", and without "/" or "\". Every name taken from a file, an
// archive or the board passes through here before it becomes a path.
bool IsBareFileName(const QString& name);

// True for the names of the entries the project writer makes itself.
bool IsWriterEntryName(const QString& name);

// Where the save of a legacy project goes: a trailing ".vj" (any case) is
// replaced by "_new.vk"; a path without it gets "_new.vk" appended.
QString LegacySaveName(const QString& path);

// The stored tables of one pointer slot, as the save reads them.
struct SlotSnapshot {
    QVector<EventMaster> masters;
    QVector<EventDetail> details;
    QVector<FreePenPoint> points;  // the slot's stored samples
};

// Everything a save writes, copied on the GUI thread before the job starts,
// so the job never reads the live board.
struct ProjectSnapshot {
    QVector<NoteInfo> notes;
    QStringList mediaFiles;
    std::array<SlotSnapshot, kPointerSlotCount> slotTables;
    QSize boardSize;  // the board widget (Width, Height)
    QSize pageSize;   // the page images (RWidth, RHeight)
    // The note pictured by the thumbnail (-1: none), and its picture when
    // the board holds it in memory; otherwise the note's page image file
    // is read.
    int thumbnailNote = -1;
    QImage thumbnailImage;
};

// The note the thumbnail shows: the first entry of the page-visit log when
// it names a note, else the current note, else the first; -1 without notes.
int ThumbnailNoteIndex(const QVector<int>& pageVisits, int currentNote, int noteCount);

// The number forms of the stored files.
QString FormatDouble(double v);
QString FormatCoord(double v);
QString FormatFlag(bool v);

using ProgressFunction = std::function<void(const QString& text, int value)>;

// The staging folder workFolder + stamp, made afresh (what an earlier save
// left under that name is removed) as a folder of this user only. Empty, with
// `error` set, when it cannot be made or would be a link.
QString PrepareStagingFolder(const QString& workFolder, const QString& stamp, QString* error);

// The three steps that fill the staging folder through `writer`. A name or a
// source that cannot be taken (no bare name, no regular file) is logged and
// left out; a write, copy or close that fails stops the step, and false says
// the save must stop (the writer holds the reason).
// The thumbnail and the event files; progress "Save Event(n/count)", value n.
bool StageEventFiles(const ProjectSnapshot& project, StagingWriter& writer, const ProgressFunction& progress);
// Notes.xml and the note background copies; "Save Notes(n/count)", count + n.
bool StageNoteList(const ProjectSnapshot& project, StagingWriter& writer, const ProgressFunction& progress);
// StrData.dat and the media copies; "Save Objects(i/media count)", 2 x count + i.
bool StageMediaList(const ProjectSnapshot& project, StagingWriter& writer, const ProgressFunction& progress);

// The archive entry names of the media list, each media file under a name
// of its own (a later file whose bare name is taken gets "<stem>_<k>.<ext>"),
// and the StrData.dat lines that lead the reader to them.
struct StagedMedia {
    QStringList names;
    QStringList listLines;
};
StagedMedia StagedMediaNames(const ProjectSnapshot& project);

// Stages the 320 x 240 JPEG of `page` as `name`. A picture that cannot be
// encoded is left out (the thumbnail is never read back); false only when
// the write failed.
bool StageThumbnail(StagingWriter& writer, const QString& name, const QImage& page);

// Removes the staging folder workFolder + stamp with everything in it.
void RemoveStagingFolder(const QString& workFolder, const QString& stamp);

// The outcome of a save.
struct ProjectSaveResult {
    bool saved = false;
    QString error;  // why not, for the user
};

// Packs the staged folder workFolder + stamp into `target`: the packer
// ("zip.exe": "-rm", "-j", archive, "./" + stamp, run in workFolder) moves the
// files into a new archive in the work folder (PendingArchivePath), and only
// an archive that the packer reports written (exit code 0), that exists and
// that took every staged file is put in the target's place (PlaceArchive). On
// any failure the target is left as it was; the staging folder and the
// archive are removed unless `keepStaging` asks to keep what the packer did
// not take (and a written archive that could not be placed).
ProjectSaveResult PackProject(const QString& workFolder, const QString& stamp, const QString& target,
                              bool keepStaging = false);

// The whole save: staging folder, the three steps, packing. A step that
// fails removes the staging folder and leaves the target as it was.
ProjectSaveResult SaveProjectFile(const ProjectSnapshot& project, const QString& workFolder, const QString& stamp,
                                  const QString& target, const ProgressFunction& progress);

// The archive a save with staging folder `stamp` packs into.
QString PendingArchivePath(const QString& workFolder, const QString& stamp);

// The note in the work folder that names the pending file (PendingSavePath)
// while a save with staging folder `stamp` puts its archive in place.
QString PlacingJournalPath(const QString& workFolder, const QString& stamp);

// The note in the work folder that says, while a save with staging folder
// `stamp` copies its archive into a hard-linked target, which complete file
// goes into which (PlaceArchive).
QString CopyingJournalPath(const QString& workFolder, const QString& stamp);

// At the start, before any save and before a lesson is opened: finishes the
// in-place copies their notes describe (FinishInPlaceCopy), then removes the
// pending files that killed saves left beside their targets, as their notes
// in the work folder name them (only what IsAbandonedPendingSave accepts),
// and the notes.
void RemoveAbandonedSaves(const QString& workFolder);

}  // namespace storage
