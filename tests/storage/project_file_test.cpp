// The project writer's core: the event files byte for byte, the note list
// and media list, the names it accepts, and the archive that replaces a file
// only when it is complete.
#include "storage/project_file.h"
#include "tests/support/small_filesystem.h"

#include "storage/event_file_bytes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QXmlStreamWriter>
#include <QtTest>

#include <array>
#include <cmath>
#include <limits>

#include <unistd.h>

Q_DECLARE_METATYPE(storage::ProjectSnapshot)

namespace {

NoteInfo Note(const QString& create, int type = 1, const QString& name = QStringLiteral("WhiteBoard"),
              const QString& path = QStringLiteral("WhiteBoard"))
{
    NoteInfo note;
    note.name = name;
    note.create_data = create;
    note.path = path;
    note.type = type;
    note.width = 1024;
    note.height = 768;
    return note;
}

EventMaster Master(quint16 id, const QString& note, double mediaPos = -1.0, int kind = 3)
{
    EventMaster em;
    em.EventID = id;
    em.NoteName = note;
    em.MediaPos = mediaPos;
    em.Kind = kind;
    return em;
}

EventDetail Detail(quint16 id, QPointF s = QPointF(1, 2), bool deleted = false)
{
    EventDetail ed;
    ed.EventID = id;
    ed.S = s;
    ed.E = QPointF(30.5, 40.5);
    ed.M = QPointF(-2.5, 7);
    ed.C = QPointF(9.99, 0);
    ed.OriginRF = QRect(1, 2, 3, 4);
    ed.BoundRF = QRect(-5, 6, 70, 80);
    ed.PenColor = QColor(255, 0, 0, 128);
    ed.PenWidth = 3;
    ed.Angle = 12.5f;
    ed.Deleted = deleted ? 1 : 0;
    ed.Transparent = 200;
    return ed;
}

FreePenPoint Sample(quint16 id, int action, QPointF s)
{
    FreePenPoint p;
    p.EventID = id;
    p.MouseAction = action;
    p.Press = 0.75f;
    p.S = s;
    p.M = s + QPointF(0.5, -0.5);
    return p;
}

storage::ProjectSnapshot Project(const QVector<NoteInfo>& notes)
{
    storage::ProjectSnapshot project;
    project.notes = notes;
    project.boardSize = QSize(800, 600);
    project.pageSize = QSize(1024, 768);
    return project;
}

QByteArray EventFileBytes(const storage::ProjectSnapshot& project, int n)
{
    return storage::EventFileWriter(project).EventFile(n);
}

// The writer as it was when files were written through the stream writer:
// the new one must give the same bytes, as stored files and peers read them.
namespace reference {

using storage::FormatCoord;
using storage::FormatDouble;
using storage::FormatFlag;

QString Int(qint64 v) { return QString::number(v); }

void StartXmlDocument(QXmlStreamWriter& xml)
{
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    xml.writeStartDocument();
}

void OpenSlotGroup(QXmlStreamWriter& xml, const char* tag, int slot)
{
    xml.writeStartElement(QStringLiteral("%1_%2").arg(QLatin1String(tag)).arg(slot));
    xml.writeAttribute(QStringLiteral("Type"), QLatin1String(tag));
    xml.writeAttribute(QStringLiteral("Index"), Int(slot));
}

void WriteMasterRecord(QXmlStreamWriter& xml, const EventMaster& em)
{
    xml.writeStartElement(QStringLiteral("EM"));
    xml.writeAttribute(QStringLiteral("KD"), Int(em.Kind));
    xml.writeAttribute(QStringLiteral("MP"), FormatDouble(em.MediaPos));
    xml.writeAttribute(QStringLiteral("SD"), Int(em.StrData));
    xml.writeAttribute(QStringLiteral("EI"), Int(em.EventID));
    xml.writeAttribute(QStringLiteral("SC"), FormatDouble(em.SCale));
    xml.writeAttribute(QStringLiteral("HS"), Int(em.HScroll));
    xml.writeAttribute(QStringLiteral("VS"), Int(em.VScroll));
    xml.writeEndElement();
}

void WriteDetail(QXmlStreamWriter& xml, const EventDetail& ed)
{
    xml.writeStartElement(QStringLiteral("ED"));
    xml.writeAttribute(QStringLiteral("EI"), Int(ed.EventID));
    xml.writeAttribute(QStringLiteral("SX"), FormatCoord(ed.S.x()));
    xml.writeAttribute(QStringLiteral("SY"), FormatCoord(ed.S.y()));
    xml.writeAttribute(QStringLiteral("EX"), FormatCoord(ed.E.x()));
    xml.writeAttribute(QStringLiteral("EY"), FormatCoord(ed.E.y()));
    xml.writeAttribute(QStringLiteral("MX"), FormatCoord(ed.M.x()));
    xml.writeAttribute(QStringLiteral("MY"), FormatCoord(ed.M.y()));
    xml.writeAttribute(QStringLiteral("CX"), FormatCoord(ed.C.x()));
    xml.writeAttribute(QStringLiteral("CY"), FormatCoord(ed.C.y()));
    xml.writeAttribute(QStringLiteral("OX"), Int(ed.OriginRF.x()));
    xml.writeAttribute(QStringLiteral("OY"), Int(ed.OriginRF.y()));
    xml.writeAttribute(QStringLiteral("OW"), Int(ed.OriginRF.width()));
    xml.writeAttribute(QStringLiteral("OH"), Int(ed.OriginRF.height()));
    xml.writeAttribute(QStringLiteral("BX"), Int(ed.BoundRF.x()));
    xml.writeAttribute(QStringLiteral("BY"), Int(ed.BoundRF.y()));
    xml.writeAttribute(QStringLiteral("BW"), Int(ed.BoundRF.width()));
    xml.writeAttribute(QStringLiteral("BH"), Int(ed.BoundRF.height()));
    xml.writeAttribute(QStringLiteral("PC"), ed.PenColor.name());
    xml.writeAttribute(QStringLiteral("PW"), Int(ed.PenWidth));
    xml.writeAttribute(QStringLiteral("AG"), FormatDouble(double(ed.Angle)));
    xml.writeAttribute(QStringLiteral("BD"), FormatFlag(ed.Deleted != 0));
    xml.writeAttribute(QStringLiteral("TP"), Int(ed.Transparent));
    xml.writeEndElement();
}

void WritePoint(QXmlStreamWriter& xml, const FreePenPoint& p)
{
    xml.writeStartElement(QStringLiteral("FP"));
    xml.writeAttribute(QStringLiteral("EI"), Int(p.EventID));
    xml.writeAttribute(QStringLiteral("MP"), FormatDouble(p.MediaPos));
    xml.writeAttribute(QStringLiteral("MA"), Int(p.MouseAction));
    xml.writeAttribute(QStringLiteral("PS"), FormatDouble(double(p.Press)));
    xml.writeAttribute(QStringLiteral("SX"), FormatCoord(p.S.x()));
    xml.writeAttribute(QStringLiteral("SY"), FormatCoord(p.S.y()));
    xml.writeAttribute(QStringLiteral("MX"), FormatCoord(p.M.x()));
    xml.writeAttribute(QStringLiteral("MY"), FormatCoord(p.M.y()));
    xml.writeEndElement();
}

template <typename Record, typename WriteOne>
void WriteFollowers(QXmlStreamWriter& xml, const char* tag, int slot, const QVector<Record>& records,
                    const QHash<quint16, int>& written, WriteOne writeOne)
{
    bool open = false;
    for (const Record& record : records) {
        const int times = written.value(record.EventID, 0);
        for (int i = 0; i < times; ++i) {
            if (!open) {
                OpenSlotGroup(xml, tag, slot);
                open = true;
            }
            writeOne(xml, record);
        }
    }
    if (open)
        xml.writeEndElement();
}

QByteArray EventFile(const storage::ProjectSnapshot& project, int n)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly | QIODevice::Text);
    const NoteInfo& note = project.notes.at(n);
    QXmlStreamWriter xml(&buffer);
    StartXmlDocument(xml);
    xml.writeStartElement(QStringLiteral("Event"));
    xml.writeAttribute(QStringLiteral("Note"), note.create_data);
    xml.writeAttribute(QStringLiteral("Width"), Int(project.boardSize.width()));
    xml.writeAttribute(QStringLiteral("Height"), Int(project.boardSize.height()));
    xml.writeAttribute(QStringLiteral("RWidth"), Int(project.pageSize.width()));
    xml.writeAttribute(QStringLiteral("RHeight"), Int(project.pageSize.height()));
    std::array<QHash<quint16, int>, kPointerSlotCount> written;
    for (int k = 0; k < kPointerSlotCount; ++k) {
        bool open = false;
        for (const EventMaster& em : project.slotTables[k].masters) {
            if (em.NoteName != note.create_data)
                continue;
            if (!open) {
                OpenSlotGroup(xml, "EM", k);
                open = true;
            }
            WriteMasterRecord(xml, em);
            ++written[k][em.EventID];
        }
        if (open)
            xml.writeEndElement();
    }
    for (int k = 0; k < kPointerSlotCount; ++k)
        WriteFollowers(xml, "ED", k, project.slotTables[k].details, written[k], WriteDetail);
    for (int k = 0; k < kPointerSlotCount; ++k)
        WriteFollowers(xml, "FP", k, project.slotTables[k].points, written[k], WritePoint);
    xml.writeEndElement();
    xml.writeEndDocument();
    return buffer.data();
}

QByteArray NotesXml(const QVector<NoteInfo>& notes)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly | QIODevice::Text);
    QXmlStreamWriter xml(&buffer);
    StartXmlDocument(xml);
    xml.writeStartElement(QStringLiteral("listwidget"));
    for (const NoteInfo& note : notes) {
        xml.writeStartElement(QStringLiteral("NoteInfo"));
        xml.writeAttribute(QStringLiteral("Type"), Int(note.type));
        xml.writeAttribute(QStringLiteral("Name"), note.name);
        xml.writeAttribute(QStringLiteral("Create"), note.create_data);
        xml.writeAttribute(QStringLiteral("Path"), note.path);
        xml.writeAttribute(QStringLiteral("NoteWidth"), Int(note.width));
        xml.writeAttribute(QStringLiteral("NoteHeight"), Int(note.height));
        xml.writeAttribute(QStringLiteral("PageOption"), FormatFlag(note.page_option));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return buffer.data();
}

}  // namespace reference

// A number of any size and kind the records can hold: small and large,
// whole and fractional, signed zeros, and what is no finite number.
double AnyNumber(QRandomGenerator& random)
{
    static const double odd[] = {0.0, -0.0, 1.0, -1.0, 0.5, 1e6, 999999.5, 1e-5, 123456.7, 2147483647.0,
                                 -2147483649.0, 1e300, -1e-300, std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::denorm_min()};
    switch (random.bounded(4)) {
    case 0:
        return odd[random.bounded(int(sizeof odd / sizeof odd[0]))];
    case 1:
        return double(random.bounded(-5000, 5000));
    case 2:
        return double(random.bounded(-5000, 5000)) / 4.0;
    default:
        return (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-12, 13));
    }
}

// Every character class the escapes treat apart, in names and paths.
QString AnyName(QRandomGenerator& random, int n)
{
    static const QString pieces[] = {
        QStringLiteral("2024"), QStringLiteral("a<b>"), QStringLiteral("&amp;"), QStringLiteral("\"quoted\""),
        QStringLiteral("tab\there"), QStringLiteral("line\nbreak\r"), QString(QChar(0x01)) + "ctl",
        QStringLiteral("\u00fc\u00e9 \u4e2d"), QString(QChar(0xFFFE)) + QChar(0xFFFF), QStringLiteral("\U0001F600"),
QStringLiteral("'apos'"), QString(QChar(0x0B)) + QChar(0x0C)};
    QString name = QString::number(n);
    for (int i = 0; i < 3; ++i)
        name += pieces[random.bounded(int(sizeof pieces / sizeof pieces[0]))];
    return name;
}

// A lesson that walks every road of the writer: several notes sharing the
// slots, masters sharing an ID, samples of one stroke split by another's,
// records of no note, and numbers of every kind.
storage::ProjectSnapshot LargeLesson()
{
    QRandomGenerator random(58);
    storage::ProjectSnapshot project;
    project.boardSize = QSize(1920, 1080);
    project.pageSize = QSize(3840, 2160);
    for (int n = 0; n < 12; ++n) {
        NoteInfo note = Note(n == 5 ? QStringLiteral("plain") : AnyName(random, n), 1 + n % 3,
                             AnyName(random, n), AnyName(random, n));
        note.page_option = n % 2;
        project.notes.append(note);
    }
    project.notes.append(Note("without objects"));
    for (int k = 0; k < kPointerSlotCount; ++k) {
        storage::SlotSnapshot& slot = project.slotTables[k];
        const int strokes = k == kMouseOverflowSlot ? 400 : 40;
        for (int s = 0; s < strokes; ++s) {
            const quint16 id = quint16(s % 7 == 6 ? s - 1 : s);  // some IDs twice
            const int note = random.bounded(12);
            EventMaster em = Master(id, s % 50 == 49 ? QStringLiteral("no such note")
                                                     : project.notes.at(note).create_data,
                                    AnyNumber(random), random.bounded(1, 20));
            em.StrData = quint16(random.bounded(65536));
            em.SCale = AnyNumber(random);
            em.HScroll = quint16(random.bounded(65536));
            em.VScroll = quint16(random.bounded(65536));
            slot.masters.append(em);
            EventDetail ed = Detail(id, QPointF(AnyNumber(random), AnyNumber(random)), s % 3 == 0);
            ed.E = QPointF(AnyNumber(random), AnyNumber(random));
            ed.M = QPointF(AnyNumber(random), AnyNumber(random));
            ed.C = QPointF(AnyNumber(random), AnyNumber(random));
            ed.OriginRF = QRect(random.bounded(-9, 4000), random.bounded(-9, 4000), random.bounded(500), 7);
            ed.PenColor = s % 11 == 0 ? QColor() : QColor::fromHsv(random.bounded(360), 200, 100);
            ed.PenWidth = quint16(random.bounded(65536));
            ed.Angle = float(AnyNumber(random));
            ed.Transparent = quint16(random.bounded(256));
            slot.details.append(ed);
            const int samples = random.bounded(1, 60);
            for (int i = 0; i < samples; ++i) {
                FreePenPoint p = Sample(id, 1 + random.bounded(3), QPointF(AnyNumber(random), AnyNumber(random)));
                p.MediaPos = AnyNumber(random);
                p.Press = float(AnyNumber(random));
                p.M = QPointF(AnyNumber(random), AnyNumber(random));
                // Now and then a sample of the stroke before lands in between.
                if (i == samples / 2 && slot.points.size() > i && s % 4 == 0) {
                    const FreePenPoint earlier = slot.points.at(slot.points.size() - 1 - i);
                    slot.points.append(earlier);
                }
                slot.points.append(p);
            }
        }
    }
    return project;
}

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

const char kDetail7[] =
    "SX=\"1\" SY=\"2\" EX=\"30\" EY=\"40\" MX=\"-2\" MY=\"7\" CX=\"9\" CY=\"0\" OX=\"1\" OY=\"2\" OW=\"3\" OH=\"4\" "
    "BX=\"-5\" BY=\"6\" BW=\"70\" BH=\"80\" PC=\"#ff0000\" PW=\"3\" AG=\"12.5\"";

QByteArray ArchiveEntry(const QString& archive, const QString& entry)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, entry});
    unzip.waitForFinished(20000);
    return unzip.readAllStandardOutput();
}

QStringList ArchiveEntries(const QString& archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    unzip.waitForFinished(20000);
    QStringList entries = QString::fromUtf8(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    entries.sort();
    return entries;
}

}  // namespace

class ProjectFileTest : public QObject
{
    Q_OBJECT

private slots:
    void eventFile_data()
    {
        QTest::addColumn<storage::ProjectSnapshot>("project");
        QTest::addColumn<int>("note");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray head = QByteArray(kDeclaration);

        storage::ProjectSnapshot empty = Project({Note("n1")});
        // Records of another note in the slot do not open a group.
        empty.slotTables[3].masters = {Master(0, "other")};
        empty.slotTables[3].details = {Detail(0)};
        QTest::newRow("note without objects")
            << empty << 0
            << head + "<Event Note=\"n1\" Width=\"800\" Height=\"600\" RWidth=\"1024\" RHeight=\"768\"/>\n";

        // Slot 10, a stroke with its samples: the three groups in pass
        // order, coordinates truncated toward zero, media times in six
        // significant digits.
        storage::ProjectSnapshot stroke = Project({Note("n1")});
        stroke.slotTables[10].masters = {Master(7, "n1", 1234567.0)};
        stroke.slotTables[10].details = {Detail(7, QPointF(1.9, 2.2))};
        stroke.slotTables[10].points = {Sample(7, 1, QPointF(12.9, -0.7)), Sample(7, 3, QPointF(-12.9, 3.99))};
        QTest::newRow("slot 10 stroke")
            << stroke << 0
            << head + "<Event Note=\"n1\" Width=\"800\" Height=\"600\" RWidth=\"1024\" RHeight=\"768\">\n"
                      "    <EM_10 Type=\"EM\" Index=\"10\">\n"
                      "        <EM KD=\"3\" MP=\"1.23457e+06\" SD=\"65535\" EI=\"7\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
                      "    </EM_10>\n"
                      "    <ED_10 Type=\"ED\" Index=\"10\">\n"
                      "        <ED EI=\"7\" " + QByteArray(kDetail7) + " BD=\"0\" TP=\"200\"/>\n"
                      "    </ED_10>\n"
                      "    <FP_10 Type=\"FP\" Index=\"10\">\n"
                      "        <FP EI=\"7\" MP=\"-1\" MA=\"1\" PS=\"0.75\" SX=\"12\" SY=\"0\" MX=\"13\" MY=\"-1\"/>\n"
                      "        <FP EI=\"7\" MP=\"-1\" MA=\"3\" PS=\"0.75\" SX=\"-12\" SY=\"3\" MX=\"-12\" MY=\"3\"/>\n"
                      "    </FP_10>\n"
                      "</Event>\n";

        // Two notes share slot 0; each file holds only its own records, and
        // a deleted object is still written, with BD 1.
        storage::ProjectSnapshot shared = Project({Note("a"), Note("b")});
        shared.slotTables[0].masters = {Master(0, "a"), Master(1, "b", -1.0, 5), Master(2, "a", 0.5, 9)};
        shared.slotTables[0].details = {Detail(0), Detail(1), Detail(2, QPointF(1, 2), true)};
        shared.slotTables[0].points = {Sample(1, 1, QPointF(1, 1)), Sample(0, 1, QPointF(2, 2))};
        const QByteArray sharedA =
            head + "<Event Note=\"a\" Width=\"800\" Height=\"600\" RWidth=\"1024\" RHeight=\"768\">\n"
                   "    <EM_0 Type=\"EM\" Index=\"0\">\n"
                   "        <EM KD=\"3\" MP=\"-1\" SD=\"65535\" EI=\"0\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
                   "        <EM KD=\"9\" MP=\"0.5\" SD=\"65535\" EI=\"2\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
                   "    </EM_0>\n"
                   "    <ED_0 Type=\"ED\" Index=\"0\">\n"
                   "        <ED EI=\"0\" " + QByteArray(kDetail7) + " BD=\"0\" TP=\"200\"/>\n"
                   "        <ED EI=\"2\" " + QByteArray(kDetail7) + " BD=\"1\" TP=\"200\"/>\n"
                   "    </ED_0>\n"
                   "    <FP_0 Type=\"FP\" Index=\"0\">\n"
                   "        <FP EI=\"0\" MP=\"-1\" MA=\"1\" PS=\"0.75\" SX=\"2\" SY=\"2\" MX=\"2\" MY=\"1\"/>\n"
                   "    </FP_0>\n"
                   "</Event>\n";
        QTest::newRow("shared slot, first note") << shared << 0 << sharedA;
        const QByteArray sharedB =
            head + "<Event Note=\"b\" Width=\"800\" Height=\"600\" RWidth=\"1024\" RHeight=\"768\">\n"
                   "    <EM_0 Type=\"EM\" Index=\"0\">\n"
                   "        <EM KD=\"5\" MP=\"-1\" SD=\"65535\" EI=\"1\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
                   "    </EM_0>\n"
                   "    <ED_0 Type=\"ED\" Index=\"0\">\n"
                   "        <ED EI=\"1\" " + QByteArray(kDetail7) + " BD=\"0\" TP=\"200\"/>\n"
                   "    </ED_0>\n"
                   "    <FP_0 Type=\"FP\" Index=\"0\">\n"
                   "        <FP EI=\"1\" MP=\"-1\" MA=\"1\" PS=\"0.75\" SX=\"1\" SY=\"1\" MX=\"1\" MY=\"0\"/>\n"
                   "    </FP_0>\n"
                   "</Event>\n";
        QTest::newRow("shared slot, second note") << shared << 1 << sharedB;
    }

    void eventFile()
    {
        QFETCH(storage::ProjectSnapshot, project);
        QFETCH(int, note);
        QFETCH(QByteArray, expected);
        QCOMPARE(EventFileBytes(project, note), expected);
    }

    void noteListAndMediaList()
    {
        NoteInfo picture = Note("20240101", 2, "pic.png", "/work/pic.png");
        picture.page_option = true;
        QCOMPARE(storage::NotesXmlBytes({Note("n1"), picture}),
                 QByteArray(kDeclaration) +
                     "<listwidget>\n"
                     "    <NoteInfo Type=\"1\" Name=\"WhiteBoard\" Create=\"n1\" Path=\"WhiteBoard\" "
                     "NoteWidth=\"1024\" NoteHeight=\"768\" PageOption=\"0\"/>\n"
                     "    <NoteInfo Type=\"2\" Name=\"pic.png\" Create=\"20240101\" Path=\"/work/pic.png\" "
                     "NoteWidth=\"1024\" NoteHeight=\"768\" PageOption=\"1\"/>\n"
                     "</listwidget>\n");

        QCOMPARE(storage::MediaListBytes({QStringLiteral("/tmp/a.png"), QStringLiteral("/tmp/ü b.jpg")}),
                 QStringLiteral("/tmp/a.png\n/tmp/ü b.jpg\n").toUtf8());
    }

    // Every file of a large lesson, byte for byte as the stream writer
    // wrote it.
    void sameBytesAsTheStreamWriter()
    {
        const storage::ProjectSnapshot project = LargeLesson();
        const storage::EventFileWriter writer(project);
        for (int n = 0; n < project.notes.size(); ++n) {
            const QByteArray expected = reference::EventFile(project, n);
            const QByteArray made = writer.EventFile(n);
            if (made != expected) {
                int at = 0;
                while (at < made.size() && at < expected.size() && made[at] == expected[at])
                    ++at;
                QFAIL(qPrintable(QStringLiteral("Event_%1.xml differs at byte %2:\n%3\n---\n%4")
                                     .arg(n)
                                     .arg(at)
                                     .arg(QString::fromUtf8(made.mid(qMax(0, at - 80), 200)),
                                          QString::fromUtf8(expected.mid(qMax(0, at - 80), 200)))));
            }
        }
        QCOMPARE(storage::NotesXmlBytes(project.notes), reference::NotesXml(project.notes));
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("bare");
        QTest::addColumn<bool>("writerEntry");
        QTest::newRow("plain") << "pic.png" << true << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("dot") << "." << false << false;
        QTest::newRow("dot dot") << ".." << false << false;
        QTest::newRow("slash") << "../pic.png" << false << false;
        QTest::newRow("backslash") << "..\\pic.png" << false << false;
        QTest::newRow("note list") << "Notes.xml" << true << true;
        QTest::newRow("media list") << "StrData.dat" << true << true;
        QTest::newRow("event file") << "Event_12.xml" << true << true;
        QTest::newRow("thumbnail") << "thumbnail_x.jpg" << true << true;
        QTest::newRow("event-like") << "Event_notes.xml" << true << false;
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, bare);
        QFETCH(bool, writerEntry);
        QCOMPARE(storage::IsBareFileName(name), bare);
        QCOMPARE(storage::IsWriterEntryName(name), writerEntry);
    }

    void legacySaveName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("saved");
        QTest::newRow("trailing extension") << "D:/lessons/math.vj" << "D:/lessons/math_new.vk";
        QTest::newRow("extension inside a folder name") << "/data/x.vjz/math.vj" << "/data/x.vjz/math_new.vk";
        QTest::newRow("upper case") << "/data/MATH.VJ" << "/data/MATH_new.vk";
        QTest::newRow("no extension") << "/data/math" << "/data/math_new.vk";
    }

    void legacySaveName()
    {
        QFETCH(QString, path);
        QFETCH(QString, saved);
        QCOMPARE(storage::LegacySaveName(path), saved);
    }

    // The first visit of the last recording, when it names a note; else the
    // current note (an empty or stale log must not index out of the list).
    void thumbnailNote_data()
    {
        QTest::addColumn<QVector<int>>("visits");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("chosen");
        QTest::newRow("recorded") << QVector<int>{2, 0} << 1 << 3 << 2;
        QTest::newRow("never recorded") << QVector<int>() << 1 << 3 << 1;
        QTest::newRow("stale log") << QVector<int>{5} << 1 << 3 << 1;
        QTest::newRow("negative log") << QVector<int>{-1} << 2 << 3 << 2;
        QTest::newRow("current out of range") << QVector<int>() << 9 << 3 << 0;
        QTest::newRow("no notes") << QVector<int>{0} << 0 << 0 << -1;
    }

    void thumbnailNote()
    {
        QFETCH(QVector<int>, visits);
        QFETCH(int, current);
        QFETCH(int, count);
        QFETCH(int, chosen);
        QCOMPARE(storage::ThumbnailNoteIndex(visits, current, count), chosen);
    }

    // Names taken from the board never leave the staging folder nor take
    // the place of the writer's own files; a file that is a link is not read.
    void unsafeNamesAreLeftOut()
    {
        QTemporaryDir work;
        QTemporaryDir sources;
        const QString outside = sources.filePath("secret.txt");
        QFile secret(outside);
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("secret");
        secret.close();
        const QString picture = sources.filePath("pic.png");
        QVERIFY(QFile::copy(outside, picture));
        QVERIFY(QFile::link(outside, sources.filePath("link.png")));

        storage::ProjectSnapshot project = Project({Note("a", 2, "../escape.png", picture),
                                                    Note("b", 2, "Notes.xml", picture),
                                                    Note("c", 3, "pic.png", picture)});
        project.mediaFiles = QStringList{sources.filePath("link.png"), sources.path() + "/", picture};
        const QString target = work.filePath("out.vk");
        const storage::ProjectSaveResult result =
            storage::SaveProjectFile(project, work.path(), "20240101_101010", target, [](const QString&, int) {});
        QVERIFY2(result.saved, qPrintable(result.error));
        QCOMPARE(ArchiveEntries(target), QStringList({"Event_0.xml", "Event_1.xml", "Event_2.xml", "Notes.xml",
                                                      "StrData.dat", "pic.png"}));
        QVERIFY(!QFileInfo::exists(work.path() + "/../escape.png"));
        QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"out.vk"}));
    }

    // A save puts the lesson where the user's file is, as an editor would:
    // through a link to the file it names, keeping the file's mode, and
    // into every name of a hard-linked file.
    void replacingKeepsWhatTheFileWas_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("mode") << "mode";
        QTest::newRow("link") << "link";
        QTest::newRow("hard link") << "hard link";
    }

    void replacingKeepsWhatTheFileWas()
    {
        QFETCH(QString, kind);
        QTemporaryDir work;
        QTemporaryDir user;
        const QString real = user.filePath("lesson.vk");
        QFile old(real);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old lesson");
        old.close();
        QVERIFY(QFile::setPermissions(real, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
        QString target = real;
        const QString other = user.filePath("other name.vk");
        if (kind == "link") {
            target = user.filePath("link.vk");
            QVERIFY(QFile::link(real, target));
        } else if (kind == "hard link") {
            QCOMPARE(::link(QFile::encodeName(real).constData(), QFile::encodeName(other).constData()), 0);
        }

        const storage::ProjectSaveResult result = storage::SaveProjectFile(
            Project({Note("a")}), work.path(), "20240101_101010", target, [](const QString&, int) {});
        QVERIFY2(result.saved, qPrintable(result.error));
        QCOMPARE(ArchiveEntries(real), QStringList({"Event_0.xml", "Notes.xml", "StrData.dat"}));
        QCOMPARE(QFileInfo(real).permissions() & 0x7077,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
        if (kind == "link")
            QVERIFY(QFileInfo(target).isSymLink());
        if (kind == "hard link")
            QCOMPARE(ArchiveEntries(other), ArchiveEntries(real));
        // Nothing of the save stays beside the lesson or in the work folder.
        QStringList expected{"lesson.vk"};
        if (kind == "link")
            expected << "link.vk";
        if (kind == "hard link")
            expected << "other name.vk";
        expected.sort();
        QCOMPARE(QDir(user.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), expected);
        QVERIFY(QDir(work.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    // What a killed save left beside a lesson goes at the next save into
    // that folder and at the next start; only plain files of ours named as a
    // pending save do: a link of that name, its target, a file with a second
    // name and the user's own files stay.
    void killedSaveLeftoversGo_data()
    {
        QTest::addColumn<QString>("when");
        QTest::newRow("next save into the folder") << "save";
        QTest::newRow("next start") << "start";
    }

    void killedSaveLeftoversGo()
    {
        QFETCH(QString, when);
        QTemporaryDir work;
        QTemporaryDir user;
        QTemporaryDir elsewhere;
        auto write = [](const QString& path, const QByteArray& bytes) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        const QString lesson = user.filePath("lesson.vk");
        const QString pending = user.filePath(".lesson.vk.saving");
        const QString otherPending = user.filePath(".other.vk.saving");
        const QString linkTarget = elsewhere.filePath("kept.vk");
        QVERIFY(write(lesson, "old lesson") && write(pending, "half") && write(otherPending, "half"));
        QVERIFY(write(linkTarget, "kept") && write(user.filePath("notes.saving"), "mine"));
        QVERIFY(QFile::link(linkTarget, user.filePath(".link.vk.saving")));
        QCOMPARE(::link(QFile::encodeName(linkTarget).constData(),
                        QFile::encodeName(user.filePath(".twice.vk.saving")).constData()), 0);
        QStringList kept{"lesson.vk", ".link.vk.saving", ".twice.vk.saving", "notes.saving"};

        if (when == "save") {
            const storage::ProjectSaveResult result = storage::SaveProjectFile(
                Project({Note("a")}), work.path(), "20240101_101010", lesson, [](const QString&, int) {});
            QVERIFY2(result.saved, qPrintable(result.error));
        } else {
            // The notes of two killed saves (one names the lesson itself,
            // which is no pending file) and a link posing as a note.
            QVERIFY(write(storage::PlacingJournalPath(work.path(), "1"), QFile::encodeName(pending)));
            QVERIFY(write(storage::PlacingJournalPath(work.path(), "2"), QFile::encodeName(lesson)));
            QVERIFY(write(elsewhere.filePath("note"), QFile::encodeName(otherPending)));
            QVERIFY(QFile::link(elsewhere.filePath("note"), storage::PlacingJournalPath(work.path(), "3")));
            storage::RemoveAbandonedSaves(work.path());
            // Only what a note names goes at the start.
            kept << ".other.vk.saving";
            QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList{QFileInfo(storage::PlacingJournalPath(work.path(), "3")).fileName()});
            QCOMPARE(QFile(lesson).size(), qint64(10));
        }
        kept.sort();
        QCOMPARE(QDir(user.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 kept);
        QVERIFY(QFileInfo(linkTarget).isFile());
    }

    // A hard-linked lesson killed half way through its in-place copy: at the
    // next start a whole note whose pending file is complete finishes the
    // copy into the lesson, both names see it and the pending file goes. A
    // note cut short (the copy had not begun) or a pending file of another
    // size finishes nothing: the lesson stays as it is and the pending
    // file goes with its save's other note.
    void interruptedInPlaceCopyAtTheNextStart_data()
    {
        QTest::addColumn<QString>("note");     // %P pending, %T target, %S the pending file's size
        QTest::addColumn<bool>("finished");
        QTest::newRow("whole note") << "%P\n%T\n%S\n" << true;
        QTest::newRow("note cut short") << "%P\n%T\n%S" << false;
        QTest::newRow("note without its size") << "%P\n%T\n" << false;
        QTest::newRow("pending file of another size") << "%P\n%T\n1\n" << false;
        QTest::newRow("pending file of another lesson") << "%P\n%T.other\n%S\n" << false;
    }

    void interruptedInPlaceCopyAtTheNextStart()
    {
        QFETCH(QString, note);
        QFETCH(bool, finished);
        QTemporaryDir work;
        QTemporaryDir user;
        auto write = [](const QString& path, const QByteArray& bytes) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        auto read = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
        };
        const QString lesson = user.filePath("lesson.vk");
        const QString second = user.filePath("second.vk");
        const QString pending = storage::PendingSavePath(lesson);
        const QByteArray halfWritten = "the new lesson, half|ten lesson, with a longer tail than the new one";
        const QByteArray complete = "the new lesson, whole";
        QVERIFY(write(lesson, halfWritten) && write(pending, complete));
        QCOMPARE(::link(QFile::encodeName(lesson).constData(), QFile::encodeName(second).constData()), 0);
        QVERIFY(write(storage::PlacingJournalPath(work.path(), "1"), QFile::encodeName(pending)));
        note.replace("%P", pending).replace("%T", lesson).replace("%S", QString::number(complete.size()));
        QVERIFY(write(storage::CopyingJournalPath(work.path(), "1"), note.toUtf8()));

        storage::RemoveAbandonedSaves(work.path());
        QCOMPARE(read(lesson), finished ? complete : halfWritten);
        QCOMPARE(read(second), read(lesson));
        QCOMPARE(QDir(user.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"lesson.vk", "second.vk"}));
        QVERIFY(QDir(work.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    // Two pictures of one bare name from different folders are two entries;
    // the media list leads the reader to each.
    void sameBareNameMediaStayApart()
    {
        QTemporaryDir work;
        QTemporaryDir sources;
        QVERIFY(QDir(sources.path()).mkpath("a") && QDir(sources.path()).mkpath("b"));
        const QString first = sources.filePath("a/photo.png");
        const QString second = sources.filePath("b/photo.png");
        for (const QString& path : {first, second}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(path.toUtf8());
        }
        storage::ProjectSnapshot project = Project({Note("a")});
        project.mediaFiles = QStringList{first, second, first};
        const QString target = work.filePath("out.vk");
        const storage::ProjectSaveResult result =
            storage::SaveProjectFile(project, work.path(), "20240101_101010", target, [](const QString&, int) {});
        QVERIFY2(result.saved, qPrintable(result.error));
        QCOMPARE(ArchiveEntries(target),
                 QStringList({"Event_0.xml", "Notes.xml", "StrData.dat", "photo.png", "photo_2.png"}));
        QCOMPARE(ArchiveEntry(target, "StrData.dat"),
                 (first + "\n" + sources.filePath("b/photo_2.png") + "\n" + first + "\n").toUtf8());
        QCOMPARE(ArchiveEntry(target, "photo.png"), first.toUtf8());
        QCOMPARE(ArchiveEntry(target, "photo_2.png"), second.toUtf8());
    }

    // A disk without room makes no save: the old project stays byte for
    // byte, nothing half made stays behind, and the reason is in words.
    void fullDiskKeepsTheOldProject_data()
    {
        QTest::addColumn<bool>("stagingFull");
        QTest::addColumn<bool>("hardLinked");  // the lesson has a second name
        QTest::newRow("work folder full") << true << false;
        QTest::newRow("project folder full") << false << false;
        QTest::newRow("project folder full, hard-linked lesson") << false << true;
    }

    void fullDiskKeepsTheOldProject()
    {
        QFETCH(bool, stagingFull);
        QFETCH(bool, hardLinked);
        SmallFilesystem small(256 * 1024);
        if (!small.isMounted())
            QSKIP(qPrintable(small.reason()));
        QTemporaryDir roomy;
        const QString work = stagingFull ? small.filePath("work") : roomy.filePath("work");
        const QString projects = stagingFull ? roomy.filePath("projects") : small.filePath("projects");
        QVERIFY(QDir().mkpath(work) && QDir().mkpath(projects));
        const QString target = projects + "/lesson.vk";
        const QByteArray oldBytes = "PK old lesson that must survive";
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            QCOMPARE(old.write(oldBytes), qint64(oldBytes.size()));
        }
        QStringList names{"lesson.vk"};
        if (hardLinked) {
            QCOMPARE(::link(QFile::encodeName(target).constData(), QFile::encodeName(projects + "/second.vk").constData()), 0);
            names << "second.vk";
        }
        // A picture that packs to more than the small disk holds.
        const QString picture = roomy.filePath("noise.bin");
        {
            QFile file(picture);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QByteArray noise(512 * 1024, Qt::Uninitialized);
            for (int i = 0; i < noise.size(); ++i)
                noise[i] = char(QRandomGenerator::global()->generate());
            file.write(noise);
        }
        storage::ProjectSnapshot project = Project({Note("a"), Note("b")});
        project.mediaFiles = QStringList{picture};

        const storage::ProjectSaveResult result =
            storage::SaveProjectFile(project, work, "20240101_101010", target, [](const QString&, int) {});
        QVERIFY(!result.saved);
        QVERIFY2(result.error.contains("the disk is full"), qPrintable(result.error));
        QFile old(target);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), oldBytes);
        QVERIFY(QDir(work).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        QCOMPARE(QDir(projects).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), names);
    }
};

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "project_file_test.moc"
