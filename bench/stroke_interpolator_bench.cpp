#include "board/stroke_interpolator.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

// Counts heap allocations so the benchmark can show the move path makes none.
static std::atomic<long> g_allocations{0};

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

// One AddPoint per pointer-move sample: the cost of smoothing and filling one
// segment of a stroke, measured over 10,000 samples of a wavy pen path.
static void BM_AddPoint(benchmark::State& state)
{
    constexpr int kSamples = 10000;
    std::vector<std::pair<int, int>> samples;
    samples.reserve(kSamples);
    for (int i = 0; i < kSamples; ++i)
        samples.emplace_back(100 + (i * 3) % 1600, 400 + static_cast<int>(200 * std::sin(i * 0.05)));

    StrokeInterpolator interpolator;
    interpolator.AddPoint(0, 0);  // the one-time weight table is not a per-sample cost
    float sink = 0.f;
    long allocations = 0;
    for (auto _ : state) {
        const long before = g_allocations.load();
        interpolator.ResetWeights();
        interpolator.Begin(samples[0].first, samples[0].second);
        for (const auto& [x, y] : samples) {
            const StrokeInterpolator& out = interpolator.AddPoint(x, y);
            sink += out.Output(out.Count() - 1).x;
        }
        allocations += g_allocations.load() - before;
        benchmark::DoNotOptimize(sink);
    }
    state.counters["allocations_per_sample"] =
        static_cast<double>(allocations) / (static_cast<double>(state.iterations()) * kSamples);
    state.SetItemsProcessed(state.iterations() * kSamples);
    state.counters["ns_per_sample"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSamples,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddPoint)->Unit(benchmark::kMillisecond);
