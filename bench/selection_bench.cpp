// Picking on a busy page: 1,000 strokes of 200 samples and 200 figures on the
// shown page and as many on another one. A tap must stay well inside one
// frame (16 ms); select-all, an area pick over the whole canvas, under 300 ms.
#include <benchmark/benchmark.h>

#include "bench/board_fixture.h"
#include "editing/selection.h"

namespace {

const QString kShown = QStringLiteral("shown-page");
const QString kOther = QStringLiteral("other-page");

const BoardModel& BusyBoard()
{
    static BoardModel board = [] {
        BoardModel b;
        b.Init();
        bench::AddStrokes(b, kShown, 1000);
        bench::AddFigures(b, kShown, 200);
        bench::AddStrokes(b, kOther, 1000);
        bench::AddFigures(b, kOther, 200);
        return b;
    }();
    return board;
}

// A tap on empty board walks every object of every slot: the worst case.
void BM_TapPickMiss(benchmark::State& state)
{
    const BoardModel& board = BusyBoard();
    for (auto _ : state)
        benchmark::DoNotOptimize(PickObjectsAtPoint(board, kShown, BoardView(), QPoint(1900, 1070)));
}
BENCHMARK(BM_TapPickMiss)->Unit(benchmark::kMillisecond);

void BM_TapPickHit(benchmark::State& state)
{
    const BoardModel& board = BusyBoard();
    const QPointF onStroke = board.FreePenMap.value(MakeObjectKey(5, 20)).value(100).M;
    size_t picked = 0;
    for (auto _ : state) {
        const auto hits = PickObjectsAtPoint(board, kShown, BoardView(), onStroke.toPoint());
        picked = size_t(hits.size());
        benchmark::DoNotOptimize(picked);
    }
    state.counters["picked"] = double(picked);
}
BENCHMARK(BM_TapPickHit)->Unit(benchmark::kMillisecond);

void BM_AreaPick(benchmark::State& state)
{
    const BoardModel& board = BusyBoard();
    size_t picked = 0;
    for (auto _ : state) {
        const auto hits = PickObjectsInArea(board, kShown, BoardView(), QPoint(600, 300), QPoint(900, 600));
        picked = size_t(hits.size());
        benchmark::DoNotOptimize(picked);
    }
    state.counters["picked"] = double(picked);
}
BENCHMARK(BM_AreaPick)->Unit(benchmark::kMillisecond);

void BM_SelectAll(benchmark::State& state)
{
    const BoardModel& board = BusyBoard();
    size_t picked = 0;
    for (auto _ : state) {
        const auto hits = PickObjectsInArea(board, kShown, BoardView(), QPoint(0, 0), QPoint(1920, 1080));
        picked = size_t(hits.size());
        benchmark::DoNotOptimize(picked);
    }
    state.counters["picked"] = double(picked);
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond);

}  // namespace
