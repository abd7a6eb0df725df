// The board window's side of the navigator and the covers: the zoom shows and
// hides the navigator, its press scrolls the page, the tools menu's commands
// place the covers by the toolbar's position.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/outside_libraries.h"
#include "tests/support/test_folders.h"
#include "tools/screen_covers.h"
#include "ui_dialog.h"

#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest>

#include <memory>

class DialogScreenCoversTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    std::unique_ptr<Dialog> board;

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
    }

    void init()
    {
        CollaborationLibrary().unload();
        ScopedLibraryFolder libraries(m_noLibraries->path());
        board = std::make_unique<Dialog>();
        board->InitDialog(false);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
    }

    void cleanup() { board.reset(); }

    void zoomShowsTheNavigatorAndItsPressScrolls()
    {
        navi* n = board->m_navi;
        QVERIFY(!n->isVisible());
        board->ClickZoomBtn("ekZoomFix2");
        QVERIFY(n->isVisible());
        QCOMPARE(n->parentWidget(), board.get());
        const int W = board->m_view_width;
        const int H = board->m_view_height;
        QCOMPARE(n->geometry(), QRect(W - 231, H - 159, 211, 139));
        const QSize page = board->m_canvasImage.size();
        QCOMPARE(page, QSize(2 * W, 2 * H));
        QCOMPARE(n->markerSize(), QSize(n->view()->width() / 2, n->view()->height() / 2));

        // A press at the picture's top-left corner shows the page's corner.
        const QPoint corner = n->view()->geometry().topLeft();
        QMouseEvent press(QEvent::MouseButtonPress, corner, n->mapToGlobal(corner), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(n, &press);
        QCOMPARE(board->ui->horizontalScrollBar->value(), 0);
        QCOMPARE(board->ui->verticalScrollBar->value(), 0);
        QCOMPARE(board->m_viewImage, board->m_canvasImage.copy(QRect(0, 0, W, H)));

        board->ClickZoomBtn("ekZoomFix1");
        QVERIFY(!n->isVisible());
    }

    void zoomToARectangleFramesThatRectangle()
    {
        board->ZoomToRect(100, 100, 500, 300);
        navi* n = board->m_navi;
        QVERIFY(n->isVisible());
        const int h = board->ui->horizontalScrollBar->value();
        const int v = board->ui->verticalScrollBar->value();
        QVERIFY(h > 0 && v > 0);
        const tools::NaviMarker m = tools::NaviMarkerFor(n->view()->size(), QSize(board->m_view_width, board->m_view_height),
                                                         float(board->m_zoom), board->m_canvasImage.size(), h, v);
        const QImage picture = n->view()->pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(picture.pixelColor(m.drawn), QColor(Qt::red));
    }

    void coversFollowTheToolbarPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("bottom") << 0;
        QTest::newRow("top") << 1;
        QTest::newRow("left") << 2;
        QTest::newRow("floating") << 4;
    }
    void coversFollowTheToolbarPosition()
    {
        QFETCH(int, position);
        board->m_toolbarPosition = position;
        const int W = board->m_view_width;
        const int H = board->m_view_height;
        const QRect expected[5] = {QRect(0, 0, W, H - 45), QRect(0, 45, W, H - 45), QRect(48, 0, W - 48, H),
                                   QRect(0, 0, W - 48, H), QRect(0, 0, W, H)};
        board->OptToolBlind();
        QVERIFY(board->m_blind->isVisible());
        QCOMPARE(board->m_blind->geometry(), expected[position]);
        board->OptToolSpot();
        QVERIFY(board->m_spot->isVisible());
        QCOMPARE(board->m_spot->geometry(), expected[position]);
        QCOMPARE(board->m_spot->holeCentre(), QPoint(W / 2, H / 2));
    }

    void coversAreFloatingTools()
    {
        QVERIFY(board->m_floatingTools.contains(board->m_blind));
        QVERIFY(board->m_floatingTools.contains(board->m_spot));
        board->OptToolSpot();
        board->ShowCaptureOverlays(false);
        QVERIFY(!board->m_spot->isVisible());
        board->m_toolbarPosition = 1;
        board->HideCaptureOverlays();
        QVERIFY(board->m_spot->isVisible());
        QVERIFY(!board->m_blind->isVisible());
    }
};

QTEST_MAIN(DialogScreenCoversTest)
#include "dialog_screen_covers_test.moc"
