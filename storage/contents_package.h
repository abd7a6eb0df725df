#pragma once

// The contents package (".iic") a recording leaves behind, written without a
// window.
//
// A package is a zip archive whose entries are all flat:
//
//   "Notes.xml"               one NoteInfo per page visit, in visit order
//   "<Create>.xml"            the objects of one visited note
//   "thumbnail_<Create>.jpg"  a 320 x 240 JPEG of one visited note's page
//   "<record name>.pdf"       the visited notes, each once, in order of
//                             first visit
//   "StrData.dat"             the media list: one bare file name per line,
//                             UTF-8, each ended by "\n"
//   <bare file name>          every media file
//   "video.mp4" / "audio.mp3" the recording (camera / audio recordings)
//   "New_Event.xml"           the time-ordered drawing script
//
// Notes.xml (UTF-8, one element per line, four spaces per level):
//   <NoteList PDFName="<record name>.pdf">
//       <NoteInfo Type(int) Name Create Access NoteWidth(int) NoteHeight(int)
//                 PageOption(flag)/>
//   </NoteList>
//   Type, NoteWidth, NoteHeight and PageOption are the visited note's; Name,
//   Create and Access the visit's. A visit named "WhiteBoard" is named after
//   the configured board colour (BoardNameFromColor).
//
// <Create>.xml, the objects whose NoteName is the visited note's Create:
//   <Event Note(=Create) Width Height>              board widget size
//       <EM_k Type="EM" Index=k> <EM KD MP SD EI SC HS VS/> </EM_k>
//       <ED_k Type="ED" Index=k>
//           <ED EI SX SY EX EY(double) OX OY OW OH(int) PC PW OA(double)
//               BD(flag: first flag) MD(flag) TP/>
//       </ED_k>
//       <EP_k Type="EP" Index=k> <EP EI MP EK BX BY BW BH AG GI GT/> </EP_k>
//       <ME_k Type="ME" Index=k>
//           <ME EI MP KD MK MX MY CX CY(coord) BX BY BW BH SD AG PX PY PW PH PG
//               GI GT/>
//       </ME_k>
//       <FP_k Type="FP" Index=k> <FP EI MP MA PS SX SY(double)/> </FP_k>
//   </Event>
//   All EM groups come first, then all ED groups, and so on; a slot without
//   records of a kind gets no group of that kind. The details and samples
//   follow the EventIDs the slot's EM records wrote, the edits the EventIDs
//   its ED records wrote, the erase records those of the ED records whose
//   first flag is set. ED takes S, E and the rectangle from the alternative
//   values when they are set (no coordinate, no side at -1).
//
// Number forms as in the project file (storage/project_file.h).

#include "board/board_records.h"
#include "storage/event_export.h"
#include "storage/project_file.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

class QIODevice;

namespace storage {

struct PdfExporterLibrary;

extern const char kPackageExtension[];  // ".iic"
extern const char kPackageVideoName[];  // "video.mp4"
extern const char kPackageAudioName[];  // "audio.mp3"

// One entry of the page-visit log.
struct PageVisit {
    int noteIndex = -1;
    QString name;
    QString create;
    QString access;  // the recording clock when the page was shown
};

// The visit log's four lists as one list; a log whose lists differ in length
// is cut to the shortest.
QVector<PageVisit> PageVisitsFromLog(const QVector<int>& noteIndex, const QStringList& names,
                                     const QStringList& creates, const QStringList& access);

// The note a visit showed: the note at the logged index when it still has the
// logged Create key, else the first note with that key; -1 when the note is
// gone (deleted since, or a log from another board).
int VisitedNote(const PageVisit& visit, const QVector<NoteInfo>& notes);

// The event file name of a visited note, Create + ".xml"; empty when the key
// is no bare file name or would replace one of the package's own files.
QString VisitEventFileName(const QString& create);

// The event file of the note keyed `create`.
QByteArray VisitEventFileBytes(const QString& create, QSize boardSize, const ExportBoardTables& tables);

// One NoteInfo element of the package's Notes.xml.
struct VisitNoteEntry {
    int type = 1;
    QString name;
    QString create;
    QString access;
    int width = 0;
    int height = 0;
    bool pageOption = false;
};

// The entry of visit `visit` of note `note`, named for the board colour
// setting `colorSetting` when the visit shows the white board.
VisitNoteEntry MakeVisitNoteEntry(const PageVisit& visit, const NoteInfo& note, const QString& colorSetting);
// The package's Notes.xml.
QByteArray VisitNotesXmlBytes(const QString& pdfName, const QVector<VisitNoteEntry>& entries);

// Moves a regular file: a rename, or across file systems a copy that is
// complete before the source is deleted. An existing target is replaced only
// with `replace`. False leaves the source where it was.
bool MoveFileTo(const QString& from, const QString& to, bool replace = false);

// The folder recordings go to: the Record/Path setting, or the documents
// folder when it is empty. Made when it is missing.
QString RecordingFolder(const QString& setting);

// What the page PDF step needs of the board, taken on the GUI thread.
struct PackagePdfSettings {
    double scale = 1.0;           // the screen's logical dpi / 96
    QSize view;                   // the page image size
    QRect content;                // where pictures are fitted
    QColor boardColor{Qt::white}; // the white board's colour
    QString backgroundPicture;    // configured picture of board pages
};

struct PackagePdfResult {
    bool ok = true;
    QString error;
};

// The page PDFs: each distinct visited note once, in order of first visit,
// as `folder`/`recordName`.pdf (merged from one-note files when there is
// more than one visit). Without a bound exporter nothing is called and the
// result says so.
PackagePdfResult ExportVisitPdfs(const PdfExporterLibrary& exporter, const QVector<PageVisit>& visits,
                                 const QVector<NoteInfo>& notes, const PackagePdfSettings& settings,
                                 const QString& folder, const QString& recordName);

// Everything the save reads, copied on the GUI thread before the job starts.
struct ContentsSaveInput {
    int recordType = 0;        // 0 camera, 1 audio, 2 screen; others: nothing
    QString recordFolder;      // where packages and screen videos go
    QString workFolder;        // the recorder's and the staging folder
    QString recordName;        // base name of the recorder's output
    QString recordedVideo;     // the recorder's files
    QString recordedAudio;
    QString saveAsPath;        // a target chosen before the recording
    QString saveAsName;
    QString saveAsFolder;
    QString stamp;             // names the target when none was chosen
    QVector<PageVisit> visits;
    QVector<NoteInfo> notes;
    QStringList mediaFiles;
    ExportBoardTables tables;
    QSize boardSize;
    QString colorSetting;      // the note colour setting
    PackagePdfSettings pdf;
};

struct ContentsSaveResult {
    bool packageWritten = false;
    QString savedName, savedFolder, savedPath;           // the package
    QString recSavedName, recSavedFolder, recSavedPath;  // a screen video
    bool pdfOk = true;
    QString pdfError;
    QString failure;       // for the user; empty when all went well
    QString keptFolder;    // where an unpacked package was put
};

// Every step of the save but the packing: the package's files in the
// staging folder workFolder + recordName, which is returned (empty, with
// `result->failure` set, when the folder cannot be made).
QString StageContentsPackage(const ContentsSaveInput& input, const PdfExporterLibrary& exporter,
                             const ProgressFunction& progress, ContentsSaveResult* result);

// The whole save: the files staged, then packed into the target. A package
// that cannot be packed is kept unpacked in the recording folder. Progress "Save Event(i/n)" per visit, then
// "Save Objects(k/count)" per media file.
ContentsSaveResult SaveContentsPackage(const ContentsSaveInput& input, const PdfExporterLibrary& exporter,
                                       const ProgressFunction& progress);

}  // namespace storage
