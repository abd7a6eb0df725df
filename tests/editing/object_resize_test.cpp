// The arithmetic of resizing and turning one object, without a window: where
// a dragged handle puts the frame, the crossing stop, the locks, the pivot
// shift of a turned object, the pinch's scaled frame, the snapping of angles,
// and the records a resize or a turn changes.
#include <QtTest>

#include "board/board_model.h"
#include "board/geometry.h"
#include "editing/object_resize.h"
#include "editing/selection.h"

namespace {

const QString kNote = QStringLiteral("note-1");

quint16 AddObject(BoardModel& board, int slot, int kind, QPointF m, QPointF c, const QString& note = kNote)
{
    PointerSlotState& s = board.slot[slot];
    EventMaster em;
    em.EventID = quint16(s.nextEventId++);
    em.Kind = kind;
    em.Slot = quint16(slot);
    em.NoteName = note;
    EventDetail ed;
    ed.EventID = em.EventID;
    ed.S = ed.M = m;
    ed.E = ed.C = c;
    ed.BoundRF = ed.OriginRF = QRectF(m, c).normalized().toRect();
    s.records.appendMaster(em);
    s.records.appendDetail(ed);
    return em.EventID;
}

// A stroke of `count` samples along the diagonal of `r`, entered in
// FreePenMap and in the slot's full list; its bounds are r.
quint16 AddStroke(BoardModel& board, int slot, const QRect& r, int count)
{
    const quint16 id = AddObject(board, slot, ekFree, r.topLeft(), QPointF(r.x() + r.width(), r.y() + r.height()));
    board.slot[slot].records.findDetail(id)->BoundRF = r;
    QVector<FreePenPoint> samples;
    for (int i = 0; i < count; ++i) {
        FreePenPoint p;
        p.EventID = id;
        p.M = p.S = QPointF(r.x() + r.width() * i / double(count - 1), r.y() + r.height() * i / double(count - 1));
        samples.append(p);
    }
    board.FreePenMap.insert(MakeObjectKey(slot, id), samples);
    board.slot[slot].allPoints += samples;
    return id;
}

QVector<QPointF> MovePoints(const QVector<FreePenPoint>& samples)
{
    QVector<QPointF> points;
    for (const FreePenPoint& p : samples)
        points << p.M;
    return points;
}

ResizeGrip Grip(int handle, QRect frame, double angle = 0.0, BoardView view = BoardView())
{
    ResizeGrip grip;
    grip.handle = handle;
    grip.frame = frame;
    grip.angle = angle;
    grip.view = view;
    return grip;
}

// The four corners of a document rectangle as the screen shows it turned.
void ScreenCorners(const QRect& r, double angle, QPointF out[4])
{
    const QPointF c(r.x() + r.width() / 2.0, r.y() + r.height() / 2.0);
    QPoint corners[4];
    RectCorners(r, corners);
    const double t = DegToRad(angle);
    for (int i = 0; i < 4; ++i) {
        const QPointF d = QPointF(corners[i]) - c;
        out[i] = c + QPointF(std::cos(t) * d.x() - std::sin(t) * d.y(), std::sin(t) * d.x() + std::cos(t) * d.y());
    }
}

}  // namespace

class ObjectResizeTest : public QObject
{
    Q_OBJECT

private slots:
    void snapping_data()
    {
        QTest::addColumn<double>("raw");
        QTest::addColumn<double>("snapped");
        QTest::newRow("85 stays") << 85.0 << 85.0;
        QTest::newRow("85.5 to 90") << 85.5 << 90.0;
        QTest::newRow("94.9 to 90") << 94.9 << 90.0;
        QTest::newRow("95 stays") << 95.0 << 95.0;
        QTest::newRow("176 to 180") << 176.0 << 180.0;
        QTest::newRow("274 to 270") << 274.0 << 270.0;
        QTest::newRow("4.9 to 0") << 4.9 << 0.0;
        QTest::newRow("5 stays") << 5.0 << 5.0;
        QTest::newRow("355 stays") << 355.0 << 355.0;
        QTest::newRow("357 to 0") << 357.0 << 0.0;
        QTest::newRow("a turn and more to 0") << 400.0 << 0.0;
        QTest::newRow("-30 is 330") << -30.0 << 330.0;
        QTest::newRow("-3 is 357, so 0") << -3.0 << 0.0;
        QTest::newRow("-400 stays negative, so 0") << -400.0 << 0.0;
        QTest::newRow("120 stays") << 120.0 << 120.0;
    }
    void snapping()
    {
        QFETCH(double, raw);
        QFETCH(double, snapped);
        QCOMPARE(SnapRightAngle(raw), snapped);
    }

    // The rotation handle's bearing from the frame centre, clockwise from up.
    void handleAngle()
    {
        const QPoint c(300, 300);
        QCOMPARE(HandleAngle(c, QPoint(300, 200)), 0.0);
        QCOMPARE(HandleAngle(c, QPoint(400, 300)), 90.0);
        QCOMPARE(HandleAngle(c, QPoint(300, 400)), 180.0);
        QCOMPARE(HandleAngle(c, QPoint(200, 300)), 270.0);
        // 3 degrees left of straight up: 357, snapped to 0.
        QCOMPARE(HandleAngle(c, QPoint(300 - 5, 200)), 0.0);
        QVERIFY(qAbs(HandleAngle(c, QPoint(400, 200)) - 45.0) < 1e-9);
    }

    // An upright 100 x 50 frame at (100, 100), zoom 1: each handle, dragged
    // outward or inward, and the pointer past the fixed corner.
    void handleDrag_data()
    {
        QTest::addColumn<int>("handle");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("applies");
        QTest::addColumn<QRect>("frame");
        // Bottom-right (200, 150): x-driven is larger outward, y-driven inward.
        QTest::newRow("3 out, x drives") << 3 << QPoint(240, 160) << true << QRect(100, 100, 140, 70);
        QTest::newRow("3 in, y drives") << 3 << QPoint(160, 145) << true << QRect(100, 100, 90, 45);
        QTest::newRow("1 out") << 1 << QPoint(60, 90) << true << QRect(60, 80, 140, 70);
        QTest::newRow("2 out, y drives") << 2 << QPoint(220, 70) << true << QRect(100, 70, 160, 80);
        QTest::newRow("4 out, y drives") << 4 << QPoint(90, 190) << true << QRect(20, 100, 180, 90);
        QTest::newRow("4 x in, y out") << 4 << QPoint(110, 170) << true << QRect(60, 100, 140, 70);
        QTest::newRow("top side") << 7 << QPoint(150, 80) << true << QRect(100, 80, 100, 70);
        QTest::newRow("right side") << 8 << QPoint(260, 120) << true << QRect(100, 100, 160, 50);
        QTest::newRow("bottom side") << 9 << QPoint(150, 170) << true << QRect(100, 100, 100, 70);
        QTest::newRow("left side") << 10 << QPoint(50, 130) << true << QRect(50, 100, 150, 50);
        QTest::newRow("right side inward") << 8 << QPoint(130, 120) << true << QRect(100, 100, 30, 50);
        // Past the fixed corner in x alone, the y-driven candidate still
        // gives a frame; past it on both axes, no candidate does.
        QTest::newRow("1 past right only") << 1 << QPoint(210, 120) << true << QRect(140, 120, 60, 30);
        QTest::newRow("1 past the fixed corner") << 1 << QPoint(210, 160) << false << QRect();
        QTest::newRow("1 on the fixed corner") << 1 << QPoint(200, 150) << false << QRect();
        QTest::newRow("3 past the fixed corner") << 3 << QPoint(90, 95) << false << QRect();
        QTest::newRow("right side past left") << 8 << QPoint(90, 120) << false << QRect();
        QTest::newRow("right side below the bottom") << 8 << QPoint(260, 160) << false << QRect();
        QTest::newRow("top side past bottom") << 7 << QPoint(150, 155) << false << QRect();
    }
    void handleDrag()
    {
        QFETCH(int, handle);
        QFETCH(QPoint, pointer);
        QFETCH(bool, applies);
        QFETCH(QRect, frame);
        const ResizeResult result = ResizeFrameAt(Grip(handle, QRect(100, 100, 100, 50)), pointer);
        QCOMPARE(result.applies, applies);
        if (applies) {
            QCOMPARE(result.documentFrame, frame);
            QCOMPARE(result.widgetFrame, frame);
        }
    }

    // Counted from the press on the handle, a few pixels off the corner:
    // the same drag gives the same frame, and no drag changes nothing.
    void dragCountsFromThePress_data()
    {
        QTest::addColumn<int>("handle");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("3 out") << 3 << 0.0 << QPoint(208, 158) << QPoint(40, 10) << QRect(100, 100, 140, 70);
        QTest::newRow("3 not moved") << 3 << 0.0 << QPoint(208, 158) << QPoint() << QRect(100, 100, 100, 50);
        QTest::newRow("right side, off its middle") << 8 << 0.0 << QPoint(205, 110) << QPoint(30, 25)
                                                    << QRect(100, 100, 130, 50);
        QTest::newRow("turned 90, not moved") << 1 << 90.0 << QPoint(170, 70) << QPoint() << QRect(100, 100, 100, 50);
    }
    void dragCountsFromThePress()
    {
        QFETCH(int, handle);
        QFETCH(double, angle);
        QFETCH(QPoint, press);
        QFETCH(QPoint, drag);
        QFETCH(QRect, frame);
        ResizeGrip grip = Grip(handle, QRect(100, 100, 100, 50), angle);
        grip.fromPress = true;
        grip.press = press;
        const ResizeResult result = ResizeFrameAt(grip, press + drag);
        QVERIFY(result.applies);
        QCOMPARE(result.documentFrame, frame);
    }

    // A vertical arrow keeps its x and a horizontal one its y; a frame
    // without height (a straight line) keeps its y whichever side of the
    // line the pointer is, and a straight line's side handle works from
    // either side too.
    void locksAndStraightLines_data()
    {
        QTest::addColumn<QRect>("start");
        QTest::addColumn<int>("handle");
        QTest::addColumn<bool>("lockX");
        QTest::addColumn<bool>("lockY");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("vertical arrow, top-right")
            << QRect(90, 100, 20, 100) << 2 << true << false << 1.0 << QPoint(140, 60) << QRect(90, 60, 20, 140);
        QTest::newRow("vertical arrow at zoom 1.5 keeps its x exactly")
            << QRect(91, 101, 20, 100) << 3 << true << false << 1.5 << QPoint(200, 330) << QRect(91, 101, 20, 119);
        QTest::newRow("horizontal arrow, bottom-left")
            << QRect(100, 90, 100, 20) << 4 << false << true << 1.0 << QPoint(60, 140) << QRect(60, 90, 140, 20);
        QTest::newRow("line, corner below")
            << QRect(100, 100, 100, 0) << 3 << false << false << 1.0 << QPoint(260, 104) << QRect(100, 100, 160, 0);
        QTest::newRow("line, corner above")
            << QRect(100, 100, 100, 0) << 3 << false << false << 1.0 << QPoint(260, 96) << QRect(100, 100, 160, 0);
        QTest::newRow("line, right side above")
            << QRect(100, 100, 100, 0) << 8 << false << false << 1.0 << QPoint(240, 97) << QRect(100, 100, 140, 0);
        QTest::newRow("vertical line, bottom-left")
            << QRect(100, 100, 0, 100) << 4 << false << false << 1.0 << QPoint(130, 250) << QRect(100, 100, 0, 150);
    }
    void locksAndStraightLines()
    {
        QFETCH(QRect, start);
        QFETCH(int, handle);
        QFETCH(bool, lockX);
        QFETCH(bool, lockY);
        QFETCH(double, zoom);
        QFETCH(QPoint, pointer);
        QFETCH(QRect, frame);
        BoardView view;
        view.zoom = zoom;
        ResizeGrip grip = Grip(handle, start, 0.0, view);
        grip.lockX = lockX;
        grip.lockY = lockY;
        const ResizeResult result = ResizeFrameAt(grip, pointer);
        QVERIFY(result.applies);
        QCOMPARE(result.documentFrame, frame);
    }

    // At zoom 2 with both scroll bars moved, the pointer is in widget
    // pixels and the frame comes back in document pixels.
    void zoomedAndScrolled()
    {
        BoardView view;
        view.zoom = 2.0;
        view.hscroll = 50;
        view.vscroll = 30;
        // Widget edges: left 150, top 170, right 350, bottom 270.
        const ResizeGrip grip = Grip(3, QRect(100, 100, 100, 50), 0.0, view);
        QCOMPARE(WidgetCentre(grip.frame, view), QPoint(250, 220));
        const ResizeResult corner = ResizeFrameAt(grip, QPoint(430, 290));
        QVERIFY(corner.applies);
        QCOMPARE(corner.widgetFrame, QRect(150, 170, 280, 140));
        QCOMPARE(corner.documentFrame, QRect(100, 100, 140, 70));
        const ResizeResult side = ResizeFrameAt(Grip(10, grip.frame, 0.0, view), QPoint(51, 200));
        QVERIFY(side.applies);
        QCOMPARE(side.documentFrame, QRect(50, 100, 150, 50));
        QCOMPARE(ToDocumentPixels(QPoint(51, 201), view), QPoint(50, 115));
        QCOMPARE(ToWidgetPixels(QPointF(50.7, 115.2), view), QPoint(51, 200));
    }

    // A turned object turns about its middle, which moves when its frame
    // changes: after the shift, the side or corner that stayed in the
    // upright frame also stays on the screen.
    void turnedFrameKeepsItsFixedSide_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<int>("handle");
        QTest::newRow("90, right side") << 90.0 << 8;
        QTest::newRow("90, bottom-right") << 90.0 << 3;
        QTest::newRow("30, top-left") << 30.0 << 1;
        QTest::newRow("200, bottom side") << 200.0 << 9;
        QTest::newRow("0, left side") << 0.0 << 10;
    }
    void turnedFrameKeepsItsFixedSide()
    {
        QFETCH(double, angle);
        QFETCH(int, handle);
        const QRect before(200, 200, 100, 50);
        const ResizeGrip grip = Grip(handle, before, angle);
        // The pointer on the handle's outward way, 40 pixels out, on the
        // screen.
        const QPoint c = WidgetCentre(before, grip.view);
        QPoint upright[4];
        RectCorners(before, upright);
        const QPoint outward[] = {{-40, -20}, {40, -20}, {40, 20}, {-40, 20}, {}, {}, {0, -40}, {40, 0}, {0, 40}, {-40, 0}};
        const QPoint handlePoint = handle <= 4 ? upright[handle - 1] : QRect(before).center();
        const QPoint target = handlePoint + outward[handle - 1];
        const QPoint pointer = RotatePoint(target.x(), target.y(), angle, c.x(), c.y());
        const ResizeResult result = ResizeFrameAt(grip, pointer);
        QVERIFY(result.applies);
        const QRect after = result.documentFrame.translated(PivotShift(before, result.documentFrame, angle));
        if (angle == 0.0)
            QCOMPARE(PivotShift(before, result.documentFrame, angle), QPoint(0, 0));

        QPointF was[4], now[4];
        ScreenCorners(before, angle, was);
        ScreenCorners(after, angle, now);
        // The corner opposite the grabbed one (for a side, the fixed corner
        // of the table) stays within a pixel.
        const int fixedCorner[] = {2, 3, 0, 1, -1, -1, 2, 3, 0, 1};
        const int k = fixedCorner[handle - 1];
        QVERIFY2(QLineF(was[k], now[k]).length() <= 1.5,
                 qPrintable(QStringLiteral("fixed corner moved from (%1, %2) to (%3, %4)")
                                .arg(was[k].x()).arg(was[k].y()).arg(now[k].x()).arg(now[k].y())));
    }

    // The pinch moves each edge by half the growth.
    void pinchScale_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QRect>("scaled");
        QTest::newRow("1.5 on 100 x 60") << 1.5 << QRect(75, 85, 150, 90);
        QTest::newRow("0.5") << 0.5 << QRect(125, 115, 50, 30);
        QTest::newRow("1.0 moves nothing") << 1.0 << QRect(100, 100, 100, 60);
    }
    void pinchScale()
    {
        QFETCH(double, scale);
        QFETCH(QRect, scaled);
        QCOMPARE(ScaleAboutMiddle(QRect(100, 100, 100, 60), scale), scaled);
    }

    void frameCornersFollowTheHandle()
    {
        const QRect frame(10, 20, 30, 40);
        QPoint corners[4];
        RectCorners(QRect(0, 0, 5, 5), corners);
        WriteMovedCorners(3, frame, corners);
        QCOMPARE(corners[2], QPoint(40, 60));
        QCOMPARE(corners[1], QPoint(5, 0));
        WriteMovedCorners(10, frame, corners);
        QCOMPARE(corners[0], QPoint(10, 0));
        QCOMPARE(corners[3], QPoint(10, 5));
        WriteMovedCorners(7, frame, corners);
        QCOMPARE(corners[0].y(), 20);
        QCOMPARE(corners[1].y(), 20);
    }

    // A figure's two points map from the old rectangle onto the new one; an
    // axis without extent keeps its coordinate.
    void figureRescale_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPointF>("m");
        QTest::addColumn<QPointF>("c");
        QTest::addColumn<QRect>("bound");
        QTest::addColumn<QPointF>("newM");
        QTest::addColumn<QPointF>("newC");
        QTest::newRow("rectangle doubled") << int(ekRect) << QPointF(100, 100) << QPointF(200, 150)
                                           << QRect(100, 100, 200, 100) << QPointF(100, 100) << QPointF(300, 200);
        QTest::newRow("ellipse moved and halved") << int(ekEllipse) << QPointF(100, 100) << QPointF(200, 200)
                                                  << QRect(50, 60, 50, 50) << QPointF(50, 60) << QPointF(100, 110);
        QTest::newRow("line drawn right to left") << int(ekLine) << QPointF(200, 150) << QPointF(100, 100)
                                                  << QRect(100, 100, 50, 100) << QPointF(150, 200)
                                                  << QPointF(100, 100);
        QTest::newRow("zero-height line keeps its y") << int(ekLine) << QPointF(100, 100) << QPointF(200, 100)
                                                      << QRect(100, 100, 150, 30) << QPointF(100, 100)
                                                      << QPointF(250, 100);
        QTest::newRow("image") << int(ekImage) << QPointF(10, 10) << QPointF(110, 60) << QRect(10, 10, 50, 100)
                               << QPointF(10, 10) << QPointF(60, 110);
    }
    void figureRescale()
    {
        QFETCH(int, kind);
        QFETCH(QPointF, m);
        QFETCH(QPointF, c);
        QFETCH(QRect, bound);
        QFETCH(QPointF, newM);
        QFETCH(QPointF, newC);
        BoardModel board;
        board.Init();
        const quint16 id = AddObject(board, 3, kind, m, c);
        const QRect old = board.slot[3].records.findDetail(id)->BoundRF;
        const ObjectEdit edit = ResizeObject(board, 3, id, kNote, bound, false, -1.0);
        QVERIFY(edit.changed);
        const EventDetail& ed = *board.slot[3].records.findDetail(id);
        QCOMPARE(ed.M, newM);
        QCOMPARE(ed.C, newC);
        QCOMPARE(ed.BoundRF, bound);
        QCOMPARE(edit.detail.BoundRF, bound);
        QCOMPARE(edit.before.BoundRF, old);
        QCOMPARE(edit.before.M, m);
        QCOMPARE(edit.before.C, c);
        QCOMPARE(ed.Modified, quint8(0));  // not recording
        QVERIFY(board.slot[3].modifyPoints.isEmpty());
    }

    // A stroke resized from 100 x 100 to 200 x 50 at the same corner: every
    // sample's move point doubles its x offset and halves its y offset, in
    // FreePenMap and in the slot's full list alike, and M and C stay. The
    // full list may hold fewer samples of the stroke than the map (a
    // stroke's tail cut short); the copy stops there instead of writing over
    // the next stroke.
    void strokeRescale()
    {
        BoardModel board;
        board.Init();
        const quint16 first = AddStroke(board, 0, QRect(0, 0, 40, 40), 5);
        const quint16 id = AddStroke(board, 0, QRect(100, 100, 100, 100), 11);
        const quint16 next = AddStroke(board, 0, QRect(300, 300, 20, 20), 4);
        QVector<FreePenPoint>& all = board.slot[0].allPoints;
        all.remove(5 + 9, 2);  // the stroke's last two samples are not in the full list
        const QVector<QPointF> firstBefore = MovePoints(board.FreePenMap[MakeObjectKey(0, first)]);
        const QVector<QPointF> nextBefore = MovePoints(all.mid(5 + 9));
        const EventDetail before = *board.slot[0].records.findDetail(id);

        const ObjectEdit edit = ResizeObject(board, 0, id, kNote, QRect(100, 100, 200, 50), false, -1.0);
        QVERIFY(edit.changed);
        const QVector<FreePenPoint>& samples = board.FreePenMap[MakeObjectKey(0, id)];
        QCOMPARE(samples.size(), 11);
        for (int j = 0; j < samples.size(); ++j) {
            const double t = j / 10.0;
            QCOMPARE(samples[j].M, QPointF(100 + 200 * t, 100 + 50 * t));
            if (j < 9)
                QCOMPARE(all[5 + j].M, samples[j].M);
        }
        QCOMPARE(MovePoints(all.mid(5 + 9)), nextBefore);
        QCOMPARE(MovePoints(board.FreePenMap[MakeObjectKey(0, first)]), firstBefore);
        const EventDetail& ed = *board.slot[0].records.findDetail(id);
        QCOMPARE(ed.M, before.M);
        QCOMPARE(ed.C, before.C);
        QCOMPARE(ed.BoundRF, QRect(100, 100, 200, 50));
        Q_UNUSED(next);
    }

    // Nothing changes, and nothing is logged, for an object that is not
    // there to change.
    void nothingToChange()
    {
        BoardModel board;
        board.Init();
        const quint16 deleted = AddObject(board, 0, ekRect, QPointF(0, 0), QPointF(10, 10));
        board.slot[0].records.findDetail(deleted)->Deleted = 1;
        const quint16 elsewhere = AddObject(board, 0, ekRect, QPointF(0, 0), QPointF(10, 10), "note-2");
        // A stroke without samples has nothing to scale (a turn needs none).
        const quint16 bare = AddObject(board, 0, ekFree, QPointF(0, 0), QPointF(10, 10));
        const quint16 marker = AddObject(board, 0, ekNoteChange, QPointF(0, 0), QPointF(10, 10));
        for (quint16 id : {deleted, elsewhere, bare, marker, quint16(40)})
            QVERIFY(!ResizeObject(board, 0, id, kNote, QRect(0, 0, 50, 50), true, 5.0).changed);
        for (quint16 id : {deleted, elsewhere, marker, quint16(40)})
            QVERIFY(!RotateObject(board, 0, id, kNote, 90.f, true, 5.0).changed);
        for (quint16 id : {deleted, elsewhere, bare, marker}) {
            const EventDetail& ed = *board.slot[0].records.findDetail(id);
            QCOMPARE(ed.BoundRF, QRect(0, 0, 10, 10));
            QCOMPARE(ed.Angle, 0.f);
            QCOMPARE(ed.Modified, quint8(0));
        }
        QVERIFY(board.slot[0].modifyPoints.isEmpty());
        QVERIFY(RotateObject(board, 0, bare, kNote, 90.f, false, -1.0).changed);
        QVERIFY(!ResizeObject(board, 11, 0, kNote, QRect(0, 0, 50, 50), true, 5.0).changed);
    }

    // While recording, each change logs one modify event of a step of one
    // object: the rectangle and angle before and after.
    void recordingLogsOneEvent()
    {
        BoardModel board;
        board.Init();
        const quint16 id = AddObject(board, 2, ekEllipse, QPointF(10, 20), QPointF(110, 70));
        board.slot[2].records.findDetail(id)->Angle = 30.f;
        QVERIFY(ResizeObject(board, 2, id, kNote, QRect(10, 20, 200, 100), true, 1234.0).changed);
        QCOMPARE(board.slot[2].modifyPoints.size(), 1);
        ModifyPoint mp = board.slot[2].modifyPoints.last();
        QCOMPARE(mp.EventID, id);
        QCOMPARE(mp.MediaPos, 1234.0);
        QCOMPARE(mp.Kind, int(ekEllipse));
        QCOMPARE(mp.ModifyKind, 0);
        QCOMPARE(mp.BoundRF, QRect(10, 20, 200, 100));
        QCOMPARE(mp.PrevBoundRF, QRect(10, 20, 100, 50));
        QCOMPARE(mp.C, QPointF(210, 120));
        QCOMPARE(mp.Angle, 30.f);
        QCOMPARE(mp.PrevAngle, 30.f);
        QCOMPARE(mp.GroupIndex, 1);
        QCOMPARE(mp.GroupTotal, 1);
        QCOMPARE(mp.GroupRect, QRect(-1, -1, -1, -1));
        QCOMPARE(board.slot[2].records.findDetail(id)->Modified, quint8(1));

        // A turn: the same rectangle twice, both angles; points untouched.
        QVERIFY(RotateObject(board, 2, id, kNote, 90.f, true, 2000.0).changed);
        mp = board.slot[2].modifyPoints.last();
        QCOMPARE(mp.BoundRF, QRect(10, 20, 200, 100));
        QCOMPARE(mp.PrevBoundRF, QRect(10, 20, 200, 100));
        QCOMPARE(mp.Angle, 90.f);
        QCOMPARE(mp.PrevAngle, 30.f);
        const EventDetail& ed = *board.slot[2].records.findDetail(id);
        QCOMPARE(ed.M, QPointF(10, 20));
        QCOMPARE(ed.C, QPointF(210, 120));
        // Turning to the angle it has is no change.
        QVERIFY(!RotateObject(board, 2, id, kNote, 90.f, true, 3000.0).changed);
        QCOMPARE(board.slot[2].modifyPoints.size(), 2);
    }
};

QTEST_APPLESS_MAIN(ObjectResizeTest)
#include "object_resize_test.moc"
