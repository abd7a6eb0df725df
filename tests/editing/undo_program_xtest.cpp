// Undo, redo, the area eraser, erase all and move all in the running
// whiteboard, as a person uses them: xdotool draws and picks the tools from
// the toolbar, and the screen is looked at from outside.
#include "app/ui/dialog.h"
#include "tests/support/board_screen.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QImage>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
}

bool Dark(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }

int DarkIn(const QImage& image, QRect area)
{
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += Dark(image.pixel(x, y)) ? 1 : 0;
    return n;
}

// The rows of ink the test draws: 200 pixels wide, a few pixels high.
QRect Row(int y) { return QRect(350, y - 2, 200, 5); }

}  // namespace

class UndoProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    RunningProgram m_board;
    QMap<QString, QRect> m_buttons;  // on the screen, by object name

    // Screenshots until the condition holds, at most 10 s: the screen shows
    // a change a moment after the board made it.
    QImage ScreenWhen(const std::function<bool(const QImage&)>& holds)
    {
        return ScreenshotWhen(m_root->path() + "/screen.png", holds);
    }

    void DrawLine(int y, int objectIndex)
    {
        XdotoolDrag(QPoint(300, y), QPoint(600, y));
        QVERIFY(m_board.waitForLine(QStringLiteral("exe : object 0-%1 kind").arg(objectIndex), 10000) >= 0);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        m_noLibraries = std::make_unique<QTemporaryDir>();
        {
            // The same layout code on the same screen places the buttons
            // where the program shows them.
            m_buttons = ToolbarButtonsOnScreen(m_noLibraries->path());
        }
        QProcessEnvironment environment;
        environment.insert("DRAVIK_NO_MODAL", "1");
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, environment));
        QVERIFY(m_board.waitForLine("time Done", 20000) >= 0);
    }

    void cleanupTestCase()
    {
        if (m_board.isRunning())
            CloseWhiteboard(m_board);
        m_root.reset();
    }

    void eraseUndoRedoAndMoveAll()
    {
        const QList<int> rows{300, 400, 500};
        QVERIFY(ChooseFromToolbarRow(m_board, m_buttons, "drawbtn", 2));  // the line
        for (int i = 0; i < rows.size(); ++i)
            DrawLine(rows[i], i);
        QImage shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, Row(500)) > 100; });
        for (int y : rows)
            QVERIFY(DarkIn(shot, Row(y)) > 100);

        // The area eraser swept across the three lines takes all three.
        QVERIFY(ChooseFromToolbarRow(m_board, m_buttons, "erasebtn", 2));
        XdotoolDrag(QPoint(450, 250), QPoint(450, 550), 6);
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, QRect(350, 290, 200, 220)) == 0; });
        shot.save(QDir::current().filePath("undo-swept.png"));
        QCOMPARE(DarkIn(shot, QRect(350, 290, 200, 220)), 0);

        // Each line was a step of its own: undo brings back the last one
        // erased, redo takes it away again.
        Click(m_buttons["undobtn"].center());
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, Row(500)) > 100; });
        shot.save(QDir::current().filePath("undo-one-back.png"));
        QVERIFY(DarkIn(shot, Row(500)) > 100);
        QCOMPARE(DarkIn(shot, Row(300)) + DarkIn(shot, Row(400)), 0);
        Click(m_buttons["redobtn"].center());
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, Row(500)) == 0; });
        QCOMPARE(DarkIn(shot, Row(500)), 0);

        // Erase all empties the page; one undo brings every line back.
        QVERIFY(ChooseFromToolbarRow(m_board, m_buttons, "drawbtn", 2));
        DrawLine(300, 3);
        DrawLine(400, 4);
        QVERIFY(ChooseFromToolbarRow(m_board, m_buttons, "erasebtn", 0));
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, QRect(350, 290, 200, 120)) == 0; });
        shot.save(QDir::current().filePath("undo-erased-all.png"));
        QCOMPARE(DarkIn(shot, QRect(350, 290, 200, 120)), 0);
        Click(m_buttons["undobtn"].center());
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, Row(300)) > 100 && DarkIn(s, Row(400)) > 100; });
        QVERIFY(DarkIn(shot, Row(300)) > 100);
        QVERIFY(DarkIn(shot, Row(400)) > 100);

        // Move all drags both lines 60 pixels down from anywhere on the
        // board; undo puts them back.
        QVERIFY(ChooseFromToolbarRow(m_board, m_buttons, "objectbtn", 1));
        XdotoolDrag(QPoint(800, 600), QPoint(800, 660), 10);
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, Row(360)) > 100 && DarkIn(s, Row(460)) > 100; });
        shot.save(QDir::current().filePath("undo-moved-all.png"));
        QVERIFY(DarkIn(shot, Row(360)) > 100);
        QVERIFY(DarkIn(shot, Row(460)) > 100);
        QCOMPARE(DarkIn(shot, Row(300)), 0);
        Click(m_buttons["undobtn"].center());
        shot = ScreenWhen([&](const QImage& s) { return DarkIn(s, Row(300)) > 100 && DarkIn(s, Row(360)) == 0; });
        QVERIFY(DarkIn(shot, Row(300)) > 100);
        QCOMPARE(DarkIn(shot, Row(360)), 0);
    }
};

QTEST_MAIN(UndoProgramTest)
#include "undo_program_xtest.moc"
