// The whiteboard's start on a full-HD X server of its own: from the start of
// the process to the board shown and ready for input (its greeting of the
// pen driver, the last step before the event loop, with its window mapped),
// and the resident memory at that moment. Each round starts a fresh
// whiteboard with its folders below a new root.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/own_display.h"
#include "tests/support/running_program.h"

namespace {

double ResidentMiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void BM_StartToReady(benchmark::State& state)
{
    int argc = 1;
    char name[] = "startup_bench";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    OwnDisplay display;
    if (!display.Start(QStringLiteral("1920x1080x24"))) {
        state.SkipWithError("no X server");
        return;
    }
    Use(display);
    double totalMs = 0, totalMiB = 0;
    int rounds = 0;
    for (auto _ : state) {
        QTemporaryDir root;
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DRAVIK_ROOT"), root.path());
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        environment.insert(QStringLiteral("DRAVIK_NO_WEB_SERVER"), QStringLiteral("1"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        RunningProgram board;
        QElapsedTimer clock;
        clock.start();
        if (!board.start(QStringLiteral("Dravik"), {QStringLiteral("/noAutoUpdate")}, environment)
            || board.waitForLine(QStringLiteral("ConnectPenDriverWindow : "), 30000) < 0) {
            state.SkipWithError("the whiteboard did not come up");
            return;
        }
        const double ms = clock.nsecsElapsed() / 1e6;
        if (WaitForXWindows(QStringLiteral("^Dialog6601$"), 10000, board.pid()).isEmpty()) {
            state.SkipWithError("the whiteboard shows no window");
            return;
        }
        totalMiB += ResidentMiB(board.pid());
        totalMs += ms;
        ++rounds;
        state.SetIterationTime(ms / 1000.0);
        CloseWhiteboard(board);
    }
    state.counters["ready_ms"] = totalMs / rounds;
    state.counters["rss_MiB"] = totalMiB / rounds;
}

}  // namespace

BENCHMARK(BM_StartToReady)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
