// A pen module that answers each transfer only after a second must not
// freeze the board: the window's event loop keeps its pace while the
// keep-alive runs. Measured with the fake module, as the lateness of a 10 ms
// timer on the GUI thread over four seconds of board mode.
#include "app/ui/dialog.h"
#include "bench/board_fixture.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_EventLoopLatencyWithStallingModule(benchmark::State& state)
{
    bench::OffscreenApplication();
    QTemporaryDir dir;
    const QString fake = dir.path() + "/usb.log";
    qputenv("DRAVIK_USB_FAKE", fake.toLocal8Bit());
    qputenv("DRAVIK_USB_FAKE_INTERFACES", "3");
    qputenv("DRAVIK_USB_FAKE_STALL_MS", QByteArray::number(qlonglong(state.range(0))));
    std::vector<double> lateness;
    qint64 shutdownMs = 0;
    int transfers = 0;
    {
        Dialog dialog;
        dialog.m_penDriverConfigPath = dir.path() + "/no-driver/config.ini";
        dialog.CheckPenDriverDevice();
        if (!dialog.m_usbDevice) {
            state.SkipWithError("the fake module did not open");
            return;
        }
        // A window freed earlier in this program asked the application to
        // quit, which would end any event loop at once; a short run of the
        // application's own loop clears that.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        for (auto _ : state) {
            QEventLoop loop;
            QElapsedTimer clock;
            QTimer tick;
            tick.setTimerType(Qt::PreciseTimer);
            qint64 expected = 10;
            QObject::connect(&tick, &QTimer::timeout, [&]() {
                const qint64 now = clock.elapsed();
                lateness.push_back(double(now - expected));
                expected = now + 10;
                if (now >= 4000)
                    loop.quit();
            });
            clock.start();
            tick.start(10);
            loop.exec();
        }
        QElapsedTimer closing;
        closing.start();
        dialog.ShutdownUsbLink();
        shutdownMs = closing.elapsed();
    }
    QFile log(fake);
    if (log.open(QIODevice::ReadOnly))
        transfers = log.readAll().count("bulk ");
    const bench::Spread s = bench::SpreadOf(lateness);
    state.counters["tick_late_median_ms"] = s.median;
    state.counters["tick_late_p99_ms"] = s.p99;
    state.counters["tick_late_worst_ms"] = s.worst;
    state.counters["shutdown_ms"] = double(shutdownMs);
    state.counters["transfers"] = transfers;
}
BENCHMARK(BM_EventLoopLatencyWithStallingModule)->Arg(0)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
