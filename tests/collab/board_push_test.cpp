// The board push on both sides, without a window: what the host's walk
// sends, and what a participant rebuilds from it.
#include "collab/board_push.h"

#include <QtTest>

namespace {

const QString kPage = QStringLiteral("20260101120000000");
const QString kOtherPage = QStringLiteral("20260101120500000");

EventMaster Master(quint16 id, int kind, const QString& page, quint16 slot)
{
    EventMaster em;
    em.EventID = id;
    em.Kind = kind;
    em.NoteName = page;
    em.Slot = slot;
    em.MediaPos = 1234567;
    em.SCale = 1.5;
    return em;
}

EventDetail Detail(quint16 id, QPointF s, QPointF e, QRect bound)
{
    EventDetail ed;
    ed.EventID = id;
    ed.S = s;
    ed.E = e;
    ed.M = s;
    ed.C = e;
    ed.OriginRF = bound;
    ed.BoundRF = bound;
    ed.PenColor = QColor(10, 20, 30, 127);
    ed.PenWidth = 4;
    ed.Angle = 12.5f;
    ed.CanvasWidth = 960;
    ed.CanvasHeight = 540;
    for (int i = 0; i < 4; ++i)
        ed.AuxPoints[i] = QPoint(10 * i + 1, 10 * i + 2);
    return ed;
}

FreePenPoint Point(quint16 id, double x, double y, int action)
{
    FreePenPoint p;
    p.EventID = id;
    p.S = QPointF(x, y);
    p.M = QPointF(x + 1, y + 1);
    p.Press = 0.25f;
    p.MouseAction = action;
    return p;
}

// A stroke and a rectangle on the page shown, a deleted line of the writer,
// a stroke of another page, and a master record without its detail.
BoardModel HostBoard()
{
    BoardModel board;
    board.slot[0].records.appendMaster(Master(0, ekFree, kPage, 0));
    board.slot[0].records.appendDetail(Detail(0, QPointF(10, 20), QPointF(50, 60), QRect(10, 20, 41, 41)));
    board.FreePenMap.insert("0-0", {Point(0, 10, 20, 2), Point(0, 30, 40, 2), Point(0, 50, 60, 3)});
    board.slot[3].records.appendMaster(Master(0, ekRect, kPage, 3));
    board.slot[3].records.appendDetail(Detail(0, QPointF(100, 100), QPointF(200, 150), QRect(100, 100, 101, 51)));
    EventDetail deleted = Detail(4, QPointF(5, 5), QPointF(9, 9), QRect(5, 5, 5, 5));
    deleted.Deleted = 1;
    board.slot[10].records.appendMaster(Master(4, ekLine, kPage, 10));
    board.slot[10].records.appendDetail(deleted);
    board.slot[0].records.appendMaster(Master(1, ekFree, kOtherPage, 0));
    board.slot[0].records.appendDetail(Detail(1, QPointF(1, 1), QPointF(2, 2), QRect(1, 1, 2, 2)));
    board.FreePenMap.insert("0-1", {Point(1, 1, 1, 3)});
    board.slot[5].records.appendMaster(Master(9, ekBrush, kPage, 5));
    board.FreePenMap.insert("5-9", {Point(9, 7, 7, 3)});
    for (int s = 0; s < kPointerSlotCount; ++s) {
        board.slot[s].event_kind = s == 10 ? ekLine : ekFree;
        board.slot[s].nextEventId = s * 2;
    }
    return board;
}

struct Message {
    QByteArray keyword;
    QByteArray data;
};

QVector<Message> Push(const BoardModel& board, const coll::Address& to, int table)
{
    QVector<Message> messages;
    coll::ForEachPushMessage(board, kPage, to, table, [&](const char* keyword, const QByteArray& data) {
        messages.append({keyword, data});
    });
    return messages;
}

// Hands a push to a receiver the way the window's dispatch does.
void Receive(coll::BoardPushReceiver& receiver, const QVector<Message>& messages, coll::BoardScale scale,
             BoardModel& board)
{
    for (const Message& m : messages) {
        const coll::Fields fields(m.data);
        if (m.keyword == "DATA_CLEAR")
            receiver.Clear(fields.text(2), board);
        else if (m.keyword == "EMDATA_SET")
            receiver.AddMaster(fields, board);
        else if (m.keyword == "EDDATA_SET")
            receiver.AddDetail(fields, scale, board);
        else if (m.keyword == "FPDATA_SET")
            receiver.AddPoint(fields, scale, board);
    }
    receiver.Flush(board);
}

QStringList Keywords(const QVector<Message>& messages)
{
    QStringList list;
    for (const Message& m : messages)
        list << QString::fromUtf8(m.keyword);
    return list;
}

}  // namespace

class BoardPushTest : public QObject
{
    Q_OBJECT

private slots:
    // What each table sends, in order; points only for the page shown and
    // only for objects with their geometry; the newcomer's ID on every frame.
    void sending()
    {
        const BoardModel board = HostBoard();
        const QVector<Message> all = Push(board, coll::ToParticipant("[P]_10.0.0.9"), coll::kPushAll);
        QCOMPARE(Keywords(all), QStringList({"DATA_CLEAR", "EMDATA_SET", "EMDATA_SET", "EMDATA_SET", "EMDATA_SET",
                                             "EMDATA_SET", "EDDATA_SET", "EDDATA_SET", "EDDATA_SET", "EDDATA_SET",
                                             "FPDATA_SET", "FPDATA_SET", "FPDATA_SET"}));
        QCOMPARE(all[0].data, QByteArray("1,[P]_10.0.0.9,ALL"));
        for (const Message& m : all)
            QCOMPARE(coll::Fields(m.data).text(1), QStringLiteral("[P]_10.0.0.9"));
        QCOMPARE(coll::Fields(all[1].data).count(), 14);
        QCOMPARE(all[1].data, QByteArray("1,[P]_10.0.0.9,0,0,0,1.23457e+06,3,65535,1.5,0,0,0," + kPage.toUtf8() + ","));
        QCOMPARE(coll::Fields(all[6].data).count(), 41);
        // The writer's deleted line goes out like any other, flag set.
        QCOMPARE(coll::Fields(all[9].data).text(2), QStringLiteral("10"));
        QCOMPARE(coll::Fields(all[9].data).text(27), QStringLiteral("1"));
        QCOMPARE(all[12].data, QByteArray("1,[P]_10.0.0.9,0,0,0,-1,0.25,50,60,51,61,3"));

        QCOMPARE(Keywords(Push(board, coll::ToEveryone(), coll::kPushPoints)),
                 QStringList({"DATA_CLEAR", "FPDATA_SET", "FPDATA_SET", "FPDATA_SET"}));
        QCOMPARE(Push(board, coll::ToEveryone(), coll::kPushDetails).first().data, QByteArray("0,,ED"));
        QVERIFY(Push(board, coll::ToEveryone(), 4).isEmpty());
        const QVector<Message> empty = Push(BoardModel(), coll::ToEveryone(), coll::kPushAll);
        QCOMPARE(Keywords(empty), QStringList({"DATA_CLEAR"}));

        const coll::Fields info(coll::BoardDataInfo(BoardModel(), coll::ToEveryone(), 3));
        QCOMPARE(info.count(), 25);
        QCOMPARE(info.text(2), QString::number(ekFree));
        QCOMPARE(info.text(24), QStringLiteral("3"));
    }

    // A push received on a board twice as wide: the tables come out equal
    // to the host's, x doubled, corner points as they were.
    void receivingRebuildsTheTables()
    {
        const BoardModel host = HostBoard();
        BoardModel board;
        board.slot[2].records.appendMaster(Master(77, ekLine, kPage, 2));  // the participant's own, replaced
        coll::BoardPushReceiver receiver;
        const coll::BoardScale scale = coll::ScaleFromHost(QSize(1920, 1080), QSize(960, 1080));
        QCOMPARE(scale.x, 2.0);
        QCOMPARE(scale.y, 1.0);
        Receive(receiver, Push(host, coll::ToEveryone(), coll::kPushAll), scale, board);

        for (int s = 0; s < kPointerSlotCount; ++s) {
            const QVector<EventMaster>& want = host.slot[s].records.masters();
            const QVector<EventMaster>& got = board.slot[s].records.masters();
            QCOMPARE(got.size(), want.size());
            for (int i = 0; i < got.size(); ++i) {
                QCOMPARE(got[i].EventID, want[i].EventID);
                QCOMPARE(got[i].Kind, want[i].Kind);
                QCOMPARE(got[i].NoteName, want[i].NoteName);
                QCOMPARE(got[i].Slot, want[i].Slot);
                QCOMPARE(got[i].StrData, want[i].StrData);
                QCOMPARE(got[i].SCale, want[i].SCale);
            }
            QCOMPARE(board.slot[s].records.details().size(), host.slot[s].records.details().size());
        }
        const EventDetail& rect = board.slot[3].records.details().first();
        QCOMPARE(rect.S, QPointF(200, 100));
        QCOMPARE(rect.C, QPointF(400, 150));
        QCOMPARE(rect.BoundRF, QRect(200, 100, 202, 51));
        QCOMPARE(rect.PenColor, QColor(10, 20, 30, 127));
        QCOMPARE(rect.PenWidth, quint16(4));
        QCOMPARE(rect.Angle, 12.5f);
        QCOMPARE(rect.CanvasWidth, quint16(960));
        QCOMPARE(rect.AuxPoints[3], QPoint(31, 32));
        QCOMPARE(board.slot[10].records.details().first().Deleted, quint8(1));
        // Points of the page shown only; the release point closes the object.
        QCOMPARE(board.FreePenMap.keys(), QStringList({"0-0"}));
        const QVector<FreePenPoint> points = board.FreePenMap.value("0-0");
        QCOMPARE(points.size(), 3);
        QCOMPARE(points[1].S, QPointF(60, 40));
        QCOMPARE(points[1].M, QPointF(62, 41));
        QCOMPARE(points[1].Press, 0.25f);
        QCOMPARE(board.slot[0].allPoints.size(), 3);
    }

    // "FP" empties the point lists alone; unknown tables empty nothing.
    void clearingByTable()
    {
        BoardModel board = HostBoard();
        coll::BoardPushReceiver receiver;
        QVERIFY(receiver.Clear("FP", board));
        QVERIFY(board.FreePenMap.isEmpty());
        QCOMPARE(board.slot[0].records.masters().size(), 2);
        QCOMPARE(board.slot[0].records.details().size(), 2);
        QVERIFY(!receiver.Clear("all", board));
        QCOMPARE(board.slot[0].records.masters().size(), 2);
        QVERIFY(receiver.Clear("EM", board));
        QVERIFY(board.slot[0].records.masters().isEmpty());
        QCOMPARE(board.slot[0].records.details().size(), 2);
    }

    // A push takes no more than its limits; each table counts again from the
    // "DATA_CLEAR" that empties it, so leaving a table out of the clear does
    // not lift its limit.
    void pushIsBounded_data()
    {
        QTest::addColumn<int>("table");  // 0 masters, 1 details, 2 points
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("clearOther");  // a clear that leaves this table
        QTest::newRow("masters") << 0 << coll::kPushObjectLimit << "ED";
        QTest::newRow("details") << 1 << coll::kPushObjectLimit << "EM";
        QTest::newRow("free-pen samples") << 2 << coll::kPushPointLimit << "EM";
    }
    void pushIsBounded()
    {
        QFETCH(int, table);
        QFETCH(int, limit);
        BoardModel board;
        coll::BoardPushReceiver receiver;
        const coll::BoardScale same;
        const coll::Fields record(QByteArray(table == 2 ? "0,,0,0,3,-1,0,1,1,1,1,2" : "0,,1,0,7,0,3,0,1,0,0,0,,"));
        const auto add = [&]() {
            return table == 0 ? receiver.AddMaster(record, board)
                : table == 1  ? receiver.AddDetail(record, same, board)
                              : receiver.AddPoint(record, same, board);
        };
        QVERIFY(receiver.Clear("ALL", board));
        for (int i = 0; i < limit; ++i) {
            if (!add())
                QFAIL(qPrintable(QStringLiteral("record %1 refused").arg(i)));
        }
        QVERIFY(!receiver.overLimit());
        QVERIFY(!add());
        QVERIFY(receiver.overLimit());
        receiver.Flush(board);
        const int kept = table == 0 ? board.slot[1].records.masters().size()
            : table == 1            ? board.slot[1].records.details().size()
                                    : board.slot[0].allPoints.size();
        QCOMPARE(kept, limit);
        QFETCH(QString, clearOther);
        QVERIFY(receiver.Clear(clearOther, board));
        QVERIFY(!add());
        QVERIFY(receiver.Clear("ALL", board));
        QVERIFY(add());
    }

    // A point list without its release sample stays an object of its own.
    void pointListWithoutRelease()
    {
        BoardModel board;
        coll::BoardPushReceiver receiver;
        const coll::BoardScale same;
        QVERIFY(receiver.AddPoint(coll::Fields(QByteArray("0,,0,0,3,-1,0,1,1,1,1,2")), same, board));
        QVERIFY(receiver.AddPoint(coll::Fields(QByteArray("0,,0,0,3,-1,0,2,2,2,2,2")), same, board));
        QVERIFY(receiver.AddPoint(coll::Fields(QByteArray("0,,0,1,4,-1,0,5,5,5,5,2")), same, board));
        QVERIFY(receiver.AddPoint(coll::Fields(QByteArray("0,,0,1,4,-1,0,6,6,6,6,3")), same, board));
        QCOMPARE(board.FreePenMap.value("0-3").size(), 2);
        QCOMPARE(board.FreePenMap.value("0-4").size(), 2);
        // A slot change ends the staged object too; the end of the push stores the rest.
        receiver.AddPoint(coll::Fields(QByteArray("0,,1,0,5,-1,0,1,1,1,1,2")), same, board);
        receiver.AddPoint(coll::Fields(QByteArray("0,,2,0,5,-1,0,1,1,1,1,2")), same, board);
        QCOMPARE(board.FreePenMap.value("1-5").size(), 1);
        QCOMPARE(receiver.staged(), 1);
        receiver.Flush(board);
        QCOMPARE(board.FreePenMap.value("2-5").size(), 1);
    }

    void dataInfo_data()
    {
        QTest::addColumn<int>("selector");
        QTest::addColumn<QList<int>>("taken");
        QTest::newRow("host: all slots") << 3 << QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        QTest::newRow("writer: slot 10") << 2 << QList<int>({10});
        QTest::newRow("other: none") << 1 << QList<int>();
    }

    void dataInfo()
    {
        QFETCH(int, selector);
        QFETCH(QList<int>, taken);
        BoardModel host;
        for (int s = 0; s < kPointerSlotCount; ++s) {
            host.slot[s].event_kind = ekRect;
            host.slot[s].nextEventId = 100 + s;
        }
        BoardModel board;
        coll::BoardPushReceiver receiver;
        QCOMPARE(receiver.ApplyDataInfo(coll::Fields(coll::BoardDataInfo(host, coll::ToEveryone(), selector)), board),
                 !taken.isEmpty());
        for (int s = 0; s < kPointerSlotCount; ++s) {
            QCOMPARE(board.slot[s].event_kind, taken.contains(s) ? int(ekRect) : int(ekFree));
            QCOMPARE(board.slot[s].nextEventId, taken.contains(s) ? 100 + s : 0);
        }
    }

    // A slot outside 0..10 touches nothing; missing fields read as 0 or empty.
    void badAndShortRecords_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("slot 11") << QByteArray("0,,11,0,5,-1,3");
        QTest::newRow("slot -1") << QByteArray("0,,-1,0,5,-1,3");
        QTest::newRow("slot not a number") << QByteArray("0,,x,0,5,-1,3");
        QTest::newRow("no slot") << QByteArray("0,");
    }

    void badAndShortRecords()
    {
        QFETCH(QByteArray, data);
        BoardModel board;
        coll::BoardPushReceiver receiver;
        const coll::Fields fields(data);
        QVERIFY(!receiver.AddMaster(fields, board));
        QVERIFY(!receiver.AddDetail(fields, coll::BoardScale(), board));
        QVERIFY(!receiver.AddPoint(fields, coll::BoardScale(), board));
        receiver.Flush(board);
        for (const PointerSlotState& s : board.slot) {
            QVERIFY(s.records.masters().isEmpty());
            QVERIFY(s.records.details().isEmpty());
        }
        QVERIFY(board.FreePenMap.isEmpty());

        QVERIFY(receiver.AddDetail(coll::Fields(QByteArray("0,,4,0,7,1.5")), coll::BoardScale(), board));
        const EventDetail& ed = board.slot[4].records.details().first();
        QCOMPARE(ed.EventID, quint16(7));
        QCOMPARE(ed.S, QPointF(1.5, 0));
        QCOMPARE(ed.BoundRF, QRect(0, 0, 0, 0));
        QCOMPARE(ed.PenWidth, quint16(0));
        QVERIFY(receiver.AddMaster(coll::Fields(QByteArray("0,,4,0,7")), board));
        QCOMPARE(board.slot[4].records.masters().first().NoteName, QString());
    }
};

QTEST_MAIN(BoardPushTest)
#include "board_push_test.moc"
