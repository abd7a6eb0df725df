// The contents save of a recorded lesson, every step but the packer: 20
// notes shown in 60 visits, 150,000 stroke samples, 300 erases and 300 edits
// spread over the eleven slots, with the real PDF exporter when it binds.
// Run at 1x and 2x the objects: the time must grow with the lesson
// (linearly), not with visits times records.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "bench/board_fixture.h"
#include "board/event_kind.h"
#include "storage/contents_package.h"
#include "storage/pdf_libraries.h"

namespace {

constexpr int kNotes = 20;
constexpr int kVisits = 60;
constexpr int kSamples = 150000;
constexpr int kSamplesPerStroke = 150;
constexpr int kErases = 300;
constexpr int kEdits = 300;

storage::ContentsSaveInput Lesson(const QString& folder, int scale)
{
    storage::ContentsSaveInput input;
    input.recordType = 0;
    input.workFolder = folder + QStringLiteral("/work/");
    QDir().mkpath(input.workFolder);
    input.recordFolder = folder + QStringLiteral("/Recordings");
    input.recordName = QStringLiteral("20260101120000");
    input.stamp = QStringLiteral("20260101_120000");
    input.boardSize = QSize(1920, 1080);
    input.pdf.view = QSize(1920, 1080);
    input.colorSetting = QStringLiteral("white");
    QImage page(1920, 1080, QImage::Format_RGB32);
    page.fill(Qt::white);
    for (int n = 0; n < kNotes; ++n) {
        NoteInfo note;
        note.name = QStringLiteral("WhiteBoard");
        note.path = note.name;
        note.create_data = QStringLiteral("20260101120000%1").arg(n, 3, 10, QLatin1Char('0'));
        note.imagePath = folder + QStringLiteral("/%1.jpg").arg(note.create_data);
        note.width = 1920;
        note.height = 1080;
        page.save(note.imagePath);
        input.notes.append(note);
    }
    for (int v = 0; v < kVisits; ++v) {
        const NoteInfo& note = input.notes.at(v % kNotes);
        input.visits.append({v % kNotes, note.name, note.create_data, QString::number(v * 1000)});
    }
    const int strokes = scale * kSamples / kSamplesPerStroke;
    for (int s = 0; s < strokes; ++s) {
        ExportSlotTables& slot = input.tables[s % kPointerSlotCount];
        const quint16 id = quint16(slot.masters.size());
        const int x = (s * 37) % 1700, y = (s * 53) % 900;
        EventMaster m;
        m.EventID = id;
        m.Kind = ekFree;
        m.MediaPos = 1000.0 + s;
        m.NoteName = input.notes.at(s % kNotes).create_data;
        slot.masters.append(m);
        EventDetail d;
        d.EventID = id;
        d.S = QPointF(x, y);
        d.E = QPointF(x + kSamplesPerStroke, y + 40);
        d.OriginRF = d.BoundRF = QRect(x, y, kSamplesPerStroke, 40);
        d.PenColor = QColor(0, 0, 255);
        d.PenWidth = 3;
        if (s < scale * kErases) {
            d.PageDeleted = d.Deleted = 1;
            ErasePoint e;
            e.EventID = id;
            e.MediaPos = 500000.0 + s;
            e.BoundRF = d.BoundRF;
            e.GroupIndex = e.GroupTotal = 1;
            slot.erasePoints.append(e);
        } else if (s < scale * (kErases + kEdits)) {
            d.Modified = 1;
            ModifyPoint me;
            me.EventID = id;
            me.MediaPos = 600000.0 + s;
            me.Kind = ekFree;
            me.ModifyKind = ekMove;
            me.BoundRF = d.BoundRF.translated(30, 30);
            me.PrevBoundRF = d.BoundRF;
            me.GroupIndex = me.GroupTotal = 1;
            slot.modifyPoints.append(me);
        }
        slot.details.append(d);
        for (int i = 0; i < kSamplesPerStroke; ++i) {
            FreePenPoint p;
            p.EventID = id;
            p.MediaPos = m.MediaPos + i;
            p.MouseAction = i == 0 ? 1 : (i == kSamplesPerStroke - 1 ? 3 : 2);
            p.Press = 0.5f;
            p.S = p.M = QPointF(x + i, y + i / 4.0);
            slot.samples.append(p);
        }
    }
    return input;
}

void BM_ContentsSaveWithoutPacker(benchmark::State& state)
{
    bench::OffscreenApplication();
    QTemporaryDir folder;
    const storage::ContentsSaveInput input = Lesson(folder.path(), int(state.range(0)));
    storage::PdfExporterLibrary& exporter = storage::SharedPdfExporter();
    if (!exporter.bound)
        storage::BindPdfExporter(exporter);
    for (auto _ : state) {
        storage::ContentsSaveResult result;
        const QString staging = storage::StageContentsPackage(input, exporter, [](const QString&, int) {}, &result);
        if (staging.isEmpty())
            state.SkipWithError(result.failure.toUtf8().constData());
    }
    state.counters["samples"] = double(state.range(0)) * kSamples;
    state.counters["pdf"] = exporter.bound ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_ContentsSaveWithoutPacker)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
