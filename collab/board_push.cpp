#include "collab/board_push.h"

#include <cmath>

namespace coll {

namespace {

constexpr int kWriterSlot = kMouseOverflowSlot;

const char* const kTableNames[] = {"EM", "ED", "FP", "ALL"};
const char* const kRedrawNames[] = {"ToolKindObject", "FreePenObject", "BrushPenObject", "FromEventData",
                                    "WhiteBoardNote"};

// The slot a record message names (field 2), or -1 when it is none of ours.
int RecordSlot(const Fields& fields)
{
    bool ok = false;
    const int slot = fields.text(2).toInt(&ok);
    return ok && IsValidPointerSlot(slot) ? slot : -1;
}

quint16 U16(const Fields& fields, int index) { return quint16(fields.toInt(index)); }

// A coordinate of the host's board on ours: read as float, then scaled.
double Scaled(const Fields& fields, int index, double factor)
{
    return double(float(fields.toDouble(index))) * factor;
}

QRect ScaledRect(const Fields& fields, int first, BoardScale scale)
{
    return QRect(int(fields.toInt(first) * scale.x), int(fields.toInt(first + 1) * scale.y),
                 int(fields.toInt(first + 2) * scale.x), int(fields.toInt(first + 3) * scale.y));
}

}  // namespace

QString PushTableName(int table)
{
    return table >= kPushMasters && table <= kPushAll ? QLatin1String(kTableNames[table]) : QString();
}

QString RedrawName(int what)
{
    return what >= 0 && what < 5 ? QLatin1String(kRedrawNames[what]) : QString();
}

void ForEachPushMessage(const BoardModel& board, const QString& currentPage, const Address& to, int table,
                        const PushSink& sink)
{
    const QString name = PushTableName(table);
    if (name.isEmpty())
        return;
    sink("DATA_CLEAR", DataClearData(to, name));
    if (table == kPushMasters || table == kPushAll) {
        for (int slot = 0; slot < kPointerSlotCount; ++slot) {
            const QVector<EventMaster>& masters = board.slot[slot].records.masters();
            for (int i = 0; i < masters.size(); ++i)
                sink("EMDATA_SET", EventMasterData(to, slot, i, masters[i]));
        }
    }
    if (table == kPushDetails || table == kPushAll) {
        for (int slot = 0; slot < kPointerSlotCount; ++slot) {
            const QVector<EventDetail>& details = board.slot[slot].records.details();
            for (int i = 0; i < details.size(); ++i)
                sink("EDDATA_SET", EventDetailData(to, slot, i, details[i]));
        }
    }
    if (table == kPushPoints || table == kPushAll) {
        for (int slot = 0; slot < kPointerSlotCount; ++slot) {
            const SlotRecords& records = board.slot[slot].records;
            const QVector<EventMaster>& masters = records.masters();
            for (int i = 0; i < masters.size(); ++i) {
                const EventMaster& em = masters[i];
                // Points go out for the page on show only, and only for an
                // object that has its geometry.
                if (em.NoteName != currentPage || !records.findDetail(em.EventID))
                    continue;
                const auto points = board.FreePenMap.constFind(MakeObjectKey(slot, em.EventID));
                if (points == board.FreePenMap.constEnd())
                    continue;
                for (const FreePenPoint& p : *points)
                    sink("FPDATA_SET", FreePenPointData(to, slot, i, em.EventID, p));
            }
        }
    }
}

QByteArray BoardDataInfo(const BoardModel& board, const Address& to, int level)
{
    QVector<int> tools;
    QVector<int> nextIds;
    for (const PointerSlotState& s : board.slot) {
        tools << s.event_kind;
        nextIds << s.nextEventId;
    }
    return DataInfoData(to, tools, nextIds, level);
}

BoardScale ScaleFromHost(QSize local, QSize host)
{
    BoardScale scale;
    if (host.width() > 0 && host.height() > 0) {
        scale.x = double(local.width()) / host.width();
        scale.y = double(local.height()) / host.height();
    }
    return scale;
}

bool BoardPushReceiver::Clear(const QString& table, BoardModel& board)
{
    const bool all = table == QLatin1String("ALL");
    const bool masters = all || table == QLatin1String("EM");
    const bool details = all || table == QLatin1String("ED");
    const bool points = all || table == QLatin1String("FP");
    if (!masters && !details && !points)
        return false;
    if (masters)
        m_masters = 0;
    if (details)
        m_details = 0;
    if (points)
        m_points = 0;
    m_overLimit = false;
    for (PointerSlotState& s : board.slot) {
        if (masters)
            s.records.editMasters().clear();
        if (details)
            s.records.editDetails().clear();
        if (points)
            s.allPoints.clear();
    }
    if (points) {
        board.FreePenMap.clear();
        m_staged.clear();
        m_stagedSlot = -1;
    }
    return true;
}

bool BoardPushReceiver::Take(int& count, int limit)
{
    if (count >= limit)
        m_overLimit = true;
    if (m_overLimit)
        return false;
    ++count;
    return true;
}

bool BoardPushReceiver::AddMaster(const Fields& fields, BoardModel& board)
{
    const int slot = RecordSlot(fields);
    if (slot < 0 || !Take(m_masters, kPushObjectLimit))
        return false;
    EventMaster em;
    em.EventID = U16(fields, 4);
    em.MediaPos = fields.toDouble(5);
    em.Kind = fields.toInt(6);
    em.StrData = U16(fields, 7);
    em.SCale = fields.toDouble(8);
    em.VScroll = U16(fields, 9);
    em.HScroll = U16(fields, 10);
    em.Slot = U16(fields, 11);
    em.NoteName = fields.text(12);
    em.Extra = fields.text(13);
    board.slot[slot].records.appendMaster(em);
    return true;
}

bool BoardPushReceiver::AddDetail(const Fields& fields, BoardScale scale, BoardModel& board)
{
    const int slot = RecordSlot(fields);
    if (slot < 0 || !Take(m_details, kPushObjectLimit))
        return false;
    EventDetail ed;
    ed.EventID = U16(fields, 4);
    ed.S = QPointF(Scaled(fields, 5, scale.x), Scaled(fields, 6, scale.y));
    ed.E = QPointF(Scaled(fields, 7, scale.x), Scaled(fields, 8, scale.y));
    ed.M = QPointF(Scaled(fields, 9, scale.x), Scaled(fields, 10, scale.y));
    ed.C = QPointF(Scaled(fields, 11, scale.x), Scaled(fields, 12, scale.y));
    ed.OriginRF = ScaledRect(fields, 13, scale);
    ed.BoundRF = ScaledRect(fields, 17, scale);
    ed.PenColor = QColor(qBound(0, fields.toInt(21), 255), qBound(0, fields.toInt(22), 255),
                         qBound(0, fields.toInt(23), 255), qBound(0, fields.toInt(24), 255));
    ed.PenWidth = U16(fields, 25);
    ed.Angle = float(fields.toDouble(26));
    ed.Deleted = fields.toInt(27) != 0;
    ed.Selected = fields.toInt(28) != 0;
    ed.Modified = fields.toInt(29) != 0;
    ed.Transparent = U16(fields, 30);
    ed.CanvasWidth = U16(fields, 31);
    ed.CanvasHeight = U16(fields, 32);
    for (int i = 0; i < 4; ++i)
        ed.AuxPoints[i] = QPoint(fields.toInt(33 + 2 * i), fields.toInt(34 + 2 * i));
    board.slot[slot].records.appendDetail(ed);
    return true;
}

bool BoardPushReceiver::AddPoint(const Fields& fields, BoardScale scale, BoardModel& board)
{
    const int slot = RecordSlot(fields);
    if (slot < 0 || !Take(m_points, kPushPointLimit))
        return false;
    FreePenPoint p;
    p.EventID = U16(fields, 4);
    p.MediaPos = fields.toDouble(5);
    p.Press = float(fields.toDouble(6));
    p.S = QPointF(Scaled(fields, 7, scale.x), Scaled(fields, 8, scale.y));
    p.M = QPointF(Scaled(fields, 9, scale.x), Scaled(fields, 10, scale.y));
    p.MouseAction = fields.toInt(11);
    if (!m_staged.isEmpty() && (slot != m_stagedSlot || p.EventID != m_stagedId))
        Flush(board);
    m_stagedSlot = slot;
    m_stagedId = p.EventID;
    m_staged.append(p);
    if (p.MouseAction == 3)
        Flush(board);
    return true;
}

void BoardPushReceiver::Flush(BoardModel& board)
{
    if (m_staged.isEmpty())
        return;
    board.slot[m_stagedSlot].allPoints += m_staged;
    board.FreePenMap.insert(MakeObjectKey(m_stagedSlot, m_stagedId), m_staged);
    m_staged.clear();
    m_stagedSlot = -1;
}

bool BoardPushReceiver::ApplyDataInfo(const Fields& fields, BoardModel& board) const
{
    const int selector = fields.toInt(24);
    if (selector != 3 && selector != 2)
        return false;
    const int first = selector == 3 ? 0 : kWriterSlot;
    for (int slot = first; slot < kPointerSlotCount; ++slot) {
        PointerSlotState& s = board.slot[slot];
        // A code no tool has would leave the slot without a tool: it keeps its own.
        const int kind = fields.toInt(2 + slot);
        if (kind >= 0 && kind <= ekLastKind)
            s.event_kind = kind;
        s.nextEventId = qBound(0, fields.toInt(13 + slot), 0xFFFF);
    }
    return true;
}

}  // namespace coll
