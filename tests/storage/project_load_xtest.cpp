// A lesson saved by the running whiteboard comes back on screen as it was
// drawn, whichever way it is opened: named on the command line, through the
// main menu's open command, or handed over by a second copy.
#include "app/ui/dialog.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

const QRect kStrokeArea(380, 280, 220, 60);

void Stroke(QPoint from)
{
    QStringList moves{"mousemove", N(from.x()), N(from.y()), "mousedown", "1"};
    for (int i = 1; i <= 20; ++i)
        moves << "mousemove" << N(from.x() + i * 8) << N(from.y() + (i % 5) * 6) << "sleep" << "0.01";
    moves << "mouseup" << "1" << "mousemove" << "1000" << "700";
    Xdotool(moves);
}

bool IsInk(QRgb c) { return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110; }

// The pen's pixels of the stroke as `reference` shows them.
QVector<QPoint> InkPixels(const QImage& reference)
{
    QVector<QPoint> ink;
    for (int y = kStrokeArea.top(); y <= kStrokeArea.bottom(); ++y)
        for (int x = kStrokeArea.left(); x <= kStrokeArea.right(); ++x)
            if (IsInk(reference.pixel(x, y)))
                ink << QPoint(x, y);
    return ink;
}

// Share of the screen's pixels that differ between two screenshots.
double Difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 1.0;
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                ++differing;
    return double(differing) / (double(a.width()) * a.height());
}

}  // namespace

class ProjectLoadXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QPoint m_newEntry;
    QPoint m_openEntry;
    QPoint m_saveEntry;
    QTemporaryDir m_files;

    // Screenshots until `holds` is true of one (30 s): the screen shows the
    // board's state a moment after the board has it.
    QImage ShotWhen(const QString& name, const std::function<bool(const QImage&)>& holds)
    {
        const QImage shot = ScreenshotWhen(m_files.filePath(name + ".png"), holds);
        shot.save(m_files.filePath(name + ".png"));
        return shot;
    }

    // Waits for the load of `path` that starts after line `mark` to show its
    // first page.
    static bool WaitForLoad(RunningProgram& board, const QString& path, int mark)
    {
        const int started = board.waitForLine("exe : StartProjectLoad(" + path, 30000, mark);
        return started >= 0 && board.waitForLine(QStringLiteral("change note"), 30000, started) >= 0;
    }

private slots:
    void initTestCase()
    {
        m_root = std::make_unique<ScopedFolderRoot>();
        QTemporaryDir noLibraries;
        qputenv("DRAVIK_NO_MODAL", "1");
        {
            ScopedLibraryFolder libraries(noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            const QList<QAction*> actions = layout.m_mainMenu->actions();
            m_newEntry = layout.m_mainMenu->actionGeometry(actions.at(0)).center();
            m_openEntry = layout.m_mainMenu->actionGeometry(actions.at(1)).center();
            m_saveEntry = layout.m_mainMenu->actionGeometry(actions.at(2)).center();
        }
        qunsetenv("DRAVIK_NO_MODAL");
    }

    void cleanupTestCase() { m_root.reset(); }

    void savedLessonComesBack()
    {
        const QString lesson = m_files.filePath("lesson.vk");
        QImage drawn;
        {
            RunningProgram board;
            QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, QProcessEnvironment()));
            QVERIFY(board.waitForLine(QStringLiteral("time Done"), 20000) >= 0);
            Stroke(kStrokeArea.topLeft() + QPoint(20, 20));
            QVERIFY(board.waitForLine(QStringLiteral("exe : object 0-0 kind 3"), 10000) >= 0);
            // The reference the opened lesson is compared with whole: taken
            // once the stroke shows and the screen has stopped changing.
            drawn = SettledScreenshotWhen(m_files.filePath("drawn.png"),
                                          [](const QImage& s) { return InkPixels(s).size() > 100; });
            const int mark = board.lines().size();
            QVERIFY(ChooseMainMenuEntry(board.pid(), m_saveEntry));
            QVERIFY(XdotoolTypeInto(board.pid(), "Save project file", {"ctrl+a", "type:" + lesson, "Return"}));
            QVERIFY2(board.waitForLine("exe : project saved to " + lesson, 30000, mark) >= 0,
                     qPrintable(board.lines().mid(mark).join('\n')));
            QVERIFY2(board.waitForLine("project save finished", 10000, mark) >= 0, "the save did not end within 10 s");
            QCOMPARE(CloseWhiteboard(board), 0);
        }
        const QVector<QPoint> ink = InkPixels(drawn);
        QVERIFY2(ink.size() > 100, qPrintable(QString::number(ink.size())));

        // Named on the command line.
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {lesson}, QProcessEnvironment()));
        QVERIFY2(WaitForLoad(board, lesson, 0), qPrintable(board.lines().join('\n')));
        const QImage opened = ShotWhen("opened", [&](const QImage& s) { return Difference(drawn, s) < 0.002; });
        int kept = 0;
        for (const QPoint& p : ink)
            kept += IsInk(opened.pixel(p)) ? 1 : 0;
        QVERIFY2(kept >= ink.size() * 9 / 10, qPrintable(QStringLiteral("%1 of %2").arg(kept).arg(ink.size())));
        // The page counter, the toolbar and the page are those of the drawn lesson.
        QVERIFY2(Difference(drawn, opened) < 0.002, qPrintable(QString::number(Difference(drawn, opened))));

        // Through the main menu, after a new lecture has cleared the board.
        int mark = board.lines().size();
        QVERIFY(ChooseMainMenuEntry(board.pid(), m_newEntry));
        QVERIFY2(board.waitForLine("new lecture started", 10000, mark) >= 0, "no new lecture within 10 s");
        QCOMPARE(InkPixels(ShotWhen("cleared", [](const QImage& s) { return InkPixels(s).isEmpty(); })).size(), 0);
        mark = board.lines().size();
        QVERIFY(ChooseMainMenuEntry(board.pid(), m_openEntry));
        QVERIFY(XdotoolTypeInto(board.pid(), "Load project file", {"ctrl+a", "type:" + lesson, "Return"}));
        QVERIFY2(WaitForLoad(board, lesson, mark), qPrintable(board.lines().mid(mark).join('\n')));
        const QImage menuOpened = ShotWhen("menu", [&](const QImage& s) { return Difference(s, opened) < 0.002; });
        QVERIFY2(Difference(menuOpened, opened) < 0.002, qPrintable(QString::number(Difference(menuOpened, opened))));

        // Handed over by a second copy.
        mark = board.lines().size();
        QVERIFY(ChooseMainMenuEntry(board.pid(), m_newEntry));
        QVERIFY2(board.waitForLine("new lecture started", 10000, mark) >= 0, "no new lecture within 10 s");
        mark = board.lines().size();
        RunningProgram copy;
        QVERIFY(copy.start(QStringLiteral("Dravik"), {lesson}));
        QVERIFY2(WaitForLoad(board, lesson, mark), qPrintable(board.lines().mid(mark).join('\n')));
        copy.waitForExit(10000);
        const QImage handed = ShotWhen("handed", [&](const QImage& s) { return Difference(s, opened) < 0.002; });
        QVERIFY2(Difference(handed, opened) < 0.002, qPrintable(QString::number(Difference(handed, opened))));
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_MAIN(ProjectLoadXTest)
#include "project_load_xtest.moc"
