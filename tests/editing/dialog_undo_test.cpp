// Undo and redo of whole steps in the main window: what each entry kind
// does to the records and the samples, the step borders, and the host's and
// the writer's share of a session, read from a loopback peer.
#include <QtTest>

#include <QPushButton>
#include <cmath>
#include <memory>

#include "app/ui/dialog.h"
#include "tests/support/board_window.h"
#include "tests/support/session_tap.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

class DialogUndoTest : public BoardWindowTest
{
    Q_OBJECT

    EventDetail& Detail(int slot, quint16 id) { return *board->m_board.slot[slot].records.findDetail(id); }
    const EventMaster& Master(int slot, quint16 id) { return *board->m_board.slot[slot].records.findMaster(id); }

    QVector<QPointF> MapPoints(int slot, quint16 id)
    {
        QVector<QPointF> points;
        for (const FreePenPoint& p : board->m_board.FreePenMap.value(MakeObjectKey(slot, id)))
            points << p.M;
        return points;
    }

    QVector<QPointF> FullListPoints(int slot, quint16 id)
    {
        QVector<QPointF> points;
        for (const FreePenPoint& p : qAsConst(board->m_board.slot[slot].allPoints))
            if (p.EventID == id)
                points << p.M;
        return points;
    }

    // An entry for an edit the test made itself: the object's records as they
    // are now and the geometry before.
    void Record(int kind, int slot, quint16 id, PreData before, QPoint offset = QPoint())
    {
        board->InsertURList(kind, slot, Master(slot, id), Detail(slot, id), ErasePoint(), before, 1, 1, offset);
    }

    void JoinSession(int level, const QString& toolRightHolder)
    {
        board->m_collUserLevel = level;
        board->m_ownId = "me";
        board->m_toolRightHolder = toolRightHolder;
    }

private slots:
    // The erase step of three objects comes back in one command and the
    // index moves back across all three; redo takes them away again.
    void eraseStepUndoneInOneCommand()
    {
        Draw(0, ekLine, QPoint(100, 100), QPoint(300, 100));
        Draw(0, ekLine, QPoint(100, 200), QPoint(300, 200));
        Draw(4, ekRect, QPoint(100, 300), QPoint(300, 350));
        board->NoteEraseAll(true);
        const int index = board->m_undo.URIndex;
        QCOMPARE(board->m_undo.URList.last().StepSize, 3);
        board->OptUndo();
        QCOMPARE(board->m_undo.URIndex, index - 3);
        QVERIFY(!Detail(0, 0).Deleted && !Detail(0, 1).Deleted && !Detail(4, 0).Deleted);
        QVERIFY(board->ui->redobtn->isEnabled());
        board->OptRedo();
        QCOMPARE(board->m_undo.URIndex, index);
        QVERIFY(Detail(0, 0).Deleted && Detail(0, 1).Deleted && Detail(4, 0).Deleted);
        QVERIFY(!board->ui->redobtn->isEnabled());
    }

    // Undo of a move shifts a stroke's samples back by the offset in the map
    // and in the full list alike; a rotation's offset is (0, 0). Either way
    // the samples lose their fractions, and redo shifts them forth again.
    void strokeMoveAndTurnFollowOffset_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("move") << int(URKindMove) << QPoint(7, -4);
        QTest::newRow("rotate") << int(URKindRotate) << QPoint(0, 0);
    }

    void strokeMoveAndTurnFollowOffset()
    {
        QFETCH(int, kind);
        QFETCH(QPoint, offset);
        const QVector<QPointF> after{{120.6, 140.3}, {150.2, 160.9}, {180.5, 141.5}};
        const quint16 id = AddStroke(2, after, QRect(120, 140, 61, 21));
        Detail(2, id).Angle = kind == URKindRotate ? 30.f : 0.f;
        PreData before;
        before.BoundRF = QRect(120, 140, 61, 21).translated(-offset);
        Record(kind, 2, id, before, offset);

        board->OptUndo();
        QVector<QPointF> expected;
        for (const QPointF& p : after)
            expected << QPointF(int(p.x()) - offset.x(), int(p.y()) - offset.y());
        QCOMPARE(MapPoints(2, id), expected);
        QCOMPARE(FullListPoints(2, id), expected);
        QCOMPARE(Detail(2, id).BoundRF, before.BoundRF);
        QCOMPARE(Detail(2, id).Angle, 0.f);

        board->OptRedo();
        for (QPointF& p : expected)
            p += offset;
        QCOMPARE(MapPoints(2, id), expected);
        QCOMPARE(FullListPoints(2, id), expected);
        QCOMPARE(Detail(2, id).BoundRF, QRect(120, 140, 61, 21));
    }

    // Undo maps a resized stroke's samples from the rectangle after the
    // resize onto the one before, redo maps them back, in both lists. An
    // axis without extent stays as it is instead of turning into infinities
    // that a save would write.
    void strokeResizeMapsSamples_data()
    {
        QTest::addColumn<QRect>("before");
        QTest::addColumn<QRect>("after");
        QTest::addColumn<QPointF>("sampleAfter");
        QTest::addColumn<QPointF>("sampleBefore");
        QTest::newRow("wider and flatter") << QRect(100, 100, 100, 100) << QRect(100, 100, 200, 50)
                                           << QPointF(300, 125) << QPointF(200, 150);
        QTest::newRow("no width before or after") << QRect(100, 100, 0, 100) << QRect(100, 100, 0, 200)
                                                  << QPointF(100, 300) << QPointF(100, 200);
        QTest::newRow("flattened to no height") << QRect(100, 100, 100, 100) << QRect(100, 150, 200, 0)
                                                << QPointF(300, 150) << QPointF(200, 150);
    }

    void strokeResizeMapsSamples()
    {
        QFETCH(QRect, before);
        QFETCH(QRect, after);
        QFETCH(QPointF, sampleAfter);
        QFETCH(QPointF, sampleBefore);
        const quint16 id = AddStroke(1, {after.topLeft(), sampleAfter}, after);
        PreData pd;
        pd.BoundRF = before;
        Record(URKindResize, 1, id, pd);

        board->OptUndo();
        QCOMPARE(MapPoints(1, id).last(), sampleBefore);
        QCOMPARE(FullListPoints(1, id), MapPoints(1, id));
        QCOMPARE(Detail(1, id).BoundRF, before);
        for (const QPointF& p : MapPoints(1, id))
            QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));

        board->OptRedo();
        QCOMPARE(MapPoints(1, id).last(), sampleAfter);
        QCOMPARE(FullListPoints(1, id), MapPoints(1, id));
        QCOMPARE(Detail(1, id).BoundRF, after);
    }

    // Undo of a creation sets both delete bytes; redo clears only Deleted.
    // Drawing after an undo drops the undone step: redo is refused.
    void creationFlagsAndRedoTail()
    {
        Draw(0, ekLine, QPoint(100, 100), QPoint(300, 100));
        Draw(0, ekLine, QPoint(100, 200), QPoint(300, 200));
        board->OptUndo();
        QCOMPARE(Detail(0, 1).Deleted, quint8(1));
        QCOMPARE(Detail(0, 1).PageDeleted, quint8(1));
        board->OptRedo();
        QCOMPARE(Detail(0, 1).Deleted, quint8(0));
        QCOMPARE(Detail(0, 1).PageDeleted, quint8(1));

        board->OptUndo();
        Draw(0, ekLine, QPoint(100, 300), QPoint(300, 300));
        const int size = board->m_undo.URList.size();
        QVERIFY(!board->ui->redobtn->isEnabled());
        board->OptRedo();
        QCOMPARE(Detail(0, 1).Deleted, quint8(1));
        QCOMPARE(board->m_undo.URList.size(), size);
        QCOMPARE(board->m_undo.URIndex, size - 1);
    }

    // Redo of a move marks the object modified although nothing is being
    // recorded; undo marks it only for a recording. Neither logs an event
    // without one.
    void redoOfMoveMarksModified()
    {
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        PreData before;
        before.M = Detail(0, 0).M - QPointF(10, 10);
        before.C = Detail(0, 0).C - QPointF(10, 10);
        before.BoundRF = Detail(0, 0).BoundRF.translated(-10, -10);
        Record(URKindMove, 0, 0, before, QPoint(10, 10));
        board->OptUndo();
        QCOMPARE(Detail(0, 0).Modified, quint8(0));
        QCOMPARE(Detail(0, 0).M, before.M);
        board->OptRedo();
        QCOMPARE(Detail(0, 0).Modified, quint8(1));
        QCOMPARE(Detail(0, 0).M, before.M + QPointF(10, 10));
        QVERIFY(board->m_board.slot[0].modifyPoints.isEmpty());
    }

    // An object gone from its slot in the middle of a step is passed over:
    // the others of the step come back, the index leaves the step whole,
    // and the next undo takes exactly the step before.
    void missingObjectMidStepFinishesStep()
    {
        for (int y : {100, 200, 300})
            Draw(0, ekLine, QPoint(100, y), QPoint(300, y));
        board->NoteEraseAll(true);
        QCOMPARE(board->m_undo.URIndex, 5);
        QVector<EventDetail>& details = board->m_board.slot[0].records.editDetails();
        details.remove(1);  // the object of the step's second entry
        board->OptUndo();
        QCOMPARE(board->m_undo.URIndex, 2);
        QVERIFY(!Detail(0, 0).Deleted);
        QVERIFY(!Detail(0, 2).Deleted);
        QVERIFY(board->ui->redobtn->isEnabled());
        board->OptUndo();
        QCOMPARE(board->m_undo.URIndex, 1);
        QVERIFY(Detail(0, 2).Deleted);
        QVERIFY(!Detail(0, 0).Deleted);
    }

    // A host's own stroke in progress is finished first and is the step the
    // undo takes back.
    void hostFinishesOwnStrokeFirst()
    {
        JoinSession(3, "me");
        Draw(0, ekLine, QPoint(100, 100), QPoint(300, 100));
        board->m_board.slot[2].event_kind = ekLine;
        board->PointerPress(2, 100, 300, true, false);
        board->PointerMove(2, 300, 300, true, false);
        board->OptUndo();
        QVERIFY(!board->m_board.slot[2].pressed);
        QCOMPARE(board->m_board.slot[2].records.details().size(), 1);
        QVERIFY(Detail(2, 0).Deleted);
        QVERIFY(!Detail(0, 0).Deleted);
        board->m_collUserLevel = 0;
    }

    // While the writer's stroke (slot 10) is down the host only asks the
    // writer to finish it, with the command's action, and changes nothing.
    void hostWaitsForWritersStroke_data()
    {
        QTest::addColumn<bool>("redo");
        QTest::newRow("undo") << false;
        QTest::newRow("redo") << true;
    }

    void hostWaitsForWritersStroke()
    {
        QFETCH(bool, redo);
        Draw(0, ekLine, QPoint(100, 100), QPoint(300, 100));
        if (redo)
            board->OptUndo();
        const int index = board->m_undo.URIndex;
        const quint8 deleted = Detail(0, 0).Deleted;
        JoinSession(3, "me");
        SessionTap peer(board, 3);
        QVERIFY(peer.ok());
        board->m_board.slot[kMouseOverflowSlot].pressed = true;
        redo ? board->OptRedo() : board->OptUndo();
        const QList<CollFrame> frames = peer.Frames();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].keyword, QByteArray("MouseRelease_SET"));
        QCOMPARE(frames[0].data, QByteArray(redo ? "0,,4" : "0,,3"));
        QCOMPARE(board->m_undo.URIndex, index);
        QCOMPARE(Detail(0, 0).Deleted, deleted);
        board->m_board.slot[kMouseOverflowSlot].pressed = false;
        board->m_collUserLevel = 0;
    }

    // The host tells the peers of every entry it undid, newest first, and
    // then of its list's new position.
    void hostUndoTellsPeers()
    {
        Draw(0, ekLine, QPoint(100, 100), QPoint(300, 100));
        Draw(0, ekLine, QPoint(100, 200), QPoint(300, 200));
        board->NoteEraseAll(true);
        JoinSession(3, "me");
        SessionTap peer(board, 3);
        QVERIFY(peer.ok());
        board->OptUndo();
        const QList<CollFrame> frames = peer.Frames();
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0].keyword, QByteArray("MODIFY_SET"));
        QCOMPARE(frames[0].data, QByteArray("2,0-1,1,0,1,1"));
        QCOMPARE(frames[1].data, QByteArray("2,0-0,0,0,1,1"));
        QCOMPARE(frames[2].keyword, QByteArray("URdata_SET"));
        QCOMPARE(frames[2].data, QByteArray("0,,1,4"));
        board->m_collUserLevel = 0;
    }

    // A writer holding the tool right asks the host and drops its selection;
    // without the tool right, and as a viewer, nothing happens at all.
    void writerAndViewerAsk_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("holder");
        QTest::addColumn<bool>("redo");
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("writer with the tool right, undo") << 2 << "me" << false << QByteArray("0,,3");
        QTest::newRow("writer with the tool right, redo") << 2 << "me" << true << QByteArray("0,,4");
        QTest::newRow("writer without the tool right") << 2 << "host" << false << QByteArray();
        QTest::newRow("viewer") << 1 << "me" << false << QByteArray();
    }

    void writerAndViewerAsk()
    {
        QFETCH(int, level);
        QFETCH(QString, holder);
        QFETCH(bool, redo);
        QFETCH(QByteArray, request);
        Draw(0, ekLine, QPoint(100, 100), QPoint(300, 100));
        board->m_select_id_str = QStringList{"0-0"};
        const int index = board->m_undo.URIndex;
        JoinSession(level, holder);
        SessionTap peer(board, level);
        QVERIFY(peer.ok());
        redo ? board->OptRedo() : board->OptUndo();
        const QList<CollFrame> frames = peer.Frames();
        QCOMPARE(frames.size(), request.isEmpty() ? 0 : 1);
        if (!request.isEmpty()) {
            QCOMPARE(frames[0].keyword, QByteArray("UndoRedo_SET"));
            QCOMPARE(frames[0].data, request);
            QVERIFY(board->m_select_id_str.isEmpty());
        } else {
            QCOMPARE(board->m_select_id_str, QStringList{"0-0"});
        }
        QCOMPARE(board->m_undo.URIndex, index);
        QVERIFY(!Detail(0, 0).Deleted);
        board->m_collUserLevel = 0;
    }
};

QTEST_MAIN(DialogUndoTest)
#include "dialog_undo_test.moc"
