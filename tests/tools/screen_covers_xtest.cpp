// Screen: 1920x1080x24
// The page navigator, the blind and the spotlight in the running whiteboard,
// worked with xdotool on a full-HD screen and looked at from outside: window
// geometry, the opacity property and screenshots.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMap>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

// A click, then a pause that keeps the next click at the same place from
// making a double-click.
void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
    QTest::qWait(300);
}

void Drag(QPoint from, QPoint to)
{
    Xdotool({"mousemove", N(from.x()), N(from.y()), "mousedown", "1"});
    for (int i = 1; i <= 20; ++i) {
        const QPoint p = from + (to - from) * i / 20;
        Xdotool({"mousemove", N(p.x()), N(p.y())});
    }
    Xdotool({"mouseup", "1"});
    QTest::qWait(300);
}

// Waits (bounded) until `geometry` of the window is what is expected.
bool WaitForGeometry(const QString& window, QRect expected, int timeoutMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (XWindowGeometry(window) == expected)
            return true;
        QTest::qWait(100);
    }
    qWarning().noquote() << QStringLiteral("window %1 did not take the geometry %2,%3 %4x%5 within %6 ms")
                                .arg(window)
                                .arg(expected.x())
                                .arg(expected.y())
                                .arg(expected.width())
                                .arg(expected.height())
                                .arg(timeoutMs);
    return false;
}

bool Grey(QColor c) { return qAbs(c.red() - 160) < 8 && qAbs(c.green() - 160) < 8 && qAbs(c.blue() - 164) < 8; }
bool Red(QColor c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }
bool Dark(QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }

int CountAround(const QImage& image, QPoint p, int half, const std::function<bool(QColor)>& is)
{
    int n = 0;
    for (int y = p.y() - half; y <= p.y() + half; ++y)
        for (int x = p.x() - half; x <= p.x() + half; ++x)
            n += image.rect().contains(x, y) && is(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

}  // namespace

class ScreenCoversProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    RunningProgram m_board;
    QMap<QString, QRect> m_buttons;  // on the screen, by name
    QRect m_toolsEntry;              // in the main menu
    QRect m_toolsItems[3];           // keyboard, spotlight, blind in the tools sub-menu
    QRect m_percentEntry20;          // in the covers' menu

    QImage Screen() { return TakeScreenshot(m_root->path() + "/screen.png"); }

    // With DRAVIK_KEEP_SHOTS naming a folder, the screenshots are kept there
    // for a person to look at.
    static void Keep(const QImage& shot, const QString& name)
    {
        if (qEnvironmentVariableIsSet("DRAVIK_KEEP_SHOTS"))
            shot.save(qEnvironmentVariable("DRAVIK_KEEP_SHOTS") + '/' + name);
    }

    // Takes screenshots until `ok` holds for one, at most `timeoutMs`; a
    // busy machine takes a while for each.
    QImage ScreenWhere(const std::function<bool(const QImage&)>& ok, int timeoutMs = 30000)
    {
        return ScreenshotWhen(m_root->path() + "/screen.png", ok, timeoutMs);
    }

    // Clicks at `p` and waits for the menu it opens: a window of the board
    // that was not there before (a menu has no name to wait for).
    bool ClickOpensMenu(QPoint p, const char* menu)
    {
        const QStringList before = MappedWindowIds(m_board.pid());
        XdotoolClick(p);
        if (!WaitForNewXWindow(m_board.pid(), before, 15000).isEmpty())
            return true;
        qWarning("the %s did not open within 15 s", menu);
        return false;
    }

    bool OpenTool(int item)
    {
        const QPoint logo = m_buttons["logbtn"].center();
        if (!ClickOpensMenu(logo, "main menu"))
            return false;
        const QPoint entry = logo + m_toolsEntry.center();
        if (!ClickOpensMenu(entry, "tools menu"))
            return false;
        const int dy = m_toolsItems[item].center().y() - m_toolsItems[0].center().y();
        Xdotool({"mousemove", N(logo.x() + m_toolsEntry.right() + 40), N(entry.y())});
        Click(QPoint(logo.x() + m_toolsEntry.right() + 40, entry.y() + dy));
        return true;
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
        {
            // The same layout code on the same screen gives the places the
            // program shows its buttons and menus at.
            ScopedLibraryFolder libraries(m_noLibraries->path());
            Dialog layout;
            layout.InitDialog(false);
            const QPoint origin(layout.m_canvasLeft, 0);
            for (QPushButton* b : layout.findChildren<QPushButton*>())
                m_buttons.insert(b->objectName(), b->geometry().translated(origin));
            QList<QAction*> entries = layout.m_mainMenu->actions();
            m_toolsEntry = layout.m_mainMenu->actionGeometry(entries.at(8));
            QMenu* tools = entries.at(8)->menu();
            QVERIFY(tools);
            for (int i = 0; i < 3; ++i)
                m_toolsItems[i] = tools->actionGeometry(tools->actions().at(i));
            m_percentEntry20 = layout.m_blind->menu()->actionGeometry(layout.m_blind->percentAction(2));
        }
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY2(m_board.waitForLine("time Done", 20000) >= 0, "the splash screen did not close within 20 s");
        QCOMPARE(Screen().size(), QSize(1920, 1080));
    }

    void cleanupTestCase()
    {
        m_board.kill();
        m_root.reset();
    }

    void navigatorScrollsTheZoomedPage()
    {
        // A stroke near the page's top-left corner, out of sight once zoomed.
        Drag(QPoint(200, 300), QPoint(400, 300));
        const QRect zoom = m_buttons["zoombtn"];
        // "ekZoomFix2" is the fifth zoom key of the row; the row is painted
        // over the board, so the key's place changes once it is there.
        const QPoint key(zoom.center().x(), zoom.bottom() + 1 + 36 * 4 + 18 + 4);
        const QRect keyArea(key - QPoint(10, 10), QSize(21, 21));
        const QImage beforeRow = Screen();
        QVERIFY(!beforeRow.isNull());
        Click(m_buttons["zoomsubbtn"].center());
        const QImage withRow =
            ScreenWhere([&](const QImage& s) { return s.copy(keyArea) != beforeRow.convertToFormat(s.format()).copy(keyArea); });
        QVERIFY2(withRow.copy(keyArea) != beforeRow.convertToFormat(withRow.format()).copy(keyArea),
                 "the zoom keys did not show beside the zoom button");
        const int from = m_board.lines().size();
        Click(key);
        QVERIFY2(m_board.waitForLine("OptZoomBtn", 15000, from) >= 0, "the zoom key's command was not logged");

        // The grey panel in the board's lower right corner, the frame in the
        // middle of its picture as the zoom centres the view.
        const QRect panel(1920 - 231, 1080 - 159, 211, 139);
        const QRect picture(panel.x() + 25, panel.y() + 24, 160, 90);
        QImage shot = ScreenWhere([&](const QImage& s) {
            return Grey(s.pixelColor(panel.topLeft() + QPoint(4, 4))) && Red(s.pixelColor(picture.topLeft() + QPoint(40, 22)));
        });
        QVERIFY(Grey(shot.pixelColor(panel.topLeft() + QPoint(4, 4))));
        QVERIFY(Red(shot.pixelColor(picture.topLeft() + QPoint(40, 22))));
        QCOMPARE(CountAround(shot, QPoint(600, 600), 6, Dark), 0);

        // A press at the picture's top-left corner shows the page's corner,
        // with the stroke twice as large.
        Click(picture.topLeft());
        shot = ScreenWhere([](const QImage& s) { return CountAround(s, QPoint(600, 600), 6, Dark) > 5; });
        Keep(shot, "navigator.png");
        QVERIFY2(CountAround(shot, QPoint(600, 600), 6, Dark) > 5, "the page did not scroll to its corner");
        QVERIFY(Red(shot.pixelColor(picture.topLeft())));
    }

    void blindCoversAndSlides()
    {
        QVERIFY(OpenTool(2));
        const QStringList windows = WaitForXWindows("^blind$", 15000, m_board.pid());
        QVERIFY(!windows.isEmpty());
        const QString blind = windows.first();
        // The toolbar stands at the top: its strip stays uncovered.
        QVERIFY(WaitForGeometry(blind, QRect(0, 45, 1920, 1035)));
        QVERIFY(Grey(ScreenWhere([](const QImage& s) { return Grey(s.pixelColor(960, 500)); }).pixelColor(960, 500)));

        // The bottom bar dragged up 300 px takes the bottom edge along.
        Drag(QPoint(960, 45 + 1028), QPoint(960, 45 + 728));
        QVERIFY2(WaitForGeometry(blind, QRect(0, 45, 1920, 735)), qPrintable(N(XWindowGeometry(blind).height())));
        Keep(Screen(), "blind.png");

        // The properties button's menu: 20 % lets 0.8 of the cover through.
        const QPoint prop(24 + 12, 45 + 25 + 12);
        QVERIFY(ClickOpensMenu(prop, "blind's menu"));
        Click(prop + m_percentEntry20.center());
        QString opacity;
        for (int i = 0; i < 50 && !opacity.contains("3435973836"); ++i) {
            QProcess xprop;
            xprop.start("xprop", {"-id", blind, "_NET_WM_WINDOW_OPACITY"});
            xprop.waitForFinished(5000);
            opacity = QString::fromLatin1(xprop.readAllStandardOutput());
            if (!opacity.contains("3435973836"))
                QTest::qWait(100);
        }
        QVERIFY2(opacity.contains("3435973836"), qPrintable(opacity));

        Click(QPoint(52 + 12, 45 + 25 + 12));
        QTRY_VERIFY2_WITH_TIMEOUT(FindXWindows("^blind$", m_board.pid()).isEmpty(), "the blind closing", 15000);
    }

    void spotlightShowsTheBoardInItsHole()
    {
        QVERIFY(OpenTool(1));
        const QStringList windows = WaitForXWindows("^spot$", 15000, m_board.pid());
        QVERIFY(!windows.isEmpty());
        const QString spot = windows.first();
        QVERIFY(WaitForGeometry(spot, QRect(0, 45, 1920, 1035)));

        // The hole in the middle of the cover shows the white page.
        const QPoint centre(960, 45 + 540);
        QImage shot = ScreenWhere([&](const QImage& s) {
            return Grey(s.pixelColor(300, 300)) && s.pixelColor(centre) == QColor(Qt::white);
        });
        QVERIFY(Grey(shot.pixelColor(300, 300)));
        QCOMPARE(shot.pixelColor(centre), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(centre + QPoint(-100, 0)), QColor(Qt::white));
        QVERIFY(Grey(shot.pixelColor(centre + QPoint(-130, 0))));

        // A drag on the cover moves the hole 100 px right; the window stays.
        Drag(QPoint(300, 300), QPoint(400, 300));
        shot = ScreenWhere([&](const QImage& s) { return Grey(s.pixelColor(centre + QPoint(-110, 0))); });
        QVERIFY(Grey(shot.pixelColor(centre + QPoint(-110, 0))));
        QCOMPARE(shot.pixelColor(centre + QPoint(200, 0)), QColor(Qt::white));
        QCOMPARE(XWindowGeometry(spot), QRect(0, 45, 1920, 1035));

        // The hole hands the pointer to the board: the pen draws there.
        Drag(centre + QPoint(50, -20), centre + QPoint(150, -20));
        shot = ScreenWhere([&](const QImage& s) { return CountAround(s, centre + QPoint(100, -20), 4, Dark) > 3; });
        Keep(shot, "spot.png");
        QVERIFY2(CountAround(shot, centre + QPoint(100, -20), 4, Dark) > 3, "no ink drawn through the hole");
    }
};

QTEST_MAIN(ScreenCoversProgramTest)
#include "screen_covers_xtest.moc"
