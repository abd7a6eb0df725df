#include "board/board_model.h"

QVector<EventMaster>& SlotRecords::editMasters()
{
    m_masterIndexValid = false;
    return m_masters;
}

QVector<EventDetail>& SlotRecords::editDetails()
{
    m_detailIndexValid = false;
    return m_details;
}

void SlotRecords::appendMaster(const EventMaster& em)
{
    if (m_masterIndexValid && !m_masterIndex.contains(em.EventID))
        m_masterIndex.insert(em.EventID, m_masters.size());
    m_masters.append(em);
}

void SlotRecords::appendDetail(const EventDetail& ed)
{
    if (m_detailIndexValid && !m_detailIndex.contains(ed.EventID))
        m_detailIndex.insert(ed.EventID, m_details.size());
    m_details.append(ed);
}

void SlotRecords::clear()
{
    m_masters.clear();
    m_details.clear();
    m_masterIndex.clear();
    m_detailIndex.clear();
    m_masterIndexValid = true;
    m_detailIndexValid = true;
}

namespace {

template <typename Record>
void RebuildIndex(const QVector<Record>& records, QHash<quint16, int>& index)
{
    index.clear();
    index.reserve(records.size());
    for (int i = 0; i < records.size(); ++i) {
        if (!index.contains(records[i].EventID))
            index.insert(records[i].EventID, i);
    }
}

}  // namespace

int SlotRecords::masterIndex(quint16 eventId) const
{
    if (!m_masterIndexValid) {
        RebuildIndex(m_masters, m_masterIndex);
        m_masterIndexValid = true;
    }
    return m_masterIndex.value(eventId, -1);
}

int SlotRecords::detailIndex(quint16 eventId) const
{
    if (!m_detailIndexValid) {
        RebuildIndex(m_details, m_detailIndex);
        m_detailIndexValid = true;
    }
    return m_detailIndex.value(eventId, -1);
}

EventMaster* SlotRecords::findMaster(quint16 eventId)
{
    const int i = masterIndex(eventId);
    return i < 0 ? nullptr : &m_masters[i];
}

EventDetail* SlotRecords::findDetail(quint16 eventId)
{
    const int i = detailIndex(eventId);
    return i < 0 ? nullptr : &m_details[i];
}

const EventMaster* SlotRecords::findMaster(quint16 eventId) const
{
    const int i = masterIndex(eventId);
    return i < 0 ? nullptr : &m_masters[i];
}

const EventDetail* SlotRecords::findDetail(quint16 eventId) const
{
    const int i = detailIndex(eventId);
    return i < 0 ? nullptr : &m_details[i];
}

SmartPenBuffer::SmartPenBuffer()
    : m_points(kCapacity)
{
}

void SmartPenBuffer::Clear()
{
    m_points.fill(QPoint());
    m_count = 0;
    m_active = false;
    m_last = QPoint();
}

void SmartPenBuffer::Start(QPoint p)
{
    m_points.fill(QPoint());
    m_points[0] = p;
    m_count = 1;
    m_last = p;
    m_active = true;
}

void SmartPenBuffer::Append(QPoint p)
{
    m_last = p;
    if (m_count < kCapacity)
        m_points[m_count++] = p;
    else
        m_points[kCapacity - 1] = p;
}

void SmartPenBuffer::Finish(QPoint p)
{
    m_last = p;
    m_points[m_count < kCapacity ? m_count : kCapacity - 1] = p;
}

void BoardModel::Init()
{
    for (PointerSlotState& s : slot) {
        s.interpolator.ResetWeights();
        s.records.clear();
        s.erasePoints.clear();
        s.modifyPoints.clear();
        s.strokePoints.clear();
        s.allPoints.clear();
        s.nextEventId = 0;
        s.pressed = false;
    }
    FreePenMap.clear();
    clipboard = ObjectClipboard();
}

int BoardModel::PressedSlotCount() const
{
    int n = 0;
    for (const PointerSlotState& s : slot)
        n += s.pressed ? 1 : 0;
    return n;
}

void AppendViewRecord(PointerSlotState& slot0, int kind, double mediaPos, double zoom, int vscroll, int hscroll,
                      const QString& noteName)
{
    EventMaster em;
    em.EventID = quint16(slot0.nextEventId++);
    em.MediaPos = mediaPos;
    em.Kind = kind;
    em.StrData = kNoMediaIndex;
    em.SCale = zoom;
    em.VScroll = quint16(vscroll);
    em.HScroll = quint16(hscroll);
    em.Slot = 0;
    em.NoteName = noteName;
    slot0.records.appendMaster(em);
}

int CopyStrokeMovePoints(QVector<FreePenPoint>& slotSamples, quint16 eventId, const QVector<FreePenPoint>& edited)
{
    int first = 0;
    for (int i = 0; i < slotSamples.size(); ++i) {
        if (slotSamples[i].EventID == eventId) {
            first = i;
            break;
        }
    }
    return CopyStrokeMovePointsAt(slotSamples, first, eventId, edited);
}

int CopyStrokeMovePointsAt(QVector<FreePenPoint>& slotSamples, int first, quint16 eventId,
                           const QVector<FreePenPoint>& edited)
{
    int copied = 0;
    for (int j = 0; j < edited.size(); ++j) {
        const int at = first + j;
        if (at < 0)
            continue;
        if (at >= slotSamples.size())
            break;
        if (slotSamples[at].EventID != eventId)
            continue;
        slotSamples[at].M = edited[j].M;
        ++copied;
    }
    return copied;
}

QHash<quint16, int> FirstSamplePositions(const QVector<FreePenPoint>& slotSamples)
{
    QHash<quint16, int> first;
    for (int i = slotSamples.size() - 1; i >= 0; --i)
        first.insert(slotSamples[i].EventID, i);
    return first;
}
