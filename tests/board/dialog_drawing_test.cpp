#include <QtTest>

#include <QPaintEvent>
#include <QTemporaryDir>

#include "app/ui/dialog.h"
#include "board/figure_paths.h"
#include "tests/support/test_folders.h"

#include <memory>

namespace {

// Collects the rectangles the window is asked to paint.
class PaintWatcher : public QObject
{
public:
    QVector<QRect> rects;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent*>(event)->region().boundingRect());
        return QObject::eventFilter(watched, event);
    }
};

bool IsInk(QRgb pixel, QColor pen)
{
    return qAbs(qRed(pixel) - pen.red()) < 60 && qAbs(qGreen(pixel) - pen.green()) < 60
           && qAbs(qBlue(pixel) - pen.blue()) < 60;
}

// Ink pixels of the view image inside r.
int InkIn(const QImage& image, QRect r, QColor pen)
{
    int n = 0;
    r = r.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += IsInk(image.pixel(x, y), pen) ? 1 : 0;
    return n;
}

}  // namespace

class DialogDrawingTest : public QObject
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

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(root->isValid());
    }

    void cleanupTestCase()
    {
        root.reset();
    }

    void init()
    {
        board = new Dialog;
        board->resize(800, 600);
        board->InitBoardModel();
        board->ResetBoard(false);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board));
    }

    void cleanup()
    {
        delete board;
        board = nullptr;
    }

    // The mouse drag that a person makes: ink along the path, one free-pen
    // object with its samples and one undo step.
    void mouseDragDrawsStroke()
    {
        board->m_board.slot[0].pen = QPen(QBrush(QColor(200, 0, 0)), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        QTest::mousePress(board, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
        for (int i = 1; i <= 30; ++i) {
            QMouseEvent move(QEvent::MouseMove, QPointF(100 + i * 10, 100 + i * 5), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(board, &move);
        }
        QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, QPoint(400, 250));

        const QColor red(200, 0, 0);
        QVERIFY(InkIn(board->m_viewImage, QRect(95, 95, 10, 10), red) > 0);
        QVERIFY(InkIn(board->m_viewImage, QRect(245, 170, 10, 10), red) > 0);
        QVERIFY(InkIn(board->m_viewImage, QRect(395, 245, 10, 10), red) > 0);
        QCOMPARE(InkIn(board->m_viewImage, QRect(100, 300, 50, 50), red), 0);

        const SlotRecords& records = board->m_board.slot[0].records;
        QCOMPARE(records.masters().size(), 1);
        QCOMPARE(records.details().size(), 1);
        const EventMaster& em = records.masters().first();
        QCOMPARE(em.Kind, 3);
        QCOMPARE(em.StrData, quint16(65535));
        QCOMPARE(em.MediaPos, -1.0);
        QCOMPARE(em.NoteName, board->m_curr_note.create_data);
        const EventDetail& ed = records.details().first();
        QCOMPARE(ed.S, QPointF(100, 100));
        QCOMPARE(ed.E, QPointF(400, 250));
        QCOMPARE(ed.OriginRF, QRect(100, 100, 300, 150));
        QCOMPARE(ed.PenColor, red);

        const QVector<FreePenPoint> samples = board->m_board.FreePenMap.value("0-0");
        QCOMPARE(samples.size(), 1 + 30 + 1 + 1);  // press, moves, the release's move, release
        QCOMPARE(samples.first().MouseAction, 1);
        QCOMPARE(samples[1].MouseAction, 2);
        QCOMPARE(samples.last().MouseAction, 3);
        QCOMPARE(samples.last().S, QPointF(400, 250));
        QVERIFY(board->m_board.slot[0].strokePoints.isEmpty());
        QCOMPARE(board->m_undo.URList.size(), 1);
        QCOMPARE(board->m_undo.URList.first().Kind, int(URKindAdd));
        QVERIFY(board->m_boardModified);
    }

    // Each move shows again only the new piece of the stroke and its tail to
    // the pointer, plus the pen margin, never the page.
    void moveRepaintsOnlySegment()
    {
        PaintWatcher watcher;
        board->installEventFilter(&watcher);
        board->PointerPress(0, 200, 200, true, false);
        QCoreApplication::processEvents();
        const int margin = RepaintMargin(board->m_board.slot[0].pen);
        int painted = 0;
        for (int i = 1; i <= 20; ++i) {
            watcher.rects.clear();
            const QPointF from = board->m_board.slot[0].lastSample;
            const QPoint to(200 + i * 7, 200 + (i % 3) * 4);
            board->PointerMove(0, to.x(), to.y(), true, false);
            QCoreApplication::processEvents();
            // The last move's tail, taken back, ran to the last pointer.
            QRectF piece(from, QSizeF(0.01, 0.01));
            piece |= QRectF(QPointF(board->m_board.slot[0].prevCurrent), QSizeF(0.01, 0.01));
            piece |= QRectF(to, QSizeF(0.01, 0.01));
            const StrokeInterpolator& interp = board->m_board.slot[0].interpolator;
            for (int k = 0; k < interp.Count(); ++k)
                piece |= QRectF(QPointF(interp.Output(k).x, interp.Output(k).y), QSizeF(0.01, 0.01));
            const QRect allowed = piece.toAlignedRect().adjusted(-margin - 1, -margin - 1, margin + 1, margin + 1);
            for (const QRect& r : qAsConst(watcher.rects))
                QVERIFY2(allowed.contains(r), qPrintable(QString("move %1").arg(i)));
            painted += watcher.rects.size();
        }
        QVERIFY(painted >= 10);
        board->PointerRelease(0, 340, 200, true, false);
        board->removeEventFilter(&watcher);
    }

    void figures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("line") << int(ekLine);
        QTest::newRow("rectangle") << int(ekRect);
        QTest::newRow("filled rectangle") << int(ekFillRect);
        QTest::newRow("ellipse") << int(ekEllipse);
        QTest::newRow("end arrow") << int(ekEArrow);
        QTest::newRow("both arrows") << int(ekBArrow);
    }

    // The preview follows the pointer without leaving trails, and the release
    // makes one record with the figure's geometry.
    void figures()
    {
        QFETCH(int, kind);
        PointerSlotState& s = board->m_board.slot[0];
        s.event_kind = kind;
        s.pen = QPen(QBrush(QColor(0, 0, 220)), 3);
        const QColor blue(0, 0, 220);
        Drag(0, {QPoint(100, 100), QPoint(500, 450), QPoint(600, 500), QPoint(300, 200)});

        // The far previews are gone.
        QCOMPARE(InkIn(board->m_viewImage, QRect(480, 430, 130, 80), blue), 0);
        QVERIFY(InkIn(board->m_viewImage, QRect(90, 90, 220, 120), blue) > 0);

        QCOMPARE(s.records.masters().size(), 1);
        const EventMaster& em = s.records.masters().first();
        const EventDetail& ed = s.records.details().first();
        QCOMPARE(em.Kind, kind);
        QCOMPARE(em.StrData, quint16(0xFFFF));
        QCOMPARE(ed.S, QPointF(100, 100));
        QCOMPARE(ed.E, QPointF(300, 200));
        if (kind == ekEArrow || kind == ekBArrow) {
            QPainterPath path;
            ArrowLinePath(path, QPointF(100, 100), QPointF(300, 200), kind == ekBArrow);
            const QRectF r = path.boundingRect();
            QCOMPARE(ed.OriginRF, QRect(int(r.x()), int(r.y()), int(r.width()), int(r.height())));
        } else {
            QCOMPARE(ed.OriginRF, QRect(100, 100, 200, 100));
        }
        QVERIFY(board->m_board.FreePenMap.isEmpty());
    }

    // Brush samples carry the width in effect before them; the release
    // sample the radius reached.
    void brushSamples()
    {
        PointerSlotState& s = board->m_board.slot[0];
        s.event_kind = ekBrush;
        s.pen = QPen(QBrush(Qt::black), 10);
        Drag(0, {QPoint(100, 100), QPoint(103, 101), QPoint(106, 102), QPoint(109, 103)});
        const QVector<FreePenPoint> samples = board->m_board.FreePenMap.value("0-0");
        QCOMPARE(samples.size(), 1 + 3 + 1 + 1);
        QCOMPARE(samples[0].Press, 0.f);
        QCOMPARE(samples[1].Press, 10 * 0.3f * 0.3f);  // the width set at press
        QCOMPARE(samples[2].Press, 12.f);               // full width for the first steps
        QCOMPARE(samples.last().MouseAction, 3);
        QCOMPARE(samples.last().Press, 12.f);
        QCOMPARE(s.brushRadius, 0.f);  // cleared once the stroke is shown
        QCOMPARE(board->m_board.slot[0].records.masters().first().Kind, int(ekBrush));
    }

    void arrowSnapsToLevel()
    {
        board->m_board.slot[0].event_kind = ekEArrow;
        Drag(0, {QPoint(100, 100), QPoint(200, 150), QPoint(300, 107)});
        QCOMPARE(board->m_board.slot[0].records.details().first().E, QPointF(300, 100));
    }

    void tapMakesDot()
    {
        Drag(0, {QPoint(50, 60)});
        const EventDetail& ed = board->m_board.slot[0].records.details().first();
        QCOMPARE(ed.S, QPointF(50, 60));
        QCOMPARE(ed.E, QPointF(50, 61));
        QVERIFY(InkIn(board->m_viewImage, QRect(48, 58, 5, 5), Qt::black) > 0);
    }

    // A stroke begun right after a tap arrives as a double click instead of a
    // second press: it still draws.
    void strokeRightAfterTapDraws()
    {
        QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier, QPoint(50, 60));
        QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(52, 62), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(board, &twice);
        for (int i = 1; i <= 10; ++i) {
            QMouseEvent move(QEvent::MouseMove, QPointF(52 + i * 20, 62), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(board, &move);
        }
        QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, QPoint(252, 62));
        QCOMPARE(board->m_board.slot[0].records.details().size(), 2);
        QVERIFY(InkIn(board->m_viewImage, QRect(150, 58, 10, 8), Qt::black) > 0);
    }

    // Slot numbers come from peers and files later: out of range they are
    // dropped, never used as an index.
    void unknownSlotsIgnored()
    {
        for (int slot : {-1, 11, 12, 1000, INT_MIN}) {
            board->PointerPress(slot, 10, 10, false, false);
            board->PointerMove(slot, 20, 20, false, false);
            board->PointerRelease(slot, 30, 30, false, false);
            board->DrawStrokeStep(slot, ekFree, 1, false, false);
            board->PaintFreePenSegment(slot);
            board->RestoreImageRegion(slot, 5);
            board->CreateObjectEvent(slot, 0xFFFF);
            board->RubberBandRect(slot, 1);
            board->ReleaseTouchSlot(slot);
            board->InsertURList(URKindAdd, slot, EventMaster(), EventDetail(), ErasePoint(), PreData());
        }
        board->MultiPointerAll(10, 50, 10, 10);
        board->MultiPointerAll(0, 50, 10, 10);
        board->MultiPointerAll(110, 50, 10, 10);
        for (const PointerSlotState& s : board->m_board.slot)
            QVERIFY(s.records.masters().isEmpty() && !s.pressed);
        QVERIFY(board->m_undo.URList.isEmpty());
    }

    void penDriverPointers()
    {
        board->MultiPointer3(50, 100, 100);
        board->MultiPointer3(10, 150, 120);
        board->MultiPointer3(77, 300, 300);  // unknown action
        board->MultiPointer3(60, 200, 140);
        QCOMPARE(board->m_board.slot[3].records.masters().size(), 1);
        board->MultiPointerAll(105, 50, 10, 300);
        board->MultiPointerAll(105, 10, 60, 320);
        board->MultiPointerAll(105, 60, 90, 330);
        QCOMPARE(board->m_board.slot[5].records.masters().size(), 1);
        QCOMPARE(board->m_board.slot[5].records.masters().first().Slot, quint16(5));

        for (int level : {1, 2}) {
            board->m_collUserLevel = level;
            board->MultiPointer4(50, 100, 100);
            board->MultiPointer4(60, 200, 100);
        }
        QVERIFY(board->m_board.slot[4].records.masters().isEmpty());
    }

    // Two pointers drawing at once: each makes its own object, and the
    // release that finds another pointer down marks the board multi-pointer.
    void twoPointersAtOnce()
    {
        board->PointerPress(1, 100, 100, true, false);
        board->PointerMove(1, 200, 100, true, false);
        board->PointerPress(2, 100, 300, true, false);
        board->PointerRelease(1, 200, 100, true, false);
        QVERIFY(board->m_multiPointer);
        board->PointerRelease(2, 100, 300, true, false);
        QCOMPARE(board->m_board.slot[1].records.masters().size(), 1);
        QCOMPARE(board->m_board.slot[2].records.masters().size(), 1);
    }

    void smartPenCollectsWithinBuffer()
    {
        board->m_board.slot[0].m_curr_drawbtn = "ekSmart";
        board->PointerPress(2, 10, 10, true, false);
        QVERIFY(board->m_board.smartPen.active());
        for (int i = 0; i < SmartPenBuffer::kCapacity + 100; ++i)
            board->PointerMove(2, 10 + i % 500, 10 + i / 500, true, false);
        QCOMPARE(board->m_board.smartPen.count(), SmartPenBuffer::kCapacity);
        board->PointerMove(10, 5, 5, true, false);  // slot 10 does not feed the smart pen
        board->PointerRelease(2, 77, 88, true, false);
        QVERIFY(!board->m_board.smartPen.active());
        QCOMPARE(board->m_board.smartPen.last(), QPoint(77, 88));
        QVERIFY(board->m_board.slot[2].records.masters().isEmpty());
    }

    void undoKeepsFiftySteps()
    {
        for (int i = 0; i < 51; ++i)
            Drag(0, {QPoint(10 + i, 10), QPoint(20 + i, 40)});
        QCOMPARE(board->m_board.slot[0].nextEventId, 51);
        QCOMPARE(board->m_undo.URList.size(), 50);
        QCOMPARE(board->m_undo.URStepCount, 50);
        QCOMPARE(board->m_undo.URList.first().EventID, quint16(1));
        QCOMPARE(board->m_undo.URList.last().EventID, quint16(50));
        QCOMPARE(board->m_undo.URList.last().Tool, int(ekFree));
        QCOMPARE(board->m_undo.URList.last().NoteName, board->m_curr_note.create_data);

        board->m_collUserLevel = 2;
        Drag(0, {QPoint(10, 10), QPoint(20, 40)});
        QCOMPARE(board->m_board.slot[0].nextEventId, 52);  // made, but not entered
        QCOMPARE(board->m_undo.URList.last().EventID, quint16(50));
    }

    void resizeCursors_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<int>("shape");
        QTest::newRow("0") << 0.0 << int(Qt::SizeVerCursor);
        QTest::newRow("20") << 20.0 << int(Qt::SizeVerCursor);
        QTest::newRow("20.5") << 20.5 << int(Qt::SizeBDiagCursor);
        QTest::newRow("90") << 90.0 << int(Qt::SizeHorCursor);
        QTest::newRow("135") << 135.0 << int(Qt::SizeFDiagCursor);
        QTest::newRow("360") << 360.0 << int(Qt::SizeVerCursor);
        QTest::newRow("negative keeps") << -5.0 << int(Qt::CrossCursor);
    }

    void resizeCursors()
    {
        QFETCH(double, angle);
        QFETCH(int, shape);
        board->setCursor(Qt::CrossCursor);
        board->SetPointerCursor(angle, 0, 1, 2, 3);
        QCOMPARE(int(board->cursor().shape()), shape);
    }

    void touchSlotsOnWindow()
    {
        for (int i = 0; i < 10; ++i)
            QCOMPARE(board->ClaimTouchSlot(50 + i), i);
        QCOMPARE(board->ClaimTouchSlot(99), -1);
        QCOMPARE(board->TouchPointSlot(57), 7);
        board->ReleaseTouchSlot(7);
        QCOMPARE(board->TouchPointSlot(57), -1);
        QCOMPARE(board->ClaimTouchSlot(100), 7);
    }

    void pagePainters()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("red.png");
        QImage red(20, 10, QImage::Format_ARGB32);
        red.fill(QColor(255, 0, 0));
        QVERIFY(red.save(file));

        board->m_zoom = 2.0;
        board->PaintScaledImage(file, QRectF(10, 10, 20, 10));
        QCOMPARE(board->m_viewImage.pixelColor(25, 25), QColor(255, 0, 0));
        QCOMPARE(board->m_viewImage.pixelColor(61, 25), QColor(Qt::white));

        EventDetail ed;
        ed.BoundRF = QRect(100, 100, 20, 10);
        ed.M = QPointF(100, 100);
        ed.Angle = 90.f;
        board->m_zoom = 1.0;
        board->PaintImageTransformed(file, ed, false);
        // Turned a quarter about its centre: taller than wide.
        QCOMPARE(board->m_viewImage.pixelColor(110, 96), QColor(255, 0, 0));
        QCOMPARE(board->m_viewImage.pixelColor(101, 105), QColor(Qt::white));
        board->PaintImageTransformed(dir.filePath("missing.png"), ed, false);  // noted, nothing drawn

        const QImage before = board->m_viewImage;
        board->DrawGuideLines(300, 300, 400, 300, 2, 0);
        QCOMPARE(board->m_viewImage, before);
        board->DrawGuideLines(300, 300, 400, 300, -1, 0);
        QCOMPARE(board->m_viewImage.pixelColor(350, 300), QColor(Qt::darkGray));
    }

    void filledFigurePreview()
    {
        PointerSlotState& s = board->m_board.slot[0];
        s.event_kind = ekFillRect;
        s.pen = QPen(QBrush(QColor(0, 150, 0)), 9);
        board->PointerPress(0, 100, 100, true, false);
        board->PointerMove(0, 200, 180, true, false);
        QCOMPARE(board->m_viewImage.pixelColor(150, 140), QColor(0, 150, 0));
        // Hairline outline: nothing of the 9 px pen outside the rectangle.
        QCOMPARE(board->m_viewImage.pixelColor(97, 140), QColor(Qt::white));
        board->PointerRelease(0, 200, 180, true, false);
        QCOMPARE(board->m_fillColor, QColor(0, 150, 0));
    }

    void realtimeFrameBytes()
    {
        const QByteArray frame = board->setData("REALTIME_EVENT", "3,0,2,100,200", "Block_EN\n");
        QCOMPARE(frame.size(), 2 + 4 + 14 + 4 + 13 + 4 + 9);
        QCOMPARE(frame.left(2), QByteArray::fromHex("0030"));
    }
};

QTEST_MAIN(DialogDrawingTest)
#include "dialog_drawing_test.moc"
