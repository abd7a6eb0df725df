#include <QtTest>

#include <QTcpServer>
#include <QTcpSocket>

#include "app/ui/dialog.h"
#include "collab/coll_frame.h"
#include "tests/support/session_tap.h"
#include "tests/support/test_folders.h"

#include <cmath>
#include <memory>

namespace {

// A stroke kept as a text fixture: "expect <figure>" and one "x y" per line.
struct HandStroke {
    QString expect;
    QVector<QPoint> points;
};

HandStroke ReadHandStroke(const QString& path)
{
    HandStroke stroke;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return stroke;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList parts = line.split(' ');
        if (parts.size() == 2 && parts[0] == "expect")
            stroke.expect = parts[1];
        else if (parts.size() == 2)
            stroke.points.append(QPoint(parts[0].toInt(), parts[1].toInt()));
    }
    return stroke;
}

QRect Box(const QVector<QPoint>& points)
{
    QRect box(points.first(), QSize(1, 1));
    for (const QPoint& p : points)
        box |= QRect(p, QSize(1, 1));
    return box;
}

int DarkGreyPixels(const QImage& image)
{
    const QRgb grey = QColor(Qt::darkGray).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += (line[x] & 0xFFFFFF) == (grey & 0xFFFFFF) ? 1 : 0;
    }
    return n;
}

QVector<QPoint> CircleStroke(QPoint centre, int radius, int count)
{
    QVector<QPoint> points;
    for (int i = 0; i < count; ++i) {
        const double a = 2 * M_PI * i / count;
        points.append(centre + QPoint(int(std::lround(radius * std::cos(a))), int(std::lround(-radius * std::sin(a)))));
    }
    return points;
}

}  // namespace

class SmartPenTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    Dialog* board = nullptr;

    // The smart pen as the draw row selects it: slot 0 draws free-pen
    // strokes under the key "ekSmart".
    void ChooseSmartPen()
    {
        board->m_board.slot[0].event_kind = EventKindFromName("ekSmart");
        board->m_board.slot[0].m_curr_drawbtn = "ekSmart";
    }

    void Draw(int slot, const QVector<QPoint>& path)
    {
        board->PointerPress(slot, path.first().x(), path.first().y(), true, false);
        for (int i = 1; i < path.size(); ++i)
            board->PointerMove(slot, path[i].x(), path[i].y(), true, false);
        board->PointerRelease(slot, path.last().x(), path.last().y(), true, false);
    }

    int ObjectCount() const
    {
        int n = 0;
        for (const PointerSlotState& s : board->m_board.slot)
            n += s.records.masters().size();
        return n;
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
        board->resize(1280, 800);
        board->InitBoardModel();
        board->ResetBoard(false);
        board->m_shapeRecognizer.LoadTemplates();
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board));
        QCOMPARE(board->HorizontalScrollValue(), 0);
        QCOMPARE(board->VerticalScrollValue(), 0);
        ChooseSmartPen();
    }

    void cleanup()
    {
        delete board;
        board = nullptr;
    }

    // Strokes as a hand draws them: circles and ellipses become the ellipse
    // of their box, rectangles begun at the top-left corner a rectangle from
    // the first point to the far corner, lines a line, triangles nothing.
    void handDrawnStrokes_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(DRAVIK_SOURCE_DIR "/tests/board/smart_strokes"));
        const QStringList files = dir.entryList({"*.txt"}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 20);
        for (const QString& f : files)
            QTest::newRow(qPrintable(f)) << dir.filePath(f);
    }

    void handDrawnStrokes()
    {
        QFETCH(QString, file);
        const HandStroke stroke = ReadHandStroke(file);
        QVERIFY(stroke.points.size() > 10);
        Draw(0, stroke.points);

        const QRect box = Box(stroke.points);
        const auto& records = board->m_board.slot[0].records;
        if (stroke.expect == "none") {
            QCOMPARE(ObjectCount(), 0);
            QVERIFY(board->m_undo.URList.isEmpty());
            return;
        }
        QCOMPARE(ObjectCount(), 1);
        const EventMaster& em = records.masters().first();
        const EventDetail& ed = records.details().first();
        const QPointF first = stroke.points.first();
        const QPointF last = stroke.points.last();
        auto near = [](QPointF a, QPointF b) { return QLineF(a, b).length() <= 10.0; };
        if (stroke.expect == "ellipse") {
            QCOMPARE(em.Kind, int(ekEllipse));
            QCOMPARE(ed.S, QPointF(box.topLeft()));
            QCOMPARE(ed.E, QPointF(box.right() + 1, box.bottom() + 1));
        } else if (stroke.expect == "rect") {
            QCOMPARE(em.Kind, int(ekRect));
            QCOMPARE(ed.S, first);
            QVERIFY2(near(ed.E, box.bottomRight()), qPrintable(QString("%1,%2").arg(ed.E.x()).arg(ed.E.y())));
        } else {
            QCOMPARE(stroke.expect, QString("line"));
            QCOMPARE(em.Kind, int(ekLine));
            QVERIFY((near(ed.S, first) && near(ed.E, last)) || (near(ed.S, last) && near(ed.E, first)));
        }
    }

    // The figure replaces the trace: one object, one undo step, no grey left,
    // and slot 0 is the smart pen again, so the next stroke is recognised too.
    void figureIsOneObjectAndPenStaysSmart()
    {
        const QVector<QPoint> circle = CircleStroke(QPoint(400, 300), 120, 90);
        board->PointerPress(0, circle.first().x(), circle.first().y(), true, false);
        for (const QPoint& p : circle.mid(1))
            board->PointerMove(0, p.x(), p.y(), true, false);
        QVERIFY(DarkGreyPixels(board->m_viewImage) > 0);  // the trace while drawing
        board->PointerRelease(0, circle.last().x(), circle.last().y(), true, false);

        QCOMPARE(ObjectCount(), 1);
        QCOMPARE(board->m_board.slot[0].records.masters().first().Kind, int(ekEllipse));
        QCOMPARE(board->m_undo.URList.size(), 1);
        QCOMPARE(board->m_undo.URList.first().Tool, int(ekEllipse));
        // The page holds its objects and nothing else: redrawn from them it
        // stays the same.
        const QImage shown = board->m_viewImage.copy();
        board->RedrawPageObjects(true);
        QVERIFY(board->m_viewImage == shown);
        QVERIFY(board->m_viewImage.pixelColor(281, 300) != QColor(Qt::white));
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekFree));
        QCOMPARE(board->m_board.slot[0].m_curr_drawbtn, QString("ekSmart"));
        QVERIFY(!board->m_smartReplay);

        Draw(0, CircleStroke(QPoint(900, 400), 80, 70));
        QCOMPARE(ObjectCount(), 2);
        QCOMPARE(board->m_board.slot[0].records.masters().last().Kind, int(ekEllipse));
        QCOMPARE(board->m_undo.URList.size(), 2);
    }

    // The window's second stage empties the buffer and loads the templates,
    // once; the window's own smart pen then recognises without further help.
    void secondStageLoadsTemplates()
    {
        ScopedFolderRoot libraries;
        qputenv("DRAVIK_LIBRARY_DIR", libraries.path().toLocal8Bit());
        Dialog window;
        QVERIFY(window.m_shapeRecognizer.templates().empty());
        window.m_board.smartPen.Start(QPoint(5, 5));
        window.InitDialog(false);
        qunsetenv("DRAVIK_LIBRARY_DIR");
        QCOMPARE(int(window.m_shapeRecognizer.templates().size()), 11);
        QCOMPARE(window.m_board.smartPen.count(), 0);
        QVERIFY(!window.m_board.smartPen.active());
        QCOMPARE(window.m_board.smartPen.last(), QPoint(0, 0));

        window.m_board.slot[0].m_curr_drawbtn = "ekSmart";
        const QVector<QPoint> circle = CircleStroke(QPoint(300, 250), 90, 60);
        window.PointerPress(0, circle.first().x(), circle.first().y(), true, false);
        for (const QPoint& p : circle)
            window.PointerMove(0, p.x(), p.y(), true, false);
        window.PointerRelease(0, circle.last().x(), circle.last().y(), true, false);
        QCOMPARE(window.m_board.slot[0].records.masters().size(), 1);
        QCOMPARE(window.m_board.slot[0].records.masters().first().Kind, int(ekEllipse));
    }

    // A stroke that stands for nothing leaves the page as it was.
    void triangleLeavesPage()
    {
        board->RedrawPageObjects(true);
        const QImage before = board->m_viewImage.copy();
        QVector<QPoint> triangle;
        const QPoint corners[] = {{400, 100}, {250, 350}, {560, 360}, {402, 104}};
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 30; ++i)
                triangle.append(corners[c] + (corners[c + 1] - corners[c]) * i / 30);
        triangle.append(corners[3]);
        Draw(0, triangle);
        QCOMPARE(ObjectCount(), 0);
        QVERIFY(board->m_undo.URList.isEmpty());
        QVERIFY(board->m_viewImage == before);
    }

    // Another touch slot's figure is replayed on that slot once; its press
    // does not start a capture of its own although slot 0 is still smart.
    void otherSlotDrawsOnce()
    {
        board->m_board.slot[4].event_kind = ekBrush;
        board->m_board.slot[4].m_curr_drawbtn = "ekBrush";
        Draw(4, CircleStroke(QPoint(600, 400), 100, 80));
        QCOMPARE(ObjectCount(), 1);
        QCOMPARE(board->m_board.slot[4].records.masters().size(), 1);
        QCOMPARE(board->m_board.slot[4].records.masters().first().Kind, int(ekEllipse));
        QCOMPARE(board->m_board.slot[4].event_kind, int(ekBrush));
        QCOMPARE(board->m_board.slot[4].m_curr_drawbtn, QString("ekBrush"));
        QVERIFY(!board->m_board.smartPen.active());
        QCOMPARE(board->m_undo.URList.size(), 1);
    }

    // The buffer stops collecting when full and keeps the release point on
    // its last entry: a very long stroke is still recognised.
    void veryLongStroke()
    {
        QVector<QPoint> path = CircleStroke(QPoint(500, 400), 150, 19000);
        path.append(path.first());
        for (int i = 0; i < 5999; ++i)
            path.append(path.first());  // the pen rests where the circle closes
        QCOMPARE(path.size(), 25000);
        Draw(0, path);
        QCOMPARE(board->m_board.smartPen.count(), SmartPenBuffer::kCapacity);
        QCOMPARE(board->m_board.smartPen.releasePoint(), path.last());
        QCOMPARE(ObjectCount(), 1);
        const EventDetail& ed = board->m_board.slot[0].records.details().first();
        QCOMPARE(ed.S, QPointF(350, 250));
        QCOMPARE(ed.E, QPointF(651, 551));
    }

    // A host tells its peers the figure's tool before the replay and its own
    // tool after it; alone, nothing is sent.
    void dataInfoAroundReplay_data()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("alone") << 0;
        QTest::newRow("host") << 3;
    }

    void dataInfoAroundReplay()
    {
        QFETCH(int, level);
        SessionTap tap(board, level, level != 0);
        QVERIFY(tap.ok());
        board->m_board.slot[0].nextEventId = 7;

        Draw(0, CircleStroke(QPoint(400, 300), 100, 80));
        QCOMPARE(ObjectCount(), 1);
        const QList<CollFrame> frames = tap.Frames();

        if (level == 0) {
            QVERIFY(frames.isEmpty());
            return;
        }
        QStringList keywords;
        for (const CollFrame& f : frames)
            keywords << QString::fromUtf8(f.keyword);
        // The figure's undo step tells the peers the host's new list position.
        QCOMPARE(keywords,
                 QStringList({"DATAINFO_SET", "REALTIME_EVENT", "REALTIME_EVENT", "URdata_SET", "DATAINFO_SET"}));
        const QStringList before = QString::fromUtf8(frames.first().data).split(',');
        const QStringList after = QString::fromUtf8(frames.last().data).split(',');
        QCOMPARE(before.size(), 25);
        QCOMPARE(before.mid(0, 3), QStringList({"0", "", QString::number(ekEllipse)}));
        QCOMPARE(before[13], QString("7"));
        QCOMPARE(before[24], QString("3"));
        QCOMPARE(after.mid(0, 3), QStringList({"0", "", QString::number(ekFree)}));
        QCOMPARE(after[13], QString("8"));
        QCOMPARE(QString::fromUtf8(frames[1].data).section(',', 0, 2), QString("10,0,1"));
        QCOMPARE(QString::fromUtf8(frames[2].data).section(',', 0, 2), QString("10,0,3"));
    }

    // The tool state a newcomer gets: its ID as the second field, then the
    // eleven tools, the eleven next EventIDs and the level value.
    void dataInfoFields()
    {
        SessionTap tap(board, 0);
        QVERIFY(tap.ok());
        board->m_board.slot[10].event_kind = ekLine;
        board->m_board.slot[10].nextEventId = 42;
        board->Coll_Send_DataInfo(1, "pupil-7", 2);
        const QList<CollFrame> frames = tap.Frames();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.first().keyword, QByteArray("DATAINFO_SET"));
        QCOMPARE(frames.first().tail, QByteArray("Block_EN\n"));
        QCOMPARE(frames.first().data, QByteArray("1,pupil-7,3,3,3,3,3,3,3,3,3,3,5,0,0,0,0,0,0,0,0,0,0,42,2"));
    }
};

QTEST_MAIN(SmartPenTest)
#include "smart_pen_test.moc"
