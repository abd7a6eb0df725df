#include "storage/event_export.h"

#include "board/event_kind.h"

#include <QtTest>

namespace {

// A record as "KD MP EI | BX BY BW BH | NX NY NW NH | AG PC PW TP NI @PI".
QString Describe(const ToGroupRecord& r)
{
    const auto n = [](double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); };
    return QStringLiteral("%1 %2 %3 | %4 %5 %6 %7 | %8 %9 %10 %11 | %12 %13 %14 %15 %16 @%17")
        .arg(QString::number(r.code), n(r.key), QString::number(r.eventId), n(r.bx), n(r.by), n(r.bw), n(r.bh),
             n(r.nx), n(r.ny))
        .arg(n(r.nw), n(r.nh), n(r.angle), r.colour.name(), n(r.penWidth), QString::number(r.transparency),
             QString::number(r.noteIndex), QString::number(r.slot));
}

QStringList DescribeAll(const QVector<ToGroupRecord>& records)
{
    QStringList lines;
    for (const ToGroupRecord& r : records)
        lines << Describe(r);
    return lines;
}

// Builds the tables of a small board, one object at a time.
struct Lesson {
    ExportBoardTables tables;

    EventMaster& master(int slot, quint16 id, int kind, double mediaPos, const QString& note = "n0")
    {
        EventMaster m;
        m.EventID = id;
        m.Kind = kind;
        m.MediaPos = mediaPos;
        m.NoteName = note;
        tables[slot].masters.append(m);
        return tables[slot].masters.last();
    }

    // A figure from (x, y) to (x + w, y + h), red, pen width 3.
    EventDetail& detail(int slot, quint16 id, int x, int y, int w, int h)
    {
        EventDetail d;
        d.EventID = id;
        d.S = QPointF(x, y);
        d.E = QPointF(x + w, y + h);
        d.OriginRF = QRect(x, y, w, h);
        d.BoundRF = d.OriginRF;
        d.PenColor = QColor(255, 0, 0);
        d.PenWidth = 3;
        tables[slot].details.append(d);
        return tables[slot].details.last();
    }

    void figure(int slot, quint16 id, int kind, double mediaPos, int x, int y, int w, int h,
                const QString& note = "n0")
    {
        master(slot, id, kind, mediaPos, note);
        detail(slot, id, x, y, w, h);
    }

    void sample(int slot, quint16 id, double mediaPos, int action, float pressure, double x, double y)
    {
        FreePenPoint p;
        p.EventID = id;
        p.MediaPos = mediaPos;
        p.MouseAction = action;
        p.Press = pressure;
        p.S = QPointF(x, y);
        tables[slot].samples.append(p);
    }

    void erase(int slot, quint16 id, double mediaPos, int kind, QRect rect, int groupIndex = 1, int groupTotal = 1)
    {
        ErasePoint e;
        e.EventID = id;
        e.MediaPos = mediaPos;
        e.EraseKind = kind;
        e.BoundRF = rect;
        e.GroupIndex = groupIndex;
        e.GroupTotal = groupTotal;
        tables[slot].erasePoints.append(e);
    }

    ModifyPoint& modify(int slot, quint16 id, int kind, double mediaPos, QRect after, QRect before)
    {
        ModifyPoint c;
        c.EventID = id;
        c.Kind = kind;
        c.MediaPos = mediaPos;
        c.M = after.topLeft();
        c.C = QPointF(after.x() + after.width(), after.y() + after.height());
        c.BoundRF = after;
        c.PrevBoundRF = before;
        c.GroupIndex = 1;
        c.GroupTotal = 1;
        tables[slot].modifyPoints.append(c);
        return tables[slot].modifyPoints.last();
    }

    EventDetail& detailOf(int slot, quint16 id)
    {
        for (EventDetail& d : tables[slot].details)
            if (d.EventID == id)
                return d;
        return tables[slot].details.first();
    }
};

int NoteIndexOf(const QString& name)
{
    return name == "n1" ? 1 : 0;
}

// The whiteboard's single list, or Regrouper's rules into the same list.
struct Run {
    QVector<ToGroupRecord> records;
    EventExportBuilder builder;

    Run(const Lesson& lesson, const ExportRules& rules = ExportRules::Whiteboard())
        : builder(lesson.tables, rules, NoteIndexOf, Lists(&records))
    {
    }

    static EventExportBuilder::RecordLists Lists(QVector<ToGroupRecord>* list)
    {
        EventExportBuilder::RecordLists lists;
        lists.fill(list);
        return lists;
    }
};

}  // namespace

Q_DECLARE_METATYPE(Lesson)

class ExportRecordsTest : public QObject
{
    Q_OBJECT

private slots:
    void objectRecords_data();
    void objectRecords();
    void objectsAtAMoment_data();
    void objectsAtAMoment();
    void eraseRecordsHandleOnlySlotsWithErases();
    void modifySnapshotWithoutArea();
    void modifyRecordsAtExactTimeOnly();
    void followUps_data();
    void followUps();
};

void ExportRecordsTest::objectRecords_data()
{
    QTest::addColumn<Lesson>("lesson");
    QTest::addColumn<bool>("regrouper");
    QTest::addColumn<QStringList>("expected");

    {
        Lesson l;
        l.figure(0, 1, ekLine, -1.0, 10, 20, 100, 50);
        QTest::newRow("line before the recording") << l << false
            << QStringList{"5 1 1 | 10 20 110 70 | 10 20 100 50 | 0 #ff0000 3 255 0 @0"};
        Lesson atZero;
        atZero.figure(3, 1, ekRect, 0.0, 10, 20, 100, 50, "n1");
        QTest::newRow("rectangle at time 0 is before the recording") << atZero << false
            << QStringList{"8 1 1 | 10 20 110 70 | 10 20 100 50 | 0 #ff0000 3 255 1 @3"};
    }
    {
        Lesson l;
        l.figure(0, 1, ekEArrow, 1200.0, 10, 20, 100, 50);
        EventDetail& d = l.detailOf(0, 1);
        d.AltSX = 11;
        d.AltSY = 21;
        d.AltRect = QRect(9, 19, 102, 52);
        d.Transparent = 128;
        QTest::newRow("figure during the recording, alternative values") << l << false
            << QStringList{"13 1200 1 | 11 21 110 70 | 9 19 102 52 | 0 #ff0000 3 128 0 @0"};
        QTest::newRow("package rules ignore the alternative values") << l << true
            << QStringList{"13 1200 1 | 10 20 110 70 | 10 20 100 50 | 0 #ff0000 3 128 0 @0"};
    }
    {
        Lesson l;
        l.figure(0, 1, ekImage, -1.0, 10, 20, 100, 50);
        l.tables[0].masters[0].StrData = 4;
        l.detailOf(0, 1).Angle = 30;
        QTest::newRow("image before the recording") << l << false
            << QStringList{"14 1 1 | 10 20 110 70 | 10 20 100 50 | 30 #ff0000 0 4 0 @0"};
    }
    {
        Lesson l;
        l.master(0, 1, ekNoteChange, 5000.7);
        QTest::newRow("note change") << l << false
            << QStringList{"15 5000.7 1 | 0 0 0 0 | 0 0 0 0 | 1 #000000 0 5000 0 @0",
                           "16 5000.7 1 | 0 0 0 0 | 0 0 0 0 | 1 #000000 0 5000 0 @0"};
        QTest::newRow("note change, package rules") << l << true
            << QStringList{"15 5000.7 1 | 0 0 0 0 | 0 0 0 0 | 1 #000000 0 0 0 @0",
                           "16 5000.7 1 | 0 0 0 0 | 0 0 0 0 | 0 #000000 0 0 0 @0"};
        Lesson before;
        before.master(0, 1, ekNoteChange, -1.0);
        QTest::newRow("note change before the recording") << before << false << QStringList{};
    }
    {
        Lesson l;
        EventMaster& zoom = l.master(0, 1, ekZoom, 3000.5, "n1");
        zoom.SCale = 2.0;
        zoom.HScroll = 40;
        zoom.VScroll = 70;
        l.master(0, 2, ekEndRec, 9000.0);
        QTest::newRow("zoom and the recording end") << l << false
            << QStringList{"15 3000.5 1 | 0 0 0 0 | 0 0 40 70 | 2 #000000 0 3000 1 @0",
                           "17 3000.5 1 | 0 0 0 0 | 0 0 40 70 | 2 #000000 0 3000 1 @0",
                           "18 9000 2 | 0 0 0 0 | 0 0 0 0 | 0 #000000 0 0 0 @0"};
    }
    {
        Lesson zoomed;
        EventMaster& start = zoomed.master(0, 1, ekStartRec, 0.0);
        start.SCale = 1.5;
        start.HScroll = 5;
        QTest::newRow("start marker zoomed") << zoomed << false
            << QStringList{"15 1 1 | 0 0 0 0 | 0 0 5 0 | 1.5 #000000 0 1 0 @0",
                           "17 1 1 | 0 0 0 0 | 0 0 5 0 | 1.5 #000000 0 1 0 @0"};
        QTest::newRow("start marker, package rules") << zoomed << true << QStringList{};
        Lesson plain;
        plain.master(0, 1, ekStartRec, 0.0);
        QTest::newRow("start marker at scale 1") << plain << false << QStringList{};
    }
    {
        Lesson l;
        l.figure(0, 1, ekLine, -2.0, 10, 20, 100, 50);
        l.figure(0, 2, ekCircle, 500.0, 10, 20, 100, 50);
        l.figure(0, 3, ekFillCircle, -1.0, 10, 20, 100, 50);
        QTest::newRow("hidden object and circles") << l << false << QStringList{};
    }
    {
        // Only the first press..release part of a stroke is written.
        Lesson l;
        l.figure(2, 7, ekFree, 100.0, 0, 0, 50, 50);
        l.sample(2, 7, 100.0, 1, 0.2f, 1, 2);
        l.sample(2, 7, 110.0, 2, 0.5f, 3, 4);
        l.sample(2, 7, 120.0, 2, 0.25f, 5, 6);
        l.sample(2, 7, 130.0, 3, 0.8f, 7, 8);
        l.sample(2, 7, 140.0, 1, 0.2f, 9, 9);
        l.sample(2, 7, 150.0, 2, 0.2f, 9, 9);
        l.sample(2, 7, 160.0, 3, 0.2f, 9, 9);
        QTest::newRow("free pen: press, move, move, release, press, move, release") << l << false
            << QStringList{"1 100 7 | 1 2 3 0 | 0 0 0 0 | 0 #ff0000 3 255 0 @2",
                           "3 110 7 | 3 4 0 0 | 0 0 0 0 | 0 #ff0000 0.5 255 0 @2",
                           "3 120 7 | 5 6 0 0 | 0 0 0 0 | 0 #ff0000 0.25 255 0 @2",
                           "4 130 7 | 7 8 0 0 | 0 0 0 0 | 0 #ff0000 0 255 0 @2"};
    }
    {
        Lesson l;
        l.figure(1, 7, ekBrush, 100.0, 0, 0, 50, 50);
        l.sample(1, 7, 100.0, 1, 0.2f, 1, 2);
        l.sample(1, 7, 110.0, 2, 0.4f, 3, 4);
        l.sample(1, 7, 130.0, 3, 0.8f, 7, 8);
        QTest::newRow("brush moves have no width") << l << false
            << QStringList{"1 100 7 | 1 2 4 0 | 0 0 0 0 | 0 #ff0000 3 255 0 @1",
                           "2 110 7 | 3 4 0 0 | 0 0 0 0 | 0 #ff0000 0 255 0 @1",
                           "4 130 7 | 7 8 0 0 | 0 0 0 0 | 0 #ff0000 0 255 0 @1"};
    }
    {
        Lesson l;
        l.figure(0, 7, ekFree, -1.0, 0, 0, 50, 50);
        l.detailOf(0, 7).Angle = 15;
        l.sample(0, 7, -1.0, 1, 0.2f, 1, 2);
        l.sample(0, 7, -1.0, 3, 0.8f, 7, 8);
        QTest::newRow("free pen before the recording") << l << false
            << QStringList{"1 1 7 | 1 2 3 0 | 0 0 50 50 | 15 #ff0000 3 255 0 @0",
                           "4 1 7 | 7 8 0 0 | 0 0 50 50 | 15 #ff0000 0 255 0 @0"};
    }
    {
        // An object without its own detail takes no geometry from another;
        // an end marker needs none.
        Lesson l;
        l.figure(0, 1, ekLine, -1.0, 10, 20, 100, 50);
        l.master(0, 2, ekRect, -1.0);
        l.master(0, 3, ekEndRec, 700.0);
        QTest::newRow("objects without a detail") << l << false
            << QStringList{"5 1 1 | 10 20 110 70 | 10 20 100 50 | 0 #ff0000 3 255 0 @0",
                           "18 700 3 | 0 0 0 0 | 0 0 0 0 | 0 #000000 0 0 0 @0"};
    }
}

void ExportRecordsTest::objectRecords()
{
    QFETCH(Lesson, lesson);
    QFETCH(bool, regrouper);
    QFETCH(QStringList, expected);
    Run run(lesson, regrouper ? ExportRules::Regrouper() : ExportRules::Whiteboard());
    run.builder.BuildToGroupRecords();
    QCOMPARE(DescribeAll(run.records), expected);
}

void ExportRecordsTest::objectsAtAMoment_data()
{
    QTest::addColumn<Lesson>("lesson");
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<QStringList>("expected");

    // A rectangle drawn at 100 on note 0, asked for at t = 1000.
    const auto rect = [] {
        Lesson l;
        l.figure(0, 1, ekRect, 100.0, 10, 10, 20, 20);
        return l;
    };
    const QString standing = "8 1010 1 | 10 10 30 30 | 10 10 20 20 | 0 #ff0000 3 255 0 @0";
    const QRectF over(0, 0, 15, 15);

    QTest::newRow("standing and overlapping") << rect() << over << QStringList{standing};
    QTest::newRow("touching edge") << rect() << QRectF(30, 10, 10, 10) << QStringList{};
    {
        Lesson l = rect();
        l.tables[0].masters[0].NoteName = "n1";
        QTest::newRow("other note") << l << over << QStringList{};
    }
    {
        Lesson l = rect();
        l.detailOf(0, 1).PageDeleted = 1;
        l.erase(0, 1, 500.0, 0, QRect(10, 10, 20, 20));
        QTest::newRow("erased before t") << l << over << QStringList{};
    }
    {
        Lesson l = rect();
        l.detailOf(0, 1).PageDeleted = 1;
        l.erase(0, 1, 1500.0, 0, QRect(10, 10, 20, 20));
        QTest::newRow("erased after t") << l << over << QStringList{standing};
    }
    {
        Lesson l = rect();
        l.detailOf(0, 1).PageDeleted = 1;
        l.erase(0, 1, 1000.0, 0, QRect(10, 10, 20, 20));
        QTest::newRow("erased exactly at t") << l << over << QStringList{};
    }
    {
        Lesson l = rect();
        l.detailOf(0, 1).Modified = 1;
        l.modify(0, 1, ekRect, 500.0, QRect(5, 5, 8, 8), QRect(10, 10, 20, 20));
        QTest::newRow("modified before t takes the new geometry") << l << over
            << QStringList{"8 1010 1 | 5 5 13 13 | 5 5 8 8 | 0 #ff0000 3 255 0 @0"};
        l.detailOf(0, 1).PageDeleted = 1;
        l.erase(0, 1, 700.0, 0, QRect(5, 5, 8, 8));
        QTest::newRow("erased after its last edit") << l << over << QStringList{};
    }
    {
        Lesson l = rect();
        l.detailOf(0, 1).Modified = 1;
        l.modify(0, 1, ekRect, 1000.0, QRect(5, 5, 8, 8), QRect(10, 10, 20, 20));
        QTest::newRow("modified exactly at t") << l << over << QStringList{};
    }
    {
        Lesson l = rect();
        l.tables[0].masters[0].MediaPos = 1500.0;
        QTest::newRow("drawn after t") << l << over << QStringList{};
    }
    {
        Lesson l;
        l.figure(0, 1, ekCircle, 100.0, 10, 10, 20, 20);
        l.figure(0, 2, ekFillCircle, 100.0, 10, 10, 20, 20);
        QTest::newRow("circles") << l << over << QStringList{};
    }
    {
        // Turned by 45 degrees the square reaches beyond its own rectangle.
        Lesson l = rect();
        l.detailOf(0, 1).Angle = 45;
        QTest::newRow("turned bounds overlap") << l << QRectF(31, 18, 5, 4)
            << QStringList{"8 1010 1 | 10 10 30 30 | 10 10 20 20 | 45 #ff0000 3 255 0 @0"};
    }
}

void ExportRecordsTest::objectsAtAMoment()
{
    QFETCH(Lesson, lesson);
    QFETCH(QRectF, area);
    QFETCH(QStringList, expected);
    Run run(lesson);
    run.builder.ObjectGeometry(0, 1000.0, 0, area.x(), area.y(), area.width(), area.height());
    QCOMPARE(DescribeAll(run.records), expected);
}

void ExportRecordsTest::eraseRecordsHandleOnlySlotsWithErases()
{
    Lesson l;
    l.figure(2, 1, ekLine, 100.0, 10, 10, 20, 20);
    l.figure(4, 1, ekLine, 100.0, 10, 10, 20, 20);
    l.figure(5, 1, ekLine, 100.0, 10, 10, 20, 20);
    l.erase(2, 9, 50.0, 0, QRect());
    l.erase(5, 9, 50.0, 0, QRect());
    Run run(l);
    run.builder.AddEraseRecords(-1, 7, 1000.0, 1.0f, 0, 0, QRectF(0, 0, 15, 15), 0);
    QCOMPARE(DescribeAll(run.records),
             (QStringList{"0 1000 7 | 0 0 15 15 | 0 0 0 0 | 0 #000000 0 0 0 @2",
                          "5 1010 1 | 10 10 30 30 | 10 10 20 20 | 0 #ff0000 3 255 0 @2",
                          "0 1000 7 | 0 0 15 15 | 0 0 0 0 | 0 #000000 0 0 0 @5",
                          "5 1010 1 | 10 10 30 30 | 10 10 20 20 | 0 #ff0000 3 255 0 @5"}));

    for (int slot : {11, 12, -2}) {
        run.records.clear();
        run.builder.AddEraseRecords(slot, 7, 1000.0, 1.0f, 0, 0, QRectF(0, 0, 15, 15), 0);
        QVERIFY2(run.records.isEmpty(), qPrintable(QString::number(slot)));
    }
}

void ExportRecordsTest::modifySnapshotWithoutArea()
{
    Lesson l;
    l.figure(1, 1, ekLine, 100.0, 10, 10, 20, 20);
    l.figure(1, 2, ekRect, 100.0, 40, 40, 20, 20);
    l.detailOf(1, 2).Modified = 1;
    l.modify(1, 2, ekRect, 1000.0, QRect(12, 12, 5, 5), QRect(40, 40, 20, 20));
    const QString edit = "8 1000 2 | 12 12 17 17 | 12 12 5 5 | 0 #ff0000 3 255 0 @1";

    Run zeroWidth(l);
    zeroWidth.builder.AddModifySnapshot(2, 1000.0, 1.0f, 0, 0, QRectF(5, 5, 0, 30), true, 0);
    QCOMPARE(DescribeAll(zeroWidth.records), QStringList{edit});

    Run withArea(l);
    withArea.builder.AddModifySnapshot(2, 1000.0, 1.0f, 0, 0, QRectF(5, 5, 30, 30), true, 0);
    QCOMPARE(DescribeAll(withArea.records),
             (QStringList{"0 1000 2 | 5 5 30 30 | 0 0 0 0 | 0 #000000 0 0 0 @1",
                          "5 1010 1 | 10 10 30 30 | 10 10 20 20 | 0 #ff0000 3 255 0 @1", edit}));

    Run withoutAreaRecord(l);
    withoutAreaRecord.builder.AddModifySnapshot(2, 1000.0, 1.0f, 0, 0, QRectF(5, 5, 30, 30), false, 0);
    QCOMPARE(DescribeAll(withoutAreaRecord.records),
             (QStringList{"5 1010 1 | 10 10 30 30 | 10 10 20 20 | 0 #ff0000 3 255 0 @1", edit}));
}

void ExportRecordsTest::modifyRecordsAtExactTimeOnly()
{
    Lesson l;
    l.figure(0, 1, ekLine, 100.0, 10, 10, 20, 20);
    l.detailOf(0, 1).Modified = 1;
    l.modify(0, 1, ekLine, 1500.0, QRect(0, 0, 5, 5), QRect(10, 10, 20, 20));
    // An edit whose object has no detail is skipped.
    l.modify(0, 2, ekLine, 1500.0, QRect(0, 0, 5, 5), QRect(10, 10, 20, 20));
    // A stroke with a zero-width rectangle moved down: x stays, y maps.
    l.figure(0, 3, ekFree, 100.0, 10, 10, 0, 10);
    l.sample(0, 3, 100.0, 1, 0.5f, 10, 10);
    l.sample(0, 3, 110.0, 3, 0.5f, 10, 20);
    l.detailOf(0, 3).Modified = 1;
    ModifyPoint& moved = l.modify(0, 3, ekFree, 1500.0, QRect(10, 110, 0, 20), QRect(10, 10, 0, 10));
    moved.Angle = 5;

    Run atTime(l);
    atTime.builder.AddModifyRecordsAt(0, 1, 1500.0, 1.0f, 0, 0, 0);
    QCOMPARE(DescribeAll(atTime.records),
             (QStringList{"5 1500 1 | 0 0 5 5 | 0 0 5 5 | 0 #ff0000 3 255 0 @0",
                          "1 1500 3 | 10 110 3 0 | 10 110 0 20 | 5 #ff0000 3 255 0 @0",
                          "4 1500 3 | 10 130 0 0 | 10 110 0 20 | 5 #ff0000 0 255 0 @0"}));

    Run later(l);
    later.builder.AddModifyRecordsAt(0, 1, 1500.0000001, 1.0f, 0, 0, 0);
    QVERIFY(later.records.isEmpty());
}

void ExportRecordsTest::followUps_data()
{
    QTest::addColumn<Lesson>("lesson");
    QTest::addColumn<bool>("regrouper");
    QTest::addColumn<QStringList>("expected");

    const QString line = "5 100 1 | 10 10 30 30 | 10 10 20 20 | 0 #ff0000 3 255 0 @0";
    {
        // Erased at 800 in its own slot: the area grown by pen width + 1,
        // then the objects still under it (the erased one is gone at 800).
        Lesson l;
        l.figure(0, 1, ekLine, 100.0, 10, 10, 20, 20);
        l.figure(0, 2, ekRect, 50.0, 25, 25, 10, 10);
        l.detailOf(0, 1).PageDeleted = 1;
        l.detailOf(0, 1).Deleted = 1;
        l.erase(0, 1, 800.0, 0, QRect(10, 10, 20, 20));
        l.erase(0, 1, 90.0, 0, QRect(10, 10, 20, 20));  // not later than the object
        const QStringList erased{line, "0 800 1 | 6 6 28 28 | 0 0 0 0 | 0 #000000 0 0 0 @0",
                                 "8 810 2 | 25 25 35 35 | 25 25 10 10 | 0 #ff0000 3 255 0 @0",
                                 "8 50 2 | 25 25 35 35 | 25 25 10 10 | 0 #ff0000 3 255 0 @0"};
        QTest::newRow("erase") << l << false << erased;
        QTest::newRow("erase, package rules") << l << true << erased;

        l.detailOf(0, 1).PageDeleted = 0;
        QTest::newRow("erase without the flag") << l << false
            << QStringList{line, "8 50 2 | 25 25 35 35 | 25 25 10 10 | 0 #ff0000 3 255 0 @0"};
    }
    {
        // Erase all over two slots: the last member redraws every slot with
        // erase records; the first member its own slot on the whiteboard only.
        Lesson l;
        l.figure(0, 1, ekLine, 100.0, 10, 10, 20, 20);
        l.figure(3, 1, ekLine, 100.0, 40, 40, 20, 20);
        l.detailOf(0, 1).PageDeleted = l.detailOf(0, 1).Deleted = 1;
        l.detailOf(3, 1).PageDeleted = l.detailOf(3, 1).Deleted = 1;
        l.erase(0, 1, 800.0, 2, QRect(10, 10, 20, 20), 1, 2);
        l.erase(3, 1, 800.0, 2, QRect(40, 40, 20, 20), 2, 2);
        const QString slot3Line = "5 100 1 | 40 40 60 60 | 40 40 20 20 | 0 #ff0000 3 255 0 @3";
        QTest::newRow("group erase") << l << false
            << QStringList{line, "0 800 1 | 6 6 28 28 | 0 0 0 0 | 0 #000000 0 0 0 @0", slot3Line,
                           "0 800 1 | 36 36 28 28 | 0 0 0 0 | 0 #000000 0 0 0 @0",
                           "0 800 1 | 36 36 28 28 | 0 0 0 0 | 0 #000000 0 0 0 @3"};
        QTest::newRow("group erase, package rules") << l << true
            << QStringList{line, slot3Line, "0 800 1 | 36 36 28 28 | 0 0 0 0 | 0 #000000 0 0 0 @0",
                           "0 800 1 | 36 36 28 28 | 0 0 0 0 | 0 #000000 0 0 0 @3"};
    }
    {
        // A one-object move at 900: the old area, then the object as moved.
        Lesson l;
        l.figure(0, 1, ekLine, 100.0, 10, 10, 20, 20);
        l.detailOf(0, 1).Modified = 1;
        l.modify(0, 1, ekLine, 900.0, QRect(200, 200, 20, 20), QRect(10, 10, 20, 20));
        QTest::newRow("move") << l << false
            << QStringList{line, "0 900 1 | 6 6 28 28 | 0 0 0 0 | 0 #000000 0 0 0 @0",
                           "5 900 1 | 200 200 220 220 | 200 200 20 20 | 0 #ff0000 3 255 0 @0"};
    }
    {
        // A move of two objects is written once, by its last member.
        Lesson l;
        l.figure(0, 1, ekLine, 100.0, 10, 10, 20, 20);
        l.figure(0, 2, ekLine, 100.0, 100, 100, 20, 20);
        l.detailOf(0, 1).Modified = l.detailOf(0, 2).Modified = 1;
        ModifyPoint& first = l.modify(0, 1, ekLine, 900.0, QRect(10, 60, 20, 20), QRect(10, 10, 20, 20));
        first.ModifyKind = 2;
        first.GroupTotal = 2;
        ModifyPoint& last = l.modify(0, 2, ekLine, 900.0, QRect(100, 150, 20, 20), QRect(100, 100, 20, 20));
        last.ModifyKind = 2;
        last.GroupIndex = last.GroupTotal = 2;
        QTest::newRow("group move") << l << false
            << QStringList{line, "5 100 2 | 100 100 120 120 | 100 100 20 20 | 0 #ff0000 3 255 0 @0",
                           "0 900 2 | 96 96 28 28 | 0 0 0 0 | 0 #000000 0 0 0 @0",
                           "5 900 1 | 10 60 30 80 | 10 60 20 20 | 0 #ff0000 3 255 0 @0",
                           "5 900 2 | 100 150 120 170 | 100 150 20 20 | 0 #ff0000 3 255 0 @0"};
    }
}

void ExportRecordsTest::followUps()
{
    QFETCH(Lesson, lesson);
    QFETCH(bool, regrouper);
    QFETCH(QStringList, expected);
    Run run(lesson, regrouper ? ExportRules::Regrouper() : ExportRules::Whiteboard());
    run.builder.BuildToGroupRecords();
    QCOMPARE(DescribeAll(run.records), expected);
}

QTEST_GUILESS_MAIN(ExportRecordsTest)
#include "export_records_test.moc"
