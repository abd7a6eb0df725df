#pragma once

#include <QColor>
#include <QHash>
#include <QLoggingCategory>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

#include "board/board_records.h"
#include "editing/undo_list.h"
#include "storage/event_export.h"

Q_DECLARE_LOGGING_CATEGORY(lcRegrouper)

// Regrouper reads the folder of an unpacked contents package (its note list
// "Notes.xml" and one event file per note) into per-slot tables, turns every
// object into export records kept in one list per pointer slot, and writes the
// folder's "New_Event.xml" with one group per non-empty slot.
//
// The package's event files carry the board's own records (EventMaster "EM",
// EventDetail "ED", ErasePoint "EP", ModifyPoint "ME", FreePenPoint "FP"),
// each with the fields the files hold.

// One note of "Notes.xml".
struct NoteEntry {
    int Type = 0;
    QString Name;
    QString Create;  // the note's key and the base name of its event file
    QString Path;
    bool PageOption = false;
    double Access = 0.0;
};

// The tables of one pointer slot and its output list.
struct RegrouperSlot {
    QVector<EventMaster> emTable;
    QVector<EventDetail> edTable;
    QVector<ErasePoint> epTable;
    QVector<ModifyPoint> meTable;
    QVector<FreePenPoint> fpTable;
    QVector<ToGroupRecord> toList;
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

    // The most bytes "New_Event.xml" may take (0: no limit). Past it the build
    // stops early and nothing is written.
    void setOutputLimit(qint64 bytes) { m_outputLimit = bytes; }
    bool outputTooLarge() const { return m_outputTooLarge; }

    // Problems met while reading, one line each, for the user.
    QStringList warnings() const { return m_warnings; }

private:
    void readNoteEventFile(const QString& path, const QString& noteName);

    QVector<NoteEntry> m_notes;
    QHash<QString, int> m_noteIndexByCreate;
    std::array<RegrouperSlot, kPointerSlotCount> m_slots;
    int m_eventWidth = 0;
    int m_eventHeight = 0;
    int m_currentSlot = 0;
    QStringList m_warnings;
    qint64 m_outputLimit = 0;
    mutable bool m_outputTooLarge = false;
};
