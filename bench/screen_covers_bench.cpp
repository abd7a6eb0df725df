// The navigator on every scroll step, and the spotlight's hole following a
// drag. Each iteration is a whole run; the counters give the time per call.
// Under a real X server (QT_QPA_PLATFORM=xcb) the hole move includes the
// window system's shape change.
#include "tools/ui/navi.h"
#include "tools/ui/spot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

QImage ZoomedPage()
{
    QImage page(3840, 2160, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setPen(QPen(Qt::black, 4));
    for (int i = 0; i < 200; ++i)
        p.drawLine(i * 19, 0, 3840 - i * 19, 2160);
    return page;
}

// 500 scroll steps over the same page, as a drag of a scroll bar gives them.
void BM_NaviScrollStep(benchmark::State& state)
{
    const bool repaintedEachStep = state.range(0) != 0;
    QWidget board;
    board.resize(1920, 1080);
    navi n(&board);
    n.InitDialog(1920, 1080);
    n.SetNaviGeometry(3840, 2160, 2.0f);
    QImage page = ZoomedPage();
    const int steps = 500;
    double perCall = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < steps; ++i) {
            // The board painted into its page since the last step.
            if (repaintedEachStep)
                page.setPixel(i, i, 0xff0000);
            n.SetBoardImage(i * 1920 / steps, i * 1080 / steps, page);
        }
        perCall = clock.nsecsElapsed() / 1e6 / steps;
    }
    state.counters["ms_per_call"] = perCall;
}
BENCHMARK(BM_NaviScrollStep)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

// 300 moves of a dragged hole on a full-HD spotlight, each painted before the
// next.
void BM_SpotHoleMove(benchmark::State& state)
{
    QStringList texts;
    spot s;
    s.setGeometry(0, 0, 1920, 1080);
    s.InitDialog(&texts);
    s.SetSpotMask(4, 1920, 1080);
    s.show();
    QApplication::processEvents();
    const int moves = 300;
    double perMove = 0;
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), QPointF(100, 100), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&s, &press);
        QElapsedTimer clock;
        clock.start();
        for (int i = 1; i <= moves; ++i) {
            // Back and forth so the hole stays on the screen.
            const int x = 100 + (i % 100 < 50 ? i % 50 : 50 - i % 50) * 8;
            QMouseEvent move(QEvent::MouseMove, QPointF(x, 100 + i % 7), QPointF(x, 100 + i % 7), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&s, &move);
            QApplication::processEvents();
        }
        perMove = clock.nsecsElapsed() / 1e6 / moves;
    }
    state.counters["ms_per_move"] = perMove;
}
BENCHMARK(BM_SpotHoleMove)->Iterations(3)->Unit(benchmark::kMillisecond);

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
