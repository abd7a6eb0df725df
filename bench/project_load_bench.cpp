// Opening a large lesson on the real main window, from the open command's
// start of the load to the first page shown: N x 30 notes, N x 9,000
// free-pen strokes of 150 samples (300 strokes a page, N x 1.35 M samples)
// spread over the eleven slots, and N x 20 image objects. Run with N = 1, 2 and 3: the time
// must grow with the lesson (linearly), not with its square.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"
#include "board/event_kind.h"
#include "storage/project_file.h"
#include "storage/ui/progressdlg.h"

namespace {

constexpr int kNotes = 30;
constexpr int kStrokes = 9000;
constexpr int kSamplesPerStroke = 150;
constexpr int kImages = 20;

storage::ProjectSnapshot Lesson(int factor, const QString& mediaFolder)
{
    storage::ProjectSnapshot project;
    project.boardSize = QSize(1920, 1080);
    project.pageSize = QSize(1920, 1080);
    const int notes = kNotes * factor;
    for (int n = 0; n < notes; ++n) {
        NoteInfo note;
        note.name = note.path = QStringLiteral("WhiteBoard");
        note.create_data = QStringLiteral("2024010110101%1").arg(n, 4, 10, QLatin1Char('0'));
        note.width = 1920;
        note.height = 1080;
        project.notes.append(note);
    }
    for (int i = 0; i < kImages * factor; ++i) {
        QImage picture(200, 150, QImage::Format_RGB32);
        picture.fill(QColor(i * 10 % 255, 120, 200));
        const QString file = mediaFolder + QStringLiteral("/picture%1.png").arg(i);
        picture.save(file);
        project.mediaFiles << file;
    }
    auto add = [&](int slot, const EventMaster& em, const EventDetail& ed) {
        project.slotTables[slot].masters << em;
        project.slotTables[slot].details << ed;
    };
    std::array<quint16, kPointerSlotCount> next{};
    for (int s = 0; s < kStrokes * factor; ++s) {
        const int slot = s % kPointerSlotCount;
        const quint16 id = next[slot]++;
        const int x = 40 + (s * 37) % 1700, y = 40 + (s * 53) % 900;
        EventMaster em;
        em.EventID = id;
        em.Kind = ekFree;
        em.Slot = quint16(slot);
        em.NoteName = project.notes.at(s % notes).create_data;
        EventDetail ed;
        ed.EventID = id;
        ed.S = ed.M = QPointF(x, y);
        ed.E = ed.C = QPointF(x + kSamplesPerStroke, y + kSamplesPerStroke / 2);
        ed.OriginRF = ed.BoundRF = QRect(x, y, kSamplesPerStroke, kSamplesPerStroke / 2);
        ed.PenColor = QColor(0, 0, 255);
        ed.PenWidth = 3;
        add(slot, em, ed);
        for (int i = 0; i < kSamplesPerStroke; ++i) {
            FreePenPoint p;
            p.EventID = id;
            p.MouseAction = i == 0 ? 1 : (i == kSamplesPerStroke - 1 ? 3 : 2);
            p.S = p.M = QPointF(x + i, y + i / 2.0);
            project.slotTables[slot].points.append(p);
        }
    }
    for (int i = 0; i < kImages * factor; ++i) {
        const int slot = i % kPointerSlotCount;
        EventMaster em;
        em.EventID = next[slot]++;
        em.Kind = ekImage;
        em.StrData = quint16(i);
        em.Slot = quint16(slot);
        em.NoteName = project.notes.at(i % notes).create_data;
        EventDetail ed;
        ed.EventID = em.EventID;
        ed.M = ed.S = QPointF(100 + i * 20, 100);
        ed.OriginRF = ed.BoundRF = QRect(100 + i * 20, 100, 200, 150);
        add(slot, em, ed);
    }
    return project;
}

void BM_ProjectLoad(benchmark::State& state)
{
    bench::OffscreenApplication();
    const int factor = int(state.range(0));
    QTemporaryDir files;
    const storage::ProjectSnapshot project = Lesson(factor, files.path());
    const QString path = files.filePath(QStringLiteral("lesson.vk"));
    QDir().mkpath(files.filePath(QStringLiteral("stage")));
    const storage::ProjectSaveResult saved = storage::SaveProjectFile(
        project, files.filePath(QStringLiteral("stage/")), QStringLiteral("s"), path, [](const QString&, int) {});
    if (!saved.saved) {
        state.SkipWithError(saved.error.toUtf8().constData());
        return;
    }
    Dialog window;
    window.InitDialog(false);
    window.resize(1920, 1080);
    window.UpdateViewSize();
    for (auto _ : state) {
        state.PauseTiming();
        window.ResetBoard(true);
        window.m_note_list.clear();
        state.ResumeTiming();
        window.StartProjectLoad(path);
        while (window.m_ThreadPrjLoad.isRunning() || window.m_progressDlg->isVisible())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (window.m_note_list.size() != project.notes.size())
            state.SkipWithError("the lesson did not load");
    }
    state.counters["notes"] = double(project.notes.size());
    state.counters["samples"] = double(kStrokes) * factor * kSamplesPerStroke;
}

}  // namespace

BENCHMARK(BM_ProjectLoad)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(2);
