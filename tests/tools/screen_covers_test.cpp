// The arithmetic of the page navigator, the blind and the spotlight.
#include "tools/screen_covers.h"

#include <QtTest>

using namespace tools;

class ScreenCoversTest : public QObject
{
    Q_OBJECT

private slots:
    void naviViewSize_data()
    {
        QTest::addColumn<QSize>("board");
        QTest::addColumn<QSize>("view");
        QTest::newRow("3840 x 2160") << QSize(3840, 2160) << QSize(160, 90);
        QTest::newRow("portrait 1000 x 3000") << QSize(1000, 3000) << QSize(38, 120);
        QTest::newRow("square") << QSize(500, 500) << QSize(96, 120);
        QTest::newRow("portrait lower than the picture") << QSize(50, 60) << QSize(33, 120);
        QTest::newRow("null image") << QSize(0, 0) << QSize();
        QTest::newRow("no height") << QSize(3840, 0) << QSize();
    }
    void naviViewSize()
    {
        QFETCH(QSize, board);
        QFETCH(QSize, view);
        QCOMPARE(NaviViewSize(board.width(), board.height()), view);
    }

    void naviViewIsCentred()
    {
        QCOMPARE(NaviViewRect(QSize(211, 139), QSize(160, 90)), QRect(25, 24, 160, 90));
        QCOMPARE(NaviViewRect(QSize(211, 139), QSize(38, 120)), QRect(86, 9, 38, 120));
    }

    void naviMarker_data()
    {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QSize>("board");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QSize>("markerSize");
        QTest::addColumn<QPoint>("drawn");
        const QSize land(160, 90);
        const QSize page(3840, 2160);
        QTest::newRow("zoom 2 at the start") << land << 2.0f << page << QPoint(0, 0) << QSize(80, 45) << QPoint(0, 0);
        QTest::newRow("zoom 2 centred") << land << 2.0f << page << QPoint(960, 540) << QSize(80, 45) << QPoint(40, 22);
        QTest::newRow("zoom 2 at the end, clamped")
            << land << 2.0f << page << QPoint(1920, 1080) << QSize(80, 45) << QPoint(79, 44);
        QTest::newRow("zoom 4") << land << 4.0f << QSize(7680, 4320) << QPoint(2880, 1620) << QSize(40, 22)
                                << QPoint(60, 33);
        // A tall document page fitted to the width and zoomed: the frame's
        // height follows the page height over the screen height.
        QTest::newRow("portrait") << QSize(38, 120) << 2.0f << QSize(3840, 10800) << QPoint(0, 5400)
                                  << QSize(19, 12) << QPoint(0, 60);
        // Lower than the picture: integer steps would divide by zero.
        QTest::newRow("portrait lower than the picture")
            << QSize(33, 120) << 2.0f << QSize(50, 60) << QPoint(0, 30) << QSize(16, 120) << QPoint(0, 0);
        QTest::newRow("no zoom given") << land << 0.0f << page << QPoint(0, 0) << QSize(160, 90) << QPoint(0, 0);
    }
    void naviMarker()
    {
        QFETCH(QSize, view);
        QFETCH(float, zoom);
        QFETCH(QSize, board);
        QFETCH(QPoint, scroll);
        QFETCH(QSize, markerSize);
        QFETCH(QPoint, drawn);
        const NaviMarker m = NaviMarkerFor(view, QSize(1920, 1080), zoom, board, scroll.x(), scroll.y());
        QCOMPARE(m.size, markerSize);
        QCOMPARE(m.drawn, drawn);
    }

    void naviPress_data()
    {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QSize>("marker");
        QTest::addColumn<QSize>("board");
        QTest::addColumn<QPoint>("event");
        QTest::addColumn<QPoint>("drawn");
        QTest::addColumn<QPoint>("scroll");
        const QSize land(160, 90);
        const QSize marker(80, 45);
        const QSize page(3840, 2160);
        // The picture stands at (25, 24) in the panel.
        QTest::newRow("left edge") << land << marker << page << QPoint(25, 24) << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("right edge") << land << marker << page << QPoint(184, 113) << QPoint(79, 44)
                                    << QPoint(1920, 1080);
        QTest::newRow("middle") << land << marker << page << QPoint(105, 68) << QPoint(40, 22) << QPoint(960, 528);
        QTest::newRow("one inside the left clamp")
            << land << marker << page << QPoint(66, 47) << QPoint(1, 1) << QPoint(24, 24);
        QTest::newRow("portrait") << QSize(38, 120) << QSize(19, 12) << QSize(3840, 10800) << QPoint(105, 75)
                                  << QPoint(10, 60) << QPoint(1010, 5400);
        QTest::newRow("no picture yet") << QSize(0, 0) << QSize(0, 0) << page << QPoint(10, 10) << QPoint(0, 0)
                                        << QPoint(0, 0);
    }
    void naviPress()
    {
        QFETCH(QSize, view);
        QFETCH(QSize, marker);
        QFETCH(QSize, board);
        QFETCH(QPoint, event);
        QFETCH(QPoint, drawn);
        QFETCH(QPoint, scroll);
        const NaviPress p = NaviPressAt(event, QSize(211, 139), view, marker, board);
        QCOMPARE(p.drawn, drawn);
        QCOMPARE(p.scroll, scroll);
    }

    void coverPlacement_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("bottomBar");
        QTest::addColumn<QRect>("rightBar");
        QTest::addColumn<QPoint>("propRight");
        QTest::addColumn<QPoint>("closeRight");
        QTest::newRow("bottom") << 0 << QRect(0, 0, 1920, 1035) << QRect(0, 1022, 1920, 13)
                                << QRect(1907, 13, 13, 1035) << QPoint(1843, 25) << QPoint(1870, 25);
        QTest::newRow("top") << 1 << QRect(0, 45, 1920, 1035) << QRect(0, 1022, 1920, 13)
                             << QRect(1907, 13, 13, 1035) << QPoint(1843, 25) << QPoint(1870, 25);
        QTest::newRow("left") << 2 << QRect(48, 0, 1872, 1080) << QRect(0, 1067, 1872, 13)
                              << QRect(1859, 13, 13, 1080) << QPoint(1795, 25) << QPoint(1822, 25);
        QTest::newRow("right") << 3 << QRect(0, 0, 1872, 1080) << QRect(0, 1067, 1872, 13)
                               << QRect(1859, 13, 13, 1080) << QPoint(1795, 25) << QPoint(1822, 25);
        QTest::newRow("floating") << 4 << QRect(0, 0, 1920, 1080) << QRect(0, 1067, 1920, 13)
                                  << QRect(1907, 13, 13, 1080) << QPoint(1843, 25) << QPoint(1870, 25);
    }
    void coverPlacement()
    {
        QFETCH(int, mode);
        QFETCH(QRect, window);
        QFETCH(QRect, bottomBar);
        QFETCH(QRect, rightBar);
        QFETCH(QPoint, propRight);
        QFETCH(QPoint, closeRight);
        QRect placed;
        QVERIFY(CoverWindowFor(mode, 1920, 1080, &placed));
        QCOMPARE(placed, window);
        const CoverParts parts = CoverPartsFor(placed.size());
        QCOMPARE(parts.bars[EdgeTop], QRect(0, 0, window.width(), 13));
        QCOMPARE(parts.bars[EdgeBottom], bottomBar);
        QCOMPARE(parts.bars[EdgeLeft], QRect(0, 13, 13, window.height()));
        QCOMPARE(parts.bars[EdgeRight], rightBar);
        QCOMPARE(parts.propLeft, QPoint(24, 25));
        QCOMPARE(parts.closeLeft, QPoint(52, 25));
        QCOMPARE(parts.propRight, propRight);
        QCOMPARE(parts.closeRight, closeRight);
    }

    void unknownModeLeavesTheCover()
    {
        QRect placed(1, 2, 3, 4);
        QVERIFY(!CoverWindowFor(5, 1920, 1080, &placed));
        QVERIFY(!CoverWindowFor(-1, 1920, 1080, &placed));
        QCOMPARE(placed, QRect(1, 2, 3, 4));
    }

    void edgeUnderThePointer()
    {
        const CoverParts parts = CoverPartsFor(QSize(1920, 1035));
        QCOMPARE(CoverEdgeAt(parts, QPoint(960, 5)), int(EdgeTop));
        QCOMPARE(CoverEdgeAt(parts, QPoint(960, 1030)), int(EdgeBottom));
        QCOMPARE(CoverEdgeAt(parts, QPoint(5, 500)), int(EdgeLeft));
        QCOMPARE(CoverEdgeAt(parts, QPoint(1915, 500)), int(EdgeRight));
        // Where the left bar crosses the bottom bar, the later one wins.
        QCOMPARE(CoverEdgeAt(parts, QPoint(5, 1030)), int(EdgeLeft));
        QCOMPARE(CoverEdgeAt(parts, QPoint(960, 500)), -1);
    }

    void blindDrag_data()
    {
        QTest::addColumn<int>("edge");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<QRect>("result");
        const QRect press(0, 45, 1920, 1035);
        QTest::newRow("bottom up 300") << int(EdgeBottom) << QPoint(0, -300) << QRect(0, 45, 1920, 735);
        QTest::newRow("bottom back within the press") << int(EdgeBottom) << QPoint(0, 0) << press;
        QTest::newRow("top down 200, bottom stays") << int(EdgeTop) << QPoint(0, 200) << QRect(0, 245, 1920, 835);
        QTest::newRow("left right 100, right stays") << int(EdgeLeft) << QPoint(100, 0)
                                                     << QRect(100, 45, 1820, 1035);
        QTest::newRow("right in 500") << int(EdgeRight) << QPoint(-500, 7) << QRect(0, 45, 1420, 1035);
        // The cover never turns inside out: it stops at its bars and a button.
        QTest::newRow("bottom far past the top") << int(EdgeBottom) << QPoint(0, -5000) << QRect(0, 45, 1920, 51);
        QTest::newRow("top far past the bottom") << int(EdgeTop) << QPoint(0, 5000) << QRect(0, 1029, 1920, 51);
        QTest::newRow("left far past the right") << int(EdgeLeft) << QPoint(5000, 0) << QRect(1869, 45, 51, 1035);
        QTest::newRow("right far past the left") << int(EdgeRight) << QPoint(-5000, 0) << QRect(0, 45, 51, 1035);
    }
    void blindDrag()
    {
        QFETCH(int, edge);
        QFETCH(QPoint, delta);
        QFETCH(QRect, result);
        QCOMPARE(BlindDragged(edge, QRect(0, 45, 1920, 1035), delta), result);
    }

    void menuStaysOnTheScreen_data()
    {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("room enough") << QPoint(100, 200) << QPoint(100, 200);
        QTest::newRow("right edge") << QPoint(1850, 200) << QPoint(1770, 200);
        QTest::newRow("bottom edge") << QPoint(100, 1000) << QPoint(100, 880);
        QTest::newRow("exactly touching") << QPoint(1770, 880) << QPoint(1770, 880);
    }
    void menuStaysOnTheScreen()
    {
        QFETCH(QPoint, cursor);
        QFETCH(QPoint, at);
        QCOMPARE(CoverMenuPosition(cursor, QSize(150, 200), 1920, 1080), at);
    }

    void spotHole_data()
    {
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("shape");
        QTest::addColumn<QRect>("hole");
        QTest::newRow("first showing") << QPoint(960, 540) << 250 << 0 << QRect(835, 415, 250, 250);
        QTest::newRow("large square") << QPoint(960, 540) << 400 << 1 << QRect(760, 340, 400, 400);
        QTest::newRow("dragged 100 px right") << QPoint(1060, 540) << 250 << 0 << QRect(935, 415, 250, 250);
        QTest::newRow("small") << QPoint(960, 540) << 100 << 0 << QRect(910, 490, 100, 100);
    }
    void spotHole()
    {
        QFETCH(QPoint, centre);
        QFETCH(int, size);
        QFETCH(int, shape);
        QFETCH(QRect, hole);
        QCOMPARE(SpotHoleRect(centre, size), hole);
        const QRegion shaped = SpotShape(QSize(1920, 1080), centre, size, shape);
        QVERIFY(!shaped.contains(centre));
        QVERIFY(shaped.contains(hole.topLeft() - QPoint(1, 1)));
        QVERIFY(shaped.contains(hole.bottomRight() + QPoint(1, 1)));
        QVERIFY(shaped.contains(QPoint(0, 0)));
        QVERIFY(shaped.contains(QPoint(1919, 1079)));
        // A circle leaves the hole's corners covered; a square cuts them out.
        QCOMPARE(shaped.contains(hole.topLeft() + QPoint(2, 2)), shape == 0);
        QCOMPARE(shaped.contains(hole.bottomRight() - QPoint(2, 2)), shape == 0);
    }

    void unknownShapeCutsNoHole()
    {
        QCOMPARE(SpotShape(QSize(1920, 1080), QPoint(960, 540), 250, 2), QRegion(0, 0, 1920, 1080));
    }
};

QTEST_MAIN(ScreenCoversTest)
#include "screen_covers_test.moc"
