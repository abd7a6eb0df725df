// The event export of a recording: the board's records turned into the
// time-ordered drawing script "New_Event.xml". The computation lives in
// storage/event_export, shared with Regrouper; these methods hand it the
// board's tables and the window's record list.

#include "app/ui/dialog.h"

#include <QDebug>

namespace {

ExportBoardTables BoardExportTables(const BoardModel& board)
{
    ExportBoardTables tables;
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        const PointerSlotState& s = board.slot[slot];
        tables[slot].masters = s.records.masters();
        tables[slot].details = s.records.details();
        tables[slot].erasePoints = s.erasePoints;
        tables[slot].modifyPoints = s.modifyPoints;
        tables[slot].samples = s.allPoints;
    }
    return tables;
}

ExportStrokeStyle StrokeStyle(int slot, int eventId, const QColor& colour, float penWidth, int kind,
                              int transparency, int noteIndex)
{
    ExportStrokeStyle style;
    style.slot = slot;
    style.eventId = eventId;
    style.colour = colour;
    style.penWidth = penWidth;
    style.kind = kind;
    style.transparency = transparency;
    style.noteIndex = noteIndex;
    return style;
}

}  // namespace

// The builder works on copies of the tables: nothing of the board changes
// while the export is built, and a board that changes meanwhile does not
// disturb it.
EventExportBuilder Dialog::MakeEventExportBuilder()
{
    EventExportBuilder::RecordLists lists;
    lists.fill(&m_toGroupRecords);
    return EventExportBuilder(BoardExportTables(m_board), ExportRules::Whiteboard(),
                              [this](const QString& stamp) { return CompareKeyLists(stamp); }, lists);
}

void Dialog::BuildToGroupRecords()
{
    MakeEventExportBuilder().BuildToGroupRecords();
}

void Dialog::AppendToGroupRecord(int slot, double key, int eventId, int code, float bx, float by, float bw,
                                 float bh, float nx, float ny, float nw, float nh, float angle, QColor colour,
                                 float penWidth, int transparency, int noteIndex)
{
    m_toGroupRecords.append(MakeToGroupRecord(slot, key, eventId, code, bx, by, bw, bh, nx, ny, nw, nh, angle,
                                              colour, penWidth, transparency, noteIndex));
}

void Dialog::AddTimedStrokeRecords(int slot, int eventId, QColor colour, float penWidth, int kind, int transparency,
                                   float, int, int, int noteIndex)
{
    if (!IsValidPointerSlot(slot))
        return;
    ::AddPairToRecords(m_toGroupRecords, StrokeStyle(slot, eventId, colour, penWidth, kind, transparency, noteIndex),
                       m_board.slot[slot].allPoints);
}

void Dialog::AddUntimedStrokeRecords(int slot, int eventId, QColor colour, float penWidth, int kind,
                                     int transparency, QRectF bounds, float angle, float, int, int, int noteIndex)
{
    if (!IsValidPointerSlot(slot))
        return;
    ::AddFigureToRecords(m_toGroupRecords,
                         StrokeStyle(slot, eventId, colour, penWidth, kind, transparency, noteIndex),
                         m_board.slot[slot].allPoints, bounds, angle);
}

void Dialog::AddMovedStrokeRecords(int slot, double time, int eventId, QColor colour, float penWidth, int kind,
                                   int transparency, QRectF oldRect, QRectF newRect, float angle, float, int, int,
                                   int noteIndex)
{
    if (!IsValidPointerSlot(slot))
        return;
    ::AddOutlineToRecords(m_toGroupRecords,
                          StrokeStyle(slot, eventId, colour, penWidth, kind, transparency, noteIndex),
                          m_board.slot[slot].allPoints, time, oldRect, newRect, angle);
}

void Dialog::AddEraseRecords(int slot, int eventId, double time, float scale, int hScroll, int vScroll, QRectF area,
                             int noteIndex)
{
    MakeEventExportBuilder().AddEraseRecords(slot, eventId, time, scale, hScroll, vScroll, area, noteIndex);
}

void Dialog::AddModifySnapshot(int eventId, double time, float scale, int hScroll, int vScroll, QRectF area,
                               bool withArea, int noteIndex)
{
    MakeEventExportBuilder().AddModifySnapshot(eventId, time, scale, hScroll, vScroll, area, withArea, noteIndex);
}

void Dialog::AddModifyRecordsAt(int slot, int eventId, double time, float scale, int hScroll, int vScroll,
                                int noteIndex)
{
    MakeEventExportBuilder().AddModifyRecordsAt(slot, eventId, time, scale, hScroll, vScroll, noteIndex);
}

void Dialog::ObjectGeometry(int slot, double t, int noteIndex, float rx, float ry, float rw, float rh)
{
    MakeEventExportBuilder().ObjectGeometry(slot, t, noteIndex, rx, ry, rw, rh);
}

void Dialog::SortToGroupRecords()
{
    ::SortToGroupRecords(m_toGroupRecords);
}

// A file that cannot be written is logged and the contents save goes on
// without it; an existing file is only replaced by a complete one.
bool Dialog::SaveNewEventXml(QString folder)
{
    NewEventHeader header;
    header.noteCount = m_rec_distinct_stamps.size();
    header.width = width();
    header.height = height();
    ToGroupSection group;
    group.name = QStringLiteral("TO_GROUP");
    group.records = &m_toGroupRecords;
    QString error;
    if (!::SaveNewEventXml(folder, header, {group}, ExportNumberFormat::SixDigits, &error)) {
        qDebug().noquote() << QStringLiteral("exe : New_Event.xml not written: %1").arg(error);
        return false;
    }
    return true;
}
