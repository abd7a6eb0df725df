#include "storage/event_export.h"

#include <QDir>
#include <QLocale>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <limits>

#include "board/event_kind.h"
#include "board/geometry.h"

QString FormatExportNumber(double value, ExportNumberFormat format)
{
    if (format == ExportNumberFormat::ShortestRoundTrip)
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    return QString::number(value, 'g', 6);
}

ToGroupRecord MakeToGroupRecord(int slot, double key, int eventId, int code, float bx, float by, float bw, float bh,
                                float nx, float ny, float nw, float nh, float angle, const QColor& colour,
                                float penWidth, int transparency, int noteIndex)
{
    ToGroupRecord record;
    record.slot = slot;
    record.key = key;
    record.eventId = eventId;
    record.code = code;
    record.bx = bx;
    record.by = by;
    record.bw = bw;
    record.bh = bh;
    record.nx = nx;
    record.ny = ny;
    record.nw = nw;
    record.nh = nh;
    record.angle = angle;
    record.colour = colour;
    record.penWidth = penWidth;
    record.transparency = transparency;
    record.noteIndex = noteIndex;
    return record;
}

namespace {

enum class StrokeTimeTest { Untimed, Timed, NotLaterThan };

struct StrokeWalk {
    StrokeTimeTest test = StrokeTimeTest::Untimed;
    double time = 0.0;          // the limit of NotLaterThan
    bool ownTimeAsKey = false;  // else `key`
    double key = 1.0;
    bool withBounds = false;    // press and release carry `bounds`
    QRectF bounds;
    float angle = 0;            // carried by every record when withBounds
    bool mapped = false;        // points mapped from `before` onto `bounds`
    QRectF before;
};

bool PassesTimeTest(const StrokeWalk& walk, double mediaPos)
{
    switch (walk.test) {
    case StrokeTimeTest::Untimed: return mediaPos <= 0.0;
    case StrokeTimeTest::Timed: return mediaPos > 0.0;
    case StrokeTimeTest::NotLaterThan: return mediaPos <= walk.time;
    }
    return false;
}

double MapCoordinate(double value, double oldStart, double oldSize, double newStart, double newSize)
{
    if (oldSize == 0.0)
        return value;
    return (value - oldStart) * newSize / oldSize + newStart;
}

void WalkStroke(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                const QVector<FreePenPoint>& points, const StrokeWalk& walk)
{
    bool started = false;
    for (const FreePenPoint& point : points) {
        if (point.EventID != style.eventId || !PassesTimeTest(walk, point.MediaPos))
            continue;
        if (!started) {
            if (point.MouseAction != 1)
                continue;
            started = true;
        }
        ToGroupRecord record;
        switch (point.MouseAction) {
        case 1:
            record.code = 1;
            record.bw = static_cast<float>(style.kind);
            record.penWidth = style.penWidth;
            break;
        case 2:
            if (style.kind == 4) {
                record.code = 2;
            } else {
                record.code = 3;
                record.penWidth = point.Press;
            }
            break;
        case 3:
            record.code = 4;
            break;
        default:
            continue;
        }
        record.slot = style.slot;
        record.key = walk.ownTimeAsKey ? point.MediaPos : walk.key;
        record.eventId = style.eventId;
        double x = point.S.x();
        double y = point.S.y();
        if (walk.mapped) {
            x = MapCoordinate(x, walk.before.x(), walk.before.width(), walk.bounds.x(), walk.bounds.width());
            y = MapCoordinate(y, walk.before.y(), walk.before.height(), walk.bounds.y(), walk.bounds.height());
        }
        record.bx = static_cast<float>(x);
        record.by = static_cast<float>(y);
        if (walk.withBounds) {
            if (record.code == 1 || record.code == 4) {
                record.nx = static_cast<float>(walk.bounds.x());
                record.ny = static_cast<float>(walk.bounds.y());
                record.nw = static_cast<float>(walk.bounds.width());
                record.nh = static_cast<float>(walk.bounds.height());
            }
            record.angle = walk.angle;
        }
        record.colour = style.colour;
        record.transparency = style.transparency;
        record.noteIndex = style.noteIndex;
        out.append(record);
        if (record.code == 4)
            return;
    }
}

}  // namespace

void AddFigureToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                        const QVector<FreePenPoint>& points, const QRectF& bounds, float angle)
{
    StrokeWalk walk;
    walk.test = StrokeTimeTest::Untimed;
    walk.key = 1.0;
    walk.withBounds = true;
    walk.bounds = bounds;
    walk.angle = angle;
    WalkStroke(out, style, points, walk);
}

void AddPairToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                      const QVector<FreePenPoint>& points)
{
    StrokeWalk walk;
    walk.test = StrokeTimeTest::Timed;
    walk.ownTimeAsKey = true;
    WalkStroke(out, style, points, walk);
}

void AddOutlineToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                         const QVector<FreePenPoint>& points, double time,
                         const QRectF& before, const QRectF& after, float angle)
{
    StrokeWalk walk;
    walk.test = StrokeTimeTest::NotLaterThan;
    walk.time = time;
    walk.key = time;
    walk.withBounds = true;
    walk.angle = angle;
    const bool keepPoints = after.x() == 0.0 && after.y() == 0.0 && after.width() == 0.0 && after.height() == 0.0;
    walk.bounds = keepPoints ? before : after;
    walk.mapped = !keepPoints;
    walk.before = before;
    WalkStroke(out, style, points, walk);
}

void SortToGroupRecords(QVector<ToGroupRecord>& records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const ToGroupRecord& a, const ToGroupRecord& b) { return a.key < b.key; });
}

bool WriteNewEventXml(QIODevice* device, const NewEventHeader& header,
                      const QVector<ToGroupSection>& groups, ExportNumberFormat format, qint64 maxBytes)
{
    QXmlStreamWriter writer(device);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(4);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Event"));
    writer.writeAttribute(QStringLiteral("NoteCount"), QString::number(header.noteCount));
    writer.writeAttribute(QStringLiteral("Width"), QString::number(header.width));
    writer.writeAttribute(QStringLiteral("Height"), QString::number(header.height));

    const auto number = [format](double value) { return FormatExportNumber(value, format); };
    for (const ToGroupSection& group : groups) {
        if (!group.records || group.records->isEmpty())
            continue;
        writer.writeStartElement(group.name);
        if (group.index >= 0)
            writer.writeAttribute(QStringLiteral("Index"), QString::number(group.index));
        for (const ToGroupRecord& r : *group.records) {
            if (maxBytes > 0 && device->pos() > maxBytes)
                return false;
            writer.writeEmptyElement(QStringLiteral("TO"));
            writer.writeAttribute(QStringLiteral("PI"), QString::number(r.slot));
            writer.writeAttribute(QStringLiteral("MP"), number(r.key));
            writer.writeAttribute(QStringLiteral("EI"), QString::number(r.eventId));
            writer.writeAttribute(QStringLiteral("KD"), QString::number(r.code));
            writer.writeAttribute(QStringLiteral("BX"), number(r.bx));
            writer.writeAttribute(QStringLiteral("BY"), number(r.by));
            writer.writeAttribute(QStringLiteral("BW"), number(r.bw));
            writer.writeAttribute(QStringLiteral("BH"), number(r.bh));
            writer.writeAttribute(QStringLiteral("NX"), number(r.nx));
            writer.writeAttribute(QStringLiteral("NY"), number(r.ny));
            writer.writeAttribute(QStringLiteral("NW"), number(r.nw));
            writer.writeAttribute(QStringLiteral("NH"), number(r.nh));
            writer.writeAttribute(QStringLiteral("AG"), number(r.angle));
            writer.writeAttribute(QStringLiteral("PC"), r.colour.name());
            writer.writeAttribute(QStringLiteral("PW"), number(r.penWidth));
            writer.writeAttribute(QStringLiteral("TP"), QString::number(r.transparency));
            writer.writeAttribute(QStringLiteral("NI"), QString::number(r.noteIndex));
        }
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return !(maxBytes > 0 && device->pos() > maxBytes);
}

bool SaveNewEventXml(const QString& folder, const NewEventHeader& header,
                     const QVector<ToGroupSection>& groups, ExportNumberFormat format,
                     QString* errorText, qint64 maxBytes, bool* tooLarge)
{
    const QString path = folder + QStringLiteral("/New_Event.xml");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (errorText)
            *errorText = QStringLiteral("cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    if (!WriteNewEventXml(&file, header, groups, format, maxBytes)) {
        file.cancelWriting();
        if (tooLarge)
            *tooLarge = true;
        if (errorText)
            *errorText = QStringLiteral("\"%1\" would be larger than %2 bytes; it was not written.")
                             .arg(QDir::toNativeSeparators(path), QString::number(maxBytes));
        return false;
    }
    if (!file.commit()) {
        if (errorText)
            *errorText = QStringLiteral("cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Records of the board's objects and events.

namespace {

constexpr double kHiddenMediaPos = -2.0;  // an object that never showed on its own

// A media time that fits the int some records carry it in.
bool FitsInt(double value)
{
    return std::isfinite(value) && value >= double(std::numeric_limits<int>::min())
        && value <= double(std::numeric_limits<int>::max());
}

bool IsDrawnKind(int kind)
{
    return kind >= ekImage && kind <= ekEArrow;
}

bool IsWrittenFigureKind(int kind)
{
    return kind == ekLine || (kind >= ekRect && kind <= ekEArrow);
}

// View and marker events have no geometry of their own on the board.
bool IsViewKind(int kind)
{
    return kind == ekNoteChange || kind == ekZoom || kind == ekScroll || kind == ekStartRec || kind == ekEndRec;
}

QColor WithTransparency(QColor colour, int transparent)
{
    if (transparent != 255)
        colour.setAlpha(transparent);
    return colour;
}

QRectF ToRectF(const QRect& rect)
{
    return QRectF(rect.x(), rect.y(), rect.width(), rect.height());
}

QRectF Grown(const QRectF& rect, double amount)
{
    return QRectF(rect.x() - amount, rect.y() - amount, rect.width() + 2 * amount, rect.height() + 2 * amount);
}

QRectF TurnedBounds(const QRectF& rect, float angle)
{
    return RotatedRectBounds(static_cast<float>(rect.x()), static_cast<float>(rect.y()),
                             static_cast<float>(rect.width()), static_cast<float>(rect.height()), angle);
}

// Positive-area overlap; rectangles that only touch do not overlap.
bool Overlaps(const QRectF& a, const QRectF& b)
{
    return qMin(a.x() + a.width(), b.x() + b.width()) > qMax(a.x(), b.x())
        && qMin(a.y() + a.height(), b.y() + b.height()) > qMax(a.y(), b.y());
}

bool IsUnsetRect(const QRect& r)
{
    return r.x() == -1 || r.y() == -1 || r.width() == -1 || r.height() == -1;
}

// The points and rectangle an object is written with.
struct ObjectShape {
    QPointF start;
    QPointF end;
    QRectF rect;
};

ObjectShape ShapeOf(const EventDetail& d, bool alternative)
{
    ObjectShape shape{d.S, d.E, ToRectF(d.OriginRF)};
    if (!alternative)
        return shape;
    if (d.AltSX != -1.0 && d.AltSY != -1.0)
        shape.start = QPointF(d.AltSX, d.AltSY);
    if (d.AltEX != -1.0 && d.AltEY != -1.0)
        shape.end = QPointF(d.AltEX, d.AltEY);
    if (!IsUnsetRect(d.AltRect))
        shape.rect = ToRectF(d.AltRect);
    return shape;
}

// The alternative angle is written where one was set; an object turned on
// the board keeps its turn otherwise.
float WrittenAngle(const EventDetail& d, bool alternative)
{
    if (alternative && d.ExportAngle != 0)
        return static_cast<float>(d.ExportAngle);
    return d.Angle;
}

ExportStrokeStyle StrokeStyle(int slot, int eventId, int kind, const EventDetail& detail, int noteIndex)
{
    ExportStrokeStyle style;
    style.slot = slot;
    style.eventId = eventId;
    style.colour = WithTransparency(detail.PenColor, detail.Transparent);
    style.penWidth = detail.PenWidth;
    style.kind = kind;
    style.transparency = detail.Transparent;
    style.noteIndex = noteIndex;
    return style;
}

}  // namespace

ExportRules ExportRules::Whiteboard()
{
    return ExportRules();
}

ExportRules ExportRules::Regrouper()
{
    ExportRules rules;
    rules.alternativeGeometry = false;
    rules.eraseFlagIsPageDeleted = false;
    rules.noteChangeCarriesTime = false;
    rules.startMarkerView = false;
    rules.groupEraseMembersInOwnSlot = false;
    return rules;
}

EventExportBuilder::EventExportBuilder(ExportBoardTables tables, const ExportRules& rules,
                                       const std::function<int(const QString&)>& noteIndexOf,
                                       const RecordLists& out)
    : m_tables(std::move(tables)), m_rules(rules), m_out(out)
{
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        const ExportSlotTables& t = m_tables[slot];
        SlotIndex& index = m_index[slot];
        for (int i = 0; i < t.details.size(); ++i) {
            if (!index.detailById.contains(t.details[i].EventID))
                index.detailById.insert(t.details[i].EventID, i);
        }
        for (int i = 0; i < t.erasePoints.size(); ++i)
            index.eraseById[t.erasePoints[i].EventID].append(i);
        for (int i = 0; i < t.modifyPoints.size(); ++i) {
            index.modifyById[t.modifyPoints[i].EventID].append(i);
            index.modifyByTime[t.modifyPoints[i].MediaPos].append(i);
        }
        for (const FreePenPoint& sample : t.samples)
            index.samplesById[sample.EventID].append(sample);
        index.noteIndexOfMaster.reserve(t.masters.size());
        for (const EventMaster& master : t.masters)
            index.noteIndexOfMaster.append(noteIndexOf ? noteIndexOf(master.NoteName) : 0);
    }
}

bool EventExportBuilder::limitReached()
{
    if (m_limitReached || m_recordLimit <= 0)
        return m_limitReached;
    qint64 records = 0;
    QVector<const QVector<ToGroupRecord>*> counted;
    for (const QVector<ToGroupRecord>* list : m_out) {
        if (!list || counted.contains(list))
            continue;
        counted.append(list);
        records += list->size();
    }
    m_limitReached = records > m_recordLimit;
    return m_limitReached;
}

void EventExportBuilder::append(int slot, const ToGroupRecord& record)
{
    if (IsValidPointerSlot(slot) && m_out[slot])
        m_out[slot]->append(record);
}

// An object without a detail of its own has no geometry to write: it is
// skipped rather than drawn with another object's detail.
const EventDetail* EventExportBuilder::findDetail(int slot, int eventId) const
{
    const auto found = m_index[slot].detailById.constFind(eventId);
    if (found == m_index[slot].detailById.constEnd())
        return nullptr;
    return &m_tables[slot].details[found.value()];
}

bool EventExportBuilder::hasEraseRecords(const EventDetail& detail) const
{
    return m_rules.eraseFlagIsPageDeleted ? detail.PageDeleted != 0 : detail.Deleted != 0;
}

void EventExportBuilder::BuildToGroupRecords()
{
    for (int slot = 0; slot < kPointerSlotCount && !limitReached(); ++slot) {
        const QVector<EventMaster>& masters = m_tables[slot].masters;
        for (int row = 0; row < masters.size() && !limitReached(); ++row) {
            const EventMaster& master = masters[row];
            if (master.MediaPos == kHiddenMediaPos)
                continue;
            const EventDetail* detail = findDetail(slot, master.EventID);
            if (!detail && !IsViewKind(master.Kind))
                continue;
            addObjectRecords(slot, row, detail);
            if (!detail)
                continue;
            const int noteIndex = m_index[slot].noteIndexOfMaster[row];
            if (hasEraseRecords(*detail))
                addEraseFollowUp(slot, master, *detail, noteIndex);
            if (detail->Modified)
                addModifyFollowUp(slot, master, *detail, noteIndex);
        }
    }
}

void EventExportBuilder::addObjectRecords(int slot, int row, const EventDetail* detail)
{
    const EventMaster& m = m_tables[slot].masters[row];
    const int noteIndex = m_index[slot].noteIndexOfMaster[row];
    const bool recording = m.MediaPos > 0.0;
    const double key = recording ? m.MediaPos : 1.0;
    const QColor colour = detail ? WithTransparency(detail->PenColor, detail->Transparent) : QColor(Qt::black);
    const auto add = [&](int code, float bx, float by, float bw, float bh, float nx, float ny, float nw, float nh,
                         float angle, float penWidth, int transparency) {
        append(slot, MakeToGroupRecord(slot, key, m.EventID, code, bx, by, bw, bh, nx, ny, nw, nh, angle, colour,
                                       penWidth, transparency, noteIndex));
    };

    if (IsViewKind(m.Kind)) {
        // The view records carry the time as an int: a time beyond its range
        // is not a time any recording has, and the event is left out.
        if (recording && !FitsInt(m.MediaPos))
            return;
        const float scale = static_cast<float>(m.SCale);
        const float hScroll = m.HScroll;
        const float vScroll = m.VScroll;
        if (recording && m.Kind == ekNoteChange) {
            const int time = m_rules.noteChangeCarriesTime ? static_cast<int>(m.MediaPos) : 0;
            add(15, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, 0, time);
            add(16, 0, 0, 0, 0, 0, 0, 0, 0, m_rules.noteChangeCarriesTime ? 1.0f : 0.0f, 0, time);
        } else if (recording && (m.Kind == ekZoom || m.Kind == ekScroll)) {
            const int time = static_cast<int>(m.MediaPos);
            add(15, 0, 0, 0, 0, 0, 0, hScroll, vScroll, scale, 0, time);
            add(17, 0, 0, 0, 0, 0, 0, hScroll, vScroll, scale, 0, time);
        } else if (!recording && m.Kind == ekStartRec && m_rules.startMarkerView && m.SCale > 1.0) {
            add(15, 0, 0, 0, 0, 0, 0, hScroll, vScroll, scale, 0, 1);
            add(17, 0, 0, 0, 0, 0, 0, hScroll, vScroll, scale, 0, 1);
        } else if (recording && m.Kind == ekEndRec) {
            add(18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        }
        return;
    }
    if (!detail || !IsDrawnKind(m.Kind))
        return;

    const EventDetail& d = *detail;
    const ObjectShape shape = ShapeOf(d, m_rules.alternativeGeometry);
    const float angle = WrittenAngle(d, m_rules.alternativeGeometry);
    const float bx = static_cast<float>(shape.start.x()), by = static_cast<float>(shape.start.y());
    const float bw = static_cast<float>(shape.end.x()), bh = static_cast<float>(shape.end.y());
    const float nx = shape.rect.x(), ny = shape.rect.y(), nw = shape.rect.width(), nh = shape.rect.height();

    if (m.Kind == ekImage) {
        add(14, bx, by, bw, bh, nx, ny, nw, nh, angle, 0, m.StrData);
    } else if (m.Kind == ekFree || m.Kind == ekBrush) {
        QVector<ToGroupRecord>* out = m_out[slot];
        if (!out)
            return;
        const ExportStrokeStyle style = StrokeStyle(slot, m.EventID, m.Kind, d, noteIndex);
        const QVector<FreePenPoint> points = m_index[slot].samplesById.value(m.EventID);
        if (recording)
            AddPairToRecords(*out, style, points);
        else
            AddFigureToRecords(*out, style, points, shape.rect, angle);
    } else if (IsWrittenFigureKind(m.Kind)) {
        add(m.Kind, bx, by, bw, bh, nx, ny, nw, nh, angle, d.PenWidth, d.Transparent);
    }
}

void EventExportBuilder::addEraseFollowUp(int slot, const EventMaster& m, const EventDetail& d, int noteIndex)
{
    const double margin = d.PenWidth + 1.0;
    const float scale = static_cast<float>(m.SCale);
    for (int row : m_index[slot].eraseById.value(m.EventID)) {
        const ErasePoint& e = m_tables[slot].erasePoints[row];
        if (!(e.MediaPos > m.MediaPos))
            continue;
        QRectF area = ToRectF(e.BoundRF);
        if (e.EraseKind == 2 && e.GroupIndex == e.GroupTotal) {
            AddEraseRecords(-1, m.EventID, e.MediaPos, scale, m.HScroll, m.VScroll, Grown(area, margin), noteIndex);
        } else if (e.EraseKind == 0 || m_rules.groupEraseMembersInOwnSlot) {
            if (e.Angle > 0)
                area = TurnedBounds(area, e.Angle);
            AddEraseRecords(slot, m.EventID, e.MediaPos, scale, m.HScroll, m.VScroll, Grown(area, margin),
                            noteIndex);
        }
    }
}

// A grouped edit is written once, by its last member, for every slot; a
// one-object edit redraws its old area in its own slot.
void EventExportBuilder::addModifyFollowUp(int slot, const EventMaster& m, const EventDetail& d, int noteIndex)
{
    const double margin = d.PenWidth + 1.0;
    const float scale = static_cast<float>(m.SCale);
    for (int row : m_index[slot].modifyById.value(m.EventID)) {
        const ModifyPoint& c = m_tables[slot].modifyPoints[row];
        if (!(c.MediaPos > m.MediaPos))
            continue;
        const QRectF before = ToRectF(c.PrevBoundRF);
        const QRect& p = c.PrevBoundRF;
        if (c.ModifyKind == 2 && c.GroupIndex == c.GroupTotal) {
            const bool unset = p.x() == -1 && p.y() == -1 && p.width() == -1 && p.height() == -1;
            AddModifySnapshot(m.EventID, c.MediaPos, scale, m.HScroll, m.VScroll, Grown(before, margin), !unset,
                              noteIndex);
        } else if (c.ModifyKind == 0) {
            const QRectF area = c.PrevAngle > 0 ? TurnedBounds(before, c.PrevAngle) : before;
            const bool stored = p.x() > -1 && p.y() > -1 && p.width() > -1 && p.height() > -1;
            if (stored || c.Angle != -1.0f)
                AddEraseRecords(slot, m.EventID, c.MediaPos, scale, m.HScroll, m.VScroll, Grown(area, margin),
                                noteIndex);
            AddModifyRecordsAt(slot, m.EventID, c.MediaPos, scale, m.HScroll, m.VScroll, noteIndex);
        }
    }
}

void EventExportBuilder::AddEraseRecords(int slot, int eventId, double time, float scale, int hScroll, int vScroll,
                                         const QRectF& area, int noteIndex)
{
    if (slot == -1) {
        for (int s = 0; s < kPointerSlotCount; ++s) {
            if (!m_tables[s].erasePoints.isEmpty())
                AddEraseRecords(s, eventId, time, scale, hScroll, vScroll, area, noteIndex);
        }
        return;
    }
    if (!IsValidPointerSlot(slot))
        return;
    append(slot, MakeToGroupRecord(slot, time, eventId, 0, area.x(), area.y(), area.width(), area.height(), 0, 0, 0,
                                   0, 0, QColor(Qt::black), 0, 0, noteIndex));
    ObjectGeometry(slot, time, noteIndex, area.x(), area.y(), area.width(), area.height());
}

void EventExportBuilder::AddModifySnapshot(int eventId, double time, float scale, int hScroll, int vScroll,
                                           const QRectF& area, bool withArea, int noteIndex)
{
    const bool hasArea = area.x() != 0 && area.y() != 0 && area.width() != 0 && area.height() != 0;
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        if (m_tables[slot].modifyPoints.isEmpty())
            continue;
        if (hasArea) {
            if (withArea)
                append(slot, MakeToGroupRecord(slot, time, eventId, 0, area.x(), area.y(), area.width(),
                                               area.height(), 0, 0, 0, 0, 0, QColor(Qt::black), 0, 0, noteIndex));
            ObjectGeometry(slot, time, noteIndex, area.x(), area.y(), area.width(), area.height());
        }
        AddModifyRecordsAt(slot, eventId, time, scale, hScroll, vScroll, noteIndex);
    }
}

void EventExportBuilder::AddModifyRecordsAt(int slot, int eventId, double time, float scale, int hScroll,
                                            int vScroll, int noteIndex)
{
    if (!IsValidPointerSlot(slot))
        return;
    for (int row : m_index[slot].modifyByTime.value(time)) {
        const ModifyPoint& c = m_tables[slot].modifyPoints[row];
        const EventDetail* d = findDetail(slot, c.EventID);
        if (!d)
            continue;
        appendObjectAt(slot, time, c.EventID, c.Kind, c.M, c.C, ToRectF(c.BoundRF), c.Angle, c.StrData, *d,
                       noteIndex);
    }
}

void EventExportBuilder::ObjectGeometry(int slot, double t, int noteIndex, float rx, float ry, float rw, float rh)
{
    if (!IsValidPointerSlot(slot))
        return;
    const ExportSlotTables& tables = m_tables[slot];
    const SlotIndex& index = m_index[slot];
    const QRectF area(rx, ry, rw, rh);
    const double key = t + 10.0;
    for (int row = 0; row < tables.masters.size(); ++row) {
        if (limitReached())
            return;
        const EventMaster& o = tables.masters[row];
        if (!(o.MediaPos <= t) || !IsDrawnKind(o.Kind))
            continue;
        // Objects of another note page are not on this page.
        if (index.noteIndexOfMaster[row] != noteIndex)
            continue;
        const EventDetail* d = findDetail(slot, o.EventID);
        if (!d)
            continue;
        if (o.MediaPos == kHiddenMediaPos && !d->Modified && !d->Deleted)
            continue;

        const ModifyPoint* lastModify = nullptr;
        if (d->Modified) {
            bool changedNow = false;
            for (int r : index.modifyById.value(o.EventID)) {
                const ModifyPoint& c = tables.modifyPoints[r];
                if (c.MediaPos >= 0 && c.MediaPos < t)
                    lastModify = &c;
                else if (c.MediaPos == t)
                    changedNow = true;
            }
            if (changedNow)
                continue;  // the edit's own records show it at t
        }
        bool hasErase = false;
        double lastErase = 0.0;
        if (hasEraseRecords(*d)) {
            bool erasedNow = false;
            for (int r : index.eraseById.value(o.EventID)) {
                const ErasePoint& e = tables.erasePoints[r];
                if (e.MediaPos >= 0 && e.MediaPos < t) {
                    hasErase = true;
                    lastErase = e.MediaPos;
                } else if (e.MediaPos == t) {
                    erasedNow = true;
                }
            }
            if (erasedNow)
                continue;
        }
        bool stands = false;
        if (lastModify)
            stands = !(hasErase && lastErase > lastModify->MediaPos);
        else
            stands = !(hasErase && lastErase > o.MediaPos) && !(!hasErase && o.MediaPos == kHiddenMediaPos);
        if (!stands)
            continue;

        const ObjectShape shape = ShapeOf(*d, m_rules.alternativeGeometry);
        QPointF start = shape.start;
        QPointF end = shape.end;
        QRectF rect = shape.rect;
        float angle = d->Angle;
        int strData = o.StrData;
        if (d->Modified && lastModify && lastModify->MediaPos > o.MediaPos) {
            start = lastModify->M;
            end = lastModify->C;
            rect = ToRectF(lastModify->BoundRF);
            angle = lastModify->Angle;
            strData = lastModify->StrData;
        }
        const QRectF tested = angle > 0 ? TurnedBounds(rect, angle) : rect;
        if (!Overlaps(area, tested))
            continue;

        appendObjectAt(slot, key, o.EventID, o.Kind, start, end, rect, angle, strData, *d, noteIndex);
    }
}

// An object written again at `key` in the geometry it has then: an image as
// code 14, a stroke through the outline builder (its samples carried from
// the object's own rectangle onto `rect`), a figure with its kind as the
// code. Circles are never written.
void EventExportBuilder::appendObjectAt(int slot, double key, int eventId, int kind, QPointF start, QPointF end,
                                        const QRectF& rect, float angle, int strData, const EventDetail& d,
                                        int noteIndex)
{
    const QColor colour = WithTransparency(d.PenColor, d.Transparent);
    const float bx = static_cast<float>(start.x()), by = static_cast<float>(start.y());
    const float bw = static_cast<float>(end.x()), bh = static_cast<float>(end.y());
    const float nx = rect.x(), ny = rect.y(), nw = rect.width(), nh = rect.height();
    if (kind == ekImage) {
        append(slot, MakeToGroupRecord(slot, key, eventId, 14, bx, by, bw, bh, nx, ny, nw, nh, angle, colour, 0,
                                       strData, noteIndex));
    } else if (kind == ekFree || kind == ekBrush) {
        if (!m_out[slot])
            return;
        AddOutlineToRecords(*m_out[slot], StrokeStyle(slot, eventId, kind, d, noteIndex),
                            m_index[slot].samplesById.value(eventId), key,
                            ShapeOf(d, m_rules.alternativeGeometry).rect, rect, angle);
    } else if (IsWrittenFigureKind(kind)) {
        append(slot, MakeToGroupRecord(slot, key, eventId, kind, bx, by, bw, bh, nx, ny, nw, nh, angle, colour,
                                       d.PenWidth, d.Transparent, noteIndex));
    }
}
