// What a participant's window does with the host's live input, through the
// relay on loopback.
// Stroke: the host's pointer moves go out as "REALTIME_EVENT" frames at 200
// per second; the latency of each from its write on the host's socket to the
// participant's window painting the segment it ends (median, 99th
// percentile, worst).
// Edit burst: the host moves 500 objects at once, one "MODIFY_SET" each in a
// single write; the time until the participant's screen is still (its last
// paint) and how often the page was redrawn.
#include <benchmark/benchmark.h>

#include "bench/relay_fixture.h"

#include <QEvent>
#include <QHash>

#include <vector>

namespace {

// Paint events of a window, with the clock time of each.
class PaintWatch : public QObject
{
public:
    PaintWatch(QWidget* window, const QElapsedTimer& clock) : m_clock(clock) { window->installEventFilter(this); }
    std::function<void(qint64)> onPaint;
    qint64 lastPaint = -1;
    int paints = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            lastPaint = m_clock.nsecsElapsed();
            ++paints;
            if (onPaint)
                onPaint(lastPaint);
        }
        return false;
    }

private:
    const QElapsedTimer& m_clock;
};

struct Session {
    bench::Relay relay;
    QTcpSocket host;
    std::unique_ptr<Dialog> window;

    bool Start(QSize size)
    {
        if (!relay.ready || !bench::Relay::Join(host, relay.port, "[H]_127.0.0.1", 3))
            return false;
        window = std::make_unique<Dialog>();
        window->resize(size);
        window->show();
        window->InitBoardModel();
        window->ResetBoard(false);
        window->m_canvasWidth = size.width();
        window->m_canvasHeight = size.height();
        if (!relay.JoinWindow(*window, 1))
            return false;
        for (PointerSlotState& s : window->m_board.slot)
            s.event_kind = ekFree;
        host.write(BuildCollFrame("RESOLUTION_SET",
                                  coll::ResolutionData(coll::ToEveryone(), 3, size.width(), size.height()),
                                  coll::kBlockEnd));
        bench::Wait([]() { return false; }, 200);
        return true;
    }
};

void BM_StrokeLatency(benchmark::State& state)
{
    // 2.5 s of drawing across the visible part of the offscreen screen.
    constexpr int kMoves = 500;
    constexpr int kSlot = 0;
    constexpr int kLeft = 150;
    for (auto _ : state) {
        state.PauseTiming();
        Session session;
        if (!session.Start(QSize(800, 600))) {
            state.SkipWithError("the session did not start");
            return;
        }
        Dialog& window = *session.window;
        QElapsedTimer clock;
        clock.start();
        // Move i goes to x = kLeft + i: where the window's slot stands tells
        // which moves it has drawn into its image (applied) and which a
        // paint of the window shows (painted).
        std::vector<qint64> sent(kMoves, -1), applied(kMoves, -1), painted(kMoves, -1);
        int sentCount = 0, appliedCount = 0, paintedCount = 0;
        const auto reached = [&](std::vector<qint64>& when, int& count, qint64 now) {
            const int upTo = std::min(sentCount, window.m_board.slot[kSlot].current.x() - kLeft + 1);
            for (; count < upTo; ++count)
                when[count] = now;
        };
        PaintWatch watch(&window, clock);
        watch.onPaint = [&](qint64 now) { reached(painted, paintedCount, now); };
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&]() { reached(applied, appliedCount, clock.nsecsElapsed()); });
        poll.start(0);
        session.host.write(BuildCollFrame("REALTIME_EVENT", coll::RealtimeEventData(ekFree, kSlot, 1, kLeft - 1, 300),
                                          coll::kBlockEnd));
        bench::Wait([&]() { return window.m_board.slot[kSlot].pressed; }, 5000);
        state.ResumeTiming();

        // 200 moves per second: one every 5 ms.
        const qint64 start = clock.nsecsElapsed();
        for (int i = 0; i < kMoves; ++i) {
            while (clock.nsecsElapsed() < start + qint64(i) * 5000000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            const int y = 300 + int(30 * std::sin(i * 0.05));
            session.host.write(BuildCollFrame("REALTIME_EVENT",
                                              coll::RealtimeEventData(ekFree, kSlot, 2, kLeft + i, y), coll::kBlockEnd));
            session.host.flush();
            sent[i] = clock.nsecsElapsed();
            sentCount = i + 1;
        }
        const bool done = bench::Wait([&]() { return paintedCount >= kMoves; }, 10000);
        state.PauseTiming();
        std::vector<double> toImage, toScreen;
        for (int i = 0; i < kMoves; ++i) {
            if (applied[i] >= 0)
                toImage.push_back((applied[i] - sent[i]) / 1e6);
            if (painted[i] >= 0)
                toScreen.push_back((painted[i] - sent[i]) / 1e6);
        }
        const bench::Spread image = bench::SpreadOf(toImage);
        const bench::Spread screen = bench::SpreadOf(toScreen);
        state.counters["drawn_median_ms"] = image.median;
        state.counters["drawn_p99_ms"] = image.p99;
        state.counters["painted_median_ms"] = screen.median;
        state.counters["painted_p99_ms"] = screen.p99;
        state.counters["painted_worst_ms"] = screen.worst;
        state.counters["moves_painted"] = double(toScreen.size());
        if (!done)
            state.SkipWithError("not every move was painted");
        session.host.write(BuildCollFrame("REALTIME_EVENT",
                                          coll::RealtimeEventData(ekFree, kSlot, 3, kLeft + kMoves, 300), coll::kBlockEnd));
        bench::Wait([&]() { return !window.m_board.slot[kSlot].pressed; }, 5000);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StrokeLatency)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_EditBurst(benchmark::State& state)
{
    const int objects = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Session session;
        if (!session.Start(QSize(1920, 1080))) {
            state.SkipWithError("the session did not start");
            return;
        }
        Dialog& window = *session.window;
        bench::AddFigures(window.m_board, window.m_curr_note.create_data, objects);
        window.RedrawPageObjects(true);
        bench::Wait([]() { return false; }, 300);
        QByteArray burst;
        QVector<int> nextOfSlot(kPointerSlotCount, 0);
        for (int i = 0; i < objects; ++i) {
            const int slot = (i * 7) % kPointerSlotCount;
            const QPoint c[4] = {{100, 100}, {300, 100}, {300, 200}, {100, 200}};
            burst += BuildCollFrame("MODIFY_SET",
                                    coll::ModifyMoveData(slot, quint16(nextOfSlot[slot]++), 40, 25, c, i + 1, objects, 3),
                                    coll::kBlockEnd);
        }
        const int redrawsBefore = window.m_fullRedrawCount;
        QElapsedTimer clock;
        clock.start();
        PaintWatch watch(&window, clock);
        state.ResumeTiming();
        session.host.write(burst);
        session.host.flush();
        // Still: every edit applied, the redraw done, and no paint for 300 ms.
        const auto applied = [&]() {
            return window.m_fullRedrawCount > redrawsBefore && !window.m_collRedrawQueued && !window.m_collReadQueued;
        };
        const bool done = bench::Wait(
            [&]() { return applied() && watch.lastPaint >= 0 && clock.nsecsElapsed() - watch.lastPaint > 300000000; },
            60000);
        state.PauseTiming();
        state.counters["still_after_ms"] = watch.lastPaint / 1e6;
        state.counters["page_redraws"] = double(window.m_fullRedrawCount - redrawsBefore);
        state.counters["paints"] = double(watch.paints);
        if (!done)
            state.SkipWithError("the screen did not come to rest");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditBurst)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

