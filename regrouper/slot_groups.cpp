// Turning the per-slot tables into export records, one list per pointer slot,
// and writing them as "New_Event.xml".

#include "regrouper/event_regrouper.h"

#include <QDir>

namespace {

// The fewest bytes one record takes in the written file: the build stops once
// its records alone would pass the output limit.
constexpr qint64 kMinRecordBytes = 100;

EventExportBuilder::RecordLists SlotLists(std::array<RegrouperSlot, kPointerSlotCount>& tables)
{
    EventExportBuilder::RecordLists lists{};
    for (int slot = 0; slot < kPointerSlotCount; ++slot)
        lists[slot] = &tables[slot].toList;
    return lists;
}

}  // namespace

// The per-object computation is the whiteboard's own, with the package
// rebuild's rules; each slot's records go to that slot's list.
void EventRegrouper::buildSlotGroups()
{
    ExportBoardTables tables;
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        const RegrouperSlot& read = m_slots[slot];
        tables[slot].masters = read.emTable;
        tables[slot].details = read.edTable;
        tables[slot].erasePoints = read.epTable;
        tables[slot].modifyPoints = read.meTable;
        tables[slot].samples = read.fpTable;
    }
    EventExportBuilder builder(std::move(tables), ExportRules::Regrouper(),
                               [this](const QString& name) { return findNoteByName(name); }, SlotLists(m_slots));
    if (m_outputLimit > 0)
        builder.SetRecordLimit(m_outputLimit / kMinRecordBytes);
    builder.BuildToGroupRecords();
    m_outputTooLarge = builder.RecordLimitReached();
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
