// Rebuilding the page from its records, and re-rendering every board page.
#include <QDebug>
#include <QPainter>

#include "app/ui/dialog.h"
#include "board/note_pages.h"
#include "ui_dialog.h"

PageRenderOptions Dialog::RenderOptions() const
{
    PageRenderOptions o;
    o.zoom = m_zoom;
    o.interpolation = m_interpolation;
    o.antialiasing = m_antialiasing;
    o.special = m_specialPen;
    return o;
}

// The full redraw: the page layer is rebuilt from the background and the
// records, and the view cut out of it again. Only changes the layer cannot
// follow object by object come here (an object removed, moved or changed,
// another page, zoom or size); a new object is painted into the layer alone.
void Dialog::RedrawPageObjects(bool withSelected)
{
    ++m_fullRedrawCount;
    ++m_layerRepaintCount;
    KeepPageLayerOptions();
    m_canvasImage = m_backgroundImage.copy();
    const ImageObjectPainter paintImage = [this](QImage& target, const QString& file, const EventDetail& ed) {
        PaintImageInto(target, file, ed);
    };
    PaintPageObjects(m_canvasImage, m_board, m_curr_note.create_data, withSelected, m_mediaFiles, paintImage,
                     RenderOptions(), &m_layerContents);
    KeepPageLayerContents();
    // A page larger than the view (zoomed, or a tall picture or document) is
    // shown through the scroll bars.
    ShowPageLayer();
    // Selected objects left out are being dragged by the editing code, which
    // moves them over this copy of the page without them.
    if (!withSelected)
        m_backupImage = m_viewImage.copy();
}

// After objects were removed, restored or changed (an undo or redo, an
// erase, a peer's edit): the layer is repainted only where they were and
// are, which gives the pixels of a full redraw. A layer that no longer
// matches what it was painted from, or changes over much of the page, get
// the full redraw.
void Dialog::RedrawChangedObjects()
{
    if (!PageLayerContentsCurrent()) {
        RedrawPageObjects(true);
        return;
    }
    const LayerRepaint repaint = RepaintChangedObjects(m_canvasImage, m_backgroundImage, m_board,
                                                       m_curr_note.create_data, m_layerContents, m_mediaFiles,
                                                       RenderOptions());
    if (repaint.needsFullRedraw) {
        RedrawPageObjects(true);
        return;
    }
    ++m_layerRepaintCount;
    KeepPageLayerContents();
    ShowPageLayer();
}

void Dialog::PaintEllipseFigure(EventMaster em, EventDetail ed, bool toTarget)
{
    ::PaintEllipseFigure(toTarget ? m_targetImage : m_viewImage, em, ed, RenderOptions());
    update();
}

void Dialog::PaintPathFigure(int slot, EventDetail ed, QVector<FreePenPoint> points, bool toTarget)
{
    if (!IsValidPointerSlot(slot))
        return;
    const QRect painted = ::PaintPathFigure(toTarget ? m_targetImage : m_viewImage, m_board.slot[slot],
                                            m_board.slot[slot].highlight, ed, points, RenderOptions());
    if (!painted.isEmpty())
        update(painted);
}

void Dialog::PaintLineFigure(int slot, EventDetail ed, QVector<FreePenPoint> points, bool toTarget)
{
    if (!IsValidPointerSlot(slot))
        return;
    ::PaintLineFigure(toTarget ? m_targetImage : m_viewImage, m_board.slot[slot], ed, points, RenderOptions());
    update();
}

void Dialog::ResizePageImage(QImage& image, QSize size)
{
    ::ResizePageImage(image, size, m_boardFillColor);
}

void Dialog::RedrawAllPages()
{
    const ImageObjectPainter paintImage = [this](QImage& target, const QString& file, const EventDetail& ed) {
        PaintImageInto(target, file, ed);
    };
    for (const NoteInfo& note : qAsConst(m_note_list)) {
        if (note.name != QLatin1String(kWhiteBoardName))
            continue;
        m_curr_note = note;
        SetInitImage(m_curr_note.path, m_curr_note.type, false);
        m_viewImage = m_backgroundImage;
        m_backupImage = m_backgroundImage;
        update();
        PaintPageObjects(m_viewImage, m_board, note.create_data, true, m_mediaFiles, paintImage, RenderOptions());
        WriteNotePageImage(m_viewImage, note.imagePath);
    }
    NoteChangeWorker();
}
