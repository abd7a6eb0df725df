#pragma once

// The event files of a project save, built in memory. Each note's file
// holds only its own records, so the records are sorted by note and EventID
// once per save, and each file is then made from its own share: the save
// grows with the lesson, not with pages times lesson, and the files can be
// made side by side.

#include "storage/project_file.h"

#include <QByteArray>
#include <QHash>
#include <QVector>

#include <array>

namespace storage {

class EventFileWriter
{
public:
    // Walks the snapshot's tables once; the snapshot must outlive the writer.
    explicit EventFileWriter(const ProjectSnapshot& project);

    // The bytes of "Event_<n>.xml" for note n (see project_file.h). Safe to
    // call from several threads at once.
    QByteArray EventFile(int n) const;

private:
    // A stretch [begin, end) of a table whose records share one EventID.
    struct Run {
        int begin;
        int end;
    };
    struct SlotIndex {
        QHash<QString, QVector<int>> mastersByNote;  // table order
        QHash<quint16, QVector<Run>> detailsById;
        QHash<quint16, QVector<Run>> pointsById;
    };

    const ProjectSnapshot& m_project;
    std::array<SlotIndex, kPointerSlotCount> m_slots;
};

class XmlBytes;

// The pieces the project's and the contents package's event files share: a
// slot group "<tag>_k" with Type and Index, the EM record, and the start of
// an FP record (its position, stored in each file's own form, follows).
void OpenSlotGroup(XmlBytes& xml, const char* tag, int slot);
void WriteMasterRecord(XmlBytes& xml, const EventMaster& em);
void StartPointRecord(XmlBytes& xml, const FreePenPoint& p);

// Notes.xml and StrData.dat as bytes.
QByteArray NotesXmlBytes(const QVector<NoteInfo>& notes);
QByteArray MediaListBytes(const QStringList& mediaFiles);

}  // namespace storage
