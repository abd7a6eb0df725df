// The selection's arithmetic without a window: hit tests of a tap and of an
// area, the order picks come in, the frame rectangle and moving objects.
#include <QtTest>

#include "board/board_model.h"
#include "board/figure_paths.h"
#include "editing/object_move.h"
#include "editing/selection.h"

namespace {

const QString kNote = QStringLiteral("note-1");

struct Figure {
    int kind = ekLine;
    QPointF m;
    QPointF c;
    int penWidth = 1;
    int alpha = 255;
    float angle = 0.f;
};

// Appends one object to the slot as the drawing code would, and returns its id.
quint16 AddFigure(BoardModel& board, int slot, const Figure& f, const QString& note = kNote)
{
    PointerSlotState& s = board.slot[slot];
    EventMaster em;
    em.EventID = quint16(s.nextEventId);
    em.Kind = f.kind;
    em.Slot = quint16(slot);
    em.NoteName = note;
    EventDetail ed;
    ed.EventID = em.EventID;
    ed.S = ed.M = f.m;
    ed.E = ed.C = f.c;
    ed.BoundRF = ed.OriginRF = QRectF(f.m, f.c).normalized().toRect();
    ed.PenWidth = quint16(f.penWidth);
    ed.Transparent = quint16(f.alpha);
    ed.Angle = f.angle;
    s.records.appendMaster(em);
    s.records.appendDetail(ed);
    ++s.nextEventId;
    return em.EventID;
}

quint16 AddStroke(BoardModel& board, int slot, const QVector<QPointF>& points, float angle = 0.f, int penWidth = 2)
{
    PointerSlotState& s = board.slot[slot];
    QVector<FreePenPoint> samples;
    QRectF bounds(points.first(), QSizeF(0, 0));
    for (const QPointF& p : points) {
        FreePenPoint sample;
        sample.EventID = quint16(s.nextEventId);
        sample.S = sample.M = p;
        samples.append(sample);
        bounds |= QRectF(p, QSizeF(1, 1));
    }
    Figure f;
    f.kind = ekFree;
    f.m = bounds.topLeft();
    f.c = bounds.bottomRight();
    f.penWidth = penWidth;
    f.angle = angle;
    const quint16 id = AddFigure(board, slot, f);
    board.FreePenMap.insert(MakeObjectKey(slot, id), samples);
    s.allPoints += samples;
    return id;
}

QVector<QPointF> Line(QPointF from, QPointF to, int count)
{
    QVector<QPointF> points;
    for (int i = 0; i < count; ++i)
        points.append(from + (to - from) * (double(i) / (count - 1)));
    return points;
}

QStringList Keys(const QVector<PickedObject>& picked)
{
    QStringList keys;
    for (const PickedObject& p : picked)
        keys << MakeObjectKey(p.slot, p.eventId);
    return keys;
}

}  // namespace

Q_DECLARE_METATYPE(Figure)

class SelectionTest : public QObject
{
    Q_OBJECT

private slots:
    void tapHitsFigures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPointF>("m");
        QTest::addColumn<QPointF>("c");
        QTest::addColumn<int>("alpha");
        QTest::addColumn<float>("angle");
        QTest::addColumn<QPoint>("tap");
        QTest::addColumn<bool>("hit");

        const QPointF a(100, 100), b(300, 100);
        // Width 1: the band reaches 6 pixels up and down, 3 when translucent.
        QTest::newRow("opaque line, 4 above") << int(ekLine) << a << b << 255 << 0.f << QPoint(150, 96) << true;
        QTest::newRow("opaque line, 10 above") << int(ekLine) << a << b << 255 << 0.f << QPoint(150, 90) << false;
        QTest::newRow("translucent line, 4 above") << int(ekLine) << a << b << 128 << 0.f << QPoint(150, 96) << false;
        QTest::newRow("translucent line, 3 above") << int(ekLine) << a << b << 128 << 0.f << QPoint(150, 97) << true;
        // A line at 45 degrees has no band of its own width: the distance to
        // the line decides.
        QTest::newRow("diagonal line, on it") << int(ekLine) << a << QPointF(200, 200) << 255 << 0.f
                                              << QPoint(152, 148) << true;
        QTest::newRow("diagonal line, beside") << int(ekLine) << a << QPointF(200, 200) << 255 << 0.f
                                               << QPoint(170, 130) << false;
        // Inside a rectangle more than the band away from every side.
        const QPointF r1(100, 100), r2(300, 200);
        QTest::newRow("unfilled rect, inside") << int(ekRect) << r1 << r2 << 255 << 0.f << QPoint(200, 150) << false;
        QTest::newRow("unfilled rect, on side") << int(ekRect) << r1 << r2 << 255 << 0.f << QPoint(103, 150) << true;
        QTest::newRow("unfilled rect, outside") << int(ekRect) << r1 << r2 << 255 << 0.f << QPoint(95, 150) << true;
        QTest::newRow("filled rect, inside") << int(ekFillRect) << r1 << r2 << 255 << 0.f << QPoint(200, 150) << true;
        QTest::newRow("image, inside") << int(ekImage) << r1 << r2 << 255 << 0.f << QPoint(200, 150) << true;
        QTest::newRow("circle, rim") << int(ekCircle) << QPointF(200, 200) << QPointF(250, 200) << 255 << 0.f
                                     << QPoint(200, 151) << true;
        QTest::newRow("circle, centre") << int(ekCircle) << QPointF(200, 200) << QPointF(250, 200) << 255 << 0.f
                                        << QPoint(200, 200) << false;
        // A line from (100, 150) to (300, 150) turned by 90 degrees stands
        // upright through (200, 150).
        QTest::newRow("turned line, where drawn") << int(ekLine) << QPointF(100, 150) << QPointF(300, 150) << 255
                                                  << 90.f << QPoint(200, 80) << true;
        QTest::newRow("turned line, where it lay") << int(ekLine) << QPointF(100, 150) << QPointF(300, 150) << 255
                                                   << 90.f << QPoint(120, 150) << false;
    }

    void tapHitsFigures()
    {
        QFETCH(int, kind);
        QFETCH(QPointF, m);
        QFETCH(QPointF, c);
        QFETCH(int, alpha);
        QFETCH(float, angle);
        QFETCH(QPoint, tap);
        QFETCH(bool, hit);
        BoardModel board;
        Figure f;
        f.kind = kind;
        f.m = m;
        f.c = c;
        f.alpha = alpha;
        f.angle = angle;
        AddFigure(board, 0, f);
        QCOMPARE(PickObjectsAtPoint(board, kNote, BoardView(), tap).size(), hit ? 1 : 0);
    }

    // The view turns document pixels into widget pixels before any test.
    void tapFollowsZoomAndScroll()
    {
        BoardModel board;
        Figure f;
        f.m = QPointF(100, 100);
        f.c = QPointF(300, 100);
        AddFigure(board, 0, f);
        BoardView view;
        view.zoom = 2.0;
        view.hscroll = 50;
        view.vscroll = 40;
        QCOMPARE(PickObjectsAtPoint(board, kNote, view, QPoint(350, 160)).size(), 1);
        QCOMPARE(PickObjectsAtPoint(board, kNote, view, QPoint(350, 100)).size(), 0);
    }

    void strokesAreHitByTheirSamples()
    {
        BoardModel board;
        AddStroke(board, 0, Line(QPointF(100, 100), QPointF(300, 100), 21));
        QCOMPARE(PickObjectsAtPoint(board, kNote, BoardView(), QPoint(150, 94)).size(), 1);  // 2 + 5 = 7
        QCOMPARE(PickObjectsAtPoint(board, kNote, BoardView(), QPoint(150, 92)).size(), 0);
        // Turned by 90 degrees about its bounds' centre (200, 100): it stands
        // upright through x 200 and is hit there only.
        BoardModel turned;
        AddStroke(turned, 0, Line(QPointF(100, 100), QPointF(300, 100), 21), 90.f);
        QCOMPARE(PickObjectsAtPoint(turned, kNote, BoardView(), QPoint(200, 30)).size(), 1);
        QCOMPARE(PickObjectsAtPoint(turned, kNote, BoardView(), QPoint(120, 100)).size(), 0);
        // Without samples a stroke is never hit.
        BoardModel bare;
        const quint16 id = AddStroke(bare, 0, Line(QPointF(100, 100), QPointF(300, 100), 21));
        bare.FreePenMap.remove(MakeObjectKey(0, id));
        QCOMPARE(PickObjectsAtPoint(bare, kNote, BoardView(), QPoint(150, 100)).size(), 0);
        QCOMPARE(PickObjectsInArea(bare, kNote, BoardView(), QPoint(0, 0), QPoint(500, 500)).size(), 0);
    }

    // Which objects one tap picks: the topmost of each slot, and a stroke
    // ends the scan; deleted objects and other notes are passed over.
    void tapPicksInOrder()
    {
        Figure a;
        a.kind = ekFillRect;
        a.m = QPointF(100, 100);
        a.c = QPointF(200, 200);
        Figure b = a;
        b.m = QPointF(150, 150);
        b.c = QPointF(250, 250);
        const QPoint overlap(175, 175);

        BoardModel oneSlot;
        AddFigure(oneSlot, 0, a);
        AddFigure(oneSlot, 0, b);
        QCOMPARE(Keys(PickObjectsAtPoint(oneSlot, kNote, BoardView(), overlap)), QStringList{"0-1"});

        BoardModel twoSlots;
        AddFigure(twoSlots, 3, a);
        AddFigure(twoSlots, 10, b);
        QCOMPARE(Keys(PickObjectsAtPoint(twoSlots, kNote, BoardView(), overlap)), QStringList({"3-0", "10-0"}));

        BoardModel strokes;
        AddStroke(strokes, 1, Line(QPointF(100, 150), QPointF(300, 150), 21));
        AddStroke(strokes, 4, Line(QPointF(200, 50), QPointF(200, 250), 21));
        QCOMPARE(Keys(PickObjectsAtPoint(strokes, kNote, BoardView(), QPoint(200, 150))), QStringList{"1-0"});

        BoardModel hidden;
        AddFigure(hidden, 0, a);
        AddFigure(hidden, 0, b, QStringLiteral("other-note"));
        hidden.slot[0].records.findDetail(0)->Deleted = 1;
        QVERIFY(PickObjectsAtPoint(hidden, kNote, BoardView(), overlap).isEmpty());
        QVERIFY(PickObjectsInArea(hidden, kNote, BoardView(), QPoint(0, 0), QPoint(1000, 1000)).isEmpty());
    }

    void areaPicks_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QStringList>("picked");
        // Slot 0: a stroke along y 100 from x 100 to 300; a rectangle
        // (400, 100)-(500, 200). Slot 2: a line (100, 300)-(300, 300)
        // turned by 90 degrees, upright through x 200 from y 200 to 400.
        QTest::newRow("2-pixel area on the stroke") << QPoint(150, 99) << QPoint(152, 101) << QStringList{"0-0"};
        QTest::newRow("corners in any order") << QPoint(152, 101) << QPoint(150, 99) << QStringList{"0-0"};
        QTest::newRow("inside the unfilled rect") << QPoint(440, 140) << QPoint(460, 160) << QStringList{"0-1"};
        QTest::newRow("crossing the rect's side") << QPoint(390, 140) << QPoint(410, 160) << QStringList{"0-1"};
        QTest::newRow("on the turned line") << QPoint(195, 210) << QPoint(205, 220) << QStringList{"2-0"};
        QTest::newRow("where it lay unturned") << QPoint(110, 295) << QPoint(120, 305) << QStringList();
        QTest::newRow("everything, oldest first by slot")
            << QPoint(-100, -100) << QPoint(2000, 2000) << QStringList({"0-0", "0-1", "2-0"});
    }

    void areaPicks()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QStringList, picked);
        BoardModel board;
        AddStroke(board, 0, Line(QPointF(100, 100), QPointF(300, 100), 21));
        Figure rect;
        rect.kind = ekRect;
        rect.m = QPointF(400, 100);
        rect.c = QPointF(500, 200);
        AddFigure(board, 0, rect);
        Figure turned;
        turned.m = QPointF(100, 300);
        turned.c = QPointF(300, 300);
        turned.angle = 90.f;
        AddFigure(board, 2, turned);
        QCOMPARE(Keys(PickObjectsInArea(board, kNote, BoardView(), from, to)), picked);
    }

    void keyLookup()
    {
        BoardModel board;
        Figure f;
        AddFigure(board, 3, f);
        QVERIFY(FindObjectByKey(board, QStringLiteral("3-0")).found());
        QCOMPARE(FindObjectByKey(board, QStringLiteral("3-0")).slot, 3);
        for (const char* key : {"3-1", "11-0", "3", "3-0-1", "", "x-0"})
            QVERIFY2(!FindObjectByKey(board, QString::fromLatin1(key)).found(), key);
        // A master without its detail names nothing either.
        board.slot[3].records.editDetails().clear();
        QVERIFY(!FindObjectByKey(board, QStringLiteral("3-0")).found());
    }

    void frameRect_data()
    {
        QTest::addColumn<QVector<Figure>>("figures");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QRect>("frame");

        Figure line;
        line.m = QPointF(100, 100);
        line.c = QPointF(200, 100);
        line.penWidth = 2;
        const QRect lineFrame(QPoint(97, 97), QPoint(203, 103));
        QTest::newRow("one line") << QVector<Figure>{line} << 1.0 << QStringList{"0-0"} << lineFrame;
        Figure thick = line;
        thick.penWidth = 10;
        QTest::newRow("pen width 10 at zoom 2")
            << QVector<Figure>{thick} << 2.0 << QStringList{"0-0"} << QRect(QPoint(190, 190), QPoint(410, 210));
        // Keys that name nothing are passed over.
        QTest::newRow("slot 11 and the counter skipped")
            << QVector<Figure>{line} << 1.0 << QStringList({"11-0", "0-0", "0-1"}) << lineFrame;
        // Several objects: an upright box around their turned bounds. The
        // square (300, 100)-(400, 200) turned by 45 degrees reaches about 71
        // pixels from its centre (350, 150).
        Figure square;
        square.kind = ekRect;
        square.m = QPointF(300, 100);
        square.c = QPointF(400, 200);
        square.angle = 45.f;
        const QRect two(QPoint(100 - 3, 79 - 3), QPoint(419 + 3, 218 + 3));
        QTest::newRow("two, one turned") << QVector<Figure>{line, square} << 1.0 << QStringList({"0-0", "0-1"})
                                         << two;
        QTest::newRow("empty") << QVector<Figure>{} << 1.0 << QStringList() << QRect(QPoint(-3, -3), QPoint(3, 3));
    }

    void frameRect()
    {
        QFETCH(QVector<Figure>, figures);
        QFETCH(double, zoom);
        QFETCH(QStringList, keys);
        QFETCH(QRect, frame);
        BoardModel board;
        for (const Figure& f : figures)
            AddFigure(board, 0, f);
        BoardView view;
        view.zoom = zoom;
        const QRect got = SelectionFrameRect(board, keys, view);
        // The turned corners are truncated, which may cost a pixel.
        QVERIFY2(qAbs(got.left() - frame.left()) <= 1 && qAbs(got.top() - frame.top()) <= 1
                     && qAbs(got.right() - frame.right()) <= 1 && qAbs(got.bottom() - frame.bottom()) <= 1,
                 qPrintable(QStringLiteral("%1,%2 %3,%4").arg(got.left()).arg(got.top()).arg(got.right())
                                .arg(got.bottom())));
    }

    void frameRectOfStrokes()
    {
        BoardModel board;
        const quint16 id = AddStroke(board, 0, Line(QPointF(100, 100), QPointF(200, 150), 11), 0.f, 1);
        BoardView view;
        view.hscroll = 20;
        QCOMPARE(SelectionFrameRect(board, {"0-0"}, view), QRect(QPoint(77, 97), QPoint(183, 153)));
        board.FreePenMap.remove(MakeObjectKey(0, id));
        QCOMPARE(SelectionFrameRect(board, {"0-0"}, view), QRect(QPoint(-3, -3), QPoint(3, 3)));
    }

    void moveOffset_data()
    {
        QTest::addColumn<int>("drag");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("offset");
        QTest::newRow("zoom 2") << 10 << 2.0 << 5;
        QTest::newRow("zoom 3") << 10 << 3.0 << 3;
        QTest::newRow("zoom 3, backwards") << -10 << 3.0 << -3;
        QTest::newRow("zoom 1") << -7 << 1.0 << -7;
    }

    void moveOffset()
    {
        QFETCH(int, drag);
        QFETCH(double, zoom);
        QFETCH(int, offset);
        QCOMPARE(MoveOffset(QPoint(100 + drag, 50 + drag), QPoint(100, 50), zoom), QPoint(offset, offset));
    }

    void moveFigures()
    {
        BoardModel board;
        Figure f;
        f.kind = ekRect;
        f.m = QPointF(10.7, 20.2);
        f.c = QPointF(60.5, 80.9);
        AddFigure(board, 0, f);
        QPoint before[4], after[4];
        const MoveStep step = MoveObjects(board, {"0-0", "11-0"}, QPoint(5, 5), false, -1.0, before, after);
        QCOMPARE(step.objects.size(), 1);  // the bad key is no place of the step
        const EventDetail& ed = *board.slot[0].records.findDetail(0);
        QCOMPARE(ed.M, QPointF(15, 25));
        QCOMPARE(ed.C, QPointF(65, 85));
        QCOMPARE(ed.S, QPointF(10.7, 20.2));  // creation points stay
        QCOMPARE(ed.BoundRF.topLeft(), QPoint(16, 25));  // the bounds were (11, 20, 50, 61)
        QCOMPARE(step.objects[0].before.M, QPointF(10.7, 20.2));
        QCOMPARE(before[0], QPoint(11, 20));
        QCOMPARE(after[2], before[2] + QPoint(5, 5));
        QCOMPARE(ed.Modified, quint8(0));  // not recording
        QVERIFY(board.slot[0].modifyPoints.isEmpty());
    }

    // A stroke moves its samples, in FreePenMap and in the slot's full list
    // alike; its M and C stay.
    void moveStroke()
    {
        BoardModel board;
        AddStroke(board, 0, {QPointF(1, 1)});  // another stroke first in the full list
        AddStroke(board, 0, {QPointF(100.6, 100.2), QPointF(110, 105), QPointF(120, 110)});
        const EventDetail beforeMove = *board.slot[0].records.findDetail(1);
        QPoint before[4], after[4];
        MoveObjects(board, {"0-1"}, QPoint(-4, 6), false, -1.0, before, after);
        const QVector<FreePenPoint> moved = board.FreePenMap.value("0-1");
        QCOMPARE(moved.first().M, QPointF(96, 106));
        QCOMPARE(moved.last().M, QPointF(116, 116));
        const QVector<FreePenPoint>& all = board.slot[0].allPoints;
        QCOMPARE(all.size(), 4);
        QCOMPARE(all[0].M, QPointF(1, 1));
        for (int j = 0; j < 3; ++j)
            QCOMPARE(all[1 + j].M, moved[j].M);
        const EventDetail& ed = *board.slot[0].records.findDetail(1);
        QCOMPARE(ed.M, beforeMove.M);
        QCOMPARE(ed.C, beforeMove.C);
        QCOMPARE(ed.BoundRF, beforeMove.BoundRF.translated(-4, 6));
    }

    void moveWhileRecording()
    {
        BoardModel board;
        Figure a;
        a.m = QPointF(0, 0);
        a.c = QPointF(100, 0);
        Figure b;
        b.kind = ekRect;
        b.m = QPointF(200, 200);
        b.c = QPointF(300, 260);
        b.angle = 90.f;
        AddFigure(board, 0, a);
        AddFigure(board, 5, b);
        QPoint before[4], after[4];
        MoveObjects(board, {"0-0", "5-0"}, QPoint(3, 4), true, 1234.0, before, after);
        const ModifyPoint first = board.slot[0].modifyPoints.value(0);
        const ModifyPoint second = board.slot[5].modifyPoints.value(0);
        QCOMPARE(board.slot[0].modifyPoints.size(), 1);
        QCOMPARE(first.ModifyKind, 2);
        QCOMPARE(first.GroupIndex, 1);
        QCOMPARE(first.GroupTotal, 2);
        QCOMPARE(first.MediaPos, 1234.0);
        QCOMPARE(first.GroupRect, QRect(-1, -1, -1, -1));
        QCOMPARE(second.GroupIndex, 2);
        QCOMPARE(second.PrevBoundRF, QRect(200, 200, 100, 60));
        QCOMPARE(second.BoundRF, QRect(203, 204, 100, 60));
        QCOMPARE(second.PrevAngle, 90.f);
        // The union of both previous bounds, the second turned upright.
        QCOMPARE(second.GroupRect, NormalizeRect(QRect(0, 0, 100, 0), QRect(200, 200, 100, 60), 90.0));
        QCOMPARE(board.slot[5].records.findDetail(0)->Modified, quint8(1));

        BoardModel alone;
        AddFigure(alone, 0, a);
        MoveObjects(alone, {"0-0"}, QPoint(3, 4), true, 10.0, before, after);
        const ModifyPoint only = alone.slot[0].modifyPoints.value(0);
        QCOMPARE(only.ModifyKind, 0);
        QCOMPARE(only.GroupTotal, 1);
        QCOMPARE(only.GroupRect, QRect(-1, -1, -1, -1));
    }

    void frameRestoreArea()
    {
        QCOMPARE(FrameRestoreArea(QRect(100, 100, 50, 20), 0.0), QRect(QPoint(68, 68), QPoint(182, 152)));
        // Turned upright about its centre (125, 110): 20 wide, 50 high.
        const QRect turned = FrameRestoreArea(QRect(100, 100, 50, 20), 90.0);
        QVERIFY(qAbs(turned.width() - (20 + 65)) <= 2);
        QVERIFY(qAbs(turned.height() - (50 + 65)) <= 2);
    }
};

QTEST_GUILESS_MAIN(SelectionTest)
#include "selection_test.moc"
