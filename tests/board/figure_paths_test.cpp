#include <QtTest>

#include "board/event_kind.h"
#include "board/figure_paths.h"

class FigurePathsTest : public QObject
{
    Q_OBJECT

private slots:
    void snapping_data()
    {
        QTest::addColumn<QPointF>("start");
        QTest::addColumn<QPointF>("end");
        QTest::addColumn<QPointF>("snapped");
        QTest::newRow("near level") << QPointF(100, 100) << QPointF(300, 108) << QPointF(300, 100);
        QTest::newRow("exactly 10 up") << QPointF(100, 100) << QPointF(300, 90) << QPointF(300, 100);
        QTest::newRow("near plumb") << QPointF(100, 100) << QPointF(108, 300) << QPointF(100, 300);
        QTest::newRow("diagonal") << QPointF(100, 100) << QPointF(300, 200) << QPointF(300, 200);
        QTest::newRow("10.5 off") << QPointF(100, 100) << QPointF(300, 110.5) << QPointF(300, 110.5);
    }

    void snapping()
    {
        QFETCH(QPointF, start);
        QFETCH(QPointF, end);
        QFETCH(QPointF, snapped);
        QCOMPARE(SnapLineEnd(start, end), snapped);
        QPointF got;
        QPainterPath path;
        ArrowLinePath(path, start, end, false, &got);
        QCOMPARE(got, snapped);
    }

    void arrowHeads_data()
    {
        QTest::addColumn<QPointF>("a");
        QTest::addColumn<QPointF>("b");
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<QPointF>("wing1");
        QTest::addColumn<QPointF>("wing2");
        QTest::newRow("end head") << QPointF(0, 0) << QPointF(100, 0) << false << QPointF(80, 15) << QPointF(80, -15);
        QTest::newRow("start head") << QPointF(0, 0) << QPointF(100, 0) << true << QPointF(20, -15) << QPointF(20, 15);
        QTest::newRow("downward") << QPointF(50, 50) << QPointF(50, 150) << false << QPointF(35, 130) << QPointF(65, 130);
        // Shorter than 20 px: the wings sit behind the start, nothing clamped.
        QTest::newRow("short") << QPointF(0, 0) << QPointF(10, 0) << false << QPointF(-10, 15) << QPointF(-10, -15);
        QTest::newRow("truncated inputs") << QPointF(0.9, 0.9) << QPointF(100.7, 0.2) << false << QPointF(80, 15) << QPointF(80, -15);
    }

    void arrowHeads()
    {
        QFETCH(QPointF, a);
        QFETCH(QPointF, b);
        QFETCH(bool, atStart);
        ArrowHeadPath(a, b, atStart);
        QTEST(a, "wing1");
        QTEST(b, "wing2");
    }

    void arrowBoundsIncludeHeads()
    {
        QPainterPath one, both;
        ArrowLinePath(one, QPointF(100, 100), QPointF(300, 200), false);
        ArrowLinePath(both, QPointF(100, 100), QPointF(300, 200), true);
        QVERIFY(one.boundingRect().contains(QRectF(100, 100, 200, 100)));
        QVERIFY(both.boundingRect().left() < 100 || both.boundingRect().top() < 100
                || both.boundingRect().width() > one.boundingRect().width());
        QPainterPath viaFigure;
        FigurePath(ekBArrow, QPointF(100, 100), QPointF(300, 200), viaFigure, 5);
        QCOMPARE(viaFigure.boundingRect(), both.boundingRect());
    }

    void figureDispatch()
    {
        QPainterPath rect, swapped, circle, none, line;
        FigurePath(ekRect, QPointF(10.7, 20.2), QPointF(50.9, 60.1), rect, 0);
        FigurePath(ekFillRect, QPointF(50.9, 60.1), QPointF(10.7, 20.2), swapped, 0);
        QCOMPARE(rect.boundingRect(), swapped.boundingRect());
        QCOMPARE(rect.boundingRect(), QRectF(10, 20, 41, 41));  // corners inclusive

        QPainterPath grown;
        FigurePath(ekEllipse, QPointF(10, 20), QPointF(50, 60), grown, 4);
        QCOMPARE(grown.boundingRect(), QRectF(6, 16, 49, 49));

        FigurePath(ekCircle, QPointF(100, 100), QPointF(103, 104), circle, 0);
        QCOMPARE(circle.boundingRect(), QRectF(95, 95, 10, 10));
        FigurePath(ekSelect, QPointF(0, 0), QPointF(5, 5), none, 0);
        QVERIFY(none.isEmpty());
        // The plain line is not snapped.
        FigurePath(ekLine, QPointF(100, 100), QPointF(300, 105), line, 0);
        QCOMPARE(line.currentPosition(), QPointF(300, 105));
    }

    void straightLineBand()
    {
        QPainterPath band;
        StraightLinePath(band, QPointF(0, 0), QPointF(100, 4), 3);
        QCOMPARE(band.boundingRect(), QRectF(-3, -3, 106, 6));
    }

    void normalizeRect_data()
    {
        QTest::addColumn<QRect>("outer");
        QTest::addColumn<QRect>("r");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("angle 0 is the union") << QRect(0, 0, 10, 10) << QRect(20, 30, 5, 5) << 0.0 << QRect(0, 0, 25, 35);
        QTest::newRow("inside") << QRect(0, 0, 100, 100) << QRect(20, 30, 5, 5) << 0.0 << QRect(0, 0, 100, 100);
        QTest::newRow("quarter turn") << QRect(100, 100, 0, 0) << QRect(0, 0, 40, 20) << 90.0 << QRect(8, -10, 92, 110);
    }

    void normalizeRect()
    {
        QFETCH(QRect, outer);
        QFETCH(QRect, r);
        QFETCH(double, angle);
        QTEST(NormalizeRect(outer, r, angle), "expected");
    }

    void selectionFrameHandles()
    {
        const QRect r(100, 100, 200, 100);
        SelectionFrameShape flat = BuildSelectionFrame(r, 0.0, true);
        QCOMPARE(flat.corners[0], QPoint(100, 100));
        QCOMPARE(flat.corners[2], QPoint(300, 200));
        // Corner squares sit 5 px outward, 20 px wide.
        QCOMPARE(flat.handles[0].boundingRect(), QRect(85, 85, 21, 21));
        QCOMPARE(flat.handles[2].boundingRect(), QRect(295, 195, 21, 21));
        QVERIFY(flat.handles[4].containsPoint(QPoint(200, 80), Qt::OddEvenFill));
        // Top band between the top corner squares, as deep as they are.
        QVERIFY(flat.handles[5].containsPoint(QPoint(200, 95), Qt::OddEvenFill));
        QVERIFY(!flat.handles[5].containsPoint(QPoint(200, 150), Qt::OddEvenFill));
        QVERIFY(flat.handles[6].containsPoint(QPoint(305, 150), Qt::OddEvenFill));
        QVERIFY(flat.handles[7].containsPoint(QPoint(200, 205), Qt::OddEvenFill));
        QVERIFY(flat.handles[8].containsPoint(QPoint(95, 150), Qt::OddEvenFill));

        // Turned a quarter: the top band now lies on the right of the centre.
        SelectionFrameShape turned = BuildSelectionFrame(r, 90.0, true);
        const QPoint c = r.center();
        QVERIFY(turned.handles[5].containsPoint(QPoint(c.x() + 55, c.y()), Qt::OddEvenFill));
        QVERIFY(turned.handles[4].containsPoint(QPoint(c.x() + 70, c.y()), Qt::OddEvenFill));

        SelectionFrameShape bare = BuildSelectionFrame(r, 0.0, false);
        QVERIFY(!bare.hasHandles);
        QVERIFY(bare.handles[0].isEmpty());
    }
};

QTEST_GUILESS_MAIN(FigurePathsTest)
#include "figure_paths_test.moc"
