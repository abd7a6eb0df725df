// Turning an instrument: each move of its turning handle repaints the window
// and sets its shape again. One run is 600 moves of the held handle around
// the instrument's centre, each one painted before the next; the mean and the
// 95th percentile of a move are reported, per instrument and screen size.
#include "tools/ui/tooldlg_compass.h"
#include "tools/ui/tooldlg_protractor.h"
#include "tools/ui/tooldlg_ruler.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QtMath>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<ToolDlgBase> MakeInstrument(int kind)
{
    switch (kind) {
    case 0:
        return std::make_unique<ToolDlg_Ruler>();
    case 1:
        return std::make_unique<ToolDlg_Compass>();
    default:
        return std::make_unique<ToolDlg_Protractor>();
    }
}

void Send(QWidget* target, QEvent::Type type, QPoint global)
{
    QCursor::setPos(global);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, target->mapFromGlobal(global), global, Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void BM_TurnInstrument(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    const QRect screen(0, 0, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    std::unique_ptr<ToolDlgBase> instrument = MakeInstrument(kind);
    instrument->SetScreenRect(screen);
    instrument->show();
    QApplication::processEvents();
    QLabel* handle = instrument->findChild<QLabel*>(QStringLiteral("label_Angle"));
    const QPoint centre = instrument->mapToGlobal(instrument->InstrumentRect().center());

    std::vector<double> ms;
    for (auto _ : state) {
        Send(handle, QEvent::MouseButtonPress, handle->mapToGlobal(handle->rect().center()));
        for (int i = 0; i < 600; ++i) {
            const double a = qDegreesToRadians(i * 0.6);
            const QPoint to = centre + QPoint(qRound(250 * std::sin(a)), qRound(-250 * std::cos(a)));
            QElapsedTimer clock;
            clock.start();
            Send(handle, QEvent::MouseMove, to);
            // The repaint the move asked for, with its new shape.
            QApplication::processEvents();
            ms.push_back(clock.nsecsElapsed() / 1e6);
        }
        Send(handle, QEvent::MouseButtonRelease, centre);
        QApplication::processEvents();
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    state.counters["mean_ms"] = ms.empty() ? 0 : sum / ms.size();
    state.counters["p95_ms"] = ms.empty() ? 0 : ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
}
BENCHMARK(BM_TurnInstrument)
    ->ArgNames({"instrument", "width", "height"})
    ->Args({0, 1920, 1080})
    ->Args({1, 1920, 1080})
    ->Args({2, 1920, 1080})
    ->Args({0, 3840, 2160})
    ->Args({1, 3840, 2160})
    ->Args({2, 3840, 2160})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
