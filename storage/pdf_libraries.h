#pragma once

// Binding of the three outside PDF libraries: the renderer, the exporter and
// the page editor. Each is loaded by its file name and every function is
// resolved by name; a library counts as bound only when it loaded and every
// name resolved. Otherwise it is unloaded again, all its pointers stay null and
// the feature that needs it is off for the run.

#include "outside/halcy_pdf_editor10/halcy_pdf_editor.h"
#include "outside/halcy_pdf_exporter10/halcy_pdf_exporter.h"
#include "outside/halcy_pdf_renderer10/halcy_pdf_renderer.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

namespace storage {

enum class PdfBinding {
    Bound,
    NotLoaded,        // the library file is missing or does not load
    MissingFunction,  // it loaded but lacks a name; it has been unloaded
};

struct PdfRendererLibrary {
    QLibrary library;
    bool bound = false;
    decltype(&HPR_InitLibrary) InitLibrary = nullptr;
    decltype(&HPR_DestroyLibrary) DestroyLibrary = nullptr;
    decltype(&HPR_LoadDocument) LoadDocument = nullptr;
    decltype(&HPR_CloseDocument) CloseDocument = nullptr;
    decltype(&HPR_GetPageCount) GetPageCount = nullptr;
    decltype(&HPR_LoadPage) LoadPage = nullptr;
    decltype(&HPR_ClosePage) ClosePage = nullptr;
    decltype(&HPR_GetPageWidth) GetPageWidth = nullptr;
    decltype(&HPR_GetPageHeight) GetPageHeight = nullptr;
    decltype(&HPR_RenderPage) RenderPage = nullptr;
    decltype(&HPR_RenderPage_Start) RenderPage_Start = nullptr;
    decltype(&HPR_RenderPage_Continue) RenderPage_Continue = nullptr;
    decltype(&HPR_RenderPage_Finish) RenderPage_Finish = nullptr;
    decltype(&HPR_RenderPage_Cancel) RenderPage_Cancel = nullptr;
    decltype(&HPR_RenderPage_SetPause) RenderPage_SetPause = nullptr;

    // Visits every function as (name, pointer), in the order they are resolved.
    template <typename Visit>
    void forEachFunction(Visit visit)
    {
        visit("HPR_InitLibrary", InitLibrary);
        visit("HPR_DestroyLibrary", DestroyLibrary);
        visit("HPR_LoadDocument", LoadDocument);
        visit("HPR_CloseDocument", CloseDocument);
        visit("HPR_GetPageCount", GetPageCount);
        visit("HPR_LoadPage", LoadPage);
        visit("HPR_ClosePage", ClosePage);
        visit("HPR_GetPageWidth", GetPageWidth);
        visit("HPR_GetPageHeight", GetPageHeight);
        visit("HPR_RenderPage", RenderPage);
        visit("HPR_RenderPage_Start", RenderPage_Start);
        visit("HPR_RenderPage_Continue", RenderPage_Continue);
        visit("HPR_RenderPage_Finish", RenderPage_Finish);
        visit("HPR_RenderPage_Cancel", RenderPage_Cancel);
        visit("HPR_RenderPage_SetPause", RenderPage_SetPause);
    }
};

struct PdfExporterLibrary {
    QLibrary library;
    bool bound = false;
    decltype(&HPX_LoadPDF) LoadPDF = nullptr;
    decltype(&HPX_NewPDF) NewPDF = nullptr;
    decltype(&HPX_SavePDF) SavePDF = nullptr;
    decltype(&HPX_Close) Close = nullptr;
    decltype(&HPX_NewPDFFrom) NewPDFFrom = nullptr;
    decltype(&HPX_MergePDF) MergePDF = nullptr;
    decltype(&HPX_PainterSetPage) PainterSetPage = nullptr;
    decltype(&HPX_PainterFinishPage) PainterFinishPage = nullptr;
    decltype(&HPX_PainterSetPage_Pre) PainterSetPage_Pre = nullptr;
    decltype(&HPX_PainterSetPage_Save) PainterSetPage_Save = nullptr;
    decltype(&HPX_PainterFinishPage_Restore) PainterFinishPage_Restore = nullptr;
    decltype(&HPX_PainterFinishPage_Post) PainterFinishPage_Post = nullptr;
    decltype(&HPX_SetPenColor) SetPenColor = nullptr;
    decltype(&HPX_SetPenStyle) SetPenStyle = nullptr;
    decltype(&HPX_SetBrushColor) SetBrushColor = nullptr;
    decltype(&HPX_Rotate) Rotate = nullptr;
    decltype(&HPX_DrawFreePen) DrawFreePen = nullptr;
    decltype(&HPX_DrawRect) DrawRect = nullptr;
    decltype(&HPX_DrawCircle) DrawCircle = nullptr;
    decltype(&HPX_DrawEllipse) DrawEllipse = nullptr;
    decltype(&HPX_DrawImage) DrawImage = nullptr;

    template <typename Visit>
    void forEachFunction(Visit visit)
    {
        visit("HPX_LoadPDF", LoadPDF);
        visit("HPX_NewPDF", NewPDF);
        visit("HPX_SavePDF", SavePDF);
        visit("HPX_Close", Close);
        visit("HPX_NewPDFFrom", NewPDFFrom);
        visit("HPX_MergePDF", MergePDF);
        visit("HPX_PainterSetPage", PainterSetPage);
        visit("HPX_PainterFinishPage", PainterFinishPage);
        visit("HPX_PainterSetPage_Pre", PainterSetPage_Pre);
        visit("HPX_PainterSetPage_Save", PainterSetPage_Save);
        visit("HPX_PainterFinishPage_Restore", PainterFinishPage_Restore);
        visit("HPX_PainterFinishPage_Post", PainterFinishPage_Post);
        visit("HPX_SetPenColor", SetPenColor);
        visit("HPX_SetPenStyle", SetPenStyle);
        visit("HPX_SetBrushColor", SetBrushColor);
        visit("HPX_Rotate", Rotate);
        visit("HPX_DrawFreePen", DrawFreePen);
        visit("HPX_DrawRect", DrawRect);
        visit("HPX_DrawCircle", DrawCircle);
        visit("HPX_DrawEllipse", DrawEllipse);
        visit("HPX_DrawImage", DrawImage);
    }
};

struct PdfEditorLibrary {
    QLibrary library;
    bool bound = false;
    decltype(&HPE_ExtractPage) ExtractPage = nullptr;
    decltype(&HPE_ExtractPageMulti) ExtractPageMulti = nullptr;

    template <typename Visit>
    void forEachFunction(Visit visit)
    {
        visit("HPE_ExtractPage", ExtractPage);
        visit("HPE_ExtractPageMulti", ExtractPageMulti);
    }
};

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

// Closes what is open, opens `path` and loads its first page (current page
// 0) and gives the page's size; false, with nothing left open, when the
// document does not open, has no pages or its first page does not load.
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
