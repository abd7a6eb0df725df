#include <QtTest>

#include "board/board_model.h"
#include "board/touch_slots.h"

class BoardRecordsTest : public QObject
{
    Q_OBJECT

private slots:
    void objectKeyParse_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("id");
        QTest::newRow("plain") << "3-17" << true << 3 << 17;
        QTest::newRow("mouse slot") << "10-0" << true << 10 << 0;
        QTest::newRow("slot out of range") << "11-0" << false << 0 << 0;
        QTest::newRow("negative slot") << "-1-2" << false << 0 << 0;
        QTest::newRow("id beyond 16 bits") << "2-65536" << false << 0 << 0;
        QTest::newRow("three parts") << "1-2-3" << false << 0 << 0;
        QTest::newRow("not decimal") << "1-2a" << false << 0 << 0;
        QTest::newRow("empty half") << "1-" << false << 0 << 0;
        QTest::newRow("signed half") << "+1-2" << false << 0 << 0;
    }

    void objectKeyParse()
    {
        QFETCH(QString, key);
        QFETCH(bool, valid);
        QFETCH(int, slot);
        QFETCH(int, id);
        int gotSlot = -7, gotId = -7;
        QCOMPARE(ParseObjectKey(key, &gotSlot, &gotId), valid);
        if (valid) {
            QCOMPARE(gotSlot, slot);
            QCOMPARE(gotId, id);
            QCOMPARE(MakeObjectKey(slot, id), key);
        } else {
            QCOMPARE(gotSlot, -7);
        }
    }

    void defaultsOfRecords()
    {
        const EventDetail ed;
        QVERIFY(ed.OriginRF.isNull() && ed.BoundRF.isNull());
        QVERIFY(!ed.PenColor.isValid());
        QCOMPARE(ed.AltRect, QRect(-1, -1, -1, -1));
        QCOMPARE(ed.AltSX, -1.0);
        const EventMaster em;
        QVERIFY(em.NoteName.isEmpty() && em.Extra.isEmpty());
        QVERIFY(ErasePoint().BoundRF.isNull() && ErasePoint().GroupRect.isNull());
    }

    // Lookups by EventID keep the "first match" meaning, also after the
    // tables were reordered, and copies stay independent.
    void lookupByEventId()
    {
        SlotRecords records;
        for (int i = 0; i < 5; ++i) {
            EventMaster em;
            em.EventID = quint16(i);
            em.Kind = 100 + i;
            records.appendMaster(em);
            EventDetail ed;
            ed.EventID = quint16(i);
            records.appendDetail(ed);
        }
        EventMaster dup;
        dup.EventID = 2;
        dup.Kind = 999;
        records.appendMaster(dup);
        QCOMPARE(records.findMaster(2)->Kind, 102);
        QCOMPARE(records.findMaster(42), nullptr);

        const EventDetail copy = *records.findDetail(3);
        records.findDetail(3)->Deleted = 1;
        QCOMPARE(copy.Deleted, quint8(0));

        std::reverse(records.editMasters().begin(), records.editMasters().end());
        QCOMPARE(records.masterIndex(2), 0);  // the duplicate is first now
        QCOMPARE(records.findMaster(2)->Kind, 999);
        QCOMPARE(records.masterIndex(4), 1);
    }

    void initBoardModel()
    {
        BoardModel board;
        board.slot[4].nextEventId = 9;
        board.slot[4].records.appendMaster(EventMaster());
        board.FreePenMap.insert("4-0", {});
        board.Init();
        for (const PointerSlotState& s : board.slot) {
            QCOMPARE(s.nextEventId, 0);
            QVERIFY(s.records.masters().isEmpty());
            QCOMPARE(s.event_kind, int(ekFree));
        }
        QVERIFY(board.FreePenMap.isEmpty());
    }

    // The stroke's samples are copied only where the slot's list has them:
    // never past its end, never over another stroke.
    void strokeSamplesCopiedWithinBounds()
    {
        auto sample = [](quint16 id, double x) {
            FreePenPoint p;
            p.EventID = id;
            p.M = QPointF(x, x);
            return p;
        };
        QVector<FreePenPoint> all = {sample(0, 0), sample(0, 0), sample(1, 0), sample(1, 0), sample(2, 0)};
        const QVector<FreePenPoint> edited = {sample(1, 7), sample(1, 8), sample(1, 9), sample(1, 10)};
        QCOMPARE(CopyStrokeMovePoints(all, 1, edited), 2);
        QCOMPARE(all[2].M, QPointF(7, 7));
        QCOMPARE(all[3].M, QPointF(8, 8));
        QCOMPARE(all[4].M, QPointF(0, 0));  // another stroke's sample
        QCOMPARE(CopyStrokeMovePoints(all, 2, edited), 1);
        QCOMPARE(all[4].M, QPointF(7, 7));
        // A stroke missing from the list starts at 0 and touches only its own.
        QCOMPARE(CopyStrokeMovePoints(all, 9, edited), 0);
        QVector<FreePenPoint> empty;
        QCOMPARE(CopyStrokeMovePoints(empty, 0, edited), 0);
    }

    void touchSlotClaims()
    {
        TouchSlotTable table;
        for (int i = 0; i < 10; ++i)
            QCOMPARE(table.Claim(100 + i), i);
        QCOMPARE(table.Claim(200), -1);
        QCOMPARE(table.SlotOfTouch(105), 5);
        QCOMPARE(table.SlotOfTouch(200), -1);

        table[3].current = QPointF(12.5, 7);
        table[3].first = QPointF(1, 1);
        table.Release(3);
        QCOMPARE(table[3].current, QPointF(12.5, 7));
        QCOMPARE(table[3].first, QPointF(0, 0));
        QCOMPARE(table[3].touchId, -1);
        QCOMPARE(table.Claim(300), 3);
        QCOMPARE(table.Claim(301), -1);
        QVERIFY(!table[10].used);
    }

    void touchSlotReleaseOutOfRangeIgnored()
    {
        TouchSlotTable table;
        table.Claim(1);
        table.Release(-1);
        table.Release(11);
        table.Release(1000000);
        QVERIFY(table[0].used);
        table.ReleaseAll();
        QCOMPARE(table.Claim(5), 0);
    }

    // The smart pen never writes past its 20000 points and keeps the newest.
    void smartPenBufferBounded()
    {
        SmartPenBuffer buffer;
        buffer.Start(QPoint(1, 1));
        for (int i = 0; i < SmartPenBuffer::kCapacity + 500; ++i)
            buffer.Append(QPoint(i, i));
        QCOMPARE(buffer.count(), SmartPenBuffer::kCapacity);
        QCOMPARE(buffer.points().size(), SmartPenBuffer::kCapacity);
        const QPoint newest(SmartPenBuffer::kCapacity + 499, SmartPenBuffer::kCapacity + 499);
        QCOMPARE(buffer.at(SmartPenBuffer::kCapacity - 1), newest);
        buffer.Finish(QPoint(-5, -5));
        QCOMPARE(buffer.at(SmartPenBuffer::kCapacity - 1), QPoint(-5, -5));
        QCOMPARE(buffer.last(), QPoint(-5, -5));

        buffer.Start(QPoint(2, 2));
        buffer.Append(QPoint(3, 3));
        buffer.Finish(QPoint(4, 4));
        QCOMPARE(buffer.count(), 2);
        QCOMPARE(buffer.at(2), QPoint(4, 4));
    }
};

QTEST_GUILESS_MAIN(BoardRecordsTest)
#include "board_records_test.moc"
