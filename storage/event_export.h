#pragma once

#include <QColor>
#include <QHash>
#include <QRectF>
#include <QString>
#include <QVector>

#include <array>
#include <functional>

#include "board/board_records.h"
#include "editing/undo_list.h"

class QIODevice;

// The event export file "New_Event.xml": a time-ordered drawing script of a
// recording that a player replays against the recording's media clock. The
// whiteboard's contents save and the console tool Regrouper both build their
// records with the builders here and write them with the one writer below.

// One drawing step of the export file ("TO" element).
struct ToGroupRecord {
    int slot = 0;         // PI: pointer slot that owns the object
    double key = 0.0;     // MP: media time in ms; the ordering key
    int eventId = 0;      // EI
    int code = 0;         // KD: record code
    float bx = 0, by = 0, bw = 0, bh = 0;  // first geometry group
    float nx = 0, ny = 0, nw = 0, nh = 0;  // second geometry group
    float angle = 0;      // AG
    QColor colour;        // PC (alpha is not written)
    float penWidth = 0;   // PW
    int transparency = 0; // TP
    int noteIndex = 0;    // NI
};

// A record from its fields in file order.
ToGroupRecord MakeToGroupRecord(int slot, double key, int eventId, int code, float bx, float by, float bw, float bh,
                                float nx, float ny, float nw, float nh, float angle, const QColor& colour,
                                float penWidth, int transparency, int noteIndex);

// How MP and the float attributes are written. The whiteboard writes six
// significant digits; Regrouper writes the shortest text that reads back to
// the same double, so a rebuilt file loses nothing.
enum class ExportNumberFormat {
    SixDigits,
    ShortestRoundTrip,
};

QString FormatExportNumber(double value, ExportNumberFormat format);

// What every record of one stroke carries.
struct ExportStrokeStyle {
    int slot = 0;
    int eventId = 0;
    QColor colour;
    float penWidth = 0;
    int kind = 0;  // 3 free pen, 4 brush
    int transparency = 255;
    int noteIndex = 0;
};

// Stroke builders. Each walks the samples of the style's EventID in table
// order (samples of other objects are passed over, so a caller may hand in
// the slot's whole sample list or only the object's): samples before the
// first press are passed over, a release ends the walk, so a second
// press/release pair is never written.

// A stroke drawn while no recording ran: samples with time <= 0, key 1.0; the
// press and release records carry the bounds and the angle.
void AddFigureToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                        const QVector<FreePenPoint>& points, const QRectF& bounds, float angle);

// A stroke drawn while recording: samples with time > 0, each at its own time.
void AddPairToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                      const QVector<FreePenPoint>& points);

// The stroke re-emitted at `time` after an erase or an edit: samples not later
// than `time`, mapped from `before` onto `after` (an all-zero `after` keeps
// the points and the bounds as they were).
void AddOutlineToRecords(QVector<ToGroupRecord>& out, const ExportStrokeStyle& style,
                         const QVector<FreePenPoint>& points, double time,
                         const QRectF& before, const QRectF& after, float angle);

// Orders by ascending key; records with equal keys keep their order.
void SortToGroupRecords(QVector<ToGroupRecord>& records);

// One group element of the file: the whiteboard writes a single "TO_GROUP"
// without attributes, Regrouper one "TO_<slot>" with an "Index" per slot.
// A group without records is not written.
struct ToGroupSection {
    QString name;
    int index = -1;  // written as "Index" when not negative
    const QVector<ToGroupRecord>* records = nullptr;
};

struct NewEventHeader {
    int noteCount = 0;
    int width = 0;
    int height = 0;
};

// Writes the whole document to an open device. With `maxBytes` above 0 the
// writing stops, answering false, once the device holds more than that.
bool WriteNewEventXml(QIODevice* device, const NewEventHeader& header,
                      const QVector<ToGroupSection>& groups, ExportNumberFormat format, qint64 maxBytes = 0);

// Writes folder + "/New_Event.xml". The file is replaced only once the whole
// document is written; on failure the old file stays, false is returned and
// `errorText` says why.
// With `maxBytes` above 0 a document larger than that is not written at all.
bool SaveNewEventXml(const QString& folder, const NewEventHeader& header,
                     const QVector<ToGroupSection>& groups, ExportNumberFormat format,
                     QString* errorText = nullptr, qint64 maxBytes = 0, bool* tooLarge = nullptr);

// The tables of one pointer slot the export reads. They are value copies
// (shared until written), so building the export never changes the board.
struct ExportSlotTables {
    QVector<EventMaster> masters;
    QVector<EventDetail> details;
    QVector<ErasePoint> erasePoints;
    QVector<ModifyPoint> modifyPoints;
    QVector<FreePenPoint> samples;  // every stroke sample of the slot
};

using ExportBoardTables = std::array<ExportSlotTables, kPointerSlotCount>;

// Where the whiteboard's export and Regrouper's differ. Everything else of
// the record building is the same code.
struct ExportRules {
    // The whiteboard takes points, rectangle and angle from a detail's
    // alternative values where they are set; package files carry none.
    bool alternativeGeometry = true;
    // The detail flag that says an object has erase records: the
    // whiteboard's first flag, the package files' "BD".
    bool eraseFlagIsPageDeleted = true;
    // A note change carries its time in TP and AG 1 in both records; the
    // package rebuild writes AG 1 then 0 and TP 0.
    bool noteChangeCarriesTime = true;
    // A recording that starts zoomed opens with the view pair at key 1.
    bool startMarkerView = true;
    // An erase of a group's member that is not the last one redraws its own
    // area in its slot; the package rebuild leaves it to the last member.
    bool groupEraseMembersInOwnSlot = true;

    static ExportRules Whiteboard();
    static ExportRules Regrouper();
};

// Builds export records from the tables of the eleven slots. Records of slot
// k go to `out[k]`: the whiteboard hands the same list for every slot,
// Regrouper one list per slot. `noteIndexOf` gives the export note index of
// a note name; it is asked once per object when the builder is made.
//
// Erase and edit events are looked up by EventID and by time through indexes
// built once, so the follow-ups of one object never walk the slot.
class EventExportBuilder
{
public:
    using RecordLists = std::array<QVector<ToGroupRecord>*, kPointerSlotCount>;

    EventExportBuilder(ExportBoardTables tables, const ExportRules& rules,
                       const std::function<int(const QString&)>& noteIndexOf, const RecordLists& out);

    // Every object and event of every slot, with the erase and edit
    // follow-ups of objects that have them.
    void BuildToGroupRecords();

    // The building stops once the output lists hold more than `records`
    // records (0: no limit): erase-heavy input re-emits objects per erase,
    // and a package must not make us fill the memory or the disk.
    void SetRecordLimit(qint64 records) { m_recordLimit = records; }
    bool RecordLimitReached() const { return m_limitReached; }

    // A code 0 redraw record for `area` at `time`, then the objects of the
    // slot standing there then. Slot -1 handles every slot with erase
    // records; a slot outside 0..10 does nothing.
    void AddEraseRecords(int slot, int eventId, double time, float scale, int hScroll, int vScroll,
                         const QRectF& area, int noteIndex);

    // For every slot with edit records: the area record (when `withArea`)
    // and the objects in the area, unless the area has a zero side; then the
    // edits made exactly at `time`.
    void AddModifySnapshot(int eventId, double time, float scale, int hScroll, int vScroll, const QRectF& area,
                           bool withArea, int noteIndex);

    // The objects of `slot` edited exactly at `time`, in their new geometry.
    void AddModifyRecordsAt(int slot, int eventId, double time, float scale, int hScroll, int vScroll,
                            int noteIndex);

    // The objects of note `noteIndex` in `slot` that stand at time `t` and
    // overlap the rectangle, written again at t + 10.
    void ObjectGeometry(int slot, double t, int noteIndex, float rx, float ry, float rw, float rh);

private:
    struct SlotIndex {
        QHash<int, int> detailById;                 // first detail of an id
        QHash<int, QVector<int>> eraseById;         // erase rows of an id
        QHash<int, QVector<int>> modifyById;        // edit rows of an id
        QHash<double, QVector<int>> modifyByTime;   // edit rows at a time
        QHash<int, QVector<FreePenPoint>> samplesById;
        QVector<int> noteIndexOfMaster;             // per master row
    };

    const EventDetail* findDetail(int slot, int eventId) const;
    bool hasEraseRecords(const EventDetail& detail) const;
    void addObjectRecords(int slot, int row, const EventDetail* detail);
    void addEraseFollowUp(int slot, const EventMaster& master, const EventDetail& detail, int noteIndex);
    void addModifyFollowUp(int slot, const EventMaster& master, const EventDetail& detail, int noteIndex);
    void appendObjectAt(int slot, double key, int eventId, int kind, QPointF start, QPointF end,
                        const QRectF& rect, float angle, int strData, const EventDetail& detail, int noteIndex);
    void append(int slot, const ToGroupRecord& record);
    bool limitReached();

    ExportBoardTables m_tables;
    ExportRules m_rules;
    RecordLists m_out;
    std::array<SlotIndex, kPointerSlotCount> m_index;
    qint64 m_recordLimit = 0;
    bool m_limitReached = false;
};
