#pragma once

// Turns the sparse samples of a moving pen into a dense, smooth run of points.
// Each sample is smoothed against the last ten (a degree-9 B-spline evaluated
// near its newest end), and the curve between the last three smoothed points
// is filled with points about one pixel apart. Live painting and page redraw
// feed the same samples through it, so a stroke looks the same both ways.
//
// Runs once per pointer-move sample: fixed arrays only, no allocation.
class StrokeInterpolator
{
public:
    struct Point {
        float x;
        float y;
    };

    static constexpr int kOutputCapacity = 1000;
    static constexpr int kHistorySize = 10;
    static constexpr int kKnotCount = 28;

    StrokeInterpolator();

    // Knot vector: ten zeros followed by eighteen ones.
    void ResetWeights();

    // Starts a stroke at the press point.
    void Begin(int x, int y);

    // Adds one sample; the new points are then read with Count() and Output().
    StrokeInterpolator& AddPoint(int x, int y);

    // Number of points the last AddPoint produced (1 to 50).
    int Count() const { return m_count; }
    const Point& Output(int index) const { return m_output[index]; }
    const Point* Outputs() const { return m_output; }

    // The last smoothed point, and the press point of the stroke.
    Point Smoothed() const { return m_smoothed; }
    Point StartPoint() const { return m_start; }

private:
    struct IntPoint {
        int x;
        int y;
    };
    struct DoublePoint {
        double x;
        double y;
    };

    void Smooth();

    Point m_output[kOutputCapacity];
    int m_count = 0;
    Point m_start{0.f, 0.f};
    int m_startX = 0;
    int m_startY = 0;
    IntPoint m_history[kHistorySize];
    Point m_smoothed{0.f, 0.f};
    DoublePoint m_curve[4];
    int m_curveCount = 0;
    float m_knots[kKnotCount];
};
