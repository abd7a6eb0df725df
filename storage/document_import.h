#pragma once

// The document import without a window: where the page files of an import go,
// the extraction loop that splits the chosen pages out of a PDF one by one,
// and the scale a new document page is rendered at.

#include <QSize>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>

namespace storage {

// Where the one-page files of an import are written: `folder` (no trailing
// separator) below the output folder, each page named base + index + ".pdf".
struct ImportPageFiles {
    QString folder;
    QString base;
};

// The page files of a document named `fileName` (the source's name without
// its folder) below `outputFolder`. The base is the name without its last
// four characters (".pdf"). A base that is empty, "." or "..", or holds a
// separator, is replaced by "document", so no page file lands outside the
// output folder. A folder that already exists belongs to an earlier import
// whose pages still point at their files; the base then gets "_2", "_3", ...
// so nothing of that import is overwritten.
ImportPageFiles ImportPageFilesFor(const QString& outputFolder, const QString& fileName);

// folder + "/" + base + index + ".pdf".
QString ImportPageTarget(const ImportPageFiles& files, int pageIndex);

// The progress in percent after starting page `index` of the range [first,
// first + count): 0 at its first page, 100 at its last; a one-page range
// reports 100.
int ImportProgress(int index, int first, int count);

// One extraction run, fixed before it starts.
struct PageExtractionJob {
    QString source;
    ImportPageFiles files;
    int first = 0;  // zero-based first page
    int end = 0;    // zero-based end of the range (not included)
    bool vertical = false;
};

struct PageExtractionEvents {
    std::function<void(int percent)> progress;
    // One page file is ready; `last` marks the final page of the range.
    std::function<void(const QString& path, bool last, bool vertical)> page;
    // The pages reported so far are all there will be (stopped, or the final
    // page could not be extracted).
    std::function<void()> endedEarly;
};

struct PageExtractionResult {
    int extracted = 0;
    QVector<int> failedPages;  // zero-based indexes the library refused
    bool stopped = false;      // `running` was cleared before the range's end
};

using ExtractPageFunction = std::function<int(const QString& source, int pageIndex, const QString& target)>;

// Splits pages first .. end - 1 of the job's source into one file each, in
// ascending order, with `extract` (0 = success). Before each page it checks
// `running` and stops once that is cleared. A page the library refuses is
// skipped. When the run ends without its final page (stopped, or that page
// failed) after pages were reported, `endedEarly` follows, so the receiver
// learns that the import is over. A folder made for a run that wrote nothing
// is removed again.
PageExtractionResult ExtractPages(const PageExtractionJob& job, const ExtractPageFunction& extract,
                                  const std::atomic_bool& running, const PageExtractionEvents& events);

// The render scale of an imported document page of widPage x hgtPage:
// fitted to the width of the view with `fitToWidth`, else the whole page fitted
// into the view (into the host's board for a viewer or writer, levels 1, 2).
double ImportRenderScale(double widPage, double hgtPage, QSize view, int level, QSize hostBoard, bool fitToWidth);

}  // namespace storage
