#pragma once

#include <QColor>
#include <QHash>
#include <QLoggingCategory>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

#include "storage/event_export.h"

Q_DECLARE_LOGGING_CATEGORY(lcRegrouper)

// Regrouper reads the folder of an unpacked contents package (its note list
// "Notes.xml" and one event file per note) into per-slot tables, turns every
// object into export records kept in one list per pointer slot, and writes the
// folder's "New_Event.xml" with one group per non-empty slot.
//
// The records below are the tool's own reduced forms of the board's records:
// they hold exactly what the package's event files carry.

// One note of "Notes.xml".
struct NoteEntry {
    int Type = 0;
    QString Name;
    QString Create;  // the note's key and the base name of its event file
    QString Path;
    bool PageOption = false;
    double Access = 0.0;
};

// "EM": one object or event of a note.
struct RegrouperMaster {
    quint16 EventID = 0;
    double MediaPos = 0.0;
    int Kind = 0;
    quint16 StrData = 0;
    double SCale = 0.0;
    quint16 VScroll = 0;
    quint16 HScroll = 0;
    quint16 slot = 0;
    QString NoteName;
};

// "ED": the geometry and pen of an object.
struct RegrouperDetail {
    quint16 EventID = 0;
    double SX = 0, SY = 0, EX = 0, EY = 0;
    QRect OriginRF;
    QColor PenColor;
    quint16 PenWidth = 0;
    float Angle = 0;
    bool Deleted = false;
    bool Modified = false;
    quint16 Transparent = 0;
};

// "EP": one erase event.
struct RegrouperErase {
    quint16 EventID = 0;
    double MediaPos = 0.0;
    int EraseKind = 0;
    QRect Bound;
    float Angle = 0;
    int GI = 0;
    int GT = 0;
};

// "ME": one later change (move, resize, rotation) of an object.
struct RegrouperModify {
    quint16 EventID = 0;
    double MediaPos = 0.0;
    int Kind = 0;
    int MK = 0;
    double MX = 0, MY = 0, CX = 0, CY = 0;
    QRect Bound;
    quint16 StrData = 0;
    float AG = 0;
    QRect P;
    float PG = 0;
    int GI = 0;
    int GT = 0;
};

// "FP": one sample of a stroke.
struct RegrouperPenSample {
    quint16 EventID = 0;
    double MediaPos = 0.0;
    float Pressure = 0;
    double SX = 0, SY = 0;
    int MouseAction = 0;
};

constexpr int kRegrouperSlotCount = 11;

// The tables of one pointer slot and its output list.
struct RegrouperSlot {
    QVector<RegrouperMaster> emTable;
    QVector<RegrouperDetail> edTable;
    QVector<RegrouperErase> epTable;
    QVector<RegrouperModify> meTable;
    QVector<RegrouperPenSample> fpTable;
    QVector<ToGroupRecord> toList;

    // Lookups built once before grouping; they keep the tables' order.
    QHash<int, int> detailById;               // first ED of an EventID
    QHash<int, QVector<int>> eraseById;       // EP rows of an EventID
    QHash<int, QVector<int>> modifyById;      // ME rows of an EventID
    QHash<double, QVector<int>> modifyByTime; // ME rows at a media time
    QHash<int, QVector<ExportStrokePoint>> strokeById;
};

class EventRegrouper
{
public:
    EventRegrouper();

    // Empty tables for the 11 slots, an empty note list, slot index 0.
    void initSlotTables();

    // Reads folder + "/Notes.xml". False when the file cannot be opened.
    bool readNotesList(const QString& folder);

    // Reads every note's event file, folder + "/<Create>.xml", in note order.
    void readNoteEvents(const QString& folder);

    // Turns every object of every slot into records of the slot's own list.
    void buildSlotGroups();

    // Orders every slot list by key; equal keys keep their order.
    void sortSlotLists();

    // Writes folder + "/New_Event.xml"; false with `errorText` on failure.
    bool writeNewEvent(const QString& folder, QString* errorText = nullptr) const;

    void clearAllTables();

    // Position of the first note whose Create is `name`, 0 when there is none.
    int findNoteByName(const QString& name) const;

    // Problems met while reading, one line each, for the user.
    QStringList warnings() const { return m_warnings; }

    const QVector<NoteEntry>& notes() const { return m_notes; }
    const RegrouperSlot& slotTables(int slot) const { return m_slots[slot]; }
    int eventWidth() const { return m_eventWidth; }
    int eventHeight() const { return m_eventHeight; }

private:
    void readNoteEventFile(const QString& path, const QString& noteName);
    void buildLookups();
    const RegrouperDetail* findDetail(const RegrouperSlot& tables, int eventId) const;

    void appendToSlotList(int slot, double key, int eventId, int code,
                          float bx, float by, float bw, float bh,
                          float nx, float ny, float nw, float nh, float angle,
                          const QColor& colour, float penWidth, int transparency, int noteIndex);
    void addObjectRecords(int slot, const RegrouperMaster& master, const RegrouperDetail& detail, int noteIndex);
    void addEraseFollowUp(int slot, const RegrouperMaster& master, const RegrouperDetail& detail, int noteIndex);
    void addModifyFollowUp(int slot, const RegrouperMaster& master, const RegrouperDetail& detail, int noteIndex);
    void addEraseRecords(int slot, int eventId, double time, float scale, int hScroll, int vScroll,
                         const QRectF& rect, int noteIndex);
    void addErasedAreaObjects(int slot, double time, const QRectF& area, int noteIndex);
    void addModifyRecords(int slot, int eventId, double time, float scale, int hScroll, int vScroll, int noteIndex);
    void addGroupModifyRecords(int eventId, double time, float scale, int hScroll, int vScroll,
                               const QRectF& rect, bool withArea, int noteIndex);

    QVector<NoteEntry> m_notes;
    QHash<QString, int> m_noteIndexByCreate;
    std::array<RegrouperSlot, kRegrouperSlotCount> m_slots;
    int m_eventWidth = 0;
    int m_eventHeight = 0;
    int m_currentSlot = 0;
    QStringList m_warnings;
};
