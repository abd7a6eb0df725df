// The page layer on a zoomed, crowded page: how long a stroke's end and a
// scroll step take until the window has painted them. Neither should grow
// with the number of objects on the page.
#include <benchmark/benchmark.h>

#include <QScrollBar>
#include <chrono>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"
#include "ui_dialog.h"

namespace {

struct ZoomedBoard {
    Dialog board;

    explicit ZoomedBoard(int objects)
    {
        board.resize(1920, 1080);
        board.show();
        board.InitBoardModel();
        board.ResetBoard(false);
        board.ConnectSignals();
        bench::AddStrokes(board.m_board, board.m_curr_note.create_data, objects);
        board.ZoomByScale(2.0f);
        board.m_board.slot[0].pen = QPen(QBrush(QColor(200, 0, 0)), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        QCoreApplication::processEvents();
    }
};

double Since(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void Report(benchmark::State& state, const std::vector<double>& times, int fullRedraws)
{
    const bench::Spread spread = bench::SpreadOf(times);
    state.counters["median_ms"] = spread.median;
    state.counters["worst_ms"] = spread.worst;
    state.counters["full_redraws"] = fullRedraws;
}

// From the release of a 40-move stroke until the window has painted it.
void BM_StrokeEndZoomed(benchmark::State& state)
{
    bench::OffscreenApplication();
    ZoomedBoard zoomed(int(state.range(0)));
    Dialog& board = zoomed.board;
    const int redrawsBefore = board.m_fullRedrawCount;
    std::vector<double> ends;
    int stroke = 0;
    for (auto _ : state) {
        const int x0 = 100 + (stroke * 97) % 1500, y0 = 100 + (stroke * 61) % 850;
        ++stroke;
        board.PointerPress(0, x0, y0, true, false);
        for (int m = 1; m <= 40; ++m)
            board.PointerMove(0, x0 + m * 6, y0 + int(30 * std::sin(m / 5.0)), true, false);
        QCoreApplication::processEvents();
        const auto t0 = std::chrono::steady_clock::now();
        board.PointerRelease(0, x0 + 240, y0, true, false);
        board.repaint();
        ends.push_back(Since(t0));
    }
    Report(state, ends, board.m_fullRedrawCount - redrawsBefore);
}

// One step of the scroll bars until the window has painted the new view.
void BM_ScrollZoomed(benchmark::State& state)
{
    bench::OffscreenApplication();
    ZoomedBoard zoomed(int(state.range(0)));
    Dialog& board = zoomed.board;
    QScrollBar* h = board.ui->horizontalScrollBar;
    QScrollBar* v = board.ui->verticalScrollBar;
    const int redrawsBefore = board.m_fullRedrawCount;
    std::vector<double> steps;
    int step = 0;
    for (auto _ : state) {
        ++step;
        const auto t0 = std::chrono::steady_clock::now();
        h->setValue((step * 37) % (h->maximum() + 1));
        v->setValue((step * 23) % (v->maximum() + 1));
        board.repaint();
        steps.push_back(Since(t0));
    }
    Report(state, steps, board.m_fullRedrawCount - redrawsBefore);
}

}  // namespace

BENCHMARK(BM_StrokeEndZoomed)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_ScrollZoomed)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(200);
