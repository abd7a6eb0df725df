#pragma once

#include <opencv2/core.hpp>
#include <string>
#include <vector>

// What the smart pen makes of a recognised stroke: a figure tool (ekLine,
// ekRect or ekEllipse) and the two points its drag is replayed between, or
// no figure (kind 0).
struct SmartFigure {
    int kind = 0;
    cv::Point start;
    cv::Point end;
    // Whether the page is redrawn when no figure is made; the one case that
    // leaves it to the caller is a three-corner line that does not fit.
    bool redraw = true;
};

// The stroke's polygon (Douglas-Peucker, 7 pixels, closed) and its upright
// box, whose width and height count both edge pixels.
struct SmartStrokeShape {
    std::vector<cv::Point> corners;
    cv::Rect box;
};

SmartStrokeShape MeasureSmartStroke(const std::vector<cv::Point>& points);

// Distance of two points cut to whole pixels, as the choice compares them.
int WholePixelDistance(cv::Point a, cv::Point b);

// The figure for the recogniser's name, the polygon's corners, the first and
// release points of the stroke and its box.
SmartFigure ChooseSmartFigure(const std::string& name, const std::vector<cv::Point>& corners, cv::Point first,
                              cv::Point release, const cv::Rect& box);
