// Works the whiteboard's toolbar as a person would: xdotool presses, holds
// and drags under a private X server, and the screen, the files and the log
// are looked at from outside.
#include "app/ui/dialog.h"
#include "tests/support/board_screen.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QDirIterator>
#include <QImage>
#include <QMap>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

// The program reads the clicks in the order they are sent: a click needs no
// wait unless what it starts is awaited.
void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
}

int CountPixels(const QImage& image, QRect area, const std::function<bool(QColor)>& is)
{
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += is(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool Dark(QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool Red(QColor c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }

// The widest run of ink across a horizontal line's middle column.
int InkThickness(const QImage& image, int x, int yFrom, int yTo, const std::function<bool(QColor)>& is)
{
    int n = 0;
    for (int y = yFrom; y <= yTo; ++y)
        n += is(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

}  // namespace

class ToolbarProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    RunningProgram m_board;
    QMap<QString, QPoint> m_at;  // button centres on the screen, by name
    QMap<QString, QRect> m_geometry;
    QRect m_widthSlider;
    QRect m_toolPositionEntry;

    QImage Screen() { return TakeScreenshot(m_root->path() + "/screen.png"); }

    QImage ScreenWhen(const std::function<bool(const QImage&)>& holds)
    {
        return ScreenshotWhen(m_root->path() + "/screen.png", holds);
    }

    // A drag on the board, awaited until the board has made it object `kind`.
    bool Drag(QPoint from, QPoint to, int kind)
    {
        const int mark = m_board.lines().size();
        XdotoolDrag(from, to);
        if (m_board.waitForLine(QStringLiteral(" kind %1 media").arg(kind), 10000, mark) < 0) {
            qWarning("the drag did not become an object of kind %d within 10 s", kind);
            return false;
        }
        return true;
    }

    // Clicks the small arrow `arrow` that opens the row of `button`; true
    // once the row is open.
    bool OpenRowByArrow(const QString& arrow, const QString& button)
    {
        const int mark = m_board.lines().size();
        Click(m_at[arrow]);
        return m_board.waitForLine("toolbar row open : " + button, 10000, mark) >= 0;
    }

    int PageImages() const
    {
        int n = 0;
        QDirIterator it(m_root->path(), {"*.jpg"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++n;
        }
        return n;
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
        {
            // The same layout code on the same screen gives the places of the
            // buttons the program shows.
            ScopedLibraryFolder libraries(m_noLibraries->path());
            Dialog layout;
            layout.InitDialog(false);
            const QPoint origin(layout.m_canvasLeft, 0);
            for (QPushButton* b : layout.findChildren<QPushButton*>()) {
                m_at.insert(b->objectName(), b->geometry().center() + origin);
                m_geometry.insert(b->objectName(), b->geometry().translated(origin));
            }
            layout.ShowPenWidthSlider();
            m_widthSlider = layout.ui->verwidthslider->geometry().translated(origin);
            m_toolPositionEntry = layout.m_mainMenu->actionGeometry(layout.m_mainMenu->actions().at(9));
        }
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY2(m_board.waitForLine("time Done", 20000) >= 0, "the splash screen did not close within 20 s");
    }

    void cleanupTestCase()
    {
        m_board.kill();
        m_root.reset();
    }

    void noteButtonMakesAPage()
    {
        const int before = PageImages();
        Click(m_at["notebtn"]);
        QTRY_COMPARE_WITH_TIMEOUT(PageImages(), before + 1, 10000);
    }

    void pageButtonsStepBackAndForth()
    {
        const int from = m_board.lines().size();
        Click(m_at["prebtn"]);
        QVERIFY(m_board.waitForLine("change note :", 5000, from) >= 0);
        const int again = m_board.lines().size();
        Click(m_at["postbtn"]);
        QVERIFY(m_board.waitForLine("change note :", 5000, again) >= 0);
    }

    void drawRowChoosesTheRectangle()
    {
        QVERIFY(OpenToolbarRow(m_board, "drawbtn", m_at["drawbtn"]));
        const QRect draw = m_geometry["drawbtn"];
        const QRect rowArea(draw.left(), draw.bottom() + 4, draw.width(), 300);
        QImage row = ScreenWhen([&](const QImage& s) { return CountPixels(s, rowArea, Dark) > 50; });
        QVERIFY(CountPixels(row, rowArea, Dark) > 50);
        // The fourth button of the row is the rectangle.
        QVERIFY(ChooseFromOpenRow(m_board, draw, 3));
        QVERIFY(Drag(QPoint(300, 300), QPoint(500, 450), 8));
        const QImage shot = ScreenWhen([](const QImage& s) {
            return CountPixels(s, QRect(380, 296, 40, 8), Dark) > 20 && CountPixels(s, QRect(496, 360, 8, 40), Dark) > 20;
        });
        // Ink along the rectangle's edges, none in its middle.
        QVERIFY(CountPixels(shot, QRect(380, 296, 40, 8), Dark) > 20);
        QVERIFY(CountPixels(shot, QRect(496, 360, 8, 40), Dark) > 20);
        QCOMPARE(CountPixels(shot, QRect(360, 340, 80, 60), Dark), 0);
    }

    void colourRowGivesRedInkAndWidthWidens()
    {
        // Back to the free pen, then red from the colour row.
        QVERIFY(ChooseFromToolbarRow(m_board, m_geometry, "drawbtn", 0));
        QVERIFY(OpenRowByArrow("colorsubbtn", "colorbtn"));
        // "red" is the tenth colour.
        QVERIFY(ChooseFromOpenRow(m_board, m_geometry["colorbtn"], 9));
        QVERIFY(Drag(QPoint(300, 600), QPoint(600, 600), 3));
        QImage shot = ScreenWhen([](const QImage& s) { return InkThickness(s, 450, 580, 620, Red) > 0; });
        const int thin = InkThickness(shot, 450, 580, 620, Red);
        QVERIFY2(thin > 0, "no red ink");

        // The width arrow opens the slider; a wider width gives wider ink.
        QVERIFY(OpenRowByArrow("pwidthsubbtn", "pwidthbtn"));
        // The handle, at the thinnest width, goes to the far end.
        const QRect slider = m_widthSlider;
        Xdotool({"mousemove", N(slider.center().x()), N(slider.bottom() - 6), "mousedown", "1"});
        for (int y = slider.bottom() - 6; y >= slider.top(); y -= 10)
            Xdotool({"mousemove", N(slider.center().x()), N(y)});
        Xdotool({"mouseup", "1"});
        const int mark = m_board.lines().size();
        Click(QPoint(900, 500));  // outside: the slider closes
        QVERIFY2(m_board.waitForLine("toolbar row closed", 10000, mark) >= 0, "the width slider did not close");
        QVERIFY(Drag(QPoint(300, 700), QPoint(600, 700), 3));
        shot = ScreenWhen([&](const QImage& s) { return InkThickness(s, 450, 670, 730, Red) > thin + 3; });
        const int wide = InkThickness(shot, 450, 670, 730, Red);
        QVERIFY2(wide > thin + 3, qPrintable(QString("%1 -> %2").arg(thin).arg(wide)));
    }

    void zoomRowShowsScrollBars()
    {
        QVERIFY(OpenRowByArrow("zoomsubbtn", "zoombtn"));
        const int mark = m_board.lines().size();
        // "ekZoomFix2" is the fifth zoom key.
        QVERIFY(ChooseFromOpenRow(m_board, m_geometry["zoombtn"], 4));
        QVERIFY(m_board.waitForLine("OptZoomBtn", 10000, mark) >= 0);
        // The zoomed page once it is painted and the screen has stopped changing.
        const QImage before = SettledScreenshotWhen(m_root->path() + "/screen.png", [](const QImage&) { return true; });
        // The horizontal bar runs along the bottom; a wheel-free drag of its
        // handle moves the page.
        Xdotool({"mousemove", "640", N(before.height() - 8), "mousedown", "1"});
        Xdotool({"mousemove", "300", N(before.height() - 8)});
        Xdotool({"mouseup", "1"});
        const auto moved = [&]() {
            const QImage after = Screen();
            return !after.isNull() && before.copy(0, 50, 1200, 600) != after.copy(0, 50, 1200, 600);
        };
        QTRY_VERIFY2_WITH_TIMEOUT(moved(), "the page moving with the bar's handle", 10000);
    }

    void logoMenuMovesTheBarLeft()
    {
        // A menu has no name to wait for: it is the board's window that was
        // not there before the click.
        const auto clickOpensMenu = [this](QPoint at) {
            const QStringList before = MappedWindowIds(m_board.pid());
            Xdotool({"mousemove", N(at.x()), N(at.y()), "click", "1"});
            return !WaitForNewXWindow(m_board.pid(), before, 15000).isEmpty();
        };
        QVERIFY2(clickOpensMenu(QPoint(48, 22)), "the logo's menu opening");
        // The menu opens at the cursor; its tenth entry holds the positions,
        // the first of which is Left.
        const QPoint entry = QPoint(48, 22) + m_toolPositionEntry.center();
        QVERIFY2(clickOpensMenu(entry), "the positions' sub-menu opening");
        // The sub-menu opens beside the entry, Left level with it.
        Click(QPoint(48 + m_toolPositionEntry.right() + 40, entry.y()));
        // The bar's dark logo now stands at the left edge, below the top.
        QTRY_VERIFY2_WITH_TIMEOUT(
            CountPixels(Screen(), QRect(0, 100, 45, 600), [](QColor c) { return c.blue() > 60 && c.red() < 60; }) > 100,
            "the bar's logo at the left edge", 10000);
    }
};

QTEST_MAIN(ToolbarProgramTest)
#include "toolbar_program_xtest.moc"
