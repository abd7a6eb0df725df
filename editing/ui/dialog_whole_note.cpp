// The area eraser, move all and erase all: edits that do not go through the
// selection and touch whatever of the note the pointer or the button reaches.
#include <QDebug>
#include <QPainter>

#include "app/ui/dialog.h"
#include "board/page_render.h"
#include "editing/path_erase.h"
#include "editing/whole_note.h"

void Dialog::EraseObjectsAlongPath(int x1, int y1, int x2, int y2, bool erase)
{
    ClearSelection();
    if (!erase)
        return;
    const QVector<PickedObject> picked =
        PickObjectsAlongPath(m_board, m_curr_note.create_data, CurrentBoardView(), QPoint(x1, y1), QPoint(x2, y2));
    if (picked.isEmpty())
        return;
    ActOnPickedObjects(picked, true);
    RedrawChangedObjects();
}

void Dialog::UpdateMoveAll(int slot, bool release)
{
    qDebug().noquote() << QStringLiteral("exe : move all : %1 objects").arg(NoteObjectKeys.size());
    if (NoteObjectKeys.isEmpty() || !IsValidPointerSlot(slot))
        return;
    const PointerSlotState& s = m_board.slot[slot];
    // The pointer's step is applied to the records as it is, whatever the
    // zoom: the objects follow the pointer by the zoom's factor.
    const QPoint d = s.current - s.anchor;
    const double mediaPos = release && m_bRecording ? RecordingElapsedMs() : -1.0;
    const QStringList targets = MoveAllTargets(m_board, NoteObjectKeys, m_curr_note.create_data);
    if (!release && (m_moveAllLayer.isNull() || m_moveAllLayerRedraws != m_layerRepaintCount))
        PaintMoveAllLayer();
    MoveAllObjects(m_board, targets, d);
    m_moveAllTotal += d;
    UpdatePageLabel(false, 0, 1);
    if (!release) {
        ShowMoveAllLayer();
        return;
    }

    const QVector<MovedObject> step = MoveAllStep(m_board, targets, m_moveAllTotal, m_bRecording, mediaPos);
    const int n = step.size();
    for (int i = 0; i < n; ++i) {
        const MovedObject& moved = step[i];
        qDebug().noquote() << QStringLiteral("exe : move all : eventID %1, %2 of %3")
                                  .arg(moved.detail.EventID)
                                  .arg(i + 1)
                                  .arg(n);
        InsertURList(URKindMove, moved.slot, moved.master, moved.detail, ErasePoint(), moved.before, i + 1, n,
                     m_moveAllTotal);
    }
    if (n > 0)
        m_boardModified = true;
    m_moveAllTotal = QPoint();
    m_moveAllLayer = QImage();
    RedrawPageObjects(true);
}

void Dialog::PaintMoveAllLayer()
{
    m_moveAllLayer = QImage(m_canvasImage.size(), QImage::Format_ARGB32_Premultiplied);
    m_moveAllLayer.fill(Qt::transparent);
    const ImageObjectPainter paintImage = [this](QImage& target, const QString& file, const EventDetail& ed) {
        PaintImageInto(target, file, ed);
    };
    PaintPageObjects(m_moveAllLayer, m_board, m_curr_note.create_data, true, m_mediaFiles, paintImage,
                     RenderOptions());
    m_moveAllLayerBase = m_moveAllTotal;
    m_moveAllLayerRedraws = m_layerRepaintCount;
}

// The visible part of the page: the background, and the objects' layer over
// it at the drag's offset.
void Dialog::ShowMoveAllLayer()
{
    const QPoint moved = m_moveAllTotal - m_moveAllLayerBase;
    const QPoint shift(qRound(moved.x() * m_zoom), qRound(moved.y() * m_zoom));
    const QRect visible = PageViewRect().intersected(m_canvasImage.rect());
    QPainter painter(&m_canvasImage);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(visible.topLeft(), m_backgroundImage, visible);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRect source = visible.translated(-shift).intersected(m_moveAllLayer.rect());
    if (!source.isEmpty())
        painter.drawImage(source.topLeft() + shift, m_moveAllLayer, source);
    painter.end();
    ShowPageLayer();
}

void Dialog::NoteEraseAll(bool erase)
{
    if (!erase) {
        ShowEmptyPage();
        return;
    }
    const QVector<ErasedObject> erased =
        EraseAllObjects(m_board, m_curr_note.create_data, m_bRecording, RecordingElapsedMs());
    const int n = erased.size();
    for (int p = 1; p <= n; ++p) {
        const ErasedObject& object = erased[p - 1];
        InsertURList(URKindDelete, object.slot, object.master, object.detail, object.erase, PreData(), p, n,
                     QPoint());
    }
    if (n > 0)
        m_boardModified = true;
    // Everything of the page goes: nothing to gain from repainting by parts.
    RedrawPageObjects(true);
}
