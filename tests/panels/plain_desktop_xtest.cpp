// Screen: 1920x1080x24 -dpi 96
// What a person sees on a desktop without a compositing manager (a plain X
// server, as here): the instruments show a light body instead of a black
// slab, the toolbar's colour button keeps the pen's colour through a move,
// the launcher chosen from the menu stands with its panels' ring wholly on
// the screen, its faces lie apart, and its centre follows the tool back to
// the free pen. Screenshots of each instrument and of the launcher with each
// panel open are left in the test's output folder.
#include "app/ui/dialog.h"
#include "panels/floating_panels.h"
#include "tests/support/board_screen.h"
#include "tests/support/floating_faces.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QSet>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const QRect kScreen(0, 0, 1920, 1080);

QString N(int v) { return QString::number(v); }

void ClickAt(QPoint p, int button = 1)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", N(button)});
}

void Keys(const QStringList& keys)
{
    Xdotool(QStringList{"key", "--delay", "80"} + keys);
}

bool Light(QRgb c) { return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200; }
bool Red(QRgb c) { return qRed(c) > 180 && qGreen(c) < 80 && qBlue(c) < 80; }

// The share of the area's pixels that pass `test`.
double Share(const QImage& shot, QRect area, bool (*test)(QRgb))
{
    area = area.intersected(shot.rect());
    if (area.isEmpty())
        return 0;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(shot.pixel(x, y)) ? 1 : 0;
    return double(n) / (area.width() * area.height());
}

// How far the screen's area is from `picture` laid on `ground`: the mean
// difference per channel.
double Distance(const QImage& shot, QPoint at, const QImage& picture, QColor ground)
{
    double sum = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            const double a = qAlpha(p) / 255.0;
            const QRgb s = shot.pixel(at + QPoint(x, y));
            sum += qAbs(qRed(p) * a + ground.red() * (1 - a) - qRed(s));
            sum += qAbs(qGreen(p) * a + ground.green() * (1 - a) - qGreen(s));
            sum += qAbs(qBlue(p) * a + ground.blue() * (1 - a) - qBlue(s));
        }
    }
    return sum / (3.0 * picture.width() * picture.height());
}

}  // namespace

class PlainDesktopXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    RunningProgram m_board;
    QString m_output;
    QMap<QString, QRect> m_top;
    QRect m_colourAtLeft;
    QRect m_logoAtLeft;
    QPoint m_positionEntry;
    int m_redRow = -1;
    QRect m_launcher;
    QString m_lastPanel;

    QSet<QString> Visible()
    {
        const QStringList ids = FindXWindows(QStringLiteral(".*"), m_board.pid());
        return QSet<QString>(ids.begin(), ids.end());
    }

    // A visible window of the board that was not among `before`.
    QString WaitForNewWindow(const QSet<QString>& before, int timeoutMs = 15000)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            for (const QString& id : Visible()) {
                if (!before.contains(id))
                    return id;
            }
            QThread::msleep(100);
        } while (clock.elapsed() < timeoutMs);
        return QString();
    }

    bool WaitForGone(const QString& id, int timeoutMs = 15000)
    {
        QElapsedTimer clock;
        clock.start();
        while (Visible().contains(id)) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QThread::msleep(100);
        }
        return true;
    }

    // Right-clicks at p and picks the menu's entry reached with `keys`.
    bool PickFromMenu(QPoint p, const QStringList& keys)
    {
        const QSet<QString> before = Visible();
        ClickAt(p, 3);
        const QString menu = WaitForNewWindow(before);
        if (menu.isEmpty())
            return false;
        Keys(keys + QStringList{"Return"});
        return WaitForGone(menu);
    }

    // Opens the main menu from the logo at `logo`, opens its toolbar
    // position entry and picks the first (left) or last (floating) choice.
    bool ChoosePosition(QPoint logo, bool last)
    {
        QSet<QString> before = Visible();
        ClickAt(logo);
        const QString menu = WaitForNewWindow(before);
        if (menu.isEmpty())
            return false;
        before << menu;
        ClickAt(XWindowGeometry(menu).topLeft() + m_positionEntry);
        const QString positions = WaitForNewWindow(before);
        if (positions.isEmpty())
            return false;
        Keys({last ? "Up" : "Down", "Return"});
        return WaitForGone(positions) && WaitForGone(menu);
    }

    QImage Shot(const QString& name)
    {
        const QImage shot = TakeScreenshot(m_root->path() + "/shot.png");
        if (!m_output.isEmpty())
            shot.save(m_output + QLatin1Char('/') + name + ".png");
        return shot;
    }

    QPoint FaceOnScreen(const char* button) const
    {
        return m_launcher.topLeft() + LauncherFaceCentre(button);
    }

    // The launcher's centre shows `picture`'s image more closely than `other`'s.
    bool CentreShows(const QImage& shot, const CentrePicture& picture, const CentrePicture& other)
    {
        const QImage a = QImage(PanelPicturePath(picture.folder, picture.image)).convertToFormat(QImage::Format_ARGB32);
        const QImage b = QImage(PanelPicturePath(other.folder, other.image)).convertToFormat(QImage::Format_ARGB32);
        const QPoint at = m_launcher.topLeft() + kLauncherPicture.topLeft();
        // The centre's well, drawn by the launcher's background.
        const QColor well(230, 236, 246);
        return Distance(shot, at, a, well) + 2 < Distance(shot, at, b, well);
    }

    // Choosing in a ring of the launcher: the ring opened from `button`,
    // then its entry `entry`.
    void ChooseInRing(const char* button, const char* title, const QVector<PanelButton>& specs, const char* entry)
    {
        ClickAt(FaceOnScreen(button));
        QVERIFY(!WaitForXWindows(QStringLiteral("^%1$").arg(title), 15000, m_board.pid()).isEmpty());
        ClickAt(m_launcher.topLeft() - QPoint(kSubPanelInset, kSubPanelInset) + RingFaceCentre(specs, entry));
    }

private slots:
    void initTestCase()
    {
        m_output = TestOutputFolder();
        QVERIFY2(!m_output.isEmpty(), "no output folder");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        qputenv("DRAVIK_NO_MODAL", "1");
        QTemporaryDir noLibraries;
        m_top = ToolbarButtonsOnScreen(noLibraries.path(), [this](Dialog& layout) {
            QAction* position = nullptr;
            for (QAction* a : layout.m_mainMenu->actions()) {
                if (a->menu() && a->menu()->actions().contains(layout.m_toolPosActions[4]))
                    position = a;
            }
            if (position)
                m_positionEntry = layout.m_mainMenu->actionGeometry(position).center();
            m_redRow = layout.ColorSubBtnKeys.indexOf(QStringLiteral("red"));
            layout.OptToolPosLeft();
            m_colourAtLeft = layout.ui->colorbtn->geometry().translated(layout.m_canvasLeft, 0);
            m_logoAtLeft = layout.ui->logbtn->geometry().translated(layout.m_canvasLeft, 0);
        });
        QVERIFY(!m_positionEntry.isNull());
        QVERIFY(m_redRow >= 0);
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        QVERIFY(StartWhiteboard(m_board, {QStringLiteral("/noAutoUpdate")}, environment));
        QVERIFY(m_board.waitForLine(QStringLiteral("time Done"), 20000) >= 0);
        // Ink on the board first: the context panel then offers the same
        // entries for every instrument.
        const int mark = m_board.lines().size();
        XdotoolDrag(QPoint(200, 200), QPoint(400, 220));
        QVERIFY(m_board.waitForLine(QStringLiteral(" kind 3 media"), 15000, mark) >= 0);
    }

    void cleanupTestCase()
    {
        if (m_board.isRunning())
            CloseWhiteboard(m_board);
        m_root.reset();
    }

    // Each instrument opens at the middle of the screen; a patch of its body
    // away from every scale must show the light body, not black.
    void instrumentsShowALightBody_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QRect>("body");
        QTest::addColumn<QPoint>("menuAt");
        QTest::newRow("ruler") << 2 << QRect(700, 560, 200, 24) << QPoint(1100, 560);
        QTest::newRow("protractor") << 3 << QRect(882, 602, 16, 16) << QPoint(1000, 600);
        QTest::newRow("compass") << 4 << QRect(882, 602, 16, 16) << QPoint(1000, 600);
    }

    void instrumentsShowALightBody()
    {
        QFETCH(int, entry);
        QFETCH(QRect, body);
        QFETCH(QPoint, menuAt);
        QSet<QString> before = Visible();
        QStringList downs;
        for (int i = 0; i < entry; ++i)
            downs << "Down";
        QVERIFY(PickFromMenu(QPoint(1700, 150), downs));
        const QString instrument = WaitForNewWindow(before);
        QVERIFY2(!instrument.isEmpty(), "no instrument window");
        const QImage shot =
            ScreenshotWhen(m_root->path() + "/shot.png", [&](const QImage& s) { return Share(s, body, Light) > 0.8; }, 30000);
        shot.save(m_output + QStringLiteral("/instrument-%1.png").arg(QTest::currentDataTag()));
        QVERIFY2(Share(shot, body, Light) > 0.8, qPrintable(QString::number(Share(shot, body, Light))));
        // Closed from its menu: the last entry.
        QVERIFY(PickFromMenu(menuAt, {"Up"}));
        QVERIFY(WaitForGone(instrument));
    }

    // Red chosen on the top bar; after the bar moves to the left its colour
    // button still shows red.
    void colourFaceFollowsTheMove()
    {
        QVERIFY(ChooseFromToolbarRow(m_board, m_top, "colorbtn", m_redRow));
        const QRect before = m_top.value("colorbtn").adjusted(8, 8, -8, -8);
        QVERIFY(Share(ScreenshotWhen(m_root->path() + "/shot.png",
                                     [&](const QImage& s) { return Share(s, before, Red) > 0.05; }, 30000),
                      before, Red) > 0.05);
        QVERIFY(ChoosePosition(QPoint(48, 22), false));
        const QRect after = m_colourAtLeft.adjusted(8, 8, -8, -8);
        const QImage shot =
            ScreenshotWhen(m_root->path() + "/shot.png", [&](const QImage& s) { return Share(s, after, Red) > 0.05; }, 30000);
        shot.save(m_output + "/toolbar-left.png");
        QVERIFY2(Share(shot, after, Red) > 0.05, "the colour button does not show red");
    }

    // Floating from the menu: the kept place is the corner (0, 0), where
    // neither the launcher's ring nor its panels could be reached.
    void launcherStandsWhollyOnTheScreen()
    {
        QVERIFY(ChoosePosition(m_logoAtLeft.center(), true));
        const QStringList ids = WaitForXWindows("^Floating$", 15000, m_board.pid());
        QVERIFY(!ids.isEmpty());
        m_launcher = XWindowGeometry(ids.first());
        QCOMPARE(m_launcher.size(), QSize(kLauncherSize, kLauncherSize));
        const QRect ring(m_launcher.topLeft() - QPoint(kSubPanelInset, kSubPanelInset), QSize(kSubPanelSize, kSubPanelSize));
        QVERIFY2(kScreen.contains(ring), qPrintable(QStringLiteral("launcher at %1,%2").arg(m_launcher.x()).arg(m_launcher.y())));
    }

    // Between two neighbouring faces the launcher's dark ground shows.
    void launcherFacesLieApart()
    {
        // The centre's well shows once the launcher is painted.
        const QRect well(m_launcher.topLeft() + kLauncherHandle.topLeft() + QPoint(3, 3), QSize(3, 3));
        const QImage shot =
            ScreenshotWhen(m_root->path() + "/shot.png", [&](const QImage& s) { return Share(s, well, Light) == 1; }, 30000);
        shot.save(m_output + "/launcher.png");
        // The faces in their order around the centre.
        QVector<int> order;
        for (int i = 0; i < LauncherFaces().size(); ++i)
            order << i;
        const QPointF middle(kLauncherSize / 2.0, kLauncherSize / 2.0);
        auto angle = [&](int i) {
            const QPointF d = LauncherFaces()[i].center() - middle;
            return std::atan2(d.y(), d.x());
        };
        std::sort(order.begin(), order.end(), [&](int a, int b) { return angle(a) < angle(b); });
        for (int k = 0; k < order.size(); ++k) {
            const int i = order[k];
            const int j = order[(k + 1) % order.size()];
            const QRectF a = LauncherFaces()[i];
            const QRectF b = LauncherFaces()[j];
            // The middle of the gap between the two discs' edges.
            const QPointF ca = a.center();
            const QPointF cb = b.center();
            const QPointF d = cb - ca;
            const qreal length = std::hypot(d.x(), d.y());
            const QPointF gap = ca + d / length * ((length - b.width() / 2 + a.width() / 2) / 2);
            const QPoint p = m_launcher.topLeft() + gap.toPoint();
            QVERIFY2(qGray(shot.pixel(p)) < 140,
                     qPrintable(QStringLiteral("faces %1 and %2 touch at %3,%4")
                                    .arg(LauncherButtons()[i].objectName, LauncherButtons()[j].objectName)
                                    .arg(p.x())
                                    .arg(p.y())));
        }
    }

    // Every panel opens around the launcher, whole on the screen.
    void panelsOpenOnTheScreen_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::newRow("colour") << "btnColor" << "floatingcolor";
        QTest::newRow("eraser") << "btnEraser" << "floatingeraser";
        QTest::newRow("figure") << "btnFigure" << "floatingfigure";
        QTest::newRow("note") << "btnNote" << "floatingnote";
        QTest::newRow("mode") << "btnPenMode" << "floatingchange";
        QTest::newRow("recording") << "btnRec" << "floatingrec";
        QTest::newRow("zoom") << "btnZoom" << "floatingzoom";
    }

    void panelsOpenOnTheScreen()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        ClickAt(FaceOnScreen(qPrintable(button)));
        const QStringList ids = WaitForXWindows("^" + title + "$", 15000, m_board.pid());
        QVERIFY2(!ids.isEmpty(), qPrintable(title));
        const QRect ring = XWindowGeometry(ids.first());
        QCOMPARE(ring, QRect(m_launcher.topLeft() - QPoint(kSubPanelInset, kSubPanelInset), QSize(kSubPanelSize, kSubPanelSize)));
        QVERIFY(kScreen.contains(ring));
        // Photographed once the ring has painted: more than one colour in it.
        const auto painted = [&](const QImage& s) {
            QSet<QRgb> colours;
            for (int y = ring.top(); y <= ring.bottom() && colours.size() < 4; y += 4)
                for (int x = ring.left(); x <= ring.right(); x += 4)
                    colours.insert(s.pixel(x, y));
            return colours.size() >= 4;
        };
        const QImage ringShot = ScreenshotWhen(m_root->path() + "/shot.png", painted, 30000);
        if (!m_output.isEmpty())
            ringShot.save(m_output + QStringLiteral("/launcher-%1.png").arg(QTest::currentDataTag()));
        // Each opens alone: the one before has closed.
        if (!m_lastPanel.isEmpty())
            QVERIFY(WaitForGone(m_lastPanel));
        m_lastPanel = ids.first();
    }

    // After the eraser a new page and a page change each return the pen to
    // the free pen, and the launcher's centre shows it again.
    void centreReturnsToTheFreePen_data()
    {
        QTest::addColumn<bool>("newPage");
        QTest::newRow("new page") << true;
        QTest::newRow("page change") << false;
    }

    void centreReturnsToTheFreePen()
    {
        QFETCH(bool, newPage);
        const CentrePicture pen = LauncherCentrePicture("ekFree", false);
        const CentrePicture eraser = LauncherCentrePicture("ekSelEraser", false);
        ChooseInRing("btnEraser", "floatingeraser", EraserPanelButtons(), "btnEraserSel");
        QImage shot = ScreenshotWhen(m_root->path() + "/shot.png",
                                     [&](const QImage& s) { return CentreShows(s, eraser, pen); }, 30000);
        QVERIFY2(CentreShows(shot, eraser, pen), "the centre does not show the eraser");

        const int mark = m_board.lines().size();
        if (newPage) {
            ChooseInRing("btnNote", "floatingnote", NotePanelButtons(), "btnNote");
            QVERIFY(m_board.waitForLine(QStringLiteral("create note:"), 10000, mark) >= 0);
        } else {
            ClickAt(FaceOnScreen("btnPrev"));
            QVERIFY(m_board.waitForLine(QStringLiteral("change note :"), 10000, mark) >= 0);
        }
        shot = ScreenshotWhen(m_root->path() + "/shot.png", [&](const QImage& s) { return CentreShows(s, pen, eraser); }, 30000);
        shot.save(m_output + QStringLiteral("/launcher-after-%1.png").arg(newPage ? "new-page" : "page-change"));
        QVERIFY2(CentreShows(shot, pen, eraser), "the centre still shows the eraser");
    }
};

QTEST_MAIN(PlainDesktopXTest)
#include "plain_desktop_xtest.moc"
