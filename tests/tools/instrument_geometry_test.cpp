// The instruments' arithmetic: the rotation they share (bit-exact, truncated
// toward zero), bearings, the millimetre scale, the ruler's lines and
// lengthening, the square resize of the compass and the protractor, and
// their draw requests, on a 1920 x 1080 screen.
#include "tools/instrument_geometry.h"

#include <QtTest>

using namespace ToolDlg;

Q_DECLARE_METATYPE(ToolDlg::ArcRequest)

namespace {

// The ruler, compass and protractor as they start on a 1920 x 1080 screen.
const QRect kRuler(660, 490, 600, 100);
const QRect kCircle(810, 390, 301, 301);

}  // namespace

class InstrumentGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void rotatePoint_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<double>("degrees");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("0") << QPoint(10, 0) << 0.0 << QPoint(0, 0) << QPoint(10, 0);
        QTest::newRow("90 turns right to down") << QPoint(10, 0) << 90.0 << QPoint(0, 0) << QPoint(0, 10);
        QTest::newRow("180") << QPoint(10, 0) << 180.0 << QPoint(0, 0) << QPoint(-10, 0);
        QTest::newRow("45 truncates") << QPoint(100, 0) << 45.0 << QPoint(0, 0) << QPoint(70, 70);
        // Toward zero, not down: -70.71 gives -70.
        QTest::newRow("-45 truncates toward zero") << QPoint(100, 0) << -45.0 << QPoint(0, 0) << QPoint(70, -70);
        QTest::newRow("-90 equals 270") << QPoint(960, 390) << -90.0 << QPoint(960, 540) << QPoint(810, 540);
        QTest::newRow("about the screen centre") << QPoint(960, 390) << 90.0 << QPoint(960, 540) << QPoint(1110, 540);
        // The evaluation order leaves 249.99999999999994 here; the same turn
        // written as cx + cos a (x - cx) - ... would give 250.
        QTest::newRow("order of evaluation") << QPoint(670, 490) << 90.0 << QPoint(959, 539) << QPoint(1008, 249);
    }

    void rotatePoint()
    {
        QFETCH(QPoint, point);
        QFETCH(double, degrees);
        QFETCH(QPoint, centre);
        QFETCH(QPoint, expected);
        QCOMPARE(ToolDlg::RotatePoint(point.x(), point.y(), degrees, centre.x(), centre.y()), expected);
        QCOMPARE(ToolDlg::RotatePoint(point, degrees, centre), expected);
    }

    void bearing_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("expected");
        QTest::newRow("straight up") << QPoint(500, 300) << 0;
        QTest::newRow("right") << QPoint(700, 500) << 90;
        QTest::newRow("down") << QPoint(500, 700) << 180;
        QTest::newRow("left") << QPoint(300, 500) << 270;
        QTest::newRow("on the centre") << QPoint(500, 500) << 270;
        QTest::newRow("359.8 truncates") << QPoint(497, -500) << 359;
    }

    void bearing()
    {
        QFETCH(QPoint, point);
        QFETCH(int, expected);
        QCOMPARE(Bearing(QPoint(500, 500), point), expected);
    }

    void pixelsPerMillimetre_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("expected");
        QTest::newRow("96") << 96 << 4;
        QTest::newRow("120") << 120 << 5;
        QTest::newRow("144") << 144 << 6;
        QTest::newRow("12 would give 0") << 12 << 1;
        QTest::newRow("0") << 0 << 1;
    }

    void pixelsPerMillimetre()
    {
        QFETCH(int, dpi);
        QFETCH(int, expected);
        QCOMPARE(PixelsPerMillimetre(dpi), expected);
    }

    void scaleTicks()
    {
        // Centimetre ticks are long; the millimetres after each grow and wrap.
        QList<int> lengths;
        for (int i = 0; i <= 21; ++i)
            lengths << ScaleTickAt(i).length;
        QCOMPARE(lengths, QList<int>({20, 4, 7, 10, 13, 16, 4, 7, 10, 13, 20, 4, 7, 10, 13, 16, 4, 7, 10, 13, 20, 4}));
        QVERIFY(ScaleTickAt(140).centimetre);
        QVERIFY(!ScaleTickAt(144).centimetre);
    }

    void rulerScale_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("readout");
        QTest::newRow("new ruler at 96 dpi") << 600 << 96 << 144 << "14.4";
        QTest::newRow("shortest ruler") << 142 << 96 << 30 << "3.0";
        QTest::newRow("120 dpi") << 600 << 120 << 115 << "11.5";
        QTest::newRow("dpi below 13") << 600 << 10 << 578 << "57.8";
    }

    void rulerScale()
    {
        QFETCH(int, width);
        QFETCH(int, dpi);
        QFETCH(int, steps);
        QFETCH(QString, readout);
        QCOMPARE(RulerSteps(width, PixelsPerMillimetre(dpi)), steps);
        QCOMPARE(ScaleReadout(steps), readout);
    }

    void rulerLines()
    {
        // Level: from the zero tick to 12 px before the right end.
        const RulerLines level = RulerEdgeLines(kRuler, 0);
        QCOMPARE(level.topFrom, QPoint(670, 490));
        QCOMPARE(level.topTo, QPoint(1248, 490));
        QCOMPARE(level.middleFrom, QPoint(670, 539));
        QCOMPARE(level.middleTo, QPoint(1248, 539));
        QCOMPARE(level.bottomFrom, QPoint(670, 589));
        QCOMPARE(level.bottomTo, QPoint(1248, 589));
        // Turned a quarter: the top line is vertical and runs downward.
        const RulerLines turned = RulerEdgeLines(kRuler, 90);
        QCOMPARE(turned.topFrom, QPoint(1008, 249));
        QCOMPARE(turned.topTo, QPoint(1008, 828));
        QCOMPARE(turned.bottomTo, QPoint(909, 828));
    }

    void lengthenRuler_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<bool>("rightEnd");
        QTest::addColumn<int>("dx");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("width");
        QTest::newRow("right outward") << 0 << true << 40 << true << 640;
        QTest::newRow("left outward") << 0 << false << -40 << true << 640;
        QTest::newRow("odd width refused") << 0 << true << 41 << false << 600;
        QTest::newRow("down to 142") << 0 << true << -458 << true << 142;
        QTest::newRow("below 142 refused") << 0 << true << -460 << false << 600;
        QTest::newRow("left inward to 142") << 0 << false << 458 << true << 142;
        QTest::newRow("turned 90, right") << 90 << true << 100 << true << 700;
        QTest::newRow("turned 135, left") << 135 << false << -60 << true << 660;
    }

    void lengthenRuler()
    {
        QFETCH(int, angle);
        QFETCH(bool, rightEnd);
        QFETCH(int, dx);
        QFETCH(bool, accepted);
        QFETCH(int, width);
        QRect result = kRuler;
        QCOMPARE(LengthenRuler(kRuler, dx, angle, rightEnd, &result), accepted);
        QCOMPARE(result.width(), width);
        QCOMPARE(result.height(), kRuler.height());
        if (!accepted)
            return;
        // The opposite end keeps its place on screen (within the pixel the
        // truncation of the turned centre may cost).
        auto end = [&](const QRect& r) {
            const QPoint c = r.center();
            const QPoint p = rightEnd ? QPoint(r.left(), c.y()) : QPoint(r.left() + r.width(), c.y());
            return ToolDlg::RotatePoint(p, angle, c);
        };
        const QPoint moved = end(result) - end(kRuler);
        QVERIFY2(qAbs(moved.x()) <= 1 && qAbs(moved.y()) <= 1,
                 qPrintable(QStringLiteral("opposite end moved by %1, %2").arg(moved.x()).arg(moved.y())));
    }

    void frameDisplacement()
    {
        // A ruler turned a quarter points down the screen: a downward drag is
        // a drag along it, a sideways one is across it and ignored.
        const QPoint press(900, 500);
        const QPoint centre = kRuler.center();
        // (Both turned points are truncated, so a pixel may go.)
        QVERIFY(qAbs(FrameDisplacement(press + QPoint(0, 50), press, 90, centre).x() - 50) <= 1);
        QVERIFY(qAbs(FrameDisplacement(press + QPoint(50, 0), press, 90, centre).x()) <= 1);
        QCOMPARE(FrameDisplacement(press + QPoint(50, 0), press, 0, centre), QPoint(50, 0));
    }

    void compassArcs_data()
    {
        QTest::addColumn<int>("a1");
        QTest::addColumn<int>("a2");
        QTest::addColumn<ArcRequest>("arc");
        QTest::addColumn<ArcRequest>("reverse");
        QTest::newRow("quarter") << 0 << 90 << ArcRequest{kCircle, 0, 90} << ArcRequest{kCircle, 90, 360};
        QTest::newRow("closed arms") << 45 << 0 << ArcRequest{kCircle, 45, 45} << ArcRequest{kCircle, 45, 405};
        QTest::newRow("past twelve") << 300 << 120 << ArcRequest{kCircle, 300, 420} << ArcRequest{kCircle, 420, 660};
    }

    void compassArcs()
    {
        QFETCH(int, a1);
        QFETCH(int, a2);
        QFETCH(ArcRequest, arc);
        QFETCH(ArcRequest, reverse);
        const ArcRequest got = CompassArc(kCircle, a1, a2);
        QCOMPARE(got.rect, arc.rect);
        QCOMPARE(got.from, arc.from);
        QCOMPARE(got.to, arc.to);
        const ArcRequest back = CompassReverseArc(kCircle, a1, a2);
        QCOMPARE(back.rect, reverse.rect);
        QCOMPARE(back.from, reverse.from);
        QCOMPARE(back.to, reverse.to);
    }

    void compassScale()
    {
        const int steps = CompassSteps(kCircle, PixelsPerMillimetre(96));
        QCOMPARE(steps, 37);
        QCOMPARE(ScaleReadout(steps), QStringLiteral("3.7"));
    }

    void resizeSquare_data()
    {
        QTest::addColumn<int>("corner");
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("minWidth");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("width");
        QTest::newRow("top-left straight left grows") << 1 << QPoint(-30, 0) << 0 << kCompassMinWidth << true << 331;
        QTest::newRow("bottom-right straight right stays") << 3 << QPoint(30, 0) << 0 << kCompassMinWidth << true << 301;
        QTest::newRow("bottom-right diagonal grows") << 3 << QPoint(30, 30) << 0 << kCompassMinWidth << true << 331;
        QTest::newRow("top-right up and out") << 2 << QPoint(30, -30) << 0 << kCompassMinWidth << true << 331;
        QTest::newRow("bottom-left down and out") << 4 << QPoint(-20, 20) << 0 << kCompassMinWidth << true << 321;
        QTest::newRow("compass floor 161") << 3 << QPoint(-140, -140) << 0 << kCompassMinWidth << true << 161;
        QTest::newRow("compass below floor") << 3 << QPoint(-141, -141) << 0 << kCompassMinWidth << false << 301;
        QTest::newRow("protractor 181 accepted") << 1 << QPoint(120, 120) << 0 << kProtractorMinWidth << true << 181;
        QTest::newRow("protractor 180 refused") << 1 << QPoint(121, 121) << 0 << kProtractorMinWidth << false << 301;
        QTest::newRow("turned, top-left") << 1 << QPoint(-40, -40) << 60 << kCompassMinWidth << true << 341;
        QTest::newRow("turned, bottom-left") << 4 << QPoint(-40, 40) << 200 << kCompassMinWidth << true << 341;
        QTest::newRow("no corner") << 0 << QPoint(30, 30) << 0 << kCompassMinWidth << false << 301;
    }

    void resizeSquare()
    {
        QFETCH(int, corner);
        QFETCH(QPoint, drag);
        QFETCH(int, angle);
        QFETCH(int, minWidth);
        QFETCH(bool, accepted);
        QFETCH(int, width);
        QRect result = kCircle;
        QCOMPARE(ResizeSquare(kCircle, corner, drag, angle, minWidth, &result), accepted);
        QCOMPARE(result.width(), width);
        QCOMPARE(result.height(), width);
        if (!accepted)
            return;
        // The corner opposite the grabbed one stays where it was on screen.
        auto opposite = [&](const QRect& r) {
            const QPoint corners[4] = {QPoint(r.left() + r.width(), r.top() + r.height()),
                                       QPoint(r.left(), r.top() + r.height()), r.topLeft(),
                                       QPoint(r.left() + r.width(), r.top())};
            return ToolDlg::RotatePoint(corners[corner - 1], angle, r.center());
        };
        const QPoint moved = opposite(result) - opposite(kCircle);
        QVERIFY2(qAbs(moved.x()) <= 1 && qAbs(moved.y()) <= 1,
                 qPrintable(QStringLiteral("opposite corner moved by %1, %2").arg(moved.x()).arg(moved.y())));
    }

    void protractorDrawRequest()
    {
        const ProtractorDraw level = ProtractorDrawRequest(kCircle, 0, 0);
        QCOMPARE(level.centre, QPoint(960, 540));
        QCOMPARE(level.zeroEnd, QPoint(960, 390));
        QCOMPARE(level.armEnd, QPoint(960, 390));
        QCOMPARE(level.arc.rect, QRect(923, 503, 75, 75));
        QCOMPARE(level.arc.rect.center(), level.centre);
        QCOMPARE(level.arc.from, 0);
        QCOMPARE(level.arc.to, 0);

        // Zero direction to the right, arm a further quarter: down.
        const ProtractorDraw open = ProtractorDrawRequest(kCircle, 90, 90);
        QCOMPARE(open.zeroEnd, QPoint(1110, 540));
        QCOMPARE(open.armEnd, QPoint(960, 690));
        QCOMPARE(open.arc.from, 90);
        QCOMPARE(open.arc.to, 180);
        // An even width keeps the small square on the same centre too.
        QCOMPARE(ProtractorDrawRequest(QRect(100, 100, 400, 400), 0, 0).arc.rect, QRect(250, 250, 100, 100));
    }

    void protractorLabelSize_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("points");
        QTest::newRow("181 raised") << 181 << 10;
        QTest::newRow("301") << 301 << 15;
        QTest::newRow("900 capped") << 900 << 40;
    }

    void protractorLabelSize()
    {
        QFETCH(int, width);
        QFETCH(int, points);
        QCOMPARE(ProtractorLabelPointSize(width), points);
    }

    void discShape()
    {
        // What the compass and protractor paint is inside their shape; the
        // board beside them is not, so it keeps the pointer there.
        const QPoint c = kCircle.center();
        const QRegion shape = TwoArmDiscShape(kCircle, 90, 90, false);
        QVERIFY(shape.contains(c));
        QVERIFY(shape.contains(QPoint(c.x() + 150 + 20, c.y())));   // first arm's handle, to the right
        QVERIFY(shape.contains(QPoint(c.x(), c.y() + 150 + 100)));  // second arm's read-out, below
        QVERIFY(!shape.contains(QPoint(c.x(), c.y() - 150 - 40)));  // above: no arm there
        QVERIFY(!shape.contains(QPoint(100, 100)));
        QVERIFY(TwoArmDiscShape(kCircle, 90, 90, true).contains(QPoint(c.x(), c.y() - 160)));
    }
};

QTEST_GUILESS_MAIN(InstrumentGeometryTest)
#include "instrument_geometry_test.moc"
