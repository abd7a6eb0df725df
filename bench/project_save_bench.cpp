// A project save of a large lesson, from the snapshot to the archive in
// place: N notes, each with 200 free-pen strokes of 150 samples, all drawn
// in the mouse's slot (10), so every note's event file picks its records out
// of one big slot. Run with 10, 20 and 30 notes: the time must grow with the
// lesson (linearly), not with its square.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "board/event_kind.h"
#include "storage/project_file.h"

namespace {

constexpr int kStrokesPerNote = 200;
constexpr int kSamplesPerStroke = 150;

storage::ProjectSnapshot Lesson(int notes)
{
    storage::ProjectSnapshot project;
    project.boardSize = QSize(1920, 1080);
    project.pageSize = QSize(1920, 1080);
    storage::SlotSnapshot& slot = project.slotTables[kMouseOverflowSlot];
    for (int n = 0; n < notes; ++n) {
        NoteInfo note;
        note.name = QStringLiteral("WhiteBoard");
        note.path = note.name;
        note.create_data = QStringLiteral("2024010110101%1").arg(n, 3, 10, QLatin1Char('0'));
        note.width = 1920;
        note.height = 1080;
        project.notes.append(note);
    }
    for (int s = 0; s < notes * kStrokesPerNote; ++s) {
        const quint16 id = quint16(s);
        const int x = (s * 37) % 1700, y = (s * 53) % 900;
        EventMaster m;
        m.EventID = id;
        m.Kind = ekFree;
        m.NoteName = project.notes.at(s % notes).create_data;
        slot.masters.append(m);
        EventDetail d;
        d.EventID = id;
        d.S = QPointF(x, y);
        d.E = QPointF(x + kSamplesPerStroke, y + kSamplesPerStroke / 2);
        d.OriginRF = QRect(x, y, kSamplesPerStroke, kSamplesPerStroke / 2);
        d.BoundRF = d.OriginRF;
        d.PenColor = QColor(0, 0, 255);
        d.PenWidth = 3;
        slot.details.append(d);
        for (int i = 0; i < kSamplesPerStroke; ++i) {
            FreePenPoint p;
            p.EventID = id;
            p.MouseAction = i == 0 ? 1 : (i == kSamplesPerStroke - 1 ? 3 : 2);
            p.Press = 0.5f;
            p.S = QPointF(x + i, y + i / 2.0);
            p.M = p.S;
            slot.points.append(p);
        }
    }
    return project;
}

void BM_ProjectSave(benchmark::State& state)
{
    const int notes = int(state.range(0));
    const storage::ProjectSnapshot project = Lesson(notes);
    QTemporaryDir work;
    const QString target = work.filePath(QStringLiteral("lesson.vk"));
    int round = 0;
    for (auto _ : state) {
        const storage::ProjectSaveResult result = storage::SaveProjectFile(
            project, work.path(), QStringLiteral("stamp%1").arg(round++), target, [](const QString&, int) {});
        if (!result.saved)
            state.SkipWithError(result.error.toUtf8().constData());
    }
    state.counters["samples"] = double(notes) * kStrokesPerNote * kSamplesPerStroke;
}

}  // namespace

BENCHMARK(BM_ProjectSave)->Arg(10)->Arg(20)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(2);
