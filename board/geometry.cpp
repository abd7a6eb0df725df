#include "board/geometry.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

double DegToRad(double deg)
{
    return deg / 180.0 * kPi;
}

double PointAngle(int x1, int y1, int x2, int y2)
{
    const double a = std::atan2(static_cast<double>(y1 - y2), static_cast<double>(x1 - x2)) * 180.0 / kPi;
    if (a < 0)
        return 270.0 - std::fabs(a);
    if (a < 90.0)
        return a + 270.0;
    return a - 90.0;
}

QPoint MidPoint(int x1, int y1, int x2, int y2)
{
    return QPoint((x1 + x2) / 2, (y1 + y2) / 2);
}

QPoint RotatePoint(int x, int y, double deg, int cx, int cy)
{
    const double theta = deg / 180.0 * kPi;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double rx = c * x - s * y - c * cx + s * cy + cx;
    const double ry = c * y + s * x - s * cx - c * cy + cy;
    return QPoint(static_cast<int>(rx), static_cast<int>(ry));
}

QRectF RotatedRectBounds(float x, float y, float w, float h, float deg)
{
    const float cx = x + w * 0.5f;
    const float cy = y + h * 0.5f;
    const float theta = static_cast<float>((deg / 180.0f) * kPi);
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const float xs[4] = {x, x + w, x, x + w};
    const float ys[4] = {y, y, y + h, y + h};
    float left = 0, top = 0, right = 0, bottom = 0;
    for (int i = 0; i < 4; ++i) {
        const float rx = c * xs[i] - s * ys[i] - c * cx + s * cy + cx;
        const float ry = c * ys[i] + s * xs[i] - s * cx - c * cy + cy;
        if (i == 0) {
            left = right = rx;
            top = bottom = ry;
        } else {
            left = std::min(left, rx);
            right = std::max(right, rx);
            top = std::min(top, ry);
            bottom = std::max(bottom, ry);
        }
    }
    return QRectF(left, top, right - left, bottom - top);
}

void TakeInPoint(QRectF* bounds, QPointF p)
{
    bounds->setCoords(std::min(bounds->left(), p.x()), std::min(bounds->top(), p.y()),
                      std::max(bounds->right(), p.x()), std::max(bounds->bottom(), p.y()));
}
