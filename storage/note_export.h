#pragma once

#include "board/board_model.h"
#include "board/board_records.h"
#include "board/page_background.h"
#include "board/page_render.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// Exporting and printing note pages: which notes a request covers, the file
// names it writes, and rendering each page from its records into an image of
// its own, at zoom 1.0 and scroll 0, without a window. The export dialog's
// overwrite question and the job use the same names, so the question is asked
// about exactly the files that will be written.
namespace storage {

// The mode of a print request; any other mode is an image file extension.
extern const char* const kNotePrintMode;  // "print"

// The end (exclusive) of the notes a request covers: the dialogs send a
// half-open range; a request naming one note twice covers that note.
int NoteExportEnd(int first, int last);

// The file of the `number`-th note (from 1) of an export of `total` notes:
// the target and the extension alone for one note, else "<target>_<number><extension>".
QString NoteExportFileName(const QString& target, const QString& extension, int number, int total);

// Every file an export of [first, end) writes, in order; empty for an empty range.
QStringList NoteExportFileNames(const QString& target, const QString& extension, int first, int end);

// The image format and quality of an extension: ".jpg" is written at quality
// 100, ".png" and ".bmp" at the default. False for any other extension.
bool NoteImageFormat(const QString& extension, QByteArray* format, int* quality);

// Writes the page to `path` through a new file that replaces the old one only
// once it is complete; makes the folder when it is missing. False (and the
// file in place untouched) when the extension is unknown or the write fails.
bool WriteNoteImage(const QImage& page, const QString& path, const QString& extension);

// The scope a note dialog offers.
enum class NoteScope { Current = 1, All = 2, Range = 3 };

// The half-open range [first, end) of a dialog's choice: the first note whose
// Create key is `currentKey`, every note, or the boxes' 1-based notes
// firstBox..lastBox. False when the current note is not in the list.
bool NoteScopeRange(NoteScope scope, const QString& currentKey, const QVector<NoteInfo>& notes, int firstBox,
                    int lastBox, int* first, int* end);

// What renders one note page away from the window: the background request
// of the board (view, content area, colours, collaboration fit), with path,
// kind and page option filled per note, the media list for image objects and
// the painting options (zoom 1.0).
struct NotePageSetup {
    BackgroundRequest background;
    QStringList mediaFiles;
    PageRenderOptions options;
};

// The whole page of `note` at zoom 1.0: its background, then every live
// object of the note from the board's records. A background that cannot be
// built (a document without the renderer) leaves a white page of the view's
// size under the objects.
QImage RenderNotePage(BoardModel& board, const NoteInfo& note, const NotePageSetup& setup,
                      const DocumentRenderer& renderer);

// One export or print job, copied from the board on the GUI thread when it
// starts; the job reads only this.
struct NoteExportJob {
    QString target;  // file path without extension, or the printer name
    QString mode;    // kNotePrintMode or the extension
    int first = 0;
    int end = 0;
    BoardModel board;
    QVector<NoteInfo> notes;
    NotePageSetup page;
    QStringList failedFiles;  // the job's result: files that could not be written
};

struct NoteExportEvents {
    std::function<void(const QString& text, int value)> progress;
    std::function<void(const QImage& page)> printPage;  // print jobs: one call per page
};

// Renders each note of [first, end) in order; a save job writes it under its
// file name (a file that cannot be written is noted in failedFiles and the
// job goes on), a print job hands it to printPage. Progress after each note:
// "Note index : <n> / Total: <total>" with the note's place n from 1.
void RunNoteExport(NoteExportJob& job, const DocumentRenderer& renderer, const NoteExportEvents& events);

}  // namespace storage
