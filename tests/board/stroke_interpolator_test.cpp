#include "board/geometry.h"
#include "board/stroke_interpolator.h"

#include <QtTest>

#include <cmath>

class StrokeInterpolatorTest : public QObject
{
    Q_OBJECT

private slots:
    void firstSampleMovesPartWayTowardIt();
    void outputCountFollowsSmoothedStep_data();
    void outputCountFollowsSmoothedStep();
    void successiveCallsJoinUp();
    void beginForgetsThePreviousStroke();

    void pointAngle_data();
    void pointAngle();
    void rotatePoint_data();
    void rotatePoint();
    void midPointTruncatesTowardZero();
    void rotatedRectBounds();
};

void StrokeInterpolatorTest::firstSampleMovesPartWayTowardIt()
{
    StrokeInterpolator interpolator;
    interpolator.ResetWeights();
    interpolator.Begin(100, 50);
    interpolator.AddPoint(200, 50);

    // History is nine press points and the new sample: the newest weight is 0.9^9.
    QVERIFY(std::fabs(interpolator.Smoothed().x - (100.f + 100.f * 0.387420489f)) < 1e-3f);
    QCOMPARE(interpolator.Smoothed().y, 50.f);
    // P0 and Q are both the press point; the smoothed step is ~38.7 px, so 39
    // steps of which the second half (from Q toward P1) is emitted.
    QCOMPARE(interpolator.Count(), 39 - 39 / 2);
    // The curve runs from Q toward P1 and stops one step short of P1.
    const float last = interpolator.Output(interpolator.Count() - 1).x;
    QVERIFY(last < interpolator.Smoothed().x);
    QVERIFY(last > interpolator.Smoothed().x - 3.f);
}

void StrokeInterpolatorTest::outputCountFollowsSmoothedStep_data()
{
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("expectedN");

    // The raw jump that makes the first smoothed step d = dx * 0.387420489.
    QTest::newRow("no movement: one point, P0 itself") << 0 << 1;
    QTest::newRow("1.5 px step: n = 2") << 4 << 2;  // 4 * 0.387 = 1.55 -> n = 2
    QTest::newRow("jump over 100 px: capped at 100") << 1000 << 100;
}

void StrokeInterpolatorTest::outputCountFollowsSmoothedStep()
{
    QFETCH(int, dx);
    QFETCH(int, expectedN);

    StrokeInterpolator interpolator;
    interpolator.Begin(10, 20);
    interpolator.AddPoint(10 + dx, 20);
    QCOMPARE(interpolator.Count(), expectedN - expectedN / 2);

    if (expectedN == 1) {
        // t = 0: the point is P0, the press point.
        QCOMPARE(interpolator.Output(0).x, 10.f);
        QCOMPARE(interpolator.Output(0).y, 20.f);
    } else if (expectedN == 2) {
        // t = 0.5: Q, here still the press point.
        QVERIFY(std::fabs(interpolator.Output(0).x - 10.f) < 1e-4f);
        QVERIFY(std::fabs(interpolator.Output(0).y - 20.f) < 1e-4f);
    } else {
        // The last emitted point is at t = 0.99, one step short of P1.
        const float p1 = interpolator.Smoothed().x;
        const float last = interpolator.Output(interpolator.Count() - 1).x;
        QVERIFY(last < p1);
        QVERIFY(p1 - last < (p1 - 10.f) * 0.03f);
    }
}

void StrokeInterpolatorTest::successiveCallsJoinUp()
{
    // Along a straight line at constant speed, the points of one call continue
    // where the previous call stopped, roughly one pixel apart, never backwards.
    StrokeInterpolator interpolator;
    interpolator.Begin(0, 0);
    float previous = 0.f;
    for (int i = 1; i <= 40; ++i) {
        interpolator.AddPoint(i * 5, 0);
        QVERIFY(interpolator.Count() >= 1);
        QVERIFY(interpolator.Count() <= 50);
        for (int k = 0; k < interpolator.Count(); ++k) {
            const float x = interpolator.Output(k).x;
            QVERIFY2(x >= previous - 1e-3f, qPrintable(QStringLiteral("sample %1 point %2 went back").arg(i).arg(k)));
            QVERIFY2(x - previous < 3.f, qPrintable(QStringLiteral("gap at sample %1").arg(i)));
            QCOMPARE(interpolator.Output(k).y, 0.f);
            previous = x;
        }
    }
    // The smoothed point lags the pen but has caught most of the way up.
    QVERIFY(interpolator.Smoothed().x > 180.f && interpolator.Smoothed().x < 200.f);
}

void StrokeInterpolatorTest::beginForgetsThePreviousStroke()
{
    StrokeInterpolator fresh;
    fresh.Begin(300, 300);
    fresh.AddPoint(310, 305);

    StrokeInterpolator reused;
    reused.Begin(0, 0);
    for (int i = 0; i < 20; ++i)
        reused.AddPoint(i * 7, i * 3);
    reused.ResetWeights();
    reused.Begin(300, 300);
    reused.AddPoint(310, 305);

    QCOMPARE(reused.Count(), fresh.Count());
    for (int k = 0; k < fresh.Count(); ++k) {
        QCOMPARE(reused.Output(k).x, fresh.Output(k).x);
        QCOMPARE(reused.Output(k).y, fresh.Output(k).y);
    }
}

void StrokeInterpolatorTest::pointAngle_data()
{
    QTest::addColumn<int>("x1");
    QTest::addColumn<int>("y1");
    QTest::addColumn<double>("expected");
    QTest::newRow("straight below") << 0 << 10 << 0.0;
    QTest::newRow("straight above") << 0 << -10 << 180.0;
    QTest::newRow("to the right") << 10 << 0 << 270.0;
    QTest::newRow("to the left") << -10 << 0 << 90.0;
    QTest::newRow("below right") << 10 << 10 << 315.0;
    QTest::newRow("above left") << -10 << -10 << 135.0;
}

void StrokeInterpolatorTest::pointAngle()
{
    QFETCH(int, x1);
    QFETCH(int, y1);
    QFETCH(double, expected);
    QVERIFY(std::fabs(PointAngle(x1, y1, 0, 0) - expected) < 1e-9);
}

void StrokeInterpolatorTest::rotatePoint_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<QPoint>("centre");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("quarter turn clockwise on screen") << QPoint(10, 0) << 90.0 << QPoint(0, 0) << QPoint(0, 10);
    QTest::newRow("no turn") << QPoint(1, 1) << 0.0 << QPoint(5, 5) << QPoint(1, 1);
    QTest::newRow("half turn about a centre") << QPoint(10, 5) << 180.0 << QPoint(5, 5) << QPoint(0, 5);
    QTest::newRow("truncates toward zero") << QPoint(10, 0) << 45.0 << QPoint(0, 0) << QPoint(7, 7);
}

void StrokeInterpolatorTest::rotatePoint()
{
    QFETCH(QPoint, point);
    QFETCH(double, degrees);
    QFETCH(QPoint, centre);
    QFETCH(QPoint, expected);
    QCOMPARE(RotatePoint(point.x(), point.y(), degrees, centre.x(), centre.y()), expected);
}

void StrokeInterpolatorTest::midPointTruncatesTowardZero()
{
    QCOMPARE(MidPoint(-3, 0, 0, 0), QPoint(-1, 0));
    QCOMPARE(MidPoint(3, 7, 0, 0), QPoint(1, 3));
}

void StrokeInterpolatorTest::rotatedRectBounds()
{
    const QRectF turned = RotatedRectBounds(0, 0, 10, 20, 90);
    QVERIFY(std::fabs(turned.x() - -5.0) < 1e-4);
    QVERIFY(std::fabs(turned.y() - 5.0) < 1e-4);
    QVERIFY(std::fabs(turned.width() - 20.0) < 1e-4);
    QVERIFY(std::fabs(turned.height() - 10.0) < 1e-4);

    const QRectF same = RotatedRectBounds(3, 4, 10, 20, 0);
    QCOMPARE(same, QRectF(3, 4, 10, 20));
}

QTEST_APPLESS_MAIN(StrokeInterpolatorTest)
#include "stroke_interpolator_test.moc"
