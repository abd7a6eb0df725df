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

void Dialog::RedrawPageObjects(bool withSelected)
{
    m_viewImage = m_backgroundImage;
    m_backupImage = m_viewImage;
    update();

    const ImageObjectPainter paintImage = [this](QImage&, const QString& file, const EventDetail& ed) {
        PaintImageTransformed(file, ed, false);
    };
    PaintPageObjects(m_viewImage, m_board, m_curr_note.create_data, withSelected, m_mediaFiles, paintImage,
                     RenderOptions());

    m_canvasImage = m_viewImage;
    m_backupImage = m_canvasImage;
    const QRect visible(HorizontalScrollValue(), VerticalScrollValue(), m_view_width, m_view_height);
    // A page no larger than the view is shown as it is; a larger one (zoomed,
    // or a tall picture or document) through the scroll bars.
    if (!m_backupImage.rect().contains(visible) || m_backupImage.size() != visible.size()) {
        m_viewImage = m_backupImage.copy(visible);
        // Previews are taken back in window coordinates, so the copy they are
        // restored from must be cut the same way as the view.
        m_backupImage = m_viewImage;
    }
    update();
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
    const ImageObjectPainter paintImage = [this](QImage&, const QString& file, const EventDetail& ed) {
        PaintImageTransformed(file, ed, false);
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
        if (!m_viewImage.save(note.imagePath))
            qDebug().noquote() << QStringLiteral("exe : page image not written: %1").arg(note.imagePath);
    }
    NoteChangeWorker();
}
