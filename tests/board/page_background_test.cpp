#include "board/page_background.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

// The page background of each page kind, fitted into the board.
class PageBackgroundTest : public QObject
{
    Q_OBJECT

private slots:
    void boards_data();
    void boards();
    void boardPictureIsStretchedOverThePage();
    void widePictureScrollsHorizontally();
    void unreadablePictureGivesPlainPage();
    void portraitDocumentFitsHeightAndIsCentred();
    void fitToWidthScrollsVertically();
    void viewerBeforeHostAnnouncedStillSeesThePage();
    void missingRendererKeepsPreviousForDocuments();
    void paperIsDrawnWithoutRenderer();

private:
    static BackgroundRequest Request(const QString& path, int type);
    static DocumentRenderer FakeRenderer(double width, double height);
    static QRect GrayArea(const QImage& image);
};

BackgroundRequest PageBackgroundTest::Request(const QString& path, int type)
{
    BackgroundRequest r;
    r.path = path;
    r.type = type;
    r.view = QSize(1280, 800);
    r.content = QRect(0, 0, 1280, 800);
    r.currentImageSize = r.view;
    return r;
}

// A renderer whose page is a gray sheet of the given size.
DocumentRenderer PageBackgroundTest::FakeRenderer(double width, double height)
{
    DocumentRenderer renderer;
    renderer.available = true;
    renderer.openFirstPage = [=](const QString& path, double* w, double* h) {
        if (path.endsWith("missing.pdf"))
            return false;
        *w = width;
        *h = height;
        return true;
    };
    renderer.renderPage = [](double, QImage* target) { target->fill(QColor(128, 128, 128)); };
    return renderer;
}

QRect PageBackgroundTest::GrayArea(const QImage& image)
{
    QRect area;
    for (int y = 0; y < image.height(); y += 1) {
        for (int x = 0; x < image.width(); x += 1) {
            if (image.pixel(x, y) == qRgb(128, 128, 128))
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

void PageBackgroundTest::boards_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("white board takes the board colour") << "WhiteBoard" << QColor(Qt::yellow);
    QTest::newRow("black board") << "BlackBoard" << QColor(25, 74, 57);
}

void PageBackgroundTest::boards()
{
    QFETCH(QString, path);
    QFETCH(QColor, colour);
    BackgroundRequest r = Request(path, 1);
    r.boardColor = Qt::yellow;
    const BackgroundResult out = BuildPageBackground(r, DocumentRenderer());
    QVERIFY(out.stored);
    QCOMPARE(out.image.size(), QSize(1280, 800));
    QCOMPARE(QColor(out.image.pixel(640, 400)), colour);
    QCOMPARE(out.sourceSize, QSize(1280, 800));
}

void PageBackgroundTest::boardPictureIsStretchedOverThePage()
{
    QTemporaryDir dir;
    QImage picture(100, 300, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(dir.filePath("bg.png")));
    for (const QString& board : {QStringLiteral("WhiteBoard"), QStringLiteral("BlackBoard")}) {
        BackgroundRequest r = Request(board, 1);
        r.backgroundPicture = dir.filePath("bg.png");
        const BackgroundResult out = BuildPageBackground(r, DocumentRenderer());
        QCOMPARE(out.image.size(), QSize(1280, 800));
        QCOMPARE(QColor(out.image.pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(QColor(out.image.pixel(1279, 799)), QColor(Qt::red));
    }
}

void PageBackgroundTest::widePictureScrollsHorizontally()
{
    QTemporaryDir dir;
    QImage picture(2000, 1000, QImage::Format_RGB32);
    picture.fill(QColor(128, 128, 128));
    QVERIFY(picture.save(dir.filePath("wide.png")));
    BackgroundRequest r = Request(dir.filePath("wide.png"), 2);
    r.view = QSize(1000, 1000);
    r.content = QRect(0, 0, 1000, 1000);
    const BackgroundResult out = BuildPageBackground(r, DocumentRenderer());
    QCOMPARE(out.scale, 1.0);
    QCOMPARE(out.image.size(), QSize(2000, 1000));
    QVERIFY(out.horizontal.set && out.horizontal.show);
    QCOMPARE(out.horizontal.maximum, 1000);
    QVERIFY(!out.vertical.set);
    QCOMPARE(out.pictureRect, QRect(0, 0, 2000, 1000));
}

void PageBackgroundTest::unreadablePictureGivesPlainPage()
{
    const BackgroundResult out = BuildPageBackground(Request("/nowhere/x.png", 2), DocumentRenderer());
    QVERIFY(out.pictureLoadFailed);
    QCOMPARE(out.image.size(), QSize(1280, 800));
    QCOMPARE(QColor(out.image.pixel(10, 10)), QColor(Qt::white));
}

void PageBackgroundTest::portraitDocumentFitsHeightAndIsCentred()
{
    BackgroundRequest r = Request("/docs/a4.pdf", 3);
    const BackgroundResult out = BuildPageBackground(r, FakeRenderer(595.0, 842.0));
    QVERIFY(out.logLines.contains("SetInitImage : c_scale base = height"));
    QCOMPARE(out.scale, 800.0 / 842.0);
    QCOMPARE(out.sourceSize, QSize(595, 842));
    QCOMPARE(out.image.size(), QSize(1280, 800));
    const QRect page = GrayArea(out.image);
    QCOMPARE(page.top(), 0);
    QCOMPARE(page.height(), 800);
    QCOMPARE(page.width(), int(800.0 / 842.0 * 595.0));
    QVERIFY(qAbs(page.left() - (1280 - page.right() - 1)) <= 1);
    QVERIFY(!out.vertical.set && !out.horizontal.set);
}

void PageBackgroundTest::fitToWidthScrollsVertically()
{
    BackgroundRequest r = Request("/docs/a4.pdf", 3);
    r.pageOption = true;
    const BackgroundResult out = BuildPageBackground(r, FakeRenderer(595.0, 842.0));
    const double scale = 1280.0 / 595.0;
    QCOMPARE(out.scale, scale);
    QCOMPARE(out.image.size(), QSize(1280, int(scale * 842.0)));
    QVERIFY(out.vertical.set && out.vertical.show && out.vertical.enabled);
    QCOMPARE(out.vertical.maximum, int(scale * 842.0 - 800));
}

void PageBackgroundTest::viewerBeforeHostAnnouncedStillSeesThePage()
{
    for (int level : {1, 2}) {
        BackgroundRequest r = Request("/docs/a4.pdf", 3);
        r.level = level;
        r.hostBoard = QSize(0, 0);
        const BackgroundResult out = BuildPageBackground(r, FakeRenderer(595.0, 842.0));
        QCOMPARE(out.scale, 800.0 / 842.0);
        const QRect page = GrayArea(out.image);
        QVERIFY2(page.height() >= 798, qPrintable(QString::number(page.height())));

        // Once announced, the page covers the host's share of the board.
        r.hostBoard = QSize(1920, 1080);
        const BackgroundResult announced = BuildPageBackground(r, FakeRenderer(595.0, 842.0));
        QCOMPARE(announced.scale, 1080.0 / 842.0);
        QVERIFY(GrayArea(announced.image).height() >= 798);
    }
}

void PageBackgroundTest::missingRendererKeepsPreviousForDocuments()
{
    BackgroundRequest r = Request("/docs/a4.pdf", 3);
    r.previous = QImage(4, 4, QImage::Format_RGB32);
    const BackgroundResult out = BuildPageBackground(r, DocumentRenderer());
    QVERIFY(!out.stored);

    // A document that does not open leaves a plain page.
    r.path = "/docs/missing.pdf";
    const BackgroundResult unopened = BuildPageBackground(r, FakeRenderer(595.0, 842.0));
    QVERIFY(unopened.stored);
    QCOMPARE(unopened.image.size(), QSize(1280, 800));
    QCOMPARE(QColor(unopened.image.pixel(640, 400)), QColor(Qt::white));
}

void PageBackgroundTest::paperIsDrawnWithoutRenderer()
{
    const BackgroundResult out = BuildPageBackground(Request("/app/Paper/MusicNote.pdf", 1), DocumentRenderer());
    QVERIFY(out.stored);
    QCOMPARE(out.image.size(), QSize(1280, 800));
    int darkRows = 0;
    for (int y = 0; y < 800; ++y)
        darkRows += qGray(out.image.pixel(640, y)) < 200 ? 1 : 0;
    QVERIFY(darkRows >= 20);
}

QTEST_MAIN(PageBackgroundTest)
#include "page_background_test.moc"
