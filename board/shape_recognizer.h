#pragma once

#include <string>
#include <vector>

// Names one pen stroke after the closest of a fixed set of sample strokes.
// Stroke and samples are resampled to the same number of points, turned so
// that the first point lies at angle zero about the centre, stretched to a
// square and centred at the origin, then compared point by point over a
// golden-section search of turning angles.

struct ShapePoint {
    double x = 0.0;
    double y = 0.0;
};

using ShapeStroke = std::vector<ShapePoint>;

struct ShapeTemplate {
    std::string name;
    ShapeStroke points;  // already prepared
};

struct ShapeMatch {
    std::string name;
    double score = 0.0;
};

struct ShapeBounds {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

class ShapeRecognizer
{
public:
    ShapeRecognizer();

    // Appends the eleven built-in templates. Meant to run once: a second call
    // appends a second copy of each.
    void LoadTemplates();
    void StoreTemplate(const std::string& name, ShapeStroke stroke);
    // The best template and its score (1.0 a perfect match; a poor match may
    // go below 0). Its two diagnostics go to standard output.
    ShapeMatch Recognize(ShapeStroke stroke) const;

    const std::vector<ShapeTemplate>& templates() const { return m_templates; }

    // The hand-drawn samples the templates are made from, in window
    // coordinates and drawing order.
    static const ShapeStroke& CircleSample();
    static const ShapeStroke& SquareSample();
    static const ShapeStroke& TallRectangleSample();
    static const ShapeStroke& WideRectangleSample();
    static const ShapeStroke& ZigzagLineSample();
    static const ShapeStroke& TriangleSample();

private:
    ShapeStroke PrepareStroke(ShapeStroke stroke) const;
    ShapeStroke ResampleStroke(ShapeStroke stroke, int n) const;
    double StrokeLength(const ShapeStroke& stroke) const;
    ShapePoint StrokeCentre(const ShapeStroke& stroke) const;
    ShapeBounds StrokeBounds(const ShapeStroke& stroke) const;
    ShapeStroke TurnBy(ShapeStroke stroke, double theta) const;
    ShapeStroke TurnToStartAngle(ShapeStroke stroke) const;
    ShapeStroke StretchToSquare(ShapeStroke stroke) const;
    ShapeStroke MoveToOrigin(ShapeStroke stroke) const;
    double MeanPointDistance(const ShapeStroke& a, const ShapeStroke& b) const;
    double DistanceAtTurn(const ShapeStroke& stroke, const ShapeTemplate& shape, double theta) const;
    double BestTurnDistance(const ShapeStroke& stroke, const ShapeTemplate& shape) const;

    double m_halfDiagonal;
    double m_angleRange;
    double m_anglePrecision;
    double m_goldenRatio;
    int m_numPoints;
    int m_squareSize;
    bool m_turnToStart;
    std::vector<ShapeTemplate> m_templates;
};
