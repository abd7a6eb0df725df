// The per-pointer-move path: one interpolation step and the painting of the
// new piece into a full-HD page, for ten pointers drawing at once; and whole
// strokes (press, moves, release) through the main window, on an empty page
// and on a page full of strokes.
#include <benchmark/benchmark.h>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "board/segment_painter.h"

namespace {

constexpr int kSlots = 10;
constexpr int kMovesPerSlot = 1000;

void BM_FreePenMoves(benchmark::State& state)
{
    QImage page(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    SegmentPaintOptions options;
    options.interpolation = true;
    options.antialiasing = true;
    std::vector<double> perMove;
    perMove.reserve(size_t(kSlots) * kMovesPerSlot * 4);
    long long dirtyArea = 0;
    long long moves = 0;

    for (auto _ : state) {
        BoardModel board;
        board.Init();
        for (int s = 0; s < kSlots; ++s) {
            PointerSlotState& slot = board.slot[s];
            slot.pen = QPen(QBrush(QColor::fromHsv(s * 36, 200, 180)), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            const QPoint start(100 + s * 170, 100);
            slot.anchor = slot.current = start;
            slot.lastSample = start;
            slot.interpolator.ResetWeights();
            slot.interpolator.Begin(start.x(), start.y());
        }
        // The pointers move in turn, as interleaved touch events arrive.
        for (int m = 1; m <= kMovesPerSlot; ++m) {
            for (int s = 0; s < kSlots; ++s) {
                PointerSlotState& slot = board.slot[s];
                slot.current = QPoint(100 + s * 170 + int(60 * std::sin(m / 15.0)),
                                      100 + int(440 * (1 - std::cos(m / 40.0))));
                const auto t0 = std::chrono::steady_clock::now();
                // The move step: record the sample, then paint the new piece.
                FreePenPoint sample;
                sample.EventID = quint16(slot.nextEventId);
                sample.S = DocumentPoint(slot.current, 1.0, 0, 0);
                sample.M = sample.S;
                sample.MouseAction = 2;
                slot.strokePoints.append(sample);
                slot.allPoints.append(sample);
                const QRect dirty = PaintFreePenStep(page, slot, options);
                const auto t1 = std::chrono::steady_clock::now();
                benchmark::DoNotOptimize(dirty);
                perMove.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
                dirtyArea += qint64(dirty.width()) * dirty.height();
                ++moves;
            }
        }
    }
    std::sort(perMove.begin(), perMove.end());
    state.counters["median_us"] = perMove[perMove.size() / 2];
    state.counters["p99_us"] = perMove[std::min(perMove.size() - 1, perMove.size() * 99 / 100)];
    state.counters["mean_dirty_px"] = double(dirtyArea) / double(std::max(1LL, moves));
    state.counters["page_px"] = 1920.0 * 1080.0;
}

// Strokes of `moves` moves drawn through PointerPress, PointerMove and
// PointerRelease on a full-HD window whose page holds `objects` strokes.
// Every call counts as one step, the press and the release included: the
// press must not copy the page and the release must not repaint it.
void BM_StrokesThroughWindow(benchmark::State& state)
{
    bench::OffscreenApplication();
    const int moves = int(state.range(0));
    const int objects = int(state.range(1));
    Dialog board;
    board.resize(1920, 1080);
    board.InitBoardModel();
    board.ResetBoard(false);
    bench::AddStrokes(board.m_board, board.m_curr_note.create_data, objects);
    board.RedrawPageObjects(true);
    board.m_board.slot[0].pen = QPen(QBrush(QColor(200, 0, 0)), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Presses, moves and releases apart, and all steps together.
    std::vector<double> presses, movesTaken, releases, steps;
    int stroke = 0;
    auto timed = [&](std::vector<double>& into, auto&& call) {
        const auto t0 = std::chrono::steady_clock::now();
        call();
        const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
        into.push_back(us);
        steps.push_back(us);
    };
    for (auto _ : state) {
        const int x0 = 100 + (stroke * 97) % 1500;
        const int y0 = 100 + (stroke * 61) % 850;
        ++stroke;
        timed(presses, [&] { board.PointerPress(0, x0, y0, true, false); });
        for (int m = 1; m <= moves; ++m) {
            const int x = x0 + m * 6, y = y0 + int(30 * std::sin(m / 5.0));
            timed(movesTaken, [&] { board.PointerMove(0, x, y, true, false); });
        }
        timed(releases, [&] { board.PointerRelease(0, x0 + moves * 6, y0, true, false); });
        QCoreApplication::processEvents();
    }
    const bench::Spread all = bench::SpreadOf(steps);
    state.counters["median_us"] = all.median;
    state.counters["p99_us"] = all.p99;
    state.counters["worst_us"] = all.worst;
    state.counters["press_p99_us"] = bench::SpreadOf(presses).p99;
    state.counters["move_p99_us"] = bench::SpreadOf(movesTaken).p99;
    state.counters["release_median_us"] = bench::SpreadOf(releases).median;
}

}  // namespace

BENCHMARK(BM_StrokesThroughWindow)
    ->Args({20, 0})
    ->Args({50, 0})
    ->Args({20, 5000})
    ->Args({50, 5000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK(BM_FreePenMoves)->Unit(benchmark::kMillisecond)->Iterations(3);
