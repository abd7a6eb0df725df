#include "board/page_art.h"
#include "tests/support/test_folders.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>

// The drawn page backgrounds: every board and paper name has a look, the
// papers look like what they are called, and the paper files and bundled
// images exist.
class PageArtTest : public QObject
{
    Q_OBJECT

private slots:
    void boardsAreTheirColour_data();
    void boardsAreTheirColour();
    void papersShowTheirRuling();
    void unknownNameDrawsNothing();
    void paperFilesAndBundledImagesExist();

private:
    static QImage Draw(const QString& name, QSize size = QSize(1123, 794));
    static int DarkRowsInColumn(const QImage& image, int x);
    static int DarkColumnsInRow(const QImage& image, int y);
};

QImage PageArtTest::Draw(const QString& name, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    PaintPageArt(painter, name, QSizeF(size));
    return image;
}

// Rows whose pixel at column x is clearly darker than white paper (runs of
// adjacent rows count once, so a ruled line counts one).
int PageArtTest::DarkRowsInColumn(const QImage& image, int x)
{
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < image.height(); ++y) {
        const bool dark = qGray(image.pixel(x, y)) < 225;
        if (dark && !inLine)
            ++lines;
        inLine = dark;
    }
    return lines;
}

int PageArtTest::DarkColumnsInRow(const QImage& image, int y)
{
    int lines = 0;
    bool inLine = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool dark = qGray(image.pixel(x, y)) < 225;
        if (dark && !inLine)
            ++lines;
        inLine = dark;
    }
    return lines;
}

void PageArtTest::boardsAreTheirColour_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("white") << "WhiteBoard" << QColor(255, 255, 255);
    QTest::newRow("black board is green-black") << "BlackBoard" << QColor(25, 74, 57);
    QTest::newRow("navy") << "NavyBoard" << QColor(0, 0, 128);
    QTest::newRow("dark black") << "DarkblackBoard" << QColor(0, 0, 0);
    QTest::newRow("maroon") << "MaroonBoard" << QColor(128, 0, 0);
}

void PageArtTest::boardsAreTheirColour()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    QVERIFY(BoardArtNames().contains(name));
    const QImage image = Draw(name, QSize(64, 36));
    QCOMPARE(QColor(image.pixel(0, 0)), colour);
    QCOMPARE(QColor(image.pixel(63, 35)), colour);
}

void PageArtTest::papersShowTheirRuling()
{
    // Music: five-line staves, several down the page, no vertical ruling inside.
    const QImage music = Draw("MusicNote");
    const int staffLines = DarkRowsInColumn(music, music.width() / 2);
    QVERIFY2(staffLines >= 20 && staffLines % 5 == 0, qPrintable(QString::number(staffLines)));
    QCOMPARE(DarkColumnsInRow(music, 2), 0);

    // English: rows of four lines, one of them red.
    const QImage english = Draw("EnglishNote");
    QVERIFY(DarkRowsInColumn(english, english.width() / 2) >= 24);
    bool red = false;
    for (int y = 0; y < english.height() && !red; ++y) {
        const QColor c = english.pixel(english.width() / 2, y);
        red = c.red() > 150 && c.green() < 120 && c.blue() < 120;
    }
    QVERIFY(red);

    // Graph: a grid, ruled both ways.
    const QImage graph = Draw("GraphNote");
    QVERIFY(DarkRowsInColumn(graph, graph.width() / 2 + 3) > 30);
    QVERIFY(DarkColumnsInRow(graph, graph.height() / 2 + 3) > 40);

    // Manuscript: square cells in rows, 20 across.
    const QImage manuscript = Draw("ManuScriptH");
    int cellsAcross = 0;
    for (int y = 80; y < 140 && cellsAcross == 0; ++y) {
        const int lines = DarkColumnsInRow(manuscript, y);
        if (lines > 15)
            cellsAcross = lines - 1;
    }
    QCOMPARE(cellsAcross, 20);

    // Papers are white outside their ruling, and differ from each other.
    QCOMPARE(QColor(music.pixel(2, 2)), QColor(Qt::white));
    QVERIFY(music != english && english != graph && graph != manuscript);
}

void PageArtTest::unknownNameDrawsNothing()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    QVERIFY(!PaintPageArt(painter, "CorkBoard", QSizeF(8, 8)));
    QVERIFY(!PaintPageArt(painter, "whiteboard", QSizeF(8, 8)));
    painter.end();
    QCOMPARE(QColor(image.pixel(4, 4)), QColor(Qt::magenta));
}

void PageArtTest::paperFilesAndBundledImagesExist()
{
    for (const QString& name : PaperArtNames()) {
        QFile pdf(BuiltProgramFolder() + "/Paper/" + name + ".pdf");
        QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(pdf.fileName()));
        QVERIFY(pdf.read(5) == "%PDF-");
    }
    for (const QString& name : BoardArtNames() + PaperArtNames()) {
        const QImage bundled(":/Pages/" + name + ".png");
        QVERIFY2(!bundled.isNull(), qPrintable(name));
    }
}

QTEST_MAIN(PageArtTest)
#include "page_art_test.moc"
