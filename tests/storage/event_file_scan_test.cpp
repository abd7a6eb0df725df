// The scan of the event files in the writer's own shape: the writer's
// bytes are taken whole, every other form and every damage is handed back
// to the general reader, and no cut of a file makes it read past its end.
#include "board/event_kind.h"
#include "storage/event_file_bytes.h"
#include "storage/event_file_scan.h"

#include <QtTest>

#include <cstring>
#include <memory>

namespace {

// Every element the scan reports, as text.
class Transcript : public storage::EventFileVisitor
{
public:
    QStringList lines;

    void event(const storage::XmlText* values) override { add("Event", storage::kEventAttributes, 5, values); }
    void group(int slot) override { lines << QStringLiteral("group %1").arg(slot); }
    void master(const storage::XmlText* values) override { add("EM", storage::kMasterAttributes, 7, values); }
    void detail(const storage::XmlText* values) override { add("ED", storage::kDetailAttributes, 22, values); }
    void point(const storage::XmlText* values) override { add("FP", storage::kPointAttributes, 8, values); }

private:
    void add(const char* tag, const char* const* names, int count, const storage::XmlText* values)
    {
        QString line = QLatin1String(tag);
        for (int i = 0; i < count; ++i)
            line += QStringLiteral(" %1=%2").arg(QLatin1String(names[i]),
                                                 QString::fromLatin1(values[i].begin, values[i].size()));
        lines << line;
    }
};

// The bytes in a heap block of their exact size, so that a read past the
// end is caught by the address sanitizer.
bool Scan(const QByteArray& bytes, Transcript* transcript = nullptr)
{
    std::unique_ptr<char[]> exact(new char[size_t(qMax(1, bytes.size()))]);
    std::memcpy(exact.get(), bytes.constData(), size_t(bytes.size()));
    Transcript ignored;
    return storage::ScanEventFile(exact.get(), bytes.size(), transcript ? *transcript : ignored);
}

// A small lesson of one note with every record kind in two slots.
storage::ProjectSnapshot SmallLesson()
{
    storage::ProjectSnapshot project;
    NoteInfo note;
    note.create_data = QStringLiteral("20240101080000000");
    project.notes = {note};
    project.boardSize = QSize(1920, 1080);
    project.pageSize = QSize(1600, 900);
    for (int slot : {0, 10}) {
        for (quint16 id = 0; id < 2; ++id) {
            EventMaster em;
            em.EventID = id;
            em.Kind = id ? ekImage : ekFree;
            em.MediaPos = 1234.5;
            em.NoteName = note.create_data;
            EventDetail ed;
            ed.EventID = id;
            ed.S = QPointF(-10.7, 20.2);
            ed.PenColor = QColor(200, 10, 30);
            ed.Angle = 12.5f;
            project.slotTables[slot].masters << em;
            project.slotTables[slot].details << ed;
            for (int action : {1, 2, 3}) {
                FreePenPoint p;
                p.EventID = id;
                p.MouseAction = action;
                p.Press = 0.75f;
                p.S = p.M = QPointF(50.9 + action, 60.1);
                project.slotTables[slot].points << p;
            }
        }
    }
    return project;
}

QByteArray WriterBytes()
{
    const storage::ProjectSnapshot project = SmallLesson();
    return storage::EventFileWriter(project).EventFile(0);
}

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
const QByteArray kEvent = "<Event Note=\"n\" Width=\"800\" Height=\"600\" RWidth=\"800\" RHeight=\"600\">";
const QByteArray kPoint = "<FP EI=\"1\" MP=\"-1\" MA=\"3\" PS=\"0\" SX=\"1\" SY=\"2\" MX=\"3\" MY=\"4\"/>";

QByteArray PointFile(const QByteArray& point, const QByteArray& group = "<FP_0 Type=\"FP\" Index=\"0\">",
                     const QByteArray& groupEnd = "</FP_0>")
{
    return kDeclaration + "\n" + kEvent + "\n    " + group + "\n        " + point + "\n    " + groupEnd
        + "\n</Event>\n";
}

}  // namespace

class EventFileScanTest : public QObject
{
    Q_OBJECT

private slots:
    // The writer's file is scanned whole, element by element, values as
    // written.
    void writerFilesAreScanned()
    {
        Transcript transcript;
        QVERIFY(Scan(WriterBytes(), &transcript));
        QCOMPARE(transcript.lines.size(), 1 + 6 + 4 + 4 + 12);
        QCOMPARE(transcript.lines.first(),
                 QStringLiteral("Event Note=20240101080000000 Width=1920 Height=1080 RWidth=1600 RHeight=900"));
        QCOMPARE(transcript.lines.filter(QStringLiteral("group 10")).size(), 3);
        QVERIFY2(transcript.lines.contains(QStringLiteral(
                     "ED EI=1 SX=-10 SY=20 EX=0 EY=0 MX=0 MY=0 CX=0 CY=0 OX=0 OY=0 OW=0 OH=0 BX=0 BY=0 BW=0 "
                     "BH=0 PC=#c80a1e PW=0 AG=12.5 BD=0 TP=255")),
                 qPrintable(transcript.lines.join('\n')));
        QVERIFY(transcript.lines.contains(
            QStringLiteral("FP EI=0 MP=-1 MA=2 PS=0.75 SX=52 SY=60 MX=52 MY=60")));

        // A note without records, and the writer's blank forms.
        storage::ProjectSnapshot empty = SmallLesson();
        empty.slotTables = {};
        QVERIFY(Scan(storage::EventFileWriter(empty).EventFile(0)));
        QVERIFY(Scan(PointFile(kPoint).replace('\n', "\r\n")));
        QVERIFY(Scan(PointFile("<FP   EI=\"1\"\tMP=\"-1\"\nMA=\"3\" PS=\"0\" SX=\"1\" SY=\"2\" MX=\"3\" MY=\"4\"  />")));
        QVERIFY(Scan(PointFile(kPoint, "<FP_0 Type=\"FP\" Index=\"0\" >", "</FP_0 >")));
        QVERIFY(Scan(kDeclaration + "<Event Note=\"\" Width=\"\" Height=\"x\" RWidth=\"1e3\" RHeight=\"-\"/>"));
    }

    // Whatever an XML reader may read differently, or that is not the
    // writer's, goes to the general reader.
    void otherFormsAreNotScanned_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray file = PointFile(kPoint);
        auto replaced = [&file](const QByteArray& from, const QByteArray& to) {
            return QByteArray(file).replace(from, to);
        };
        QTest::newRow("attributes in another order") << replaced("EI=\"1\" MP=\"-1\"", "MP=\"-1\" EI=\"1\"");
        QTest::newRow("an attribute more") << replaced("MY=\"4\"", "MY=\"4\" ZZ=\"0\"");
        QTest::newRow("an attribute missing") << replaced(" MY=\"4\"", "");
        QTest::newRow("entity") << replaced("EI=\"1\"", "EI=\"&#49;\"");
        QTest::newRow("single quotes") << replaced("EI=\"1\"", "EI='1'");
        QTest::newRow("blanks around =") << replaced("EI=\"1\"", "EI = \"1\"");
        QTest::newRow("tab in a value") << replaced("MP=\"-1\"", "MP=\"\t-1\"");
        QTest::newRow("not ASCII") << replaced("Note=\"n\"", "Note=\"\xc3\xa9\"");
        QTest::newRow("comment") << replaced("<FP EI", "<!-- x --><FP EI");
        QTest::newRow("processing instruction") << replaced("<FP EI", "<?x y?><FP EI");
        QTest::newRow("CDATA") << replaced("<FP EI", "<![CDATA[x]]><FP EI");
        QTest::newRow("text") << replaced("<FP EI", "x<FP EI");
        QTest::newRow("byte order mark") << "\xef\xbb\xbf" + file;
        QTest::newRow("no declaration") << file.mid(kDeclaration.size());
        QTest::newRow("other encoding") << replaced("UTF-8", "ISO-8859-1");
        QTest::newRow("doctype") << replaced("<Event ", "<!DOCTYPE Event><Event ");
        QTest::newRow("record with an end tag") << replaced("\"4\"/>", "\"4\"></FP>");
        QTest::newRow("record of another group") << replaced("<FP EI", "<ED EI");
        QTest::newRow("nested element") << replaced("\"4\"/>", "\"4\"><x/></FP>");
        QTest::newRow("record outside a group") << replaced("<FP_0 Type=\"FP\" Index=\"0\">", "")
                                                          .replace("</FP_0>", "");
        QTest::newRow("slot 11") << PointFile(kPoint, "<FP_11 Type=\"FP\" Index=\"11\">", "</FP_11>");
        QTest::newRow("slot 01") << PointFile(kPoint, "<FP_01 Type=\"FP\" Index=\"01\">", "</FP_01>");
        QTest::newRow("slot far too large")
            << PointFile(kPoint, "<FP_99999999999999999999 Type=\"FP\" Index=\"99999999999999999999\">",
                         "</FP_99999999999999999999>");
        QTest::newRow("index unlike the name") << PointFile(kPoint, "<FP_0 Type=\"FP\" Index=\"1\">", "</FP_0>");
        QTest::newRow("type unlike the name") << PointFile(kPoint, "<FP_0 Type=\"EM\" Index=\"0\">", "</FP_0>");
        QTest::newRow("end tag unlike the start") << PointFile(kPoint, "<FP_0 Type=\"FP\" Index=\"0\">", "</FP_1>");
        QTest::newRow("something after the end") << file + "<Event/>";
        QTest::newRow("cut in a value") << file.left(file.indexOf("SY=\"") + 4);
        QTest::newRow("no end of the group") << replaced("</FP_0>", "");
        QTest::newRow("deep nesting") << replaced("<FP EI", QByteArray(100000, 'x').replace("x", "<a>") + "<FP EI");
        QTest::newRow("empty") << QByteArray();
    }

    void otherFormsAreNotScanned()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!Scan(bytes));
    }

    // A file cut anywhere is never taken whole, and never read past its end.
    void cutFilesAreNotScanned()
    {
        const QByteArray file = WriterBytes();
        const int whole = file.lastIndexOf("</Event>") + int(strlen("</Event>"));
        for (int size = 0; size < whole; ++size)
            QVERIFY2(!Scan(file.left(size)), qPrintable(QString::number(size)));
        QVERIFY(Scan(file.left(whole)));
    }
};

QTEST_MAIN(EventFileScanTest)
#include "event_file_scan_test.moc"
