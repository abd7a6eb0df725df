// Drawing while the screen is being recorded: whole strokes through the main
// window, stamped with the recording clock, while our capture library grabs a
// 1920 x 1080 screen at 15 fps (argument 1), against the same strokes with no
// recorder running (argument 0). Needs an X display to grab: run it under
// xvfb-run -s "-screen 0 1920x1080x24", pinned to two cores with taskset.
#include <benchmark/benchmark.h>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"
#include "platform/library.h"
#include "tools/capture_functions.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <cmath>
#include <vector>

namespace {

struct Recorder {
    QLibrary library;
    ConfigSettingFunction configSetting = nullptr;
    StartRecordingFunction startRecording = nullptr;
    StopRecordingFunction stopRecording = nullptr;
    ReadLineDataFunction readLineData = nullptr;

    bool load()
    {
        if (!platform::LoadOutsideLibrary(library, QStringLiteral("Vidorra.dll")))
            return false;
        configSetting = platform::ResolveFunction<ConfigSettingFunction>(library, "ConfigSetting");
        startRecording = platform::ResolveFunction<StartRecordingFunction>(library, "StartRecording");
        stopRecording = platform::ResolveFunction<StopRecordingFunction>(library, "StopRecording");
        readLineData = platform::ResolveFunction<ReadLineDataFunction>(library, "ReadLineData");
        return configSetting && startRecording && stopRecording && readLineData;
    }

    // A screen recording at 15 fps, running once its first progress line came.
    bool start(const QString& folder)
    {
        configSetting(folder, QStringLiteral("bench.mp4"), QString(), QStringLiteral("none"),
                      QStringLiteral("1920x1080"), 2, 1, 2, 1, 1);
        if (!startRecording(2))
            return false;
        for (int poll = 0; poll < 3000; ++poll) {
            if (readLineData().lastIndexOf(QLatin1String("time=")) > 0)
                return true;
            QThread::msleep(10);
        }
        stopRecording();
        return false;
    }
};

void BM_StrokesWhileScreenRecording(benchmark::State& state)
{
    bench::OffscreenApplication();
    const bool recording = state.range(0) != 0;
    QTemporaryDir folder;
    Recorder recorder;
    if (recording && (!recorder.load() || !recorder.start(folder.path()))) {
        state.SkipWithError("no screen recording (is there an X display?)");
        return;
    }

    Dialog board;
    board.resize(1920, 1080);
    board.InitBoardModel();
    board.ResetBoard(false);
    board.m_board.slot[0].pen = QPen(QBrush(QColor(200, 0, 0)), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    board.m_bRecording = recording;
    board.m_rec_time.start();

    std::vector<double> moves;
    int stroke = 0;
    for (auto _ : state) {
        const int x0 = 100 + (stroke * 97) % 1500;
        const int y0 = 100 + (stroke * 61) % 850;
        ++stroke;
        board.PointerPress(0, x0, y0, true, false);
        for (int m = 1; m <= 50; ++m) {
            const int x = x0 + m * 6, y = y0 + int(30 * std::sin(m / 5.0));
            const auto t0 = std::chrono::steady_clock::now();
            board.PointerMove(0, x, y, true, false);
            moves.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        }
        board.PointerRelease(0, x0 + 300, y0, true, false);
        QCoreApplication::processEvents();
    }
    board.m_bRecording = false;
    if (recording)
        recorder.stopRecording();
    const bench::Spread spread = bench::SpreadOf(moves);
    state.counters["move_median_us"] = spread.median;
    state.counters["move_p99_us"] = spread.p99;
    state.counters["move_worst_us"] = spread.worst;
}

}  // namespace

BENCHMARK(BM_StrokesWhileScreenRecording)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(300);
