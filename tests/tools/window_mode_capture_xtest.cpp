// Window mode in the running whiteboard on a desktop without a system tray:
// the board makes room for the desktop, its "WindowMode" window brings it
// back, captures the whole screen as a new page or freezes it for an area
// capture, and a right click opens the context panel inside the screen.
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QtTest>

#include <memory>

namespace {

QString N(int v)
{
    return QString::number(v);
}

void ClickAt(QPoint p, int button = 1)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", N(button)});
}

// The desktop's colour: a capture taken while the board is away shows it.
const QColor kDesktop(200, 30, 160);

bool NearDesktop(QColor c)
{
    return qAbs(c.red() - kDesktop.red()) < 12 && qAbs(c.green() - kDesktop.green()) < 12
           && qAbs(c.blue() - kDesktop.blue()) < 12;
}

}  // namespace

class WindowModeCaptureTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    RunningProgram board;
    QString m_board;  // the board's top-level window

    QString WorkFolder() const { return m_root->path() + QStringLiteral("/Temp/Orbel5"); }
    QStringList Captures() const
    {
        return QDir(WorkFolder()).entryList({QStringLiteral("screen_*.png")}, QDir::Files);
    }

    // Window mode through the toolbar's window button; the id of the
    // "WindowMode" window, or empty.
    QString EnterWindowMode()
    {
        ClickAt(QPoint(168, 22));
        if (!WaitForNoXWindows(QStringLiteral("^Dialog6601$"), 10000, board.pid()))
            return QString();
        const QStringList found = WaitForXWindows(QStringLiteral("^WindowMode$"), 10000, board.pid());
        return found.isEmpty() ? QString() : found.first();
    }

    bool BoardBack()
    {
        return !WaitForXWindows(QStringLiteral("^Dialog6601$"), 10000, board.pid()).isEmpty()
               && WaitForNoXWindows(QStringLiteral("^WindowMode$"), 10000, board.pid());
    }

    QImage ShotWhen(const std::function<bool(const QImage&)>& ready, const QString& name)
    {
        return ScreenshotWhen(m_root->path() + QLatin1Char('/') + name, ready);
    }

private slots:
    void initTestCase()
    {
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        QCOMPARE(QProcess::execute(BuiltProgramFolder() + QStringLiteral("/PaintXRoot"), {kDesktop.name()}), 0);

        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        QVERIFY(StartWhiteboard(board, {QStringLiteral("/noAutoUpdate")}, environment));
        QVERIFY(board.waitForLine(QStringLiteral("time Done"), 20000) >= 0);
        QVERIFY(!WaitForXWindows(QStringLiteral("^Dialog6601$"), 10000, board.pid()).isEmpty());
    }

    void cleanupTestCase()
    {
        if (board.isRunning())
            CloseWhiteboard(board);
        m_root.reset();
    }

    void windowModeAndBackWithoutATray()
    {
        const QString back = EnterWindowMode();
        QVERIFY2(!back.isEmpty(), qPrintable(board.lines().join('\n')));
        const QRect at = XWindowGeometry(back);
        QCOMPARE(at, QRect(1280 - 144, 0, 144, 48));

        ClickAt(at.topLeft() + QPoint(24, 24));
        QVERIFY(BoardBack());
        QVERIFY(Captures().isEmpty());
    }

    void wholeScreenCaptureBecomesAPage()
    {
        const QString back = EnterWindowMode();
        QVERIFY(!back.isEmpty());
        const int mark = board.lines().size();
        ClickAt(XWindowGeometry(back).topLeft() + QPoint(72, 24));
        QVERIFY(BoardBack());
        QVERIFY(board.waitForLine(QStringLiteral("create note"), 10000, mark) >= 0);
        QCOMPARE(Captures().size(), 1);
        QVERIFY(QImage(WorkFolder() + QLatin1Char('/') + Captures().first()).size() == QSize(1280, 800));
        const QImage shot =
            ShotWhen([](const QImage& s) { return NearDesktop(s.pixelColor(640, 400)); }, QStringLiteral("page.png"));
        QVERIFY2(NearDesktop(shot.pixelColor(640, 400)), qPrintable(shot.pixelColor(640, 400).name()));
    }

    void contextPanelStaysOnScreen()
    {
        const QStringList before = MappedWindowIds(board.pid());
        ClickAt(QPoint(1270, 300), 3);
        const QString panel = WaitForNewXWindow(board.pid(), before, 10000);
        QVERIFY2(!panel.isEmpty(), "the context panel did not open within 10 s");
        const QRect r = XWindowGeometry(panel);
        QCOMPARE(r.x() + r.width(), 1280);
        QCOMPARE(r.y(), 300);
        QVERIFY(r.width() > 50);
        Xdotool({"key", "Escape"});
        QVERIFY(WaitForXWindowGone(board.pid(), panel, 10000));
    }

    void areaCaptureFreezesTheScreen()
    {
        const QString back = EnterWindowMode();
        QVERIFY(!back.isEmpty());
        const int mark = board.lines().size();
        const QStringList before = Captures();
        ClickAt(XWindowGeometry(back).topLeft() + QPoint(120, 24));
        QVERIFY(BoardBack());
        QVERIFY(board.waitForLine(QStringLiteral("Test : OptRectCapture"), 10000, mark) >= 0);
        QCOMPARE(Captures().size(), before.size() + 1);
        // The frozen desktop lies under the whole board, where the toolbar was.
        const QImage shot = ShotWhen([](const QImage& s) { return NearDesktop(s.pixelColor(20, 20)); },
                                     QStringLiteral("frozen.png"));
        QVERIFY2(NearDesktop(shot.pixelColor(640, 400)), qPrintable(shot.pixelColor(640, 400).name()));
    }
};

QTEST_MAIN(WindowModeCaptureTest)
#include "window_mode_capture_xtest.moc"
