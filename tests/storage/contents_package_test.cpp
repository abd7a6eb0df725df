// The contents package's core: the per-visit event files byte for byte, the
// note list, the visits a stale log still finds, the page PDFs through the
// exporter's functions and the save's failures, where nothing may be lost.
#include "storage/contents_package.h"

#include "storage/pdf_libraries.h"
#include "tests/support/small_filesystem.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>

Q_DECLARE_METATYPE(ExportBoardTables)

namespace {

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

EventMaster Master(quint16 id, const QString& note, int kind = 3)
{
    EventMaster em;
    em.EventID = id;
    em.NoteName = note;
    em.MediaPos = 1234567.0;
    em.Kind = kind;
    return em;
}

EventDetail Detail(quint16 id, bool firstFlag = true)
{
    EventDetail ed;
    ed.EventID = id;
    ed.S = QPointF(1.5, 2);
    ed.E = QPointF(30, 40.25);
    ed.OriginRF = QRect(1, 2, 3, 4);
    ed.PenColor = QColor(255, 0, 0, 128);
    ed.PenWidth = 3;
    ed.PageDeleted = firstFlag ? 1 : 0;
    ed.Modified = 1;
    ed.Transparent = 200;
    ed.ExportAngle = 90;
    return ed;
}

ErasePoint Erase(quint16 id, int gi, int gt)
{
    ErasePoint ep;
    ep.EventID = id;
    ep.MediaPos = 50;
    ep.EraseKind = 2;
    ep.BoundRF = QRect(1, 1, 10, 10);
    ep.GroupRect = QRect(2, 2, 20, 20);
    ep.GroupIndex = gi;
    ep.GroupTotal = gt;
    return ep;
}

ModifyPoint Modify(quint16 id)
{
    ModifyPoint me;
    me.EventID = id;
    me.MediaPos = 60;
    me.Kind = 3;
    me.ModifyKind = 25;
    me.M = QPointF(10.9, -3.7);
    me.C = QPointF(0.5, 7);
    me.BoundRF = QRect(0, 0, 5, 6);
    me.PrevBoundRF = QRect(1, 1, 2, 2);
    me.GroupIndex = 1;
    me.GroupTotal = 1;
    return me;
}

FreePenPoint Sample(quint16 id, int action)
{
    FreePenPoint p;
    p.EventID = id;
    p.MediaPos = 70;
    p.Press = 0.5f;
    p.S = QPointF(3.25, 4);
    p.MouseAction = action;
    return p;
}

QByteArray EventFile(const QString& create, const ExportBoardTables& tables)
{
    return storage::VisitEventFileBytes(create, QSize(800, 600), tables);
}

NoteInfo Note(const QString& create, int type = 1, const QString& path = QStringLiteral("WhiteBoard"))
{
    NoteInfo note;
    note.name = path;
    note.create_data = create;
    note.path = path;
    note.type = type;
    note.width = 800;
    note.height = 600;
    return note;
}

// An exporter made of counting stand-ins: each call is listed, and the save
// of one chosen call fails.
QStringList g_calls;
int g_failingSave = -1;
int g_saves = 0;

int FakeNewPdf(int w, int h, double, QString background, QColor colour)
{
    g_calls << QStringLiteral("new %1x%2 %3 %4").arg(w).arg(h).arg(background, colour.name());
    return 0;
}
int FakeNewPdfFrom(QString source, int, int, int, int, int, int)
{
    g_calls << QStringLiteral("from %1").arg(source);
    return 0;
}
int FakeSave(QString file)
{
    g_calls << QStringLiteral("save %1").arg(QFileInfo(file).fileName().section(QLatin1Char('_'), 0, 1));
    if (g_saves++ == g_failingSave)
        return 3;
    QFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write("%PDF") == 4 ? 0 : 3;
}
int FakeClose() { return 0; }
int FakeMerge(QStringList files, QString target)
{
    QStringList names;
    for (const QString& f : files)
        names << QFileInfo(f).fileName().section(QLatin1Char('_'), 0, 1);
    g_calls << QStringLiteral("merge %1 -> %2").arg(names.join(QLatin1Char(' ')), QFileInfo(target).fileName());
    QFile out(target);
    return out.open(QIODevice::WriteOnly) && out.write("%PDF") == 4 ? 0 : 3;
}
int FakeSetPage() { return 0; }
int FakeFinishPage() { return 0; }
int FakeDrawImage(QPointF, const QImage&) { return 0; }

const storage::PdfExporterLibrary& FakeExporter()
{
    static storage::PdfExporterLibrary exporter;
    exporter.bound = true;
    exporter.NewPDF = FakeNewPdf;
    exporter.NewPDFFrom = FakeNewPdfFrom;
    exporter.SavePDF = FakeSave;
    exporter.Close = FakeClose;
    exporter.MergePDF = FakeMerge;
    exporter.PainterSetPage = FakeSetPage;
    exporter.PainterFinishPage = FakeFinishPage;
    exporter.DrawImage = FakeDrawImage;
    return exporter;
}

QVector<storage::PageVisit> Visits(const QStringList& creates, const QVector<NoteInfo>& notes)
{
    QVector<storage::PageVisit> visits;
    for (const QString& create : creates) {
        int index = -1;
        for (int i = 0; i < notes.size(); ++i)
            index = notes[i].create_data == create ? i : index;
        visits.append({index, QStringLiteral("WhiteBoard"), create, QStringLiteral("0")});
    }
    return visits;
}

QStringList FilesIn(const QString& folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    return files;
}

// PATH reduced to a folder of our own stand-ins for the life of the object.
class ScopedPath
{
public:
    explicit ScopedPath(const QString& folder) : m_previous(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(folder));
    }
    ~ScopedPath() { qputenv("PATH", m_previous); }

private:
    QByteArray m_previous;
};

}  // namespace

class ContentsPackageTest : public QObject
{
    Q_OBJECT

private slots:
    void eventFile_data()
    {
        QTest::addColumn<ExportBoardTables>("tables");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("a note without objects") << ExportBoardTables()
                                                << kHead + "<Event Note=\"A\" Width=\"800\" Height=\"600\"/>\n";

        ExportBoardTables mouse;
        mouse[10].masters = {Master(0, "A"), Master(1, "other")};
        mouse[10].details = {Detail(1), Detail(0)};
        mouse[10].erasePoints = {Erase(0, 3, 3)};
        mouse[10].modifyPoints = {Modify(0)};
        mouse[10].samples = {Sample(0, 1), Sample(1, 1)};
        QTest::newRow("slot 10 only, every group")
            << mouse
            << kHead
                   + "<Event Note=\"A\" Width=\"800\" Height=\"600\">\n"
                     "    <EM_10 Type=\"EM\" Index=\"10\">\n"
                     "        <EM KD=\"3\" MP=\"1.23457e+06\" SD=\"65535\" EI=\"0\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
                     "    </EM_10>\n"
                     "    <ED_10 Type=\"ED\" Index=\"10\">\n"
                     "        <ED EI=\"0\" SX=\"1.5\" SY=\"2\" EX=\"30\" EY=\"40.25\" OX=\"1\" OY=\"2\" OW=\"3\" "
                     "OH=\"4\" PC=\"#ff0000\" PW=\"3\" OA=\"90\" BD=\"1\" MD=\"1\" TP=\"200\"/>\n"
                     "    </ED_10>\n"
                     "    <EP_10 Type=\"EP\" Index=\"10\">\n"
                     "        <EP EI=\"0\" MP=\"50\" EK=\"2\" BX=\"2\" BY=\"2\" BW=\"20\" BH=\"20\" AG=\"0\" GI=\"3\" "
                     "GT=\"3\"/>\n"
                     "    </EP_10>\n"
                     "    <ME_10 Type=\"ME\" Index=\"10\">\n"
                     "        <ME EI=\"0\" MP=\"60\" KD=\"3\" MK=\"25\" MX=\"10\" MY=\"-3\" CX=\"0\" CY=\"7\" BX=\"0\" "
                     "BY=\"0\" BW=\"5\" BH=\"6\" SD=\"65535\" AG=\"0\" PX=\"1\" PY=\"1\" PW=\"2\" PH=\"2\" PG=\"0\" "
                     "GI=\"1\" GT=\"1\"/>\n"
                     "    </ME_10>\n"
                     "    <FP_10 Type=\"FP\" Index=\"10\">\n"
                     "        <FP EI=\"0\" MP=\"70\" MA=\"1\" PS=\"0.5\" SX=\"3.25\" SY=\"4\"/>\n"
                     "    </FP_10>\n"
                     "</Event>\n";
    }

    void eventFile()
    {
        QFETCH(ExportBoardTables, tables);
        QFETCH(QByteArray, expected);
        QCOMPARE(EventFile(QStringLiteral("A"), tables), expected);
    }

    // One attribute run of a single record, for the choices between stored
    // and alternative values and between the two rectangles.
    void recordChoices_data()
    {
        QTest::addColumn<ExportBoardTables>("tables");
        QTest::addColumn<QByteArray>("fragment");
        QTest::addColumn<bool>("present");

        const auto one = [](std::function<void(EventDetail&)> change, QVector<ErasePoint> erases = {}) {
            ExportBoardTables t;
            t[0].masters = {Master(0, "A")};
            EventDetail d = Detail(0);
            change(d);
            t[0].details = {d};
            t[0].erasePoints = erases;
            return t;
        };
        QTest::newRow("alternative S with one -1 gives S")
            << one([](EventDetail& d) { d.AltSX = -1.0; d.AltSY = 9; }) << QByteArray("SX=\"1.5\" SY=\"2\"") << true;
        QTest::newRow("alternative S and E set")
            << one([](EventDetail& d) { d.AltSX = 7; d.AltSY = 8; d.AltEX = 0; d.AltEY = 0.5; })
            << QByteArray("SX=\"7\" SY=\"8\" EX=\"0\" EY=\"0.5\"") << true;
        QTest::newRow("alternative rectangle with a -1 gives OriginRF")
            << one([](EventDetail& d) { d.AltRect = QRect(5, 5, -1, 20); })
            << QByteArray("OX=\"1\" OY=\"2\" OW=\"3\" OH=\"4\"") << true;
        QTest::newRow("alternative rectangle set")
            << one([](EventDetail& d) { d.AltRect = QRect(5, 6, 7, 8); })
            << QByteArray("OX=\"5\" OY=\"6\" OW=\"7\" OH=\"8\"") << true;
        QTest::newRow("erase 1 of 1: first rectangle")
            << one([](EventDetail&) {}, {Erase(0, 1, 1)}) << QByteArray("BX=\"1\" BY=\"1\" BW=\"10\"") << true;
        QTest::newRow("erase 2 of 3: first rectangle")
            << one([](EventDetail&) {}, {Erase(0, 2, 3)}) << QByteArray("BX=\"1\" BY=\"1\" BW=\"10\"") << true;
        QTest::newRow("without the first flag no EP")
            << one([](EventDetail& d) { d.PageDeleted = 0; d.Deleted = 1; }, {Erase(0, 1, 1)})
            << QByteArray("<EP") << false;
    }

    void recordChoices()
    {
        QFETCH(ExportBoardTables, tables);
        QFETCH(QByteArray, fragment);
        QFETCH(bool, present);
        const QByteArray file = EventFile(QStringLiteral("A"), tables);
        QVERIFY2(file.contains(fragment) == present, file.constData());
    }

    void notesXml()
    {
        const NoteInfo board = Note(QStringLiteral("A"));
        NoteInfo picture = Note(QStringLiteral("B"), 2, QStringLiteral("/pics/b.png"));
        picture.page_option = true;
        picture.width = 640;
        const QVector<storage::VisitNoteEntry> entries = {
            storage::MakeVisitNoteEntry({0, QStringLiteral("WhiteBoard"), QStringLiteral("A"), QStringLiteral("0")},
                                        board, QStringLiteral("blackboard color")),
            storage::MakeVisitNoteEntry({1, QStringLiteral("b.png"), QStringLiteral("B"), QStringLiteral("1.23457e+06")},
                                        picture, QStringLiteral("blackboard color")),
        };
        QCOMPARE(storage::VisitNotesXmlBytes(QStringLiteral("rec.pdf"), entries),
                 kHead
                     + "<NoteList PDFName=\"rec.pdf\">\n"
                       "    <NoteInfo Type=\"1\" Name=\"BlackBoard\" Create=\"A\" Access=\"0\" NoteWidth=\"800\" "
                       "NoteHeight=\"600\" PageOption=\"0\"/>\n"
                       "    <NoteInfo Type=\"2\" Name=\"b.png\" Create=\"B\" Access=\"1.23457e+06\" NoteWidth=\"640\" "
                       "NoteHeight=\"600\" PageOption=\"1\"/>\n"
                       "</NoteList>\n");
    }

    // The package's two XML files for values at the edges of what they
    // hold: names with markup, controls and letters past ASCII, numbers
    // fractional, huge, negative and no number at all, groups in two slots.
    // The bytes are those the writer gave before it shared the project
    // save's serialiser; stored packages are read by them.
    void oddValuesKeepTheirBytes()
    {
        const QString key = QStringLiteral("N<&>\"'\t\r\n\u00e9\u4e2d\U0001f600\u0001");
        ExportBoardTables tables;
        EventMaster em = Master(7, key, 5);
        em.MediaPos = -0.000123456;
        em.SCale = 1e300;
        em.StrData = 12;
        em.HScroll = -40;
        em.VScroll = 65535;
        tables[0].masters = {em};
        EventDetail ed = Detail(7);
        ed.S = QPointF(std::nan(""), -0.0);
        ed.E = QPointF(1e12, -1e12);
        ed.AltEX = 2.5e-9;
        ed.AltEY = 123456789.987;
        ed.PenColor = QColor(1, 2, 3, 0);
        ed.ExportAngle = -359.99f;
        tables[0].details = {ed};
        tables[0].erasePoints = {Erase(7, 2, 2)};
        ModifyPoint me = Modify(7);
        me.M = QPointF(-0.9, 1e15);
        me.C = QPointF(std::numeric_limits<double>::infinity(), -2147483649.0);
        me.Angle = 45.5f;
        me.PrevAngle = -0.25f;
        me.GroupIndex = 2;
        me.GroupTotal = 2;
        me.GroupRect = QRect(-5, -6, 7, 8);
        tables[0].modifyPoints = {me};
        FreePenPoint fp = Sample(7, 3);
        fp.S = QPointF(0.1, 1.0 / 3.0);
        fp.Press = 1.0f;
        tables[0].samples = {fp};
        tables[3].masters = {Master(7, key), Master(8, QStringLiteral("other"))};
        tables[3].samples = {Sample(8, 1), Sample(7, 2)};

        QCOMPARE(storage::VisitEventFileBytes(key, QSize(-1, 0), tables),
                 QByteArray(
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<Event Note=\"N&lt;&amp;&gt;&quot;'&#9;&#13;&#10;\u00e9\u4e2d\U0001f600\" Width=\"-1\" Height=\"0\">\n"
                 "    <EM_0 Type=\"EM\" Index=\"0\">\n"
                 "        <EM KD=\"5\" MP=\"-0.000123456\" SD=\"12\" EI=\"7\" SC=\"1e+300\" HS=\"65496\" VS=\"65535\"/>\n"
                 "    </EM_0>\n"
                 "    <EM_3 Type=\"EM\" Index=\"3\">\n"
                 "        <EM KD=\"3\" MP=\"1.23457e+06\" SD=\"65535\" EI=\"7\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
                 "    </EM_3>\n"
                 "    <ED_0 Type=\"ED\" Index=\"0\">\n"
                 "        <ED EI=\"7\" SX=\"nan\" SY=\"0\" EX=\"2.5e-09\" EY=\"1.23457e+08\" OX=\"1\" OY=\"2\" OW=\"3\" OH=\"4\" PC=\"#010203\" PW=\"3\" OA=\"-359\" BD=\"1\" MD=\"1\" TP=\"200\"/>\n"
                 "    </ED_0>\n"
                 "    <EP_0 Type=\"EP\" Index=\"0\">\n"
                 "        <EP EI=\"7\" MP=\"50\" EK=\"2\" BX=\"2\" BY=\"2\" BW=\"20\" BH=\"20\" AG=\"0\" GI=\"2\" GT=\"2\"/>\n"
                 "    </EP_0>\n"
                 "    <ME_0 Type=\"ME\" Index=\"0\">\n"
                 "        <ME EI=\"7\" MP=\"60\" KD=\"3\" MK=\"25\" MX=\"0\" MY=\"2147483647\" CX=\"2147483647\" CY=\"-2147483648\" BX=\"0\" BY=\"0\" BW=\"5\" BH=\"6\" SD=\"65535\" AG=\"45.5\" PX=\"-5\" PY=\"-6\" PW=\"7\" PH=\"8\" PG=\"-0.25\" GI=\"2\" GT=\"2\"/>\n"
                 "    </ME_0>\n"
                 "    <FP_0 Type=\"FP\" Index=\"0\">\n"
                 "        <FP EI=\"7\" MP=\"70\" MA=\"3\" PS=\"1\" SX=\"0.1\" SY=\"0.333333\"/>\n"
                 "    </FP_0>\n"
                 "    <FP_3 Type=\"FP\" Index=\"3\">\n"
                 "        <FP EI=\"7\" MP=\"70\" MA=\"2\" PS=\"0.5\" SX=\"3.25\" SY=\"4\"/>\n"
                 "    </FP_3>\n"
                 "</Event>\n"));

        storage::VisitNoteEntry entry;
        entry.type = -3;
        entry.name = key;
        entry.create = QStringLiteral("  spaced  ");
        entry.access = QStringLiteral("1e+300");
        entry.width = 2147483647;
        entry.height = -2147483647 - 1;
        entry.pageOption = true;
        QCOMPARE(storage::VisitNotesXmlBytes(key + QStringLiteral(".pdf"), {entry, storage::VisitNoteEntry()}),
                 QByteArray(
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<NoteList PDFName=\"N&lt;&amp;&gt;&quot;'&#9;&#13;&#10;\u00e9\u4e2d\U0001f600.pdf\">\n"
                 "    <NoteInfo Type=\"-3\" Name=\"N&lt;&amp;&gt;&quot;'&#9;&#13;&#10;\u00e9\u4e2d\U0001f600\" Create=\"  spaced  \" Access=\"1e+300\" NoteWidth=\"2147483647\" NoteHeight=\"-2147483648\" PageOption=\"1\"/>\n"
                 "    <NoteInfo Type=\"1\" Name=\"\" Create=\"\" Access=\"\" NoteWidth=\"0\" NoteHeight=\"0\" PageOption=\"0\"/>\n"
                 "</NoteList>\n"));
    }

    // A visit is found by its Create key when its index went stale; a note
    // that is gone is no visit; names that are no bare file names get no file.
    void visitedNote_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("create");
        QTest::addColumn<int>("found");
        QTest::newRow("index and key agree") << 1 << "B" << 1;
        QTest::newRow("index stale") << 0 << "C" << 2;
        QTest::newRow("index out of range") << 7 << "A" << 0;
        QTest::newRow("negative index") << -1 << "B" << 1;
        QTest::newRow("note gone") << 1 << "deleted" << -1;
    }

    void visitedNote()
    {
        QFETCH(int, index);
        QFETCH(QString, create);
        QFETCH(int, found);
        const QVector<NoteInfo> notes = {Note("A"), Note("B"), Note("C")};
        QCOMPARE(storage::VisitedNote({index, QString(), create, QString()}, notes), found);
    }

    void eventFileNames()
    {
        QCOMPARE(storage::VisitEventFileName(QStringLiteral("20260101120000000")),
                 QStringLiteral("20260101120000000.xml"));
        for (const char* bad : {"", "..", "../x", "a/b", "a\\b", "Notes", "New_Event"})
            QVERIFY2(storage::VisitEventFileName(QString::fromUtf8(bad)).isEmpty(), bad);
        // A log whose lists differ in length is cut, not read past its end.
        QCOMPARE(storage::PageVisitsFromLog({0, 1}, {"a", "b", "c"}, {"A"}, {"0", "1"}).size(), 1);
    }

    void pdfCalls_data()
    {
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<int>("failingSave");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("files");

        QTest::newRow("one visit: the package PDF directly")
            << QStringList{"A"} << -1 << QStringList{"new 320x240  #ffff00", "save rec.pdf"} << QString()
            << QStringList{"rec.pdf"};
        QTest::newRow("A, B, A: two notes merged in order")
            << QStringList{"A", "B", "A"} << -1
            << QStringList{"new 320x240  #ffff00", "save 1_HALCY", "new 320x240  #194a39", "save 2_HALCY",
                           "merge 1_HALCY 2_HALCY -> rec.pdf"}
            << QString() << QStringList{"rec.pdf"};
        QTest::newRow("save fails at the second of three")
            << QStringList{"A", "B", "C"} << 1
            << QStringList{"new 320x240  #ffff00", "save 1_HALCY", "new 320x240  #194a39", "save 2_HALCY"}
            << QStringLiteral("Fail to save pdf for NoteIndex 1") << QStringList();
        QTest::newRow("a stale visit is skipped")
            << QStringList{"gone", "C"} << -1 << QStringList{"from /docs/c.pdf", "save 2_HALCY",
                                                             "merge 2_HALCY -> rec.pdf"}
            << QString() << QStringList{"rec.pdf"};
    }

    void pdfCalls()
    {
        QFETCH(QStringList, visits);
        QFETCH(int, failingSave);
        QFETCH(QStringList, calls);
        QFETCH(QString, error);
        QFETCH(QStringList, files);
        QTemporaryDir folder;
        const QVector<NoteInfo> notes = {Note("A"), Note("B", 1, "BlackBoard"), Note("C", 3, "/docs/c.pdf")};
        storage::PackagePdfSettings settings;
        settings.view = QSize(320, 240);
        settings.boardColor = QColor(255, 255, 0);
        g_calls.clear();
        g_saves = 0;
        g_failingSave = failingSave;
        const storage::PackagePdfResult result = storage::ExportVisitPdfs(
            FakeExporter(), Visits(visits, notes), notes, settings, folder.path(), QStringLiteral("rec"));
        QCOMPARE(g_calls, calls);
        QCOMPARE(result.ok, error.isEmpty());
        QCOMPARE(result.error, error);
        QCOMPARE(FilesIn(folder.path()), files);
    }

    void pdfWithoutExporter()
    {
        QTemporaryDir folder;
        storage::PdfExporterLibrary missing;  // not bound, every pointer null
        const storage::PackagePdfResult result = storage::ExportVisitPdfs(
            missing, Visits({"A"}, {Note("A")}), {Note("A")}, {}, folder.path(), QStringLiteral("rec"));
        QVERIFY(!result.ok);
        QCOMPARE(result.error, QStringLiteral("cannot load exporter module"));
        QVERIFY(FilesIn(folder.path()).isEmpty());
    }

    // Across file systems the move is a copy, and the source goes only
    // after the copy is whole.
    void moveAcrossFileSystems()
    {
        if (!QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            QSKIP("no second file system to move across");
        QTemporaryDir here;
        QTemporaryDir there(QStringLiteral("/dev/shm/contents-XXXXXX"));
        const QString source = here.path() + QStringLiteral("/rec.mp4");
        QVERIFY(WriteTestFile(source, QByteArray(100000, 'v')));
        QVERIFY(!storage::MoveFileTo(source, there.path() + QStringLiteral("/missing/rec.mp4")));
        QVERIFY(QFileInfo::exists(source));
        QVERIFY(storage::MoveFileTo(source, there.path() + QStringLiteral("/rec.mp4")));
        QVERIFY(!QFileInfo::exists(source));
        QCOMPARE(QFileInfo(there.path() + QStringLiteral("/rec.mp4")).size(), qint64(100000));
        QCOMPARE(FilesIn(there.path()), QStringList{"rec.mp4"});
    }

    // Without the packer nothing is reported as written, and the staged
    // package, recording included, goes to the recording folder.
    void packerMissingKeepsEverything()
    {
        ScopedFolderRoot root;
        const QString work = root.path() + QStringLiteral("/work/");
        QVERIFY(WriteTestFile(work + QStringLiteral("rec.mp4"), "video bytes"));
        QVERIFY(WriteTestFile(root.path() + QStringLiteral("/media/pic.png"), "png"));
        storage::ContentsSaveInput input;
        input.recordType = 0;
        input.recordFolder = root.path() + QStringLiteral("/Recordings");
        input.workFolder = work;
        input.recordName = QStringLiteral("rec");
        input.stamp = QStringLiteral("20260101_120000");
        input.notes = {Note("A")};
        input.visits = Visits({"A"}, input.notes);
        input.mediaFiles = QStringList{root.path() + QStringLiteral("/media/pic.png"),
                                       QStringLiteral("/elsewhere/Notes.xml")};
        input.boardSize = QSize(800, 600);
        const ScopedPath noPrograms(root.path() + QStringLiteral("/nobin"));
        QStringList progress;
        const storage::ContentsSaveResult result = storage::SaveContentsPackage(
            input, storage::PdfExporterLibrary(), [&](const QString& text, int) { progress << text; });
        QVERIFY(!result.packageWritten);
        QVERIFY(result.savedPath.isEmpty());
        QCOMPARE(result.keptFolder, input.recordFolder + QStringLiteral("/20260101_120000"));
        QVERIFY(result.failure.contains(result.keptFolder));
        QCOMPARE(FilesIn(result.keptFolder),
                 QStringList({"A.xml", "New_Event.xml", "Notes.xml", "StrData.dat", "pic.png", "video.mp4"}));
        QCOMPARE(FilesIn(work), QStringList());
        QFile list(result.keptFolder + QStringLiteral("/StrData.dat"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), QByteArray("pic.png\nNotes.xml\n"));
        QCOMPARE(progress, QStringList({"Save Event(1/1)", "Save Objects(0/2)", "Save Objects(1/2)"}));
        QVERIFY(!result.pdfOk);
    }

    // A work folder without room makes no package: the package chosen
    // before stays byte for byte, the recording stays where the recorder
    // put it, nothing half made stays, and the reason is in words.
    void fullDiskKeepsTheRecording()
    {
        SmallFilesystem small(256 * 1024);
        if (!small.isMounted())
            QSKIP(qPrintable(small.reason()));
        ScopedFolderRoot root;
        const QString work = small.path() + QStringLiteral("/work/");
        QVERIFY(WriteTestFile(work + QStringLiteral("rec.mp4"), "video bytes"));
        QByteArray noise(512 * 1024, Qt::Uninitialized);
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char(QRandomGenerator::global()->generate());
        QVERIFY(WriteTestFile(root.path() + QStringLiteral("/media/noise.png"), noise));
        const QString chosen = root.path() + QStringLiteral("/lesson.iic");
        QVERIFY(WriteTestFile(chosen, "old package"));
        storage::ContentsSaveInput input;
        input.recordType = 0;
        input.recordFolder = root.path() + QStringLiteral("/Recordings");
        input.workFolder = work;
        input.recordName = QStringLiteral("rec");
        input.stamp = QStringLiteral("20260101_120000");
        input.saveAsPath = chosen;
        input.notes = {Note("A")};
        input.visits = Visits({"A"}, input.notes);
        input.mediaFiles = QStringList{root.path() + QStringLiteral("/media/noise.png")};
        input.boardSize = QSize(800, 600);

        const storage::ContentsSaveResult result =
            storage::SaveContentsPackage(input, storage::PdfExporterLibrary(), [](const QString&, int) {});
        QVERIFY(!result.packageWritten);
        QVERIFY2(result.failure.contains(QStringLiteral("the disk is full")), qPrintable(result.failure));
        QVERIFY2(result.failure.contains(QDir::toNativeSeparators(work)), qPrintable(result.failure));
        QCOMPARE(FilesIn(work), QStringList{"rec.mp4"});
        QCOMPARE(QDir(work).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
        QFile recording(work + QStringLiteral("rec.mp4"));
        QVERIFY(recording.open(QIODevice::ReadOnly));
        QCOMPARE(recording.readAll(), QByteArray("video bytes"));
        QFile old(chosen);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old package"));
    }

    // A screen recording is moved, under the stamp or to the chosen path,
    // and nothing else is made.
    void screenRecording_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("to the recording folder") << false;
        QTest::newRow("to a chosen path, replacing") << true;
    }

    void screenRecording()
    {
        QFETCH(bool, saveAs);
        ScopedFolderRoot root;
        storage::ContentsSaveInput input;
        input.recordType = 2;
        input.workFolder = root.path() + QStringLiteral("/work/");
        input.recordName = QStringLiteral("rec");
        input.recordFolder = root.path() + QStringLiteral("/Recordings");
        input.stamp = QStringLiteral("20260101_120000");
        QVERIFY(WriteTestFile(input.workFolder + QStringLiteral("rec.mp4"), "screen"));
        const QString chosen = root.path() + QStringLiteral("/mine/lesson.mp4");
        if (saveAs) {
            QVERIFY(WriteTestFile(chosen, "older"));
            input.saveAsPath = chosen;
            input.saveAsName = QStringLiteral("lesson.mp4");
            input.saveAsFolder = root.path() + QStringLiteral("/mine");
        }
        const storage::ContentsSaveResult result =
            storage::SaveContentsPackage(input, storage::PdfExporterLibrary(), [](const QString&, int) {});
        const QString expected = saveAs ? chosen : input.recordFolder + QStringLiteral("/20260101_120000.mp4");
        QCOMPARE(result.recSavedPath, expected);
        QCOMPARE(result.recSavedName, QFileInfo(expected).fileName());
        QVERIFY(result.failure.isEmpty());
        QVERIFY(result.savedPath.isEmpty());
        QFile moved(expected);
        QVERIFY(moved.open(QIODevice::ReadOnly));
        QCOMPARE(moved.readAll(), QByteArray("screen"));
        QCOMPARE(FilesIn(input.workFolder), QStringList());
        QVERIFY(!QFileInfo::exists(input.workFolder + QStringLiteral("rec")));
    }
};

QTEST_MAIN(ContentsPackageTest)
#include "contents_package_test.moc"
