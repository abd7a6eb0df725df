#include "storage/project_load.h"

#include "app/record_codes.h"
#include "app/utilities.h"
#include "board/event_kind.h"
#include "board/note_pages.h"
#include "board/picture_file.h"
#include "platform/folders.h"
#include "platform/launch.h"
#include "storage/event_file_scan.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QHash>
#include <QTextStream>
#include <QThread>
#include <QtConcurrent>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace storage {

namespace {

// Unpacking a large lesson takes a while, but never for ever.
constexpr int kUnpackTimeoutMs = 10 * 60 * 1000;

void Log(const QString& line)
{
    qDebug().noquote() << QStringLiteral("exe : ") + line;
}

void Warn(LoadedProject& project, const QString& line)
{
    Log(line);
    project.warnings << line;
}

// Part of the lesson could not be read: the user is told, and the file is
// not saved over (LoadedProject::damage).
void Damaged(LoadedProject& project, const QString& what)
{
    Warn(project, QStringLiteral("project load: %1").arg(what));
    project.damage << what;
}

uint Code(QChar c) { return c.unicode(); }
uint Code(char c) { return uchar(c); }

// The writer's plain whole numbers ("-12", "640"), read without the general
// parser; false for anything else (a sign "+", blanks, a fraction, too many
// digits), which the general parser then reads.
template <typename Char>
bool PlainInteger(const Char* c, int n, int maxDigits, qint64* value)
{
    const int first = n > 0 && Code(c[0]) == '-' ? 1 : 0;
    if (n - first < 1 || n - first > maxDigits)
        return false;
    qint64 v = 0;
    for (int i = first; i < n; ++i) {
        const uint digit = Code(c[i]) - uint('0');
        if (digit > 9)
            return false;
        v = v * 10 + digit;
    }
    *value = first ? -v : v;
    return true;
}

// The writer's other numbers ("0.75", "-1.5", "1.23457e+06"): a mantissa
// of at most 15 digits times a power of ten of at most 22 are both doubles
// exactly, so one multiplication or division rounds the value correctly,
// as the general parser does. False for any other form.
bool PlainDecimal(const char* c, int n, double* value)
{
    const char* end = c + n;
    const bool negative = c < end && *c == '-';
    c += negative ? 1 : 0;
    qint64 mantissa = 0;
    int digits = 0;
    int fraction = 0;
    bool point = false;
    for (; c < end && ((*c >= '0' && *c <= '9') || (*c == '.' && !point)); ++c) {
        if (*c == '.') {
            point = true;
            continue;
        }
        if (++digits > 15)
            return false;
        mantissa = mantissa * 10 + (*c - '0');
        fraction += point ? 1 : 0;
    }
    // Digits on both sides of a point, if there is one.
    if (digits == 0 || (point && (fraction == 0 || fraction == digits)))
        return false;
    int exponent = 0;
    if (c < end) {
        if (*c != 'e' || end - c < 3 || (c[1] != '+' && c[1] != '-') || end - c > 5)
            return false;
        const bool down = c[1] == '-';
        for (c += 2; c < end; ++c) {
            if (*c < '0' || *c > '9')
                return false;
            exponent = exponent * 10 + (*c - '0');
        }
        exponent = down ? -exponent : exponent;
    }
    exponent -= fraction;
    if (exponent < -22 || exponent > 22)
        return false;
    static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double v = exponent >= 0 ? double(mantissa) * kPowers[exponent] : double(mantissa) / kPowers[-exponent];
    *value = negative ? -v : v;
    return true;
}

// Numbers as the files hold them: decimal, anything unreadable is 0.
int ToInt(const QStringRef& text)
{
    qint64 plain = 0;
    if (PlainInteger(text.unicode(), text.size(), 9, &plain))
        return int(plain);
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : 0;
}

// Whole numbers of up to 15 digits are doubles exactly; "-0" keeps its sign.
double WholeDouble(qint64 plain, bool negative)
{
    return negative ? -double(-plain) : double(plain);
}

double ToDouble(const QStringRef& text)
{
    qint64 plain = 0;
    if (PlainInteger(text.unicode(), text.size(), 15, &plain))
        return WholeDouble(plain, text.at(0) == QLatin1Char('-'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QColor ToColor(const QStringRef& text)
{
    return QColor(text.toString());
}

// The same readings of a value straight from the file's bytes, which are
// printable ASCII (see event_file_scan.h): their Latin-1 text is what an
// XML reader gives.
QString Latin1(const XmlText& text)
{
    return QString::fromLatin1(text.begin, text.size());
}

int ToInt(const XmlText& text)
{
    qint64 plain = 0;
    if (PlainInteger(text.begin, text.size(), 9, &plain))
        return int(plain);
    const QString general = Latin1(text);
    return ToInt(QStringRef(&general));
}

double ToDouble(const XmlText& text)
{
    qint64 plain = 0;
    if (PlainInteger(text.begin, text.size(), 15, &plain))
        return WholeDouble(plain, text.begin[0] == '-');
    double decimal = 0.0;
    if (PlainDecimal(text.begin, text.size(), &decimal))
        return decimal;
    const QString general = Latin1(text);
    return ToDouble(QStringRef(&general));
}

// "#rrggbb" as the colour parser reads it; any other form goes to it.
QColor ToColor(const XmlText& text)
{
    unsigned rgb = 0;
    if (text.size() == 7 && text.begin[0] == '#'
        && std::from_chars(text.begin + 1, text.end, rgb, 16).ptr == text.end)
        return QColor(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF);
    return QColor(Latin1(text));
}

// The two-letter attribute names of the event files, as one number each, so
// that an element's attributes are told apart by one switch.
constexpr uint Key2(char a, char b)
{
    return (uint(uchar(a)) << 16) | uint(uchar(b));
}

uint Key2(const QStringRef& name)
{
    return name.size() == 2 ? (uint(name.at(0).unicode()) << 16) | uint(name.at(1).unicode()) : 0;
}

uint Key2(const char* name)
{
    return Key2(name[0], name[1]);
}

// A double truncated toward zero, pinned to what an int holds.
int Trunc(double v)
{
    if (!(v == v))
        return 0;
    if (v >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(v);
}

QString Folder(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

// A file of the unpacked folder that may be read: a regular file, no link
// (the unpacking removed the rest already; this holds for any folder).
bool IsReadableEntry(const QString& path)
{
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile();
}

bool OpenEntry(QFile& file, QIODevice::OpenMode mode = QIODevice::ReadOnly)
{
    return IsReadableEntry(file.fileName()) && file.open(mode);
}

// Copies `source` to `target` unless something is there already; a link in
// the way is never written through.
bool CopyInto(const QString& source, const QString& target)
{
    if (!IsReadableEntry(source))
        return false;
    const QFileInfo to(target);
    if (to.exists() || to.isSymLink())
        return false;
    return QFile::copy(source, target);
}

// The carried-over coordinates of the current fit.
struct Scaler {
    double scale = 1.0;
    int offX = 0;
    int offY = 0;
    double x(int v) const { return scale * v + offX; }
    double y(int v) const { return scale * v + offY; }
    int left(int v) const { return Trunc(scale * v + offX); }
    int top(int v) const { return Trunc(scale * v + offY); }
    int size(int v) const { return Trunc(scale * v); }
};

Scaler ScalerOf(const ProjectFit& fit)
{
    return Scaler{fit.scale, fit.offsetX, fit.offsetY};
}

// One rectangle attribute ("X", "Y", "Width"/"W", "Height"/"H"): the left
// and top edges move keeping the opposite edge, the sizes count from them.
void SetRectPart(QRect& rect, char part, int v, const Scaler& s)
{
    switch (part) {
    case 'X': rect.setLeft(s.left(v)); break;
    case 'Y': rect.setTop(s.top(v)); break;
    case 'W': rect.setWidth(s.size(v)); break;
    case 'H': rect.setHeight(s.size(v)); break;
    default: break;
    }
}

// Samples of one stroke until its release: emptied whenever a file starts
// or the slot or the EventID changes, so that a stroke without a release
// never lends its samples to the next object.
struct RunningStroke {
    QVector<FreePenPoint> points;
    int slot = -1;
    int eventId = -1;

    void reset()
    {
        points.clear();
        slot = -1;
        eventId = -1;
    }

    void add(BoardModel& board, int slotIndex, const FreePenPoint& p)
    {
        if (slotIndex != slot || int(p.EventID) != eventId) {
            points.clear();
            slot = slotIndex;
            eventId = p.EventID;
        }
        points.append(p);
        board.slot[slotIndex].allPoints.append(p);
        if (p.MouseAction == 3) {
            // The map gets the samples in a vector of their exact size; the
            // running vector keeps its room for the next stroke.
            board.FreePenMap.insert(MakeObjectKey(slotIndex, p.EventID),
                                    QVector<FreePenPoint>(points.constBegin(), points.constEnd()));
            points.clear();
        }
    }
};

void AppendMaster(BoardModel& board, int slot, const EventMaster& em)
{
    PointerSlotState& s = board.slot[slot];
    s.records.appendMaster(em);
    s.nextEventId = std::max(s.nextEventId, int(em.EventID) + 1);
}

// The fields of the records of the event files, by attribute name, from
// either reader's text of the value.
template <typename Text>
void SetMasterField(EventMaster& em, uint key, const Text& value)
{
    switch (key) {
    case Key2('E', 'I'): em.EventID = quint16(ToInt(value)); break;
    case Key2('M', 'P'): em.MediaPos = ToDouble(value); break;
    case Key2('K', 'D'): em.Kind = EventKindFromInt(ToInt(value)); break;
    case Key2('S', 'D'): em.StrData = quint16(ToInt(value)); break;
    case Key2('S', 'C'): em.SCale = ToDouble(value); break;
    case Key2('H', 'S'): em.HScroll = quint16(ToInt(value)); break;
    case Key2('V', 'S'): em.VScroll = quint16(ToInt(value)); break;
    default: break;
    }
}

template <typename Text>
void SetDetailField(EventDetail& ed, uint key, const Text& value, const Scaler& s)
{
    switch (key) {
    case Key2('E', 'I'): ed.EventID = quint16(ToInt(value)); break;
    case Key2('S', 'X'): ed.S.setX(s.x(ToInt(value))); break;
    case Key2('S', 'Y'): ed.S.setY(s.y(ToInt(value))); break;
    case Key2('E', 'X'): ed.E.setX(s.x(ToInt(value))); break;
    case Key2('E', 'Y'): ed.E.setY(s.y(ToInt(value))); break;
    case Key2('M', 'X'): ed.M.setX(s.x(ToInt(value))); break;
    case Key2('M', 'Y'): ed.M.setY(s.y(ToInt(value))); break;
    case Key2('C', 'X'): ed.C.setX(s.x(ToInt(value))); break;
    case Key2('C', 'Y'): ed.C.setY(s.y(ToInt(value))); break;
    case Key2('O', 'X'): SetRectPart(ed.OriginRF, 'X', ToInt(value), s); break;
    case Key2('O', 'Y'): SetRectPart(ed.OriginRF, 'Y', ToInt(value), s); break;
    case Key2('O', 'W'): SetRectPart(ed.OriginRF, 'W', ToInt(value), s); break;
    case Key2('O', 'H'): SetRectPart(ed.OriginRF, 'H', ToInt(value), s); break;
    case Key2('B', 'X'): SetRectPart(ed.BoundRF, 'X', ToInt(value), s); break;
    case Key2('B', 'Y'): SetRectPart(ed.BoundRF, 'Y', ToInt(value), s); break;
    case Key2('B', 'W'): SetRectPart(ed.BoundRF, 'W', ToInt(value), s); break;
    case Key2('B', 'H'): SetRectPart(ed.BoundRF, 'H', ToInt(value), s); break;
    case Key2('P', 'C'): ed.PenColor = ToColor(value); break;
    case Key2('P', 'W'): ed.PenWidth = quint16(ToInt(value)); break;
    case Key2('A', 'G'): ed.Angle = float(ToDouble(value)); break;
    case Key2('B', 'D'): ed.Deleted = ToInt(value) != 0 ? 1 : 0; break;
    case Key2('T', 'P'): ed.Transparent = quint16(ToInt(value)); break;
    default: break;
    }
}

template <typename Text>
void SetPointField(FreePenPoint& p, uint key, const Text& value, const Scaler& s)
{
    switch (key) {
    case Key2('E', 'I'): p.EventID = quint16(ToInt(value)); break;
    case Key2('M', 'P'): p.MediaPos = ToDouble(value); break;
    case Key2('M', 'A'): p.MouseAction = MouseActionFromInt(ToInt(value)); break;
    case Key2('P', 'S'): p.Press = float(ToDouble(value)); break;
    case Key2('S', 'X'): p.S.setX(s.x(ToInt(value))); break;
    case Key2('S', 'Y'): p.S.setY(s.y(ToInt(value))); break;
    case Key2('M', 'X'): p.M.setX(s.x(ToInt(value))); break;
    case Key2('M', 'Y'): p.M.setY(s.y(ToInt(value))); break;
    default: break;
    }
}

// A record read whole joins the slot in force: a master belongs to the
// file's note, a detail remembers the board it was written on.
void AddMaster(BoardModel& board, int slot, const NoteInfo& note, EventMaster& em)
{
    em.NoteName = note.create_data;
    em.Slot = quint16(slot);
    AppendMaster(board, slot, em);
}

void AddDetail(BoardModel& board, int slot, QSize window, EventDetail& ed)
{
    ed.CanvasWidth = quint16(window.width());
    ed.CanvasHeight = quint16(window.height());
    board.slot[slot].records.appendDetail(ed);
}

// ---- current layout --------------------------------------------------------

// How a file's reading stands to the file before it.
struct EventFileStart {
    bool ownSlot = false;   // it named a slot of its own
    bool ownSizes = false;  // it gave the board and page sizes
    // It used what the file before left (the slot in force, the sizes):
    // records before its own slot group or sizes, sizes given in part.
    bool leanedOnBefore = false;
};

void ReadEventFile(ProjectReading& reading, QXmlStreamReader& xml, const NoteInfo& note, int& slot, QSize& window,
                   QSize& page, RunningStroke& stroke, EventFileStart* start = nullptr)
{
    LoadedProject& project = reading.project;
    BoardModel& board = project.board;
    Scaler s = ScalerOf(project.fit);
    EventFileStart own;
    bool& ownSlot = start ? start->ownSlot : own.ownSlot;
    bool& ownSizes = start ? start->ownSizes : own.ownSizes;
    const auto lean = [&] {
        if (start)
            start->leanedOnBefore = true;
    };
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.hasAttribute(QLatin1String("Index"))) {
            const int index = ToInt(attributes.value(QLatin1String("Index")));
            // Whether a slot left out is worth a warning depends on the slot
            // in force before.
            if (!ownSlot && !IsValidPointerSlot(index))
                lean();
            ownSlot = true;
            // A slot that does not exist never indexes the tables; its
            // records are left out while it is in force.
            if (!IsValidPointerSlot(index) && IsValidPointerSlot(slot))
                Warn(project, QStringLiteral("project load skips the records of slot %1").arg(index));
            slot = IsValidPointerSlot(index) ? index : -1;
        }
        const QStringRef name = xml.name();
        if (name == QLatin1String("Event")) {
            int sizesGiven = 0;
            for (const QXmlStreamAttribute& a : attributes) {
                const QStringRef key = a.name();
                if (key == QLatin1String("Width"))
                    window.setWidth(ToInt(a.value()));
                else if (key == QLatin1String("Height"))
                    window.setHeight(ToInt(a.value()));
                else if (key == QLatin1String("RWidth"))
                    page.setWidth(ToInt(a.value()));
                else if (key == QLatin1String("RHeight"))
                    page.setHeight(ToInt(a.value()));
                else
                    continue;
                ++sizesGiven;
            }
            if (sizesGiven != 4)
                lean();
            ownSizes = true;
            project.fit = FitProjectPage(reading.settings.basePage, window, page);
            s = ScalerOf(project.fit);
            continue;
        }
        if (name == QLatin1String("EM") || name == QLatin1String("ED") || name == QLatin1String("FP")) {
            if (!ownSlot || !ownSizes)
                lean();
        }
        if (!IsValidPointerSlot(slot))
            continue;
        if (name == QLatin1String("EM")) {
            EventMaster em;
            for (const QXmlStreamAttribute& a : attributes)
                SetMasterField(em, Key2(a.name()), a.value());
            AddMaster(board, slot, note, em);
        } else if (name == QLatin1String("ED")) {
            EventDetail ed;
            for (const QXmlStreamAttribute& a : attributes)
                SetDetailField(ed, Key2(a.name()), a.value(), s);
            AddDetail(board, slot, window, ed);
        } else if (name == QLatin1String("FP")) {
            FreePenPoint p;
            for (const QXmlStreamAttribute& a : attributes)
                SetPointField(p, Key2(a.name()), a.value(), s);
            stroke.add(board, slot, p);
        }
    }
    if (xml.hasError())
        Damaged(project, QStringLiteral("%1 line %2: %3")
                             .arg(QFileInfo(static_cast<QFile*>(xml.device())->fileName()).fileName())
                             .arg(xml.lineNumber()).arg(xml.errorString()));
}

// The records of an event file in the writer's own shape, as the scan
// finds them; what it builds is what ReadEventFile builds of the same file.
class EventFileRecords : public EventFileVisitor
{
public:
    EventFileRecords(ProjectReading& reading, const NoteInfo& note, int& slot, QSize& window, QSize& page,
                     EventFileStart& start)
        : m_reading(reading), m_board(reading.project.board), m_note(note), m_slot(slot), m_window(window),
          m_page(page), m_start(start), m_scaler(ScalerOf(reading.project.fit))
    {
        for (int i = 0; i < kMasterAttributeCount; ++i)
            m_masterKeys[i] = Key2(kMasterAttributes[i]);
        for (int i = 0; i < kDetailAttributeCount; ++i)
            m_detailKeys[i] = Key2(kDetailAttributes[i]);
        for (int i = 0; i < kPointAttributeCount; ++i)
            m_pointKeys[i] = Key2(kPointAttributes[i]);
    }

    void event(const XmlText* values) override
    {
        // Note, Width, Height, RWidth, RHeight.
        m_window = QSize(ToInt(values[1]), ToInt(values[2]));
        m_page = QSize(ToInt(values[3]), ToInt(values[4]));
        m_start.ownSizes = true;
        m_reading.project.fit = FitProjectPage(m_reading.settings.basePage, m_window, m_page);
        m_scaler = ScalerOf(m_reading.project.fit);
    }

    void group(int slot) override
    {
        m_start.ownSlot = true;
        m_slot = slot;
    }

    void master(const XmlText* values) override
    {
        EventMaster em;
        for (int i = 0; i < kMasterAttributeCount; ++i)
            SetMasterField(em, m_masterKeys[i], values[i]);
        AddMaster(m_board, m_slot, m_note, em);
    }

    void detail(const XmlText* values) override
    {
        EventDetail ed;
        for (int i = 0; i < kDetailAttributeCount; ++i)
            SetDetailField(ed, m_detailKeys[i], values[i], m_scaler);
        AddDetail(m_board, m_slot, m_window, ed);
    }

    void point(const XmlText* values) override
    {
        FreePenPoint p;
        for (int i = 0; i < kPointAttributeCount; ++i)
            SetPointField(p, m_pointKeys[i], values[i], m_scaler);
        m_stroke.add(m_board, m_slot, p);
    }

private:
    ProjectReading& m_reading;
    BoardModel& m_board;
    const NoteInfo& m_note;
    int& m_slot;
    QSize& m_window;
    QSize& m_page;
    EventFileStart& m_start;
    Scaler m_scaler;
    RunningStroke m_stroke;
    uint m_masterKeys[kMasterAttributeCount];
    uint m_detailKeys[kDetailAttributeCount];
    uint m_pointKeys[kPointAttributeCount];
};

// ---- older layout -----------------------------------------------------------

// The fit of the older layout: the board the first detail was written on,
// compared with this page as it is; the note pictures are scaled by it, once.
void TakeLegacyFit(ProjectReading& reading, const QString& folder, int noteWidth, int noteHeight)
{
    LoadedProject& project = reading.project;
    project.fit = FitProjectPage(reading.settings.basePage, QSize(noteWidth, noteHeight), QSize(noteWidth, noteHeight));
    reading.legacyFitDone = true;
    const double scale = project.fit.scale;
    for (NoteInfo& note : project.notes) {
        note.width = project.fit.page.width();
        note.height = project.fit.page.height();
        const QImage picture = ReadPicture(note.path).image;
        if (picture.isNull())
            continue;
        const QSize size(Trunc(picture.width() * scale), Trunc(picture.height() * scale));
        if (size.width() > 0 && size.height() > 0 && size != picture.size()) {
            if (!picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(note.path))
                Warn(project, QStringLiteral("project load cannot rescale %1").arg(note.path));
        }
        CopyInto(note.path, Folder(folder, note.name));
    }
    Log(QStringLiteral("legacy fit: scale %1 page %2 x %3")
            .arg(scale).arg(project.fit.page.width()).arg(project.fit.page.height()));
}

void ReadLegacyMasters(ProjectReading& reading, QXmlStreamReader& xml, int n)
{
    BoardModel& board = reading.project.board;
    const QString tag = QStringLiteral("EMInfo_%1").arg(n);
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != tag)
            continue;
        EventMaster em;
        for (const QXmlStreamAttribute& a : xml.attributes()) {
            const QStringRef key = a.name();
            const QStringRef value = a.value();
            if (key == QLatin1String("Kind")) {
                int kind = ToInt(value);
                // The older numbering had two kinds fewer before the circles.
                if (kind >= 6 && kind <= 11)
                    kind += 2;
                em.Kind = EventKindFromInt(kind);
            } else if (key == QLatin1String("StrData")) {
                em.StrData = quint16(ToInt(value));
            } else if (key == QLatin1String("EventID")) {
                em.EventID = quint16(ToInt(value));
            } else if (key == QLatin1String("SCale")) {
                em.SCale = ToDouble(value);
            } else if (key == QLatin1String("VScroll")) {
                em.HScroll = quint16(ToInt(value));
            } else if (key == QLatin1String("HScroll")) {
                em.VScroll = quint16(ToInt(value));
            } else if (key == QLatin1String("NoteName")) {
                em.NoteName = value.toString();
            }
        }
        em.MediaPos = -1.0;
        em.Slot = quint16(n);
        if (em.Kind >= ekImage && em.Kind <= ekEArrow)
            AppendMaster(board, n, em);
    }
}

void ReadLegacyDetails(ProjectReading& reading, QXmlStreamReader& xml, const QString& folder, int n)
{
    LoadedProject& project = reading.project;
    SlotRecords& records = project.board.slot[n].records;
    const QString tag = QStringLiteral("EDInfo_%1").arg(n);
    bool first = true;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != tag)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (first && !reading.legacyFitDone)
            TakeLegacyFit(reading, folder, ToInt(attributes.value(QLatin1String("NoteWidth"))),
                          ToInt(attributes.value(QLatin1String("NoteHeight"))));
        first = false;
        const Scaler s = ScalerOf(project.fit);
        EventDetail ed;
        for (const QXmlStreamAttribute& a : attributes) {
            const QString key = a.name().toString();
            const QStringRef value = a.value();
            if (key == QLatin1String("EventID")) {
                ed.EventID = quint16(ToInt(value));
            } else if (key == QLatin1String("osP.X")) {
                ed.S.setX(s.x(ToInt(value)));
            } else if (key == QLatin1String("osP.Y")) {
                ed.S.setY(s.y(ToInt(value)));
            } else if (key == QLatin1String("msP.X")) {
                ed.M.setX(s.x(ToInt(value)));
            } else if (key == QLatin1String("msP.Y")) {
                ed.M.setY(s.y(ToInt(value)));
            } else if (key.startsWith(QLatin1String("OriginRF.")) || key.startsWith(QLatin1String("BoundRF."))) {
                const QString part = key.mid(key.indexOf(QLatin1Char('.')) + 1);
                const char which = part == QLatin1String("X") ? 'X'
                    : part == QLatin1String("Y") ? 'Y'
                    : part == QLatin1String("Width") ? 'W'
                    : part == QLatin1String("Height") ? 'H' : 0;
                SetRectPart(key.startsWith(QLatin1Char('O')) ? ed.OriginRF : ed.BoundRF, which, ToInt(value), s);
            } else if (key == QLatin1String("PenColor")) {
                // Stored with red in the low byte.
                const uint v = uint(ToInt(value));
                ed.PenColor = QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), 255);
            } else if (key == QLatin1String("PenWidth")) {
                ed.PenWidth = quint16(ToInt(value));
            } else if (key == QLatin1String("Angle")) {
                ed.Angle = float(ToDouble(value));
            } else if (key == QLatin1String("Deleted")) {
                if (value == QLatin1String("true"))
                    ed.Deleted = 1;
                else if (value == QLatin1String("false"))
                    ed.Deleted = 0;
            } else if (key == QLatin1String("Transparent")) {
                ed.Transparent = quint16(ToInt(value));
            }
        }
        if (ed.PenWidth < 2)
            ed.PenWidth = 2;
        ed.E = ed.S + QPointF(ed.OriginRF.width(), ed.OriginRF.height());
        // Every master kept holds a figure, a stroke or a picture: their
        // current corners are those of the bounds.
        if (records.findMaster(ed.EventID)) {
            ed.M = ed.BoundRF.topLeft();
            ed.C = QPointF(ed.BoundRF.left() + ed.BoundRF.width(), ed.BoundRF.top() + ed.BoundRF.height());
        }
        records.appendDetail(ed);
    }
}

void ReadLegacyPoints(ProjectReading& reading, QXmlStreamReader& xml, int n)
{
    BoardModel& board = reading.project.board;
    const QString tag = QStringLiteral("FreePenInfo_%1").arg(n);
    RunningStroke stroke;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != tag)
            continue;
        const Scaler s = ScalerOf(reading.project.fit);
        FreePenPoint p;
        for (const QXmlStreamAttribute& a : xml.attributes()) {
            const QStringRef key = a.name();
            const QStringRef value = a.value();
            if (key == QLatin1String("EventID"))
                p.EventID = quint16(ToInt(value));
            else if (key == QLatin1String("MouseAction"))
                p.MouseAction = MouseActionFromInt(ToInt(value));
            else if (key == QLatin1String("Press"))
                p.Press = float(ToInt(value));
            else if (key == QLatin1String("oP.X"))
                p.S.setX(s.x(ToInt(value)));
            else if (key == QLatin1String("oP.Y"))
                p.S.setY(s.y(ToInt(value)));
            else if (key == QLatin1String("mP.X"))
                p.M.setX(s.x(ToInt(value)));
            else if (key == QLatin1String("mP.Y"))
                p.M.setY(s.y(ToInt(value)));
        }
        p.MediaPos = -1.0;
        stroke.add(board, n, p);
    }
}

void LoadLegacyEvents(ProjectReading& reading, const QString& folder)
{
    for (int n = 0; n < kPointerSlotCount; ++n) {
        for (int part = 0; part < 3; ++part) {
            static const char* const kNames[] = {"EM_%1.xml", "ED_%1.xml", "FreePts_%1.xml"};
            QFile file(Folder(folder, QString::fromLatin1(kNames[part]).arg(n)));
            if (!OpenEntry(file))
                continue;
            QXmlStreamReader xml(&file);
            if (part == 0)
                ReadLegacyMasters(reading, xml, n);
            else if (part == 1)
                ReadLegacyDetails(reading, xml, folder, n);
            else
                ReadLegacyPoints(reading, xml, n);
            if (xml.hasError())
                Damaged(reading.project, QStringLiteral("%1 line %2: %3")
                                             .arg(QFileInfo(file).fileName()).arg(xml.lineNumber())
                                             .arg(xml.errorString()));
        }
    }
}

// A detail drawn see-through carries its alpha in the pen colour.
void ApplyTransparency(BoardModel& board)
{
    for (PointerSlotState& slot : board.slot) {
        for (EventDetail& ed : slot.records.editDetails()) {
            if (ed.Transparent != 255)
                ed.PenColor.setAlpha(std::min(int(ed.Transparent), 255));
        }
    }
}

// Removes from `folder` whatever is not a regular file.
void KeepRegularFilesOnly(const QString& folder)
{
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (!entry.isSymLink() && entry.isFile())
            continue;
        Log(QStringLiteral("project load removes \"%1\": not a regular file").arg(entry.fileName()));
        if (entry.isDir() && !entry.isSymLink())
            RemoveFolderRecursive(entry.filePath(), folder);
        else
            QFile::remove(entry.filePath());
    }
}

}  // namespace

ProjectFit FitProjectPage(QSize basePage, QSize window, QSize page)
{
    ProjectFit fit;
    const double BW = basePage.width();
    const double BH = basePage.height();
    const double W = window.width();
    const double H = window.height();
    const double RW = page.width();
    const double RH = page.height();
    fit.page = QRect(QPoint(0, 0), basePage);
    if (BW <= 0 || BH <= 0 || W <= 0 || H <= 0 || RW <= 0 || RH <= 0)
        return fit;

    double rx = BW / RW;
    double ry = BH / RH;
    if (rx != ry) {
        rx = BW / W;
        ry = BH / H;
    }
    if (rx > ry) {
        fit.scale = ry;
        fit.offsetX = Trunc((BW - W * ry) * 0.5);
    } else if (ry > rx) {
        fit.scale = rx;
        fit.offsetY = Trunc((BH - H * rx) * 0.5);
    } else {
        const double a = W / RW;
        const double b = H / RH;
        if (a > b) {
            fit.scale = ry;
            fit.offsetX = Trunc((BW - W * ry) * 0.5);
        } else {
            fit.scale = rx;
            if (b > a)
                fit.offsetY = Trunc((BH - H * rx) * 0.5);
        }
    }

    int pageWidth = page.width();
    int pageHeight = page.height();
    if (fit.scale != 1.0) {
        pageWidth = Trunc(fit.scale * RW);
        pageHeight = Trunc(fit.scale * RH);
    }
    if (pageWidth <= 0 || pageHeight <= 0)
        return ProjectFit{1.0, 0, 0, QRect(QPoint(0, 0), basePage)};
    int pageX = 0;
    int pageY = 0;
    if (BW / pageWidth > BH / pageHeight)
        pageX = (basePage.width() - pageWidth) / 2;
    else
        pageY = (basePage.height() - pageHeight) / 2;
    fit.page = QRect(pageX, pageY, pageWidth, pageHeight);
    Log(QStringLiteral("project fit: offset %1 %2 page %3 %4 %5 x %6 scale %7")
            .arg(fit.offsetX).arg(fit.offsetY).arg(pageX).arg(pageY).arg(pageWidth).arg(pageHeight)
            .arg(fit.scale));
    return fit;
}

void LoadNotesXml(ProjectReading& reading, const QString& folder)
{
    LoadedProject& project = reading.project;
    const QString workFolder = reading.settings.workFolder;
    QFile notesFile(Folder(folder, QLatin1String(kNotesFileName)));
    if (OpenEntry(notesFile)) {
        QXmlStreamReader xml(&notesFile);
        while (!xml.atEnd() && !xml.hasError()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (attributes.size() <= 2)
                continue;
            NoteInfo note;
            for (const QXmlStreamAttribute& a : attributes) {
                const QStringRef key = a.name();
                if (key == QLatin1String("Type"))
                    note.type = ToInt(a.value());
                else if (key == QLatin1String("Name"))
                    note.name = a.value().toString();
                else if (key == QLatin1String("Create"))
                    note.create_data = a.value().toString();
                else if (key == QLatin1String("Path"))
                    note.path = a.value().toString();
                else if (key == QLatin1String("NoteWidth"))
                    note.width = ToInt(a.value());
                else if (key == QLatin1String("NoteHeight"))
                    note.height = ToInt(a.value());
                else if (key == QLatin1String("PageOption"))
                    note.page_option = ToInt(a.value()) != 0;
            }
            // Both names become file names in the work folder.
            if (!IsBareFileName(note.name) || !IsBareFileName(note.create_data)) {
                Warn(project, QStringLiteral("project load skips the note \"%1\" (\"%2\"): not a plain file name")
                                  .arg(note.name, note.create_data));
                continue;
            }
            if (note.type == kPicturePage || note.type == kDocumentPage) {
                note.path = workFolder + note.name;
                CopyInto(Folder(folder, note.name), note.path);
            } else {
                // A board page's background is named by its board or paper,
                // found on this machine whatever the writing machine's
                // folders were.
                note.path = PageSourcePath(kBoardPage, note.name, note.path, reading.settings.paperFolder);
            }
            note.imagePath = PageImagePath(workFolder, note.create_data);
            project.notes.append(note);
        }
        if (xml.hasError())
            Damaged(project, QStringLiteral("Notes.xml line %1: %2").arg(xml.lineNumber()).arg(xml.errorString()));
        project.legacy = false;
        return;
    }

    QFile index(Folder(folder, QStringLiteral("Notes.inx")));
    if (!OpenEntry(index, QIODevice::ReadOnly | QIODevice::Text)) {
        Damaged(project, QStringLiteral("the note list is missing"));
        return;
    }
    QTextStream in(&index);
    in.setCodec("UTF-8");
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty())
            continue;
        if (!IsBareFileName(line)) {
            Warn(project, QStringLiteral("project load skips the page \"%1\": not a plain file name").arg(line));
            continue;
        }
        NoteInfo note;
        note.type = kPicturePage;
        note.create_data = line.left(line.indexOf(QLatin1Char('.')) < 0 ? line.size() : line.indexOf(QLatin1Char('.')));
        note.page_option = false;
        note.name = QStringLiteral("Ori_") + line;
        if (!IsBareFileName(note.create_data)) {
            Warn(project, QStringLiteral("project load skips the page \"%1\": no page name").arg(line));
            continue;
        }
        const QString original = Folder(folder, note.name);
        if (IsReadableEntry(Folder(folder, line)) && !QFileInfo::exists(original))
            QFile::rename(Folder(folder, line), original);
        note.path = workFolder + note.name;
        CopyInto(original, note.path);
        note.imagePath = PageImagePath(workFolder, note.create_data);
        project.notes.append(note);
    }
    project.legacy = true;
}

namespace {

struct ProjectSettingsAndNote {
    ProjectLoadSettings settings;
    NoteInfo note;
    QString path;
};

// One event file read on its own, into a board of its own.
struct EventFileReading {
    ProjectReading reading;
    int slot = 0;
    QSize window;
    QSize page;
    bool opened = false;
    EventFileStart start;
};

// Larger event files are read by the general reader, which streams them:
// the scan holds a file in memory whole.
constexpr qint64 kMaxScannedEventFileBytes = qint64(256) * 1024 * 1024;

// Reads `file` with the scan when it is in the writer's own shape; false
// when it is not (or cannot be read whole), with `out` as it was.
bool ScanEventFileAlone(QFile& file, const NoteInfo& note, EventFileReading& out)
{
    const qint64 size = file.size();
    if (size <= 0 || size > kMaxScannedEventFileBytes)
        return false;
    QByteArray bytes(int(size), Qt::Uninitialized);
    if (file.read(bytes.data(), size) != size)
        return false;
    EventFileReading scanned;
    scanned.reading.settings = out.reading.settings;
    scanned.reading.project.fit = out.reading.project.fit;
    scanned.opened = true;
    EventFileRecords records(scanned.reading, note, scanned.slot, scanned.window, scanned.page, scanned.start);
    if (!ScanEventFile(bytes.constData(), size, records))
        return false;
    out = std::move(scanned);
    return true;
}

EventFileReading ReadEventFileAlone(const ProjectSettingsAndNote& job)
{
    EventFileReading out;
    out.reading.settings = job.settings;
    QFile file(job.path);
    if (!OpenEntry(file))
        return out;
    out.opened = true;
    // Any other form, and any damage, is read as it always was.
    if (ScanEventFileAlone(file, job.note, out))
        return out;
    file.seek(0);
    RunningStroke stroke;
    QXmlStreamReader xml(&file);
    ReadEventFile(out.reading, xml, job.note, out.slot, out.window, out.page, stroke, &out.start);
    return out;
}

// Each slot's samples, a piece for every file in note order, joined into
// the slot's table once every file is read.
using SamplePieces = std::array<QVector<QVector<FreePenPoint>>, kPointerSlotCount>;

// Moves the samples the board holds into the pieces.
void TakeSamples(BoardModel& board, SamplePieces& pieces)
{
    for (int k = 0; k < kPointerSlotCount; ++k) {
        if (!board.slot[k].allPoints.isEmpty())
            pieces[k].append(std::exchange(board.slot[k].allPoints, QVector<FreePenPoint>()));
    }
}

// Each slot's table is made at its full size at once and filled, the
// slots side by side: a lesson's samples are copied once, not again each
// time a table grows.
void JoinSamples(BoardModel& board, SamplePieces& pieces)
{
    QVector<int> slotIndexes;
    for (int k = 0; k < kPointerSlotCount; ++k)
        slotIndexes << k;
    QtConcurrent::blockingMap(slotIndexes, [&board, &pieces](int k) {
        QVector<QVector<FreePenPoint>>& parts = pieces[k];
        QVector<FreePenPoint>& all = board.slot[k].allPoints;
        if (parts.size() == 1) {
            all = std::move(parts[0]);
        } else if (parts.size() > 1) {
            int total = 0;
            for (const QVector<FreePenPoint>& part : qAsConst(parts))
                total += part.size();
            all.reserve(total);
            for (QVector<FreePenPoint>& part : parts) {
                // One by one into the room made for them: appending a whole
                // vector to an empty one would share it and drop that room.
                for (const FreePenPoint& p : qAsConst(part))
                    all.append(p);
                part = QVector<FreePenPoint>();
            }
        }
        parts.clear();
    });
}

// Adds what a file read alone found to the lesson, as reading it in turn
// would have; its samples join the pieces. The file's reading is emptied.
void TakeIn(ProjectReading& reading, EventFileReading& alone, SamplePieces& pieces)
{
    LoadedProject& project = reading.project;
    BoardModel& from = alone.reading.project.board;
    for (int k = 0; k < kPointerSlotCount; ++k) {
        for (const EventMaster& em : from.slot[k].records.masters())
            AppendMaster(project.board, k, em);
        for (const EventDetail& ed : from.slot[k].records.details())
            project.board.slot[k].records.appendDetail(ed);
    }
    TakeSamples(from, pieces);
    for (auto it = from.FreePenMap.constBegin(); it != from.FreePenMap.constEnd(); ++it)
        project.board.FreePenMap.insert(it.key(), it.value());
    project.warnings += alone.reading.project.warnings;
    project.damage += alone.reading.project.damage;
    if (alone.start.ownSizes)
        project.fit = alone.reading.project.fit;
    alone = EventFileReading();
}

// The event files are read side by side, each into a board of its own, and
// taken in in note order. A file that leans on what the one before it left
// (records outside a slot group, sizes missing) is read again in turn.
void LoadEventFiles(ProjectReading& reading, const QString& folder)
{
    BoardModel& board = reading.project.board;
    SamplePieces pieces;
    TakeSamples(board, pieces);
    int slot = 0;
    QSize window(0, 0);
    QSize page(0, 0);
    const int count = reading.project.notes.size();
    const int ahead = 2 * qMax(1, QThread::idealThreadCount());
    QVector<QFuture<EventFileReading>> reads;
    int next = 0;
    for (int i = 0; i < count; ++i) {
        while (next < count && next < i + ahead) {
            const ProjectSettingsAndNote job{reading.settings, reading.project.notes.at(next),
                                             Folder(folder, EventFileName(next))};
            reads.append(QtConcurrent::run(ReadEventFileAlone, job));
            ++next;
        }
        EventFileReading alone = reads[i].result();
        reads[i] = QFuture<EventFileReading>();
        if (!alone.opened) {
            Damaged(reading.project, QStringLiteral("%1 is missing").arg(EventFileName(i)));
            continue;
        }
        if (!alone.start.leanedOnBefore) {
            if (alone.start.ownSlot)
                slot = alone.slot;
            if (alone.start.ownSizes) {
                window = alone.window;
                page = alone.page;
            }
            TakeIn(reading, alone, pieces);
            continue;
        }
        QFile file(Folder(folder, EventFileName(i)));
        if (!OpenEntry(file))
            continue;
        RunningStroke stroke;
        QXmlStreamReader xml(&file);
        ReadEventFile(reading, xml, reading.project.notes.at(i), slot, window, page, stroke);
        TakeSamples(board, pieces);
    }
    JoinSamples(board, pieces);
}

}  // namespace

void LoadEventsXml(ProjectReading& reading, const QString& folder)
{
    if (reading.project.legacy) {
        LoadLegacyEvents(reading, folder);
    } else {
        LoadEventFiles(reading, folder);
    }
    ApplyTransparency(reading.project.board);
}

void LoadStrData(ProjectReading& reading, const QString& folder)
{
    LoadedProject& project = reading.project;
    QFile list(Folder(folder, QLatin1String(kMediaListFileName)));
    if (!OpenEntry(list, QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&list);
    in.setCodec("UTF-8");
    while (!in.atEnd()) {
        const QString entry = in.readLine();
        // The media file comes to the work folder under its bare name: the
        // path it had on the writing machine is nowhere to write to. The
        // entry keeps its place, so every StrData index stays as stored.
        const QString name = entry.mid(std::max(entry.lastIndexOf(QLatin1Char('/')), entry.lastIndexOf(QLatin1Char('\\'))) + 1);
        if (!IsBareFileName(name) || IsWriterEntryName(name)) {
            Warn(project, QStringLiteral("project load skips the media entry \"%1\"").arg(entry));
            project.mediaFiles.append(QString());
            continue;
        }
        const QString target = reading.settings.workFolder + name;
        CopyInto(Folder(folder, name), target);
        project.mediaFiles.append(target);
    }
}

void ReadProjectFolder(ProjectReading& reading, const QString& folder, const ProgressFunction& progress)
{
    progress(QStringLiteral("Load Notes..."), 0);
    LoadNotesXml(reading, folder);
    progress(QStringLiteral("Load Events..."), 0);
    LoadEventsXml(reading, folder);
    progress(QStringLiteral("Load Objects..."), 0);
    LoadStrData(reading, folder);
}

QString ProjectUnpackFolder(const QString& workFolder, const QString& projectPath)
{
    QString base = projectPath.left(std::max(0, projectPath.size() - 3));
    base = base.mid(std::max(base.lastIndexOf(QLatin1Char('/')), base.lastIndexOf(QLatin1Char('\\'))) + 1);
    if (!IsBareFileName(base))
        base = QStringLiteral("project");
    return workFolder + base;
}

QString CheckProjectArchive(const QString& projectPath, qint64 maxBytes, int maxEntries, qint64* unpackedBytes)
{
    const QFileInfo info(projectPath);
    if (!info.isFile())
        return QStringLiteral("the file cannot be read");
    QuaZip zip(projectPath);
    if (!zip.open(QuaZip::mdUnzip))
        return QStringLiteral("it is not a project archive");
    if (zip.getEntriesCount() > maxEntries)
        return QStringLiteral("it holds too many files");
    // The unzip program writes what an entry unpacks to, whatever size the
    // entry declares; every entry is unpacked here once, without writing,
    // so that a lying entry never reaches the disk.
    qint64 total = 0;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 entry;
        if (!zip.getCurrentFileInfo(&entry))
            return QStringLiteral("it is damaged");
        if (entry.name.endsWith(QLatin1Char('/')))
            continue;
        if (qint64(entry.uncompressedSize) < 0 || qint64(entry.uncompressedSize) > maxBytes - total)
            return QStringLiteral("it is too large");
        // A stored entry is written as long as its packed size says.
        if (entry.method == 0 && entry.compressedSize != entry.uncompressedSize)
            return QStringLiteral("it is damaged (an entry is larger than it says)");
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("it is damaged or packed in a way that cannot be read");
        qint64 read = 0;
        for (;;) {
            const qint64 n = file.read(buffer.data(), buffer.size());
            if (n < 0) {
                file.close();
                return QStringLiteral("it is damaged");
            }
            if (n == 0)
                break;
            read += n;
            if (read > qint64(entry.uncompressedSize)) {
                file.close();
                return QStringLiteral("it is damaged (an entry is larger than it says)");
            }
        }
        file.close();
        if (file.getZipError() != UNZ_OK || read != qint64(entry.uncompressedSize))
            return QStringLiteral("it is damaged");
        total += read;
    }
    if (zip.getZipError() != UNZ_OK)
        return QStringLiteral("it is damaged");
    if (unpackedBytes)
        *unpackedBytes = total;
    return QString();
}

QString UnpackProject(const QString& projectPath, const QString& folder)
{
    // Loading the same file twice gives the same board: the folder starts empty.
    if (QFileInfo(folder).isSymLink() || (QFileInfo::exists(folder) && !QFileInfo(folder).isDir()))
        QFile::remove(folder);
    else if (QFileInfo(folder).isDir())
        RemoveFolderRecursive(folder, folder);
    const QString refused = platform::EnsurePrivateFolder(folder);
    if (!refused.isEmpty())
        return QStringLiteral("the folder to unpack it into cannot be used: %1").arg(refused);

    qint64 unpacked = 0;
    const QString problem = CheckProjectArchive(projectPath, kMaxProjectBytes, kMaxProjectEntries, &unpacked);
    if (!problem.isEmpty())
        return problem;
    // A small archive may unpack to more than the disk holds: nothing is
    // unpacked that could not be unpacked whole.
    const QStorageInfo disk(folder);
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < unpacked) {
        return QStringLiteral("the disk is full: it unpacks to %1 MB, and \"%2\" has %3 MB free")
            .arg(double(unpacked) / (1024 * 1024), 0, 'f', 1)
            .arg(QDir::toNativeSeparators(folder))
            .arg(double(disk.bytesAvailable()) / (1024 * 1024), 0, 'f', 1);
    }

    // Absolute, so that a file named like "-x.vk" is not read as options.
    const QString archive = QFileInfo(projectPath).absoluteFilePath();
    QByteArray output;
    const int exitCode = platform::RunAndWait(
        QStringLiteral("unzip"),
        {QStringLiteral("-j"), QStringLiteral("-u"), QStringLiteral("-d"), folder, archive}, kUnpackTimeoutMs,
        &output);
    KeepRegularFilesOnly(folder);
    // 1: a warning, but everything was unpacked.
    if (exitCode == 0 || exitCode == 1)
        return QString();
    Log(QStringLiteral("unzip %1 ended with %2: %3").arg(archive).arg(exitCode).arg(QString::fromLocal8Bit(output).trimmed()));
    // Nothing half unpacked stays behind.
    RemoveFolderRecursive(folder, folder);
    if (exitCode == -1 && platform::ResolveProgram(QStringLiteral("unzip")).isEmpty())
        return QStringLiteral("the unzip program was not found");
    // unzip ends with 50 when the disk filled up.
    if (exitCode == 50 || output.contains("No space left") || output.contains("disk full"))
        return QStringLiteral("the disk is full (%1)").arg(QDir::toNativeSeparators(folder));
    return QStringLiteral("it is not a project archive (unzip exit code %1)").arg(exitCode);
}

QImage PaintProjectPage(LoadedProject& project, int noteIndex, const BackgroundRequest& background,
                        const DocumentRenderer& renderer, const PageRenderOptions& options)
{
    const NoteInfo& note = project.notes.at(noteIndex);
    BackgroundRequest request = background;
    request.path = note.path;
    request.type = note.type;
    request.pageOption = note.page_option;
    request.alternative = false;
    const BackgroundResult out = BuildPageBackground(request, renderer);
    QImage page = out.stored ? out.image : background.previous;
    if (page.isNull()) {
        page = QImage(background.view.isEmpty() ? QSize(1, 1) : background.view, QImage::Format_RGB32);
        page.fill(background.boardColor);
    }
    page = page.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const ImageObjectPainter paintImage = [&options](QImage& target, const QString& file, const EventDetail& ed) {
        PaintImageObject(target, file, ed, options.zoom);
    };
    // The painters keep their stroke state in a slot of their own; the
    // lesson's tables are only read.
    PointerSlotState scratch;
    for (int k = 0; k < kPointerSlotCount; ++k) {
        const SlotRecords& records = project.board.slot[k].records;
        for (const EventMaster& em : records.masters()) {
            if (em.NoteName != note.create_data)
                continue;
            const EventDetail* ed = records.findDetail(em.EventID);
            if (!ed || ed->Deleted)
                continue;
            PaintPageObject(page, project.board, scratch, k, em, *ed, project.mediaFiles, paintImage, options);
        }
    }
    return page;
}

BackgroundRequest PagesBackground(const BackgroundRequest& board, const LoadedProject& project)
{
    BackgroundRequest pages = board;
    pages.content = project.fit.page;
    return pages;
}

int RenderProjectPages(LoadedProject& project, const BackgroundRequest& background, const DocumentRenderer& renderer,
                       const PageRenderOptions& options, const ProgressFunction& progress)
{
    const int count = project.notes.size();
    int written = 0;
    for (int i = 0; i < count; ++i) {
        const NoteInfo& note = project.notes.at(i);
        const QImage page = PaintProjectPage(project, i, background, renderer, options);
        QDir().mkpath(QFileInfo(note.imagePath).absolutePath());
        if (page.save(note.imagePath))
            ++written;
        else
            Warn(project, QStringLiteral("page image not written: %1").arg(note.imagePath));
        progress(QStringLiteral("Set Notes(%1/%2)").arg(i).arg(count), i);
    }
    return written;
}

LoadedProject LoadProjectFile(const QString& projectPath, const ProjectLoadSettings& settings,
                              const BackgroundRequest& background, const DocumentRenderer& renderer,
                              const PageRenderOptions& options, const ProgressFunction& progress,
                              const std::function<void(int pageCount)>& pageCount, bool paintPages)
{
    ProjectReading reading;
    reading.settings = settings;
    reading.project.fit.page = QRect(QPoint(0, 0), settings.basePage);
    const QString folder = ProjectUnpackFolder(settings.workFolder, projectPath);
    const QString problem = UnpackProject(projectPath, folder);
    if (!problem.isEmpty()) {
        reading.project.error = problem;
        return reading.project;
    }
    ReadProjectFolder(reading, folder, progress);
    if (pageCount)
        pageCount(reading.project.notes.size());
    if (paintPages)
        RenderProjectPages(reading.project, PagesBackground(background, reading.project), renderer, options, progress);
    return reading.project;
}

}  // namespace storage
