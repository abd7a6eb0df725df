#include "board/page_fit.h"

#include <QtTest>

// Fitting page sources into the board, and the zoom arithmetic.
class PageFitTest : public QObject
{
    Q_OBJECT

private slots:
    void fitSizeCentered_data();
    void fitSizeCentered();
    void pictureScale_data();
    void pictureScale();
    void widePictureRunsPastAndScrollsHorizontally();
    void smallPictureIsCentred();
    void portraitDocumentOnLandscapeFitsHeightAndCentres();
    void viewerFitBeforeHostAnnouncedUsesOwnView();
    void zoomRectFactor_data();
    void zoomRectFactor();
    void nextZoom_data();
    void nextZoom();
};

void PageFitTest::fitSizeCentered_data()
{
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("content");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("wide, fits") << QSize(100, 100) << QSize(200, 50) << QSize(100, 50) << QPoint(0, 25);
    QTest::newRow("tall, fits") << QSize(100, 100) << QSize(50, 200) << QSize(50, 100) << QPoint(25, 0);
    QTest::newRow("wide, both too big") << QSize(100, 100) << QSize(400, 200) << QSize(100, 50) << QPoint(0, 25);
    QTest::newRow("smaller is kept") << QSize(1000, 800) << QSize(300, 200) << QSize(300, 200) << QPoint(350, 300);
    QTest::newRow("no area") << QSize(100, 80) << QSize(0, 50) << QSize(0, 0) << QPoint(50, 40);
}

void PageFitTest::fitSizeCentered()
{
    QFETCH(QSize, box);
    QFETCH(QSize, content);
    QFETCH(QSize, size);
    QFETCH(QPoint, offset);
    const FittedSize fit = FitSizeCentered(box.width(), box.height(), content.width(), content.height());
    QCOMPARE(fit.size, size);
    QCOMPARE(fit.offset, offset);
}

void PageFitTest::pictureScale_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("content");
    QTest::addColumn<double>("scale");
    QTest::newRow("fits") << QSize(400, 300) << QSize(1000, 1000) << 1.0;
    QTest::newRow("wider: larger ratio wins") << QSize(2000, 1000) << QSize(1000, 1000) << 1.0;
    QTest::newRow("both larger") << QSize(4000, 3000) << QSize(1280, 800) << 0.32;
    QTest::newRow("tall and narrow fills width") << QSize(500, 3000) << QSize(1000, 1000) << 2.0;
    QTest::newRow("unreadable picture") << QSize(0, 0) << QSize(1000, 1000) << 1.0;
}

void PageFitTest::pictureScale()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, content);
    QFETCH(double, scale);
    QCOMPARE(PictureFitScale(picture, content), scale);
}

void PageFitTest::widePictureRunsPastAndScrollsHorizontally()
{
    const QSize picture(2000, 1000);
    const QRect content(0, 0, 1000, 1000);
    const double scale = PictureFitScale(picture, content.size());
    const PicturePlacement place = PlacePicture(picture, scale, QSize(1000, 1000), content, false);
    QCOMPARE(place.result, QSize(2000, 1000));
    QCOMPARE(place.horizontalRange, 1000);
    QCOMPARE(place.verticalRange, -1);
    QCOMPARE(place.scaledPicture, picture);
    QCOMPARE(place.margin, QPoint(0, 0));
}

void PageFitTest::smallPictureIsCentred()
{
    const PicturePlacement place = PlacePicture(QSize(400, 200), 1.0, QSize(1280, 800),
                                                QRect(0, 0, 1280, 800), false);
    QCOMPARE(place.result, QSize(1280, 800));
    QCOMPARE(place.scaledPicture, QSize(400, 200));
    QCOMPARE(place.margin, QPoint(440, 300));
    QCOMPARE(place.horizontalRange, -1);
    QCOMPARE(place.verticalRange, -1);
}

void PageFitTest::portraitDocumentOnLandscapeFitsHeightAndCentres()
{
    const DocumentFit fit = FitDocumentPage(595.0, 842.0, QSize(1280, 800));
    QVERIFY(fit.byHeight);
    QCOMPARE(fit.scale, 800.0 / 842.0);
    QCOMPARE(fit.marginY, 0);
    QCOMPARE(fit.marginX, (1280 - int(800.0 / 842.0 * 595.0)) / 2);

    const DocumentFit landscape = FitDocumentPage(842.0, 595.0, QSize(800, 1280));
    QVERIFY(!landscape.byHeight);
    QCOMPARE(landscape.marginX, 0);
    QVERIFY(landscape.marginY > 0);
}

void PageFitTest::viewerFitBeforeHostAnnouncedUsesOwnView()
{
    const QSize own(1280, 720);
    QCOMPARE(EffectiveHostBoard(QSize(0, 0), own), own);
    QCOMPARE(EffectiveHostBoard(QSize(1920, 1080), own), QSize(1920, 1080));

    // Announced: the page covers the same share of every board.
    QCOMPARE(ViewerDocumentScale(595.0, 842.0, QSize(1920, 1080), own), 1080.0 / 842.0);
    QCOMPARE(HostToViewSize(QSize(960, 540), QSize(1920, 1080), own), QSize(640, 360));
    // Not announced yet: the page is fitted to the own view, never to nothing.
    QCOMPARE(ViewerDocumentScale(595.0, 842.0, QSize(0, 0), own), 720.0 / 842.0);
    QCOMPARE(HostToViewSize(QSize(640, 360), QSize(0, 0), own), QSize(640, 360));
}

void PageFitTest::zoomRectFactor_data()
{
    QTest::addColumn<int>("imageWidth");
    QTest::addColumn<int>("x1");
    QTest::addColumn<int>("x2");
    QTest::addColumn<float>("factor");
    QTest::newRow("half the width") << 1280 << 100 << 740 << 2.0f;
    QTest::newRow("either order") << 1280 << 740 << 100 << 2.0f;
    QTest::newRow("rounded to two decimals") << 1280 << 0 << 300 << 4.27f;
    QTest::newRow("zero width counts as one") << 1280 << 50 << 50 << 1280.0f;
}

void PageFitTest::zoomRectFactor()
{
    QFETCH(int, imageWidth);
    QFETCH(int, x1);
    QFETCH(int, x2);
    QFETCH(float, factor);
    QCOMPARE(ZoomFactorForRect(imageWidth, 1280, x1, x2), factor);
    // Narrower than an eighth of the page is too much zoom.
    QVERIFY(ZoomFactorForRect(1280, 1280, 0, 159) >= kMaxZoomFactor);
    QVERIFY(ZoomFactorForRect(1280, 1280, 0, 161) < kMaxZoomFactor);
}

void PageFitTest::nextZoom_data()
{
    QTest::addColumn<double>("current");
    QTest::addColumn<float>("request");
    QTest::addColumn<double>("zoom");
    QTest::newRow("fixed 1.0 resets") << 2.4 << 1.0f << 1.0;
    QTest::newRow("fixed 3.0") << 1.0 << 3.0f << 3.0;
    QTest::newRow("step in") << 1.5 << 0.25f << 1.75;
    QTest::newRow("step out") << 1.5 << -0.25f << 1.25;
    QTest::newRow("tenths land exactly") << 1.2 << -0.2f << 1.0;
    QTest::newRow("below the floor keeps") << 0.2 << -0.2f << 0.2;
}

void PageFitTest::nextZoom()
{
    QFETCH(double, current);
    QFETCH(float, request);
    QFETCH(double, zoom);
    QCOMPARE(NextZoom(current, request), zoom);
}

QTEST_APPLESS_MAIN(PageFitTest)
#include "page_fit_test.moc"
