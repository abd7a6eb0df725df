// Resizing and turning a rectangle in the running whiteboard, as a person
// does it: xdotool draws it, picks it with the select tool, drags a corner
// handle and the rotation handle, and undoes both from the toolbar; the
// screen is looked at from outside.
#include "tests/support/board_screen.h"
#include "tests/support/screenshot.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A stretch of a vertical or horizontal side of the rectangle, a few pixels
// thick so that antialiasing and rounding do not matter.
QRect Vertical(int x, int top, int bottom) { return QRect(x - 2, top, 5, bottom - top); }
QRect Horizontal(int y, int left, int right) { return QRect(left, y - 2, right - left, 5); }

}  // namespace

class ResizeProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    RunningProgram m_board;
    QMap<QString, QRect> m_buttons;  // on the screen, by object name

    QImage ScreenWhen(const std::function<bool(const QImage&)>& holds)
    {
        return ScreenshotWhen(m_root->path() + "/screen.png", holds);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        m_noLibraries = std::make_unique<QTemporaryDir>();
        m_buttons = ToolbarButtonsOnScreen(m_noLibraries->path());
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

    void resizeTurnAndUndo()
    {
        // A 200 x 100 rectangle from (300, 300).
        QVERIFY(ChooseFromToolbarRow(m_board, m_buttons, "drawbtn", 3));
        XdotoolDrag(QPoint(300, 300), QPoint(500, 400));
        QVERIFY(m_board.waitForLine("exe : object 0-0 kind 8", 10000) >= 0);
        QVERIFY(ClickToolbarButton(m_board, m_buttons, "objectbtn"));

        // Picked by its left side; its bottom-right handle (the frame stands
        // a few pixels out, the handle 5 further) dragged 100 by 50 pixels
        // out along the diagonal: 1.5 times the size, 300 x 150.
        XdotoolClick(QPoint(300, 350));
        QImage shot = ScreenWhen([](const QImage& s) { return DarkPixels(s, Vertical(290, 320, 380)) > 0; });
        QVERIFY(DarkPixels(shot, Vertical(290, 320, 380)) > 0);
        XdotoolDrag(QPoint(507, 407), QPoint(607, 457));
        XdotoolClick(QPoint(1000, 650));  // away from it: the frame goes
        const auto larger = [](const QImage& s) {
            return DarkPixels(s, Vertical(500, 320, 380)) == 0 && DarkPixels(s, Vertical(600, 320, 420)) > 100
                   && DarkPixels(s, Horizontal(450, 320, 580)) > 100;
        };
        shot = ScreenWhen(larger);
        shot.save(QDir::current().filePath("resize-larger.png"));
        QVERIFY(larger(shot));
        QVERIFY(DarkPixels(shot, Vertical(300, 320, 430)) > 100);  // the left side stays
        QVERIFY(DarkPixels(shot, Horizontal(300, 320, 580)) > 100);

        // Picked again; its rotation handle (20 pixels above the frame's
        // middle) dragged round to the right of the middle and let go a
        // little below the horizontal: turned to 90 degrees about the middle
        // (450, 375), so it stands 150 wide and 300 high.
        XdotoolClick(QPoint(300, 350));
        ScreenWhen([](const QImage& s) { return DarkPixels(s, Vertical(290, 320, 380)) > 0; });
        XdotoolDrag(QPoint(450, 277), QPoint(700, 385));
        XdotoolClick(QPoint(1000, 650));
        const auto turned = [](const QImage& s) {
            return DarkPixels(s, Horizontal(300, 320, 360)) == 0 && DarkPixels(s, Vertical(375, 260, 490)) > 150
                   && DarkPixels(s, Vertical(525, 260, 490)) > 150;
        };
        shot = ScreenWhen(turned);
        shot.save(QDir::current().filePath("resize-turned.png"));
        QVERIFY(turned(shot));

        // Two presses on undo: the turn, then the resize, are taken back.
        XdotoolClick(m_buttons["undobtn"].center());
        shot = ScreenWhen(larger);
        QVERIFY2(larger(shot), "the first undo did not bring back the larger, unturned rectangle");
        XdotoolClick(m_buttons["undobtn"].center());
        const auto first = [](const QImage& s) {
            return DarkPixels(s, Vertical(500, 320, 380)) > 50 && DarkPixels(s, Vertical(600, 320, 420)) == 0
                   && DarkPixels(s, Vertical(375, 240, 290)) == 0;
        };
        shot = ScreenWhen(first);
        shot.save(QDir::current().filePath("resize-undone.png"));
        QVERIFY(first(shot));
        QVERIFY(DarkPixels(shot, Horizontal(400, 320, 480)) > 100);
    }
};

QTEST_MAIN(ResizeProgramTest)
#include "resize_program_xtest.moc"
