// The launcher's tool rings in the running whiteboard, worked from outside
// with xdotool under a private X server: each launcher button opens its
// ring alone around the launcher, and the rings' buttons draw lines, turn
// the page dark, zoom it, and the hidden master-mode dialog switches the
// smoothing of strokes off.
#include "panels/floating_panels.h"
#include "storage/settings_file.h"
#include "tests/support/floating_faces.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDir>
#include <QImage>
#include <QtTest>

#include <memory>

namespace {

const int W = 1280;
const int H = 800;
const QPoint kLauncher(900, 450);
const QPoint kRing = kLauncher - QPoint(27, 27);

QString N(int v) { return QString::number(v); }

QRect Mapped(const QString& title, qint64 pid, int timeoutMs = 5000)
{
    const QStringList ids = WaitForXWindows(QStringLiteral("^%1$").arg(title), timeoutMs, pid);
    return ids.isEmpty() ? QRect() : XWindowGeometry(ids.first());
}

void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
}

// A press at `from`, a detour through `via`, a release at `to`.
void Stroke(QPoint from, QPoint via, QPoint to)
{
    Xdotool({"mousemove", N(from.x()), N(from.y()), "mousedown", "1"});
    for (QPoint p : {via, to}) {
        const QPoint start = p == via ? from : via;
        for (int i = 1; i <= 10; ++i) {
            const QPoint q = start + (p - start) * i / 10;
            Xdotool({"mousemove", N(q.x()), N(q.y())});
        }
    }
    Xdotool({"mouseup", "1"});
}

QPoint LauncherButton(const char* name) { return kLauncher + LauncherFaceCentre(name); }

QPoint RingButton(const QVector<PanelButton>& specs, const char* name) { return kRing + RingFaceCentre(specs, name); }

bool Ink(QColor c) { return qGray(c.rgb()) < 60; }
// Neither ink nor paper: the grey of a smoothed edge.
bool Edge(QColor c) { return qGray(c.rgb()) >= 70 && qGray(c.rgb()) <= 190; }

int Count(const QImage& shot, QRect area, bool (*test)(QColor))
{
    int n = 0;
    area = area.intersected(shot.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(shot.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool WriteSettings()
{
    ConfigInfomation config;
    const SettingsFolders folders = PrepareSettingsFolders();
    SetConfigDefaults(&config, folders, W, H, true);
    config.toolsave = true;
    config.toolpos = 4;
    config.floatingX = kLauncher.x();
    config.floatingY = kLauncher.y();
    return WriteConfigFile(SettingsFilePath(), config);
}

const char* const kRings = "^floating(color|eraser|figure|note|change|rec|zoom)$";

}  // namespace

class ToolRingsXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    RunningProgram m_board;

    QImage Screen(const QString& name)
    {
        const QImage shot = TakeScreenshot(m_root->path() + "/shot.png");
        shot.save(QDir::tempPath() + "/dravik_rings_" + name + ".png");
        return shot;
    }

    void OpenRing(const char* launcherButton, const char* title)
    {
        Click(LauncherButton(launcherButton));
        const QRect ring = Mapped(title, m_board.pid());
        QVERIFY2(ring == QRect(kRing, QSize(241, 241)),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5").arg(title).arg(ring.x()).arg(ring.y()).arg(ring.width()).arg(ring.height())));
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(WriteSettings());
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY(m_board.waitForLine("time Done", 10000) >= 0);
        QCOMPARE(Mapped("Floating", m_board.pid()), QRect(kLauncher, QSize(187, 187)));
    }

    void cleanupTestCase()
    {
        if (m_board.isRunning())
            QCOMPARE(CloseWhiteboard(m_board), 0);
        m_root.reset();
    }

    // One ring at a time, each opened through the hole of the one before.
    void eachButtonOpensItsRingAlone()
    {
        const struct {
            const char* button;
            const char* title;
        } rows[] = {{"btnEraser", "floatingeraser"}, {"btnZoom", "floatingzoom"},  {"btnNote", "floatingnote"},
                    {"btnPenMode", "floatingchange"}, {"btnFigure", "floatingfigure"}};
        for (const auto& row : rows) {
            OpenRing(row.button, row.title);
            QTRY_COMPARE(FindXWindows(kRings, m_board.pid()).size(), 1);
        }
        Screen("figure");
    }

    // The line figure takes the press and the release and nothing between.
    void lineFigureDrawsStraight()
    {
        Click(RingButton(FigurePanelButtons(), "btnLine"));
        Stroke(QPoint(450, 400), QPoint(600, 300), QPoint(750, 400));
        QImage shot;
        QTRY_VERIFY(Count(shot = Screen("line"), QRect(596, 395, 9, 11), Ink) > 0);
        QCOMPARE(Count(shot, QRect(560, 290, 80, 60), Ink), 0);
        QVERIFY(Count(shot, QRect(460, 395, 280, 11), Ink) > 280);
    }

    // Strokes are smoothed until the master-mode dialog switches it off.
    void masterModeSwitchesSmoothingOff()
    {
        OpenRing("btnFigure", "floatingfigure");
        Click(RingButton(FigurePanelButtons(), "btnFreePen"));
        const QRect first(300, 540, 160, 130);
        XdotoolDrag(first.topLeft(), first.bottomRight());
        QImage shot;
        QTRY_VERIFY(Count(shot = Screen("smooth"), first, Ink) > 50);
        const int smoothEdges = Count(shot, first, Edge);
        QVERIFY2(smoothEdges > 40, qPrintable(N(smoothEdges)));

        // Ctrl+Shift+I over the board: only the code row shows.
        Xdotool({"mousemove", "200", "200"});
        Xdotool({"windowfocus", "--sync", WaitForXWindows("^Dialog6601$", 2000, m_board.pid()).value(0)});
        Xdotool({"key", "ctrl+shift+i"});
        const QPoint centre = QRect(0, 0, W, H).center();
        QCOMPARE(Mapped("Master Mode", m_board.pid()), QRect(centre.x() - 170, centre.y() - 30, 340, 60));
        const QString id = WaitForXWindows("^Master Mode$", 2000, m_board.pid()).value(0);
        QRect dialog = XWindowGeometry(id);
        Xdotool({"windowfocus", "--sync", id});
        Click(dialog.topLeft() + QPoint(149, 31));
        Xdotool({"type", "tulip4827."});
        Click(dialog.topLeft() + QPoint(249, 31));
        QTRY_COMPARE(XWindowGeometry(id), QRect(centre.x() - 170, centre.y() - 130, 340, 260));
        dialog = XWindowGeometry(id);
        Screen("master");
        Click(dialog.topLeft() + QPoint(250, 231));  // antialiasing ON / OFF
        Xdotool({"key", "Escape"});
        QTRY_VERIFY(FindXWindows("^Master Mode$", m_board.pid()).isEmpty());

        const QRect second(520, 540, 160, 130);
        XdotoolDrag(second.topLeft(), second.bottomRight());
        QTRY_VERIFY(Count(shot = Screen("sharp"), second, Ink) > 50);
        const int sharpEdges = Count(shot, second, Edge);
        QVERIFY2(sharpEdges <= 3, qPrintable(N(sharpEdges)));
    }

    // 200 % doubles the line's length about the page's middle.
    void zoomStepZoomsThePage()
    {
        const QRect band(0, 380, 860, 40);
        const int before = Count(Screen("before_zoom"), band, Ink);
        QVERIFY(before > 200);
        OpenRing("btnZoom", "floatingzoom");
        Click(RingButton(ZoomPanelButtons(), "btnZoom200"));
        QTRY_VERIFY(Count(Screen("zoomed"), band, Ink) >= before * 18 / 10);
    }

    // The black-board button makes a new page, and it is dark.
    void blackBoardMakesADarkPage()
    {
        QVERIFY(qGray(Screen("white").pixel(200, 150)) > 200);
        OpenRing("btnNote", "floatingnote");
        Click(RingButton(NotePanelButtons(), "btnBlackBoard"));
        QTRY_VERIFY(qGray(Screen("black").pixel(200, 150)) < 90);
    }
};

QTEST_MAIN(ToolRingsXTest)
#include "tool_rings_xtest.moc"
