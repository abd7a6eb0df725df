#include "app/ui/dialog.h"
#include "app/ui/outside_libraries.h"
#include "board/event_kind.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// Areas cut out of a frozen screen, on one window that went through its
// second stage, with each confirmation answered as a person would.
class CaptureAreasTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    std::unique_ptr<Dialog> board;

    // A screen of the board's size, red on the left and blue on the right.
    QPixmap SplitDesktop() const
    {
        QPixmap p(board->size());
        p.fill(Qt::red);
        QPainter painter(&p);
        painter.fillRect(QRect(p.width() / 2, 0, p.width() - p.width() / 2, p.height()), Qt::blue);
        return p;
    }

    // Drags a rectangle with the mouse slot and answers the question that
    // follows with `answer`, as a person would.
    void DragArea(QPoint from, QPoint to, QMessageBox::StandardButton answer)
    {
        auto* clicker = new QTimer(this);
        connect(clicker, &QTimer::timeout, clicker, [clicker, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->button(answer))
                return;
            box->button(answer)->click();
            clicker->stop();
            clicker->deleteLater();
        });
        clicker->start(20);
        board->PointerPress(0, from.x(), from.y(), true, false);
        board->PointerMove(0, to.x(), to.y(), true, false);
        board->PointerRelease(0, to.x(), to.y(), true, false);
    }

    QStringList AreaFiles() const
    {
        return QDir(board->m_workFolder).entryList({QStringLiteral("Obj_image_*.png")}, QDir::Files, QDir::Name);
    }

    static QColor CentreOf(const QString& path)
    {
        const QImage image(path);
        return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
    }


private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLog);
        // Start-up's own boxes answer themselves; the capture's questions
        // below are answered by clicking.
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
        CollaborationLibrary().unload();
        ScopedLibraryFolder libraries(m_noLibraries->path());
        board = std::make_unique<Dialog>();
        board->InitDialog(false);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
        qunsetenv("DRAVIK_NO_MODAL");
        board->m_desktopGrabber = [](QString*) {
            QPixmap p(320, 200);
            p.fill(Qt::green);
            return p;
        };
    }

    void cleanupTestCase() { board.reset(); }

    // Cancelled, a capture leaves the page as it was.
    void cancelledCaptureLeavesThePageAsItWas()
    {
        const QImage before = board->m_viewImage.copy();
        board->OptWinBtn();
        board->OptRectCapture();
        const int W = board->width();
        const int H = board->height();
        DragArea(QPoint(W / 8, H / 3), QPoint(W / 4, H / 2), QMessageBox::Cancel);
        QVERIFY(AreaFiles().isEmpty());
        QVERIFY(board->CaptureRects.isEmpty());
        QCOMPARE(board->m_board.slot[0].records.masters().size(), 0);
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekSelect));
        QVERIFY(board->MainBar()->isVisible());
        QCOMPARE(board->m_viewImage, before);
    }

    // Each dragged area is confirmed; Yes keeps the screen frozen for the
    // next one, No cuts them all out as image objects on the note's page.
    void areasBecomeImageObjects()
    {
        const QPixmap desktop = SplitDesktop();
        board->m_desktopGrabber = [desktop](QString*) { return desktop; };
        const QColor pageColour = board->m_backgroundImage.pixelColor(10, board->height() / 2);
        board->OptWinBtn();
        board->OptRectCapture();
        const int objects = board->m_board.slot[0].records.masters().size();
        const int media = board->m_mediaFiles.size();
        const int W = board->width();
        const int H = board->height();

        DragArea(QPoint(W / 8, H / 3), QPoint(W / 4, H / 2), QMessageBox::Yes);
        QCOMPARE(board->CaptureRects.size(), 1);
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekImage));
        QVERIFY(AreaFiles().isEmpty());

        DragArea(QPoint(W * 3 / 4, H / 3), QPoint(W * 7 / 8, H / 2), QMessageBox::Yes);
        QCOMPARE(board->CaptureRects.size(), 2);
        DragArea(QPoint(W / 16, H / 4), QPoint(W / 8, H / 2), QMessageBox::No);
        const QStringList files = AreaFiles();
        QCOMPARE(files.size(), 3);
        // One time stamp for the whole capture.
        const QRegularExpression name(QStringLiteral("^Obj_image_(\\d)(\\d{17})\\.png$"));
        QString stamp;
        for (int k = 0; k < 3; ++k) {
            const QRegularExpressionMatch m = name.match(files[k]);
            QVERIFY2(m.hasMatch(), qPrintable(files[k]));
            QCOMPARE(m.captured(1).toInt(), k);
            if (k == 0)
                stamp = m.captured(2);
            QCOMPARE(m.captured(2), stamp);
        }
        QCOMPARE(CentreOf(board->m_workFolder + files[0]), QColor(Qt::red));
        QCOMPARE(CentreOf(board->m_workFolder + files[1]), QColor(Qt::blue));
        QCOMPARE(CentreOf(board->m_workFolder + files[2]), QColor(Qt::red));
        QCOMPARE(board->m_mediaFiles.size(), media + 3);
        const auto& masters = board->m_board.slot[0].records.masters();
        QCOMPARE(masters.size(), objects + 3);
        QCOMPARE(masters.last().Kind, int(ekImage));
        QCOMPARE(int(masters.last().StrData), media + 2);
        // Each area centred on the board; the last one is selected.
        for (int k = 0; k < 3; ++k) {
            const EventDetail& ed = board->m_board.slot[0].records.details()[objects + k];
            QVERIFY2(qAbs(ed.BoundRF.center().x() - W / 2) <= 1 && qAbs(ed.BoundRF.center().y() - H / 2) <= 1,
                     qPrintable(QStringLiteral("%1,%2").arg(ed.BoundRF.center().x()).arg(ed.BoundRF.center().y())));
        }
        QCOMPARE(board->m_select_id_str, QStringList{MakeObjectKey(0, masters.last().EventID)});
        QVERIFY(board->CaptureRects.isEmpty());
        for (int i = 0; i < kMouseOverflowSlot; ++i)
            QCOMPARE(board->m_board.slot[i].event_kind, int(ekSelect));
        QVERIFY(board->MainBar()->isVisible());
        // The note's own page is back, with the areas on it, the last on top.
        QCOMPARE(board->m_backgroundImage.pixelColor(10, H / 2), pageColour);
        QCOMPARE(board->m_viewImage.pixelColor(W / 2 + 5, H / 2), QColor(Qt::red));
    }
};

QTEST_MAIN(CaptureAreasTest)
#include "capture_areas_test.moc"
