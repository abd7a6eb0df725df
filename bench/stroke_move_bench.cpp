// The per-pointer-move path: one interpolation step and the painting of the
// new piece into a full-HD page, for ten pointers drawing at once.
#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK(BM_FreePenMoves)->Unit(benchmark::kMillisecond)->Iterations(3);
