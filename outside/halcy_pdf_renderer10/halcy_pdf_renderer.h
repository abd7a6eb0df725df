#pragma once

// The PDF renderer library's interface. The whiteboard never links against it:
// it loads the library by file name and resolves these names, and uses this
// header only for the functions' types.
//
// Documents and pages are integer handles (> 0), valid until closed; several
// documents may be open at once. Results of type int are 0 for success.
// Page sizes are in points (1/72 inch); a scale of 1.0 renders one pixel per
// point.

#include <QImage>
#include <QString>

#define HPR_API extern "C" __attribute__((visibility("default")))

// Failure results.
enum HprResult {
    HPR_OK = 0,
    HPR_BAD_ARGUMENT = 1,     // null output pointer, unknown handle, page index out of range
    HPR_CANNOT_OPEN = 2,      // missing, unreadable or damaged file, not a PDF
    HPR_PASSWORD = 3,         // the document is locked and the password does not open it
};

// Starts with no open documents. Calling it again closes everything first.
HPR_API void HPR_InitLibrary();
// Closes every open page and document.
HPR_API void HPR_DestroyLibrary();

HPR_API int HPR_LoadDocument(QString path, QString password, int* document);
// Closes the document and every page loaded from it.
HPR_API void HPR_CloseDocument(int document);
// Number of pages, 0 for an unknown handle.
HPR_API int HPR_GetPageCount(int document);

HPR_API int HPR_LoadPage(int document, int pageIndex, int* page);
HPR_API void HPR_ClosePage(int page);
// Page size in points as shown (rotation applied); 0 for an unknown handle.
HPR_API double HPR_GetPageWidth(int page);
HPR_API double HPR_GetPageHeight(int page);

// Paints the page at `scale` into `target`: the target's pixel (0, 0) shows the
// scaled page's pixel (x, y). Parts of the target beyond the page are left as
// they were.
HPR_API void HPR_RenderPage(int page, double x, double y, double scale, QImage* target);

// Rendering in steps: Start names the job (page, offsets, scale, target) and
// Continue does the work; Continue returns 0 once the target holds the page,
// 1 while the job is paused, and an error otherwise. Finish completes a job
// that has not been continued to its end, Cancel drops it leaving the target
// untouched. One job per page.
HPR_API int HPR_RenderPage_Start(int page, double x, double y, double scale, QImage* target);
HPR_API int HPR_RenderPage_Continue(int page);
HPR_API int HPR_RenderPage_Finish(int page);
HPR_API void HPR_RenderPage_Cancel(int page);
HPR_API void HPR_RenderPage_SetPause(int page, bool paused);
