#include "board/stroke_interpolator.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kParameter = 0.9;
constexpr int kDegree = 9;
constexpr int kBasisCount = 18;

// Cox-de Boor recursion on `knots` at the parameter 0.9. Values are computed in
// double and kept in single precision; only the first ten (the ones that can
// be non-zero on this knot vector) are carried from one degree to the next.
void ComputeWeights(const float* knots, float* weights)
{
    float basis[StrokeInterpolator::kKnotCount] = {};
    for (int j = 0; j + 1 < StrokeInterpolator::kKnotCount; ++j) {
        const double kj = knots[j];
        const double kj1 = knots[j + 1];
        basis[j] = (kj == kParameter || (kj <= kParameter && kParameter < kj1)) ? 1.f : 0.f;
    }
    for (int d = 1; d <= kDegree; ++d) {
        float next[StrokeInterpolator::kKnotCount] = {};
        for (int j = 0; j < kBasisCount; ++j) {
            double value = 0.0;
            const double left = static_cast<double>(knots[j + d]) - knots[j];
            if (left != 0.0)
                value += (kParameter - knots[j]) / left * basis[j];
            const double right = static_cast<double>(knots[j + d + 1]) - knots[j + 1];
            if (right != 0.0)
                value += (knots[j + d + 1] - kParameter) / right * basis[j + 1];
            next[j] = static_cast<float>(value);
        }
        std::fill(basis, basis + StrokeInterpolator::kKnotCount, 0.f);
        std::copy(next, next + StrokeInterpolator::kHistorySize, basis);
    }
    std::copy(basis, basis + StrokeInterpolator::kHistorySize, weights);
}

// The knot vector never changes, so neither do its weights: work them out once.
const float* SmoothingWeights()
{
    static const struct Table {
        float weights[StrokeInterpolator::kHistorySize];
        Table()
        {
            float knots[StrokeInterpolator::kKnotCount];
            for (int i = 0; i < StrokeInterpolator::kKnotCount; ++i)
                knots[i] = i < StrokeInterpolator::kHistorySize ? 0.f : 1.f;
            ComputeWeights(knots, weights);
        }
    } table;
    return table.weights;
}

}  // namespace

StrokeInterpolator::StrokeInterpolator()
{
    for (DoublePoint& p : m_curve)
        p = {0.0, 0.0};
    for (IntPoint& p : m_history)
        p = {0, 0};
    ResetWeights();
}

void StrokeInterpolator::ResetWeights()
{
    for (int i = 0; i < kKnotCount; ++i)
        m_knots[i] = i < kHistorySize ? 0.f : 1.f;
}

void StrokeInterpolator::Begin(int x, int y)
{
    m_start = {static_cast<float>(x), static_cast<float>(y)};
    m_startX = x;
    m_startY = y;
    for (IntPoint& p : m_history)
        p = {x, y};
    for (int i = 0; i < 3; ++i)
        m_curve[i] = {static_cast<double>(x), static_cast<double>(y)};
    m_curveCount = 3;
}

void StrokeInterpolator::Smooth()
{
    const float* weights = SmoothingWeights();
    float sx = 0.f;
    float sy = 0.f;
    for (int k = 0; k < kHistorySize; ++k) {
        sx += static_cast<float>(m_history[k].x) * weights[k];
        sy += static_cast<float>(m_history[k].y) * weights[k];
    }
    m_smoothed = {sx, sy};
}

StrokeInterpolator& StrokeInterpolator::AddPoint(int x, int y)
{
    m_history[kHistorySize - 1] = {x, y};
    ResetWeights();
    Smooth();
    for (int i = 0; i < kHistorySize - 1; ++i)
        m_history[i] = m_history[i + 1];

    m_curve[3] = {static_cast<double>(m_smoothed.x), static_cast<double>(m_smoothed.y)};
    const Point p0{static_cast<float>(m_curve[1].x), static_cast<float>(m_curve[1].y)};
    const Point q{static_cast<float>(m_curve[2].x), static_cast<float>(m_curve[2].y)};
    const Point p1{static_cast<float>(m_curve[3].x), static_cast<float>(m_curve[3].y)};

    // Control point of the quadratic curve from P0 through Q (at t = 0.5) to P1.
    const Point c{(q.x - (p1.x + p0.x) * 0.5f) + q.x, (q.y - (p1.y + p0.y) * 0.5f) + q.y};

    const float dy = p1.y - q.y;
    const float dx = p1.x - q.x;
    const float d = static_cast<float>(std::sqrt(static_cast<double>(dy * dy + dx * dx)));
    int n = static_cast<int>(d + 0.5);
    n = n == 0 ? 1 : std::min(n, 100);

    // Only the half from Q toward P1 is new; the half before Q was emitted by
    // the previous call.
    const int first = n / 2;
    for (int i = first; i < n; ++i) {
        const float t = static_cast<float>(i * (1.0 / n));
        const float u = 1.f - t;
        m_output[i - first] = {u * u * p0.x + 2.f * u * t * c.x + t * t * p1.x,
                               u * u * p0.y + 2.f * u * t * c.y + t * t * p1.y};
    }
    m_count = n - first;

    m_curve[0] = m_curve[1];
    m_curve[1] = m_curve[2];
    m_curve[2] = m_curve[3];
    m_curveCount = 3;
    return *this;
}
