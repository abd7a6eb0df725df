// The board push and the file transfer through the relay on loopback.
// Push: a host's board of N strokes x 200 samples goes out as frames built by
// the push walk and is received into a whiteboard window; the time from
// "DATA_CLEAR" to "REDRAW_SET" and the longest time the window's event loop
// does not come round meanwhile. Document: one window as host sends a 50 MB
// file to three peers; the time until all three have it and the process's
// peak memory (sender and relay share the process).
#include <benchmark/benchmark.h>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"
#include "bench/relay_fixture.h"
#include "collab/board_push.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/konnexa_binding.h"
#include "ui_dialog.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

using bench::Relay;
using bench::Wait;

double PeakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_BoardPushIntoWindow(benchmark::State& state)
{
    const int strokes = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Relay relay;
        QTcpSocket host;
        if (!relay.ready || !Relay::Join(host, relay.port, "[H]_127.0.0.1", 3)) {
            state.SkipWithError("relay did not start");
            return;
        }
        Dialog window;
        window.resize(1920, 1080);
        window.show();
        window.InitBoardModel();
        window.ResetBoard(false);
        if (!relay.JoinWindow(window, 1)) {
            state.SkipWithError("window did not join");
            return;
        }
        BoardModel board;
        const QString page = window.m_curr_note.create_data;
        bench::AddStrokes(board, page, strokes);
        QByteArray frames;
        long long count = 0;
        coll::ForEachPushMessage(board, page, coll::ToEveryone(), coll::kPushAll,
                                 [&](const char* keyword, const QByteArray& data) {
                                     frames += BuildCollFrame(keyword, data, coll::kBlockEnd);
                                     ++count;
                                 });
        frames += BuildCollFrame("DATAINFO_SET", coll::BoardDataInfo(board, coll::ToEveryone(), 3), coll::kBlockEnd);
        frames += BuildCollFrame("REDRAW_SET", coll::RedrawData(coll::ToEveryone(), "FromEventData"),
                                 coll::kBlockEnd);
        state.ResumeTiming();

        // The event loop's heartbeat: the longest gap between two ticks is
        // the longest time the window did not answer.
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0, longest = 0;
        QTimer beat;
        QObject::connect(&beat, &QTimer::timeout, [&]() {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - lastTick);
            lastTick = now;
        });
        beat.start(2);
        qint64 started = -1;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&]() {
            if (started < 0 && window.ui->label_gif->isVisible())
                started = clock.elapsed();
        });
        watch.start(1);
        host.write(frames);
        const bool done = Wait(
            [&]() { return started >= 0 && !window.ui->label_gif->isVisible(); }, 600000);
        const qint64 ended = clock.elapsed();
        state.PauseTiming();
        long long received = 0;
        for (const auto& samples : window.m_board.FreePenMap)
            received += samples.size();
        state.counters["frames"] = double(count + 2);
        state.counters["samples_received"] = double(received);
        state.counters["clear_to_redraw_ms"] = double(ended - std::max<qint64>(started, 0));
        state.counters["longest_unanswered_ms"] = double(longest);
        if (!done)
            state.SkipWithError("the push did not end");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BoardPushIntoWindow)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

struct FilePeer {
    QTcpSocket socket;
    CollFrameBuffer buffer;
    qint64 bytes = 0;
    bool ended = false;

    void Read()
    {
        buffer.Append(socket.readAll());
        CollFrame frame;
        while (buffer.Next(&frame) > 0) {
            if (frame.keyword == "DOC_ST")
                bytes += frame.data.size();
            else if (frame.keyword == "DOC_EN")
                ended = true;
        }
    }
};

void BM_DocumentToThreePeers(benchmark::State& state)
{
    constexpr qint64 kSize = qint64(50) * 1024 * 1024;
    QTemporaryDir dir;
    const QString path = dir.filePath("lesson.pdf");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        QByteArray block(1024 * 1024, 'd');
        for (int i = 0; i < 50; ++i)
            file.write(block);
    }
    for (auto _ : state) {
        state.PauseTiming();
        Relay relay;
        if (!relay.ready) {
            state.SkipWithError("relay did not start");
            return;
        }
        Dialog window;
        window.InitBoardModel();
        if (!relay.JoinWindow(window, 3)) {
            state.SkipWithError("window did not join");
            return;
        }
        std::vector<std::unique_ptr<FilePeer>> peers;
        for (int i = 0; i < 3; ++i) {
            auto peer = std::make_unique<FilePeer>();
            FilePeer* raw = peer.get();
            QObject::connect(&raw->socket, &QTcpSocket::readyRead, [raw]() { raw->Read(); });
            Relay::Join(raw->socket, relay.port, "[P" + QByteArray::number(i) + "]_127.0.0.1", 1);
            peers.push_back(std::move(peer));
        }
        Wait([]() { return false; }, 300);
        window.m_curr_note.path = path;
        const double memoryBefore = PeakMemoryMiB();
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        window.Coll_Send_Doc(0, QString(), 0, QString(), QString());
        const qint64 handedOver = clock.elapsed();
        const bool done = Wait(
            [&]() {
                for (const auto& p : peers) {
                    if (!p->ended)
                        return false;
                }
                return true;
            },
            600000);
        state.PauseTiming();
        state.counters["send_call_ms"] = double(handedOver);
        state.counters["all_three_have_it_ms"] = double(clock.elapsed());
        state.counters["peak_memory_MiB"] = PeakMemoryMiB();
        state.counters["peak_before_MiB"] = memoryBefore;
        for (const auto& p : peers) {
            if (p->bytes != kSize)
                state.SkipWithError("a peer got another size");
        }
        if (!done)
            state.SkipWithError("the file did not arrive");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DocumentToThreePeers)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
