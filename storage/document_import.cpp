#include "storage/document_import.h"

#include "board/page_fit.h"
#include "storage/project_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace storage {

namespace {

QString SafeBase(const QString& fileName)
{
    QString base = fileName;
    base.chop(4);
    if (!IsBareFileName(base))
        return QStringLiteral("document");
    return base;
}

}  // namespace

ImportPageFiles ImportPageFilesFor(const QString& outputFolder, const QString& fileName)
{
    QString root = outputFolder;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    const QString base = SafeBase(fileName);
    ImportPageFiles files{root + base, base};
    for (int n = 2; QFileInfo::exists(files.folder) || QFileInfo(files.folder).isSymLink(); ++n) {
        files.base = QStringLiteral("%1_%2").arg(base).arg(n);
        files.folder = root + files.base;
    }
    return files;
}

QString ImportPageTarget(const ImportPageFiles& files, int pageIndex)
{
    return files.folder + QLatin1Char('/') + files.base + QString::number(pageIndex) + QStringLiteral(".pdf");
}

int ImportProgress(int index, int first, int count)
{
    if (count <= 1)
        return 100;
    const float position = float(index - first) / float(count - 1);
    return int(position * 100);
}

PageExtractionResult ExtractPages(const PageExtractionJob& job, const ExtractPageFunction& extract,
                                  const std::atomic_bool& running, const PageExtractionEvents& events)
{
    PageExtractionResult result;
    const bool madeFolder = !QFileInfo::exists(job.files.folder) && QDir().mkdir(job.files.folder);
    const int count = job.end - job.first;
    bool lastReported = false;
    for (int i = job.first; i < job.end; ++i) {
        if (!running.load()) {
            result.stopped = true;
            break;
        }
        const QString target = ImportPageTarget(job.files, i);
        if (events.progress)
            events.progress(ImportProgress(i, job.first, count));
        if (extract(job.source, i, target) != 0) {
            result.failedPages.append(i);
            continue;
        }
        ++result.extracted;
        const bool last = i == job.end - 1;
        lastReported = lastReported || last;
        if (events.page)
            events.page(target, last, job.vertical);
    }
    // Stopped, or the final page failed, after pages were reported: the
    // receiver is told the import is over. With nothing reported there is
    // nothing to show.
    if (result.extracted > 0 && !lastReported && events.endedEarly)
        events.endedEarly();
    if (result.extracted == 0 && madeFolder)
        QDir().rmdir(job.files.folder);
    return result;
}

double ImportRenderScale(double widPage, double hgtPage, QSize view, int level, QSize hostBoard, bool fitToWidth)
{
    if (widPage <= 0.0 || hgtPage <= 0.0)
        return 1.0;
    if (fitToWidth)
        return view.width() / widPage;
    if (level == 1 || level == 2)
        return ViewerDocumentScale(widPage, hgtPage, hostBoard, view);
    return std::min(view.width() / widPage, view.height() / hgtPage);
}

}  // namespace storage
