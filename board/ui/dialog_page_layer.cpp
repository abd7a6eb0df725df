// The page layer (the canvas image: background and finished objects at the
// current zoom) and the live ink painted over its visible part in the view.
// A finished object is painted into the layer once, with the painter a full
// redraw uses; scrolling cuts the view out of the layer again. Only a change
// the layer cannot follow piece by piece rebuilds it (RedrawPageObjects).
#include <QPainter>

#include "app/ui/dialog.h"
#include "board/page_render.h"

// The part of the page layer the window shows, in layer pixels. Before the
// view has a size of its own the whole page is shown.
QRect Dialog::PageViewRect() const
{
    const QRect visible(HorizontalScrollValue(), VerticalScrollValue(), m_view_width, m_view_height);
    return visible.isEmpty() ? m_canvasImage.rect() : visible;
}

void Dialog::KeepPageLayerOptions()
{
    m_pageLayerOptions = RenderOptions();
    m_pageLayerHighlight = m_board.slot[0].highlight;
}

bool Dialog::PageLayerOptionsChanged() const
{
    const PageRenderOptions now = RenderOptions();
    const PageRenderOptions& was = m_pageLayerOptions;
    return now.zoom != was.zoom || now.interpolation != was.interpolation || now.antialiasing != was.antialiasing
           || now.special.style != was.special.style || now.special.cap != was.special.cap
           || now.special.join != was.special.join || m_board.slot[0].highlight != m_pageLayerHighlight;
}

// The layer now holds what m_layerContents lists: remember which layer,
// background and page that is. Anything else that paints into the layer or
// replaces it changes its key, and the next repaint is a full one.
void Dialog::KeepPageLayerContents()
{
    m_layerContents.layerKey = m_canvasImage.cacheKey();
    m_layerContents.backgroundKey = m_backgroundImage.cacheKey();
    m_layerContents.noteName = m_curr_note.create_data;
}

bool Dialog::PageLayerContentsCurrent() const
{
    return !m_canvasImage.isNull() && m_canvasImage.size() == m_backgroundImage.size()
           && m_layerContents.layerKey == m_canvasImage.cacheKey()
           && m_layerContents.backgroundKey == m_backgroundImage.cacheKey()
           && m_layerContents.noteName == m_curr_note.create_data && !PageLayerOptionsChanged();
}

// A page without objects: the layer is the background itself. Layer and view
// get buffers of their own, so the first stroke on the page copies nothing.
void Dialog::ShowEmptyPage()
{
    m_canvasImage = m_backgroundImage.copy();
    KeepPageLayerOptions();
    m_layerContents.Clear();
    KeepPageLayerContents();
    ++m_layerRepaintCount;
    ShowPageLayer();
}

void Dialog::ShowPageLayer()
{
    for (int slot = 0; slot < kPointerSlotCount; ++slot)
        ForgetLiveInk(slot);
    m_staleViewRect = QRect();
    const QRect visible = PageViewRect();
    CutPageView(m_viewImage, m_canvasImage, visible);
    update();
}

void Dialog::ShowPageLayerRect(QRect windowRect)
{
    const QRect r = windowRect.intersected(m_viewImage.rect());
    if (r.isEmpty())
        return;
    QPainter painter(&m_viewImage);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(r.topLeft(), m_canvasImage, r.translated(PageViewRect().topLeft()));
    painter.end();
    update(r);
}

// Returns the rectangle painted, in window coordinates; empty when the
// object paints nothing here (another page, deleted, no samples).
QRect Dialog::PaintObjectIntoLayer(int slot, const EventMaster& em)
{
    if (!IsValidPointerSlot(slot) || m_canvasImage.isNull() || em.NoteName != m_curr_note.create_data)
        return QRect();
    const EventDetail* ed = m_board.slot[slot].records.findDetail(em.EventID);
    if (!ed || ed->Deleted)
        return QRect();
    QRect painted;
    const ImageObjectPainter paintImage = [&](QImage& target, const QString& file, const EventDetail& detail) {
        PaintImageInto(target, file, detail);
        painted = target.rect();
    };
    PointerSlotState scratch;
    QRect layerRect;
    const bool contentsCurrent = PageLayerContentsCurrent();
    PaintPageObject(m_canvasImage, m_board, scratch, slot, em, *ed, m_mediaFiles, paintImage, RenderOptions(),
                    &layerRect);
    if (contentsCurrent) {
        m_layerContents.Note(m_board, slot, em, *ed, layerRect);
        KeepPageLayerContents();
    }
    return (painted | layerRect).translated(-PageViewRect().topLeft());
}

// After a release has made its object: the object goes into the layer, and
// the view shows the layer where the stroke or preview was painted live, so
// the screen holds exactly what a redraw would paint. While other pointers
// still draw, their live ink must not be overwritten: the place is kept and
// refreshed when the last of them lifts.
void Dialog::ShowFinishedObject(int slot, int objectsBefore, int pressedCount)
{
    // Switching between pen and highlighter (or the pen style) changes how a
    // redraw paints every stroke already there, not only the new one.
    if (PageLayerOptionsChanged()) {
        RedrawPageObjects(true);
        return;
    }
    QRect changed = m_liveInkRect[slot] | m_liveTail[slot].rect | m_previewPatch[slot].rect;
    const QVector<EventMaster>& masters = m_board.slot[slot].records.masters();
    if (masters.size() > objectsBefore)
        changed |= PaintObjectIntoLayer(slot, masters.last());
    ForgetLiveInk(slot);
    m_staleViewRect |= changed;
    if (pressedCount <= 1) {
        ShowPageLayerRect(m_staleViewRect);
        m_staleViewRect = QRect();
    }
}

void Dialog::NoteLiveInk(int slot, QRect rect)
{
    if (rect.isEmpty())
        return;
    if (IsValidPointerSlot(slot))
        m_liveInkRect[slot] |= rect;
    update(rect);
}

void Dialog::SaveLivePatch(LivePatch& patch, QRect rect)
{
    patch.rect = rect.intersected(m_viewImage.rect());
    patch.pixels = patch.rect.isEmpty() ? QImage() : m_viewImage.copy(patch.rect);
}

QRect Dialog::TakeBackLivePatch(LivePatch& patch)
{
    const QRect r = patch.rect;
    if (!r.isEmpty() && !patch.pixels.isNull()) {
        QPainter painter(&m_viewImage);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(r.topLeft(), patch.pixels);
        painter.end();
        update(r);
    }
    patch = LivePatch();
    return r;
}

// Drops what the slot keeps of its live ink without painting anything: the
// view under it was rebuilt, or the finished object replaced it.
void Dialog::ForgetLiveInk(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    m_liveTail[slot] = LivePatch();
    m_previewPatch[slot] = LivePatch();
    m_liveInkRect[slot] = QRect();
}

void Dialog::DrawLiveTail(int slot, bool brush)
{
    const PointerSlotState& s = m_board.slot[slot];
    // Without smoothing the free pen already ends at the pointer.
    if (!brush && !m_interpolation)
        return;
    const QPen pen = LiveTailPen(s, brush, PaintOptions());
    const QRect rect = LiveTailRect(s, pen);
    if (rect.isEmpty())
        return;
    SaveLivePatch(m_liveTail[slot], rect);
    PaintLiveTail(m_viewImage, s, pen, brush || m_antialiasing);
    NoteLiveInk(slot, m_liveTail[slot].rect);
}
