#include "storage/event_export.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A record as "KD MP | BX BY BW BH | NX NY NW NH | AG PW TP", in the numbers
// of the record itself, so a table row reads like the record it expects.
QString Describe(const ToGroupRecord& r)
{
    const auto n = [](double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); };
    return QStringLiteral("%1 %2 | %3 %4 %5 %6 | %7 %8 %9 %10 | %11 %12 %13")
        .arg(QString::number(r.code), n(r.key), n(r.bx), n(r.by), n(r.bw), n(r.bh), n(r.nx), n(r.ny), n(r.nw))
        .arg(n(r.nh), n(r.angle), n(r.penWidth), QString::number(r.transparency));
}

QStringList DescribeAll(const QVector<ToGroupRecord>& records)
{
    QStringList lines;
    for (const ToGroupRecord& r : records)
        lines << Describe(r);
    return lines;
}

FreePenPoint Sample(double mediaPos, int action, float pressure, double x, double y, quint16 eventId = 9)
{
    FreePenPoint p;
    p.EventID = eventId;
    p.MediaPos = mediaPos;
    p.MouseAction = action;
    p.Press = pressure;
    p.S = QPointF(x, y);
    return p;
}

ExportStrokeStyle Style(int kind)
{
    ExportStrokeStyle style;
    style.slot = 2;
    style.eventId = 9;
    style.colour = QColor(0, 0, 255);
    style.penWidth = 5;
    style.kind = kind;
    style.transparency = 200;
    style.noteIndex = 1;
    return style;
}

ToGroupRecord Record(double key, int code)
{
    ToGroupRecord r;
    r.key = key;
    r.code = code;
    r.colour = QColor(255, 0, 0, 128);
    return r;
}

QByteArray Written(const NewEventHeader& header, const QVector<ToGroupSection>& groups, ExportNumberFormat format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteNewEventXml(&buffer, header, groups, format);
    return buffer.data();
}

}  // namespace

Q_DECLARE_METATYPE(QVector<FreePenPoint>)

class EventExportTest : public QObject
{
    Q_OBJECT

private slots:
    void numberForms_data();
    void numberForms();
    void strokeBuilders_data();
    void strokeBuilders();
    void outlineMapping_data();
    void outlineMapping();
    void sortKeepsAppendOrderOfEqualKeys();
    void whiteboardLayout();
    void emptyListWritesOnlyTheEventElement();
    void saveReportsFailureAndKeepsTheOldFile();
};

void EventExportTest::numberForms_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("sixDigits");
    QTest::addColumn<QString>("shortest");
    QTest::newRow("one") << 1.0 << "1" << "1";
    QTest::newRow("minus one") << -1.0 << "-1" << "-1";
    QTest::newRow("fraction") << 1500.25 << "1500.25" << "1500.25";
    QTest::newRow("seven digits") << 1234567.0 << "1.23457e+06" << "1234567";
    QTest::newRow("long key") << 123456789.0 << "1.23457e+08" << "123456789";
    QTest::newRow("float widened") << double(0.1f) << "0.1" << "0.10000000149011612";
    QTest::newRow("note change time") << 5000.7 << "5000.7" << "5000.7";
}

void EventExportTest::numberForms()
{
    QFETCH(double, value);
    QFETCH(QString, sixDigits);
    QFETCH(QString, shortest);
    QCOMPARE(FormatExportNumber(value, ExportNumberFormat::SixDigits), sixDigits);
    QCOMPARE(FormatExportNumber(value, ExportNumberFormat::ShortestRoundTrip), shortest);
    QCOMPARE(FormatExportNumber(value, ExportNumberFormat::ShortestRoundTrip).toDouble(), value);
}

void EventExportTest::strokeBuilders_data()
{
    QTest::addColumn<QString>("builder");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<FreePenPoint>>("points");
    QTest::addColumn<QStringList>("expected");

    // Press, two moves, release, then a second press/release that is never written.
    const QVector<FreePenPoint> timed = {
        Sample(100, 2, 0.1f, 1, 1),  // before the press: passed over
        Sample(200, 1, 0.25f, 10, 20), Sample(210, 2, 0.5f, 11, 21), Sample(220, 2, 0.75f, 12, 22),
        Sample(230, 3, 0.5f, 13, 23),  Sample(300, 1, 0.5f, 50, 50), Sample(310, 3, 0.5f, 51, 51),
    };
    QTest::newRow("free pen while recording") << "pair" << 3 << timed
        << QStringList{"1 200 | 10 20 3 0 | 0 0 0 0 | 0 5 200", "3 210 | 11 21 0 0 | 0 0 0 0 | 0 0.5 200",
                       "3 220 | 12 22 0 0 | 0 0 0 0 | 0 0.75 200", "4 230 | 13 23 0 0 | 0 0 0 0 | 0 0 200"};
    QTest::newRow("brush moves carry no pressure") << "pair" << 4 << timed
        << QStringList{"1 200 | 10 20 4 0 | 0 0 0 0 | 0 5 200", "2 210 | 11 21 0 0 | 0 0 0 0 | 0 0 200",
                       "2 220 | 12 22 0 0 | 0 0 0 0 | 0 0 200", "4 230 | 13 23 0 0 | 0 0 0 0 | 0 0 200"};
    QTest::newRow("untimed builder skips timed samples") << "figure" << 3 << timed << QStringList();

    // Untimed samples: key 1, bounds on press and release, angle on every record.
    const QVector<FreePenPoint> untimed = {
        Sample(-1, 1, 0.5f, 10, 20), Sample(-1, 2, 0.5f, 11, 21), Sample(5, 2, 0.5f, 90, 90),
        Sample(0, 0, 0.5f, 99, 99), Sample(-1, 3, 0.5f, 12, 22),
    };
    QTest::newRow("drawn before the recording") << "figure" << 3 << untimed
        << QStringList{"1 1 | 10 20 3 0 | 10 20 30 40 | 1.5 5 200", "3 1 | 11 21 0 0 | 0 0 0 0 | 1.5 0.5 200",
                       "4 1 | 12 22 0 0 | 10 20 30 40 | 1.5 0 200"};
    QTest::newRow("timed builder skips untimed samples") << "pair" << 3 << untimed << QStringList();
    QTest::newRow("no press, no records") << "figure" << 3
        << QVector<FreePenPoint>{Sample(-1, 2, 0.5f, 1, 1), Sample(-1, 3, 0.5f, 2, 2)} << QStringList();
    QTest::newRow("samples of other objects are passed over") << "figure" << 3
        << QVector<FreePenPoint>{Sample(-1, 1, 0.5f, 1, 1, 4), Sample(-1, 1, 0.5f, 2, 2),
                                 Sample(-1, 3, 0.5f, 3, 3, 4), Sample(-1, 3, 0.5f, 4, 4)}
        << QStringList{"1 1 | 2 2 3 0 | 10 20 30 40 | 1.5 5 200", "4 1 | 4 4 0 0 | 10 20 30 40 | 1.5 0 200"};
    QTest::newRow("press without release") << "figure" << 4
        << QVector<FreePenPoint>{Sample(-1, 1, 0.5f, 1, 1), Sample(-1, 2, 0.5f, 2, 2)}
        << QStringList{"1 1 | 1 1 4 0 | 10 20 30 40 | 1.5 5 200", "2 1 | 2 2 0 0 | 0 0 0 0 | 1.5 0 200"};
}

void EventExportTest::strokeBuilders()
{
    QFETCH(QString, builder);
    QFETCH(int, kind);
    QFETCH(QVector<FreePenPoint>, points);
    QFETCH(QStringList, expected);

    QVector<ToGroupRecord> out;
    if (builder == QLatin1String("pair"))
        AddPairToRecords(out, Style(kind), points);
    else
        AddFigureToRecords(out, Style(kind), points, QRectF(10, 20, 30, 40), 1.5f);
    QCOMPARE(DescribeAll(out), expected);
    for (const ToGroupRecord& r : qAsConst(out)) {
        QCOMPARE(r.slot, 2);
        QCOMPARE(r.eventId, 9);
        QCOMPARE(r.noteIndex, 1);
        QCOMPARE(r.colour, QColor(0, 0, 255));
    }
}

void EventExportTest::outlineMapping_data()
{
    QTest::addColumn<QRectF>("before");
    QTest::addColumn<QRectF>("after");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("moved and doubled") << QRectF(10, 10, 10, 10) << QRectF(100, 200, 20, 20)
        << QStringList{"1 500 | 100 200 3 0 | 100 200 20 20 | 2 5 200", "3 500 | 110 210 0 0 | 0 0 0 0 | 2 0.5 200",
                       "4 500 | 120 220 0 0 | 100 200 20 20 | 2 0 200"};
    QTest::newRow("zero-width old rectangle keeps x") << QRectF(10, 10, 0, 10) << QRectF(100, 200, 20, 20)
        << QStringList{"1 500 | 10 200 3 0 | 100 200 20 20 | 2 5 200", "3 500 | 15 210 0 0 | 0 0 0 0 | 2 0.5 200",
                       "4 500 | 20 220 0 0 | 100 200 20 20 | 2 0 200"};
    QTest::newRow("all-zero new rectangle keeps the points") << QRectF(10, 10, 10, 10) << QRectF(0, 0, 0, 0)
        << QStringList{"1 500 | 10 10 3 0 | 10 10 10 10 | 2 5 200", "3 500 | 15 15 0 0 | 0 0 0 0 | 2 0.5 200",
                       "4 500 | 20 20 0 0 | 10 10 10 10 | 2 0 200"};
}

void EventExportTest::outlineMapping()
{
    QFETCH(QRectF, before);
    QFETCH(QRectF, after);
    QFETCH(QStringList, expected);

    // The sample after the given time is not part of the stroke at that time.
    const QVector<FreePenPoint> points = {Sample(100, 1, 0.5f, 10, 10), Sample(200, 2, 0.5f, 15, 15),
                                               Sample(500, 3, 0.5f, 20, 20)};
    QVector<ToGroupRecord> out;
    AddOutlineToRecords(out, Style(3), points, 500, before, after, 2.0f);
    QCOMPARE(DescribeAll(out), expected);

    out.clear();
    AddOutlineToRecords(out, Style(3), points, 499, before, after, 2.0f);
    QCOMPARE(out.size(), 2);  // the release lies after the time: no code 4
}

void EventExportTest::sortKeepsAppendOrderOfEqualKeys()
{
    QVector<ToGroupRecord> records = {Record(5.0, 1), Record(2.0, 2), Record(1.0, 3), Record(2.0, 4),
                                      Record(1.0, 5), Record(0.5, 6)};
    SortToGroupRecords(records);
    QVector<int> codes;
    for (const ToGroupRecord& r : qAsConst(records))
        codes << r.code;
    QCOMPARE(codes, (QVector<int>{6, 3, 5, 2, 4, 1}));
}

void EventExportTest::whiteboardLayout()
{
    ToGroupRecord line = Record(1234567.0, 5);
    line.bx = 0.1f;
    line.penWidth = 3;
    line.transparency = 128;
    ToGroupRecord endRec = Record(5000.7, 18);
    endRec.colour = QColor(Qt::black);
    const QVector<ToGroupRecord> records = {line, endRec};

    NewEventHeader header;
    header.noteCount = 2;
    header.width = 1920;
    header.height = 1080;
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Event NoteCount=\"2\" Width=\"1920\" Height=\"1080\">\n"
        "    <TO_GROUP>\n"
        "        <TO PI=\"0\" MP=\"1.23457e+06\" EI=\"0\" KD=\"5\" BX=\"0.1\" BY=\"0\" BW=\"0\" BH=\"0\" NX=\"0\" NY=\"0\" "
        "NW=\"0\" NH=\"0\" AG=\"0\" PC=\"#ff0000\" PW=\"3\" TP=\"128\" NI=\"0\"/>\n"
        "        <TO PI=\"0\" MP=\"5000.7\" EI=\"0\" KD=\"18\" BX=\"0\" BY=\"0\" BW=\"0\" BH=\"0\" NX=\"0\" NY=\"0\" "
        "NW=\"0\" NH=\"0\" AG=\"0\" PC=\"#000000\" PW=\"0\" TP=\"0\" NI=\"0\"/>\n"
        "    </TO_GROUP>\n"
        "</Event>\n";
    ToGroupSection group;
    group.name = QStringLiteral("TO_GROUP");
    group.records = &records;
    QCOMPARE(Written(header, {group}, ExportNumberFormat::SixDigits), expected);
}

void EventExportTest::emptyListWritesOnlyTheEventElement()
{
    const QVector<ToGroupRecord> none;
    ToGroupSection group;
    group.name = QStringLiteral("TO_GROUP");
    group.records = &none;
    NewEventHeader header;
    header.noteCount = 3;
    header.width = 800;
    header.height = 600;
    QCOMPARE(Written(header, {group}, ExportNumberFormat::SixDigits),
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<Event NoteCount=\"3\" Width=\"800\" Height=\"600\"/>\n"));
}

void EventExportTest::saveReportsFailureAndKeepsTheOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QVector<ToGroupRecord> records = {Record(1.0, 5)};
    ToGroupSection group;
    group.name = QStringLiteral("TO_3");
    group.index = 3;
    group.records = &records;

    QString error;
    QVERIFY(SaveNewEventXml(dir.path(), NewEventHeader(), {group}, ExportNumberFormat::ShortestRoundTrip, &error));
    QFile written(dir.filePath(QStringLiteral("New_Event.xml")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray first = written.readAll();
    written.close();
    QVERIFY(first.contains("<TO_3 Index=\"3\">"));

    QVERIFY(!SaveNewEventXml(dir.filePath(QStringLiteral("missing")), NewEventHeader(), {group},
                             ExportNumberFormat::ShortestRoundTrip, &error));
    QVERIFY(error.contains(QStringLiteral("New_Event.xml")));

    // A failed write leaves the previous file whole.
    QDir(dir.path()).mkdir(QStringLiteral("locked"));
    QDir(dir.filePath(QStringLiteral("locked"))).mkdir(QStringLiteral("New_Event.xml"));
    error.clear();
    QVERIFY(!SaveNewEventXml(dir.filePath(QStringLiteral("locked")), NewEventHeader(), {group},
                             ExportNumberFormat::ShortestRoundTrip, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), first);
}

QTEST_GUILESS_MAIN(EventExportTest)
#include "event_export_test.moc"
