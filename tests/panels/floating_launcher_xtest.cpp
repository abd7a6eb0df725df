// The floating launcher in the running whiteboard, worked from outside with
// xdotool under a private X server: where it stands, how it drags, the colour
// ring it opens, and that the board takes the pointer around its circle.
#include "app/ui/dialog.h"
#include "panels/floating_panels.h"
#include "storage/settings_file.h"
#include "tests/support/floating_faces.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const int W = 1280;
const int H = 800;
const QPoint kSaved(400, 300);

QString N(int v) { return QString::number(v); }

QRect Mapped(const QString& name, qint64 pid, int timeoutMs = 10000)
{
    const QStringList ids = WaitForXWindows(QStringLiteral("^%1$").arg(name), timeoutMs, pid);
    return ids.isEmpty() ? QRect() : XWindowGeometry(ids.first());
}

void Click(QPoint p, const char* button = "1")
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", button});
}

bool Red(QColor c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }

// The ink across a horizontal stroke at column x.
int Thickness(const QImage& shot, int x, int yFrom, int yTo)
{
    int n = 0;
    for (int y = yFrom; y <= yTo; ++y)
        n += Red(shot.pixelColor(x, y)) ? 1 : 0;
    return n;
}

int RedPixels(const QImage& shot, QRect area)
{
    int n = 0;
    area = area.intersected(shot.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += Red(shot.pixelColor(x, y)) ? 1 : 0;
    return n;
}

QPoint Centre(const char* button) { return LauncherFaceCentre(button); }

// Windows of the program that are mapped now, named or not: the main menu is
// one of them while it is open.
int MappedWindows(qint64 pid) { return MappedWindowIds(pid).size(); }

// Settings with the toolbar kept at `position` and the launcher at kSaved.
bool WriteSettings(int position)
{
    ConfigInfomation config;
    const SettingsFolders folders = PrepareSettingsFolders();
    SetConfigDefaults(&config, folders, W, H, true);
    config.toolsave = true;
    config.toolpos = position;
    config.floatingX = kSaved.x();
    config.floatingY = kSaved.y();
    return WriteConfigFile(SettingsFilePath(), config);
}

}  // namespace

class FloatingLauncherXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    RunningProgram m_board;
    QRect m_launcher;

    QImage Screen(const QString& name)
    {
        const QImage shot = TakeScreenshot(m_root->path() + "/shot.png");
        shot.save(QDir::tempPath() + "/dravik_floating_" + name + ".png");
        return shot;
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(WriteSettings(4));
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY(m_board.waitForLine("time Done", 10000) >= 0);
    }

    void cleanupTestCase()
    {
        if (m_board.isRunning())
            QCOMPARE(CloseWhiteboard(m_board), 0);
        m_root.reset();
    }

    void launcherStandsAtTheSavedPlace()
    {
        m_launcher = Mapped("Floating", m_board.pid());
        QCOMPARE(m_launcher, QRect(kSaved, QSize(187, 187)));
    }

    void centreDragMovesItByTheDrag()
    {
        const QPoint from = m_launcher.topLeft() + QPoint(93, 93);
        XdotoolDrag(from, from + QPoint(150, 60));
        const QString id = WaitForXWindows("^Floating$", 2000, m_board.pid()).value(0);
        QTRY_COMPARE(XWindowGeometry(id), QRect(kSaved + QPoint(150, 60), QSize(187, 187)));
        m_launcher = XWindowGeometry(id);
    }

    void colourButtonOpensTheRingAroundTheLauncher()
    {
        Click(m_launcher.topLeft() + Centre("btnColor"));
        const QRect ring = Mapped("floatingcolor", m_board.pid());
        QCOMPARE(ring, QRect(m_launcher.topLeft() - QPoint(27, 27), QSize(241, 241)));
        QVERIFY(FindXWindows("^floating(eraser|figure|note|change|rec|zoom)$", m_board.pid()).isEmpty());
    }

    void redThenWidestWidth()
    {
        const QPoint ring = m_launcher.topLeft() - QPoint(27, 27);
        Click(ring + QPoint(204, 55));  // red, on the ring's right
        XdotoolDrag(QPoint(150, 620), QPoint(450, 620));
        int thin = 0;
        QTRY_VERIFY2((thin = Thickness(Screen("red"), 300, 600, 640)) > 0, "no red ink");

        Click(ring + QPoint(151, 221));  // the widest width, at the bottom
        XdotoolDrag(QPoint(150, 700), QPoint(450, 700));
        int wide = 0;
        QTRY_VERIFY2((wide = Thickness(Screen("wide"), 300, 680, 720)) > thin + 4,
                     qPrintable(QStringLiteral("%1 -> %2").arg(thin).arg(wide)));
    }

    // Around the circle the launcher's square is board: a drag that starts
    // there draws.
    void dragBesideTheCircleDraws()
    {
        const QPoint corner = m_launcher.topLeft() + QPoint(6, 6);
        XdotoolDrag(corner, corner - QPoint(120, 0));
        QTRY_VERIFY(RedPixels(Screen("corner"), QRect(corner - QPoint(60, 4), QSize(40, 9))) > 20);
        // The ink shows inside the launcher's square too.
        QVERIFY(RedPixels(Screen("corner"), QRect(corner - QPoint(0, 4), QSize(4, 9))) > 0);
        QCOMPARE(XWindowGeometry(WaitForXWindows("^Floating$", 2000, m_board.pid()).value(0)), m_launcher);
    }

    void rightPressOpensTheMenuAndStays()
    {
        const int before = MappedWindows(m_board.pid());
        const QPoint centre = m_launcher.topLeft() + QPoint(93, 93);
        Xdotool({"mousemove", N(centre.x()), N(centre.y()), "mousedown", "3"});
        Xdotool({"mousemove", N(centre.x() + 30), N(centre.y() + 20), "mouseup", "3"});
        QTRY_VERIFY(MappedWindows(m_board.pid()) > before);
        QCOMPARE(XWindowGeometry(WaitForXWindows("^Floating$", 2000, m_board.pid()).value(0)), m_launcher);
        Xdotool({"key", "Escape"});
        QTRY_COMPARE(MappedWindows(m_board.pid()), before);
        Xdotool({"key", "Escape"});
        // A launcher that stays gives no sign to wait for: the Escape is
        // given the moment it takes to arrive.
        QTest::qWait(300);
        QVERIFY(!FindXWindows("^Floating$", m_board.pid()).isEmpty());
    }

    // With the capture library the recording button is live; the next run
    // shows it dead without.
    void recordButtonReachesTheBoard()
    {
        Click(m_launcher.topLeft() + Centre("btnRec"));
        QCOMPARE(Mapped("floatingrec", m_board.pid()), QRect(m_launcher.topLeft() - QPoint(27, 27), QSize(241, 241)));
    }

    void withoutCaptureTheRecordButtonIsDead()
    {
        QCOMPARE(CloseWhiteboard(m_board), 0);
        QTemporaryDir noLibraries;
        QVERIFY(WriteSettings(0));
        QProcessEnvironment environment;
        environment.insert("DRAVIK_LIBRARY_DIR", noLibraries.path());
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, environment));
        QVERIFY(m_board.waitForLine("time Done", 10000) >= 0);
        QVERIFY(FindXWindows("^Floating$", m_board.pid()).isEmpty());

        // The tool-position menu of the logo's main menu offers the floating
        // position; the menu's places come from the same code on this screen.
        QRect entry, left, floating;
        {
            ScopedLibraryFolder libraries(noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            QMenu* positions = layout.m_mainMenu->actions().at(9)->menu();
            QVERIFY(positions);
            entry = layout.m_mainMenu->actionGeometry(layout.m_mainMenu->actions().at(9));
            left = positions->actionGeometry(layout.m_toolPosActions[2]);
            floating = positions->actionGeometry(layout.m_toolPosActions[4]);
            QVERIFY(layout.m_toolPosActions[4]->isEnabled());
        }
        // Right after the start a busy machine may not have the toolbar
        // taking clicks yet: a click that opened nothing is given again.
        const QStringList before = MappedWindowIds(m_board.pid());
        QStringList opened;
        QElapsedTimer clock;
        clock.start();
        while (opened.size() <= before.size() && clock.elapsed() < 40000) {
            Click(QPoint(48, H - 22));
            if (!WaitForNewXWindow(m_board.pid(), before, 4000).isEmpty())
                opened = MappedWindowIds(m_board.pid());
        }
        QVERIFY2(opened.size() > before.size(), "the main menu did not open from the logo within 40 s");
        for (const QString& id : before)
            opened.removeAll(id);
        QCOMPARE(opened.size(), 1);
        const QRect menu = XWindowGeometry(opened.first());
        const QPoint positionEntry = menu.topLeft() + entry.center();
        const QStringList withMenu = MappedWindowIds(m_board.pid());
        Click(positionEntry);
        QVERIFY2(!WaitForNewXWindow(m_board.pid(), withMenu, 10000).isEmpty(),
                 "the tool-position menu did not open within 10 s");
        Click(QPoint(menu.left() + entry.right() + 40, positionEntry.y() + floating.center().y() - left.center().y()));
        const QRect launcher = Mapped("Floating", m_board.pid());
        QCOMPARE(launcher, QRect(kSaved, QSize(187, 187)));
        Screen("chosen");

        const int from = m_board.lines().size();
        Click(launcher.topLeft() + Centre("btnRec"));
        // A dead button gives no sign to wait for: the click is given the
        // moment it takes to arrive.
        QTest::qWait(800);
        QVERIFY(!m_board.hasLine("OptRecDialog", from));
        QVERIFY(FindXWindows("^floating(color|eraser|figure|note|change|rec|zoom)$", m_board.pid()).isEmpty());
    }
};

QTEST_MAIN(FloatingLauncherXTest)
#include "floating_launcher_xtest.moc"
