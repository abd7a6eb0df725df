// Picking, the frame and dragging the selection in the main window, driven
// through the pointer primitives as every input source drives them.
#include <QtTest>

#include <QAction>
#include <QTcpServer>
#include <QTcpSocket>

#include "app/ui/dialog.h"
#include "collab/coll_frame.h"
#include "tests/support/board_window.h"
#include "tests/support/session_tap.h"
#include "tests/support/test_folders.h"

#include <memory>

namespace {

bool IsDark(QRgb pixel)
{
    return qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

int DarkIn(const QImage& image, QRect r)
{
    int n = 0;
    r = r.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += IsDark(image.pixel(x, y)) ? 1 : 0;
    return n;
}

}  // namespace

class DialogSelectionTest : public BoardWindowTest
{
    Q_OBJECT

    void Draw(int slot, int kind, QPoint from, QPoint to)
    {
        board->m_board.slot[slot].event_kind = kind;
        Drag(slot, from, to);
    }

    // The select tool on the mouse's slots.
    void UseTool(int kind)
    {
        board->m_board.slot[0].event_kind = kind;
        board->m_board.slot[kMouseOverflowSlot].event_kind = kind;
    }

    void Tap(QPoint p, QPoint release)
    {
        board->PointerPress(kMouseOverflowSlot, p.x(), p.y(), true, false);
        board->PointerMove(kMouseOverflowSlot, release.x(), release.y(), true, false);
        board->PointerRelease(kMouseOverflowSlot, release.x(), release.y(), true, false);
    }

    const EventDetail& Detail(int slot, quint16 id) { return *board->m_board.slot[slot].records.findDetail(id); }

private slots:
    // A release less than 2 pixels from its press is a tap, with its band
    // around the ink; from 2 pixels on it is an area pick with that
    // rectangle only.
    void tapOrAreaAtRelease_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<int>("selected");
        QTest::newRow("1-pixel tap beside the line") << QPoint(150, 105) << QPoint(151, 105) << 1;
        QTest::newRow("2-pixel area beside the line") << QPoint(150, 105) << QPoint(152, 105) << 0;
        QTest::newRow("2-pixel area across the line") << QPoint(150, 99) << QPoint(152, 101) << 1;
        QTest::newRow("tap on empty board") << QPoint(500, 400) << QPoint(500, 400) << 0;
    }

    void tapOrAreaAtRelease()
    {
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(int, selected);
        Draw(0, ekLine, QPoint(100, 100), QPoint(300, 100));
        UseTool(ekSelect);
        Tap(press, release);
        QCOMPARE(board->m_select_id_str.size(), selected);
        QCOMPARE(bool(Detail(0, 0).Selected), selected == 1);
    }

    // The frame with its handles appears around a picked line; a tap on
    // empty board wipes it and leaves nothing selected.
    void frameShownAndWiped()
    {
        Draw(0, ekLine, QPoint(100, 200), QPoint(300, 200));
        UseTool(ekSelect);
        Tap(QPoint(200, 204), QPoint(200, 204));
        QCOMPARE(board->m_select_id_str, QStringList{"0-0"});
        QVERIFY(board->SelectionFrameShown);
        const QRect r = board->SelectionRect;
        QCOMPARE(r, QRect(QPoint(97, 197), QPoint(303, 203)));
        QCOMPARE(board->SelectionPolygon.size(), 4);
        // The frame's top side 5 pixels out, and the top-left handle.
        QVERIFY(DarkIn(board->m_viewImage, QRect(200, r.top() - 6, 1, 3)) > 0);
        QVERIFY(!board->m_selectionState.Handles[0].isEmpty());
        QCOMPARE(board->m_selectionState.FrameCorners[0], QPoint(100, 200));

        Tap(QPoint(500, 450), QPoint(500, 450));
        QVERIFY(board->m_select_id_str.isEmpty());
        QVERIFY(!board->SelectionFrameShown);
        QCOMPARE(Detail(0, 0).Selected, quint8(0));
        QCOMPARE(DarkIn(board->m_viewImage, QRect(80, 170, 240, 25)), 0);
    }

    // While the pointer moves only the frame follows; the release moves the
    // objects by the drag in document pixels as one step.
    void dragMovesSelectionAsOneStep_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("zoom 1") << 1.0f << QPoint(60, 40) << QPoint(60, 40);
        QTest::newRow("zoom 2") << 2.0f << QPoint(10, -10) << QPoint(5, -5);
        QTest::newRow("zoom 3") << 3.0f << QPoint(10, -10) << QPoint(3, -3);
        QTest::newRow("released at the press") << 1.0f << QPoint(0, 0) << QPoint(0, 0);
    }

    void dragMovesSelectionAsOneStep()
    {
        QFETCH(float, zoom);
        QFETCH(QPoint, drag);
        QFETCH(QPoint, offset);
        Draw(0, ekLine, QPoint(200, 200), QPoint(400, 200));
        Draw(3, ekRect, QPoint(250, 250), QPoint(350, 330));
        if (zoom != 1.0f)
            board->ZoomByScale(zoom);
        const EventDetail lineBefore = Detail(0, 0);
        const EventDetail rectBefore = Detail(3, 0);
        UseTool(ekSelect);
        const QPoint a = (QPointF(190, 190) * zoom).toPoint() - QPoint(board->HorizontalScrollValue(),
                                                                        board->VerticalScrollValue());
        const QPoint b = (QPointF(360, 340) * zoom).toPoint() - QPoint(board->HorizontalScrollValue(),
                                                                        board->VerticalScrollValue());
        Tap(a, b);
        QCOMPARE(board->m_select_id_str, QStringList({"0-0", "3-0"}));
        const int entries = board->m_undo.URList.size();
        const QRect frame = board->SelectionRect;

        const QPoint press = frame.center();
        board->PointerPress(kMouseOverflowSlot, press.x(), press.y(), true, false);
        QCOMPARE(board->m_board.slot[kMouseOverflowSlot].event_kind, int(ekMove));
        QCOMPARE(board->SelectionEditMode, 1);
        QCOMPARE(board->SelectionHandle, 6);
        board->PointerMove(kMouseOverflowSlot, press.x() + drag.x() / 2, press.y() + drag.y() / 2, true, false);
        QCOMPARE(board->SelectionRect, frame.translated(drag / 2));
        QCOMPARE(Detail(0, 0).M, lineBefore.M);  // only the frame moved
        board->PointerRelease(kMouseOverflowSlot, press.x() + drag.x(), press.y() + drag.y(), true, false);

        QCOMPARE(board->m_board.slot[kMouseOverflowSlot].event_kind, int(ekSelect));
        QCOMPARE(board->SelectionEditMode, 0);
        QCOMPARE(Detail(0, 0).M, QPointF(lineBefore.M + offset));
        QCOMPARE(Detail(3, 0).C, QPointF(rectBefore.C + offset));
        QCOMPARE(Detail(3, 0).BoundRF, rectBefore.BoundRF.translated(offset));
        QCOMPARE(board->m_select_id_str.size(), 2);  // still selected
        QVERIFY(board->SelectionFrameShown);

        // A release where the drag began moved nothing: no undo step.
        const QVector<UndoRedo>& list = board->m_undo.URList;
        QCOMPARE(list.size(), entries + (offset.isNull() ? 0 : 2));
        if (offset.isNull())
            return;
        const UndoRedo& first = list[entries];
        const UndoRedo& second = list[entries + 1];
        QCOMPARE(first.Kind, int(URKindMove));
        QCOMPARE(second.Kind, int(URKindMove));
        QCOMPARE(first.StepPlace, 1);
        QCOMPARE(second.StepPlace, 2);
        QCOMPARE(first.StepSize, 2);
        QCOMPARE(first.Step, second.Step);
        QCOMPARE(first.Slot, 0);
        QCOMPARE(second.Slot, 3);
        QCOMPARE(first.Offset, offset);
        QCOMPARE(first.BeforeM, lineBefore.M);
        QCOMPARE(first.AfterM, Detail(0, 0).M);
        QCOMPARE(board->m_undo.URStepCount, list.last().Step + 1);
        QVERIFY(board->m_selectionState.FrameCorners[0] == board->m_selectionState.FrameCornersBefore[0] + offset);
    }

    // The line is painted at its new place and nothing stays at the old one.
    void movedObjectRepainted()
    {
        Draw(0, ekLine, QPoint(100, 300), QPoint(300, 300));
        UseTool(ekSelect);
        Tap(QPoint(200, 302), QPoint(200, 302));
        board->PointerPress(kMouseOverflowSlot, 200, 300, true, false);
        board->PointerMove(kMouseOverflowSlot, 200, 350, true, false);
        board->PointerMove(kMouseOverflowSlot, 200, 400, true, false);
        board->PointerRelease(kMouseOverflowSlot, 200, 400, true, false);
        QCOMPARE(DarkIn(board->m_viewImage, QRect(150, 295, 100, 10)), 0);
        QVERIFY(DarkIn(board->m_viewImage, QRect(150, 398, 100, 5)) > 50);
        QVERIFY(DarkIn(board->m_canvasImage, QRect(150, 398, 100, 5)) > 50);
    }

    // While recording each moved object logs its modify event; the strokes'
    // samples move in both lists.
    void recordingLogsModifyEvents()
    {
        board->m_board.slot[0].event_kind = ekFree;
        Drag(0, QPoint(100, 100), QPoint(200, 150), 10);
        board->m_bRecording = true;
        board->m_rec_time.start();
        UseTool(ekSelect);
        Tap(QPoint(150, 125), QPoint(150, 125));
        QCOMPARE(board->m_select_id_str, QStringList{"0-0"});
        board->PointerPress(kMouseOverflowSlot, 150, 125, true, false);
        board->PointerRelease(kMouseOverflowSlot, 170, 135, true, false);
        const QVector<ModifyPoint>& events = board->m_board.slot[0].modifyPoints;
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].ModifyKind, 0);
        QCOMPARE(events[0].GroupIndex, 1);
        QCOMPARE(events[0].GroupTotal, 1);
        QVERIFY(events[0].MediaPos >= 0);
        QCOMPARE(Detail(0, 0).Modified, quint8(1));
        const QVector<FreePenPoint> samples = board->m_board.FreePenMap.value("0-0");
        const QVector<FreePenPoint>& all = board->m_board.slot[0].allPoints;
        QCOMPARE(all.size(), samples.size());
        for (int i = 0; i < samples.size(); ++i)
            QCOMPARE(all[i].M, samples[i].M);
        QCOMPARE(samples.first().M, QPointF(120, 110));
        board->m_bRecording = false;
    }

    // A tap of the selection eraser deletes the topmost object under it, one
    // undo step each; a second tap deletes the next one down.
    void selectionEraserTaps()
    {
        Draw(0, ekFillRect, QPoint(100, 100), QPoint(300, 300));
        Draw(0, ekFillRect, QPoint(150, 150), QPoint(350, 350));
        const int entries = board->m_undo.URList.size();
        UseTool(ekSelEraser);
        Tap(QPoint(200, 200), QPoint(200, 200));
        QVERIFY(Detail(0, 1).Deleted);
        QVERIFY(!Detail(0, 0).Deleted);
        QCOMPARE(board->m_undo.URList.size(), entries + 1);
        QCOMPARE(board->m_undo.URList.last().Kind, int(URKindDelete));
        QCOMPARE(board->m_undo.URList.last().EventID, quint16(1));
        QCOMPARE(board->m_undo.URList.last().StepSize, 1);
        QCOMPARE(board->m_undo.URList.last().Deleted, quint8(0));  // the state before
        Tap(QPoint(200, 200), QPoint(200, 200));
        QVERIFY(Detail(0, 0).Deleted);
        QCOMPARE(Detail(0, 0).PageDeleted, quint8(1));
        QCOMPARE(board->m_undo.URList.size(), entries + 2);
        QCOMPARE(board->m_undo.URStepCount, board->m_undo.URList.last().Step + 1);
        Tap(QPoint(200, 200), QPoint(200, 200));
        QCOMPARE(board->m_undo.URList.size(), entries + 2);
        QVERIFY(board->m_select_id_str.isEmpty());
        QCOMPARE(DarkIn(board->m_viewImage, QRect(190, 190, 20, 20)), 0);
    }

    // The press finds the selected object in the slot that drew it: a
    // vertical arrow of a touch slot, pressed with the mouse, keeps its x
    // although the mouse's own slot has a level object with that EventID.
    void pressFindsSelectedObjectInItsSlot()
    {
        Draw(kMouseOverflowSlot, ekLine, QPoint(400, 500), QPoint(600, 500));
        Draw(3, ekEArrow, QPoint(200, 100), QPoint(200, 300));
        QCOMPARE(Detail(3, 0).M.x(), Detail(3, 0).C.x());
        UseTool(ekSelect);
        Tap(QPoint(202, 200), QPoint(202, 200));
        QCOMPARE(board->m_select_id_str, QStringList{"3-0"});
        board->PointerPress(kMouseOverflowSlot, 200, 200, true, false);
        QVERIFY(board->LockX);
        QVERIFY(!board->LockY);
        QCOMPARE(board->SelectionEditMode, 1);
        board->PointerRelease(kMouseOverflowSlot, 200, 200, true, false);
    }

    // Taking a frame back off the view near the page's edge brings back the
    // page, never black from outside it.
    void frameRestoredAtPageEdge()
    {
        Draw(0, ekLine, QPoint(2, 1), QPoint(150, 1));
        UseTool(ekSelect);
        Tap(QPoint(50, 2), QPoint(50, 2));
        QCOMPARE(board->m_select_id_str.size(), 1);
        QVERIFY(board->SelectionRect.top() < 0);
        board->RestoreFrameArea(board->SelectionRect, 0);
        const QImage& view = board->m_viewImage;
        const QImage& page = board->m_canvasImage;
        const QRect area = FrameRestoreArea(board->SelectionRect, 0.0).intersected(view.rect());
        QVERIFY(area.contains(0, 0));
        int differing = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                differing += view.pixel(x, y) != page.pixel(x, y) ? 1 : 0;
        QCOMPARE(differing, 0);
        QVERIFY(!IsDark(view.pixel(0, 0)));
        QVERIFY(!IsDark(view.pixel(1, 8)));
    }

    // Emptying the selection turns off the eight actions that need one.
    void clearingDisablesEditActions()
    {
        QVector<QAction*> actions;
        for (int i = 0; i < 12; ++i) {
            actions << new QAction(board);
            actions.last()->setEnabled(true);
            board->m_editActions << actions.last();
        }
        board->ClearSelection();
        QCOMPARE(board->SelectionRect, QRect(0, 0, 0, 0));
        for (int i = 0; i < 12; ++i) {
            const bool kept = i == 2 || i == 4 || i == 9 || i == 10;  // paste, all, group, ungroup
            QCOMPARE(actions[i]->isEnabled(), kept);
        }
        board->m_editActions.clear();
    }

    // At level 3 each moved or tap-deleted object goes to the peers as one
    // "MODIFY_SET"; at level 0 nothing is sent.
    void peersHearOfEdits()
    {
        SessionTap tap(board, 0);
        QVERIFY(tap.ok());

        Draw(0, ekLine, QPoint(100, 100), QPoint(300, 100));
        Draw(2, ekRect, QPoint(120, 150), QPoint(220, 250));
        UseTool(ekSelect);
        board->m_collUserLevel = 0;
        Tap(QPoint(90, 90), QPoint(230, 260));
        board->PointerPress(kMouseOverflowSlot, 150, 150, true, false);
        board->PointerRelease(kMouseOverflowSlot, 160, 170, true, false);

        board->m_collUserLevel = 3;
        // A tap on the selection moves nothing and sends nothing.
        board->PointerPress(kMouseOverflowSlot, 150, 150, true, false);
        board->PointerRelease(kMouseOverflowSlot, 150, 150, true, false);
        board->PointerPress(kMouseOverflowSlot, 150, 150, true, false);
        board->PointerRelease(kMouseOverflowSlot, 140, 155, true, false);
        UseTool(ekSelEraser);
        Tap(QPoint(150, 125), QPoint(150, 125));  // the line, now at y 125
        board->m_collUserLevel = 0;

        // Only the edits are looked at: the undo list's own messages may
        // travel on the same socket.
        QVector<CollFrame> frames;
        for (const CollFrame& frame : tap.Frames()) {
            if (frame.keyword == "MODIFY_SET")
                frames.append(frame);
        }
        QCOMPARE(frames.size(), 3);
        for (const CollFrame& f : frames)
            QCOMPARE(f.tail, QByteArray("Block_EN\n"));
        // The level-0 move by (10, 20) sent nothing; the level-3 move by
        // (-10, 5) sends the corners of each object's bounds after it.
        QCOMPARE(frames[0].data, QByteArray("0,0-0,0,-10,5,100,125,300,125,300,125,100,125,1,2,3"));
        QCOMPARE(frames[1].data, QByteArray("0,2-0,0,-10,5,120,175,220,175,220,275,120,275,2,2,3"));
        QCOMPARE(frames[2].data, QByteArray("2,0-0,0,1,1,1"));
    }
};

QTEST_MAIN(DialogSelectionTest)
#include "dialog_selection_test.moc"
