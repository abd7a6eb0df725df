// The area eraser, move all, erase all and undo/redo on busy pages.
// - One eraser movement on a page with 1,000 strokes of 200 samples and 200
//   figures: aim under 8 ms (a movement that erases nothing; one that erases
//   also redraws the page, shown apart).
// - One move-all step on the same page: aim under 30 ms.
// - Erase all, undo and redo of it on 5,000 objects: aim under 500 ms each.
#include <benchmark/benchmark.h>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"
#include "editing/path_erase.h"

#include <chrono>
#include <vector>

namespace {

// The strokes' samples also stand in their slots' full lists, as drawn ones do.
void FillFullLists(BoardModel& board)
{
    for (auto it = board.FreePenMap.cbegin(); it != board.FreePenMap.cend(); ++it) {
        int slot = 0, id = 0;
        if (ParseObjectKey(it.key(), &slot, &id))
            board.slot[slot].allPoints += it.value();
    }
}

// The application must stand before the window is made.
struct OffscreenFirst {
    OffscreenFirst() { bench::OffscreenApplication(); }
};

struct BusyWindow : OffscreenFirst {
    Dialog board;
    explicit BusyWindow(int strokes, int figures)
    {
        board.resize(1920, 1080);
        board.InitBoardModel();
        board.ResetBoard(false);
        bench::AddStrokes(board.m_board, board.m_curr_note.create_data, strokes);
        bench::AddFigures(board.m_board, board.m_curr_note.create_data, figures);
        FillFullLists(board.m_board);
        board.RedrawPageObjects(true);
    }
};

double Ms(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

void Report(benchmark::State& state, std::vector<double> ms)
{
    const bench::Spread s = bench::SpreadOf(std::move(ms));
    state.counters["median_ms"] = s.median;
    state.counters["p99_ms"] = s.p99;
    state.counters["worst_ms"] = s.worst;
}

// The hit test of one movement across the page, nothing in the window.
void BM_EraserPick(benchmark::State& state)
{
    BoardModel board;
    board.Init();
    bench::AddStrokes(board, "page", 1000);
    bench::AddFigures(board, "page", 200);
    size_t hits = 0;
    int step = 0;
    for (auto _ : state) {
        const QPoint a(100 + (step * 37) % 1700, 100 + (step * 53) % 900);
        ++step;
        hits = size_t(PickObjectsAlongPath(board, "page", BoardView(), a, a + QPoint(12, 9)).size());
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits_last"] = double(hits);
}
BENCHMARK(BM_EraserPick)->Unit(benchmark::kMillisecond);

// Eraser movements through the window's move primitive over empty board
// (erasing nothing), and across ink (each erasing and redrawing).
void BM_EraserMovementThroughWindow(benchmark::State& state)
{
    const bool acrossInk = state.range(0) != 0;
    BusyWindow w(1000, 200);
    Dialog& board = w.board;
    board.m_board.slot[0].event_kind = ekAreaEraser;
    std::vector<double> ms;
    int step = 0;
    for (auto _ : state) {
        // Empty board: the right edge, past every object of the fixture.
        const QPoint a = acrossInk ? QPoint(100 + (step * 37) % 1600, 100 + (step * 53) % 850)
                                   : QPoint(1912, 60 + step % 900);
        ++step;
        board.PointerPress(0, a.x(), a.y(), true, false);
        const auto t0 = std::chrono::steady_clock::now();
        board.PointerMove(0, a.x() + 8, a.y() + 30, true, false);
        ms.push_back(Ms(t0));
        board.PointerRelease(0, a.x() + 8, a.y() + 30, true, false);
    }
    Report(state, ms);
}
BENCHMARK(BM_EraserMovementThroughWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200);

// One move-all step (a pointer move of the drag) on the same page.
void BM_MoveAllStep(benchmark::State& state)
{
    BusyWindow w(1000, 200);
    Dialog& board = w.board;
    board.m_board.slot[0].event_kind = ekMoveAll;
    board.PointerPress(0, 900, 500, true, false);
    std::vector<double> ms;
    int step = 0;
    for (auto _ : state) {
        ++step;
        const auto t0 = std::chrono::steady_clock::now();
        board.PointerMove(0, 900 + (step % 2 ? 3 : -3), 500 + (step % 2 ? 2 : -2), true, false);
        ms.push_back(Ms(t0));
    }
    const auto t0 = std::chrono::steady_clock::now();
    board.PointerRelease(0, 900, 500, true, false);
    state.counters["release_ms"] = Ms(t0);
    Report(state, ms);
}
BENCHMARK(BM_MoveAllStep)->Unit(benchmark::kMillisecond)->Iterations(100);

// Erase all of 5,000 objects (4,000 strokes and 1,000 figures), its undo and
// its redo, each timed whole, redraw included.
void BM_EraseAllUndoRedo(benchmark::State& state)
{
    BusyWindow w(4000, 1000);
    Dialog& board = w.board;
    std::vector<double> erase, undo, redo;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        board.NoteEraseAll(true);
        erase.push_back(Ms(t0));
        t0 = std::chrono::steady_clock::now();
        board.OptUndo();
        undo.push_back(Ms(t0));
        t0 = std::chrono::steady_clock::now();
        board.OptRedo();
        redo.push_back(Ms(t0));
        board.OptUndo();
    }
    state.counters["entries"] = double(board.m_undo.URList.size());
    state.counters["erase_ms"] = bench::SpreadOf(erase).median;
    state.counters["undo_ms"] = bench::SpreadOf(undo).median;
    state.counters["redo_ms"] = bench::SpreadOf(redo).median;
}
BENCHMARK(BM_EraseAllUndoRedo)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
