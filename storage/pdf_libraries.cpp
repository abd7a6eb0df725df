#include "storage/pdf_libraries.h"

#include "platform/library.h"

#include <QDebug>

#include <cmath>
#include <type_traits>

namespace storage {

const char* const kPdfRendererFile = "halcy_pdf_renderer10.dll";
const char* const kPdfExporterFile = "halcy_pdf_exporter10.dll";
const char* const kPdfEditorFile = "halcy_pdf_editor10.dll";

namespace {

template <typename Library>
PdfBinding Bind(Library& binding, const char* fileName)
{
    QStringList missing;
    const PdfBinding result = platform::BindLibrary(binding, QString::fromLatin1(fileName), &missing);
    if (result == PdfBinding::NotLoaded)
        qDebug().noquote() << "cannot load" << fileName;
    else if (result == PdfBinding::MissingFunction)
        qDebug().noquote() << fileName << "lacks" << missing.join(QStringLiteral(", "));
    return result;
}

}  // namespace

PdfBinding BindPdfRenderer(PdfRendererLibrary& renderer)
{
    return Bind(renderer, kPdfRendererFile);
}

PdfBinding BindPdfExporter(PdfExporterLibrary& exporter)
{
    return Bind(exporter, kPdfExporterFile);
}

PdfBinding BindPdfEditor(PdfEditorLibrary& editor)
{
    return Bind(editor, kPdfEditorFile);
}

PdfRendererLibrary& SharedPdfRenderer()
{
    static PdfRendererLibrary renderer;
    return renderer;
}

PdfExporterLibrary& SharedPdfExporter()
{
    static PdfExporterLibrary exporter;
    return exporter;
}

PdfEditorLibrary& SharedPdfEditor()
{
    static PdfEditorLibrary editor;
    return editor;
}

QStringList PdfRendererFunctionNames()
{
    return platform::BindingFunctionNames<PdfRendererLibrary>();
}

QStringList PdfExporterFunctionNames()
{
    return platform::BindingFunctionNames<PdfExporterLibrary>();
}

QStringList PdfEditorFunctionNames()
{
    return platform::BindingFunctionNames<PdfEditorLibrary>();
}

void CloseRendererDocument(const PdfRendererLibrary& renderer, PdfRendererState& state)
{
    if (renderer.bound) {
        if (state.page != 0)
            renderer.ClosePage(state.page);
        if (state.document != 0)
            renderer.CloseDocument(state.document);
    }
    state = PdfRendererState();
}

int OpenRendererDocument(const PdfRendererLibrary& renderer, PdfRendererState& state, const QString& path)
{
    if (!renderer.bound || path.isEmpty())
        return -1;
    CloseRendererDocument(renderer, state);
    int document = 0;
    if (renderer.LoadDocument(path, QString(), &document) != 0 || document <= 0)
        return -1;
    const int pageCount = renderer.GetPageCount(document);
    if (pageCount <= 0) {
        renderer.CloseDocument(document);
        return 0;
    }
    state.document = document;
    state.pageCount = pageCount;
    return pageCount;
}

bool IsReadablePageSize(double width, double height)
{
    // Far beyond the largest page a PDF can describe, small enough that any
    // zoom of it still fits the whole-pixel arithmetic of the page images.
    constexpr double kLargestPageSide = 1.0e6;
    auto readable = [](double side) { return std::isfinite(side) && side > 0.0 && side <= kLargestPageSide; };
    return readable(width) && readable(height);
}

bool OpenRendererFirstPage(const PdfRendererLibrary& renderer, PdfRendererState& state, const QString& path,
                           double* width, double* height)
{
    if (OpenRendererDocument(renderer, state, path) <= 0)
        return false;
    int page = 0;
    if (renderer.LoadPage(state.document, 0, &page) != 0 || page <= 0) {
        CloseRendererDocument(renderer, state);
        return false;
    }
    state.page = page;
    state.currentPage = 0;
    *width = renderer.GetPageWidth(page);
    *height = renderer.GetPageHeight(page);
    if (!IsReadablePageSize(*width, *height)) {
        CloseRendererDocument(renderer, state);
        *width = 0.0;
        *height = 0.0;
        return false;
    }
    return true;
}

void ShutdownRenderer(const PdfRendererLibrary& renderer, PdfRendererState& state)
{
    if (!renderer.bound)
        return;
    CloseRendererDocument(renderer, state);
    renderer.DestroyLibrary();
}

ChosenDocumentKind ClassifyChosenDocument(const QString& path)
{
    const QString ending = path.right(3).toUpper();
    static const QStringList images = {QStringLiteral("JPG"), QStringLiteral("BMP"), QStringLiteral("GIF"),
                                       QStringLiteral("PNG"), QStringLiteral("WMF"), QStringLiteral("EMF")};
    if (images.contains(ending))
        return ChosenDocumentKind::Image;
    if (ending == QLatin1String("PDF"))
        return ChosenDocumentKind::Pdf;
    return ChosenDocumentKind::Other;
}

}  // namespace storage
