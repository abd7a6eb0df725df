// Screen: 1920x1080x24 -dpi 96
// The ruler, compass and protractor in the running whiteboard, driven with
// xdotool on a 1920 x 1080 screen at 96 DPI: they open from the board's
// context panel, leave the board beside them to the pen, move when dragged,
// open their menu at the pointer on a right release only, and draw exact
// lines and arcs on the board.
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QElapsedTimer>
#include <QImage>
#include <QSet>
#include <QThread>
#include <QtMath>
#include <QtTest>

#include <memory>

namespace {

QString N(int v)
{
    return QString::number(v);
}

void ClickAt(QPoint p, int button)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", N(button)});
}

// A held-button drag in small steps, as a hand makes it.
void DragPath(QPoint from, QPoint to)
{
    QStringList steps{"mousemove", N(from.x()), N(from.y()), "mousedown", "1"};
    for (int i = 1; i <= 10; ++i) {
        const QPoint p = from + (to - from) * i / 10;
        steps << "mousemove" << N(p.x()) << N(p.y()) << "sleep" << "0.02";
    }
    steps << "mouseup" << "1";
    Xdotool(steps);
}

// Dark pixels (the default black pen) in a square of 2 * half + 1 around p.
int InkAround(const QImage& image, QPoint p, int half = 2)
{
    int n = 0;
    for (int y = p.y() - half; y <= p.y() + half; ++y) {
        for (int x = p.x() - half; x <= p.x() + half; ++x) {
            if (!image.rect().contains(x, y))
                continue;
            const QRgb c = image.pixel(x, y);
            n += (qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90) ? 1 : 0;
        }
    }
    return n;
}

// The bearing a of the circle about c with radius r: 0 up, clockwise.
QPoint OnCircle(QPoint c, int r, double a)
{
    return QPoint(qRound(c.x() + r * qSin(qDegreesToRadians(a))), qRound(c.y() - r * qCos(qDegreesToRadians(a))));
}

}  // namespace

class InstrumentsProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    RunningProgram board;

    QSet<QString> VisibleWindows()
    {
        const QStringList ids = FindXWindows(QStringLiteral(".*"), board.pid());
        return QSet<QString>(ids.begin(), ids.end());
    }

    // Waits until a visible window of the board that was not there before
    // shows up; its id, or empty.
    QString WaitForNewWindow(const QSet<QString>& before, int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            const QSet<QString> now = VisibleWindows();
            for (const QString& id : now) {
                if (!before.contains(id))
                    return id;
            }
            QThread::msleep(100);
        } while (clock.elapsed() < timeoutMs);
        return QString();
    }

    static QPoint WindowTopLeft(const QString& window)
    {
        QPoint p;
        for (const QByteArray& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
            const QList<QByteArray> kv = line.split('=');
            if (kv.size() == 2 && kv[0] == "X")
                p.setX(kv[1].toInt());
            else if (kv.size() == 2 && kv[0] == "Y")
                p.setY(kv[1].toInt());
        }
        return p;
    }

    bool WaitForGone(const QString& window, int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (VisibleWindows().contains(window)) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QThread::msleep(100);
        }
        return true;
    }

    // Right-clicks at p and picks entry `downs` of the menu that opens there
    // (counted over its enabled entries). False when no menu opened.
    bool PickFromMenuAt(QPoint p, int downs, QPoint* menuAt = nullptr)
    {
        const QSet<QString> before = VisibleWindows();
        ClickAt(p, 3);
        const QString menu = WaitForNewWindow(before);
        if (menu.isEmpty())
            return false;
        if (menuAt)
            *menuAt = WindowTopLeft(menu);
        QStringList keys{"key", "--delay", "80"};
        for (int i = 0; i < downs; ++i)
            keys << "Down";
        keys << "Return";
        Xdotool(keys);
        return WaitForGone(menu);
    }

    // Opens an instrument from the board's context panel. With ink on the
    // board and nothing selected or copied, its enabled entries begin All,
    // Ruler, Protractor, Compass.
    QString OpenInstrument(int downs)
    {
        const QSet<QString> before = VisibleWindows();
        const QSet<QString> beforeMenu = VisibleWindows();
        ClickAt(QPoint(1700, 150), 3);
        const QString menu = WaitForNewWindow(beforeMenu);
        if (menu.isEmpty())
            return QString();
        QStringList keys{"key", "--delay", "80"};
        for (int i = 0; i < downs; ++i)
            keys << "Down";
        keys << "Return";
        Xdotool(keys);
        WaitForGone(menu);
        QSet<QString> seen = before;
        seen << menu;
        return WaitForNewWindow(seen);
    }

    QImage Shot(const QString& name) { return TakeScreenshot(m_root->path() + QLatin1Char('/') + name); }

    // Screenshots until every point shows ink, for at most half a minute.
    QImage ShotWithInk(const QString& name, const QVector<QPoint>& points)
    {
        QElapsedTimer clock;
        clock.start();
        QImage shot;
        do {
            shot = Shot(name);
            bool all = !shot.isNull();
            for (const QPoint& p : points)
                all = all && InkAround(shot, p) > 0;
            if (all)
                break;
        } while (clock.elapsed() < 30000);
        return shot;
    }

    int Objects(const QString& kind, int from) { return board.lines().mid(from).filter(QStringLiteral(" kind ") + kind + QStringLiteral(" media")).size(); }

private slots:
    void initTestCase()
    {
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        QVERIFY(StartWhiteboard(board, {QStringLiteral("/noAutoUpdate")}, environment));
        QVERIFY(board.waitForLine(QStringLiteral("time Done"), 20000) >= 0);
        const QImage screen = Shot(QStringLiteral("start.png"));
        QCOMPARE(screen.size(), QSize(1920, 1080));
        // Ink on the board first, so the context panel's entries are the same
        // for every instrument.
        const int mark = board.lines().size();
        DragPath(QPoint(200, 200), QPoint(400, 220));
        QVERIFY(board.waitForLine(QStringLiteral(" kind 3 media"), 5000, mark) >= 0);
    }

    void cleanupTestCase()
    {
        if (board.isRunning())
            CloseWhiteboard(board);
        m_root.reset();
    }

    void ruler()
    {
        const QString ruler = OpenInstrument(2);
        QVERIFY2(!ruler.isEmpty(), "no ruler window");

        // A stroke beside the ruler is the board's.
        int mark = board.lines().size();
        DragPath(QPoint(300, 300), QPoint(500, 320));
        QVERIFY(board.waitForLine(QStringLiteral(" kind 3 media"), 5000, mark) >= 0);

        // A drag on the body moves the ruler 300 px down; the board gets
        // nothing from it.
        mark = board.lines().size();
        const QRect bodyBefore(660, 490, 600, 100);
        const QImage unmoved = Shot(QStringLiteral("unmoved.png")).convertToFormat(QImage::Format_RGB32);
        DragPath(QPoint(760, 560), QPoint(760, 860));
        // The drag is handled once the ruler has left its old place.
        const auto left = [&](const QImage& shot) {
            int changed = 0;
            for (int y = bodyBefore.top(); y <= bodyBefore.bottom(); y += 2)
                for (int x = bodyBefore.left(); x <= bodyBefore.right(); x += 2)
                    changed += shot.pixel(x, y) != unmoved.pixel(x, y) ? 1 : 0;
            return changed > 2000;
        };
        QVERIFY2(left(ScreenshotWhen(m_root->path() + "/moved.png", left)), "the ruler did not move within 10 s");
        QCOMPARE(Objects(QStringLiteral("3"), mark), 0);

        // A left release on the body opens nothing; a right one opens the
        // ruler's menu where the pointer is.
        const QSet<QString> before = VisibleWindows();
        ClickAt(QPoint(1100, 850), 1);
        QVERIFY(WaitForNewWindow(before, 1000).isEmpty());

        // The three edge entries, then Close.
        mark = board.lines().size();
        QPoint menuAt;
        QVERIFY(PickFromMenuAt(QPoint(1100, 850), 1, &menuAt));
        QCOMPARE(menuAt, QPoint(1100, 850));
        for (int entry = 2; entry <= 3; ++entry)
            QVERIFY(PickFromMenuAt(QPoint(1100, 850), entry));
        QVERIFY(PickFromMenuAt(QPoint(1100, 850), 4));
        QVERIFY(WaitForGone(ruler));
        QElapsedTimer clock;
        clock.start();
        while (Objects(QStringLiteral("5"), mark) < 3 && clock.elapsed() < 15000)
            QThread::msleep(100);
        QCOMPARE(Objects(QStringLiteral("5"), mark), 3);

        // The ruler was (660, 790, 600 x 100): its lines run from x 670 to
        // 1248 at its top (790), middle (839) and bottom (889) edges.
        QVector<QPoint> onLines;
        for (int y : {790, 839, 889})
            for (int x : {680, 960, 1240})
                onLines << QPoint(x, y);
        const QImage shot = ShotWithInk(QStringLiteral("ruler.png"), onLines);
        for (const QPoint& p : onLines)
            QVERIFY2(InkAround(shot, p) > 0, qPrintable(QStringLiteral("no ink at %1,%2").arg(p.x()).arg(p.y())));
        // Straight and exact: nothing just off the lines between them.
        for (int y : {800, 815, 860, 875, 900})
            QCOMPARE(InkAround(shot, QPoint(960, y), 1), 0);
    }

    void compass()
    {
        const QString compass = OpenInstrument(4);
        QVERIFY2(!compass.isEmpty(), "no compass window");
        const QPoint c(960, 540);

        // The second arm's handle (straight up, 80 px past the rim) turned to
        // three o'clock.
        DragPath(QPoint(960, 310), QPoint(1250, 540));
        const int mark = board.lines().size();
        QVERIFY(PickFromMenuAt(c + QPoint(40, 60), 2));
        QVERIFY(board.waitForLine(QStringLiteral(" kind 3 media"), 5000, mark) >= 0);
        QVERIFY(PickFromMenuAt(c + QPoint(40, 60), 4));
        QVERIFY(WaitForGone(compass));
        QImage shot = ShotWithInk(QStringLiteral("compass-arc.png"), {OnCircle(c, 150, 45)});
        QVERIFY(InkAround(shot, OnCircle(c, 150, 45)) > 0);
        QCOMPARE(InkAround(shot, OnCircle(c, 150, 180)), 0);
        QCOMPARE(InkAround(shot, OnCircle(c, 150, 270)), 0);

        // The reverse entry draws the rest of the circle.
        const QString again = OpenInstrument(4);
        QVERIFY(!again.isEmpty());
        QVERIFY(PickFromMenuAt(c + QPoint(40, 60), 3));
        QVERIFY(PickFromMenuAt(c + QPoint(40, 60), 4));
        QVERIFY(WaitForGone(again));
        shot = ShotWithInk(QStringLiteral("compass-rest.png"), {OnCircle(c, 150, 180), OnCircle(c, 150, 270)});
        for (double a : {45.0, 135.0, 180.0, 270.0, 330.0})
            QVERIFY2(InkAround(shot, OnCircle(c, 150, a)) > 0, qPrintable(QString::number(a)));
    }

    void protractor()
    {
        const QString protractor = OpenInstrument(3);
        QVERIFY2(!protractor.isEmpty(), "no protractor window");
        const QPoint c(960, 540);
        // Its arm opened to three o'clock, then its draw entry.
        DragPath(QPoint(960, 310), QPoint(1250, 540));
        QVERIFY(PickFromMenuAt(c + QPoint(-60, 60), 1));
        QVERIFY(PickFromMenuAt(c + QPoint(-60, 60), 2));
        QVERIFY(WaitForGone(protractor));
        const QVector<QPoint> drawn{QPoint(960, 420), QPoint(1080, 540), OnCircle(c, 37, 45)};
        const QImage shot = ShotWithInk(QStringLiteral("protractor.png"), drawn);
        for (const QPoint& p : drawn)
            QVERIFY2(InkAround(shot, p) > 0, qPrintable(QStringLiteral("no ink at %1,%2").arg(p.x()).arg(p.y())));
        // Not the other side of the small circle.
        QCOMPARE(InkAround(shot, OnCircle(c, 37, 225), 1), 0);
    }
};

QTEST_GUILESS_MAIN(InstrumentsProgramTest)
#include "instruments_program_xtest.moc"
