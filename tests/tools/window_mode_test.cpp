#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/outside_libraries.h"
#include "board/event_kind.h"
#include "board/note_pages.h"
#include "tests/support/session_tap.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

// Window mode's way back and the two screen captures, on a window that went
// through its second stage, with a painted picture standing in for the
// screen. The offscreen display has no system tray, so window mode offers its
// own small window.
class WindowModeTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    std::unique_ptr<Dialog> board;

    static QPixmap Desktop()
    {
        QPixmap p(320, 200);
        p.fill(QColor(200, 30, 160));
        return p;
    }

    QStringList Captures() const
    {
        return QDir(board->m_workFolder).entryList({QStringLiteral("screen_*.png")}, QDir::Files);
    }



private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLog);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this display has a system tray");
    }

    void init()
    {
        CollaborationLibrary().unload();
        ScopedLibraryFolder libraries(m_noLibraries->path());
        board = std::make_unique<Dialog>();
        board->InitDialog(false);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
        board->m_desktopGrabber = [](QString*) { return Desktop(); };
        for (const QString& name : Captures())
            QFile::remove(board->m_workFolder + name);
        g_log.clear();
    }

    void cleanup() { board.reset(); }

    void windowModeOffersItsOwnWayBack()
    {
        QSignalSpy display(board.get(), SIGNAL(MainDlgDisplay(int)));
        board->m_ruler->show();
        board->OptWinBtn();
        QVERIFY(!board->isVisible());
        QVERIFY(!board->m_ruler->isVisible());
        QWidget* back = board->m_windowModeWindow;
        QVERIFY(back && back->isVisible());
        QCOMPARE(back->windowTitle(), QStringLiteral("WindowMode"));
        QCOMPARE(back->size(), QSize(144, 48));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(back->geometry().topRight(), screen.topRight());
        // Left to right: back to the board, whole screen, area.
        QList<QToolButton*> buttons = back->findChildren<QToolButton*>();
        std::sort(buttons.begin(), buttons.end(), [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
        QCOMPARE(buttons.size(), 3);
        QCOMPARE(buttons[0]->defaultAction(), board->m_panserAction);
        QCOMPARE(buttons[1]->defaultAction(), board->m_allCaptureAction);
        QCOMPARE(buttons[2]->defaultAction(), board->m_rectCaptureAction);
        QVERIFY(!buttons[1]->icon().isNull());
        QCOMPARE(buttons[0]->size(), QSize(48, 48));

        board->m_board.slot[0].event_kind = ekSelect;
        buttons[0]->click();
        QVERIFY(board->isVisible());
        QVERIFY(!back->isVisible());
        QVERIFY(board->m_ruler->isVisible());
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekFree));
        QCOMPARE(display.size(), 2);
        QCOMPARE(display.at(1).at(0).toInt(), 1);
        QVERIFY(Captures().isEmpty());
    }

    void wholeScreenCaptureMakesAPage_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("alone") << 0 << QStringList();
        QTest::newRow("host") << 3
                              << QStringList{"NOTEDATA_SET", "DOC_EN", "NOTEDATA_SET", "NOTEIDX_SET"};
    }

    void wholeScreenCaptureMakesAPage()
    {
        QFETCH(int, level);
        QFETCH(QStringList, sent);
        board->OptWinBtn();
        SessionTap tap(board.get(), level, level != 0);
        const int pages = board->m_note_cnt;
        g_log.clear();
        board->OptAllCapture();

        QVERIFY(board->isVisible());
        QVERIFY(!board->m_windowModeWindow->isVisible());
        QCOMPARE(board->m_note_cnt, pages + 1);
        QCOMPARE(board->m_curr_note.type, int(kPicturePage));
        const QStringList files = Captures();
        QCOMPARE(files.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^screen_\\d{17}\\.png$")).match(files[0]).hasMatch(),
                 qPrintable(files[0]));
        QCOMPARE(board->m_curr_note.path, board->m_workFolder + files[0]);
        // The page shows the capture.
        const QImage page = board->m_backgroundImage;
        QCOMPARE(page.pixelColor(page.width() / 2, page.height() / 2), QColor(200, 30, 160));

        // The new page to every peer, its file in chunks between its two records.
        QStringList sends = tap.Keywords();
        sends.removeAll("DOC_ST");
        QCOMPARE(sends, sent);
    }

    // Without a screen there is nothing to capture, but the board still comes
    // back with what window mode put away, and no page is made.
    void withoutAScreenTheBoardStillComesBack()
    {
        board->m_ruler->show();
        board->OptWinBtn();
        board->m_desktopGrabber = [](QString* error) {
            *error = QStringLiteral("no screen to capture");
            return QPixmap();
        };
        const int pages = board->m_note_cnt;
        board->OptAllCapture();
        QVERIFY(board->isVisible());
        QVERIFY(!board->m_windowModeWindow->isVisible());
        QVERIFY(board->m_ruler->isVisible());
        QCOMPARE(board->m_note_cnt, pages);
        QVERIFY(Captures().isEmpty());
        QCOMPARE(g_log.filter(QStringLiteral("exe : OptAllCapture : no screen to capture")).size(), 1);
    }

    void areaCaptureFreezesTheScreen_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QList<int>>("captureSlots");
        QTest::newRow("alone") << 0 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("host") << 3 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("writer") << 2 << QList<int>{10};
    }

    void areaCaptureFreezesTheScreen()
    {
        QFETCH(int, level);
        QFETCH(QList<int>, captureSlots);
        board->OptWinBtn();
        board->m_collUserLevel = level;
        const int pages = board->m_note_cnt;
        board->OptRectCapture();

        QVERIFY(board->isVisible());
        QVERIFY(!board->m_windowModeWindow->isVisible());
        QCOMPARE(board->m_note_cnt, pages);
        QCOMPARE(Captures().size(), 1);
        const QImage page = board->m_backgroundImage;
        QCOMPARE(page.pixelColor(page.width() / 2, page.height() / 2), QColor(200, 30, 160));
        QCOMPARE(board->m_viewImage.pixelColor(board->m_viewImage.width() / 2, board->m_viewImage.height() / 2),
                 QColor(200, 30, 160));
        for (int i = 0; i < kPointerSlotCount; ++i)
            QCOMPARE(board->m_board.slot[i].event_kind == ekImage, captureSlots.contains(i));
        QVERIFY(!board->MainBar()->isVisible());
        QCOMPARE(g_log.filter(QStringLiteral("Test : OptRectCapture")).size(), 1);
    }

    void areaCaptureThatCannotBeSavedKeepsThePage()
    {
        board->m_desktopGrabber = [](QString*) { return QPixmap(); };
        const QImage before = board->m_backgroundImage;
        board->OptWinBtn();
        board->OptRectCapture();
        QVERIFY(board->isVisible());
        QCOMPARE(board->m_backgroundImage, before);
        for (int i = 0; i < kPointerSlotCount; ++i)
            QVERIFY(board->m_board.slot[i].event_kind != ekImage);
        QVERIFY(Captures().isEmpty());
        QCOMPARE(g_log.filter(QStringLiteral("could not be saved")).size(), 1);
    }
};

QTEST_MAIN(WindowModeTest)
#include "window_mode_test.moc"
