#include "board/shape_recognizer.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>

namespace {

double Distance(const ShapePoint& a, const ShapePoint& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

ShapeStroke Reversed(ShapeStroke stroke)
{
    std::reverse(stroke.begin(), stroke.end());
    return stroke;
}

// The samples were drawn by hand in window coordinates (y grows downwards).
// All closed ones run anticlockwise on screen from their top or top-left point.

// One anticlockwise turn from the top, 44 points.
const ShapeStroke kCircleSample = {
    {127, 141}, {124, 140}, {120, 139}, {118, 139}, {116, 139}, {111, 140}, {109, 141}, {104, 144},
    {100, 147}, {96, 152}, {93, 157}, {90, 163}, {87, 169}, {85, 175}, {83, 181}, {82, 190},
    {82, 195}, {83, 200}, {84, 205}, {88, 213}, {91, 216}, {96, 219}, {103, 222}, {108, 224},
    {111, 224}, {120, 224}, {133, 223}, {142, 222}, {152, 218}, {160, 214}, {167, 210}, {173, 204},
    {178, 198}, {179, 196}, {182, 188}, {182, 177}, {178, 167}, {170, 150}, {163, 138}, {152, 130},
    {143, 129}, {140, 131}, {129, 136}, {126, 139},
};

// From near the top-left corner down, along the bottom, up and back along the top; 82 points.
const ShapeStroke kSquareSample = {
    {78, 149}, {79, 153}, {79, 157}, {78, 162}, {77, 170}, {78, 176}, {79, 183}, {80, 186},
    {80, 190}, {80, 192}, {81, 200}, {80, 206}, {81, 212}, {81, 219}, {82, 222}, {83, 228},
    {83, 231}, {88, 231}, {91, 233}, {100, 236}, {103, 237}, {113, 238}, {117, 238}, {120, 239},
    {123, 238}, {129, 239}, {132, 239}, {139, 239}, {148, 238}, {151, 238}, {157, 237}, {160, 237},
    {164, 237}, {166, 236}, {174, 237}, {182, 237}, {187, 237}, {194, 235}, {198, 235}, {201, 235},
    {201, 232}, {200, 228}, {200, 223}, {201, 214}, {201, 207}, {200, 200}, {199, 195}, {197, 187},
    {197, 182}, {197, 180}, {196, 176}, {195, 171}, {195, 167}, {195, 159}, {195, 153}, {194, 147},
    {192, 140}, {191, 134}, {190, 130}, {190, 128}, {188, 128}, {182, 129}, {179, 129}, {171, 128},
    {168, 128}, {162, 128}, {153, 128}, {149, 128}, {141, 130}, {135, 130}, {133, 130}, {130, 130},
    {128, 130}, {124, 131}, {118, 131}, {109, 131}, {101, 130}, {98, 131}, {90, 132}, {85, 132},
    {80, 133}, {76, 133},
};

// Tall rectangle, same course; 207 points.
const ShapeStroke kTallRectangleSample = {
    {123, 45}, {123, 47}, {123, 50}, {123, 51}, {123, 55}, {123, 57}, {123, 60}, {123, 63},
    {123, 66}, {123, 71}, {123, 76}, {123, 78}, {123, 84}, {124, 87}, {123, 94}, {124, 99},
    {123, 102}, {123, 109}, {123, 111}, {123, 119}, {122, 124}, {122, 126}, {122, 133}, {122, 138},
    {120, 144}, {121, 147}, {121, 152}, {121, 158}, {120, 162}, {120, 165}, {120, 169}, {120, 175},
    {120, 178}, {120, 183}, {120, 184}, {120, 189}, {120, 192}, {120, 194}, {120, 195}, {120, 198},
    {120, 200}, {120, 202}, {120, 204}, {120, 207}, {120, 210}, {121, 212}, {120, 215}, {121, 218},
    {121, 221}, {121, 225}, {122, 228}, {122, 233}, {122, 239}, {122, 242}, {122, 248}, {123, 253},
    {122, 258}, {123, 260}, {123, 268}, {123, 270}, {123, 277}, {123, 283}, {123, 287}, {123, 291},
    {123, 295}, {122, 300}, {122, 307}, {122, 310}, {122, 316}, {122, 319}, {122, 323}, {123, 328},
    {123, 333}, {123, 336}, {123, 340}, {123, 343}, {123, 346}, {123, 349}, {124, 352}, {124, 355},
    {124, 356}, {124, 358}, {126, 358}, {128, 358}, {132, 358}, {137, 357}, {141, 357}, {146, 357},
    {148, 358}, {155, 359}, {159, 359}, {161, 359}, {165, 359}, {168, 359}, {170, 359}, {173, 359},
    {176, 358}, {178, 358}, {181, 357}, {187, 357}, {191, 357}, {196, 358}, {201, 358}, {202, 358},
    {206, 357}, {208, 357}, {208, 355}, {208, 354}, {208, 351}, {208, 349}, {208, 344}, {208, 342},
    {208, 340}, {208, 336}, {207, 332}, {207, 328}, {207, 324}, {207, 319}, {207, 314}, {206, 311},
    {206, 305}, {207, 302}, {207, 296}, {206, 292}, {207, 285}, {207, 280}, {206, 274}, {206, 271},
    {208, 266}, {208, 262}, {207, 255}, {207, 250}, {207, 247}, {208, 243}, {208, 237}, {208, 233},
    {208, 228}, {208, 226}, {208, 222}, {207, 219}, {208, 216}, {207, 213}, {207, 210}, {207, 206},
    {207, 204}, {207, 201}, {207, 200}, {207, 197}, {207, 196}, {207, 194}, {207, 191}, {207, 188},
    {206, 184}, {206, 180}, {206, 178}, {206, 174}, {206, 170}, {205, 166}, {205, 162}, {205, 156},
    {205, 151}, {205, 146}, {204, 142}, {205, 137}, {205, 132}, {206, 128}, {205, 121}, {205, 116},
    {206, 113}, {206, 107}, {206, 102}, {206, 96}, {206, 92}, {206, 89}, {206, 82}, {206, 78},
    {206, 74}, {206, 71}, {206, 68}, {205, 64}, {206, 60}, {205, 58}, {205, 55}, {205, 54},
    {205, 52}, {205, 49}, {203, 49}, {199, 49}, {198, 50}, {192, 50}, {189, 50}, {182, 49},
    {179, 48}, {174, 47}, {168, 47}, {166, 47}, {161, 47}, {160, 47}, {159, 47}, {155, 48},
    {149, 49}, {146, 49}, {142, 48}, {137, 48}, {132, 48}, {129, 49}, {127, 49},
};

// Wide rectangle, same course; 214 points.
const ShapeStroke kWideRectangleSample = {
    {20, 175}, {20, 178}, {20, 182}, {20, 186}, {20, 191}, {19, 195}, {17, 202}, {17, 205},
    {16, 209}, {16, 212}, {16, 215}, {16, 217}, {17, 221}, {18, 226}, {20, 231}, {20, 235},
    {19, 240}, {19, 244}, {20, 248}, {20, 251}, {21, 254}, {24, 254}, {25, 254}, {27, 254},
    {31, 254}, {35, 254}, {39, 254}, {41, 254}, {46, 254}, {49, 254}, {55, 253}, {57, 253},
    {64, 253}, {70, 253}, {73, 253}, {79, 252}, {83, 253}, {89, 253}, {94, 252}, {100, 253},
    {105, 253}, {112, 252}, {117, 253}, {124, 254}, {130, 254}, {134, 254}, {143, 254}, {146, 254},
    {152, 254}, {159, 254}, {163, 254}, {169, 254}, {173, 254}, {178, 254}, {180, 254}, {186, 254},
    {189, 254}, {193, 254}, {197, 254}, {200, 254}, {203, 254}, {205, 254}, {208, 254}, {210, 254},
    {213, 254}, {214, 254}, {217, 254}, {221, 254}, {224, 254}, {226, 254}, {231, 254}, {235, 254},
    {239, 254}, {242, 253}, {247, 254}, {253, 253}, {258, 253}, {263, 253}, {267, 253}, {275, 252},
    {280, 252}, {284, 253}, {292, 252}, {295, 252}, {302, 252}, {308, 253}, {315, 254}, {321, 253},
    {324, 254}, {332, 253}, {335, 254}, {343, 254}, {349, 254}, {353, 254}, {356, 254}, {362, 254},
    {366, 254}, {372, 254}, {375, 254}, {379, 254}, {383, 254}, {389, 254}, {392, 254}, {396, 254},
    {399, 254}, {401, 254}, {403, 254}, {405, 254}, {405, 251}, {404, 249}, {403, 245}, {403, 238},
    {404, 236}, {404, 228}, {404, 225}, {404, 223}, {403, 220}, {403, 218}, {402, 215}, {401, 211},
    {400, 204}, {401, 199}, {402, 194}, {401, 190}, {401, 186}, {400, 183}, {399, 183}, {395, 183},
    {393, 183}, {391, 183}, {386, 183}, {384, 183}, {379, 183}, {376, 183}, {370, 183}, {368, 183},
    {363, 183}, {356, 184}, {353, 184}, {347, 184}, {342, 184}, {337, 183}, {332, 184}, {327, 184},
    {321, 184}, {313, 183}, {309, 184}, {302, 183}, {295, 182}, {290, 182}, {284, 182}, {278, 181},
    {273, 181}, {268, 181}, {264, 181}, {259, 181}, {253, 181}, {247, 181}, {242, 180}, {239, 181},
    {233, 181}, {229, 181}, {225, 181}, {222, 181}, {216, 181}, {213, 181}, {210, 181}, {208, 181},
    {205, 181}, {201, 181}, {200, 181}, {198, 181}, {195, 181}, {194, 181}, {189, 181}, {186, 181},
    {183, 181}, {180, 181}, {177, 181}, {173, 181}, {167, 182}, {161, 181}, {159, 181}, {152, 182},
    {146, 181}, {142, 182}, {137, 181}, {131, 182}, {127, 182}, {121, 181}, {116, 182}, {108, 182},
    {105, 182}, {97, 180}, {91, 181}, {88, 181}, {83, 180}, {75, 180}, {71, 180}, {65, 180},
    {59, 180}, {56, 179}, {51, 180}, {45, 180}, {41, 179}, {37, 179}, {35, 179}, {30, 180},
    {26, 180}, {22, 180}, {21, 180}, {18, 180}, {15, 180}, {13, 180},
};

// Right to left, between y 160 and 170; 30 points.
const ShapeStroke kZigzagLineSample = {
    {200, 160}, {195, 170}, {190, 160}, {185, 170}, {180, 160}, {175, 170}, {170, 170}, {165, 160},
    {160, 170}, {155, 160}, {150, 170}, {160, 160}, {140, 170}, {160, 160}, {155, 170}, {150, 160},
    {145, 170}, {140, 160}, {135, 170}, {130, 160}, {125, 170}, {120, 160}, {115, 170}, {110, 160},
    {105, 170}, {100, 160}, {95, 170}, {85, 170}, {75, 160}, {70, 170},
};

// Apex first, down the left side, along the base, up the right side; 66 points.
const ShapeStroke kTriangleSample = {
    {137, 139}, {135, 141}, {132, 144}, {126, 150}, {124, 153}, {119, 160}, {113, 167}, {110, 170},
    {104, 175}, {102, 178}, {100, 180}, {98, 182}, {94, 186}, {89, 192}, {86, 195}, {81, 204},
    {76, 208}, {69, 215}, {65, 220}, {62, 223}, {60, 225}, {64, 226}, {68, 227}, {72, 228},
    {83, 229}, {87, 230}, {93, 230}, {102, 232}, {110, 234}, {115, 236}, {124, 238}, {126, 238},
    {130, 239}, {135, 239}, {139, 239}, {144, 239}, {150, 238}, {157, 237}, {166, 236}, {174, 235},
    {181, 234}, {188, 235}, {191, 234}, {198, 234}, {202, 234}, {206, 234}, {204, 231}, {201, 226},
    {199, 223}, {193, 217}, {190, 214}, {185, 207}, {182, 203}, {177, 196}, {174, 192}, {171, 187},
    {170, 185}, {168, 183}, {165, 178}, {160, 173}, {154, 169}, {150, 165}, {146, 161}, {141, 154},
    {139, 151}, {136, 148},
};

}  // namespace

const ShapeStroke& ShapeRecognizer::CircleSample() { return kCircleSample; }
const ShapeStroke& ShapeRecognizer::SquareSample() { return kSquareSample; }
const ShapeStroke& ShapeRecognizer::TallRectangleSample() { return kTallRectangleSample; }
const ShapeStroke& ShapeRecognizer::WideRectangleSample() { return kWideRectangleSample; }
const ShapeStroke& ShapeRecognizer::ZigzagLineSample() { return kZigzagLineSample; }
const ShapeStroke& ShapeRecognizer::TriangleSample() { return kTriangleSample; }

ShapeRecognizer::ShapeRecognizer()
    : m_halfDiagonal(0.5 * std::sqrt(250.0 * 250.0 + 250.0 * 250.0)),
      m_angleRange(45.0),
      m_anglePrecision(2.0),
      m_goldenRatio(0.5 * (-1.0 + std::sqrt(5.0))),
      m_numPoints(128),
      m_squareSize(250),
      m_turnToStart(true)
{
}

void ShapeRecognizer::LoadTemplates()
{
    StoreTemplate("Circle", kCircleSample);
    StoreTemplate("CircleReverse", Reversed(kCircleSample));
    StoreTemplate("Rectangle", kSquareSample);
    StoreTemplate("RectangleReverse", Reversed(kSquareSample));
    StoreTemplate("VRectangle", kTallRectangleSample);
    StoreTemplate("VRectangleReverse", Reversed(kTallRectangleSample));
    StoreTemplate("HRectangle", kWideRectangleSample);
    StoreTemplate("HRectangleReverse", Reversed(kWideRectangleSample));
    StoreTemplate("RightToLeftLine2", kZigzagLineSample);
    StoreTemplate("Triangle", kTriangleSample);
    StoreTemplate("TriangleReverse", Reversed(kTriangleSample));
}

void ShapeRecognizer::StoreTemplate(const std::string& name, ShapeStroke stroke)
{
    m_templates.push_back(ShapeTemplate{name, PrepareStroke(std::move(stroke))});
}

ShapeMatch ShapeRecognizer::Recognize(ShapeStroke stroke) const
{
    if (m_templates.empty()) {
        std::cout << "No templates loaded so no symbols to match." << std::endl;
        return ShapeMatch{"Unknown", 0.0};
    }
    const ShapeStroke candidate = PrepareStroke(std::move(stroke));
    double best = std::numeric_limits<double>::max();
    int index = -1;
    for (int i = 0; i < int(m_templates.size()); ++i) {
        const double d = BestTurnDistance(candidate, m_templates[i]);
        if (d < best) {
            best = d;
            index = i;
        }
    }
    const double score = 1.0 - best / m_halfDiagonal;
    if (index == -1) {
        // Every distance was not a number: a stroke without length.
        std::cout << "Couldn't find a good match." << std::endl;
        return ShapeMatch{"Unknown", 1.0};
    }
    return ShapeMatch{m_templates[index].name, score};
}

ShapeStroke ShapeRecognizer::PrepareStroke(ShapeStroke stroke) const
{
    if (stroke.empty())
        return stroke;
    stroke = ResampleStroke(std::move(stroke), m_numPoints);
    if (m_turnToStart)
        stroke = TurnToStartAngle(std::move(stroke));
    stroke = StretchToSquare(std::move(stroke));
    return MoveToOrigin(std::move(stroke));
}

double ShapeRecognizer::StrokeLength(const ShapeStroke& stroke) const
{
    double length = 0.0;
    for (size_t i = 1; i < stroke.size(); ++i)
        length += Distance(stroke[i - 1], stroke[i]);
    return length;
}

ShapeStroke ShapeRecognizer::ResampleStroke(ShapeStroke stroke, int n) const
{
    if (stroke.empty())
        return stroke;
    const double interval = StrokeLength(stroke) / (n - 1);
    double walked = 0.0;
    ShapeStroke result;
    result.push_back(stroke.front());
    // Each new point is inserted into the working copy so that the next
    // measure starts from it; the result is capped so that rounding can
    // never make it grow past n.
    for (size_t i = 1; i < stroke.size() && int(result.size()) < n; ++i) {
        const double d = Distance(stroke[i - 1], stroke[i]);
        if (walked + d >= interval) {
            const double t = (interval - walked) / d;
            const ShapePoint q{stroke[i - 1].x + t * (stroke[i].x - stroke[i - 1].x),
                               stroke[i - 1].y + t * (stroke[i].y - stroke[i - 1].y)};
            result.push_back(q);
            stroke.insert(stroke.begin() + long(i), q);
            walked = 0.0;
        } else {
            walked += d;
        }
    }
    if (int(result.size()) == n - 1)
        result.push_back(stroke.back());
    return result;
}

ShapePoint ShapeRecognizer::StrokeCentre(const ShapeStroke& stroke) const
{
    ShapePoint c;
    for (const ShapePoint& p : stroke) {
        c.x += p.x;
        c.y += p.y;
    }
    c.x /= double(stroke.size());
    c.y /= double(stroke.size());
    return c;
}

ShapeStroke ShapeRecognizer::TurnBy(ShapeStroke stroke, double theta) const
{
    const ShapePoint c = StrokeCentre(stroke);
    const double cosT = std::cos(theta);
    const double sinT = std::sin(theta);
    for (ShapePoint& p : stroke) {
        const double dx = p.x - c.x;
        const double dy = p.y - c.y;
        p = ShapePoint{dx * cosT - dy * sinT + c.x, dx * sinT + dy * cosT + c.y};
    }
    return stroke;
}

ShapeStroke ShapeRecognizer::TurnToStartAngle(ShapeStroke stroke) const
{
    const ShapePoint c = StrokeCentre(stroke);
    const double theta = std::atan2(c.y - stroke.front().y, c.x - stroke.front().x);
    return TurnBy(std::move(stroke), -theta);
}

ShapeBounds ShapeRecognizer::StrokeBounds(const ShapeStroke& stroke) const
{
    double minX = std::numeric_limits<double>::max(), maxX = -std::numeric_limits<double>::max();
    double minY = minX, maxY = maxX;
    for (const ShapePoint& p : stroke) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    ShapeBounds b{minX, minY, maxX - minX, maxY - minY};
    // A straight horizontal or vertical stroke is still stretched, by 250.
    if (b.width == 0.0)
        b.width = 1.0;
    if (b.height == 0.0)
        b.height = 1.0;
    return b;
}

ShapeStroke ShapeRecognizer::StretchToSquare(ShapeStroke stroke) const
{
    const ShapeBounds b = StrokeBounds(stroke);
    for (ShapePoint& p : stroke) {
        p.x *= m_squareSize / b.width;
        p.y *= m_squareSize / b.height;
    }
    return stroke;
}

ShapeStroke ShapeRecognizer::MoveToOrigin(ShapeStroke stroke) const
{
    const ShapePoint c = StrokeCentre(stroke);
    for (ShapePoint& p : stroke) {
        p.x -= c.x;
        p.y -= c.y;
    }
    return stroke;
}

double ShapeRecognizer::MeanPointDistance(const ShapeStroke& a, const ShapeStroke& b) const
{
    // Over the shorter of the two, so that neither list is read past its end.
    const size_t n = std::min(a.size(), b.size());
    if (n == 0)
        return std::numeric_limits<double>::quiet_NaN();
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i)
        sum += Distance(a[i], b[i]);
    return sum / double(n);
}

double ShapeRecognizer::DistanceAtTurn(const ShapeStroke& stroke, const ShapeTemplate& shape, double theta) const
{
    return MeanPointDistance(TurnBy(stroke, theta), shape.points);
}

double ShapeRecognizer::BestTurnDistance(const ShapeStroke& stroke, const ShapeTemplate& shape) const
{
    const double phi = m_goldenRatio;
    double a = -m_angleRange;
    double b = m_angleRange;
    double x1 = phi * a + (1.0 - phi) * b;
    double f1 = DistanceAtTurn(stroke, shape, x1);
    double x2 = (1.0 - phi) * a + phi * b;
    double f2 = DistanceAtTurn(stroke, shape, x2);
    while (std::fabs(b - a) > m_anglePrecision) {
        if (f1 < f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = phi * a + (1.0 - phi) * b;
            f1 = DistanceAtTurn(stroke, shape, x1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = (1.0 - phi) * a + phi * b;
            f2 = DistanceAtTurn(stroke, shape, x2);
        }
    }
    return std::min(f1, f2);
}
