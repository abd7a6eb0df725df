#include "halcy_pdf_renderer.h"

#include <poppler-qt5.h>

#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>

#include <map>
#include <memory>

// Every call may come from any thread (the whiteboard renders pages on worker
// threads too), so the handle tables and Poppler's objects are used under one
// lock. Handles count up and are never reused, so a stale handle can only miss.
namespace {

struct RenderJob {
    double x = 0.0;
    double y = 0.0;
    double scale = 1.0;
    QImage* target = nullptr;
    bool paused = false;
};

struct OpenPage {
    int document = 0;
    std::unique_ptr<Poppler::Page> page;
    std::unique_ptr<RenderJob> job;
};

struct Library {
    QMutex mutex;
    int nextHandle = 1;
    std::map<int, std::unique_ptr<Poppler::Document>> documents;
    std::map<int, OpenPage> pages;

    void closeAll()
    {
        pages.clear();  // pages first: they point into their documents
        documents.clear();
    }

    Poppler::Page* page(int handle)
    {
        const auto found = pages.find(handle);
        return found == pages.end() ? nullptr : found->second.page.get();
    }
};

Library& TheLibrary()
{
    static Library library;
    return library;
}

// Draws the page region starting at (x, y) of the page scaled by `scale` into
// the target. Poppler renders at a resolution; 72 dpi is one pixel per point.
bool Render(Poppler::Page* page, double x, double y, double scale, QImage* target)
{
    if (!page || !target || target->isNull() || !(scale > 0.0))
        return false;
    const double dpi = 72.0 * scale;
    const QImage rendered = page->renderToImage(dpi, dpi, int(x), int(y), target->width(), target->height());
    if (rendered.isNull())
        return false;
    QPainter painter(target);
    if (!painter.isActive())
        return false;
    painter.drawImage(0, 0, rendered);
    return true;
}

}  // namespace

HPR_API void HPR_InitLibrary()
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    library.closeAll();
}

HPR_API void HPR_DestroyLibrary()
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    library.closeAll();
}

HPR_API int HPR_LoadDocument(QString path, QString password, int* document)
{
    if (!document)
        return HPR_BAD_ARGUMENT;
    *document = 0;
    // Poppler opens what the system lets it open; a folder or a special file is
    // not a document.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return HPR_CANNOT_OPEN;
    const QByteArray secret = password.toUtf8();
    std::unique_ptr<Poppler::Document> loaded(Poppler::Document::load(path, secret, secret));
    if (!loaded)
        return HPR_CANNOT_OPEN;
    if (loaded->isLocked())
        return HPR_PASSWORD;
    loaded->setRenderHint(Poppler::Document::Antialiasing, true);
    loaded->setRenderHint(Poppler::Document::TextAntialiasing, true);

    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    const int handle = library.nextHandle++;
    library.documents[handle] = std::move(loaded);
    *document = handle;
    return HPR_OK;
}

HPR_API void HPR_CloseDocument(int document)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    for (auto it = library.pages.begin(); it != library.pages.end();) {
        if (it->second.document == document)
            it = library.pages.erase(it);
        else
            ++it;
    }
    library.documents.erase(document);
}

HPR_API int HPR_GetPageCount(int document)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    const auto found = library.documents.find(document);
    return found == library.documents.end() ? 0 : found->second->numPages();
}

HPR_API int HPR_LoadPage(int document, int pageIndex, int* page)
{
    if (!page)
        return HPR_BAD_ARGUMENT;
    *page = 0;
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    const auto found = library.documents.find(document);
    if (found == library.documents.end() || pageIndex < 0 || pageIndex >= found->second->numPages())
        return HPR_BAD_ARGUMENT;
    std::unique_ptr<Poppler::Page> loaded(found->second->page(pageIndex));
    if (!loaded)
        return HPR_CANNOT_OPEN;
    const int handle = library.nextHandle++;
    OpenPage& entry = library.pages[handle];
    entry.document = document;
    entry.page = std::move(loaded);
    *page = handle;
    return HPR_OK;
}

HPR_API void HPR_ClosePage(int page)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    library.pages.erase(page);
}

HPR_API double HPR_GetPageWidth(int page)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    Poppler::Page* found = library.page(page);
    return found ? found->pageSizeF().width() : 0.0;
}

HPR_API double HPR_GetPageHeight(int page)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    Poppler::Page* found = library.page(page);
    return found ? found->pageSizeF().height() : 0.0;
}

HPR_API void HPR_RenderPage(int page, double x, double y, double scale, QImage* target)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    Render(library.page(page), x, y, scale, target);
}

HPR_API int HPR_RenderPage_Start(int page, double x, double y, double scale, QImage* target)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    const auto found = library.pages.find(page);
    if (found == library.pages.end() || !target || target->isNull() || !(scale > 0.0))
        return HPR_BAD_ARGUMENT;
    auto job = std::make_unique<RenderJob>();
    job->x = x;
    job->y = y;
    job->scale = scale;
    job->target = target;
    found->second.job = std::move(job);
    return HPR_OK;
}

HPR_API int HPR_RenderPage_Continue(int page)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    const auto found = library.pages.find(page);
    if (found == library.pages.end() || !found->second.job)
        return HPR_BAD_ARGUMENT;
    RenderJob& job = *found->second.job;
    if (job.paused)
        return 1;
    const bool drawn = Render(found->second.page.get(), job.x, job.y, job.scale, job.target);
    found->second.job.reset();
    return drawn ? HPR_OK : HPR_CANNOT_OPEN;
}

HPR_API int HPR_RenderPage_Finish(int page)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    const auto found = library.pages.find(page);
    if (found == library.pages.end())
        return HPR_BAD_ARGUMENT;
    if (!found->second.job)
        return HPR_OK;  // already done by Continue
    RenderJob job = *found->second.job;
    found->second.job.reset();
    return Render(found->second.page.get(), job.x, job.y, job.scale, job.target) ? HPR_OK : HPR_CANNOT_OPEN;
}

HPR_API void HPR_RenderPage_Cancel(int page)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    const auto found = library.pages.find(page);
    if (found != library.pages.end())
        found->second.job.reset();
}

HPR_API void HPR_RenderPage_SetPause(int page, bool paused)
{
    Library& library = TheLibrary();
    QMutexLocker lock(&library.mutex);
    const auto found = library.pages.find(page);
    if (found != library.pages.end() && found->second.job)
        found->second.job->paused = paused;
}
