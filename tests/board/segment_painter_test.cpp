#include <QtTest>

#include <cmath>

#include "board/segment_painter.h"

namespace {

// Bounding box of the pixels that differ between two images.
QRect ChangedArea(const QImage& before, const QImage& after)
{
    QRect area;
    for (int y = 0; y < before.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < before.width(); ++x) {
            if (a[x] != b[x])
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QImage Blank()
{
    QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

void Press(PointerSlotState& s, QPoint p)
{
    s.anchor = s.current = p;
    s.lastSample = p;
    s.interpolator.ResetWeights();
    s.interpolator.Begin(p.x(), p.y());
}

}  // namespace

class SegmentPainterTest : public QObject
{
    Q_OBJECT

private slots:
    void straightLineWithoutInterpolation()
    {
        QImage image = Blank();
        PointerSlotState s;
        s.pen = QPen(Qt::red, 1);
        Press(s, QPoint(10, 10));
        s.current = QPoint(50, 10);
        SegmentPaintOptions o;
        o.interpolation = false;
        o.antialiasing = false;
        const QRect dirty = PaintFreePenStep(image, s, o);
        QCOMPARE(ChangedArea(Blank(), image), QRect(10, 10, 41, 1));
        QCOMPARE(s.lastSample, QPointF(50, 10));
        QVERIFY(dirty.contains(QRect(10, 10, 41, 1)));
    }

    // Every move paints only inside the rectangle it reports, and that
    // rectangle is the new piece's bounds plus the pen margin.
    void repaintBoundedBySegment_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("highlight");
        QTest::newRow("thin pen") << 3 << false;
        QTest::newRow("wide pen") << 40 << false;
        QTest::newRow("highlight") << 3 << true;
    }

    void repaintBoundedBySegment()
    {
        QFETCH(int, width);
        QFETCH(bool, highlight);
        QImage image = Blank();
        PointerSlotState s;
        s.pen = QPen(QBrush(Qt::blue), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        s.highlight = highlight;
        SegmentPaintOptions o;
        o.special.highlightWidth = 20;
        const int margin = RepaintMargin(FreePenOf(s, o.special));
        Press(s, QPoint(100, 150));
        for (int i = 1; i <= 40; ++i) {
            const QImage before = image;
            const QPointF from = s.lastSample;
            s.current = QPoint(100 + i * 5, 150 + int(40 * std::sin(i / 4.0)));
            const QRect dirty = PaintFreePenStep(image, s, o);
            const QRect changed = ChangedArea(before, image);
            if (!changed.isNull())
                QVERIFY2(dirty.contains(changed), qPrintable(QString("move %1").arg(i)));
            QRectF piece(from, QSizeF(0.001, 0.001));
            for (int k = 0; k < s.interpolator.Count(); ++k)
                piece |= QRectF(QPointF(s.interpolator.Output(k).x, s.interpolator.Output(k).y), QSizeF(0.001, 0.001));
            const QRect bound = piece.toAlignedRect().adjusted(-margin - 1, -margin - 1, margin + 1, margin + 1);
            QVERIFY2(bound.contains(dirty), qPrintable(QString("move %1").arg(i)));
        }
    }

    void highlightPenShape()
    {
        PointerSlotState s;
        s.pen = QPen(QColor(200, 10, 10, 90), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        s.highlight = true;
        SpecialPen special;
        special.highlightWidth = 24;
        const QPen pen = FreePenOf(s, special);
        QCOMPARE(pen.capStyle(), Qt::FlatCap);
        QCOMPARE(pen.joinStyle(), Qt::BevelJoin);
        QCOMPARE(pen.width(), 24);
        QCOMPARE(pen.color(), QColor(200, 10, 10, 90));
        s.highlight = false;
        QCOMPARE(FreePenOf(s, special), s.pen);
        QCOMPARE(PressurePen(special, 0.2f).widthF(), 1.0);
        QCOMPARE(PressurePen(special, 7.5f).widthF(), 7.5);
    }

    void brushWidthStaysInBounds()
    {
        const float brushWidth = 8.f + 2.f;
        float r = 8 * 0.09f;
        for (int step = 0; step < 60; ++step) {
            r = NextBrushRadius(r, step, 2.0, brushWidth);
            QVERIFY(r <= brushWidth && r >= 1.f);
        }
        QCOMPARE(r, brushWidth);
        for (int step = 60; step < 120; ++step) {
            r = NextBrushRadius(r, step, 25.0, brushWidth);
            QVERIFY(r <= brushWidth && r >= 1.f);
        }
        QCOMPARE(r, 1.f);
        // Full width for the first six steps whatever the speed.
        QCOMPARE(NextBrushRadius(1.f, 5, 50.0, brushWidth), brushWidth);
        QCOMPARE(NextBrushRadius(1.5f, 6, 50.0, brushWidth), 1.35f);
    }

    void brushStepAdvances()
    {
        QImage image = Blank();
        PointerSlotState s;
        s.pen = QPen(Qt::black, 6);
        Press(s, QPoint(50, 50));
        s.brushWidth = 8.f;
        s.brushRadius = 1.8f;
        s.brushDrawWidth = 0.54f;
        s.brushPoint = QPointF(50, 50);
        s.current = QPoint(80, 60);
        const QRect dirty = PaintBrushStep(image, s, SegmentPaintOptions());
        QCOMPARE(s.brushSteps, 1);
        QCOMPARE(s.brushDrawWidth, 8.f);
        QCOMPARE(s.lastSample, s.brushEndPoint);
        QCOMPARE(s.brushPoint, s.brushEndPoint);
        QVERIFY(dirty.contains(ChangedArea(Blank(), image)));
    }

    void lastSegmentRect()
    {
        PointerSlotState s;
        s.lastSample = QPointF(20, 30);
        s.current = QPoint(10, 50);
        QCOMPARE(LastSegmentRect(s), QRect(0, 20, 30, 40));
    }
};

QTEST_MAIN(SegmentPainterTest)
#include "segment_painter_test.moc"
