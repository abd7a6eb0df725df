// Undo and redo of one stroke on a page of 1,000 and 5,000 strokes of 200
// samples (full HD): aim at one frame, 16 ms, at 5,000. Each is timed whole
// through the window's undo command, repaint included; beside it the full
// redraw of the same page, which is what an undo cost when it repainted
// every object.
#include <benchmark/benchmark.h>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"

#include <chrono>
#include <vector>

namespace {

struct OffscreenFirst {
    OffscreenFirst() { bench::OffscreenApplication(); }
};

struct StrokePage : OffscreenFirst {
    Dialog board;
    explicit StrokePage(int strokes)
    {
        board.resize(1920, 1080);
        board.InitBoardModel();
        board.ResetBoard(false);
        bench::AddStrokes(board.m_board, board.m_curr_note.create_data, strokes);
        // The newest stroke was drawn by hand: its creation is the step to
        // take back.
        const int slot = (strokes - 1) % kPointerSlotCount;
        const SlotRecords& records = board.m_board.slot[slot].records;
        board.InsertURList(URKindAdd, slot, records.masters().last(), records.details().last(), ErasePoint(),
                           PreData(), 1, 1, QPoint());
        board.RedrawPageObjects(true);
    }
};

double Ms(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

void BM_UndoOneStroke(benchmark::State& state)
{
    StrokePage page(int(state.range(0)));
    Dialog& board = page.board;
    std::vector<double> undo, redo, full;
    const int fullBefore = board.m_fullRedrawCount;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        board.OptUndo();
        undo.push_back(Ms(t0));
        t0 = std::chrono::steady_clock::now();
        board.OptRedo();
        redo.push_back(Ms(t0));
    }
    state.counters["full_redraws_in_undo"] = double(board.m_fullRedrawCount - fullBefore);
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        board.RedrawPageObjects(true);
        full.push_back(Ms(t0));
    }
    state.counters["undo_ms"] = bench::SpreadOf(undo).median;
    state.counters["undo_p99_ms"] = bench::SpreadOf(undo).p99;
    state.counters["redo_ms"] = bench::SpreadOf(redo).median;
    state.counters["full_redraw_ms"] = bench::SpreadOf(full).median;
}
BENCHMARK(BM_UndoOneStroke)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace
