#include "board/page_render.h"

#include <QtTest>

#include "board/event_kind.h"

// Rebuilding a page from its records.
class PageRenderTest : public QObject
{
    Q_OBJECT

private slots:
    void onlyLiveObjectsOfThePageAreDrawn();
    void selectedObjectsCanBeLeftOut();
    void firstDetailWithTheIdCounts();
    void circleIsCentredOnItsStart();
    void filledEllipseIsFilled();
    void strokesFollowTheZoom();
    void brushStrokeIsDrawn();
    void longDenseStrokeIsDrawnEndToEnd();
    void redrawLeavesStrokesInProgressAlone();
    void turnedStrokeTurnsAboutItsCentre_data();
    void turnedStrokeTurnsAboutItsCentre();
    void resizeKeepsContentAndSameSizeKeepsImage();

private:
    static QImage White(QSize size = QSize(400, 300));
    static void AddFigure(BoardModel& board, int slot, int kind, QPointF m, QPointF c, const QString& note,
                          QColor colour = Qt::black);
    static void AddStroke(BoardModel& board, int slot, int kind, const QVector<QPointF>& samples,
                          const QString& note, QColor colour = Qt::black);
    static bool Inked(const QImage& image, int x, int y);
};

QImage PageRenderTest::White(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void PageRenderTest::AddFigure(BoardModel& board, int slot, int kind, QPointF m, QPointF c, const QString& note,
                               QColor colour)
{
    PointerSlotState& s = board.slot[slot];
    EventMaster em;
    em.EventID = quint16(s.nextEventId++);
    em.Kind = kind;
    em.NoteName = note;
    em.Slot = quint16(slot);
    EventDetail ed;
    ed.EventID = em.EventID;
    ed.S = ed.M = m;
    ed.E = ed.C = c;
    ed.BoundRF = ed.OriginRF = QRectF(m, c).normalized().toRect();
    ed.PenColor = colour;
    ed.PenWidth = 4;
    s.records.appendMaster(em);
    s.records.appendDetail(ed);
}

void PageRenderTest::AddStroke(BoardModel& board, int slot, int kind, const QVector<QPointF>& samples,
                               const QString& note, QColor colour)
{
    const quint16 id = quint16(board.slot[slot].nextEventId);
    AddFigure(board, slot, kind, samples.first(), samples.last(), note, colour);
    QVector<FreePenPoint> points;
    for (const QPointF& p : samples) {
        FreePenPoint fp;
        fp.EventID = id;
        fp.M = fp.S = p;
        fp.MouseAction = 2;
        points.append(fp);
    }
    board.FreePenMap.insert(MakeObjectKey(slot, id), points);
}

bool PageRenderTest::Inked(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

void PageRenderTest::onlyLiveObjectsOfThePageAreDrawn()
{
    BoardModel board;
    board.Init();
    AddFigure(board, 0, ekRect, {20, 20}, {60, 60}, "page1");
    AddFigure(board, 0, ekRect, {100, 20}, {140, 60}, "page2");
    AddFigure(board, 3, ekRect, {200, 20}, {240, 60}, "page1");
    board.slot[3].records.findDetail(0)->Deleted = 1;
    // A master whose detail is missing.
    EventMaster orphan;
    orphan.EventID = 77;
    orphan.Kind = ekRect;
    orphan.NoteName = "page1";
    board.slot[5].records.appendMaster(orphan);

    QImage image = White();
    const int painted = PaintPageObjects(image, board, "page1", true, {}, nullptr, PageRenderOptions());
    QCOMPARE(painted, 1);
    QVERIFY(Inked(image, 20, 40));
    QVERIFY(!Inked(image, 100, 40));  // another page
    QVERIFY(!Inked(image, 200, 40));  // deleted
}

void PageRenderTest::selectedObjectsCanBeLeftOut()
{
    BoardModel board;
    board.Init();
    AddFigure(board, 0, ekRect, {20, 20}, {60, 60}, "p");
    AddFigure(board, 0, ekRect, {100, 20}, {140, 60}, "p");
    board.slot[0].records.findDetail(1)->Selected = 1;

    QImage without = White();
    PaintPageObjects(without, board, "p", false, {}, nullptr, PageRenderOptions());
    QVERIFY(Inked(without, 20, 40));
    QVERIFY(!Inked(without, 100, 40));

    QImage with = White();
    PaintPageObjects(with, board, "p", true, {}, nullptr, PageRenderOptions());
    QVERIFY(Inked(with, 100, 40));
}

void PageRenderTest::firstDetailWithTheIdCounts()
{
    BoardModel board;
    board.Init();
    AddFigure(board, 2, ekRect, {20, 20}, {60, 60}, "p");
    // A second detail with the same id (as a reordering may leave) is not used.
    EventDetail later = *board.slot[2].records.findDetail(0);
    later.M = QPointF(200, 20);
    later.C = QPointF(240, 60);
    board.slot[2].records.appendDetail(later);

    QImage image = White();
    PaintPageObjects(image, board, "p", true, {}, nullptr, PageRenderOptions());
    QVERIFY(Inked(image, 20, 40));
    QVERIFY(!Inked(image, 200, 40));
}

void PageRenderTest::circleIsCentredOnItsStart()
{
    BoardModel board;
    board.Init();
    AddFigure(board, 0, ekCircle, {200, 150}, {250, 150}, "p");
    QImage image = White();
    PaintPageObjects(image, board, "p", true, {}, nullptr, PageRenderOptions());
    QVERIFY(Inked(image, 250, 150));
    QVERIFY(Inked(image, 150, 150));
    QVERIFY(Inked(image, 200, 100));
    QVERIFY(Inked(image, 200, 200));
    QVERIFY(!Inked(image, 200, 150));
}

void PageRenderTest::filledEllipseIsFilled()
{
    BoardModel board;
    board.Init();
    AddFigure(board, 0, ekFillEllipse, {100, 100}, {200, 160}, "p", Qt::blue);
    AddFigure(board, 0, ekEllipse, {250, 100}, {350, 160}, "p", Qt::blue);
    QImage image = White();
    PaintPageObjects(image, board, "p", true, {}, nullptr, PageRenderOptions());
    QCOMPARE(QColor(image.pixel(150, 130)), QColor(Qt::blue));
    QCOMPARE(QColor(image.pixel(300, 130)), QColor(Qt::white));
}

void PageRenderTest::strokesFollowTheZoom()
{
    BoardModel board;
    board.Init();
    QVector<QPointF> samples;
    for (int x = 20; x <= 180; x += 8)
        samples.append(QPointF(x, 50));
    AddStroke(board, 4, ekFree, samples, "p");

    for (bool interpolation : {false, true}) {
        PageRenderOptions o;
        o.interpolation = interpolation;
        QImage plain = White();
        PaintPageObjects(plain, board, "p", true, {}, nullptr, o);
        QVERIFY(Inked(plain, 100, 50));
        QVERIFY(!Inked(plain, 100, 100));

        o.zoom = 2.0;
        QImage zoomed = White(QSize(400, 300));
        PaintPageObjects(zoomed, board, "p", true, {}, nullptr, o);
        QVERIFY(Inked(zoomed, 200, 100));
        QVERIFY(Inked(zoomed, 340, 100));
        QVERIFY(!Inked(zoomed, 100, 50));
    }
}

void PageRenderTest::brushStrokeIsDrawn()
{
    BoardModel board;
    board.Init();
    QVector<QPointF> samples;
    for (int x = 20; x <= 300; x += 6)
        samples.append(QPointF(x, 80));
    AddStroke(board, 0, ekBrush, samples, "p", Qt::red);
    QImage image = White();
    PaintPageObjects(image, board, "p", true, {}, nullptr, PageRenderOptions());
    const QColor middle = image.pixel(160, 80);
    QVERIFY(middle.red() > 200 && middle.green() < 100);
}

void PageRenderTest::longDenseStrokeIsDrawnEndToEnd()
{
    BoardModel board;
    board.Init();
    // Half-pixel samples along a line, then a sharp turn: the turn must stay.
    QVector<QPointF> samples;
    for (int k = 0; k <= 600; ++k)
        samples.append(QPointF(20 + k * 0.5, 50));
    for (int k = 1; k <= 100; ++k)
        samples.append(QPointF(320, 50 + k * 2));
    AddStroke(board, 0, ekFree, samples, "p");
    for (bool interpolation : {false, true}) {
        PageRenderOptions o;
        o.interpolation = interpolation;
        QImage image = White();
        PaintPageObjects(image, board, "p", true, {}, nullptr, o);
        for (int x = 24; x <= 316; x += 4)
            QVERIFY2(Inked(image, x, 50), qPrintable(QString::number(x)));
        QVERIFY(Inked(image, 320, 150));
        QVERIFY(Inked(image, 320, 240));
        QVERIFY(!Inked(image, 200, 150));
    }
}

void PageRenderTest::redrawLeavesStrokesInProgressAlone()
{
    BoardModel board;
    board.Init();
    QVector<QPointF> samples;
    for (int x = 20; x <= 300; x += 6)
        samples.append(QPointF(x, 80));
    AddStroke(board, 0, ekBrush, samples, "p");
    AddStroke(board, 3, ekFree, samples, "p");

    // Slot 0 is in the middle of a brush stroke of its own.
    PointerSlotState& live = board.slot[0];
    live.interpolator.ResetWeights();
    live.interpolator.Begin(500, 500);
    live.interpolator.AddPoint(520, 510);
    const StrokeInterpolator::Point smoothed = live.interpolator.Smoothed();
    live.brushRadius = 7.5f;
    live.brushSteps = 12;
    live.lastSample = QPointF(520, 510);

    QImage image = White();
    QCOMPARE(PaintPageObjects(image, board, "p", true, {}, nullptr, PageRenderOptions()), 2);
    QCOMPARE(live.interpolator.Smoothed().x, smoothed.x);
    QCOMPARE(live.interpolator.Smoothed().y, smoothed.y);
    QCOMPARE(live.brushRadius, 7.5f);
    QCOMPARE(live.brushSteps, 12);
    QCOMPARE(live.lastSample, QPointF(520, 510));
}

void PageRenderTest::turnedStrokeTurnsAboutItsCentre_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("free pen") << int(ekFree);
    QTest::newRow("brush") << int(ekBrush);
}

void PageRenderTest::turnedStrokeTurnsAboutItsCentre()
{
    QFETCH(int, kind);
    BoardModel board;
    board.Init();
    QVector<QPointF> samples;
    for (int x = 100; x <= 200; x += 5)
        samples.append(QPointF(x, 100));
    AddStroke(board, 0, kind, samples, "p");
    EventDetail ed = board.slot[0].records.details().first();
    ed.Angle = 90.f;
    const QVector<FreePenPoint> points = board.FreePenMap.value(MakeObjectKey(0, ed.EventID));

    QImage image = White();
    PointerSlotState scratch;
    const QRect painted = kind == ekFree
                              ? PaintPathFigure(image, scratch, false, ed, points, PageRenderOptions())
                              : PaintLineFigure(image, scratch, ed, points, PageRenderOptions());
    // A quarter turn about (150, 100) stands the stroke upright there.
    QVERIFY(Inked(image, 150, 65));
    QVERIFY(Inked(image, 150, 135));
    QVERIFY(!Inked(image, 120, 100));
    QVERIFY(!Inked(image, 200, 65));
    // The rectangle handed back for repainting holds the whole stroke.
    QVERIFY(painted.contains(QRect(148, 52, 5, 96)));
}

void PageRenderTest::resizeKeepsContentAndSameSizeKeepsImage()
{
    QImage image = White(QSize(10, 10));
    image.setPixel(2, 2, qRgb(0, 0, 0));
    const qint64 key = image.cacheKey();
    ResizePageImage(image, QSize(10, 10), Qt::red);
    QCOMPARE(image.cacheKey(), key);

    ResizePageImage(image, QSize(20, 15), Qt::red);
    QCOMPARE(image.size(), QSize(20, 15));
    QCOMPARE(image.pixel(2, 2), qRgb(0, 0, 0));
    QCOMPARE(QColor(image.pixel(15, 12)), QColor(Qt::red));
}

QTEST_MAIN(PageRenderTest)
#include "page_render_test.moc"
