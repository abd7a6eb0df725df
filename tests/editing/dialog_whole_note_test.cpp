// The area eraser, move all and erase all in the main window, driven through
// the pointer primitives and the erase command.
#include <QtTest>

#include <memory>

#include "app/ui/dialog.h"
#include "board/figure_paths.h"
#include "tests/support/board_window.h"
#include "tests/support/test_folders.h"

namespace {

bool IsDark(QRgb pixel)
{
    return qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

int DarkIn(const QImage& image, QRect r)
{
    int n = 0;
    r = r.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += IsDark(image.pixel(x, y)) ? 1 : 0;
    return n;
}

}  // namespace

class DialogWholeNoteTest : public BoardWindowTest
{
    Q_OBJECT

    // The mouse's slot with the tool, and slot 0 too: move all follows
    // slot 0's tool.
    void UseTool(int kind)
    {
        board->m_board.slot[0].event_kind = kind;
        board->m_board.slot[kMouseOverflowSlot].event_kind = kind;
    }

    void Sweep(QPoint press, const QVector<QPoint>& moves)
    {
        board->PointerPress(kMouseOverflowSlot, press.x(), press.y(), true, false);
        for (const QPoint& p : moves)
            board->PointerMove(kMouseOverflowSlot, p.x(), p.y(), true, false);
        const QPoint last = moves.isEmpty() ? press : moves.last();
        board->PointerRelease(kMouseOverflowSlot, last.x(), last.y(), true, false);
    }

    EventDetail& Detail(int slot, quint16 id) { return *board->m_board.slot[slot].records.findDetail(id); }

    QStringList DeletedKeys()
    {
        QStringList keys;
        for (int s = 0; s < kPointerSlotCount; ++s)
            for (const EventDetail& ed : board->m_board.slot[s].records.details())
                if (ed.Deleted)
                    keys << MakeObjectKey(s, ed.EventID);
        return keys;
    }

    QVector<QPointF> Samples(const QString& key)
    {
        QVector<QPointF> points;
        for (const FreePenPoint& p : board->m_board.FreePenMap.value(key))
            points << p.M;
        return points;
    }

    QVector<QPointF> FullListSamples(int slot, quint16 id)
    {
        QVector<QPointF> points;
        for (const FreePenPoint& p : qAsConst(board->m_board.slot[slot].allPoints))
            if (p.EventID == id)
                points << p.M;
        return points;
    }

    // Three lines, a wide stroke, a hollow and a filled rectangle.
    void DrawEraserFixture()
    {
        for (int y : {100, 200, 300})
            Draw(0, ekLine, QPoint(100, y), QPoint(300, y));
        board->m_board.slot[1].pen.setWidth(20);
        Draw(1, ekFree, QPoint(100, 400), QPoint(300, 400), 20);
        Draw(2, ekRect, QPoint(400, 100), QPoint(600, 300));
        Draw(2, ekFillRect, QPoint(400, 350), QPoint(600, 450));
    }

    // An image object whose media index names no file.
    void AddImage(int slot, QRect rect, quint16 media)
    {
        PointerSlotState& s = board->m_board.slot[slot];
        EventMaster em;
        em.EventID = quint16(s.nextEventId++);
        em.Kind = ekImage;
        em.StrData = media;
        em.NoteName = board->m_curr_note.create_data;
        EventDetail ed;
        ed.EventID = em.EventID;
        ed.M = ed.S = rect.topLeft();
        ed.C = ed.E = rect.bottomRight();
        ed.BoundRF = ed.OriginRF = rect;
        s.records.appendMaster(em);
        s.records.appendDetail(ed);
    }

private slots:
    // What one sweep of the area eraser takes away: whatever the band of each
    // movement touches, one undo step per object, nothing beside it.
    void areaEraserSweeps_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QVector<QPoint>>("moves");
        QTest::addColumn<QStringList>("erased");
        QTest::newRow("one fast movement across three lines")
            << QPoint(200, 50) << QVector<QPoint>{{200, 350}} << QStringList{"0-0", "0-1", "0-2"};
        QTest::newRow("3 pixels beside a wide stroke")
            << QPoint(100, 403) << QVector<QPoint>{{200, 403}, {300, 403}} << QStringList();
        QTest::newRow("the same position twice, on a line")
            << QPoint(200, 100) << QVector<QPoint>{{200, 100}} << QStringList{"0-0"};
        QTest::newRow("across the stroke") << QPoint(150, 380) << QVector<QPoint>{{150, 420}} << QStringList{"1-0"};
        QTest::newRow("inside a hollow rectangle")
            << QPoint(450, 150) << QVector<QPoint>{{550, 250}} << QStringList();
        QTest::newRow("inside a filled rectangle")
            << QPoint(450, 380) << QVector<QPoint>{{550, 420}} << QStringList{"2-1"};
        QTest::newRow("over a line and back") << QPoint(250, 150) << QVector<QPoint>{{250, 250}, {250, 150}}
                                              << QStringList{"0-1"};
    }

    void areaEraserSweeps()
    {
        QFETCH(QPoint, press);
        QFETCH(QVector<QPoint>, moves);
        QFETCH(QStringList, erased);
        DrawEraserFixture();
        const int entries = board->m_undo.URList.size();
        const int steps = board->m_undo.URStepCount;
        UseTool(ekAreaEraser);
        Sweep(press, moves);
        QCOMPARE(DeletedKeys(), erased);
        QCOMPARE(board->m_undo.URList.size(), entries + erased.size());
        QCOMPARE(board->m_undo.URStepCount, steps + erased.size());
        for (int i = entries; i < board->m_undo.URList.size(); ++i) {
            QCOMPARE(board->m_undo.URList[i].Kind, int(URKindDelete));
            QCOMPARE(board->m_undo.URList[i].StepSize, 1);
        }
        for (const auto& s : board->m_board.slot)
            QVERIFY(s.erasePoints.isEmpty());
    }

    // Three objects erased by one movement are three steps: one undo brings
    // back only the last of them. The page shows what is left.
    void areaEraserUndoneOneByOne()
    {
        DrawEraserFixture();
        UseTool(ekAreaEraser);
        Sweep(QPoint(200, 50), {QPoint(200, 350)});
        QCOMPARE(DarkIn(board->m_viewImage, QRect(100, 95, 200, 210)), 0);
        board->OptUndo();
        QCOMPARE(DeletedKeys(), QStringList({"0-0", "0-1"}));
        QVERIFY(DarkIn(board->m_viewImage, QRect(100, 298, 200, 5)) > 100);
        QCOMPARE(DarkIn(board->m_viewImage, QRect(100, 95, 200, 10)), 0);
    }

    // While recording, each erased object logs one erase event with the
    // recording's time.
    void areaEraserLogsWhileRecording()
    {
        DrawEraserFixture();
        board->m_bRecording = true;
        board->m_rec_time.start();
        UseTool(ekAreaEraser);
        Sweep(QPoint(200, 50), {QPoint(200, 250)});
        const QVector<ErasePoint>& events = board->m_board.slot[0].erasePoints;
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[0].EventID, quint16(0));
        QCOMPARE(events[1].EventID, quint16(1));
        QVERIFY(events[1].MediaPos >= 0);
        QCOMPARE(events[1].GroupTotal, 1);
        QCOMPARE(events[1].BoundRF, Detail(0, 1).BoundRF);
        board->m_bRecording = false;
    }

    // A move-all drag is one step of move entries with the drag's total
    // offset, the pointer's step applied to the records as it is, whatever
    // the zoom; undo puts every object back.
    void moveAllDragIsOneStep_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QVector<QPoint>>("moves");
        QTest::addColumn<QPoint>("offset");
        QVector<QPoint> ten;
        for (int i = 1; i <= 10; ++i)
            ten << QPoint(500 + 3 * i, 500 + 2 * i);
        QTest::newRow("ten moves") << 1.0f << ten << QPoint(30, 20);
        QTest::newRow("back to the start") << 1.0f << QVector<QPoint>{{540, 510}, {500, 500}} << QPoint(0, 0);
        QTest::newRow("zoom 2, not divided") << 2.0f << QVector<QPoint>{{505, 500}, {510, 500}} << QPoint(10, 0);
    }

    void moveAllDragIsOneStep()
    {
        QFETCH(float, zoom);
        QFETCH(QVector<QPoint>, moves);
        QFETCH(QPoint, offset);
        Draw(0, ekLine, QPoint(100, 100), QPoint(200, 100));
        Draw(3, ekRect, QPoint(150, 150), QPoint(250, 200));
        Draw(1, ekFree, QPoint(100, 300), QPoint(200, 320), 10);
        if (zoom != 1.0f)
            board->ZoomByScale(zoom);
        const EventDetail line = Detail(0, 0);
        const EventDetail rect = Detail(3, 0);
        const QVector<QPointF> samples = Samples("1-0");
        const int entries = board->m_undo.URList.size();

        UseTool(ekMoveAll);
        Sweep(QPoint(500, 500), moves);
        const QVector<UndoRedo>& list = board->m_undo.URList;
        QCOMPARE(list.size(), entries + 3);
        for (int i = 0; i < 3; ++i) {
            const UndoRedo& e = list[entries + i];
            QCOMPARE(e.Kind, int(URKindMove));
            QCOMPARE(e.StepPlace, i + 1);
            QCOMPARE(e.StepSize, 3);
            QCOMPARE(e.Offset, offset);
        }
        QCOMPARE(Detail(0, 0).M, line.M + QPointF(offset));
        QCOMPARE(Detail(3, 0).BoundRF, rect.BoundRF.translated(offset));
        QVector<QPointF> moved;
        for (const QPointF& p : samples)
            moved << p + QPointF(offset);
        QCOMPARE(Samples("1-0"), moved);
        QCOMPARE(FullListSamples(1, 0), moved);

        board->OptUndo();
        QCOMPARE(Detail(0, 0).M, line.M);
        QCOMPARE(Detail(3, 0).C, rect.C);
        QCOMPARE(Detail(3, 0).BoundRF, rect.BoundRF);
        QCOMPARE(Samples("1-0"), samples);
        QCOMPARE(FullListSamples(1, 0), samples);
    }

    // The objects are seen at their new place while the pointer is still
    // down, and after the release.
    void moveAllShownWhileDragging()
    {
        Draw(0, ekLine, QPoint(100, 200), QPoint(300, 200));
        UseTool(ekMoveAll);
        board->PointerPress(kMouseOverflowSlot, 400, 400, true, false);
        board->PointerMove(kMouseOverflowSlot, 400, 430, true, false);
        board->PointerMove(kMouseOverflowSlot, 400, 460, true, false);
        QCOMPARE(DarkIn(board->m_viewImage, QRect(120, 195, 160, 10)), 0);
        QVERIFY(DarkIn(board->m_viewImage, QRect(120, 258, 160, 5)) > 100);
        board->PointerRelease(kMouseOverflowSlot, 400, 470, true, false);
        QCOMPARE(DarkIn(board->m_viewImage, QRect(120, 255, 160, 10)), 0);
        QVERIFY(DarkIn(board->m_viewImage, QRect(120, 268, 160, 5)) > 100);
        QVERIFY(DarkIn(board->m_canvasImage, QRect(120, 268, 160, 5)) > 100);
    }

    // An image whose media index names no file is moved in its records and
    // simply not painted.
    void moveAllMovesImageWithoutFile()
    {
        AddImage(4, QRect(100, 100, 80, 60), 7);
        UseTool(ekMoveAll);
        Sweep(QPoint(300, 300), {QPoint(320, 290)});
        QCOMPARE(Detail(4, 0).BoundRF, QRect(120, 90, 80, 60));
        QCOMPARE(Detail(4, 0).M, QPointF(120, 90));
        QCOMPARE(board->m_undo.URList.last().Offset, QPoint(20, -10));
    }

    // While recording, each object of the drag logs a modify event; the last
    // one carries the union of the previous bounds.
    void moveAllGroupRectWhileRecording()
    {
        Draw(0, ekLine, QPoint(100, 100), QPoint(200, 100));
        Draw(2, ekRect, QPoint(300, 300), QPoint(400, 380));
        const QRect first = Detail(0, 0).BoundRF;
        const QRect second = Detail(2, 0).BoundRF;
        board->m_bRecording = true;
        board->m_rec_time.start();
        UseTool(ekMoveAll);
        Sweep(QPoint(500, 500), {QPoint(510, 505)});
        board->m_bRecording = false;
        const QVector<ModifyPoint>& a = board->m_board.slot[0].modifyPoints;
        const QVector<ModifyPoint>& b = board->m_board.slot[2].modifyPoints;
        QCOMPARE(a.size(), 1);
        QCOMPARE(b.size(), 1);
        QCOMPARE(a[0].GroupRect, QRect(-1, -1, -1, -1));
        QCOMPARE(a[0].ModifyKind, 2);
        QCOMPARE(b[0].GroupIndex, 2);
        QCOMPARE(b[0].PrevBoundRF, second);
        QCOMPARE(b[0].GroupRect, NormalizeRect(NormalizeRect(first, first, 0), second, 0));
        QCOMPARE(Detail(2, 0).Modified, quint8(1));
    }

    // Erase all takes the note's strokes as one step and leaves images,
    // objects already deleted and the objects of other notes alone; while
    // recording each gets its erase event, the last with the group.
    void eraseAllOneStep()
    {
        Draw(0, ekFree, QPoint(100, 100), QPoint(200, 150), 6);
        Draw(1, ekFree, QPoint(100, 300), QPoint(200, 350), 6);
        AddImage(2, QRect(400, 100, 80, 60), kNoMediaIndex);
        Draw(3, ekLine, QPoint(100, 500), QPoint(300, 500));
        Detail(3, 0).Deleted = 1;
        Draw(4, ekLine, QPoint(500, 500), QPoint(700, 500));
        board->m_board.slot[4].records.editMasters()[0].NoteName = "another note";
        const int entries = board->m_undo.URList.size();
        board->m_bRecording = true;
        board->m_rec_time.start();
        board->NoteEraseAll(true);
        board->m_bRecording = false;

        QCOMPARE(DeletedKeys(), QStringList({"0-0", "1-0", "3-0"}));
        QCOMPARE(Detail(3, 0).PageDeleted, quint8(0));
        const QVector<UndoRedo>& list = board->m_undo.URList;
        QCOMPARE(list.size(), entries + 2);
        QCOMPARE(list[entries].StepPlace, 1);
        QCOMPARE(list[entries + 1].StepPlace, 2);
        QCOMPARE(list[entries + 1].StepSize, 2);
        QCOMPARE(list[entries + 1].EraseKind, 2);
        QCOMPARE(list[entries + 1].Deleted, quint8(0));  // as it was before
        const ErasePoint first = board->m_board.slot[0].erasePoints.value(0);
        const ErasePoint last = board->m_board.slot[1].erasePoints.value(0);
        QCOMPARE(board->m_board.slot[0].erasePoints.size(), 1);
        QCOMPARE(first.GroupRect, QRect(-1, -1, -1, -1));
        QCOMPARE(last.GroupIndex, 2);
        QCOMPARE(last.GroupRect, NormalizeRect(NormalizeRect(first.BoundRF, first.BoundRF, 0), last.BoundRF, 0));
        QVERIFY(board->m_board.slot[2].erasePoints.isEmpty());
    }

    // An empty note: nothing is recorded, the page is only drawn again.
    void eraseAllOnEmptyNote()
    {
        const int redraws = board->m_fullRedrawCount;
        board->NoteEraseAll(true);
        QVERIFY(board->m_undo.URList.isEmpty());
        QCOMPARE(board->m_fullRedrawCount, redraws + 1);
    }
};

QTEST_MAIN(DialogWholeNoteTest)
#include "dialog_whole_note_test.moc"
