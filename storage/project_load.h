#pragma once

// Reading a project file (".vk", or the older ".vj") back into a board,
// without a window. The archive is unpacked into a folder of its own below
// the work folder, the folder is read into a fresh board model, note list
// and media list, and every note's page is painted into its page image file.
// The window installs the result as a whole once everything has been read.
//
// The older layout (".vj") holds "Notes.inx" (one background file name per
// line, each line one picture page) and, per pointer slot n = 0..10,
// "EM_n.xml", "ED_n.xml" and "FreePts_n.xml" whose "EMInfo_n", "EDInfo_n"
// and "FreePenInfo_n" elements carry the records.
//
// Coordinates written on one screen are fitted to this one: one scale and a
// centring offset (FitProjectPage).

#include "board/board_model.h"
#include "board/board_records.h"
#include "board/page_background.h"
#include "board/page_render.h"
#include "storage/project_file.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

namespace storage {

// How stored coordinates are carried over to this screen: x -> scale * x +
// offsetX, y -> scale * y + offsetY; `page` is where the page lies on the
// board (the board's content area).
struct ProjectFit {
    double scale = 1.0;
    int offsetX = 0;
    int offsetY = 0;
    QRect page;
};

// The fit of a page written by a board window of `window` size whose page
// was `page`, shown on a board whose page at scale 1.0 is `basePage`. A size
// of 0 (or less) anywhere means nothing can be compared: scale 1.0, no
// offsets, the page is the base page.
ProjectFit FitProjectPage(QSize basePage, QSize window, QSize page);

// What the reading needs of this machine.
struct ProjectLoadSettings {
    QString workFolder;   // ends with a separator; page images and copies go here
    QString paperFolder;  // ends with a separator; the note papers of board pages
    QSize basePage;       // the page size of this board at scale 1.0
};

// What a load gives the window.
struct LoadedProject {
    BoardModel board;  // slot tables, sample lists, counters, FreePenMap
    QVector<NoteInfo> notes;
    QStringList mediaFiles;  // indexed by StrData; "" for an entry that was refused
    ProjectFit fit;
    bool legacy = false;     // read from the older layout: the next save writes a new file
    QStringList warnings;    // what was left out, for the log
    QStringList damage;      // parts of the file that are damaged or missing, for the user
    QString error;           // the project could not be read at all, for the user
};

// The state of one reading: the settings, the result so far and what the
// readers carry from one file to the next.
struct ProjectReading {
    ProjectLoadSettings settings;
    LoadedProject project;
    // The fit of the older layout is taken once, from the first "EDInfo_n"
    // element of the load; the page pictures are rescaled by it then.
    bool legacyFitDone = false;
};

// The readers of an unpacked project folder. A missing or unreadable file
// reads as nothing; an XML error ends the reading of that file and keeps
// what was read.
void LoadNotesXml(ProjectReading& reading, const QString& folder);
void LoadEventsXml(ProjectReading& reading, const QString& folder);
void LoadStrData(ProjectReading& reading, const QString& folder);

// The three readers in order, with their progress texts (value 0).
void ReadProjectFolder(ProjectReading& reading, const QString& folder, const ProgressFunction& progress);

// The folder a project is unpacked into: the work folder + the file's base
// name (its name without the last three characters, ".vk" or ".vj"); a base
// name that is no plain file name gives "project".
QString ProjectUnpackFolder(const QString& workFolder, const QString& projectPath);

// Largest total of unpacked bytes and most entries a project may hold.
constexpr qint64 kMaxProjectBytes = qint64(2) * 1024 * 1024 * 1024;
constexpr int kMaxProjectEntries = 100000;

// Checks that `projectPath` is a zip archive whose every entry unpacks to
// exactly the size it declares, within the limits above. Empty when sound,
// else why not. `unpackedBytes`, when given, receives what the entries unpack
// to in all.
QString CheckProjectArchive(const QString& projectPath, qint64 maxBytes = kMaxProjectBytes,
                            int maxEntries = kMaxProjectEntries, qint64* unpackedBytes = nullptr);

// Empties (or makes) `folder` as a private folder, checks the archive and
// unpacks it flat with the unzip program ("-j", "-u", "-d" folder, archive).
// Afterwards everything in the folder that is not a regular file (links,
// devices, folders) is removed. Empty when the project was unpacked, else
// the message for the user.
QString UnpackProject(const QString& projectPath, const QString& folder);

// The page of note `noteIndex` painted as it is stored in its page image
// file: the note's background, then its live objects in slot and table
// order. `background` carries what every page shares (view, content area,
// board colour, ...); path, type and page option come from the note.
QImage PaintProjectPage(LoadedProject& project, int noteIndex, const BackgroundRequest& background,
                        const DocumentRenderer& renderer, const PageRenderOptions& options);

// What every page of `project` shares for its background on a board whose
// own request is `board`: the page lies where the fit put it.
BackgroundRequest PagesBackground(const BackgroundRequest& board, const LoadedProject& project);

// Paints every note's page (background, then its live objects in slot and
// table order) into an image of its own and writes it to the note's page
// image file. `background` carries what every page shares (view, content
// area, board colour, ...); path, type and page option come from each note.
// Progress "Set Notes(i/count)", value i. Returns the pages written.
int RenderProjectPages(LoadedProject& project, const BackgroundRequest& background, const DocumentRenderer& renderer,
                       const PageRenderOptions& options, const ProgressFunction& progress);

// The whole load: unpack, read and, with `paintPages`, paint every page into
// its page image file. A window that paints its pages itself later (the shown
// one at once, the others when they are needed) asks for none. `pageCount`
// learns the number of notes once they are read. On failure `error` is set
// and the project holds no notes.
LoadedProject LoadProjectFile(const QString& projectPath, const ProjectLoadSettings& settings,
                              const BackgroundRequest& background, const DocumentRenderer& renderer,
                              const PageRenderOptions& options, const ProgressFunction& progress,
                              const std::function<void(int pageCount)>& pageCount = nullptr,
                              bool paintPages = true);

}  // namespace storage
