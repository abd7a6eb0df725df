// The whiteboard's event export of a large recorded lesson: 20 notes, 1,000
// free-pen strokes of 150 samples (150,000 samples) spread over the eleven
// pointer slots, 300 of them erased and 300 moved while recording. Measured
// apart: building the records, ordering them, writing "New_Event.xml".
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "board/event_kind.h"
#include "storage/event_export.h"

namespace {

constexpr int kNotes = 20;
constexpr int kStrokes = 1000;
constexpr int kSamplesPerStroke = 150;
constexpr int kErases = 300;
constexpr int kEdits = 300;

ExportBoardTables Lesson()
{
    ExportBoardTables tables;
    for (int s = 0; s < kStrokes; ++s) {
        ExportSlotTables& slot = tables[s % kPointerSlotCount];
        const quint16 id = quint16(s / kPointerSlotCount + 1);
        const double start = 1000.0 + s * 500.0;
        const int x = (s * 37) % 1800, y = (s * 53) % 1000;

        EventMaster m;
        m.EventID = id;
        m.Kind = ekFree;
        m.MediaPos = start;
        m.NoteName = QStringLiteral("note%1").arg(s % kNotes);
        slot.masters.append(m);

        EventDetail d;
        d.EventID = id;
        d.S = QPointF(x, y);
        d.E = QPointF(x + kSamplesPerStroke, y + kSamplesPerStroke / 2);
        d.OriginRF = QRect(x, y, kSamplesPerStroke, kSamplesPerStroke / 2);
        d.BoundRF = d.OriginRF;
        d.PenColor = QColor(0, 0, 255);
        d.PenWidth = 3;
        for (int i = 0; i < kSamplesPerStroke; ++i) {
            FreePenPoint p;
            p.EventID = id;
            p.MediaPos = start + i * 3;
            p.MouseAction = i == 0 ? 1 : (i == kSamplesPerStroke - 1 ? 3 : 2);
            p.Press = 0.5f;
            p.S = QPointF(x + i, y + i / 2);
            slot.samples.append(p);
        }
        if (s < kErases) {
            d.Deleted = d.PageDeleted = 1;
            ErasePoint e;
            e.EventID = id;
            e.MediaPos = start + 100000.0;
            e.BoundRF = d.BoundRF;
            e.GroupIndex = e.GroupTotal = 1;
            slot.erasePoints.append(e);
        } else if (s < kErases + kEdits) {
            d.Modified = 1;
            ModifyPoint c;
            c.EventID = id;
            c.MediaPos = start + 200000.0;
            c.Kind = ekFree;
            c.BoundRF = d.BoundRF.translated(40, 40);
            c.M = c.BoundRF.topLeft();
            c.C = c.BoundRF.bottomRight();
            c.PrevBoundRF = d.BoundRF;
            c.GroupIndex = c.GroupTotal = 1;
            slot.modifyPoints.append(c);
        }
        slot.details.append(d);
    }
    return tables;
}

QVector<ToGroupRecord> Build(const ExportBoardTables& tables)
{
    QVector<ToGroupRecord> records;
    EventExportBuilder::RecordLists lists;
    lists.fill(&records);
    EventExportBuilder builder(tables, ExportRules::Whiteboard(),
                               [](const QString& name) { return name.mid(4).toInt(); }, lists);
    builder.BuildToGroupRecords();
    return records;
}

void BM_BuildRecords(benchmark::State& state)
{
    const ExportBoardTables tables = Lesson();
    for (auto _ : state) {
        const QVector<ToGroupRecord> records = Build(tables);
        state.counters["records"] = records.size();
    }
}
BENCHMARK(BM_BuildRecords)->Unit(benchmark::kMillisecond);

void BM_SortRecords(benchmark::State& state)
{
    QVector<ToGroupRecord> built = Build(Lesson());
    for (auto _ : state) {
        QVector<ToGroupRecord> records = built;
        records.detach();
        SortToGroupRecords(records);
        benchmark::DoNotOptimize(records.constData());
    }
}
BENCHMARK(BM_SortRecords)->Unit(benchmark::kMillisecond);

void BM_WriteNewEventXml(benchmark::State& state)
{
    QVector<ToGroupRecord> records = Build(Lesson());
    SortToGroupRecords(records);
    QTemporaryDir folder;
    ToGroupSection group;
    group.name = QStringLiteral("TO_GROUP");
    group.records = &records;
    for (auto _ : state) {
        if (!SaveNewEventXml(folder.path(), NewEventHeader{kNotes, 1920, 1080}, {group},
                             ExportNumberFormat::SixDigits)) {
            state.SkipWithError("cannot write the file");
            return;
        }
    }
}
BENCHMARK(BM_WriteNewEventXml)->Unit(benchmark::kMillisecond);

}  // namespace
