#pragma once

#include <QHash>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

#include "board/board_records.h"
#include "board/event_kind.h"
#include "board/stroke_interpolator.h"
#include "editing/undo_list.h"

// The EventMaster and EventDetail tables of one pointer slot. Objects are
// found by EventID (the first match counts); an index per table keeps that
// lookup constant-time for code that runs once per object. Appending keeps
// the index; handing out a table for editing (reordering, loading) drops it
// and the next lookup rebuilds it.
class SlotRecords
{
public:
    const QVector<EventMaster>& masters() const { return m_masters; }
    const QVector<EventDetail>& details() const { return m_details; }

    // For changes that may reorder, add or remove records.
    QVector<EventMaster>& editMasters();
    QVector<EventDetail>& editDetails();

    void appendMaster(const EventMaster& em);
    void appendDetail(const EventDetail& ed);
    void clear();

    // Position of the first record with the id, or -1.
    int masterIndex(quint16 eventId) const;
    int detailIndex(quint16 eventId) const;

    // The first record with the id, or null. Fields may be changed through
    // the pointer, EventID excepted.
    EventMaster* findMaster(quint16 eventId);
    EventDetail* findDetail(quint16 eventId);
    const EventMaster* findMaster(quint16 eventId) const;
    const EventDetail* findDetail(quint16 eventId) const;

private:
    QVector<EventMaster> m_masters;
    QVector<EventDetail> m_details;
    mutable QHash<quint16, int> m_masterIndex;
    mutable QHash<quint16, int> m_detailIndex;
    mutable bool m_masterIndexValid = true;
    mutable bool m_detailIndexValid = true;
};

// Everything one pointer slot owns.
struct PointerSlotState {
    SlotRecords records;
    QVector<ErasePoint> erasePoints;
    QVector<ModifyPoint> modifyPoints;
    int nextEventId = 0;

    int event_kind = ekFree;
    QString m_curr_drawbtn;
    QPen pen{QBrush(Qt::black), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin};
    bool highlight = false;
    bool pressed = false;

    QPoint anchor;
    QPoint current;
    QPoint prevAnchor;
    QPoint prevCurrent;
    QPoint maxCorner;
    QPoint minCorner;
    QPointF lastSample;

    // Brush: the width of a stroke swells when the pen slows down.
    float brushWidth = 0.f;
    float brushRadius = 0.f;
    float brushSquare = 0.f;
    float brushDrawWidth = 0.f;
    QPointF brushPoint;
    QPointF brushEndPoint;
    int brushSteps = 0;
    double brushStepLength = 0.0;

    double pressMediaPos = -1.0;
    double strokeCounter = 0.0;

    QVector<FreePenPoint> strokePoints;  // the stroke being drawn
    QVector<FreePenPoint> allPoints;     // every stroke of the slot
    StrokeInterpolator interpolator;
};

// Samples of the smart pen, collected from every slot but 10 while it is on.
class SmartPenBuffer
{
public:
    static constexpr int kCapacity = 20000;

    SmartPenBuffer();

    void Clear();
    void Start(QPoint p);
    // Adds a point; once full, the newest point replaces the last entry so
    // the stroke still ends where the pen is.
    void Append(QPoint p);
    // Stores the release point after the last entry without counting it
    // (over the last entry when full).
    void Finish(QPoint p);

    int count() const { return m_count; }
    bool active() const { return m_active; }
    void setActive(bool on) { m_active = on; }
    QPoint last() const { return m_last; }
    QPoint at(int i) const { return m_points[i]; }
    // The point stored by Finish: after the counted points, or on the last
    // entry once the buffer is full.
    QPoint releasePoint() const { return m_points[m_count < kCapacity ? m_count : kCapacity - 1]; }
    const QVector<QPoint>& points() const { return m_points; }

private:
    QVector<QPoint> m_points;
    int m_count = 0;
    bool m_active = false;
    QPoint m_last;
};

// The object clipboard: copies of the copied objects' records, parallel by
// index with the key each was copied under and, for a stroke, its samples.
struct ObjectClipboard {
    QVector<EventMaster> masters;
    QVector<EventDetail> details;
    QStringList ClipboardKeys;
    QVector<QVector<FreePenPoint>> samples;
};

// Copies the move points of a stroke's edited samples into the slot's full
// sample list: sample j goes to position f + j, f being the first sample of
// the stroke there (0 when it has none), and only where that position exists
// and belongs to the same stroke. Returns how many were copied.
int CopyStrokeMovePoints(QVector<FreePenPoint>& slotSamples, quint16 eventId,
                         const QVector<FreePenPoint>& edited);
// The same with the stroke's first position f already known, for code that
// copies many strokes of one slot.
int CopyStrokeMovePointsAt(QVector<FreePenPoint>& slotSamples, int first, quint16 eventId,
                           const QVector<FreePenPoint>& edited);
// The position of the first sample of each stroke in a slot's full list.
QHash<quint16, int> FirstSamplePositions(const QVector<FreePenPoint>& slotSamples);

// Enters a page change, zoom or scroll of the recording (EventKind kind) as a
// record of slot 0 under that slot's next EventID.
void AppendViewRecord(PointerSlotState& slot0, int kind, double mediaPos, double zoom, int vscroll,
                      int hscroll, const QString& noteName);

// The board's records: eleven slots and what they share.
struct BoardModel {
    std::array<PointerSlotState, kPointerSlotCount> slot;
    // ObjectKey -> the samples of that free-pen or brush object.
    QHash<QString, QVector<FreePenPoint>> FreePenMap;
    SmartPenBuffer smartPen;
    ObjectClipboard clipboard;

    // Fresh tables, counters at 0, interpolators reset.
    void Init();

    int PressedSlotCount() const;
};
