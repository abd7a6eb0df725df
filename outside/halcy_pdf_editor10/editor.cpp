#include "halcy_pdf_editor.h"

#include "outside/pdf_common/qpdf_support.h"

#include <qpdf/QPDFPageDocumentHelper.hh>

#include <QFile>

#include <sys/stat.h>

#include <mutex>

namespace {

// The source document of the last call, kept open: an import asks for its
// pages one by one, and opening a large document again for every page made
// the import quadratic. A source that changed on disk (another file under the
// name, or the same file written again) is opened afresh.
struct KeptSource {
    QString path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified {};
    std::unique_ptr<QPDF> pdf;
    int pageCount = 0;

    bool matches(const QString& other, const struct stat& status) const
    {
        return pdf && path == other && device == status.st_dev && inode == status.st_ino && size == status.st_size
            && modified.tv_sec == status.st_mtim.tv_sec && modified.tv_nsec == status.st_mtim.tv_nsec;
    }
};

std::mutex g_keptLock;

// Never destroyed: at exit qpdf's own statics may already be gone, and a
// document destroyed after them crashes. The process's end frees it.
KeptSource& Kept()
{
    static KeptSource* kept = new KeptSource;
    return *kept;
}

// The kept document for `source`, opened when it is not the kept one.
// Called with g_keptLock held; nullptr when the source does not open.
QPDF* SourceDocument(const QString& source, int* pageCount)
{
    KeptSource& kept = Kept();
    struct stat status {};
    if (::stat(QFile::encodeName(source).constData(), &status) != 0) {
        kept = KeptSource();
        return nullptr;
    }
    if (!kept.matches(source, status)) {
        kept = KeptSource();
        std::unique_ptr<QPDF> pdf = pdfsupport::OpenPdfFile(source);
        if (!pdf)
            return nullptr;
        int count = 0;
        if (!pdfsupport::Guarded("counting pages", [&] { count = int(pdf->getAllPages().size()); }))
            return nullptr;
        kept.path = source;
        kept.device = status.st_dev;
        kept.inode = status.st_ino;
        kept.size = status.st_size;
        kept.modified = status.st_mtim;
        kept.pdf = std::move(pdf);
        kept.pageCount = count;
    }
    *pageCount = kept.pageCount;
    return kept.pdf.get();
}

}  // namespace

HPE_API int HPE_ExtractPageMulti(QString source, int firstPage, int lastPage, QString target)
{
    // One document object is not to be used from two threads at once.
    std::lock_guard<std::mutex> lock(g_keptLock);
    int pageCount = 0;
    QPDF* pdf = SourceDocument(source, &pageCount);
    if (!pdf)
        return HPE_CANNOT_OPEN;
    if (firstPage < 0 || lastPage < firstPage || lastPage >= pageCount)
        return HPE_BAD_PAGE;
    return pdfsupport::WritePageRange(*pdf, firstPage, lastPage, target) ? HPE_OK : HPE_CANNOT_WRITE;
}

HPE_API int HPE_ExtractPage(QString source, int pageIndex, QString target)
{
    return HPE_ExtractPageMulti(source, pageIndex, pageIndex, target);
}
