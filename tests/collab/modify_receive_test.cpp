// A peer's object edits applied to the board records, without a window:
// scaling by own and sender level, move, resize, delete and restore,
// rotation, the host's undo entries, and the messages that name no object.
#include "collab/modify_receive.h"

#include <QtTest>

#include <functional>

namespace {

const QString kPage = QStringLiteral("20260101120000000");
const QString kOtherPage = QStringLiteral("20260101120500000");
const QString kRectKey = QStringLiteral("0-0");    // a rectangle, slot 0
const QString kStrokeKey = QStringLiteral("1-0");  // a free-pen stroke, slot 1

void AddObject(BoardModel& board, int slot, int kind, QPointF m, QPointF c, QRect bound, const QString& page)
{
    PointerSlotState& s = board.slot[slot];
    EventMaster em;
    em.EventID = quint16(s.nextEventId++);
    em.Kind = kind;
    em.NoteName = page;
    em.Slot = quint16(slot);
    EventDetail ed;
    ed.EventID = em.EventID;
    ed.S = m;
    ed.E = c;
    ed.M = m;
    ed.C = c;
    ed.BoundRF = bound;
    ed.OriginRF = bound;
    s.records.appendMaster(em);
    s.records.appendDetail(ed);
}

// A rectangle in slot 0 and a stroke with two samples in slot 1.
BoardModel Board()
{
    BoardModel board;
    AddObject(board, 0, ekRect, QPointF(100, 100), QPointF(300, 200), QRect(100, 100, 200, 100), kPage);
    AddObject(board, 1, ekFree, QPointF(), QPointF(), QRect(100, 100, 200, 100), kPage);
    QVector<FreePenPoint> samples(2);
    samples[0].S = samples[0].M = QPointF(200, 150);
    samples[1].S = samples[1].M = QPointF(100.7, 100.2);
    samples[1].MouseAction = 3;
    board.FreePenMap.insert(kStrokeKey, samples);
    board.slot[1].allPoints = samples;
    return board;
}

coll::ModifyContext Context(int ownLevel, QSize local = QSize(1920, 1080), QSize host = QSize(),
                            QSize writer = QSize())
{
    coll::ModifyContext c;
    c.ownLevel = ownLevel;
    c.local = local;
    c.host = host;
    c.writer = writer;
    c.currentPage = kPage;
    return c;
}

const EventDetail& Rect(const BoardModel& b) { return b.slot[0].records.details().at(0); }
const EventDetail& Stroke(const BoardModel& b) { return b.slot[1].records.details().at(0); }
QPointF Sample(const BoardModel& b, int i) { return b.FreePenMap.value(kStrokeKey).at(i).M; }

}  // namespace

using Check = std::function<void(const BoardModel&, const coll::ModifyOutcome&)>;
Q_DECLARE_METATYPE(Check)
Q_DECLARE_METATYPE(coll::ModifyContext)

class ModifyReceiveTest : public QObject
{
    Q_OBJECT

private slots:
    void rounding_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("rounded");
        QTest::newRow("unscaled") << 10 << 1.0 << 10;
        QTest::newRow("negative toward zero") << -10 << 1.0 << -9;
        QTest::newRow("two thirds") << 300 << 2.0 / 3.0 << 200;
        QTest::newRow("far outside any board") << 2000000000 << 10.0 << 10000000;
    }
    void rounding()
    {
        QFETCH(int, value);
        QFETCH(double, factor);
        QTEST(coll::RoundScaled(value, factor), "rounded");
    }

    // Which remote board the factors come from, by own and sender level.
    void scaleChoice_data()
    {
        QTest::addColumn<int>("ownLevel");
        QTest::addColumn<int>("senderLevel");
        QTest::addColumn<double>("x");
        const QSize host(3840, 2160);   // factor 0.5
        const QSize writer(960, 540);   // factor 2
        Q_UNUSED(host);
        Q_UNUSED(writer);
        QTest::newRow("viewer, from the host") << 1 << 3 << 0.5;
        QTest::newRow("viewer, from the writer") << 1 << 2 << 2.0;
        QTest::newRow("viewer, from anyone else") << 1 << 1 << 1.0;
        QTest::newRow("writer, whatever the sender says") << 2 << 2 << 0.5;
        QTest::newRow("host, whatever the sender says") << 3 << 3 << 2.0;
        QTest::newRow("alone") << 0 << 3 << 1.0;
    }
    void scaleChoice()
    {
        QFETCH(int, ownLevel);
        QFETCH(int, senderLevel);
        const coll::BoardScale scale =
            coll::ModifyScale(Context(ownLevel, QSize(1920, 1080), QSize(3840, 2160), QSize(960, 540)), senderLevel);
        QTEST(scale.x, "x");
        QCOMPARE(scale.x, scale.y);
        // An unknown remote size leaves the factors at 1.
        QCOMPARE(coll::ModifyScale(Context(ownLevel), senderLevel).x, 1.0);
    }

    // One row per edge case: the message, the board it lands on, and what
    // must hold afterwards.
    void edits_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<coll::ModifyContext>("context");
        QTest::addColumn<bool>("host");
        QTest::addColumn<Check>("check");

        QTest::newRow("move, equal boards")
            << "0,0-0,0,10,-10,110,90,310,90,310,190,110,190,1,1,3" << Context(3) << true
            << Check([](const BoardModel& b, const coll::ModifyOutcome& o) {
                   QCOMPARE(Rect(b).M, QPointF(110.5, 90.5));
                   QCOMPARE(Rect(b).C, QPointF(310.5, 190.5));
                   QCOMPARE(Rect(b).BoundRF, QRect(110, 90, 200, 100));
                   QVERIFY(o.cornersSet);
                   QCOMPARE(o.corners[0], QPoint(110, 90));
                   QCOMPARE(o.corners[2], QPoint(310, 190));
                   QCOMPARE(o.undo.size(), 1);
                   QCOMPARE(o.undo[0].kind, 3);
                   QCOMPARE(o.undo[0].offset, QPoint(10, -9));
                   QCOMPARE(o.undo[0].before.M, QPointF(100, 100));
                   QCOMPARE(o.undo[0].detail.M, QPointF(110.5, 90.5));
               });
        QTest::newRow("move on a smaller viewer board, from the host")
            << "0,0-0,0,30,0,300,150,600,150,600,300,300,300,2,5,3"
            << Context(1, QSize(1280, 720), QSize(1920, 1080)) << false
            << Check([](const BoardModel& b, const coll::ModifyOutcome& o) {
                   QCOMPARE(o.corners[0], QPoint(200, 100));
                   QCOMPARE(Rect(b).M, QPointF(120.5, 100.5));  // offset 20.5
                   QVERIFY(o.undo.isEmpty());
               });
        QTest::newRow("move before any board size, on a writer")
            << "0,0-0,0,10,10,9,9,9,9,9,9,9,9,1,1,3" << Context(2) << false
            << Check([](const BoardModel& b, const coll::ModifyOutcome&) {
                   QCOMPARE(Rect(b).M, QPointF(110.5, 110.5));
               });
        QTest::newRow("move of a stroke moves its samples, not their S")
            << "0,1-0,0,5,5,105,105,305,105,305,205,105,205,1,1,3" << Context(3) << true
            << Check([](const BoardModel& b, const coll::ModifyOutcome& o) {
                   Q_UNUSED(o);
                   QCOMPARE(Sample(b, 0), QPointF(205.5, 155.5));
                   QCOMPARE(Sample(b, 1), QPointF(105.5, 105.5));  // truncated first
                   QCOMPARE(b.FreePenMap.value(kStrokeKey).at(1).S, QPointF(100.7, 100.2));
                   QCOMPARE(b.slot[1].allPoints.at(0).M, QPointF(205.5, 155.5));
                   QCOMPARE(Stroke(b).BoundRF, QRect(105, 105, 200, 100));
               });
        QTest::newRow("resize maps a stroke's samples")
            << "1,1-0,0,100,100,400,200,2,3,3" << Context(3) << true
            << Check([](const BoardModel& b, const coll::ModifyOutcome& o) {
                   QCOMPARE(Sample(b, 0), QPointF(300, 200));
                   QCOMPARE(b.FreePenMap.value(kStrokeKey).at(0).S, QPointF(200, 150));
                   QCOMPARE(Stroke(b).BoundRF, QRect(100, 100, 400, 200));
                   QCOMPARE(o.undo.size(), 1);
                   QCOMPARE(o.undo[0].kind, 4);
                   QCOMPARE(o.undo[0].place, 1);  // whatever the message says
                   QCOMPARE(o.undo[0].size, 1);
                   QCOMPARE(o.undo[0].before.BoundRF, QRect(100, 100, 200, 100));
                   QCOMPARE(o.logLines.size(), 2);
                   QCOMPARE(o.logLines[0], QStringLiteral("Resize: reX=100, reY=100, reW=400, reH=200"));
                   QCOMPARE(o.logLines[1], QStringLiteral("Resize: edX=100, edY=100, edW=200, edH=100"));
               });
        QTest::newRow("resize maps a figure's points")
            << "1,0-0,0,100,100,400,200,1,1,3" << Context(3) << false
            << Check([](const BoardModel& b, const coll::ModifyOutcome&) {
                   QCOMPARE(Rect(b).M, QPointF(100, 100));
                   QCOMPARE(Rect(b).C, QPointF(500, 300));
               });
        QTest::newRow("resize of a deleted stroke changes its rectangle only")
            << "1,1-0,0,100,100,400,200,1,1,3" << Context(3) << true
            << Check([](const BoardModel& b, const coll::ModifyOutcome& o) {
                   QCOMPARE(Stroke(b).BoundRF, QRect(100, 100, 400, 200));
                   QCOMPARE(Sample(b, 0), QPointF(200, 150));
                   QVERIFY(o.undo.isEmpty());
               });
        QTest::newRow("resize from a rectangle without width")
            << "1,0-0,0,50,50,100,100,1,1,3" << Context(3) << true
            << Check([](const BoardModel& b, const coll::ModifyOutcome&) {
                   QCOMPARE(Rect(b).BoundRF, QRect(50, 50, 100, 100));
                   QCOMPARE(Rect(b).M, QPointF(100, 100));
                   QCOMPARE(Rect(b).C, QPointF(300, 200));
               });
        QTest::newRow("delete, then the host's entry holds the flag before")
            << "2,0-0,0,1,1,2" << Context(3) << true
            << Check([](const BoardModel& b, const coll::ModifyOutcome& o) {
                   QCOMPARE(int(Rect(b).Deleted), 1);
                   QCOMPARE(o.undo.size(), 1);
                   QCOMPARE(o.undo[0].kind, 2);
                   QCOMPARE(int(o.undo[0].detail.Deleted), 0);
                   QCOMPARE(o.undo[0].erase.EraseKind, 2);  // part of a step of two
                   QCOMPARE(o.undo[0].place, 1);
                   QCOMPARE(o.undo[0].size, 2);
               });
        QTest::newRow("rotate")
            << "3,0-0,0,45,1,1" << Context(3) << true
            << Check([](const BoardModel& b, const coll::ModifyOutcome& o) {
                   QCOMPARE(Rect(b).Angle, 45.f);
                   QCOMPARE(Rect(b).M, QPointF(100, 100));
                   QCOMPARE(Rect(b).BoundRF, QRect(100, 100, 200, 100));
                   QVERIFY(o.angleSet);
                   QCOMPARE(o.angle, 45.f);
                   QCOMPARE(o.undo.size(), 1);
                   QCOMPARE(o.undo[0].kind, 5);
                   QCOMPARE(o.undo[0].before.Angle, 0.f);
               });
    }
    void edits()
    {
        QFETCH(QString, data);
        QFETCH(coll::ModifyContext, context);
        QFETCH(bool, host);
        QFETCH(Check, check);
        BoardModel board = Board();
        if (QByteArray(QTest::currentDataTag()).contains("deleted"))
            board.slot[1].records.editDetails()[0].Deleted = 1;
        if (QByteArray(QTest::currentDataTag()).contains("without width"))
            board.slot[0].records.editDetails()[0].BoundRF = QRect(100, 100, 0, 100);
        const coll::ModifyOutcome outcome = coll::ApplyModify(board, coll::Fields(data), context, host);
        QVERIFY2(outcome.dropped.isEmpty(), qPrintable(outcome.dropped));
        QVERIFY(outcome.changedRecords > 0);
        check(board, outcome);
    }

    void deleteWithFlagZeroRestores()
    {
        BoardModel board = Board();
        board.slot[0].records.editDetails()[0].Deleted = 1;
        const coll::ModifyOutcome o = coll::ApplyModify(board, coll::Fields(QStringLiteral("2,0-0,0,0,1,1")),
                                                        Context(3), true);
        QCOMPARE(int(Rect(board).Deleted), 0);
        QCOMPARE(int(o.undo.at(0).detail.Deleted), 1);
        QCOMPARE(o.undo.at(0).erase.EraseKind, 0);
    }

    void resizeOnAnotherPageChangesTheRectangleOnly()
    {
        BoardModel board = Board();
        board.slot[0].records.editMasters()[0].NoteName = kOtherPage;
        const coll::ModifyOutcome o = coll::ApplyModify(board, coll::Fields(QStringLiteral("1,0-0,0,0,0,400,200,1,1,3")),
                                                        Context(3), true);
        QCOMPARE(Rect(board).BoundRF, QRect(0, 0, 400, 200));
        QCOMPARE(Rect(board).M, QPointF(100, 100));
        QVERIFY(o.undo.isEmpty());
    }

    // Messages that name no object change nothing at all.
    void dropped_data()
    {
        QTest::addColumn<QString>("data");
        QTest::newRow("key without -") << "0,00,0,1,1,0,0,0,0,0,0,0,0,1,1,3";
        QTest::newRow("slot 11") << "2,11-0,0,1,1,1";
        QTest::newRow("negative slot") << "2,-1-0,0,1,1,1";
        QTest::newRow("EventID past the table") << "3,0-5,5,90,1,1";
        QTest::newRow("move of an unknown EventID") << "0,0-7,7,1,1,0,0,0,0,0,0,0,0,1,1,3";
        QTest::newRow("slot without objects") << "2,4-0,0,1,1,1";
        QTest::newRow("unknown edit kind") << "9,0-0,0,1,1,1";
        QTest::newRow("empty") << "";
        QTest::newRow("key with letters") << "2,0-x,0,1,1,1";
    }
    void dropped()
    {
        QFETCH(QString, data);
        BoardModel board = Board();
        const BoardModel before = Board();
        const coll::ModifyOutcome o = coll::ApplyModify(board, coll::Fields(data), Context(3), true);
        QVERIFY(!o.dropped.isEmpty());
        QVERIFY(!o.cornersSet);
        QVERIFY(o.undo.isEmpty());
        QCOMPARE(Rect(board).M, Rect(before).M);
        QCOMPARE(int(Rect(board).Deleted), 0);
        QCOMPARE(Rect(board).Angle, 0.f);
        QCOMPARE(Sample(board, 0), Sample(before, 0));
    }
};

QTEST_APPLESS_MAIN(ModifyReceiveTest)
#include "modify_receive_test.moc"
