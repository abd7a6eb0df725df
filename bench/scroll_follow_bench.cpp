#include "board/board_model.h"
#include "board/page_render.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// `count` strokes of 200 samples on a 1920 x 1080 board, painted once into
// the full page image at zoom 2.0 (3840 x 2160), as the zoom leaves it.
QImage ZoomedPage(int count)
{
    BoardModel board;
    board.Init();
    for (int i = 0; i < count; ++i) {
        PointerSlotState& s = board.slot[i % kPointerSlotCount];
        const quint16 id = quint16(s.nextEventId++);
        EventMaster em;
        em.EventID = id;
        em.Kind = ekFree;
        em.NoteName = QStringLiteral("page");
        em.Slot = quint16(i % kPointerSlotCount);
        EventDetail ed;
        ed.EventID = id;
        ed.PenColor = QColor(160, 20, 20);
        ed.PenWidth = 3;
        QVector<FreePenPoint> samples(200);
        for (int k = 0; k < samples.size(); ++k) {
            FreePenPoint& fp = samples[k];
            fp.EventID = id;
            fp.S = fp.M = QPointF(30 + (i * 41) % 1700 + k * 0.9, 30 + (i * 29) % 1000 + 20 * std::cos(k * 0.1));
            fp.MouseAction = 2;
        }
        ed.S = ed.M = samples.first().M;
        ed.E = ed.C = samples.last().M;
        s.records.appendMaster(em);
        s.records.appendDetail(ed);
        board.FreePenMap.insert(MakeObjectKey(em.Slot, id), samples);
    }
    QImage page(3840, 2160, QImage::Format_RGB32);
    page.fill(Qt::white);
    PageRenderOptions options;
    options.zoom = 2.0;
    PaintPageObjects(page, board, QStringLiteral("page"), true, {}, nullptr, options);
    return page;
}

// 200 steps of the horizontal scroll bar across the zoomed page. The time
// per step must not grow with the number of objects on it.
void BM_FollowHorizontalScroll(benchmark::State& state)
{
    const QImage page = ZoomedPage(int(state.range(0)));
    const int steps = 200;
    const int range = page.width() - 1920;
    QImage view;
    for (auto _ : state) {
        for (int i = 0; i < steps; ++i) {
            CutPageView(view, page, QRect(i * range / steps, 540, 1920, 1080));
            benchmark::DoNotOptimize(view.constBits());
        }
    }
    state.counters["per_step_us"] = benchmark::Counter(double(steps) * state.iterations(),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                       benchmark::Counter::kIs1000);
}
BENCHMARK(BM_FollowHorizontalScroll)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
