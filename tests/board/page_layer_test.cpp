#include <QtTest>

#include <QScrollBar>

#include "app/ui/dialog.h"
#include "board/page_render.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <functional>
#include <memory>

// The cached page layer under the view: what the window shows after strokes,
// figures, zooms and scrolls is what a full redraw of the board paints; only
// changes a layer cannot follow rebuild it; ink reaches the pointer.
class PageLayerTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    Dialog* board = nullptr;

    void Drag(int slot, const QVector<QPoint>& path)
    {
        board->PointerPress(slot, path.first().x(), path.first().y(), true, false);
        for (int i = 1; i < path.size(); ++i)
            board->PointerMove(slot, path[i].x(), path[i].y(), true, false);
        board->PointerRelease(slot, path.last().x(), path.last().y(), true, false);
    }

    // A wavy stroke of `moves` moves from `from`, heading right.
    static QVector<QPoint> Wave(QPoint from, int moves, int step = 9)
    {
        QVector<QPoint> path{from};
        for (int i = 1; i <= moves; ++i)
            path << from + QPoint(i * step, int(18 * std::sin(i * 0.45)));
        return path;
    }

    void Draw(int kind, QColor colour, int width, const QVector<QPoint>& path, bool highlight = false)
    {
        PointerSlotState& s = board->m_board.slot[0];
        s.event_kind = kind;
        s.highlight = highlight;
        s.pen = QPen(QBrush(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        Drag(0, path);
    }

    void Scroll(int h, int v)
    {
        board->ui->horizontalScrollBar->setValue(h);
        board->ui->verticalScrollBar->setValue(v);
    }

    // What a full redraw of the same board shows, painted apart from the
    // window so the board itself is left as it is.
    QImage Redrawn() const
    {
        QImage page = board->m_backgroundImage.copy();
        const ImageObjectPainter noImages;
        PaintPageObjects(page, board->m_board, board->m_curr_note.create_data, true, {}, noImages,
                         board->RenderOptions());
        return page.copy(board->PageViewRect());
    }

    // The largest difference of one colour channel between two images, and
    // where it is; antialiasing may round one level apart.
    static QString Difference(const QImage& shown, const QImage& expected, int* worst)
    {
        *worst = 0;
        if (shown.size() != expected.size())
            return QString("size %1x%2, expected %3x%4")
                .arg(shown.width()).arg(shown.height()).arg(expected.width()).arg(expected.height());
        const QImage a = shown.convertToFormat(QImage::Format_ARGB32);
        const QImage b = expected.convertToFormat(QImage::Format_ARGB32);
        QPoint at;
        for (int y = 0; y < a.height(); ++y) {
            const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                const int d = std::max({qAbs(qRed(pa[x]) - qRed(pb[x])), qAbs(qGreen(pa[x]) - qGreen(pb[x])),
                                        qAbs(qBlue(pa[x]) - qBlue(pb[x])), qAbs(qAlpha(pa[x]) - qAlpha(pb[x]))});
                if (d > *worst) {
                    *worst = d;
                    at = QPoint(x, y);
                }
            }
        }
        return QString("worst %1 at (%2, %3)").arg(*worst).arg(at.x()).arg(at.y());
    }

    void ExpectViewIsRedraw(const char* step)
    {
        int worst = 0;
        const QString where = Difference(board->m_viewImage, Redrawn(), &worst);
        QVERIFY2(worst <= 1, qPrintable(QString("%1: %2").arg(step, where)));
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(root->isValid());
    }

    void cleanupTestCase() { root.reset(); }

    void init()
    {
        board = new Dialog;
        board->resize(800, 600);
        board->InitBoardModel();
        board->ResetBoard(false);
        // The form's scroll bars reach the board through the window's table.
        board->ConnectSignals();
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board));
    }

    void cleanup()
    {
        delete board;
        board = nullptr;
    }

    // Every kind of finished object, on a plain page, then zoomed and
    // scrolled, with strokes crossing each other and the page edge.
    void viewEqualsFullRedraw()
    {
        Draw(ekFree, QColor(200, 0, 0), 6, Wave(QPoint(60, 80), 40));
        ExpectViewIsRedraw("pen stroke");
        Draw(ekBrush, QColor(0, 120, 0), 10, Wave(QPoint(60, 100), 35, 6));
        ExpectViewIsRedraw("brush stroke");
        Draw(ekFree, QColor(255, 200, 0, 120), 4, Wave(QPoint(40, 90), 30), true);
        ExpectViewIsRedraw("highlighter stroke over both");
        Draw(ekFree, QColor(0, 0, 200, 150), 4, Wave(QPoint(50, 140), 30), true);
        ExpectViewIsRedraw("second highlighter stroke");
        Draw(ekFillRect, QColor(0, 0, 220), 3, {QPoint(300, 300), QPoint(500, 450), QPoint(380, 360)});
        ExpectViewIsRedraw("filled rectangle");
        Draw(ekCircle, QColor(90, 0, 90), 3, {QPoint(400, 300), QPoint(600, 500), QPoint(440, 330)});
        ExpectViewIsRedraw("circle");
        Draw(ekBArrow, QColor(0, 0, 0), 2, {QPoint(100, 500), QPoint(300, 420), QPoint(250, 560)});
        ExpectViewIsRedraw("arrow");
        Draw(ekFree, QColor(0, 0, 0), 3, {QPoint(150, 200)});
        ExpectViewIsRedraw("tap");

        board->ZoomByScale(2.0f);
        ExpectViewIsRedraw("zoom step");
        Draw(ekFree, QColor(200, 0, 0), 5, Wave(QPoint(100, 200), 50));
        ExpectViewIsRedraw("stroke on the zoomed page");
        Draw(ekEllipse, QColor(0, 100, 100), 4, {QPoint(200, 200), QPoint(700, 580), QPoint(500, 400)});
        ExpectViewIsRedraw("ellipse on the zoomed page");
        for (const QPoint& at : {QPoint(0, 0), QPoint(133, 71), QPoint(800, 600), QPoint(37, 599)}) {
            Scroll(at.x(), at.y());
            ExpectViewIsRedraw(qPrintable(QString("scrolled to %1, %2").arg(at.x()).arg(at.y())));
        }
        Draw(ekBrush, QColor(0, 0, 0), 8, Wave(QPoint(600, 500), 40));
        ExpectViewIsRedraw("brush stroke running off the scrolled page");
        Scroll(300, 250);
        ExpectViewIsRedraw("scrolled back");
        board->ZoomByScale(1.0f);
        ExpectViewIsRedraw("zoomed out");
    }

    // Two pointers drawing at once: the first release must not wipe the ink
    // of the stroke still being drawn, and once both are lifted the view is
    // the redraw.
    void overlappingPointers()
    {
        PointerSlotState& one = board->m_board.slot[1];
        PointerSlotState& two = board->m_board.slot[2];
        one.pen = QPen(QBrush(QColor(200, 0, 0)), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        two.pen = QPen(QBrush(QColor(0, 0, 200)), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        board->PointerPress(1, 100, 100, true, false);
        board->PointerPress(2, 100, 130, true, false);
        for (int i = 1; i <= 30; ++i) {
            board->PointerMove(1, 100 + i * 8, 100 + i, true, false);
            board->PointerMove(2, 100 + i * 8, 130 - i, true, false);
        }
        board->PointerRelease(1, 340, 130, true, false);
        // The second stroke's ink, where it crosses the first one's rectangle.
        QCOMPARE(board->m_viewImage.pixelColor(180, 120), QColor(0, 0, 200));
        board->PointerMove(2, 360, 90, true, false);
        board->PointerRelease(2, 360, 90, true, false);
        QCOMPARE(board->m_board.slot[1].records.masters().size(), 1);
        QCOMPARE(board->m_board.slot[2].records.masters().size(), 1);
        ExpectViewIsRedraw("both lifted");
    }

    void fullRedraws_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("redraws");
        QTest::newRow("pen stroke") << "pen" << 0;
        QTest::newRow("brush stroke") << "brush" << 0;
        QTest::newRow("figure") << "figure" << 0;
        QTest::newRow("highlighter stroke") << "highlighter" << 0;
        QTest::newRow("stroke on a zoomed page") << "zoomed pen" << 0;
        QTest::newRow("scroll step") << "scroll" << 0;
        QTest::newRow("zoom step") << "zoom" << 1;
        QTest::newRow("page change") << "page" << 1;
        QTest::newRow("window resize") << "resize" << 1;
        QTest::newRow("pen switched to highlighter") << "switch" << 1;
    }

    // The events that must rebuild the page layer, and those that must not.
    void fullRedraws()
    {
        QFETCH(QString, event);
        QFETCH(int, redraws);
        Draw(ekFree, QColor(200, 0, 0), 6, Wave(QPoint(60, 80), 20));
        if (event == "highlighter")
            Draw(ekFree, QColor(255, 200, 0, 120), 4, Wave(QPoint(60, 90), 20), true);
        if (event.startsWith("zoomed") || event == "scroll")
            board->ZoomByScale(2.0f);
        if (event == "page") {
            board->CreateNotePage(1, "WhiteBoard", "", false);
            board->m_note_idx = 0;
        }

        const int before = board->m_fullRedrawCount;
        if (event == "pen" || event == "zoomed pen")
            Draw(ekFree, QColor(0, 0, 0), 4, Wave(QPoint(100, 300), 30));
        else if (event == "brush")
            Draw(ekBrush, QColor(0, 0, 0), 8, Wave(QPoint(100, 300), 30));
        else if (event == "figure")
            Draw(ekRect, QColor(0, 0, 0), 3, {QPoint(100, 300), QPoint(300, 400)});
        else if (event == "highlighter" || event == "switch")
            Draw(ekFree, QColor(0, 200, 200, 120), 4, Wave(QPoint(100, 300), 30), true);
        else if (event == "scroll")
            Scroll(120, 80);
        else if (event == "zoom")
            board->ZoomByScale(1.5f);
        else if (event == "page")
            board->NoteChangeWorker();
        else if (event == "resize")
            board->resize(board->m_backgroundImage.width() + 100, board->m_backgroundImage.height() + 50);
        QCOMPARE(board->m_fullRedrawCount - before, redraws);
        ExpectViewIsRedraw(qPrintable(event));
    }

    // After every move the ink reaches the pointer (the tail), a tail never
    // becomes a sample, and the release leaves what a redraw paints.
    void inkReachesThePointer()
    {
        PointerSlotState& s = board->m_board.slot[0];
        s.pen = QPen(QBrush(QColor(200, 0, 0)), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        const QVector<QPoint> path = Wave(QPoint(100, 300), 25, 14);
        board->PointerPress(0, path[0].x(), path[0].y(), true, false);
        for (int i = 1; i < path.size(); ++i) {
            board->PointerMove(0, path[i].x(), path[i].y(), true, false);
            const QRgb atPointer = board->grab().toImage().pixel(path[i]);
            QVERIFY2(qRed(atPointer) > 150 && qGreen(atPointer) < 60, qPrintable(QString("move %1").arg(i)));
            QCOMPARE(s.strokePoints.size(), i + 1);
        }
        board->PointerRelease(0, path.last().x(), path.last().y(), true, false);
        ExpectViewIsRedraw("released");
    }

    // The press copies nothing: the view keeps its own buffer through the
    // whole stroke, and the figure preview keeps only the patch it covers.
    void pressCopiesNoPage_data()
    {
        QTest::addColumn<bool>("newPage");
        QTest::newRow("after a reset") << false;
        QTest::newRow("on a new page") << true;
    }

    void pressCopiesNoPage()
    {
        QFETCH(bool, newPage);
        if (newPage)
            board->CreateNotePage(1, "WhiteBoard", "", false);
        const uchar* buffer = board->m_viewImage.constBits();
        const qint64 backupKey = board->m_backupImage.cacheKey();
        Draw(ekFree, QColor(0, 0, 0), 4, Wave(QPoint(100, 300), 10));
        QCOMPARE(board->m_viewImage.constBits(), buffer);
        QCOMPARE(board->m_backupImage.cacheKey(), backupKey);

        PointerSlotState& s = board->m_board.slot[0];
        s.event_kind = ekRect;
        board->PointerPress(0, 100, 100, true, false);
        board->PointerMove(0, 200, 150, true, false);
        const QRect patch = board->m_previewPatch[0].rect;
        QVERIFY(!patch.isEmpty());
        QVERIFY(patch.width() < 200 && patch.height() < 150);
        board->PointerRelease(0, 200, 150, true, false);
        QCOMPARE(board->m_viewImage.constBits(), buffer);
    }
};

QTEST_MAIN(PageLayerTest)
#include "page_layer_test.moc"
