#include "halcy_pdf_editor.h"

#include "outside/pdf_common/qpdf_support.h"

#include <qpdf/QPDFPageDocumentHelper.hh>

HPE_API int HPE_ExtractPageMulti(QString source, int firstPage, int lastPage, QString target)
{
    std::unique_ptr<QPDF> pdf = pdfsupport::OpenPdfFile(source);
    if (!pdf)
        return HPE_CANNOT_OPEN;
    int pageCount = 0;
    if (!pdfsupport::Guarded("counting pages", [&] {
            pageCount = int(QPDFPageDocumentHelper(*pdf).getAllPages().size());
        }))
        return HPE_CANNOT_OPEN;
    if (firstPage < 0 || lastPage < firstPage || lastPage >= pageCount)
        return HPE_BAD_PAGE;
    return pdfsupport::WritePageRange(*pdf, firstPage, lastPage, target) ? HPE_OK : HPE_CANNOT_WRITE;
}

HPE_API int HPE_ExtractPage(QString source, int pageIndex, QString target)
{
    return HPE_ExtractPageMulti(source, pageIndex, pageIndex, target);
}
