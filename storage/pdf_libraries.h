#pragma once

// Binding of the three outside PDF libraries: the renderer, the exporter and
// the page editor. Each is loaded by its file name and every function is
// resolved by name; a library counts as bound only when it loaded and every
// name resolved. Otherwise it is unloaded again, all its pointers stay null and
// the feature that needs it is off for the run.

#include "outside/halcy_pdf_editor10/halcy_pdf_editor.h"
#include "outside/halcy_pdf_exporter10/halcy_pdf_exporter.h"
#include "outside/halcy_pdf_renderer10/halcy_pdf_renderer.h"

#include "platform/library.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

namespace storage {

// How a binding ended (platform/library.h).
using PdfBinding = platform::LibraryBinding;

// Each library's functions are listed once, as F(prefix, name): the member
// `name` holds the function exported as prefix##name. The members, the names
// that are resolved and the all-or-nothing binding all come from that one list,
// so a function cannot be declared without being resolved or the reverse.
#define DRAVIK_PDF_RENDERER_FUNCTIONS(F) \
    F(HPR_, InitLibrary)                 \
    F(HPR_, DestroyLibrary)              \
    F(HPR_, LoadDocument)                \
    F(HPR_, CloseDocument)               \
    F(HPR_, GetPageCount)                \
    F(HPR_, LoadPage)                    \
    F(HPR_, ClosePage)                   \
    F(HPR_, GetPageWidth)                \
    F(HPR_, GetPageHeight)               \
    F(HPR_, RenderPage)                  \
    F(HPR_, RenderPage_Start)            \
    F(HPR_, RenderPage_Continue)         \
    F(HPR_, RenderPage_Finish)           \
    F(HPR_, RenderPage_Cancel)           \
    F(HPR_, RenderPage_SetPause)

#define DRAVIK_PDF_EXPORTER_FUNCTIONS(F) \
    F(HPX_, LoadPDF)                     \
    F(HPX_, NewPDF)                      \
    F(HPX_, SavePDF)                     \
    F(HPX_, Close)                       \
    F(HPX_, NewPDFFrom)                  \
    F(HPX_, MergePDF)                    \
    F(HPX_, PainterSetPage)              \
    F(HPX_, PainterFinishPage)           \
    F(HPX_, PainterSetPage_Pre)          \
    F(HPX_, PainterSetPage_Save)         \
    F(HPX_, PainterFinishPage_Restore)   \
    F(HPX_, PainterFinishPage_Post)      \
    F(HPX_, SetPenColor)                 \
    F(HPX_, SetPenStyle)                 \
    F(HPX_, SetBrushColor)               \
    F(HPX_, Rotate)                      \
    F(HPX_, DrawFreePen)                 \
    F(HPX_, DrawRect)                    \
    F(HPX_, DrawCircle)                  \
    F(HPX_, DrawEllipse)                 \
    F(HPX_, DrawImage)

#define DRAVIK_PDF_EDITOR_FUNCTIONS(F) \
    F(HPE_, ExtractPage)               \
    F(HPE_, ExtractPageMulti)

#define DRAVIK_PDF_MEMBER(prefix, name) decltype(&prefix##name) name = nullptr;
#define DRAVIK_PDF_VISIT(prefix, name) visit(#prefix #name, name);

struct PdfRendererLibrary {
    QLibrary library;
    bool bound = false;
    DRAVIK_PDF_RENDERER_FUNCTIONS(DRAVIK_PDF_MEMBER)

    // Visits every function as (name, pointer), in the order they are resolved.
    template <typename Visit>
    void forEachFunction(Visit visit)
    {
        DRAVIK_PDF_RENDERER_FUNCTIONS(DRAVIK_PDF_VISIT)
    }
};

struct PdfExporterLibrary {
    QLibrary library;
    bool bound = false;
    DRAVIK_PDF_EXPORTER_FUNCTIONS(DRAVIK_PDF_MEMBER)

    template <typename Visit>
    void forEachFunction(Visit visit)
    {
        DRAVIK_PDF_EXPORTER_FUNCTIONS(DRAVIK_PDF_VISIT)
    }
};

struct PdfEditorLibrary {
    QLibrary library;
    bool bound = false;
    DRAVIK_PDF_EDITOR_FUNCTIONS(DRAVIK_PDF_MEMBER)

    template <typename Visit>
    void forEachFunction(Visit visit)
    {
        DRAVIK_PDF_EDITOR_FUNCTIONS(DRAVIK_PDF_VISIT)
    }
};

#undef DRAVIK_PDF_MEMBER
#undef DRAVIK_PDF_VISIT
#undef DRAVIK_PDF_RENDERER_FUNCTIONS
#undef DRAVIK_PDF_EXPORTER_FUNCTIONS
#undef DRAVIK_PDF_EDITOR_FUNCTIONS

// The libraries' Windows file names.
extern const char* const kPdfRendererFile;  // "halcy_pdf_renderer10.dll"
extern const char* const kPdfExporterFile;  // "halcy_pdf_exporter10.dll"
extern const char* const kPdfEditorFile;    // "halcy_pdf_editor10.dll"

// Loads the library and resolves every name (all or nothing). Binding again
// first drops what was bound before.
PdfBinding BindPdfRenderer(PdfRendererLibrary& renderer);
PdfBinding BindPdfExporter(PdfExporterLibrary& exporter);
PdfBinding BindPdfEditor(PdfEditorLibrary& editor);

// The one binding of each library that the whiteboard uses, created with the
// process and kept for its whole life.
PdfRendererLibrary& SharedPdfRenderer();
PdfExporterLibrary& SharedPdfExporter();
PdfEditorLibrary& SharedPdfEditor();

// The names each binding resolves, in order.
QStringList PdfRendererFunctionNames();
QStringList PdfExporterFunctionNames();
QStringList PdfEditorFunctionNames();

// The renderer's open document as the main window keeps it: handles 0 when
// none, page count 0 and current page -1 when no document is open.
struct PdfRendererState {
    int document = 0;
    int page = 0;
    int pageCount = 0;
    int currentPage = -1;
};

// Closes the loaded page and the open document, when there are any.
void CloseRendererDocument(const PdfRendererLibrary& renderer, PdfRendererState& state);

// Closes what is open, then opens `path` (empty password) and returns its page
// count: above 0 when it is open; 0 when it opened but has no pages and -1 when
// the renderer is not bound, the path is empty or the file does not open (in
// both cases nothing stays open).
int OpenRendererDocument(const PdfRendererLibrary& renderer, PdfRendererState& state, const QString& path);

// A page size the board can be laid out for: both sides finite, above zero
// and no longer than any real page. A damaged page box can read as endless or
// as a number of hundreds of digits; scaling to it gives no usable image.
bool IsReadablePageSize(double width, double height);

// Closes what is open, opens `path` and loads its first page (current page
// 0) and gives the page's size; false, with nothing left open, when the
// document does not open, has no pages, its first page does not load or its
// size is not readable (see IsReadablePageSize).
bool OpenRendererFirstPage(const PdfRendererLibrary& renderer, PdfRendererState& state, const QString& path,
                           double* width, double* height);

// Window teardown: closes the page and the document, then ends the library.
void ShutdownRenderer(const PdfRendererLibrary& renderer, PdfRendererState& state);

// What the document-open command does with a chosen path, by its last three
// characters in any case.
enum class ChosenDocumentKind {
    Image,  // "JPG", "BMP", "GIF", "PNG", "WMF", "EMF": becomes a picture page
    Pdf,    // "PDF": goes to the page import
    Other,  // anything else, an empty path included: nothing happens
};
ChosenDocumentKind ClassifyChosenDocument(const QString& path);

}  // namespace storage
