// Reading the folder of an unpacked contents package into the per-slot tables.

#include "regrouper/event_regrouper.h"

#include "app/record_codes.h"
#include "storage/project_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <limits>

Q_LOGGING_CATEGORY(lcRegrouper, "dravik.regrouper", QtWarningMsg)

namespace {

// Whole numbers only: "12.5" or "abc" read as 0, as the package writer never
// writes a fraction where an integer belongs.
int ToInt(const QStringRef& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

double ToDouble(const QStringRef& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : 0.0;
}

float ToFloat(const QStringRef& text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok ? value : 0.0f;
}

// A slot index: a whole number within the int range, else -1, which no slot
// has (so "99999999999" is ignored rather than read as slot 0).
int ToSlotIndex(const QStringRef& text)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return -1;
    return int(value);
}

quint16 ToU16(const QStringRef& text)
{
    return static_cast<quint16>(ToInt(text));
}

// Rectangle attributes take effect in the order met: a left or top edge moves
// that edge, a width or height sizes from the current left or top edge.
bool ApplyRectAttribute(QRect& rect, const QStringRef& name, const QStringRef& value,
                        const char* left, const char* top, const char* width, const char* height)
{
    if (name == QLatin1String(left))
        rect.setLeft(ToInt(value));
    else if (name == QLatin1String(top))
        rect.setTop(ToInt(value));
    else if (name == QLatin1String(width))
        rect.setWidth(ToInt(value));
    else if (name == QLatin1String(height))
        rect.setHeight(ToInt(value));
    else
        return false;
    return true;
}

EventMaster ReadMaster(const QXmlStreamAttributes& attributes)
{
    EventMaster m;
    for (const QXmlStreamAttribute& a : attributes) {
        const QStringRef name = a.name();
        const QStringRef value = a.value();
        if (name == QLatin1String("EI")) m.EventID = ToU16(value);
        else if (name == QLatin1String("MP")) m.MediaPos = ToDouble(value);
        else if (name == QLatin1String("KD")) m.Kind = EventKindFromInt(ToInt(value));
        else if (name == QLatin1String("SD")) m.StrData = ToU16(value);
        else if (name == QLatin1String("SC")) m.SCale = ToDouble(value);
        else if (name == QLatin1String("VS")) m.VScroll = ToU16(value);
        else if (name == QLatin1String("HS")) m.HScroll = ToU16(value);
    }
    return m;
}

EventDetail ReadDetail(const QXmlStreamAttributes& attributes)
{
    EventDetail d;
    for (const QXmlStreamAttribute& a : attributes) {
        const QStringRef name = a.name();
        const QStringRef value = a.value();
        if (name == QLatin1String("EI")) d.EventID = ToU16(value);
        else if (name == QLatin1String("SX")) d.S.setX(ToInt(value));
        else if (name == QLatin1String("SY")) d.S.setY(ToInt(value));
        else if (name == QLatin1String("EX")) d.E.setX(ToInt(value));
        else if (name == QLatin1String("EY")) d.E.setY(ToInt(value));
        else if (ApplyRectAttribute(d.OriginRF, name, value, "OX", "OY", "OW", "OH")) {}
        else if (name == QLatin1String("PC")) d.PenColor = QColor(value.toString());
        else if (name == QLatin1String("PW")) d.PenWidth = ToU16(value);
        else if (name == QLatin1String("OA")) d.Angle = ToFloat(value);
        else if (name == QLatin1String("BD")) d.Deleted = ToInt(value) != 0 ? 1 : 0;
        else if (name == QLatin1String("MD")) d.Modified = ToInt(value) != 0 ? 1 : 0;
        else if (name == QLatin1String("TP")) d.Transparent = ToU16(value);
    }
    return d;
}

ErasePoint ReadErase(const QXmlStreamAttributes& attributes)
{
    ErasePoint e;
    for (const QXmlStreamAttribute& a : attributes) {
        const QStringRef name = a.name();
        const QStringRef value = a.value();
        if (name == QLatin1String("EI")) e.EventID = ToU16(value);
        else if (name == QLatin1String("MP")) e.MediaPos = ToDouble(value);
        else if (name == QLatin1String("EK")) e.EraseKind = ToInt(value);
        else if (ApplyRectAttribute(e.BoundRF, name, value, "BX", "BY", "BW", "BH")) {}
        else if (name == QLatin1String("AG")) e.Angle = ToFloat(value);
        else if (name == QLatin1String("GI")) e.GroupIndex = ToInt(value);
        else if (name == QLatin1String("GT")) e.GroupTotal = ToInt(value);
    }
    return e;
}

ModifyPoint ReadModify(const QXmlStreamAttributes& attributes)
{
    ModifyPoint c;
    for (const QXmlStreamAttribute& a : attributes) {
        const QStringRef name = a.name();
        const QStringRef value = a.value();
        if (name == QLatin1String("EI")) c.EventID = ToU16(value);
        else if (name == QLatin1String("MP")) c.MediaPos = ToDouble(value);
        else if (name == QLatin1String("KD")) c.Kind = EventKindFromInt(ToInt(value));
        else if (name == QLatin1String("MK")) c.ModifyKind = ToInt(value);
        else if (name == QLatin1String("MX")) c.M.setX(ToInt(value));
        else if (name == QLatin1String("MY")) c.M.setY(ToInt(value));
        else if (name == QLatin1String("CX")) c.C.setX(ToInt(value));
        else if (name == QLatin1String("CY")) c.C.setY(ToInt(value));
        else if (ApplyRectAttribute(c.BoundRF, name, value, "BX", "BY", "BW", "BH")) {}
        else if (name == QLatin1String("SD")) c.StrData = ToU16(value);
        else if (name == QLatin1String("AG")) c.Angle = ToFloat(value);
        else if (ApplyRectAttribute(c.PrevBoundRF, name, value, "PX", "PY", "PW", "PH")) {}
        else if (name == QLatin1String("PG")) c.PrevAngle = ToFloat(value);
        else if (name == QLatin1String("GI")) c.GroupIndex = ToInt(value);
        else if (name == QLatin1String("GT")) c.GroupTotal = ToInt(value);
    }
    return c;
}

FreePenPoint ReadPenSample(const QXmlStreamAttributes& attributes)
{
    FreePenPoint p;
    for (const QXmlStreamAttribute& a : attributes) {
        const QStringRef name = a.name();
        const QStringRef value = a.value();
        if (name == QLatin1String("EI")) p.EventID = ToU16(value);
        else if (name == QLatin1String("MP")) p.MediaPos = ToDouble(value);
        else if (name == QLatin1String("MA")) p.MouseAction = MouseActionFromInt(ToInt(value));
        else if (name == QLatin1String("PS")) p.Press = ToFloat(value);
        else if (name == QLatin1String("SX")) p.S.setX(ToFloat(value));
        else if (name == QLatin1String("SY")) p.S.setY(ToFloat(value));
    }
    return p;
}

// Why a file of the package is not read, or an empty text when it may be:
// it must be a regular file (a FIFO would block the run for ever) and, when
// it is a link, lead to a place inside the package folder.
QString PackageFileProblem(const QString& folder, const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? QStringLiteral("\"%1\" is a link to nothing").arg(path) : QString();
    if (info.isSymLink()) {
        const QString inside = QDir(folder).canonicalPath() + QLatin1Char('/');
        if (!info.canonicalFilePath().startsWith(inside))
            return QStringLiteral("\"%1\" is a link leading outside the folder").arg(path);
    }
    if (!info.isFile())
        return QStringLiteral("\"%1\" is not a regular file").arg(path);
    return QString();
}

}  // namespace

EventRegrouper::EventRegrouper()
{
    initSlotTables();
}

void EventRegrouper::initSlotTables()
{
    clearAllTables();
    m_eventWidth = 0;
    m_eventHeight = 0;
    m_currentSlot = 0;
    m_warnings.clear();
}

void EventRegrouper::clearAllTables()
{
    for (RegrouperSlot& tables : m_slots)
        tables = RegrouperSlot();
    m_notes.clear();
    m_noteIndexByCreate.clear();
}

int EventRegrouper::findNoteByName(const QString& name) const
{
    return m_noteIndexByCreate.value(name, 0);
}

bool EventRegrouper::readNotesList(const QString& folder)
{
    const QString path = folder + QStringLiteral("/Notes.xml");
    const QString problem = PackageFileProblem(folder, path);
    if (!problem.isEmpty()) {
        m_warnings << problem + QStringLiteral("; it is not read.");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;

    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        NoteEntry note;
        const QXmlStreamAttributes attributes = reader.attributes();
        for (const QXmlStreamAttribute& a : attributes) {
            const QStringRef name = a.name();
            if (name == QLatin1String("Type")) note.Type = ToInt(a.value());
            else if (name == QLatin1String("Name")) note.Name = a.value().toString();
            else if (name == QLatin1String("Create")) note.Create = a.value().toString();
            else if (name == QLatin1String("Path")) note.Path = a.value().toString();
            else if (name == QLatin1String("PageOption")) note.PageOption = ToInt(a.value()) != 0;
            else if (name == QLatin1String("Access")) note.Access = ToDouble(a.value());
        }
        // The root carries only "PDFName": an element of two attributes or
        // fewer is not a note.
        if (attributes.size() <= 2)
            continue;
        if (m_noteIndexByCreate.contains(note.Create))
            continue;
        qCDebug(lcRegrouper).noquote() << "note :" << note.Create << note.Name;
        m_noteIndexByCreate.insert(note.Create, m_notes.size());
        m_notes.append(note);
    }
    if (reader.hasError())
        m_warnings << QStringLiteral("\"%1\" is not well-formed XML (line %2: %3); the notes before the error are used.")
                          .arg(path, QString::number(reader.lineNumber()), reader.errorString());
    return true;
}

void EventRegrouper::readNoteEvents(const QString& folder)
{
    for (const NoteEntry& note : qAsConst(m_notes)) {
        // A note key names a file inside the package folder; one that would
        // reach another folder is not followed.
        if (!storage::IsBareFileName(note.Create)) {
            m_warnings << QStringLiteral("note \"%1\" does not name a file of the folder; its events are not read.")
                              .arg(note.Create);
            continue;
        }
        const QString path = QStringLiteral("%1/%2.xml").arg(folder, note.Create);
        const QString problem = PackageFileProblem(folder, path);
        if (!problem.isEmpty()) {
            m_warnings << problem + QStringLiteral("; the note has no objects.");
            continue;
        }
        readNoteEventFile(path, note.Create);
    }
}

void EventRegrouper::readNoteEventFile(const QString& path, const QString& noteName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_warnings << QStringLiteral("no event file \"%1\"; the note has no objects.").arg(path);
        return;
    }

    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        // The slot index of a group element stays in force for the elements
        // that follow, in this file and the next ones, until another is met.
        if (attributes.hasAttribute(QLatin1String("Index"))) {
            const int index = ToSlotIndex(attributes.value(QLatin1String("Index")));
            const bool changed = index != m_currentSlot;
            m_currentSlot = index;
            if (changed && !IsValidPointerSlot(m_currentSlot))
                m_warnings << QStringLiteral("\"%1\" line %2: slot index %3 is outside 0..10; its records are ignored.")
                                  .arg(path, QString::number(reader.lineNumber()),
                                       attributes.value(QLatin1String("Index")).toString());
        }
        const QStringRef element = reader.name();
        if (element == QLatin1String("Event")) {
            if (attributes.hasAttribute(QLatin1String("Width")))
                m_eventWidth = ToInt(attributes.value(QLatin1String("Width")));
            if (attributes.hasAttribute(QLatin1String("Height")))
                m_eventHeight = ToInt(attributes.value(QLatin1String("Height")));
            continue;
        }
        if (!IsValidPointerSlot(m_currentSlot))
            continue;
        RegrouperSlot& tables = m_slots[m_currentSlot];
        if (element == QLatin1String("EM")) {
            EventMaster master = ReadMaster(attributes);
            master.Slot = static_cast<quint16>(m_currentSlot);
            master.NoteName = noteName;
            tables.emTable.append(master);
        } else if (element == QLatin1String("ED")) {
            tables.edTable.append(ReadDetail(attributes));
        } else if (element == QLatin1String("ME")) {
            tables.meTable.append(ReadModify(attributes));
        } else if (element == QLatin1String("EP")) {
            tables.epTable.append(ReadErase(attributes));
        } else if (element == QLatin1String("FP")) {
            tables.fpTable.append(ReadPenSample(attributes));
        }
    }
    // One damaged note file costs only its own records after the damage.
    if (reader.hasError())
        m_warnings << QStringLiteral("\"%1\" is not well-formed XML (line %2: %3); the records before the error are kept.")
                          .arg(path, QString::number(reader.lineNumber()), reader.errorString());
}
