#include "outside/pdf_common/qpdf_support.h"

#include <QDebug>
#include <QFileInfo>
#include <QSaveFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace pdfsupport {

bool Guarded(const char* what, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        qDebug().noquote() << what << "failed:" << error.what();
    } catch (...) {
        qDebug().noquote() << what << "failed";
    }
    return false;
}

std::unique_ptr<QPDF> NewQuietPdf()
{
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    pdf->setImmediateCopyFrom(true);
    return pdf;
}

std::unique_ptr<QPDF> OpenPdfFile(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        qDebug().noquote() << "not a PDF file:" << path;
        return nullptr;
    }
    std::unique_ptr<QPDF> pdf = NewQuietPdf();
    const QByteArray localPath = QFile::encodeName(path);
    const bool opened = Guarded("opening a PDF", [&] {
        pdf->processFile(localPath.constData());
        // Reading the page tree now brings damage to light here rather than
        // half-way through a copy.
        pdf->getAllPages();
    });
    return opened ? std::move(pdf) : nullptr;
}

std::unique_ptr<QPDF> OpenPdfBytes(const QByteArray& bytes, const char* description)
{
    std::unique_ptr<QPDF> pdf = NewQuietPdf();
    const bool opened = Guarded(description, [&] {
        pdf->processMemoryFile(description, bytes.constData(), size_t(bytes.size()));
        pdf->getAllPages();
    });
    return opened ? std::move(pdf) : nullptr;
}

bool WritePdfFile(QPDF& pdf, const QString& path)
{
    if (path.isEmpty())
        return false;
    QByteArray written;
    const bool built = Guarded("writing a PDF", [&] {
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.write();
        std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        written = QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()), int(buffer->getSize()));
    });
    if (!built)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(written) != written.size() || !file.commit()) {
        qDebug().noquote() << "cannot write" << path << ":" << file.errorString();
        return false;
    }
    return true;
}

bool WritePageRange(QPDF& source, int first, int last, const QString& target)
{
    std::unique_ptr<QPDF> result = NewQuietPdf();
    bool copied = false;
    const bool built = Guarded("copying pages", [&] {
        // A page may take its size and resources from the page tree above it;
        // put them on the page itself so the copy carries them along.
        source.pushInheritedAttributesToPage();
        // The document's own page list, not a copy of it: a page of a large
        // document costs the same as a page of a small one.
        const std::vector<QPDFObjectHandle>& pages = source.getAllPages();
        if (first < 0 || last < first || last >= int(pages.size()))
            return;
        result->emptyPDF();
        QPDFPageDocumentHelper into(*result);
        for (int index = first; index <= last; ++index)
            into.addPage(QPDFPageObjectHelper(pages[size_t(index)]), false);
        copied = true;
    });
    return built && copied && WritePdfFile(*result, target);
}

}  // namespace pdfsupport
