// What a page costs in memory: the main window on a full-HD board, before
// anything is drawn (the start), then after each of eight pages added in a
// session, each holding 5,000 figures (argument 0) or 1,000 free-pen strokes
// of 200 samples (argument 1) and shown once. Prints the resident and the
// peak memory at start, the page-sized pictures the window holds, and the
// growth a page brings beyond what its records take themselves.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QSet>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"
#include "board/note_pages.h"

namespace {

constexpr int kPages = 8;
constexpr int kFiguresPerPage = 5000;
constexpr int kStrokesPerPage = 1000;

// VmRSS or VmHWM of this process, in MiB.
double StatusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

double RecordsMiB(const BoardModel& board)
{
    double bytes = 0;
    for (const PointerSlotState& s : board.slot)
        bytes += s.records.masters().size() * double(sizeof(EventMaster)) +
                 s.records.details().size() * double(sizeof(EventDetail)) +
                 s.allPoints.size() * double(sizeof(FreePenPoint));
    for (const QVector<FreePenPoint>& stroke : board.FreePenMap)
        bytes += stroke.size() * double(sizeof(FreePenPoint));
    return bytes / (1024.0 * 1024.0);
}

// The page-sized pictures the window holds, each buffer counted once, in MiB,
// with the names of the members holding them.
double PagePicturesMiB(const Dialog& w, QString* names)
{
    const std::pair<const char*, const QImage*> held[] = {
        {"background", &w.m_backgroundImage},     {"view", &w.m_viewImage},
        {"backup", &w.m_backupImage},             {"canvas", &w.m_canvasImage},
        {"target", &w.m_targetImage},             {"savedView", &w.m_savedViewImage},
        {"savedBackground", &w.m_savedBackgroundImage}, {"alternative", &w.m_alternativeImage},
        {"zoomBase", &w.m_zoomBaseImage},         {"moveAll", &w.m_moveAllLayer},
        {"backgroundPicture", &w.m_backgroundPicture}};
    QSet<const uchar*> seen;
    double bytes = 0;
    for (const auto& [name, image] : held) {
        if (image->isNull() || image->width() * image->height() < 640 * 480)
            continue;
        const uchar* bits = image->constBits();
        *names += QString::fromLatin1(name) + (seen.contains(bits) ? QStringLiteral("(shared) ") : QStringLiteral(" "));
        if (!seen.contains(bits))
            bytes += double(image->sizeInBytes());
        seen.insert(bits);
    }
    return bytes / (1024.0 * 1024.0);
}

void BM_PageMemory(benchmark::State& state)
{
    bench::OffscreenApplication();
    const auto addObjects = [&state](BoardModel& board, const QString& note) {
        if (state.range(0) == 0)
            bench::AddFigures(board, note, kFiguresPerPage);
        else
            bench::AddStrokes(board, note, kStrokesPerPage);
    };
    for (auto _ : state) {
        Dialog window;
        window.InitDialog(false);
        window.resize(1920, 1080);
        window.UpdateViewSize();
        window.ResetBoard(true);
        QCoreApplication::processEvents();
        QString startNames;
        state.counters["start_pictures_MiB"] = PagePicturesMiB(window, &startNames);
        const double startRss = StatusMiB("VmRSS:");
        const double startPeak = StatusMiB("VmHWM:");
        addObjects(window.m_board, window.m_curr_note.create_data);
        window.NoteChangeWorker();
        QCoreApplication::processEvents();
        const double oneRss = StatusMiB("VmRSS:");
        const double oneRecords = RecordsMiB(window.m_board);
        for (int p = 1; p < kPages; ++p) {
            window.CreateNotePage(kBoardPage, QLatin1String(kWhiteBoardName), QLatin1String(kWhiteBoardName), false);
            addObjects(window.m_board, window.m_curr_note.create_data);
            window.NoteChangeWorker();
            QCoreApplication::processEvents();
        }
        const double allRss = StatusMiB("VmRSS:");
        QString endNames;
        state.counters["end_pictures_MiB"] = PagePicturesMiB(window, &endNames);
        state.SetLabel(("start: " + startNames + "| end: " + endNames).toStdString());
        const double perPage = (allRss - oneRss) / (kPages - 1);
        const double recordsPerPage = (RecordsMiB(window.m_board) - oneRecords) / (kPages - 1);
        state.counters["start_rss_MiB"] = startRss;
        state.counters["start_peak_MiB"] = startPeak;
        state.counters["page_MiB"] = perPage;
        state.counters["page_records_MiB"] = recordsPerPage;
        state.counters["page_beyond_records_MiB"] = perPage - recordsPerPage;
        state.counters["end_peak_MiB"] = StatusMiB("VmHWM:");
    }
}

}  // namespace

BENCHMARK(BM_PageMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
