#include "board/smart_figure.h"

#include <cmath>
#include <opencv2/imgproc.hpp>

#include "board/event_kind.h"

SmartStrokeShape MeasureSmartStroke(const std::vector<cv::Point>& points)
{
    SmartStrokeShape shape;
    if (points.empty())
        return shape;
    cv::approxPolyDP(points, shape.corners, 7.0, true);
    shape.box = cv::boundingRect(points);
    return shape;
}

int WholePixelDistance(cv::Point a, cv::Point b)
{
    const double dx = double(b.x) - double(a.x);
    const double dy = double(b.y) - double(a.y);
    return int(std::sqrt(dx * dx + dy * dy));
}

SmartFigure ChooseSmartFigure(const std::string& name, const std::vector<cv::Point>& corners, cv::Point first,
                              cv::Point release, const cv::Rect& box)
{
    SmartFigure figure;
    const size_t n = corners.size();
    if (name == "RightToLeftLine2") {
        if (n == 2) {
            figure = SmartFigure{ekLine, corners[0], corners[1], true};
        } else if (n == 3) {
            // A line with one wobble is kept only when the polygon's longest
            // side is exactly the span from first to release point.
            const int span = WholePixelDistance(first, release);
            int longest = 0;
            for (size_t i = 0; i < 3; ++i)
                longest = std::max(longest, WholePixelDistance(corners[i], corners[(i + 1) % 3]));
            if (longest == span)
                figure = SmartFigure{ekLine, first, release, true};
            else
                figure.redraw = false;
        }
        return figure;
    }
    if (name == "Rectangle" || name == "RectangleReverse" || name == "VRectangle" || name == "VRectangleReverse"
        || name == "HRectangle" || name == "HRectangleReverse") {
        if (n == 4 || n == 5) {
            // The corner farthest from where the pen started; a tie keeps the
            // earlier corner.
            size_t far = 0;
            int farDistance = 0;
            for (size_t i = 0; i < n; ++i) {
                const int d = WholePixelDistance(first, corners[i]);
                if (d > farDistance) {
                    farDistance = d;
                    far = i;
                }
            }
            figure = SmartFigure{ekRect, first, corners[far], true};
        }
        return figure;
    }
    if (name == "Circle" || name == "CircleReverse")
        figure = SmartFigure{ekEllipse, box.tl(), cv::Point(box.x + box.width, box.y + box.height), true};
    return figure;
}
