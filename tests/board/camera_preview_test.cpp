#include "app/ui/dialog.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QtTest>

#include <memory>

namespace {

// Counts the left presses and releases a widget receives.
class ClickCounter : public QObject
{
public:
    int presses = 0;
    int releases = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            ++presses;
        else if (event->type() == QEvent::MouseButtonRelease)
            ++releases;
        return false;
    }
};

// A stand-in for the capture library's preview: a window of this program
// with its title, shown with the buttons a normal window has.
std::unique_ptr<QWidget> ShowPreview()
{
    auto preview = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::WindowMinimizeButtonHint
                                                          | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint);
    preview->setWindowTitle("Camera Preview");
    preview->setGeometry(500, 500, 200, 150);
    preview->show();
    return preview;
}

}  // namespace

// The camera preview placed in its corner clear of the main bar, kept on top
// and inert, the whiteboard's window put back and the focus given back by a
// click on the main bar.
class CameraPreviewTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    std::unique_ptr<Dialog> board;

    QWidget* mainBar() const { return board->findChild<QWidget*>("mainbar"); }

    // Lays out the window as the shell would: the board's screen, the bar's
    // position and the bar under the click point.
    void arrange(int width, int height, int barPosition, int corner, QPoint click)
    {
        board->m_canvasWidth = width;
        board->m_canvasHeight = height;
        board->m_toolbarPosition = barPosition;
        board->m_config.ViewPos = corner;
        board->setGeometry(0, 0, width, height);
        mainBar()->setGeometry(QRect(click - QPoint(8, 8), QSize(16, 16)));
        mainBar()->raise();
    }

    // The window covers the board's screen (its frame, which the platform
    // may add, starts at the screen's corner).
    bool coversScreen(int width, int height) const
    {
        return board->pos() == QPoint(0, 0) && board->size() == QSize(width, height);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        qInstallMessageHandler(CollectLog);
        root = std::make_unique<ScopedFolderRoot>();
        ScopedLibraryFolder noLibraries(root->path());
        board = std::make_unique<Dialog>();
        board->setWindowTitle("Dialog6601");
        board->show();
    }

    void cleanupTestCase()
    {
        board.reset();
        root.reset();
    }

    void init() { g_log.clear(); }

    void placedInItsCorner_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("barPosition");
        QTest::addColumn<int>("corner");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<QPoint>("click");
        // Bar at the bottom (0), top (1), left (2), right (3).
        QTest::newRow("bottom bar, top left") << 1920 << 1080 << 0 << 0 << QRect(20, 20, 320, 268) << QPoint(1815, 1032);
        QTest::newRow("bottom bar, bottom left") << 1920 << 1080 << 0 << 1 << QRect(20, 747, 320, 268) << QPoint(1815, 1032);
        QTest::newRow("bottom bar, bottom right") << 1280 << 800 << 0 << 3 << QRect(940, 467, 320, 268) << QPoint(1175, 752);
        QTest::newRow("top bar, top left") << 1920 << 1080 << 1 << 0 << QRect(20, 65, 320, 268) << QPoint(1915, 5);
        QTest::newRow("top bar, top right") << 1280 << 800 << 1 << 2 << QRect(940, 65, 320, 268) << QPoint(1275, 5);
        QTest::newRow("top bar, bottom left") << 1280 << 800 << 1 << 1 << QRect(20, 512, 320, 268) << QPoint(1275, 5);
        QTest::newRow("left bar, top left") << 1920 << 1080 << 2 << 0 << QRect(68, 20, 320, 268) << QPoint(5, 932);
        QTest::newRow("left bar, bottom right") << 1280 << 800 << 2 << 3 << QRect(940, 512, 320, 268) << QPoint(5, 652);
        QTest::newRow("right bar, bottom right") << 1920 << 1080 << 3 << 3 << QRect(1532, 792, 320, 268) << QPoint(1915, 932);
        QTest::newRow("right bar, top right") << 1280 << 800 << 3 << 2 << QRect(892, 20, 320, 268) << QPoint(1275, 652);
    }

    void placedInItsCorner()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, barPosition);
        QFETCH(int, corner);
        QFETCH(QRect, expected);
        QFETCH(QPoint, click);
        arrange(width, height, barPosition, corner, click);
        board->move(40, 40);
        const QPoint cursor(7, 9);
        QCursor::setPos(cursor);
        ClickCounter counter;
        mainBar()->installEventFilter(&counter);
        std::unique_ptr<QWidget> preview = ShowPreview();

        board->UpdatePreview();
        QTRY_VERIFY(!preview->isEnabled());
        QCOMPARE(preview->geometry(), expected);
        QVERIFY(preview->isVisible());
        QVERIFY(preview->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(preview->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QTRY_VERIFY(coversScreen(width, height));
        QTRY_COMPARE(counter.releases, 1);
        QCOMPARE(counter.presses, 1);
        QCOMPARE(QCursor::pos(), cursor);
        QVERIFY(!g_log.contains("cam view not load"));
    }

    // Hiding moves the preview off the screen and still puts the window back
    // and clicks.
    void hiddenOffTheScreen()
    {
        const QPoint click(1815, 1032);
        arrange(1920, 1080, 0, 2, click);
        board->move(30, 30);
        ClickCounter counter;
        mainBar()->installEventFilter(&counter);
        std::unique_ptr<QWidget> preview = ShowPreview();

        board->UpdatePreview(false);
        QTRY_VERIFY(!preview->isEnabled());
        QCOMPARE(preview->geometry(), QRect(-1000, -1000, 10, 10));
        QTRY_VERIFY(coversScreen(1920, 1080));
        QTRY_COMPARE(counter.releases, 1);
        QCOMPARE(counter.presses, 1);
    }

    // The window found first is kept; once the library has closed it, the
    // next call finds nothing, looks ten more times and says so once, moving
    // nothing.
    void closedPreviewReadsAsNotFound()
    {
        arrange(1280, 800, 0, 0, QPoint(1175, 752));
        std::unique_ptr<QWidget> preview = ShowPreview();
        board->UpdatePreview();
        QTRY_VERIFY(!preview->isEnabled());
        preview.reset();

        board->move(25, 25);
        const QRect before = board->geometry();
        QElapsedTimer clock;
        clock.start();
        board->UpdatePreview();
        QTRY_VERIFY_WITH_TIMEOUT(g_log.contains("cam view not load"), 5000);
        QVERIFY2(clock.elapsed() >= 1800, qPrintable(QString::number(clock.elapsed())));
        QTest::qWait(300);
        QCOMPARE(g_log.filter("cam view not load").size(), 1);
        QCOMPARE(board->geometry(), before);
    }

    void previewOpenedDuringTheLookups()
    {
        arrange(1280, 800, 1, 3, QPoint(1275, 5));
        board->UpdatePreview();
        QTest::qWait(450);
        std::unique_ptr<QWidget> preview = ShowPreview();
        QTRY_VERIFY(!preview->isEnabled());
        QCOMPARE(preview->geometry(), QRect(940, 512, 320, 268));
        QVERIFY(!g_log.contains("cam view not load"));
    }
};

QTEST_MAIN(CameraPreviewTest)
#include "camera_preview_test.moc"
