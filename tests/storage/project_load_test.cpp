// Reading projects back: a saved board comes back record for record, the fit
// to this screen, the stored codes, the older layout, and archives made to
// hurt (paths leaving the folder, links, lies about sizes, no zip at all).
#include "board/event_kind.h"
#include "board/picture_file.h"
#include "storage/event_file_bytes.h"
#include "storage/event_file_scan.h"
#include "storage/project_file.h"
#include "storage/project_load.h"
#include "tests/support/small_filesystem.h"
#include "tests/support/picture_bombs.h"
#include "tests/support/zip_fixture.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <zlib.h>

#include <array>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(QList<ZipEntry>)

namespace {

const QSize kPage(800, 600);

QString Describe(const EventMaster& em)
{
    return QStringLiteral("EM id %1 mp %2 kind %3 sd %4 sc %5 vs %6 hs %7 slot %8 note %9")
        .arg(em.EventID).arg(em.MediaPos).arg(em.Kind).arg(em.StrData).arg(em.SCale).arg(em.VScroll)
        .arg(em.HScroll).arg(em.Slot).arg(em.NoteName);
}

QString Point(QPointF p) { return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y()); }
QString Rect(QRect r) { return QStringLiteral("[%1,%2 %3x%4]").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

QString Describe(const EventDetail& ed)
{
    return QStringLiteral("ED id %1 S %2 E %3 M %4 C %5 O %6 B %7 pen %8 a%9 w %10 angle %11 del %12 tp %13 canvas %14x%15")
        .arg(ed.EventID).arg(Point(ed.S), Point(ed.E), Point(ed.M), Point(ed.C), Rect(ed.OriginRF), Rect(ed.BoundRF))
        .arg(ed.PenColor.name()).arg(ed.PenColor.alpha()).arg(ed.PenWidth).arg(ed.Angle).arg(ed.Deleted)
        .arg(ed.Transparent).arg(ed.CanvasWidth).arg(ed.CanvasHeight);
}

QString Describe(const FreePenPoint& p)
{
    return QStringLiteral("FP id %1 mp %2 press %3 S %4 M %5 ma %6")
        .arg(p.EventID).arg(p.MediaPos).arg(p.Press).arg(Point(p.S), Point(p.M)).arg(p.MouseAction);
}

QString Describe(const NoteInfo& n)
{
    return QStringLiteral("note %1 %2 %3 type %4 option %5 %6x%7 image %8")
        .arg(n.name, n.create_data, n.path).arg(n.type).arg(n.page_option).arg(n.width).arg(n.height).arg(n.imagePath);
}

template <typename Record>
QStringList DescribeAll(const QVector<Record>& records)
{
    QStringList lines;
    for (const Record& r : records)
        lines << Describe(r);
    return lines;
}

QPointF Truncated(QPointF p) { return QPointF(int(p.x()), int(p.y())); }

// True when the event file is in the writer's own shape, read by the scan.
bool Scans(const QByteArray& file)
{
    struct Nothing : storage::EventFileVisitor {
        void event(const storage::XmlText*) override {}
        void group(int) override {}
        void master(const storage::XmlText*) override {}
        void detail(const storage::XmlText*) override {}
        void point(const storage::XmlText*) override {}
    } nothing;
    return storage::ScanEventFile(file.constData(), file.size(), nothing);
}

// The same file for the general reader alone: a comment on its first line
// is no part of the writer's shape, and changes nothing else.
QByteArray ForTheGeneralReader(const QByteArray& file)
{
    const int declarationEnd = file.startsWith("<?xml") ? file.indexOf("?>") + 2 : 0;
    return QByteArray(file).insert(qMax(0, declarationEnd), "<!---->");
}

QString Exact(double v)
{
    return (std::signbit(v) ? QStringLiteral("-") : QString()) + QString::number(std::fabs(v), 'g', 17);
}

QString Exact(QPointF p) { return Exact(p.x()) + QLatin1Char(',') + Exact(p.y()); }

QString Exact(const QColor& c)
{
    const QRgba64 rgba = c.rgba64();
    return QStringLiteral("%1:%2/%3/%4/%5").arg(int(c.spec())).arg(rgba.red()).arg(rgba.green()).arg(rgba.blue())
        .arg(rgba.alpha());
}

// Everything a reading found, every number to its last bit.
QStringList Fingerprint(const storage::LoadedProject& loaded)
{
    QStringList lines;
    for (int k = 0; k < kPointerSlotCount; ++k) {
        const PointerSlotState& slot = loaded.board.slot[k];
        lines << QStringLiteral("slot %1 next %2").arg(k).arg(slot.nextEventId);
        for (const EventMaster& em : slot.records.masters())
            lines << QStringLiteral("EM %1 %2 %3 %4 %5 %6 %7 %8 %9")
                         .arg(em.EventID).arg(Exact(em.MediaPos)).arg(em.Kind).arg(em.StrData).arg(Exact(em.SCale))
                         .arg(em.VScroll).arg(em.HScroll).arg(em.Slot).arg(em.NoteName);
        for (const EventDetail& ed : slot.records.details())
            lines << QStringLiteral("ED %1 %2 %3 %4 %5 %6 %7 %8 w%9 a%10 d%11 t%12 %13x%14")
                         .arg(ed.EventID).arg(Exact(ed.S), Exact(ed.E), Exact(ed.M), Exact(ed.C), Rect(ed.OriginRF),
                                              Rect(ed.BoundRF), Exact(ed.PenColor))
                         .arg(ed.PenWidth).arg(Exact(ed.Angle)).arg(ed.Deleted).arg(ed.Transparent)
                         .arg(ed.CanvasWidth).arg(ed.CanvasHeight);
        for (const FreePenPoint& p : slot.allPoints)
            lines << QStringLiteral("FP %1 %2 %3 %4 %5 %6")
                         .arg(p.EventID).arg(Exact(p.MediaPos), Exact(p.Press), Exact(p.S), Exact(p.M))
                         .arg(p.MouseAction);
    }
    QStringList keys = loaded.board.FreePenMap.keys();
    keys.sort();
    for (const QString& key : keys) {
        lines << QStringLiteral("stroke %1").arg(key);
        for (const FreePenPoint& p : loaded.board.FreePenMap.value(key))
            lines << QStringLiteral("  %1 %2 %3").arg(p.EventID).arg(Exact(p.S), Exact(p.M));
    }
    lines << QStringLiteral("fit %1 %2 %3 %4").arg(Exact(loaded.fit.scale)).arg(loaded.fit.offsetX)
                 .arg(loaded.fit.offsetY).arg(Rect(loaded.fit.page));
    lines << loaded.warnings << loaded.damage;
    return lines;
}

QByteArray EventFile(const QByteArray& body, const QByteArray& sizes = "Width=\"800\" Height=\"600\" RWidth=\"800\" RHeight=\"600\"")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Event Note=\"x\" " + sizes + ">\n" + body + "</Event>\n";
}

QByteArray NotesXml(const QByteArray& notes)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<listwidget>\n" + notes + "</listwidget>\n";
}

QByteArray Note(const QByteArray& create, const QByteArray& type = "1", const QByteArray& name = "WhiteBoard")
{
    return "<NoteInfo Type=\"" + type + "\" Name=\"" + name + "\" Create=\"" + create + "\" Path=\"" + name
        + "\" NoteWidth=\"800\" NoteHeight=\"600\" PageOption=\"0\"/>\n";
}

QByteArray Jpeg(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// A one-entry zip whose entry declares `declared` bytes but unpacks to all
// of `data`.
QByteArray LyingZip(const QByteArray& name, const QByteArray& data, quint32 declared)
{
    QByteArray packed(int(compressBound(uLong(data.size()))) + 64, '\0');
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(packed.data());
    z.avail_out = uInt(packed.size());
    deflate(&z, Z_FINISH);
    packed.resize(int(z.total_out));
    deflateEnd(&z);
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));

    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint32(0x04034b50) << quint16(20) << quint16(0) << quint16(8) << quint16(0) << quint16(0) << crc
      << quint32(packed.size()) << declared << quint16(name.size()) << quint16(0);
    s.writeRawData(name.constData(), name.size());
    s.writeRawData(packed.constData(), packed.size());
    const quint32 directory = quint32(out.size());
    s << quint32(0x02014b50) << quint16(20) << quint16(20) << quint16(0) << quint16(8) << quint16(0) << quint16(0)
      << crc << quint32(packed.size()) << declared << quint16(name.size()) << quint16(0) << quint16(0)
      << quint16(0) << quint16(0) << quint32(0) << quint32(0);
    s.writeRawData(name.constData(), name.size());
    const quint32 directorySize = quint32(out.size()) - directory;
    s << quint32(0x06054b50) << quint16(0) << quint16(0) << quint16(1) << quint16(1) << directorySize << directory
      << quint16(0);
    return out;
}

}  // namespace

class ProjectLoadTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_sandbox;

    QString path(const QString& relative) const { return m_sandbox->filePath(relative); }

    storage::ProjectLoadSettings Settings(QSize base = kPage) const
    {
        return storage::ProjectLoadSettings{path("work/"), path("paper/"), base};
    }

    static BackgroundRequest Background(QSize view = kPage)
    {
        BackgroundRequest request;
        request.view = view;
        request.content = QRect(QPoint(0, 0), view);
        request.currentImageSize = view;
        return request;
    }

    storage::LoadedProject Load(const QString& project, QSize base = kPage)
    {
        return storage::LoadProjectFile(project, Settings(base), Background(base), DocumentRenderer(),
                                        PageRenderOptions(), [](const QString&, int) {});
    }

    // Reads an unpacked folder made by the test.
    storage::LoadedProject Read(const QString& folder, QSize base = kPage)
    {
        storage::ProjectReading reading;
        reading.settings = Settings(base);
        storage::ReadProjectFolder(reading, folder, [](const QString&, int) {});
        return reading.project;
    }

private slots:
    void init()
    {
        m_sandbox = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(path("work")));
        QVERIFY(QDir().mkpath(path("files")));
        QVERIFY(QDir().mkpath(path("stage")));
        QVERIFY(WriteTestFile(path("outside/keep.txt"), "keep"));
    }

    void fit_data()
    {
        QTest::addColumn<QSize>("base");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QRect>("area");
        QTest::newRow("wide screen on a 5:4 board")
            << QSize(1280, 1024) << QSize(1920, 1080) << QSize(1920, 1080) << 0.6667 << QPoint(0, 152)
            << QRect(0, 152, 1280, 720);
        QTest::newRow("same size") << QSize(1280, 1024) << QSize(1280, 1024) << QSize(1280, 1024) << 1.0
                                   << QPoint(0, 0) << QRect(0, 0, 1280, 1024);
        QTest::newRow("tall board on a wide one") << QSize(1920, 1080) << QSize(1280, 1024) << QSize(1280, 1024)
                                                  << 1.0547 << QPoint(285, 0) << QRect(285, 0, 1350, 1080);
        QTest::newRow("no window size") << QSize(1280, 1024) << QSize(0, 0) << QSize(1920, 1080) << 1.0
                                        << QPoint(0, 0) << QRect(0, 0, 1280, 1024);
        QTest::newRow("no page size") << QSize(1280, 1024) << QSize(1920, 1080) << QSize(0, 1080) << 1.0
                                      << QPoint(0, 0) << QRect(0, 0, 1280, 1024);
        QTest::newRow("no board yet") << QSize(0, 0) << QSize(1920, 1080) << QSize(1920, 1080) << 1.0
                                      << QPoint(0, 0) << QRect(0, 0, 0, 0);
    }

    void fit()
    {
        QFETCH(QSize, base);
        QFETCH(QSize, window);
        QFETCH(QSize, page);
        QFETCH(double, scale);
        QFETCH(QPoint, offset);
        QFETCH(QRect, area);
        const storage::ProjectFit fit = storage::FitProjectPage(base, window, page);
        QVERIFY2(qAbs(fit.scale - scale) < 0.0001, qPrintable(QString::number(fit.scale)));
        QCOMPARE(QPoint(fit.offsetX, fit.offsetY), offset);
        QCOMPARE(fit.page, area);
    }

    // A board written by the project writer and read back holds the same
    // records, coordinates as truncated; its pages are painted.
    void savedBoardReadsBack()
    {
        QVERIFY(WriteTestFile(path("files/pic.png"), Jpeg(QSize(40, 30), Qt::green)));
        QVERIFY(WriteTestFile(path("files/media/img.png"), Jpeg(QSize(20, 20), Qt::blue)));
        storage::ProjectSnapshot project;
        NoteInfo whiteboard;
        whiteboard.name = whiteboard.path = QStringLiteral("WhiteBoard");
        whiteboard.create_data = QStringLiteral("20240101080000000");
        whiteboard.width = 800;
        whiteboard.height = 600;
        NoteInfo picture = whiteboard;
        picture.type = 2;
        picture.name = QStringLiteral("pic.png");
        picture.path = path("files/pic.png");
        picture.create_data = QStringLiteral("20240101080000001");
        picture.page_option = true;
        project.notes = {whiteboard, picture};
        project.mediaFiles = QStringList{path("files/media/img.png")};
        project.boardSize = project.pageSize = kPage;

        const int kinds[] = {ekFree, ekBrush, ekLine, ekFillRect, ekEllipse, ekEArrow, ekImage};
        quint16 id = 0;
        for (int slot : {0, 3, 10}) {
            for (int kind : kinds) {
                EventMaster em;
                em.EventID = id;
                em.MediaPos = id == 4 ? 1234.5 : -1.0;
                em.Kind = kind;
                em.StrData = kind == ekImage ? 0 : kNoMediaIndex;
                em.SCale = 1.5;
                em.VScroll = 7;
                em.HScroll = 9;
                em.Slot = quint16(slot);
                em.NoteName = (id % 2 ? picture : whiteboard).create_data;
                EventDetail ed;
                ed.EventID = id;
                ed.S = QPointF(10.7 + id, 20.2);
                ed.E = QPointF(300.9, -0.5);
                ed.M = QPointF(11.5, 21);
                ed.C = QPointF(299, 400.99);
                ed.OriginRF = QRect(10, 20, 290, 380);
                ed.BoundRF = QRect(11, 21, 288, 379);
                ed.Transparent = id == 5 ? 128 : 255;
                ed.PenColor = QColor(200, 10, 30, ed.Transparent);
                ed.PenWidth = 4;
                ed.Angle = 12.5f;
                ed.Deleted = id == 6 ? 1 : 0;
                ed.CanvasWidth = quint16(kPage.width());
                ed.CanvasHeight = quint16(kPage.height());
                project.slotTables[slot].masters << em;
                project.slotTables[slot].details << ed;
                if (kind == ekFree || kind == ekBrush) {
                    for (int action : {1, 2, 3}) {
                        FreePenPoint p;
                        p.EventID = id;
                        p.MediaPos = -1.0;
                        p.Press = 0.75f;
                        p.S = QPointF(50.9 + action, 60.1);
                        p.M = QPointF(50.9 + action, 60.1 + id);
                        p.MouseAction = action;
                        project.slotTables[slot].points << p;
                    }
                }
                ++id;
            }
        }
        const storage::ProjectSaveResult saved = storage::SaveProjectFile(
            project, path("stage/"), QStringLiteral("stamp"), path("files/lesson.vk"), [](const QString&, int) {});
        QVERIFY2(saved.saved, qPrintable(saved.error));

        const storage::LoadedProject loaded = Load(path("files/lesson.vk"));
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QVERIFY(!loaded.legacy);
        QCOMPARE(loaded.fit.page, QRect(QPoint(0, 0), kPage));
        for (int slot = 0; slot < kPointerSlotCount; ++slot) {
            // Each note's records come from its own file: note by note, in
            // table order within a note.
            const storage::SlotSnapshot& written = project.slotTables[slot];
            QVector<EventMaster> masters;
            QVector<EventDetail> details;
            QVector<FreePenPoint> points;
            for (const NoteInfo& note : qAsConst(project.notes)) {
                QSet<quint16> ids;
                for (const EventMaster& em : written.masters) {
                    if (em.NoteName == note.create_data) {
                        masters << em;
                        ids << em.EventID;
                    }
                }
                for (EventDetail ed : written.details) {
                    if (!ids.contains(ed.EventID))
                        continue;
                    ed.S = Truncated(ed.S);
                    ed.E = Truncated(ed.E);
                    ed.M = Truncated(ed.M);
                    ed.C = Truncated(ed.C);
                    details << ed;
                }
                for (FreePenPoint p : written.points) {
                    if (!ids.contains(p.EventID))
                        continue;
                    p.S = Truncated(p.S);
                    p.M = Truncated(p.M);
                    points << p;
                }
            }
            const PointerSlotState& read = loaded.board.slot[slot];
            QCOMPARE(DescribeAll(read.records.masters()), DescribeAll(masters));
            QCOMPARE(DescribeAll(read.records.details()), DescribeAll(details));
            QCOMPARE(DescribeAll(read.allPoints), DescribeAll(points));
            QCOMPARE(read.nextEventId, written.masters.isEmpty() ? 0 : written.masters.last().EventID + 1);
        }
        QCOMPARE(loaded.board.FreePenMap.size(), 6);
        QCOMPARE(loaded.board.FreePenMap.value(QStringLiteral("3-8")).size(), 3);

        // The notes: board pages keep their board name, picture pages and
        // media files come to the work folder under their bare names.
        QVector<NoteInfo> notes = project.notes;
        notes[1].path = path("work/pic.png");
        for (NoteInfo& note : notes)
            note.imagePath = path("work/") + note.create_data + ".jpg";
        QCOMPARE(DescribeAll(loaded.notes), DescribeAll(notes));
        QCOMPARE(loaded.mediaFiles, QStringList{path("work/img.png")});
        QCOMPARE(ReadTestFile(path("work/img.png")), ReadTestFile(path("files/media/img.png")));
        QCOMPARE(ReadTestFile(path("work/pic.png")), ReadTestFile(path("files/pic.png")));

        // Note 0's page image: the last object painted (slot 10's picture,
        // from the media copy) covers its bounds; the rest is the board.
        const QImage page(notes[0].imagePath);
        QCOMPARE(page.size(), kPage);
        const QColor inside = page.pixelColor(150, 210);
        QVERIFY2(inside.blue() > 200 && inside.red() < 60 && inside.green() < 60, qPrintable(inside.name()));
        const QColor board = page.pixelColor(700, 550);
        QVERIFY2(board.red() > 240 && board.green() > 240 && board.blue() > 240, qPrintable(board.name()));
        QVERIFY(QFileInfo::exists(notes[1].imagePath));
    }

    // Stored codes outside the vocabulary, slots that do not exist, strokes
    // that never end.
    void storedCodesAndSlots()
    {
        const QString folder = path("work/unpacked");
        QVERIFY(WriteTestFile(folder + "/Notes.xml", NotesXml(Note("n0") + Note("n1"))));
        QVERIFY(WriteTestFile(folder + "/Event_0.xml", EventFile(
            "<EM_0 Type=\"EM\" Index=\"0\">\n"
            "  <EM KD=\"99\" MP=\"-1\" SD=\"65535\" EI=\"0\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
            "  <EM KD=\"3\" MP=\"-1\" SD=\"65535\" EI=\"1\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
            "  <EM KD=\"3\" MP=\"-1\" SD=\"65535\" EI=\"2\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
            "</EM_0>\n"
            "<EM_42 Type=\"EM\" Index=\"42\">\n"
            "  <EM KD=\"5\" MP=\"-1\" SD=\"65535\" EI=\"40\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
            "  <ED EI=\"40\" SX=\"1\"/>\n"
            "  <FP EI=\"40\" MA=\"3\"/>\n"
            "</EM_42>\n"
            "<FP_0 Type=\"FP\" Index=\"0\">\n"
            "  <FP EI=\"1\" MP=\"-1\" MA=\"1\" PS=\"0\" SX=\"1\" SY=\"1\" MX=\"1\" MY=\"1\"/>\n"
            "  <FP EI=\"1\" MP=\"-1\" MA=\"7\" PS=\"0\" SX=\"2\" SY=\"2\" MX=\"2\" MY=\"2\"/>\n"
            "  <FP EI=\"2\" MP=\"-1\" MA=\"1\" PS=\"0\" SX=\"3\" SY=\"3\" MX=\"3\" MY=\"3\"/>\n"
            "  <FP EI=\"2\" MP=\"-1\" MA=\"3\" PS=\"0\" SX=\"4\" SY=\"4\" MX=\"4\" MY=\"4\"/>\n"
            "  <FP EI=\"5\" MP=\"-1\" MA=\"1\" PS=\"0\" SX=\"5\" SY=\"5\" MX=\"5\" MY=\"5\"/>\n"
            "</FP_0>\n")));
        // The next note's stroke carries the same slot and EventID as the
        // unfinished one before it.
        QVERIFY(WriteTestFile(folder + "/Event_1.xml", EventFile(
            "<FP_0 Type=\"FP\" Index=\"0\">\n"
            "  <FP EI=\"5\" MP=\"-1\" MA=\"3\" PS=\"0\" SX=\"6\" SY=\"6\" MX=\"6\" MY=\"6\"/>\n"
            "</FP_0>\n")));
        const storage::LoadedProject loaded = Read(folder);

        const QVector<EventMaster>& masters = loaded.board.slot[0].records.masters();
        QCOMPARE(masters.size(), 3);
        QCOMPARE(masters.at(0).Kind, int(ekFree));
        QCOMPARE(loaded.board.slot[0].nextEventId, 3);
        QCOMPARE(loaded.board.slot[0].allPoints.at(1).MouseAction, 0);
        int others = 0;
        for (int slot = 1; slot < kPointerSlotCount; ++slot)
            others += loaded.board.slot[slot].records.masters().size() + loaded.board.slot[slot].allPoints.size();
        QCOMPARE(others, 0);
        QVERIFY(!loaded.warnings.filter("42").isEmpty());

        QCOMPARE(loaded.board.FreePenMap.keys().size(), 2);
        QVERIFY(!loaded.board.FreePenMap.contains(QStringLiteral("0-1")));
        QCOMPARE(loaded.board.FreePenMap.value(QStringLiteral("0-2")).size(), 2);
        QCOMPARE(loaded.board.FreePenMap.value(QStringLiteral("0-5")).size(), 1);
    }

    // Whatever form a number takes in the file, it reads as the general
    // number parser reads it: the writer's plain forms and every other one
    // (signs, blanks, fractions, exponents, too many digits, no number).
    void numbersReadAsWritten_data()
    {
        QTest::addColumn<QString>("text");
        for (const char* text : {"0", "-0", "7", "-12", "007", "123456789", "-999999999", "1234567890",
                                 "2147483647", "2147483648", "-2147483648", "-2147483649", "99999999999999999999",
                                 "+5", " 3", "4 ", "0.75", "-1.5", "1.23457e+06", "1e400", "-", "", "x1", "1x",
                                 "0x10", "1,5", "65535", "65536", "123456789012345", "1234567890123456",
                                 "-0.0", "0.1", "123456.7", "1.5e+06", "1e+06", "1.5E+06", "1.5e6", "2.5e-05",
                                 "1.23456789012345e-05", "0.30000000000000004", "1e+22", "1e+23", "1e-22",
                                 "1e-23", "1e-400", "4.94066e-324", "9007199254740993", "123456789012345.6",
                                 "1.", ".5", "1..5", "1.5e", "1.5e+", "1.5e+1234", "-.5", "nan", "inf", "-inf"})
            QTest::newRow(text) << QString::fromLatin1(text);
    }

    void numbersReadAsWritten()
    {
        QFETCH(QString, text);
        const QString folder = path("work/unpacked");
        const QByteArray v = text.toHtmlEscaped().toUtf8();
        QVERIFY(WriteTestFile(folder + "/Notes.xml", NotesXml(Note("n0"))));
        // A detail of some attributes, and one of all of them in the
        // writer's order, which makes the whole file the writer's shape.
        const QByteArray someAttributes =
            "<ED EI=\"1\" SX=\"" + v + "\" OW=\"" + v + "\" PW=\"" + v + "\" AG=\"" + v + "\" TP=\"" + v + "\"/>";
        const QByteArray allAttributes = "<ED EI=\"1\" SX=\"" + v
            + "\" SY=\"0\" EX=\"0\" EY=\"0\" MX=\"0\" MY=\"0\" CX=\"0\" CY=\"0\" OX=\"0\" OY=\"0\" OW=\"" + v
            + "\" OH=\"0\" BX=\"0\" BY=\"0\" BW=\"0\" BH=\"0\" PC=\"#000000\" PW=\"" + v + "\" AG=\"" + v
            + "\" BD=\"0\" TP=\"" + v + "\"/>";
        for (const QByteArray& detail : {someAttributes, allAttributes}) {
            const QByteArray file = EventFile(
                "<EM_0 Type=\"EM\" Index=\"0\">\n"
                "  <EM KD=\"3\" MP=\"" + v + "\" SD=\"" + v + "\" EI=\"1\" SC=\"" + v + "\" HS=\"0\" VS=\"0\"/>\n"
                "</EM_0>\n<ED_0 Type=\"ED\" Index=\"0\">\n  " + detail + "\n"
                "</ED_0>\n<FP_0 Type=\"FP\" Index=\"0\">\n"
                "  <FP EI=\"1\" MP=\"" + v + "\" MA=\"3\" PS=\"" + v + "\" SX=\"" + v + "\" SY=\"1\" MX=\"1\" MY=\"1\"/>\n"
                "</FP_0>\n");
            QVERIFY(WriteTestFile(folder + "/Event_0.xml", file));
            QCOMPARE(Scans(file), detail == allAttributes);
            const storage::LoadedProject loaded = Read(folder);

            // The general parser's reading: anything it refuses, and anything
            // not finite, is 0.
            bool ok = false;
            int whole = text.toInt(&ok);
            whole = ok ? whole : 0;
            double number = text.toDouble(&ok);
            number = ok && std::isfinite(number) ? number : 0.0;
            const auto same = [](double a, double b) { return a == b && std::signbit(a) == std::signbit(b); };

            const EventMaster& em = loaded.board.slot[0].records.masters().value(0);
            QVERIFY2(same(em.MediaPos, number), qPrintable(QString::number(em.MediaPos, 'g', 17)));
            QVERIFY2(same(em.SCale, number), qPrintable(QString::number(em.SCale, 'g', 17)));
            QCOMPARE(em.StrData, quint16(whole));
            const EventDetail& ed = loaded.board.slot[0].records.details().value(0);
            QCOMPARE(ed.S.x(), double(whole));
            QCOMPARE(ed.OriginRF.width(), whole);
            QCOMPARE(ed.PenWidth, quint16(whole));
            QVERIFY(same(double(ed.Angle), double(float(number))));
            QCOMPARE(ed.Transparent, quint16(whole));
            const FreePenPoint& p = loaded.board.slot[0].allPoints.value(0);
            QVERIFY(same(p.MediaPos, number));
            QVERIFY(same(double(p.Press), double(float(number))));
            QCOMPARE(p.S.x(), double(whole));
        }
    }

    // A large lesson of every kind of value the writer may write reads the
    // same through the scan as through the general reader, to the last bit.
    void scannedLessonReadsAsTheGeneralReaderReadsIt()
    {
        QRandomGenerator random(58);
        const auto anyDouble = [&random]() {
            switch (random.bounded(8)) {
            case 0: return -1.0;
            case 1: return double(random.bounded(100000));
            case 2: return (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-30, 30));
            case 3: return -0.0;
            case 4: return std::numeric_limits<double>::infinity();
            case 5: return std::pow(10.0, random.bounded(-320, 308)) * random.generateDouble();
            case 6: return std::nan("");
            default: return random.generateDouble() * 1e6;
            }
        };
        const auto anyCoord = [&random, &anyDouble]() {
            return random.bounded(10) == 0 ? anyDouble() * 1e10 : random.generateDouble() * 4000 - 1000;
        };
        storage::ProjectSnapshot project;
        project.boardSize = QSize(1920, 1080);
        project.pageSize = QSize(1600, 900);
        for (int n = 0; n < 4; ++n) {
            NoteInfo note;
            note.name = note.path = QStringLiteral("WhiteBoard");
            note.create_data = QStringLiteral("2024010108000000%1").arg(n);
            project.notes << note;
        }
        std::array<quint16, kPointerSlotCount> next{};
        for (int stroke = 0; stroke < 1500; ++stroke) {
            const int slot = random.bounded(kPointerSlotCount);
            EventMaster em;
            // Now and then an ID twice: its records are written twice.
            em.EventID = random.bounded(50) == 0 && next[slot] > 0 ? next[slot] - 1 : next[slot]++;
            em.Kind = random.bounded(30);
            em.MediaPos = anyDouble();
            em.StrData = quint16(random.bounded(65536));
            em.SCale = anyDouble();
            em.VScroll = quint16(random.bounded(65536));
            em.HScroll = quint16(random.bounded(65536));
            em.Slot = quint16(slot);
            // The last note keeps no records.
            em.NoteName = project.notes.at(random.bounded(3)).create_data;
            EventDetail ed;
            ed.EventID = em.EventID;
            ed.S = QPointF(anyCoord(), anyCoord());
            ed.E = QPointF(anyCoord(), anyCoord());
            ed.M = QPointF(anyCoord(), anyCoord());
            ed.C = QPointF(anyCoord(), anyCoord());
            ed.OriginRF = QRect(random.bounded(-500, 2000), random.bounded(-500, 2000), random.bounded(3000),
                                random.bounded(3000));
            ed.BoundRF = QRect(random.bounded(2000), random.bounded(2000), random.bounded(-10, 3000),
                               random.bounded(3000));
            ed.PenColor = QColor::fromRgb(random.generate());
            ed.PenWidth = quint16(random.bounded(65536));
            ed.Angle = float(anyDouble());
            ed.Deleted = random.bounded(5) == 0 ? 1 : 0;
            ed.Transparent = quint16(random.bounded(300));
            project.slotTables[slot].masters << em;
            project.slotTables[slot].details << ed;
            const int samples = random.bounded(1, 60);
            for (int i = 0; i < samples; ++i) {
                FreePenPoint p;
                p.EventID = em.EventID;
                p.MediaPos = anyDouble();
                p.Press = float(anyDouble());
                p.S = QPointF(anyCoord(), anyCoord());
                p.M = QPointF(anyCoord(), anyCoord());
                // Most strokes end with a release; some never do.
                p.MouseAction = i == samples - 1 && random.bounded(8) ? 3 : random.bounded(5);
                project.slotTables[slot].points << p;
            }
        }
        const storage::EventFileWriter writer(project);
        const QString scanned = path("work/scanned");
        const QString general = path("work/general");
        for (const QString& folder : {scanned, general})
            QVERIFY(WriteTestFile(folder + "/Notes.xml", storage::NotesXmlBytes(project.notes)));
        for (int n = 0; n < project.notes.size(); ++n) {
            const QByteArray file = writer.EventFile(n);
            QVERIFY2(Scans(file), qPrintable(storage::EventFileName(n)));
            QVERIFY(WriteTestFile(scanned + "/" + storage::EventFileName(n), file));
            QVERIFY(WriteTestFile(general + "/" + storage::EventFileName(n), ForTheGeneralReader(file)));
        }
        const QStringList fromScan = Fingerprint(Read(scanned));
        const QStringList fromGeneral = Fingerprint(Read(general));
        QVERIFY(fromScan.size() > 50000);
        QCOMPARE(fromScan.size(), fromGeneral.size());
        for (int i = 0; i < fromScan.size(); ++i)
            QCOMPARE(fromScan.at(i), fromGeneral.at(i));
    }

    // Files of any other lawful form, and damaged files, read as the general
    // reader reads them; the damage is reported as ever.
    void otherFilesReadAsTheGeneralReaderReadsThem_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("scanned");
        QTest::addColumn<bool>("damaged");
        const QByteArray group = "<FP_2 Type=\"FP\" Index=\"2\">\n";
        const QByteArray point = "<FP EI=\"4\" MP=\"-1\" MA=\"3\" PS=\"0.5\" SX=\"10\" SY=\"20\" MX=\"11\" MY=\"21\"/>\n";
        const QByteArray records =
            "<EM_2 Type=\"EM\" Index=\"2\">\n<EM KD=\"3\" MP=\"-1\" SD=\"65535\" EI=\"4\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n"
            "</EM_2>\n<ED_2 Type=\"ED\" Index=\"2\">\n<ED EI=\"4\" SX=\"10\" SY=\"20\" EX=\"30\" EY=\"40\" MX=\"10\" "
            "MY=\"20\" CX=\"30\" CY=\"40\" OX=\"10\" OY=\"20\" OW=\"20\" OH=\"20\" BX=\"10\" BY=\"20\" BW=\"20\" "
            "BH=\"20\" PC=\"#ff8000\" PW=\"3\" AG=\"0\" BD=\"0\" TP=\"128\"/>\n</ED_2>\n"
            + group + point + "</FP_2>\n";
        const QByteArray file = EventFile(records, "Width=\"1600\" Height=\"1200\" RWidth=\"1600\" RHeight=\"1200\"");
        const auto replaced = [&file](const QByteArray& from, const QByteArray& to) {
            return QByteArray(file).replace(from, to);
        };
        QTest::newRow("writer's shape") << file << true << false;
        QTest::newRow("line breaks and blanks") << QByteArray(file).replace("\n", "\r\n\t").replace(" PS", "\n PS")
                                                << true << false;
        QTest::newRow("empty page") << EventFile("").replace(">\n</Event>", "/>") << true << false;
        QTest::newRow("empty group") << replaced(point, "").replace(group, "<FP_2 Type=\"FP\" Index=\"2\"/>\n")
                                                 .replace("</FP_2>\n", "")
                                     << true << false;
        QTest::newRow("attributes in another order") << replaced("SX=\"10\" SY=\"20\" MX", "SY=\"20\" SX=\"10\" MX")
                                                     << false << false;
        QTest::newRow("entities") << replaced("EI=\"4\" MP", "EI=\"&#52;\" MP").replace("Note=\"x\"", "Note=\"a&amp;b\"")
                                  << false << false;
        QTest::newRow("comments") << replaced(point, "<!-- a sample -->" + point) << false << false;
        QTest::newRow("CDATA and text") << replaced(point, "<![CDATA[<FP>]]> text " + point) << false << false;
        QTest::newRow("older file of fewer attributes")
            << replaced(" PS=\"0.5\"", "").replace(" AG=\"0\" BD=\"0\" TP=\"128\"", "") << false << false;
        QTest::newRow("records outside a group") << EventFile(point) << false << false;
        QTest::newRow("colour by name") << replaced("#ff8000", "orange") << true << false;
        QTest::newRow("numbers in other forms") << replaced("SX=\"10\" SY", "SX=\"+10\" SY").replace("\"0.5\"", "\" 5e-1\"")
                                               << true << false;
        QTest::newRow("bad numbers") << replaced("SX=\"10\" SY", "SX=\"1x\" SY").replace("#ff8000", "#ff80")
                                            .replace("\"0.5\"", "\"--1\"")
                                     << true << false;
        QTest::newRow("huge counts") << replaced("Index=\"2\">", "Index=\"99999999999\">").replace("EI=\"4\"", "EI=\"99999999999999999999\"")
                                     << false << false;
        QTest::newRow("slot that does not exist") << replaced("<FP_2 Type=\"FP\" Index=\"2\">", "<FP_2 Type=\"FP\" Index=\"12\">")
                                                  << false << false;
        QTest::newRow("cut in a value") << file.left(file.indexOf("SY=\"20\" MX") + 5) << false << true;
        QTest::newRow("cut after a record") << file.left(file.indexOf("</FP_2>")) << false << true;
        QTest::newRow("end tag unlike its start") << replaced("</FP_2>", "</FP_3>") << false << true;
        QTest::newRow("attribute twice") << replaced("MA=\"3\"", "MA=\"3\" MA=\"1\"") << false << true;
        QTest::newRow("deep nesting") << replaced(point, QByteArray(100000, 'x').replace("x", "<a>") + point)
                                      << false << true;
        QTest::newRow("nothing") << QByteArray() << false << true;
    }

    void otherFilesReadAsTheGeneralReaderReadsThem()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, scanned);
        QFETCH(bool, damaged);
        QCOMPARE(Scans(file), scanned);
        const QString folder = path("work/odd");
        const QString general = path("work/general");
        // Two notes: the second file starts from what the first left.
        QVERIFY(WriteTestFile(folder + "/Notes.xml", NotesXml(Note("n0") + Note("n1"))));
        QVERIFY(WriteTestFile(general + "/Notes.xml", NotesXml(Note("n0") + Note("n1"))));
        const QByteArray second = EventFile("<EM KD=\"3\" MP=\"-1\" SD=\"1\" EI=\"9\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n", "");
        for (int n = 0; n < 2; ++n) {
            const QByteArray bytes = n == 0 ? file : second;
            QVERIFY(WriteTestFile(folder + "/" + storage::EventFileName(n), bytes));
            QVERIFY(WriteTestFile(general + "/" + storage::EventFileName(n), ForTheGeneralReader(bytes)));
        }
        const storage::LoadedProject loaded = Read(folder);
        QCOMPARE(Fingerprint(loaded), Fingerprint(Read(general)));
        QVERIFY2(loaded.damage.isEmpty() != damaged, qPrintable(loaded.damage.join('\n')));
    }

    // Each file is read as if after the one before it: records outside a
    // slot group stay in the slot in force, a file without sizes keeps the
    // fit before it, and a slot left out is worth a warning only when the
    // slot before it was good, whichever file set those.
    void filesLeanOnTheOneBefore()
    {
        const QString folder = path("work/unpacked");
        const QByteArray master = "<EM KD=\"5\" MP=\"-1\" SD=\"65535\" EI=\"%1\" SC=\"1\" HS=\"0\" VS=\"0\"/>\n";
        const auto em = [&](int id) { return QByteArray(master).replace("%1", QByteArray::number(id)); };
        QVERIFY(WriteTestFile(folder + "/Notes.xml",
                              NotesXml(Note("n0") + Note("n1") + Note("n2") + Note("n3") + Note("n4"))));
        const QByteArray half = "Width=\"1600\" Height=\"1200\" RWidth=\"1600\" RHeight=\"1200\"";
        QVERIFY(WriteTestFile(folder + "/Event_0.xml",
                              EventFile("<EM_3 Type=\"EM\" Index=\"3\">\n" + em(1) + "</EM_3>\n", half)));
        QVERIFY(WriteTestFile(folder + "/Event_1.xml", EventFile(em(2) + "<ED EI=\"2\" SX=\"100\" SY=\"60\"/>\n", "")));
        QVERIFY(WriteTestFile(folder + "/Event_2.xml",
                              EventFile("<EM_42 Type=\"EM\" Index=\"42\">\n" + em(5) + "</EM_42>\n"
                                        "<EM_4 Type=\"EM\" Index=\"4\">\n" + em(7) + "</EM_4>\n")));
        QVERIFY(WriteTestFile(folder + "/Event_3.xml", EventFile("")));
        QVERIFY(WriteTestFile(folder + "/Event_4.xml", EventFile(em(9))));
        const storage::LoadedProject loaded = Read(folder);

        const SlotRecords& third = loaded.board.slot[3].records;
        QCOMPARE(third.masters().size(), 2);
        QCOMPARE(third.masters().at(1).EventID, quint16(2));
        QCOMPARE(third.masters().at(1).NoteName, QString("n1"));
        QCOMPARE(third.details().size(), 1);
        QCOMPARE(third.details().at(0).S, QPointF(50, 30));
        QCOMPARE(third.details().at(0).CanvasWidth, quint16(1600));
        QCOMPARE(loaded.warnings.filter("42").size(), 1);
        const SlotRecords& fourth = loaded.board.slot[4].records;
        QCOMPARE(fourth.masters().size(), 2);
        QCOMPARE(fourth.masters().at(1).EventID, quint16(9));
        QCOMPARE(loaded.board.slot[4].nextEventId, 10);
    }

    // The older layout: pages from "Notes.inx", records per slot in three
    // files, the fit and the picture rescale taken once from the first
    // detail of the load.
    void olderLayout()
    {
        const QString folder = path("work/lesson");
        QVERIFY(WriteTestFile(folder + "/Notes.inx", "20200101.jpg\r\n20200102.jpg\r\n"));
        QVERIFY(WriteTestFile(folder + "/20200101.jpg", Jpeg(QSize(100, 80), Qt::white)));
        QVERIFY(WriteTestFile(folder + "/20200102.jpg", Jpeg(QSize(100, 80), Qt::white)));
        QVERIFY(WriteTestFile(folder + "/EM_0.xml",
            "<root>\n"
            "<EMInfo_0 Kind=\"6\" MediaPos=\"77\" StrData=\"65535\" EventID=\"0\" SCale=\"1\" VScroll=\"11\" "
            "HScroll=\"22\" NoteName=\"20200101\"/>\n"
            "<EMInfo_0 Kind=\"3\" MediaPos=\"0\" StrData=\"65535\" EventID=\"1\" SCale=\"1\" VScroll=\"0\" "
            "HScroll=\"0\" NoteName=\"20200102\"/>\n"
            "<EMInfo_0 Kind=\"20\" EventID=\"2\" NoteName=\"20200102\"/>\n"
            "<EMInfo_1 Kind=\"5\" EventID=\"3\" NoteName=\"20200102\"/>\n"
            "</root>\n"));
        QVERIFY(WriteTestFile(folder + "/ED_0.xml",
            "<root>\n"
            "<EDInfo_0 NoteWidth=\"1000\" NoteHeight=\"800\" EventID=\"0\" osP.X=\"100\" osP.Y=\"200\" "
            "msP.X=\"0\" msP.Y=\"0\" OriginRF.X=\"100\" OriginRF.Y=\"200\" OriginRF.Width=\"50\" "
            "OriginRF.Height=\"40\" BoundRF.X=\"110\" BoundRF.Y=\"210\" BoundRF.Width=\"60\" BoundRF.Height=\"30\" "
            "PenColor=\"255\" PenWidth=\"1\" Angle=\"0\" Deleted=\"false\" Transparent=\"255\"/>\n"
            "<EDInfo_0 EventID=\"1\" osP.X=\"0\" osP.Y=\"0\" PenColor=\"16711680\" PenWidth=\"5\" "
            "Deleted=\"true\" Transparent=\"255\"/>\n"
            "</root>\n"));
        // A second detail file of another screen size changes nothing: one
        // load, one fit.
        QVERIFY(WriteTestFile(folder + "/ED_1.xml",
            "<root><EDInfo_1 NoteWidth=\"250\" NoteHeight=\"200\" EventID=\"3\"/></root>\n"));
        QVERIFY(WriteTestFile(folder + "/FreePts_0.xml",
            "<root>\n"
            "<FreePenInfo_0 EventID=\"1\" MediaPos=\"5\" MouseAction=\"1\" Press=\"3\" oP.X=\"10\" oP.Y=\"20\" "
            "mP.X=\"10\" mP.Y=\"20\"/>\n"
            "<FreePenInfo_0 EventID=\"1\" MediaPos=\"5\" MouseAction=\"3\" Press=\"3\" oP.X=\"30\" oP.Y=\"40\" "
            "mP.X=\"30\" mP.Y=\"40\"/>\n"
            "</root>\n"));
        const storage::LoadedProject loaded = Read(folder, QSize(500, 400));

        QVERIFY(loaded.legacy);
        QCOMPARE(loaded.notes.size(), 2);
        for (const NoteInfo& note : loaded.notes) {
            QCOMPARE(note.type, 2);
            QVERIFY(note.name.startsWith("Ori_2020010"));
            QCOMPARE(note.path, path("work/") + note.name);
            QCOMPARE(QSize(note.width, note.height), QSize(500, 400));
            QCOMPARE(QImage(note.path).size(), QSize(50, 40));
        }
        QCOMPARE(loaded.notes.at(0).create_data, QStringLiteral("20200101"));
        QCOMPARE(loaded.fit.scale, 0.5);

        const SlotRecords& records = loaded.board.slot[0].records;
        QCOMPARE(records.masters().size(), 2);
        const EventMaster& rect = records.masters().at(0);
        QCOMPARE(rect.Kind, int(ekRect));
        QCOMPARE(rect.MediaPos, -1.0);
        QCOMPARE(int(rect.HScroll), 11);
        QCOMPARE(int(rect.VScroll), 22);
        QCOMPARE(rect.NoteName, QStringLiteral("20200101"));
        const EventDetail& ed = records.details().at(0);
        QCOMPARE(ed.PenColor, QColor(255, 0, 0, 255));
        QCOMPARE(int(ed.PenWidth), 2);
        QCOMPARE(ed.S, QPointF(50, 100));
        QCOMPARE(ed.E, QPointF(75, 120));
        QCOMPARE(ed.M, QPointF(55, 105));
        QCOMPARE(ed.C, QPointF(85, 120));
        QCOMPARE(records.details().at(1).PenColor, QColor(0, 0, 255));
        QVERIFY(records.details().at(1).Deleted);
        QVERIFY(loaded.board.slot[1].records.masters().isEmpty());
        const QVector<FreePenPoint> stroke = loaded.board.FreePenMap.value(QStringLiteral("0-1"));
        QCOMPARE(stroke.size(), 2);
        QCOMPARE(stroke.at(1).S, QPointF(15, 20));
        QCOMPARE(stroke.at(1).MediaPos, -1.0);
        QCOMPARE(stroke.at(1).Press, 3.f);
    }

    // A small archive holding a picture page of 20000 x 20000 pixels loads
    // without the picture ever being decoded.
    void pictureBombInAProject()
    {
        QVERIFY(WritePngBomb(path("bomb.png"), 20000, 20000));
        const QString project = path("files/lesson.vk");
        QVERIFY(MakeZip(project, {{"Notes.xml", NotesXml(Note("n0", "2", "pic.png"))},
                                  {"pic.png", ReadTestFile(path("bomb.png"))}}));
        const qint64 peakBefore = PeakResidentKb(QCoreApplication::applicationPid());
        const storage::LoadedProject loaded = Load(project);
        const qint64 growth = PeakResidentKb(QCoreApplication::applicationPid()) - peakBefore;
        QVERIFY2(growth < kPicturePixelBudget * 4 / 1024, qPrintable(QStringLiteral("%1 kB").arg(growth)));
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.notes.size(), 1);
    }

    // Archives made to hurt: nothing is written outside the work folder, no
    // crash, and a file that cannot be unpacked gets one message.
    // A damaged file opens with what could be read, and says what was lost.
    void damagedProjectSaysWhat_data()
    {
        QTest::addColumn<QList<ZipEntry>>("entries");
        QTest::addColumn<QString>("damage");  // empty: a sound project
        const QByteArray two = NotesXml(Note("n0") + Note("n1"));
        const QByteArray events = EventFile("");
        QTest::newRow("sound") << QList<ZipEntry>{{"Notes.xml", two}, {"Event_0.xml", events},
                                                  {"Event_1.xml", events}}
                               << "";
        QTest::newRow("event file cut") << QList<ZipEntry>{{"Notes.xml", two}, {"Event_0.xml", events},
                                                           {"Event_1.xml", events.left(events.size() / 2)}}
                                        << "Event_1.xml line";
        QTest::newRow("event file missing") << QList<ZipEntry>{{"Notes.xml", two}, {"Event_0.xml", events}}
                                            << "Event_1.xml is missing";
        QTest::newRow("note list cut") << QList<ZipEntry>{{"Notes.xml", two.left(two.size() - 20)},
                                                          {"Event_0.xml", events}}
                                       << "Notes.xml line";
        QTest::newRow("note list missing") << QList<ZipEntry>{{"Event_0.xml", events}}
                                           << "the note list is missing";
    }

    void damagedProjectSaysWhat()
    {
        QFETCH(QList<ZipEntry>, entries);
        QFETCH(QString, damage);
        const QString project = path("files/lesson.vk");
        QVERIFY(MakeZip(project, entries));
        const storage::LoadedProject loaded = Load(project);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        if (damage.isEmpty())
            QCOMPARE(loaded.damage, QStringList());
        else
            QVERIFY2(loaded.damage.join('\n').contains(damage), qPrintable(loaded.damage.join('\n')));
    }

    // An archive far smaller than what it unpacks to is not unpacked onto a
    // disk without room for it; nothing is left half unpacked.
    void unpackNeedsRoom()
    {
        SmallFilesystem small(1024 * 1024);
        if (!small.isMounted())
            QSKIP(qPrintable(small.reason()));
        const QString project = path("files/lesson.vk");
        ZipEntry filler{"filler.bin", QByteArray(8 << 20, '\0')};
        filler.compressed = true;
        QVERIFY(MakeZip(project, {{"Notes.xml", NotesXml(Note("n0"))}, filler}));
        QVERIFY(QFileInfo(project).size() < 1024 * 1024);
        const storage::ProjectLoadSettings settings{small.path() + "/work/", path("paper/"), kPage};
        QVERIFY(QDir().mkpath(settings.workFolder));
        const storage::LoadedProject loaded = storage::LoadProjectFile(
            project, settings, Background(), DocumentRenderer(), PageRenderOptions(), [](const QString&, int) {});
        QVERIFY2(loaded.error.contains("the disk is full"), qPrintable(loaded.error));
        QVERIFY(loaded.notes.isEmpty());
        const QString unpacked = storage::ProjectUnpackFolder(settings.workFolder, project);
        QVERIFY(QDir(unpacked).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
    }

    void hostileProjects_data()
    {
        QTest::addColumn<QList<ZipEntry>>("entries");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<bool>("refused");
        auto notes = [](const QByteArray& list) { return ZipEntry{"Notes.xml", NotesXml(list)}; };
        const QByteArray picture = Jpeg(QSize(8, 8), Qt::red);
        QTest::newRow("note name ../") << QList<ZipEntry>{notes(Note("n0", "2", "../../outside/escape.jpg")),
                                                          {"escape.jpg", picture}}
                                       << QByteArray() << false;
        QTest::newRow("note name absolute") << QList<ZipEntry>{notes(Note("n0", "2", "%OUT%/abs.jpg")),
                                                               {"abs.jpg", picture}}
                                            << QByteArray() << false;
        QTest::newRow("note create ../") << QList<ZipEntry>{notes(Note("../../outside/page"))} << QByteArray()
                                         << false;
        QTest::newRow("index line ../") << QList<ZipEntry>{{"Notes.inx", "../../outside/evil.jpg\n"},
                                                           {"evil.jpg", picture}}
                                        << QByteArray() << false;
        QTest::newRow("index line absolute") << QList<ZipEntry>{{"Notes.inx", "%OUT%/evil.jpg\r\n"},
                                                                {"evil.jpg", picture}}
                                             << QByteArray() << false;
        QTest::newRow("media ../") << QList<ZipEntry>{notes(Note("n0")), {"StrData.dat", "../../outside/m.jpg\n"},
                                                      {"m.jpg", picture}}
                                   << QByteArray() << false;
        QTest::newRow("media absolute") << QList<ZipEntry>{notes(Note("n0")), {"StrData.dat", "%OUT%/m.jpg\n"},
                                                           {"m.jpg", picture}}
                                        << QByteArray() << false;
        QTest::newRow("media backslashes") << QList<ZipEntry>{notes(Note("n0")),
                                                              {"StrData.dat", "..\\..\\outside\\m.jpg\r\n..\r\n"},
                                                              {"m.jpg", picture}}
                                           << QByteArray() << false;
        ZipEntry link{"StrData.dat", "%OUT%/linked.jpg"};
        link.unixMode = 0120777;
        QTest::newRow("link entry") << QList<ZipEntry>{notes(Note("n0")), link, {"linked.jpg", picture}}
                                    << QByteArray() << false;
        QTest::newRow("entry path ../") << QList<ZipEntry>{notes(Note("n0")), {"../../outside/zipped.txt", "x"}}
                                        << QByteArray() << false;
        QTest::newRow("no zip") << QList<ZipEntry>{} << QByteArray("this is not a zip archive\n") << true;
        QTest::newRow("entry larger than it says")
            << QList<ZipEntry>{} << LyingZip("Notes.xml", QByteArray(4 << 20, ' '), 100) << true;
        QTest::newRow("stored entry larger than it says") << QList<ZipEntry>{} << QByteArray("stored") << true;
    }

    void hostileProjects()
    {
        QFETCH(QList<ZipEntry>, entries);
        QFETCH(QByteArray, raw);
        QFETCH(bool, refused);
        const QByteArray out = path("outside").toUtf8();
        const QString project = path("files/lesson.vk");
        if (raw == "stored") {
            // A stored entry unpacks to its packed size, whatever it declares.
            QVERIFY(MakeZip(project, {{"Notes.xml", NotesXml(Note("n0"))}}));
            QByteArray bytes = ReadTestFile(project);
            // Declared sizes sit 22 bytes into the local header and 24 into the
            // central one; lower both uncompressed sizes to 10.
            const int local = bytes.indexOf(QByteArray("PK\x03\x04", 4));
            const int central = bytes.indexOf(QByteArray("PK\x01\x02", 4));
            for (int at : {local + 22, central + 24}) {
                bytes[at] = 10;
                bytes[at + 1] = bytes[at + 2] = bytes[at + 3] = 0;
            }
            QVERIFY(WriteTestFile(project, bytes));
        } else if (!raw.isEmpty()) {
            QVERIFY(WriteTestFile(project, raw));
        } else {
            for (ZipEntry& entry : entries) {
                entry.name.replace("%OUT%", QString::fromUtf8(out));
                entry.data.replace("%OUT%", out);
            }
            QVERIFY(MakeZip(project, entries));
        }
        const auto before = FolderSnapshot(m_sandbox->path());

        const storage::LoadedProject loaded = Load(project);

        QCOMPARE(!loaded.error.isEmpty(), refused);
        if (refused)
            QVERIFY(loaded.notes.isEmpty());
        auto after = FolderSnapshot(m_sandbox->path());
        for (auto it = after.begin(); it != after.end();) {
            if (it.key() == "work" || it.key().startsWith("work/"))
                it = after.erase(it);
            else
                ++it;
        }
        QMap<QString, QString> expected = before;
        expected.remove("work");
        QCOMPARE(after, expected);
        // Nothing in the unpacked folder is anything but a plain file.
        const QFileInfoList unpacked = QDir(path("work/lesson")).entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QFileInfo& entry : unpacked)
            QVERIFY2(!entry.isSymLink() && entry.isFile(), qPrintable(entry.filePath()));
    }
};

QTEST_MAIN(ProjectLoadTest)
#include "project_load_test.moc"
