// The collaboration relay over loopback: how many live-stroke frames one
// sender gets through to nine receivers, and how long a frame takes through
// the relay at 200 frames per second with ten peers (60 s, or
// DRAVIK_BENCH_SECONDS), with the process's peak memory.
#include <benchmark/benchmark.h>

#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/konnexa_binding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

QCoreApplication& App()
{
    static int argc = 1;
    static char name[] = "relay_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

struct BenchPeer {
    QTcpSocket socket;
    CollFrameBuffer buffer;
    long long frames = 0;
    std::vector<double>* delays = nullptr;
    const QElapsedTimer* clock = nullptr;

    void Read()
    {
        buffer.Append(socket.readAll());
        CollFrame frame;
        while (buffer.Next(&frame) > 0) {
            if (frame.keyword != "REALTIME_EVENT")
                continue;
            ++frames;
            if (delays && clock)
                delays->push_back((clock->nsecsElapsed() - coll::Fields(frame.data).text(5).toLongLong()) / 1e6);
        }
    }
};

// A relay with a host and nine participants, all admitted.
struct Session {
    coll::KonnexaLibrary& konnexa = coll::SharedKonnexa();
    std::vector<std::unique_ptr<BenchPeer>> peers;
    bool ready = false;

    Session()
    {
        App();
        if (!konnexa.bound && !coll::BindKonnexa(konnexa))
            return;
        QTcpServer probe;
        probe.listen(QHostAddress::AnyIPv4, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        if (!konnexa.server_start(port))
            return;
        for (int i = 0; i < 10; ++i) {
            auto peer = std::make_unique<BenchPeer>();
            BenchPeer* raw = peer.get();
            QObject::connect(&raw->socket, &QTcpSocket::readyRead, [raw]() { raw->Read(); });
            raw->socket.connectToHost(QHostAddress::LocalHost, port);
            const QByteArray id = i == 0 ? QByteArray("H") : "P" + QByteArray::number(i);
            raw->socket.write(BuildCollFrame("Connected_OK", id + ",pw," + (i == 0 ? "3" : "2"), coll::kBlockEnd));
            peers.push_back(std::move(peer));
            // The host first, so the others are checked against its password.
            Wait([&]() { return raw->socket.state() == QAbstractSocket::ConnectedState; }, 5000);
            QCoreApplication::processEvents();
        }
        QElapsedTimer settle;
        settle.start();
        Wait([&]() { return settle.elapsed() >= 500; }, 1000);
        ready = true;
    }
    ~Session()
    {
        peers.clear();
        konnexa.server_close();
        konnexa.server_delete();
    }
    template <typename Done>
    static bool Wait(Done done, int timeoutMs)
    {
        // Sleeps between events instead of spinning, so the harness does not
        // take the processor from the relay it measures.
        QTimer wake;
        wake.start(20);
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return done();
    }
};

double PeakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_RelayThroughput(benchmark::State& state)
{
    Session session;
    if (!session.ready) {
        state.SkipWithError("relay did not start");
        return;
    }
    const int frames = 50000;
    double seconds = 0;
    for (auto _ : state) {
        for (auto& peer : session.peers)
            peer->frames = 0;
        QElapsedTimer clock;
        clock.start();
        BenchPeer& sender = *session.peers[0];
        for (int i = 0; i < frames; ++i) {
            sender.socket.write(BuildCollFrame(
                "REALTIME_EVENT", "3,0,2," + QByteArray::number(1000 + i % 900) + ",540,0", coll::kBlockEnd));
            if (i % 500 == 499)
                QCoreApplication::processEvents();
        }
        Session::Wait(
            [&]() {
                for (size_t p = 1; p < session.peers.size(); ++p) {
                    if (session.peers[p]->frames < frames)
                        return false;
                }
                return true;
            },
            120000);
        seconds = clock.nsecsElapsed() / 1e9;
    }
    state.counters["frames_per_s"] = frames / seconds;
    state.counters["deliveries_per_s"] = frames * 9.0 / seconds;
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

void BM_RelayDelay(benchmark::State& state)
{
    Session session;
    if (!session.ready) {
        state.SkipWithError("relay did not start");
        return;
    }
    const int seconds = qEnvironmentVariableIsSet("DRAVIK_BENCH_SECONDS")
                            ? qEnvironmentVariableIntValue("DRAVIK_BENCH_SECONDS")
                            : 60;
    std::vector<double> delays;
    delays.reserve(size_t(seconds) * 200 * 9);
    QElapsedTimer clock;
    for (auto& peer : session.peers) {
        peer->delays = &delays;
        peer->clock = &clock;
    }
    for (auto _ : state) {
        clock.start();
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(5);
        BenchPeer& sender = *session.peers[0];
        int sent = 0;
        QObject::connect(&tick, &QTimer::timeout, [&]() {
            sender.socket.write(BuildCollFrame(
                "REALTIME_EVENT", "3,0,2,960,540," + QByteArray::number(clock.nsecsElapsed()), coll::kBlockEnd));
            ++sent;
        });
        tick.start();
        Session::Wait([&]() { return clock.elapsed() >= seconds * 1000LL; }, seconds * 1000 + 1000);
        tick.stop();
        Session::Wait([&]() { return delays.size() >= size_t(sent) * 9; }, 5000);
        state.counters["frames_sent"] = sent;
    }
    std::sort(delays.begin(), delays.end());
    if (!delays.empty()) {
        state.counters["median_ms"] = delays[delays.size() / 2];
        state.counters["p99_ms"] = delays[std::min(delays.size() - 1, delays.size() * 99 / 100)];
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

}  // namespace

BENCHMARK(BM_RelayThroughput)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayDelay)->Iterations(1)->Unit(benchmark::kMillisecond);
