#include "storage/event_file_bytes.h"

#include "storage/xml_bytes.h"

#include <algorithm>

namespace storage {

namespace {

// Bytes an element takes, about, for reserving the buffer at once.
constexpr int kMasterBytes = 90;
constexpr int kDetailBytes = 260;
constexpr int kPointBytes = 90;

}  // namespace

void WriteMasterRecord(XmlBytes& xml, const EventMaster& em)
{
    xml.startElement("EM");
    xml.intAttribute("KD", em.Kind);
    xml.doubleAttribute("MP", em.MediaPos);
    xml.intAttribute("SD", em.StrData);
    xml.intAttribute("EI", em.EventID);
    xml.doubleAttribute("SC", em.SCale);
    xml.intAttribute("HS", em.HScroll);
    xml.intAttribute("VS", em.VScroll);
    xml.endElement();
}

void StartPointRecord(XmlBytes& xml, const FreePenPoint& p)
{
    xml.startElement("FP");
    xml.intAttribute("EI", p.EventID);
    xml.doubleAttribute("MP", p.MediaPos);
    xml.intAttribute("MA", p.MouseAction);
    xml.doubleAttribute("PS", double(p.Press));
}

void OpenSlotGroup(XmlBytes& xml, const char* tag, int slot)
{
    xml.startElement(tag, slot);
    xml.attribute("Type", tag);
    xml.intAttribute("Index", slot);
}

namespace {

void WriteDetail(XmlBytes& xml, const EventDetail& ed)
{
    xml.startElement("ED");
    xml.intAttribute("EI", ed.EventID);
    xml.coordAttribute("SX", ed.S.x());
    xml.coordAttribute("SY", ed.S.y());
    xml.coordAttribute("EX", ed.E.x());
    xml.coordAttribute("EY", ed.E.y());
    xml.coordAttribute("MX", ed.M.x());
    xml.coordAttribute("MY", ed.M.y());
    xml.coordAttribute("CX", ed.C.x());
    xml.coordAttribute("CY", ed.C.y());
    xml.intAttribute("OX", ed.OriginRF.x());
    xml.intAttribute("OY", ed.OriginRF.y());
    xml.intAttribute("OW", ed.OriginRF.width());
    xml.intAttribute("OH", ed.OriginRF.height());
    xml.intAttribute("BX", ed.BoundRF.x());
    xml.intAttribute("BY", ed.BoundRF.y());
    xml.intAttribute("BW", ed.BoundRF.width());
    xml.intAttribute("BH", ed.BoundRF.height());
    xml.colorAttribute("PC", ed.PenColor.rgb());
    xml.intAttribute("PW", ed.PenWidth);
    xml.doubleAttribute("AG", double(ed.Angle));
    xml.intAttribute("BD", ed.Deleted != 0 ? 1 : 0);
    xml.intAttribute("TP", ed.Transparent);
    xml.endElement();
}

void WritePoint(XmlBytes& xml, const FreePenPoint& p)
{
    StartPointRecord(xml, p);
    xml.coordAttribute("SX", p.S.x());
    xml.coordAttribute("SY", p.S.y());
    xml.coordAttribute("MX", p.M.x());
    xml.coordAttribute("MY", p.M.y());
    xml.endElement();
}

template <typename Record, typename Run>
void AddRuns(const QVector<Record>& records, QHash<quint16, QVector<Run>>& runs)
{
    int begin = 0;
    for (int i = 1; i <= records.size(); ++i) {
        if (i == records.size() || records.at(i).EventID != records.at(begin).EventID) {
            runs[records.at(begin).EventID].append(Run{begin, i});
            begin = i;
        }
    }
}

}  // namespace

EventFileWriter::EventFileWriter(const ProjectSnapshot& project) : m_project(project)
{
    for (int k = 0; k < kPointerSlotCount; ++k) {
        const SlotSnapshot& tables = project.slotTables[k];
        SlotIndex& index = m_slots[k];
        for (int i = 0; i < tables.masters.size(); ++i)
            index.mastersByNote[tables.masters.at(i).NoteName].append(i);
        AddRuns(tables.details, index.detailsById);
        AddRuns(tables.points, index.pointsById);
    }
}

QByteArray EventFileWriter::EventFile(int n) const
{
    const NoteInfo& note = m_project.notes.at(n);
    XmlBytes xml;
    xml.startElement("Event");
    xml.attribute("Note", note.create_data);
    xml.intAttribute("Width", m_project.boardSize.width());
    xml.intAttribute("Height", m_project.boardSize.height());
    xml.intAttribute("RWidth", m_project.pageSize.width());
    xml.intAttribute("RHeight", m_project.pageSize.height());

    // Per slot, how often each EventID was written by an EM record: an ID
    // that two masters share has its details and samples written twice.
    std::array<QHash<quint16, int>, kPointerSlotCount> written;
    for (int k = 0; k < kPointerSlotCount; ++k) {
        const auto masters = m_slots[k].mastersByNote.constFind(note.create_data);
        if (masters == m_slots[k].mastersByNote.constEnd())
            continue;
        xml.reserve(masters->size() * kMasterBytes);
        OpenSlotGroup(xml, "EM", k);
        for (const int i : *masters) {
            const EventMaster& em = m_project.slotTables[k].masters.at(i);
            WriteMasterRecord(xml, em);
            ++written[k][em.EventID];
        }
        xml.endElement();
    }

    // The details and samples of the written IDs, in table order.
    const auto writeFollowers = [&](const char* tag, int k, const QHash<quint16, QVector<Run>>& runsById,
                                    int bytesEach, const auto& records, const auto& writeOne) {
        QVector<QPair<Run, int>> chosen;
        int count = 0;
        for (auto id = written[k].constBegin(); id != written[k].constEnd(); ++id) {
            const auto runs = runsById.constFind(id.key());
            if (runs == runsById.constEnd())
                continue;
            for (const Run& run : *runs) {
                chosen.append({run, id.value()});
                count += (run.end - run.begin) * id.value();
            }
        }
        if (chosen.isEmpty())
            return;
        std::sort(chosen.begin(), chosen.end(),
                  [](const QPair<Run, int>& a, const QPair<Run, int>& b) { return a.first.begin < b.first.begin; });
        xml.reserve(count * bytesEach);
        OpenSlotGroup(xml, tag, k);
        for (const auto& [run, times] : chosen)
            for (int i = run.begin; i < run.end; ++i)
                for (int t = 0; t < times; ++t)
                    writeOne(xml, records.at(i));
        xml.endElement();
    };
    for (int k = 0; k < kPointerSlotCount; ++k)
        writeFollowers("ED", k, m_slots[k].detailsById, kDetailBytes, m_project.slotTables[k].details, WriteDetail);
    for (int k = 0; k < kPointerSlotCount; ++k)
        writeFollowers("FP", k, m_slots[k].pointsById, kPointBytes, m_project.slotTables[k].points, WritePoint);
    return xml.finish();
}

QByteArray NotesXmlBytes(const QVector<NoteInfo>& notes)
{
    XmlBytes xml;
    xml.startElement("listwidget");
    for (const NoteInfo& note : notes) {
        xml.startElement("NoteInfo");
        xml.intAttribute("Type", note.type);
        xml.attribute("Name", note.name);
        xml.attribute("Create", note.create_data);
        xml.attribute("Path", note.path);
        xml.intAttribute("NoteWidth", note.width);
        xml.intAttribute("NoteHeight", note.height);
        xml.intAttribute("PageOption", note.page_option ? 1 : 0);
        xml.endElement();
    }
    return xml.finish();
}

QByteArray MediaListBytes(const QStringList& mediaFiles)
{
    QByteArray bytes;
    for (const QString& entry : mediaFiles) {
        bytes += entry.toUtf8();
        bytes += '\n';
    }
    return bytes;
}

}  // namespace storage
