// Resizing and turning the selected object in the main window, driven
// through the pointer primitives as every input source drives them, and the
// two-finger pinch driven through the gesture's dispatch (the test display
// has no multi-touch).
#include <QtTest>

#include "app/ui/dialog.h"
#include "board/geometry.h"
#include "collab/coll_frame.h"
#include "tests/support/board_window.h"
#include "tests/support/session_tap.h"
#include "ui_dialog.h"

namespace {

// The handle polygons of the frame: 1..5 then 7..10.
int PolygonOf(int handle)
{
    return handle <= 5 ? handle - 1 : handle - 2;
}

struct PinchStep {
    double scale;
    double rotation;
};

}  // namespace

Q_DECLARE_METATYPE(QVector<PinchStep>)
Q_DECLARE_METATYPE(QVector<int>)
Q_DECLARE_METATYPE(QMargins)

class DialogResizeTest : public BoardWindowTest
{
    Q_OBJECT

    quint16 Draw(int kind, QPoint from, QPoint to, int steps = 4)
    {
        board->m_board.slot[0].event_kind = kind;
        const quint16 id = quint16(board->m_board.slot[0].nextEventId);
        Drag(0, from, to, steps);
        return id;
    }

    // Picks the object under the tap with the select tool.
    void Select(QPoint tap)
    {
        board->m_board.slot[0].event_kind = ekSelect;
        board->m_board.slot[kMouseOverflowSlot].event_kind = ekSelect;
        board->PointerPress(0, tap.x(), tap.y(), true, false);
        board->PointerRelease(0, tap.x(), tap.y(), true, false);
    }

    QPoint HandleAt(int handle) { return board->m_selectionState.Handles[PolygonOf(handle)].boundingRect().center(); }

    EventDetail& Detail(quint16 id, int slot = 0) { return *board->m_board.slot[slot].records.findDetail(id); }

    int Entries() { return board->m_undo.URList.size(); }

    QVector<int> KindsSince(int from)
    {
        QVector<int> kinds;
        for (int i = from; i < board->m_undo.URList.size(); ++i)
            kinds << board->m_undo.URList[i].Kind;
        return kinds;
    }

    // A rectangle of 100 x 50 at (300, 200), selected.
    quint16 SelectedRect(QSize size = QSize(100, 50))
    {
        const quint16 id = Draw(ekRect, QPoint(300, 200), QPoint(300 + size.width(), 200 + size.height()));
        Select(QPoint(300, 200 + size.height() / 2));
        [&] { QCOMPARE(board->m_select_id_str, QStringList{MakeObjectKey(0, id)}); }();
        return id;
    }

    void CornersAreBounds(quint16 id)
    {
        QPoint corners[4];
        RectCorners(Detail(id).BoundRF, corners);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(board->m_selectionState.FrameCorners[i], corners[i]);
    }

    QVector<QPointF> MapPoints(quint16 id)
    {
        QVector<QPointF> points;
        for (const FreePenPoint& p : board->m_board.FreePenMap.value(MakeObjectKey(0, id)))
            points << p.M;
        return points;
    }

    QVector<QPointF> FullListPoints(quint16 id)
    {
        QVector<QPointF> points;
        for (const FreePenPoint& p : qAsConst(board->m_board.slot[0].allPoints))
            if (p.EventID == id)
                points << p.M;
        return points;
    }

    QStringList ModifyFrames(SessionTap& tap)
    {
        QStringList data;
        for (const CollFrame& frame : tap.Frames())
            if (frame.keyword == "MODIFY_SET")
                data << QString::fromLatin1(frame.data);
        return data;
    }

private slots:
    // The bottom-right corner dragged outward: the rectangle grows with its
    // proportions from its top-left corner, as one resize entry; undo and
    // redo put the old and the new geometry back.
    void cornerKeepsProportionsAndUndoes()
    {
        const quint16 id = SelectedRect();
        const EventDetail before = Detail(id);
        const int entries = Entries();
        const QPoint grab = HandleAt(3);
        Drag(0, grab, grab + QPoint(40, 10));
        const EventDetail after = Detail(id);
        QCOMPARE(after.BoundRF.topLeft(), before.BoundRF.topLeft());
        QVERIFY(after.BoundRF.width() > before.BoundRF.width() + 30);
        QVERIFY(qAbs(after.BoundRF.width() - 2 * after.BoundRF.height()) <= 2);
        QCOMPARE(after.M, before.M);
        QVERIFY(after.C.x() > before.C.x() && after.C.y() > before.C.y());
        QCOMPARE(KindsSince(entries), QVector<int>{URKindResize});
        QCOMPARE(board->m_undo.URList.last().StepSize, 1);
        QCOMPARE(board->ResizeOldBound, before.BoundRF);
        CornersAreBounds(id);
        QCOMPARE(board->SelectionEditMode, 0);
        QCOMPARE(board->m_select_id_str.size(), 1);

        board->OptUndo();
        QCOMPARE(Detail(id).BoundRF, before.BoundRF);
        QCOMPARE(Detail(id).C, before.C);
        board->OptRedo();
        QCOMPARE(Detail(id).BoundRF, after.BoundRF);
        QCOMPARE(Detail(id).C, after.C);
    }

    // A handle pressed and let go without moving leaves the object as it
    // is, whichever handle and however turned.
    void handlePressedWithoutMoving_data()
    {
        QTest::addColumn<int>("handle");
        QTest::addColumn<float>("angle");
        QTest::newRow("corner") << 3 << 0.f;
        QTest::newRow("side") << 10 << 0.f;
        QTest::newRow("turned corner") << 1 << 30.f;
    }
    void handlePressedWithoutMoving()
    {
        QFETCH(int, handle);
        QFETCH(float, angle);
        const quint16 id = Draw(ekRect, QPoint(300, 200), QPoint(400, 250));
        Detail(id).Angle = angle;
        Select(QPoint(300, 225));
        const EventDetail before = Detail(id);
        const QPoint grab = HandleAt(handle);
        Drag(0, grab, grab, 2);
        QCOMPARE(Detail(id).BoundRF, before.BoundRF);
        QCOMPARE(Detail(id).C, before.C);
    }

    // At zoom 2 with both scroll bars moved, a drag of 80 by 40 widget
    // pixels is 40 by 20 document pixels.
    void zoomedAndScrolled()
    {
        const quint16 id = Draw(ekRect, QPoint(300, 200), QPoint(400, 250));
        QCOMPARE(Detail(id).BoundRF, QRect(300, 200, 100, 50));
        board->ZoomByScale(2.0f);
        board->ui->horizontalScrollBar->setValue(150);
        board->ui->verticalScrollBar->setValue(90);
        const BoardView view = board->CurrentBoardView();
        QCOMPARE(view.zoom, 2.0);
        QVERIFY(view.hscroll > 0 && view.vscroll > 0);
        Select(QPoint(600 - view.hscroll, 450 - view.vscroll));
        QCOMPARE(board->m_select_id_str.size(), 1);
        const QPoint grab = HandleAt(3);
        Drag(0, grab, grab + QPoint(80, 40));
        QCOMPARE(Detail(id).BoundRF, QRect(300, 200, 140, 70));
        QCOMPARE(Detail(id).C, QPointF(440, 270));
        CornersAreBounds(id);
    }

    // A side handle moves its side only.
    void sideMovesOneEdge()
    {
        const quint16 id = SelectedRect();
        const QRect before = Detail(id).BoundRF;
        const QPoint grab = HandleAt(10);
        Drag(0, grab, grab + QPoint(-30, 7));
        const QRect after = Detail(id).BoundRF;
        QCOMPARE(after.y(), before.y());
        QCOMPARE(after.height(), before.height());
        QCOMPARE(after.x() + after.width(), before.x() + before.width());
        QVERIFY(after.x() < before.x() - 25);
    }

    // Moved and released past the fixed corner: nothing changes and nothing
    // is recorded; the frame corners are document pixels again.
    void pastTheFixedCorner()
    {
        const quint16 id = SelectedRect();
        const EventDetail before = Detail(id);
        const int entries = Entries();
        const QPoint grab = HandleAt(1);
        board->PointerPress(0, grab.x(), grab.y(), true, false);
        QCOMPARE(board->SelectionHandle, 1);
        board->PointerMove(0, grab.x() + 30, grab.y() + 20, true, false);
        board->PointerMove(0, 450, 300, true, false);
        board->PointerRelease(0, 450, 300, true, false);
        QCOMPARE(Detail(id).BoundRF, before.BoundRF);
        QCOMPARE(Detail(id).M, before.M);
        QCOMPARE(Detail(id).C, before.C);
        QCOMPARE(Entries(), entries);
        CornersAreBounds(id);
    }

    // The side handles a frame offers: none across a vertical arrow (it only
    // grows in height) and none across a frame 5 document pixels wide.
    void sideHandlesOffered_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("handle");
        QTest::addColumn<bool>("offered");
        QTest::newRow("vertical arrow, right") << int(ekEArrow) << QPoint(300, 300) << 8 << false;
        QTest::newRow("vertical arrow, left") << int(ekEArrow) << QPoint(300, 300) << 10 << false;
        QTest::newRow("vertical arrow, bottom") << int(ekEArrow) << QPoint(300, 300) << 9 << true;
        QTest::newRow("5 wide, right") << int(ekRect) << QPoint(305, 300) << 8 << false;
        QTest::newRow("5 wide, left") << int(ekRect) << QPoint(305, 300) << 10 << false;
        QTest::newRow("5 wide, top") << int(ekRect) << QPoint(305, 300) << 7 << true;
        QTest::newRow("6 wide, right") << int(ekRect) << QPoint(306, 300) << 8 << true;
    }
    void sideHandlesOffered()
    {
        QFETCH(int, kind);
        QFETCH(QPoint, to);
        QFETCH(int, handle);
        QFETCH(bool, offered);
        const quint16 id = Draw(kind, QPoint(300, 200), to);
        // Picked with an area: a tap does not find a rectangle this narrow.
        board->m_board.slot[0].event_kind = ekSelect;
        Drag(0, QPoint(250, 150), QPoint(350, 350));
        QCOMPARE(board->m_select_id_str, QStringList{MakeObjectKey(0, id)});
        const QPoint p = HandleAt(handle);
        board->PointerPress(0, p.x(), p.y(), true, false);
        QCOMPARE(board->SelectionEditMode == 2 && board->SelectionHandle == handle, offered);
        board->PointerRelease(0, p.x(), p.y(), true, false);
    }

    // The top-right corner of a vertical arrow dragged up and out: only the
    // height changes, its x stays.
    void verticalArrowGrowsInHeight()
    {
        const quint16 id = Draw(ekEArrow, QPoint(300, 200), QPoint(300, 300));
        Select(QPoint(300, 250));
        const EventDetail before = Detail(id);
        const QPoint grab = HandleAt(2);
        Drag(0, grab, grab + QPoint(30, -40));
        const EventDetail& after = Detail(id);
        QCOMPARE(after.BoundRF.x(), before.BoundRF.x());
        QCOMPARE(after.BoundRF.width(), before.BoundRF.width());
        QVERIFY(after.BoundRF.height() > before.BoundRF.height() + 30);
        QCOMPARE(after.M.x(), 300.0);
        QCOMPARE(after.C.x(), 300.0);
    }

    // Turned by 90 degrees and widened with its right-side handle (which
    // the screen shows below it), the rectangle keeps its left side (shown
    // on top) where it was.
    void turnedRectangleKeepsItsOppositeSide()
    {
        const quint16 id = SelectedRect();
        const QPoint centre = QRectF(Detail(id).BoundRF).center().toPoint();
        const QPoint turn = HandleAt(5);
        Drag(0, turn, centre + QPoint(150, 2));
        QCOMPARE(Detail(id).Angle, 90.f);
        const auto fixedSide = [&] {
            const QRect r = Detail(id).BoundRF;
            const QPoint c(r.x() + r.width() / 2, r.y() + r.height() / 2);
            return QLine(RotatePoint(r.x(), r.y(), 90, c.x(), c.y()),
                         RotatePoint(r.x(), r.y() + r.height(), 90, c.x(), c.y()));
        };
        const QLine before = fixedSide();
        const QPoint grab = HandleAt(8);
        Drag(0, grab, grab + QPoint(0, 40));
        QVERIFY(Detail(id).BoundRF.width() > 130);
        const QLine after = fixedSide();
        QVERIFY2((after.p1() - before.p1()).manhattanLength() <= 2 && (after.p2() - before.p2()).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("left side moved from (%1, %2)-(%3, %4) to (%5, %6)-(%7, %8)")
                                .arg(before.x1()).arg(before.y1()).arg(before.x2()).arg(before.y2())
                                .arg(after.x1()).arg(after.y1()).arg(after.x2()).arg(after.y2())));
    }

    // A stroke scales through its samples, in FreePenMap and in the slot's
    // full list alike (what a project save writes); M and C stay.
    void strokeSamplesFollow()
    {
        const quint16 first = Draw(ekFree, QPoint(100, 400), QPoint(200, 450), 6);
        const QVector<QPointF> firstPoints = MapPoints(first);
        const quint16 id = Draw(ekFree, QPoint(300, 200), QPoint(400, 300), 8);
        Select(QPoint(350, 250));
        QCOMPARE(board->m_select_id_str, QStringList{MakeObjectKey(0, id)});
        const EventDetail before = Detail(id);
        const QVector<QPointF> pointsBefore = MapPoints(id);
        const QPoint grab = HandleAt(9);
        Drag(0, grab, grab + QPoint(0, -50));
        const EventDetail& after = Detail(id);
        QCOMPARE(after.M, before.M);
        QCOMPARE(after.C, before.C);
        QVERIFY(after.BoundRF.height() < before.BoundRF.height() - 40);
        const QVector<QPointF> points = MapPoints(id);
        QCOMPARE(points.size(), pointsBefore.size());
        QCOMPARE(FullListPoints(id), points);
        for (int i = 0; i < points.size(); ++i) {
            QCOMPARE(points[i].x(), pointsBefore[i].x());
            QVERIFY(points[i].y() <= after.BoundRF.y() + after.BoundRF.height() + 0.001);
        }
        QCOMPARE(MapPoints(first), firstPoints);
        QCOMPARE(FullListPoints(first), firstPoints);
    }

    // The rotation handle dragged round to the right of the centre and let
    // go a little below: snapped to 90. Points and rectangle stay; one
    // rotate entry, and undo turns it back.
    void rotateSnapsAndUndoes()
    {
        const quint16 id = SelectedRect();
        const EventDetail before = Detail(id);
        const int entries = Entries();
        const QPoint centre = QRectF(before.BoundRF).center().toPoint();
        Drag(0, HandleAt(5), centre + QPoint(120, 4));
        const EventDetail& after = Detail(id);
        QCOMPARE(after.Angle, 90.f);
        QCOMPARE(board->SelectionAngle, 90.f);
        QCOMPARE(after.M, before.M);
        QCOMPARE(after.C, before.C);
        QCOMPARE(after.BoundRF, before.BoundRF);
        QCOMPARE(KindsSince(entries), QVector<int>{URKindRotate});
        board->OptUndo();
        QCOMPARE(Detail(id).Angle, 0.f);
        board->OptRedo();
        QCOMPARE(Detail(id).Angle, 90.f);
    }

    // A pointer that stays within 10 pixels of the press draws no preview,
    // but the release still turns the object to the release point's angle.
    void smallTurnWithoutPreview()
    {
        const quint16 id = SelectedRect();
        const QPoint grab = HandleAt(5);
        board->PointerPress(0, grab.x(), grab.y(), true, false);
        QPoint drawn[4];
        std::copy(board->RubberBandCorners, board->RubberBandCorners + 4, drawn);
        board->PointerMove(0, grab.x() + 6, grab.y() + 3, true, false);
        board->PointerMove(0, grab.x() + 10, grab.y(), true, false);
        QVERIFY(std::equal(drawn, drawn + 4, board->RubberBandCorners));
        board->PointerRelease(0, grab.x() + 10, grab.y(), true, false);
        const QPoint* fc = board->m_selectionState.FrameCorners;
        const double expected = HandleAngle(MidPoint(fc[0].x(), fc[0].y(), fc[2].x(), fc[2].y()), grab + QPoint(10, 0));
        QVERIFY(expected > 5 && expected < 30);
        QCOMPARE(Detail(id).Angle, float(expected));
    }

    // Let go at the angle it has: no entry, no message, but the page is
    // drawn again.
    void releaseAtPresentAngle()
    {
        const quint16 id = SelectedRect();
        SessionTap tap(board, 3);
        QVERIFY(tap.ok());
        const int entries = Entries();
        const int redraws = board->m_fullRedrawCount;
        const QPoint grab = HandleAt(5);
        Drag(0, grab, grab + QPoint(0, -30));
        QCOMPARE(Detail(id).Angle, 0.f);
        QCOMPARE(Entries(), entries);
        QVERIFY(board->m_fullRedrawCount > redraws);
        QCOMPARE(ModifyFrames(tap), QStringList());
    }

    // While recording each edit logs one modify event; a turn carries the
    // same rectangle twice and both angles.
    void recordingLogsTheEdits()
    {
        const quint16 id = SelectedRect();
        board->m_bRecording = true;
        board->m_rec_time.start();
        const QRect bound = Detail(id).BoundRF;
        const QPoint centre = QRectF(bound).center().toPoint();
        Drag(0, HandleAt(5), centre + QPoint(-120, 3));
        QCOMPARE(board->m_board.slot[0].modifyPoints.size(), 1);
        ModifyPoint mp = board->m_board.slot[0].modifyPoints.last();
        QCOMPARE(mp.BoundRF, bound);
        QCOMPARE(mp.PrevBoundRF, bound);
        QCOMPARE(mp.Angle, 270.f);
        QCOMPARE(mp.PrevAngle, 0.f);
        QVERIFY(mp.MediaPos >= 0.0);
        QCOMPARE(Detail(id).Modified, quint8(1));

        const QPoint grab = HandleAt(9);
        Drag(0, grab, grab + QPoint(-20, 0));
        QCOMPARE(board->m_board.slot[0].modifyPoints.size(), 2);
        mp = board->m_board.slot[0].modifyPoints.last();
        QCOMPARE(mp.PrevBoundRF, bound);
        QCOMPARE(mp.BoundRF, Detail(id).BoundRF);
        QVERIFY(mp.BoundRF != bound);
        QCOMPARE(mp.Angle, 270.f);
        QCOMPARE(mp.GroupRect, QRect(-1, -1, -1, -1));
        board->m_bRecording = false;
    }

    // At level 3 a resize sends "MODIFY_SET" in mode 1 with the new
    // rectangle and the level, a turn in mode 3 with the angle.
    void peersHearTheEdits()
    {
        const quint16 id = SelectedRect();
        SessionTap tap(board, 3);
        QVERIFY(tap.ok());
        const QPoint grab = HandleAt(3);
        Drag(0, grab, grab + QPoint(40, 10));
        const QRect r = Detail(id).BoundRF;
        QCOMPARE(ModifyFrames(tap), QStringList{QStringLiteral("1,0-%1,%1,%2,%3,%4,%5,1,1,3")
                                                     .arg(id).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())});
        tap.Forget();
        const QPoint centre = QRectF(r).center().toPoint();
        Drag(0, HandleAt(5), centre + QPoint(0, 150));
        QCOMPARE(ModifyFrames(tap), QStringList{QStringLiteral("3,0-%1,%1,180,1,1").arg(id)});
    }

    // The pinch on one selected 100 x 60 rectangle: the fingers' turn and
    // spread as the gesture reports them, the angle the object ends at, the
    // undo entries the finish records and how far each side moved.
    void pinch_data()
    {
        QTest::addColumn<float>("startAngle");
        QTest::addColumn<QVector<PinchStep>>("steps");
        QTest::addColumn<float>("angle");
        QTest::addColumn<QVector<int>>("kinds");
        QTest::addColumn<QMargins>("grown");
        const QVector<int> resize{URKindResize};
        const QVector<int> both{URKindRotate, URKindResize};
        QTest::newRow("spread to 1.5") << 0.f << QVector<PinchStep>{{1.2, 0}, {1.5, 0}} << 0.f << resize
                                       << QMargins(25, 15, 25, 15);
        QTest::newRow("0 to 88") << 0.f << QVector<PinchStep>{{1.0, 40}, {1.0, 88}} << 90.f << both << QMargins();
        QTest::newRow("10 to 3") << 10.f << QVector<PinchStep>{{1.0, -7}} << 0.f << both << QMargins();
        QTest::newRow("at 3, only scaled") << 3.f << QVector<PinchStep>{{0.5, 0}} << 0.f << both
                                           << QMargins(-25, -15, -25, -15);
        QTest::newRow("-30 is 330") << 0.f << QVector<PinchStep>{{1.0, -30}} << 330.f << both << QMargins();
        QTest::newRow("-400 snaps to 0") << 0.f << QVector<PinchStep>{{1.0, -200}, {1.0, -400}} << 0.f << resize
                                         << QMargins();
        QTest::newRow("scale 1.0 still resizes") << 0.f << QVector<PinchStep>{{1.0, 0}} << 0.f << resize
                                                 << QMargins();
    }
    void pinch()
    {
        QFETCH(float, startAngle);
        QFETCH(QVector<PinchStep>, steps);
        QFETCH(float, angle);
        QFETCH(QVector<int>, kinds);
        QFETCH(QMargins, grown);
        const quint16 id = Draw(ekRect, QPoint(300, 200), QPoint(400, 260));
        Detail(id).Angle = startAngle;
        Select(QPoint(300, 230));
        QCOMPARE(board->m_select_id_str.size(), 1);
        const QRect before = Detail(id).BoundRF;
        QCOMPARE(before.size(), QSize(100, 60));
        const int entries = Entries();

        board->PinchGesture(Qt::GestureStarted, 1.0, 0.0, 0.0);
        double last = 0.0;
        for (const PinchStep& step : steps) {
            board->PinchGesture(Qt::GestureUpdated, step.scale, step.rotation, last);
            last = step.rotation;
        }
        QCOMPARE(board->SelectionAngle, angle);  // the frame shows it
        board->PinchGesture(Qt::GestureFinished, steps.last().scale, last, last);

        QCOMPARE(Detail(id).Angle, angle);
        QCOMPARE(KindsSince(entries), kinds);
        QCOMPARE(Detail(id).BoundRF, before.marginsAdded(grown));
        QCOMPARE(board->PinchScale, 1.0);
        QCOMPARE(board->PinchAngle, double(angle));
        QVERIFY(!board->GestureActive && !board->GestureHold);
        CornersAreBounds(id);
    }

    // A pinch on a stroke scales its samples about its middle, in both
    // sample lists.
    void pinchOnStroke()
    {
        const quint16 id = Draw(ekFree, QPoint(300, 200), QPoint(400, 300), 8);
        Select(QPoint(350, 250));
        QCOMPARE(board->m_select_id_str.size(), 1);
        const QRect before = Detail(id).BoundRF;
        board->PinchGesture(Qt::GestureStarted, 1.0, 0.0, 0.0);
        board->PinchGesture(Qt::GestureUpdated, 2.0, 0.0, 0.0);
        board->PinchGesture(Qt::GestureFinished, 2.0, 0.0, 0.0);
        const QRect after = Detail(id).BoundRF;
        QVERIFY(qAbs(after.width() - 2 * before.width()) <= 1);
        QVERIFY(qAbs(QRectF(after).center().x() - QRectF(before).center().x()) <= 1);
        const QVector<QPointF> points = MapPoints(id);
        QCOMPARE(FullListPoints(id), points);
        double minX = 1e9, maxX = -1e9;
        for (const QPointF& p : points) {
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
        }
        QVERIFY(minX < before.x() - 20);
        QVERIFY(maxX > before.x() + before.width() + 20);
    }

    // A pinch with two objects selected, or with another tool, is ignored.
    void pinchIgnored_data()
    {
        QTest::addColumn<bool>("twoSelected");
        QTest::newRow("two objects selected") << true;
        QTest::newRow("another tool") << false;
    }
    void pinchIgnored()
    {
        QFETCH(bool, twoSelected);
        const quint16 a = Draw(ekRect, QPoint(300, 200), QPoint(400, 260));
        const quint16 b = Draw(ekRect, QPoint(500, 200), QPoint(600, 260));
        if (twoSelected) {
            board->m_board.slot[0].event_kind = ekSelect;
            Drag(0, QPoint(250, 150), QPoint(650, 300));
            QCOMPARE(board->m_select_id_str.size(), 2);
        } else {
            Select(QPoint(300, 230));
            QCOMPARE(board->m_select_id_str.size(), 1);
            board->m_board.slot[0].event_kind = ekFree;
        }
        const int entries = Entries();
        board->PinchGesture(Qt::GestureStarted, 1.0, 0.0, 0.0);
        board->PinchGesture(Qt::GestureUpdated, 1.5, 45.0, 0.0);
        board->PinchGesture(Qt::GestureFinished, 1.5, 45.0, 45.0);
        QCOMPARE(Entries(), entries);
        QCOMPARE(Detail(a).BoundRF.size(), QSize(100, 60));
        QCOMPARE(Detail(b).BoundRF.size(), QSize(100, 60));
        QCOMPARE(Detail(a).Angle, 0.f);
        QVERIFY(!board->GestureActive);
    }

    // The selection changes while the fingers are down (an undo, another
    // pick): the finish commits nothing, and the page is drawn again.
    void pinchAfterTheSelectionChanged_data()
    {
        QTest::addColumn<bool>("undo");
        QTest::newRow("undo empties the selection") << true;
        QTest::newRow("another object picked") << false;
    }
    void pinchAfterTheSelectionChanged()
    {
        QFETCH(bool, undo);
        const quint16 other = Draw(ekRect, QPoint(500, 200), QPoint(600, 260));
        const quint16 id = Draw(ekRect, QPoint(300, 200), QPoint(400, 260));
        Select(QPoint(300, 230));
        board->PinchGesture(Qt::GestureStarted, 1.0, 0.0, 0.0);
        board->PinchGesture(Qt::GestureUpdated, 1.5, 30.0, 0.0);
        if (undo)
            board->OptUndo();
        else
            Select(QPoint(500, 230));
        const int entries = Entries();
        const int redraws = board->m_fullRedrawCount;
        board->PinchGesture(Qt::GestureFinished, 1.5, 30.0, 30.0);
        QCOMPARE(Entries(), entries);
        QVERIFY(board->m_fullRedrawCount > redraws);
        QCOMPARE(Detail(id).BoundRF.size(), QSize(100, 60));
        QCOMPARE(Detail(other).BoundRF.size(), QSize(100, 60));
        QCOMPARE(Detail(id).Angle, 0.f);
        QCOMPARE(Detail(other).Angle, 0.f);
        QCOMPARE(board->SelectionAngle, 0.f);
    }
};

QTEST_MAIN(DialogResizeTest)
#include "dialog_resize_test.moc"
