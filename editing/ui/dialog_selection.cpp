// The selection of the main window: picking objects by a tap or an area, the
// frame drawn around them, and the tap delete of the selection eraser.
#include <QAction>
#include <QDebug>
#include <QPainter>

#include "app/ui/dialog.h"

BoardView Dialog::CurrentBoardView() const
{
    BoardView view;
    view.zoom = m_zoom;
    view.hscroll = HorizontalScrollValue();
    view.vscroll = VerticalScrollValue();
    return view;
}

void Dialog::ClearSelection()
{
    for (const QString& key : qAsConst(m_select_id_str)) {
        const ObjectRef ref = FindObjectByKey(m_board, key);
        if (ref.found())
            ref.detail->Selected = 0;
    }
    m_select_id_str.clear();
    SelectionRect = QRect(0, 0, 0, 0);
    // Nothing is selected to cut, copy, delete, restack or reset; paste,
    // select-all, group and ungroup keep their state.
    for (int index : {0, 1, 3, 5, 6, 7, 8, 11}) {
        if (index < m_editActions.size() && m_editActions[index])
            m_editActions[index]->setEnabled(false);
    }
}

void Dialog::ActOnPickedObjects(const QVector<PickedObject>& picked, bool erase)
{
    for (const PickedObject& pick : picked) {
        const QString key = MakeObjectKey(pick.slot, pick.eventId);
        PointerSlotState& s = m_board.slot[pick.slot];
        EventMaster* em = s.records.findMaster(pick.eventId);
        EventDetail* ed = em ? s.records.findDetail(em->EventID) : nullptr;
        if (!ed)
            continue;
        if (!erase) {
            ed->Selected = 1;
            m_select_id_str.append(key);
            m_selectionState.Master = *em;
            SelectionAngle = ed->Angle;
            RectCorners(ed->BoundRF, m_selectionState.FrameCornersBefore);
            RectCorners(ed->BoundRF, m_selectionState.FrameCorners);
            m_selectionState.FrameRect = RectFromCorners(m_selectionState.FrameCorners);
            continue;
        }
        DeleteObjectInStep(key, 1, 1, RecordingElapsedMs());
    }
}

void Dialog::SelectObjectAtPoint(int x1, int y1, int x2, int y2, bool erase)
{
    Q_UNUSED(x2);
    Q_UNUSED(y2);
    ClearSelection();
    const QVector<PickedObject> picked =
        PickObjectsAtPoint(m_board, m_curr_note.create_data, CurrentBoardView(), QPoint(x1, y1));
    ActOnPickedObjects(picked, erase);
    if (!picked.isEmpty()) {
        RedrawChangedObjects();
        if (!erase && !m_select_id_str.isEmpty()) {
            CalcSelectionRect();
            UpdatePageLabel(false, 0, 1);
        }
    } else if (!erase && SelectionFrameShown) {
        RedrawPageObjects(true);
        SelectionFrameShown = false;
    }
}

void Dialog::SelectObjectsInArea(int x1, int y1, int x2, int y2, bool erase)
{
    ClearSelection();
    const QVector<PickedObject> picked =
        PickObjectsInArea(m_board, m_curr_note.create_data, CurrentBoardView(), QPoint(x1, y1), QPoint(x2, y2));
    for (const PickedObject& pick : picked) {
        const ConstObjectRef ref = FindObjectByKey(qAsConst(m_board), MakeObjectKey(pick.slot, pick.eventId));
        if (ref.found())
            qDebug().noquote() << QStringLiteral("exe : area pick : eventID : %1, M = (%2, %3), C = (%4, %5), key = %6")
                                      .arg(pick.eventId)
                                      .arg(ref.detail->M.x()).arg(ref.detail->M.y())
                                      .arg(ref.detail->C.x()).arg(ref.detail->C.y())
                                      .arg(MakeObjectKey(pick.slot, pick.eventId));
    }
    ActOnPickedObjects(picked, erase);
    if (!picked.isEmpty()) {
        RedrawChangedObjects();
        if (!erase && !m_select_id_str.isEmpty())
            CalcSelectionRect();
    } else if (!erase && SelectionFrameShown) {
        RedrawPageObjects(true);
        SelectionFrameShown = false;
    }
}

void Dialog::CalcSelectionRect()
{
    SelectionRect = SelectionFrameRect(m_board, m_select_id_str, CurrentBoardView());
    const QRect r = SelectionRect;
    SelectionPolygon = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    // An empty selection (a scroll while the select tool is on) has nothing
    // to frame; a frame at the window's corner would only puzzle.
    if (m_select_id_str.isEmpty())
        return;
    SelectionFrameShown = true;
    RotatedObjectFrame(SelectionRect);
}

void Dialog::RestoreFrameArea(QRect rect, int mode)
{
    const QRect area = mode == 1 ? FrameRestoreArea(RubberBandCorners)
                                 : FrameRestoreArea(rect, mode == 2 ? RotateAngle : double(SelectionAngle));
    // The page layer is the page without any frame. Only what lies on the
    // view is copied: an area reaching past the page's edge would otherwise
    // bring black from outside the image onto it.
    const QRect layerOnView = m_canvasImage.rect().translated(-PageViewRect().topLeft());
    ShowPageLayerRect(area.intersected(layerOnView));
}
