// The whiteboard seen from outside: it opens on one blank page with its image
// file in the work folder, and a mouse stroke shows as ink on the page's
// paper (the white board, the board in the black-board colour, and a graph
// paper laid as the board's background picture).
#include "board/page_art.h"
#include "storage/settings_file.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

void MouseStroke(QPoint from, QPoint to)
{
    QStringList args{"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"};
    for (int i = 1; i <= 25; ++i) {
        const QPoint p = from + (to - from) * i / 25;
        args << "mousemove" << QString::number(p.x()) << QString::number(p.y()) << "sleep" << "0.01";
    }
    args << "mouseup" << "1";
    Xdotool(args);
}

QImage Screenshot(const QString& path)
{
    QFile::remove(path);
    QProcess import;
    import.start("import", {"-window", "root", path});
    if (!import.waitForFinished(20000) || import.exitCode() != 0)
        return QImage();
    return QImage(path);
}

bool Dark(QRgb pixel)
{
    return qGray(pixel) < 20;
}

// Points of the stroke from `from` to `to` that show ink (within two pixels
// up or down), of the 22 looked at.
int InkedPoints(const QImage& shot, QPoint from, QPoint to)
{
    int inked = 0;
    for (int i = 2; i <= 23; ++i) {
        const QPoint p = from + (to - from) * i / 25;
        bool near = false;
        for (int dy = -2; dy <= 2 && !near; ++dy)
            near = Dark(shot.pixel(p.x(), p.y() + dy));
        inked += near ? 1 : 0;
    }
    return inked;
}

}  // namespace

class BoardPagesXTest : public QObject
{
    Q_OBJECT

private slots:
    void strokeShowsOnThePaper_data();
    void strokeShowsOnThePaper();
};

void BoardPagesXTest::strokeShowsOnThePaper_data()
{
    QTest::addColumn<QString>("color");
    QTest::addColumn<bool>("graphPaper");
    QTest::addColumn<QColor>("paper");
    QTest::newRow("white board") << "white" << false << QColor(255, 255, 255);
    QTest::newRow("black board") << "blackboard color" << false << QColor(25, 74, 57);
    QTest::newRow("graph paper") << "white" << true << QColor(255, 255, 255);
}

void BoardPagesXTest::strokeShowsOnThePaper()
{
    QFETCH(QString, color);
    QFETCH(bool, graphPaper);
    QFETCH(QColor, paper);

    ScopedFolderRoot root;
    ConfigInfomation config;
    const SettingsFolders folders = PrepareSettingsFolders();
    SetConfigDefaults(&config, folders, 1280, 800, true);
    config.color = color;
    if (graphPaper) {
        QImage graph(1280, 800, QImage::Format_RGB32);
        QPainter painter(&graph);
        QVERIFY(PaintPageArt(painter, "GraphNote", QSizeF(graph.size())));
        painter.end();
        config.bgfile = root.path() + "/graph.png";
        QVERIFY(graph.save(config.bgfile));
    }
    QVERIFY(WriteConfigFile(SettingsFilePath(), config));

    QProcessEnvironment environment;
    environment.insert("DRAVIK_NO_MODAL", "1");
    RunningProgram board;
    QVERIFY(StartWhiteboard(board, {}, environment));
    QVERIFY(board.waitForLine("time Done", 10000) >= 0);

    // One blank page, its image file named by a 17-digit stamp.
    const QStringList pages = QDir(folders.workFolder).entryList({"*.jpg"}, QDir::Files);
    QCOMPARE(pages.size(), 1);
    QVERIFY(QRegularExpression("^\\d{17}\\.jpg$").match(pages.first()).hasMatch());

    // Away from the form's controls, in the lower right of the screen.
    const QPoint from(850, 640);
    const QPoint to(1200, 710);
    MouseStroke(from, to);
    QVERIFY(board.waitForLine("exe : object 0-0 kind 3", 10000) >= 0);
    // The screen shows the stroke a moment after the board has recorded it.
    const QString shotPath = root.path() + "/shot.png";
    QImage shot;
    QElapsedTimer clock;
    clock.start();
    do {
        shot = Screenshot(shotPath);
    } while ((shot.isNull() || InkedPoints(shot, from, to) < 20) && clock.elapsed() < 10000);
    QVERIFY(!shot.isNull());

    const int inked = InkedPoints(shot, from, to);
    QVERIFY2(inked >= 20, qPrintable(QString::number(inked)));
    const QColor below = shot.pixel(900, 760);
    if (graphPaper) {
        // Paper, not the board colour or ink: white, or a line of the ruling.
        QVERIFY2(below == Qt::white || below.blue() > below.red() + 20, qPrintable(below.name()));
    } else {
        QCOMPARE(below.name(), paper.name());
    }
    QVERIFY(!Dark(shot.pixel(1150, 600)));

    if (graphPaper) {
        // The ruling of the paper runs across the page under the ink.
        int lines = 0;
        bool inLine = false;
        for (int x = 820; x < 1200; ++x) {
            const QColor c = shot.pixel(x, 600);
            const bool ruled = c.blue() > c.red() + 20;
            lines += ruled && !inLine ? 1 : 0;
            inLine = ruled;
        }
        QVERIFY2(lines >= 15, qPrintable(QString::number(lines)));
    }
}

QTEST_MAIN(BoardPagesXTest)
#include "board_pages_xtest.moc"
