// A toolbar move restyles every toolbar button and lays the bar out again.
// Each iteration is one change to the next of the four docked positions; the
// median and the worst change are reported besides the mean.
#include "app/ui/dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

void BM_ToolbarMove(benchmark::State& state)
{
    QTemporaryDir root;
    qputenv("DRAVIK_ROOT", root.path().toLocal8Bit());
    qputenv("DRAVIK_LIBRARY_DIR", root.path().toLocal8Bit());
    Dialog board;
    board.m_canvasWidth = 1920;
    board.m_canvasHeight = 1080;
    board.m_placement = MakeToolbarPlacement(1920, 1080, 1.0f);
    board.resize(1920, 1080);
    board.InitBoardModel();
    board.ResetBoard(false);
    board.SetButtons();
    board.SetButtonStates();
    board.SetToolbarPosition();
    board.show();
    QApplication::processEvents();

    std::vector<double> ms;
    int next = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        board.m_toolbarPosition = next;
        board.SetModeButtonStates();
        board.SetToolbarPosition();
        // The restyled buttons polish and paint before the change is seen.
        QApplication::processEvents();
        ms.push_back(clock.nsecsElapsed() / 1e6);
        next = (next + 1) % 4;
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms.empty() ? 0 : ms[ms.size() / 2];
    state.counters["worst_ms"] = ms.empty() ? 0 : ms.back();
}
BENCHMARK(BM_ToolbarMove)->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Message boxes of missing libraries must not wait for a click.
    qputenv("DRAVIK_NO_MODAL", "1");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
