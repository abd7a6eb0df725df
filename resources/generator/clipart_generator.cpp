// Draws the clip art that ships beside the whiteboard:
//   clipart_generator <folder>
// writes "<folder>/<group>/<name>.png" for every picture below, so the
// browser has pictures to offer on a fresh install.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kSide = 320;

using Drawing = std::function<void(QPainter&)>;

struct Picture {
    const char* group;
    const char* name;
    Drawing draw;
};

QPen Outline(const QColor& colour = QColor(40, 40, 40), qreal width = 6)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPolygonF RegularPolygon(int corners, qreal radius, qreal turnDegrees, qreal innerRadius = 0)
{
    QPolygonF polygon;
    const int points = innerRadius > 0 ? corners * 2 : corners;
    for (int i = 0; i < points; ++i) {
        const qreal r = (innerRadius > 0 && i % 2) ? innerRadius : radius;
        const qreal a = qDegreesToRadians(turnDegrees + 360.0 * i / points);
        polygon << QPointF(kSide / 2 + r * qSin(a), kSide / 2 - r * qCos(a));
    }
    return polygon;
}

void Shape(QPainter& p, const QColor& fill, const QPolygonF& shape)
{
    p.setPen(Outline());
    p.setBrush(fill);
    p.drawPolygon(shape);
}

void Heart(QPainter& p)
{
    QPainterPath path;
    path.moveTo(160, 270);
    path.cubicTo(40, 190, 30, 90, 100, 70);
    path.cubicTo(135, 60, 155, 85, 160, 110);
    path.cubicTo(165, 85, 185, 60, 220, 70);
    path.cubicTo(290, 90, 280, 190, 160, 270);
    p.setPen(Outline());
    p.setBrush(QColor(220, 40, 60));
    p.drawPath(path);
}

void Sun(QPainter& p)
{
    p.setPen(Outline(QColor(240, 150, 0), 10));
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(30.0 * i);
        p.drawLine(QPointF(160 + 85 * qSin(a), 160 - 85 * qCos(a)), QPointF(160 + 135 * qSin(a), 160 - 135 * qCos(a)));
    }
    p.setPen(Outline(QColor(240, 150, 0)));
    p.setBrush(QColor(255, 210, 40));
    p.drawEllipse(QPointF(160, 160), 70, 70);
}

void Cloud(QPainter& p)
{
    QPainterPath path;
    path.addEllipse(QPointF(110, 180), 60, 50);
    path.addEllipse(QPointF(170, 140), 70, 65);
    path.addEllipse(QPointF(230, 180), 55, 45);
    path.addRoundedRect(QRectF(60, 170, 220, 60), 30, 30);
    // The union of the puffs: where two overlap the cloud has no hole.
    path.setFillRule(Qt::WindingFill);
    p.setPen(Outline(QColor(90, 120, 160)));
    p.setBrush(QColor(200, 225, 250));
    p.drawPath(path.simplified());
}

void Tree(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(130, 80, 40));
    p.drawRect(140, 200, 40, 90);
    p.setBrush(QColor(50, 160, 60));
    p.drawEllipse(QPointF(160, 140), 100, 90);
}

void Flower(QPainter& p)
{
    p.setPen(Outline(QColor(30, 110, 30), 10));
    p.drawLine(160, 170, 160, 300);
    p.setPen(Outline());
    p.setBrush(QColor(240, 120, 180));
    for (int i = 0; i < 6; ++i) {
        const qreal a = qDegreesToRadians(60.0 * i);
        p.drawEllipse(QPointF(160 + 55 * qSin(a), 120 - 55 * qCos(a)), 38, 38);
    }
    p.setBrush(QColor(255, 210, 40));
    p.drawEllipse(QPointF(160, 120), 35, 35);
}

void Moon(QPainter& p)
{
    QPainterPath disc;
    disc.addEllipse(QPointF(160, 160), 110, 110);
    QPainterPath bite;
    bite.addEllipse(QPointF(215, 130), 100, 100);
    p.setPen(Outline());
    p.setBrush(QColor(250, 230, 120));
    p.drawPath(disc.subtracted(bite));
}

void Book(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(40, 90, 190));
    p.drawRect(70, 60, 180, 220);
    p.setBrush(Qt::white);
    p.drawRect(95, 90, 130, 40);
    p.setPen(Outline(QColor(40, 40, 40), 4));
    p.drawLine(90, 60, 90, 280);
}

void Pencil(QPainter& p)
{
    p.translate(160, 160);
    p.rotate(45);
    p.setPen(Outline());
    p.setBrush(QColor(250, 200, 40));
    p.drawRect(-30, -120, 60, 170);
    p.setBrush(QColor(240, 200, 160));
    p.drawPolygon(QPolygonF({QPointF(-30, 50), QPointF(30, 50), QPointF(0, 120)}));
    p.setBrush(QColor(230, 110, 130));
    p.drawRect(-30, -140, 60, 20);
}

void Apple(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(210, 30, 40));
    QPainterPath body;
    body.addEllipse(QPointF(125, 175), 75, 90);
    body.addEllipse(QPointF(195, 175), 75, 90);
    p.drawPath(body.simplified());
    p.setPen(Outline(QColor(100, 60, 20), 8));
    p.drawLine(160, 95, 170, 50);
    p.setPen(Outline(QColor(30, 120, 30)));
    p.setBrush(QColor(60, 170, 60));
    p.drawEllipse(QPointF(200, 65), 30, 15);
}

void Clock(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(160, 160), 120, 120);
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(30.0 * i);
        p.drawLine(QPointF(160 + 100 * qSin(a), 160 - 100 * qCos(a)), QPointF(160 + 112 * qSin(a), 160 - 112 * qCos(a)));
    }
    p.setPen(Outline(QColor(40, 40, 40), 10));
    p.drawLine(160, 160, 160, 90);
    p.drawLine(160, 160, 215, 160);
}

void Ruler(QPainter& p)
{
    p.translate(160, 160);
    p.rotate(-30);
    p.setPen(Outline());
    p.setBrush(QColor(240, 220, 150));
    p.drawRect(-140, -35, 280, 70);
    p.setPen(Outline(QColor(40, 40, 40), 3));
    for (int x = -120; x <= 120; x += 20)
        p.drawLine(x, -35, x, x % 40 == 0 ? -5 : -18);
}

void Arrow(QPainter& p)
{
    Shape(p, QColor(60, 140, 230),
          QPolygonF({QPointF(40, 125), QPointF(180, 125), QPointF(180, 70), QPointF(285, 160), QPointF(180, 250),
                     QPointF(180, 195), QPointF(40, 195)}));
}

void Check(QPainter& p)
{
    p.setPen(Outline(QColor(30, 150, 60), 40));
    p.drawPolyline(QPolygonF({QPointF(60, 170), QPointF(130, 240), QPointF(265, 85)}));
}

void Cross(QPainter& p)
{
    p.setPen(Outline(QColor(210, 40, 40), 40));
    p.drawLine(75, 75, 245, 245);
    p.drawLine(245, 75, 75, 245);
}

void Mark(QPainter& p, const QString& text, const QColor& colour)
{
    p.setPen(Outline());
    p.setBrush(colour);
    p.drawEllipse(QPointF(160, 160), 125, 125);
    QFont font;
    font.setPixelSize(190);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, kSide, kSide), Qt::AlignCenter, text);
}

const QVector<Picture>& Pictures()
{
    static const QVector<Picture> pictures = {
        {"Shapes", "Star", [](QPainter& p) { Shape(p, QColor(255, 200, 30), RegularPolygon(5, 130, 0, 55)); }},
        {"Shapes", "Heart", Heart},
        {"Shapes", "Triangle", [](QPainter& p) { Shape(p, QColor(80, 190, 120), RegularPolygon(3, 130, 0)); }},
        {"Shapes", "Hexagon", [](QPainter& p) { Shape(p, QColor(150, 100, 210), RegularPolygon(6, 125, 30)); }},
        {"Shapes", "Circle", [](QPainter& p) { Shape(p, QColor(60, 160, 230), RegularPolygon(90, 125, 0)); }},
        {"Nature", "Sun", Sun},
        {"Nature", "Cloud", Cloud},
        {"Nature", "Tree", Tree},
        {"Nature", "Flower", Flower},
        {"Nature", "Moon", Moon},
        {"School", "Book", Book},
        {"School", "Pencil", Pencil},
        {"School", "Apple", Apple},
        {"School", "Clock", Clock},
        {"School", "Ruler", Ruler},
        {"Signs", "Arrow", Arrow},
        {"Signs", "Check", Check},
        {"Signs", "Cross", Cross},
        {"Signs", "Question", [](QPainter& p) { Mark(p, QStringLiteral("?"), QColor(60, 120, 220)); }},
        {"Signs", "Exclamation", [](QPainter& p) { Mark(p, QStringLiteral("!"), QColor(230, 140, 20)); }},
    };
    return pictures;
}

}  // namespace

int main(int argc, char* argv[])
{
    // No screen is needed to draw into files.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: clipart_generator <folder>\n");
        return 2;
    }
    for (const Picture& picture : Pictures()) {
        const QString folder = QDir(args[1]).filePath(QLatin1String(picture.group));
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
            return 1;
        }
        // Only the drawing: around it the page (or the browser's panel)
        // shows through.
        QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        picture.draw(painter);
        painter.end();
        const QString path = QDir(folder).filePath(QLatin1String(picture.name) + QStringLiteral(".png"));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
