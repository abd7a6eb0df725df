#include "board/shape_recognizer.h"
#include "board/smart_figure.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

// What the smart pen does at pen-up: name the stroke, approximate its polygon
// and take its box. The stroke is a wobbly circle of the given number of
// points, as a slow or a fast hand leaves it.
static void BM_RecogniseAtPenUp(benchmark::State& state)
{
    const int count = int(state.range(0));
    ShapeStroke stroke;
    std::vector<cv::Point> points;
    for (int i = 0; i < count; ++i) {
        const double a = 2 * M_PI * i / count;
        const double r = 150 + 4 * std::sin(7 * a);
        const int x = int(std::lround(500 + r * std::cos(a)));
        const int y = int(std::lround(400 - r * 0.8 * std::sin(a)));
        stroke.push_back(ShapePoint{double(x), double(y)});
        points.emplace_back(x, y);
    }
    ShapeRecognizer recognizer;
    recognizer.LoadTemplates();
    for (auto _ : state) {
        const ShapeMatch match = recognizer.Recognize(stroke);
        const SmartStrokeShape shape = MeasureSmartStroke(points);
        const SmartFigure figure = ChooseSmartFigure(match.name, shape.corners, points.front(), points.back(), shape.box);
        benchmark::DoNotOptimize(figure);
    }
}
BENCHMARK(BM_RecogniseAtPenUp)
    ->Arg(200)
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
