// Taking one object off the page or putting it back (an erase, an undo, a
// redo) repaints the page layer only where the object lies, and leaves the
// very pixels a full redraw of the page paints, whatever lies under and over
// the object.
#include <QtTest>

#include <QPainter>

#include <cmath>

#include "app/ui/dialog.h"
#include "board/page_render.h"
#include "tests/support/board_window.h"
#include "ui_dialog.h"

class LayerRepaintTest : public BoardWindowTest
{
    Q_OBJECT

    void DrawPath(int kind, QColor colour, int width, const QVector<QPoint>& path)
    {
        PointerSlotState& s = board->m_board.slot[0];
        s.event_kind = kind;
        s.pen = QPen(QBrush(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        board->PointerPress(0, path.first().x(), path.first().y(), true, false);
        for (int i = 1; i < path.size(); ++i)
            board->PointerMove(0, path[i].x(), path[i].y(), true, false);
        board->PointerRelease(0, path.last().x(), path.last().y(), true, false);
    }

    // A wavy run of `moves` moves from `from` by `step` each.
    static QVector<QPoint> Wave(QPoint from, int moves, QPoint step)
    {
        QVector<QPoint> path{from};
        for (int i = 1; i <= moves; ++i)
            path << from + i * step + QPoint(int(14 * std::sin(i * 0.5)), int(14 * std::cos(i * 0.4)));
        return path;
    }

    // The whole page as a full redraw paints it, apart from the window.
    QImage FullRedraw() const
    {
        QImage page = board->m_backgroundImage.copy();
        const double zoom = board->m_zoom;
        const ImageObjectPainter paintImage = [zoom](QImage& target, const QString& file, const EventDetail& ed) {
            PaintImageObject(target, file, ed, zoom);
        };
        PaintPageObjects(page, board->m_board, board->m_curr_note.create_data, true, board->m_mediaFiles,
                         paintImage, board->RenderOptions());
        return page;
    }

    static QString FirstDifference(const QImage& shown, const QImage& expected)
    {
        if (shown.size() != expected.size())
            return QString("size %1x%2, expected %3x%4")
                .arg(shown.width()).arg(shown.height()).arg(expected.width()).arg(expected.height());
        const QImage a = shown.convertToFormat(QImage::Format_ARGB32);
        const QImage b = expected.convertToFormat(QImage::Format_ARGB32);
        int count = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < a.height(); ++y) {
            const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                if (pa[x] != pb[x]) {
                    if (count++ == 0)
                        first = QPoint(x, y);
                }
            }
        }
        if (count == 0)
            return QString();
        return QString("%1 pixels differ, first at (%2, %3): %4 instead of %5")
            .arg(count).arg(first.x()).arg(first.y())
            .arg(a.pixel(first), 8, 16, QChar('0')).arg(b.pixel(first), 8, 16, QChar('0'));
    }

    // The layer and the view hold exactly what a full redraw paints, and no
    // full redraw was made to get there.
    void ExpectRepaintedAsRedraw(const char* step, int fullRedraws)
    {
        QCOMPARE(board->m_fullRedrawCount, fullRedraws);
        const QImage expected = FullRedraw();
        const QString layer = FirstDifference(board->m_canvasImage, expected);
        QVERIFY2(layer.isEmpty(), qPrintable(QString("%1, page layer: %2").arg(step, layer)));
        const QString view = FirstDifference(board->m_viewImage, expected.copy(board->PageViewRect()));
        QVERIFY2(view.isEmpty(), qPrintable(QString("%1, view: %2").arg(step, view)));
    }

    bool IsDeleted(quint16 id) { return board->m_board.slot[0].records.findDetail(id)->Deleted != 0; }

    int DeletedCount()
    {
        int n = 0;
        for (const EventDetail& ed : board->m_board.slot[0].records.details())
            n += ed.Deleted ? 1 : 0;
        return n;
    }

private slots:
    void eraseUndoRedoRepaintOnlyTheObject_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<float>("angle");
        const QColor solid(0, 140, 0);
        const QColor translucent(0, 160, 0, 120);
        for (double zoom : {1.0, 2.0}) {
            const QString z = zoom == 1.0 ? QString() : QStringLiteral(", zoomed");
            auto row = [&](const char* name) -> QTestData& { return QTest::newRow(qPrintable(QString(name) + z)); };
            row("pen stroke") << int(ekFree) << solid << zoom << 0.f;
            row("translucent stroke") << int(ekFree) << translucent << zoom << 0.f;
            row("turned stroke") << int(ekFree) << solid << zoom << 20.f;
            row("brush stroke") << int(ekBrush) << solid << zoom << 0.f;
            row("filled translucent rectangle") << int(ekFillRect) << translucent << zoom << 0.f;
            row("turned ellipse") << int(ekEllipse) << solid << zoom << 25.f;
            row("arrow") << int(ekEArrow) << solid << zoom << 0.f;
            row("image") << int(ekImage) << solid << zoom << 0.f;
        }
    }

    // The object lies between strokes and figures drawn before and after it,
    // and reaches alone below them, where the eraser takes it.
    void eraseUndoRedoRepaintOnlyTheObject()
    {
        QFETCH(int, kind);
        QFETCH(QColor, colour);
        QFETCH(double, zoom);
        QFETCH(float, angle);
        if (zoom != 1.0)
            board->ZoomByScale(float(zoom));

        DrawPath(ekFree, QColor(200, 0, 0), 8, Wave(QPoint(200, 250), 36, QPoint(10, 0)));
        DrawPath(ekFree, QColor(0, 0, 255, 110), 14, Wave(QPoint(220, 290), 36, QPoint(10, 0)));
        const quint16 target = quint16(board->m_board.slot[0].nextEventId);
        switch (kind) {
        case ekFree:
        case ekBrush:
            DrawPath(kind, colour, 6, Wave(QPoint(300, 180), 30, QPoint(4, 10)));
            break;
        case ekImage: {
            QImage picture(160, 280, QImage::Format_RGB32);
            picture.fill(QColor(240, 200, 40));
            QPainter(&picture).fillRect(20, 20, 60, 200, QColor(20, 20, 90));
            const QString file = root->path() + "/picture.png";
            QVERIFY(picture.save(file));
            board->m_dropPosition = QPoint(380, 330);
            board->m_dropPositionPending = true;
            board->InsertImageObject(file, 0, QString());
            break;
        }
        default:
            DrawPath(kind, colour, 5, {QPoint(300, 200), QPoint(380, 330), QPoint(460, 470)});
            break;
        }
        QCOMPARE(int(board->m_board.slot[0].nextEventId), target + 1);
        DrawPath(ekBrush, QColor(0, 0, 0), 10, Wave(QPoint(240, 330), 36, QPoint(10, 0)));
        DrawPath(ekFillEllipse, QColor(120, 0, 120, 100), 3, {QPoint(330, 250), QPoint(520, 400)});
        if (angle != 0.f) {
            board->m_board.slot[0].records.findDetail(target)->Angle = angle;
            board->RedrawPageObjects(true);
        }
        const int fullRedraws = board->m_fullRedrawCount;

        board->EraseObjectsAlongPath(250, 455, 560, 455, true);
        QVERIFY(IsDeleted(target));
        QCOMPARE(DeletedCount(), 1);
        ExpectRepaintedAsRedraw("erased", fullRedraws);

        board->OptUndo();
        QCOMPARE(DeletedCount(), 0);
        ExpectRepaintedAsRedraw("erase undone", fullRedraws);

        board->OptRedo();
        QVERIFY(IsDeleted(target));
        ExpectRepaintedAsRedraw("erase redone", fullRedraws);

        board->OptUndo();
        DrawPath(ekFree, QColor(0, 90, 160, 160), 12, Wave(QPoint(250, 200), 30, QPoint(6, 8)));
        ExpectRepaintedAsRedraw("stroke over it", fullRedraws);
        board->OptUndo();
        ExpectRepaintedAsRedraw("that stroke undone", fullRedraws);
        QCOMPARE(DeletedCount(), 1);
    }
};

QTEST_MAIN(LayerRepaintTest)
#include "layer_repaint_test.moc"
