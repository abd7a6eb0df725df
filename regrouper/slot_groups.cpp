// Turning the per-slot tables into export records, one list per pointer slot,
// and writing them as "New_Event.xml".

#include "regrouper/event_regrouper.h"

#include "board/event_kind.h"
#include "board/geometry.h"

#include <QDir>

#include <cmath>
#include <limits>

namespace {

constexpr double kHiddenMediaPos = -2.0;  // an object that never showed on its own

// The fewest bytes one record takes in the written file: the build stops once
// its records alone would pass the output limit.
constexpr qint64 kMinRecordBytes = 100;

// A media time that fits the int the zoom and scroll records carry it in.
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

void EventRegrouper::buildLookups()
{
    for (RegrouperSlot& tables : m_slots) {
        tables.detailById.clear();
        tables.eraseById.clear();
        tables.modifyById.clear();
        tables.modifyByTime.clear();
        tables.strokeById.clear();
        for (int i = 0; i < tables.edTable.size(); ++i) {
            if (!tables.detailById.contains(tables.edTable[i].EventID))
                tables.detailById.insert(tables.edTable[i].EventID, i);
        }
        for (int i = 0; i < tables.epTable.size(); ++i)
            tables.eraseById[tables.epTable[i].EventID].append(i);
        for (int i = 0; i < tables.meTable.size(); ++i) {
            tables.modifyById[tables.meTable[i].EventID].append(i);
            tables.modifyByTime[tables.meTable[i].MediaPos].append(i);
        }
        for (const FreePenPoint& sample : qAsConst(tables.fpTable))
            tables.strokeById[sample.EventID].append(sample);
    }
}

// An object without a detail of its own has no geometry to write: it is
// skipped rather than drawn with another object's detail.
const EventDetail* EventRegrouper::findDetail(const RegrouperSlot& tables, int eventId) const
{
    const auto found = tables.detailById.constFind(eventId);
    if (found == tables.detailById.constEnd())
        return nullptr;
    return &tables.edTable[found.value()];
}

void EventRegrouper::appendToSlotList(int slot, double key, int eventId, int code,
                                      float bx, float by, float bw, float bh,
                                      float nx, float ny, float nw, float nh, float angle,
                                      const QColor& colour, float penWidth, int transparency, int noteIndex)
{
    if (slot < 0 || slot >= kPointerSlotCount)
        return;
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
    m_slots[slot].toList.append(record);
}

qint64 EventRegrouper::recordCount() const
{
    qint64 count = 0;
    for (const RegrouperSlot& tables : m_slots)
        count += tables.toList.size();
    return count;
}

bool EventRegrouper::outputFull()
{
    if (!m_outputTooLarge && m_outputLimit > 0 && recordCount() * kMinRecordBytes > m_outputLimit)
        m_outputTooLarge = true;
    return m_outputTooLarge;
}

void EventRegrouper::buildSlotGroups()
{
    buildLookups();
    m_outputTooLarge = false;
    for (int slot = 0; slot < kPointerSlotCount && !outputFull(); ++slot) {
        // Follow-ups append to this slot's output list only, never to its
        // tables, so walking the table by index is safe.
        const QVector<EventMaster>& masters = m_slots[slot].emTable;
        for (int i = 0; i < masters.size() && !outputFull(); ++i) {
            const EventMaster& master = masters[i];
            if (master.MediaPos == kHiddenMediaPos)
                continue;
            const EventDetail* detail = findDetail(m_slots[slot], master.EventID);
            if (!detail) {
                qCDebug(lcRegrouper) << "no detail for object" << slot << master.EventID;
                continue;
            }
            const int noteIndex = findNoteByName(master.NoteName);
            addObjectRecords(slot, master, *detail, noteIndex);
            if (detail->Deleted)
                addEraseFollowUp(slot, master, *detail, noteIndex);
            if (detail->Modified)
                addModifyFollowUp(slot, master, *detail, noteIndex);
        }
    }
}

void EventRegrouper::addObjectRecords(int slot, const EventMaster& m, const EventDetail& d, int noteIndex)
{
    const QColor colour = WithTransparency(d.PenColor, d.Transparent);
    const float bx = static_cast<float>(d.S.x());
    const float by = static_cast<float>(d.S.y());
    const float bw = static_cast<float>(d.E.x());
    const float bh = static_cast<float>(d.E.y());
    const float nx = d.OriginRF.x();
    const float ny = d.OriginRF.y();
    const float nw = d.OriginRF.width();
    const float nh = d.OriginRF.height();
    const float penWidth = d.PenWidth;
    const bool recording = m.MediaPos > 0.0;
    const double key = recording ? m.MediaPos : 1.0;

    if (!recording && !IsDrawnKind(m.Kind))
        return;

    switch (m.Kind) {
    case ekNoteChange:
        appendToSlotList(slot, key, m.EventID, 15, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, colour, 0, 0, noteIndex);
        appendToSlotList(slot, key, m.EventID, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0.0f, colour, 0, 0, noteIndex);
        return;
    case ekImage:
        appendToSlotList(slot, key, m.EventID, 14, bx, by, bw, bh, nx, ny, nw, nh, d.Angle, colour, 0, m.StrData,
                         noteIndex);
        return;
    case ekFree:
    case ekBrush: {
        const ExportStrokeStyle style = StrokeStyle(slot, m.EventID, m.Kind, d, noteIndex);
        const QVector<FreePenPoint> points = m_slots[slot].strokeById.value(m.EventID);
        if (recording)
            AddPairToRecords(m_slots[slot].toList, style, points);
        else
            AddFigureToRecords(m_slots[slot].toList, style, points, ToRectF(d.OriginRF), d.Angle);
        return;
    }
    case ekZoom:
    case ekScroll: {
        if (!FitsInt(m.MediaPos)) {
            qCDebug(lcRegrouper) << "media time out of range for object" << slot << m.EventID;
            return;
        }
        const int time = static_cast<int>(m.MediaPos);
        const float scale = static_cast<float>(m.SCale);
        appendToSlotList(slot, key, m.EventID, 15, 0, 0, 0, 0, 0, 0, m.HScroll, m.VScroll, scale, colour, 0, time,
                         noteIndex);
        appendToSlotList(slot, key, m.EventID, 17, 0, 0, 0, 0, 0, 0, m.HScroll, m.VScroll, scale, colour, 0, time,
                         noteIndex);
        return;
    }
    case ekEndRec:
        appendToSlotList(slot, key, m.EventID, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, colour, 0, 0, noteIndex);
        return;
    default:
        if (IsWrittenFigureKind(m.Kind))
            appendToSlotList(slot, key, m.EventID, m.Kind, bx, by, bw, bh, nx, ny, nw, nh, d.Angle, colour, penWidth,
                             d.Transparent, noteIndex);
        return;
    }
}

void EventRegrouper::addEraseFollowUp(int slot, const EventMaster& m, const EventDetail& d, int noteIndex)
{
    const QVector<int> rows = m_slots[slot].eraseById.value(m.EventID);
    const double margin = d.PenWidth + 1.0;
    const float scale = static_cast<float>(m.SCale);
    for (int row : rows) {
        const ErasePoint e = m_slots[slot].epTable[row];
        if (!(e.MediaPos > m.MediaPos))
            continue;
        QRectF area = ToRectF(e.BoundRF);
        if (e.EraseKind == 2 && e.GroupIndex == e.GroupTotal) {
            addEraseRecords(-1, m.EventID, e.MediaPos, scale, m.HScroll, m.VScroll, Grown(area, margin), noteIndex);
        } else if (e.EraseKind == 0) {
            if (e.Angle > 0)
                area = TurnedBounds(area, e.Angle);
            addEraseRecords(slot, m.EventID, e.MediaPos, scale, m.HScroll, m.VScroll, Grown(area, margin), noteIndex);
        }
    }
}

void EventRegrouper::addModifyFollowUp(int slot, const EventMaster& m, const EventDetail& d, int noteIndex)
{
    const QVector<int> rows = m_slots[slot].modifyById.value(m.EventID);
    const double margin = d.PenWidth + 1.0;
    const float scale = static_cast<float>(m.SCale);
    for (int row : rows) {
        const ModifyPoint c = m_slots[slot].meTable[row];
        if (!(c.MediaPos > m.MediaPos))
            continue;
        const QRectF before = ToRectF(c.PrevBoundRF);
        if (c.ModifyKind == 2 && c.GroupIndex == c.GroupTotal) {
            const QRect& p = c.PrevBoundRF;
            const bool unset = p.x() == -1 && p.y() == -1 && p.width() == -1 && p.height() == -1;
            addGroupModifyRecords(m.EventID, c.MediaPos, scale, m.HScroll, m.VScroll, Grown(before, margin), !unset,
                                  noteIndex);
        } else if (c.ModifyKind == 0) {
            const QRectF area = c.PrevAngle > 0 ? TurnedBounds(before, c.PrevAngle) : before;
            const QRect& p = c.PrevBoundRF;
            const bool stored = p.x() > -1 && p.y() > -1 && p.width() > -1 && p.height() > -1;
            if (stored || c.Angle != -1.0f)
                addEraseRecords(slot, m.EventID, c.MediaPos, scale, m.HScroll, m.VScroll, Grown(area, margin),
                                noteIndex);
            addModifyRecords(slot, m.EventID, c.MediaPos, scale, m.HScroll, m.VScroll, noteIndex);
        }
    }
}

void EventRegrouper::addEraseRecords(int slot, int eventId, double time, float scale, int hScroll, int vScroll,
                                     const QRectF& rect, int noteIndex)
{
    if (slot == -1) {
        for (int s = 0; s < kPointerSlotCount; ++s) {
            if (!m_slots[s].epTable.isEmpty())
                addEraseRecords(s, eventId, time, scale, hScroll, vScroll, rect, noteIndex);
        }
        return;
    }
    if (slot < 0 || slot >= kPointerSlotCount)
        return;
    appendToSlotList(slot, time, eventId, 0, rect.x(), rect.y(), rect.width(), rect.height(), 0, 0, 0, 0, 0,
                     QColor(Qt::black), 0, 0, noteIndex);
    addErasedAreaObjects(slot, time, rect, noteIndex);
}

// The objects of the slot that stand at `time` inside `area`, re-emitted just
// after the area record so a player redraws what the erase uncovered.
void EventRegrouper::addErasedAreaObjects(int slot, double time, const QRectF& area, int noteIndex)
{
    RegrouperSlot& tables = m_slots[slot];
    const double key = time + 10.0;
    for (const EventMaster& o : qAsConst(tables.emTable)) {
        if (outputFull())
            return;
        if (!(o.MediaPos <= time) || !IsDrawnKind(o.Kind))
            continue;
        // Objects of another note page are not on the erased page.
        if (findNoteByName(o.NoteName) != noteIndex)
            continue;
        const EventDetail* d = findDetail(tables, o.EventID);
        if (!d)
            continue;
        if (o.MediaPos == kHiddenMediaPos && !d->Modified && !d->Deleted)
            continue;

        const ModifyPoint* lastModify = nullptr;
        if (d->Modified) {
            bool changedNow = false;
            for (int row : tables.modifyById.value(o.EventID)) {
                const ModifyPoint& c = tables.meTable[row];
                if (c.MediaPos >= 0 && c.MediaPos < time)
                    lastModify = &c;
                else if (c.MediaPos == time)
                    changedNow = true;
            }
            if (changedNow)
                continue;  // the modify follow-up writes it
        }
        bool hasErase = false;
        double lastErase = 0.0;
        if (d->Deleted) {
            bool erasedNow = false;
            for (int row : tables.eraseById.value(o.EventID)) {
                const ErasePoint& e = tables.epTable[row];
                if (e.MediaPos >= 0 && e.MediaPos < time) {
                    hasErase = true;
                    lastErase = e.MediaPos;
                } else if (e.MediaPos == time) {
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

        QPointF start = d->S;
        QPointF end = d->E;
        QRectF rect = ToRectF(d->OriginRF);
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
// code 14, a stroke through the outline builder (its samples carried from the
// detail's origin rectangle onto `rect`), a figure with its kind as the code.
void EventRegrouper::appendObjectAt(int slot, double key, int eventId, int kind, QPointF start, QPointF end,
                                    const QRectF& rect, float angle, int strData, const EventDetail& d, int noteIndex)
{
    const QColor colour = WithTransparency(d.PenColor, d.Transparent);
    const float bx = static_cast<float>(start.x()), by = static_cast<float>(start.y());
    const float bw = static_cast<float>(end.x()), bh = static_cast<float>(end.y());
    const float nx = rect.x(), ny = rect.y(), nw = rect.width(), nh = rect.height();
    if (kind == ekImage) {
        appendToSlotList(slot, key, eventId, 14, bx, by, bw, bh, nx, ny, nw, nh, angle, colour, 0, strData, noteIndex);
    } else if (kind == ekFree || kind == ekBrush) {
        RegrouperSlot& tables = m_slots[slot];
        AddOutlineToRecords(tables.toList, StrokeStyle(slot, eventId, kind, d, noteIndex),
                            tables.strokeById.value(eventId), key, ToRectF(d.OriginRF), rect, angle);
    } else if (IsWrittenFigureKind(kind)) {
        appendToSlotList(slot, key, eventId, kind, bx, by, bw, bh, nx, ny, nw, nh, angle, colour, d.PenWidth,
                         d.Transparent, noteIndex);
    }
}

void EventRegrouper::addModifyRecords(int slot, int eventId, double time, float scale, int hScroll, int vScroll,
                                      int noteIndex)
{
    if (slot < 0 || slot >= kPointerSlotCount)
        return;
    RegrouperSlot& tables = m_slots[slot];
    const QVector<int> rows = tables.modifyByTime.value(time);
    for (int row : rows) {
        const ModifyPoint c = tables.meTable[row];
        const EventDetail* d = findDetail(tables, c.EventID);
        if (!d)
            continue;
        appendObjectAt(slot, time, c.EventID, c.Kind, c.M, c.C, ToRectF(c.BoundRF), c.Angle, c.StrData, *d,
                       noteIndex);
    }
}

void EventRegrouper::addGroupModifyRecords(int eventId, double time, float scale, int hScroll, int vScroll,
                                           const QRectF& rect, bool withArea, int noteIndex)
{
    const bool hasArea = rect.x() != 0 && rect.y() != 0 && rect.width() != 0 && rect.height() != 0;
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        if (m_slots[slot].meTable.isEmpty())
            continue;
        if (hasArea) {
            if (withArea)
                appendToSlotList(slot, time, eventId, 0, rect.x(), rect.y(), rect.width(), rect.height(), 0, 0, 0, 0,
                                 0, QColor(Qt::black), 0, 0, noteIndex);
            addErasedAreaObjects(slot, time, rect, noteIndex);
        }
        addModifyRecords(slot, eventId, time, scale, hScroll, vScroll, noteIndex);
    }
}

void EventRegrouper::sortSlotLists()
{
    for (RegrouperSlot& tables : m_slots)
        SortToGroupRecords(tables.toList);
}

bool EventRegrouper::writeNewEvent(const QString& folder, QString* errorText) const
{
    NewEventHeader header;
    header.noteCount = m_notes.size();
    header.width = m_eventWidth;
    header.height = m_eventHeight;
    QVector<ToGroupSection> groups;
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        ToGroupSection group;
        group.name = QStringLiteral("TO_%1").arg(slot);
        group.index = slot;
        group.records = &m_slots[slot].toList;
        groups.append(group);
    }
    if (m_outputTooLarge) {
        if (errorText)
            *errorText = QStringLiteral("\"%1/New_Event.xml\" would be larger than %2 bytes; it was not written.")
                             .arg(QDir::toNativeSeparators(folder), QString::number(m_outputLimit));
        return false;
    }
    return SaveNewEventXml(folder, header, groups, ExportNumberFormat::ShortestRoundTrip, errorText, m_outputLimit,
                           &m_outputTooLarge);
}
