#include "resources/generator/toolbar_art.h"

#include <QFile>
#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <functional>

namespace {

const QColor kInk(30, 42, 58);
const QColor kGreyInk(150, 150, 150);
const QColor kAccent(32, 110, 200);

// What a symbol is drawn with: the ink of the state, and a second colour
// for fills that a disabled picture greys as well.
struct Pen {
    QColor ink;
    QColor accent;
    bool greyed = false;
};

using Symbol = std::function<void(QPainter&, const QRectF&, const Pen&)>;

QPen Line(const QColor& c, qreal w = 2.0)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QColor Tint(const Pen& pen, const QColor& c)
{
    return pen.greyed ? QColor(190, 190, 190) : c;
}

void Text(QPainter& p, const QRectF& r, const QString& text, const QColor& c, int pixelSize, bool bold = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, text);
}

// A sheet of paper with a folded corner; `fill` is the paper colour.
QRectF Page(QPainter& p, const QRectF& r, const Pen& pen, const QColor& fill)
{
    const QRectF sheet(r.center().x() - r.height() * 0.38, r.top(), r.height() * 0.76, r.height());
    const qreal fold = sheet.width() * 0.3;
    QPainterPath path;
    path.moveTo(sheet.topLeft());
    path.lineTo(sheet.right() - fold, sheet.top());
    path.lineTo(sheet.right(), sheet.top() + fold);
    path.lineTo(sheet.bottomRight());
    path.lineTo(sheet.bottomLeft());
    path.closeSubpath();
    p.setPen(Line(pen.ink, 1.5));
    p.setBrush(Tint(pen, fill));
    p.drawPath(path);
    p.drawLine(QPointF(sheet.right() - fold, sheet.top()), QPointF(sheet.right() - fold, sheet.top() + fold));
    p.drawLine(QPointF(sheet.right() - fold, sheet.top() + fold), QPointF(sheet.right(), sheet.top() + fold));
    return sheet.adjusted(3, fold + 1, -3, -3);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, qreal w, bool bothHeads = false)
{
    p.setPen(Line(c, w));
    p.drawLine(from, to);
    auto head = [&](QPointF tip, QPointF tail) {
        const qreal angle = qAtan2(tip.y() - tail.y(), tip.x() - tail.x());
        const qreal len = 3.0 + w * 2;
        QPolygonF tri;
        tri << tip << tip - QPointF(len * qCos(angle - 0.5), len * qSin(angle - 0.5))
            << tip - QPointF(len * qCos(angle + 0.5), len * qSin(angle + 0.5));
        p.setBrush(c);
        p.drawPolygon(tri);
    };
    head(to, from);
    if (bothHeads)
        head(from, to);
}

void Magnifier(QPainter& p, const QRectF& r, const Pen& pen, const QString& inner, int dots)
{
    const QRectF lens(r.left() + 2, r.top() + 1, r.height() * 0.68, r.height() * 0.68);
    p.setPen(Line(pen.ink, 3.0));
    p.drawLine(lens.center() + QPointF(lens.width() * 0.35, lens.height() * 0.35),
               QPointF(r.left() + r.height() * 0.95, r.bottom() - 1));
    p.setPen(Line(pen.ink, 2.0));
    p.setBrush(Tint(pen, QColor(220, 236, 255)));
    p.drawEllipse(lens);
    if (inner == QLatin1String("+") || inner == QLatin1String("-")) {
        p.drawLine(lens.center() - QPointF(lens.width() * 0.25, 0), lens.center() + QPointF(lens.width() * 0.25, 0));
        if (inner == QLatin1String("+"))
            p.drawLine(lens.center() - QPointF(0, lens.height() * 0.25),
                       lens.center() + QPointF(0, lens.height() * 0.25));
    } else if (inner == QLatin1String("rect")) {
        p.setPen(QPen(pen.ink, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(lens.adjusted(4, 5, -4, -5));
    } else {
        Text(p, lens, inner, pen.ink, 7);
    }
    // The fixed zooms also show their factor as dots, readable without a font.
    p.setPen(Qt::NoPen);
    p.setBrush(Tint(pen, kAccent));
    for (int i = 0; i < dots; ++i)
        p.drawEllipse(QPointF(r.right() - 2, r.top() + 3 + i * 6), 2, 2);
}

void Eraser(QPainter& p, const QRectF& r, const Pen& pen)
{
    QPolygonF body;
    const QPointF c = r.center() + QPointF(2, 2);
    body << c + QPointF(-11, 3) << c + QPointF(1, -9) << c + QPointF(11, 1) << c + QPointF(-1, 13);
    p.setPen(Line(pen.ink, 1.5));
    p.setBrush(Tint(pen, QColor(240, 120, 140)));
    p.drawPolygon(body);
    QPolygonF tip;
    tip << c + QPointF(-11, 3) << c + QPointF(-5, -3) << c + QPointF(5, 7) << c + QPointF(-1, 13);
    p.setBrush(Tint(pen, QColor(250, 250, 250)));
    p.drawPolygon(tip);
}

void Corner(QPainter& p, const QRectF& r, const Pen& pen, bool left, bool top)
{
    const QRectF frame = r.adjusted(3, 3, -3, -3);
    p.setPen(Line(pen.ink, 1.5));
    p.setBrush(Tint(pen, QColor(255, 255, 255)));
    p.drawRect(frame);
    const QSizeF piece(frame.width() * 0.45, frame.height() * 0.45);
    const QPointF at(left ? frame.left() : frame.right() - piece.width(),
                     top ? frame.top() : frame.bottom() - piece.height());
    p.setBrush(Tint(pen, kAccent));
    p.drawRect(QRectF(at, piece));
}

void Person(QPainter& p, QPointF head, qreal size, const QColor& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(head, size * 0.3, size * 0.3);
    p.drawChord(QRectF(head.x() - size * 0.55, head.y() + size * 0.35, size * 1.1, size), 0, 180 * 16);
}

QHash<QString, Symbol> BuildSymbols()
{
    QHash<QString, Symbol> s;
    // Note kinds: a sheet showing its paper.
    s["New"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF in = Page(p, r, pen, Qt::white);
        p.setPen(Line(pen.accent, 2));
        p.drawLine(QPointF(in.center().x(), in.top() + 3), QPointF(in.center().x(), in.bottom() - 1));
        p.drawLine(QPointF(in.left() + 1, in.center().y() + 1), QPointF(in.right() - 1, in.center().y() + 1));
    };
    s["black"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF in = Page(p, r, pen, QColor(25, 74, 57));
        p.setPen(Line(Tint(pen, Qt::white), 1.2));
        p.drawLine(QPointF(in.left(), in.top() + 4), QPointF(in.right() - 2, in.top() + 2));
        p.drawLine(QPointF(in.left(), in.top() + 9), QPointF(in.right() - 5, in.top() + 8));
    };
    s["music"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF in = Page(p, r, pen, Qt::white);
        p.setPen(Line(pen.ink, 0.8));
        for (int i = 0; i < 5; ++i)
            p.drawLine(QPointF(in.left(), in.top() + 2 + i * 3), QPointF(in.right(), in.top() + 2 + i * 3));
        p.setBrush(pen.ink);
        p.drawEllipse(QPointF(in.center().x() - 1, in.top() + 12), 2.2, 1.7);
        p.setPen(Line(pen.ink, 1.2));
        p.drawLine(QPointF(in.center().x() + 1, in.top() + 12), QPointF(in.center().x() + 1, in.top()));
    };
    s["english"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF in = Page(p, r, pen, Qt::white);
        for (int i = 0; i < 4; ++i) {
            p.setPen(QPen(i == 2 ? Tint(pen, QColor(220, 60, 60)) : Tint(pen, kAccent), 0.9));
            p.drawLine(QPointF(in.left(), in.top() + 2 + i * 4), QPointF(in.right(), in.top() + 2 + i * 4));
        }
    };
    s["manu"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF in = Page(p, r, pen, QColor(255, 252, 230));
        p.setPen(QPen(Tint(pen, QColor(200, 80, 80)), 1));
        p.drawLine(QPointF(in.left() + 3, in.top() - 4), QPointF(in.left() + 3, in.bottom()));
        p.setPen(QPen(pen.ink, 0.8));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(in.left() + 5, in.top() + 2 + i * 5), QPointF(in.right(), in.top() + 2 + i * 5));
    };
    s["graph"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF in = Page(p, r, pen, Qt::white);
        p.setPen(QPen(Tint(pen, QColor(60, 160, 90)), 0.8));
        for (qreal x = in.left(); x <= in.right(); x += 3)
            p.drawLine(QPointF(x, in.top() - 3), QPointF(x, in.bottom()));
        for (qreal y = in.top() - 3; y <= in.bottom(); y += 3)
            p.drawLine(QPointF(in.left(), y), QPointF(in.right(), y));
    };
    s["office"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF in = Page(p, r, pen, Qt::white);
        p.setPen(Qt::NoPen);
        p.setBrush(Tint(pen, QColor(200, 40, 40)));
        p.drawRect(QRectF(in.left() - 4, in.center().y() - 3, in.width() + 2, 8));
        Text(p, QRectF(in.left() - 4, in.center().y() - 3, in.width() + 2, 8), "PDF", Qt::white, 6);
    };
    s["clipart"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal radius = (i % 2) ? r.height() * 0.22 : r.height() * 0.5;
            const qreal a = -M_PI / 2 + i * M_PI / 5;
            star << r.center() + QPointF(radius * qCos(a), radius * qSin(a));
        }
        p.setPen(Line(pen.ink, 1.5));
        p.setBrush(Tint(pen, QColor(250, 200, 40)));
        p.drawPolygon(star);
    };
    s["image"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF frame = r.adjusted(0, 3, 0, -3);
        p.setPen(Line(pen.ink, 1.5));
        p.setBrush(Tint(pen, QColor(200, 230, 255)));
        p.drawRect(frame);
        p.setPen(Qt::NoPen);
        p.setBrush(Tint(pen, QColor(250, 190, 40)));
        p.drawEllipse(QPointF(frame.right() - 6, frame.top() + 6), 3, 3);
        QPolygonF hills;
        hills << frame.bottomLeft() << QPointF(frame.left() + 9, frame.top() + 9)
              << QPointF(frame.left() + 16, frame.bottom() - 5) << QPointF(frame.left() + 21, frame.top() + 12)
              << frame.bottomRight();
        p.setBrush(Tint(pen, QColor(60, 150, 70)));
        p.drawPolygon(hills);
    };
    s["list"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        for (int i = 0; i < 4; ++i) {
            const qreal y = r.top() + 4 + i * 6.5;
            p.setPen(Qt::NoPen);
            p.setBrush(Tint(pen, kAccent));
            p.drawRect(QRectF(r.left() + 2, y - 2, 4, 4));
            p.setPen(Line(pen.ink, 2));
            p.drawLine(QPointF(r.left() + 9, y), QPointF(r.right() - 2, y));
        }
    };
    // Window mode and captures.
    s["win"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF frame = r.adjusted(0, 3, 0, -3);
        p.setPen(Line(pen.ink, 1.5));
        p.setBrush(Tint(pen, Qt::white));
        p.drawRect(frame);
        p.setBrush(Tint(pen, kAccent));
        p.drawRect(QRectF(frame.left(), frame.top(), frame.width(), 5));
        p.setBrush(Tint(pen, QColor(220, 220, 220)));
        p.drawRect(QRectF(frame.left() + 4, frame.top() + 9, 10, 8));
    };
    s["allcap"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QRectF frame = r.adjusted(2, 4, -2, -4);
        p.setPen(Line(pen.ink, 2.2));
        const qreal k = 6;
        for (QPointF c : {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()}) {
            const qreal dx = c.x() < frame.center().x() ? k : -k;
            const qreal dy = c.y() < frame.center().y() ? k : -k;
            p.drawLine(c, c + QPointF(dx, 0));
            p.drawLine(c, c + QPointF(0, dy));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(Tint(pen, kAccent));
        p.drawEllipse(frame.center(), 4, 4);
    };
    s["rectcap"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(QPen(pen.ink, 1.8, Qt::DashLine));
        p.setBrush(Tint(pen, QColor(200, 225, 255)));
        p.drawRect(r.adjusted(4, 6, -4, -6));
        p.setPen(Line(pen.ink, 1.5));
        p.drawLine(QPointF(r.right() - 6, r.bottom() - 2), QPointF(r.right() + 1, r.bottom() - 2));
        p.drawLine(QPointF(r.right() - 2, r.bottom() - 6), QPointF(r.right() - 2, r.bottom() + 1));
    };
    s["panser"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 1.5));
        p.setBrush(Tint(pen, Qt::white));
        p.drawRect(r.adjusted(0, 4, -6, -4));
        QPolygonF nib;
        nib << QPointF(r.right() - 2, r.top()) << QPointF(r.right() + 2, r.top() + 4)
            << QPointF(r.center().x() - 2, r.bottom() - 4) << QPointF(r.center().x() - 5, r.bottom() - 1)
            << QPointF(r.center().x() - 6, r.bottom() - 5);
        p.setBrush(Tint(pen, QColor(250, 190, 40)));
        p.drawPolygon(nib);
    };
    // Drawing tools.
    s["trans"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(QPen(Tint(pen, QColor(255, 230, 0, 170)), 8, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(r.left() + 2, r.bottom() - 5), QPointF(r.right() - 4, r.bottom() - 5));
        QPolygonF marker;
        const QPointF tip(r.center().x() + 2, r.bottom() - 8);
        marker << tip << tip + QPointF(4, -4) << tip + QPointF(12, -14) << tip + QPointF(6, -18)
               << tip + QPointF(-4, -8) << tip + QPointF(-2, -4);
        p.setPen(Line(pen.ink, 1.5));
        p.setBrush(Tint(pen, QColor(250, 220, 60)));
        p.drawPolygon(marker);
    };
    s["free"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        QPainterPath wave;
        wave.moveTo(r.left() + 1, r.bottom() - 6);
        wave.cubicTo(r.left() + 8, r.top() - 2, r.center().x(), r.bottom() + 4, r.right() - 9, r.top() + 10);
        p.setPen(Line(pen.accent, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        QPolygonF pencil;
        const QPointF tip(r.right() - 9, r.top() + 10);
        pencil << tip << tip + QPointF(2, -6) << tip + QPointF(9, -13) << tip + QPointF(12, -10)
               << tip + QPointF(5, -3);
        p.setPen(Line(pen.ink, 1.3));
        p.setBrush(Tint(pen, QColor(250, 190, 40)));
        p.drawPolygon(pencil);
    };
    s["brush"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        QPainterPath stroke;
        stroke.moveTo(r.left() + 1, r.bottom() - 4);
        stroke.quadTo(r.center().x(), r.top() + 4, r.right() - 8, r.bottom() - 8);
        p.setPen(QPen(pen.accent, 5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(stroke);
        p.setPen(Line(pen.ink, 1.3));
        p.setBrush(Tint(pen, QColor(160, 100, 50)));
        p.drawRect(QRectF(r.right() - 6, r.top(), 4, 10));
        p.setBrush(pen.ink);
        p.drawEllipse(QRectF(r.right() - 8, r.top() + 9, 8, 7));
    };
    s["line"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 2.5));
        p.drawLine(r.bottomLeft() + QPointF(3, -3), r.topRight() + QPointF(-3, 3));
    };
    s["rect"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(2, 5, -2, -5));
    };
    s["frect"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 2.2));
        p.setBrush(pen.accent);
        p.drawRect(r.adjusted(2, 5, -2, -5));
    };
    s["ellipse"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(r.adjusted(1, 4, -1, -4));
    };
    s["fellipse"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 2.2));
        p.setBrush(pen.accent);
        p.drawEllipse(r.adjusted(1, 4, -1, -4));
    };
    s["barrow"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        Arrow(p, r.bottomLeft() + QPointF(3, -4), r.topRight() + QPointF(-3, 4), pen.ink, 2.0, true);
    };
    s["sarrow"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        Arrow(p, r.bottomLeft() + QPointF(3, -4), r.topRight() + QPointF(-3, 4), pen.ink, 2.0);
    };
    s["smartfigure"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 1.8));
        p.setBrush(Qt::NoBrush);
        QPolygonF tri;
        tri << QPointF(r.left() + 2, r.bottom() - 2) << QPointF(r.left() + 10, r.top() + 6)
            << QPointF(r.left() + 18, r.bottom() - 2);
        p.drawPolygon(tri);
        p.drawEllipse(QRectF(r.center().x() + 1, r.center().y() - 2, 12, 12));
        p.setPen(Line(Tint(pen, QColor(240, 170, 0)), 1.6));
        const QPointF spark(r.right() - 3, r.top() + 3);
        p.drawLine(spark - QPointF(4, 0), spark + QPointF(4, 0));
        p.drawLine(spark - QPointF(0, 4), spark + QPointF(0, 4));
    };
    // Erasers.
    s["all"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 1.2));
        p.setBrush(Tint(pen, Qt::white));
        p.drawRect(r.adjusted(0, 1, -8, -8));
        p.setPen(QPen(Tint(pen, QColor(200, 60, 60)), 1.5));
        p.drawLine(r.topLeft() + QPointF(3, 4), r.topLeft() + QPointF(r.width() - 12, r.height() - 11));
        Eraser(p, r.adjusted(6, 6, 0, 0), pen);
    };
    s["sel"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.accent, 2.5));
        p.drawLine(r.topLeft() + QPointF(1, 4), r.topLeft() + QPointF(14, 10));
        Eraser(p, r.adjusted(6, 4, 0, 0), pen);
    };
    s["area"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(QPen(pen.ink, 1.3, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -6, -8));
        Eraser(p, r.adjusted(6, 6, 0, 0), pen);
    };
    // Object commands.
    s["before"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        Arrow(p, QPointF(r.right() - 3, r.center().y()), QPointF(r.left() + 4, r.center().y()), pen.ink, 3.0);
    };
    s["after"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        Arrow(p, QPointF(r.left() + 3, r.center().y()), QPointF(r.right() - 4, r.center().y()), pen.ink, 3.0);
    };
    s["select"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(QPen(pen.ink, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -8, -8));
        QPolygonF cursor;
        const QPointF t(r.center().x(), r.center().y() - 2);
        cursor << t << t + QPointF(0, 14) << t + QPointF(4, 10) << t + QPointF(7, 16) << t + QPointF(9, 15)
               << t + QPointF(6, 9) << t + QPointF(11, 9);
        p.setPen(Line(pen.ink, 1.2));
        p.setBrush(Tint(pen, Qt::white));
        p.drawPolygon(cursor);
    };
    s["moveall"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const QPointF c = r.center();
        const qreal k = r.height() * 0.48;
        Arrow(p, c, c + QPointF(k, 0), pen.ink, 2.0);
        Arrow(p, c, c - QPointF(k, 0), pen.ink, 2.0);
        Arrow(p, c, c + QPointF(0, k), pen.ink, 2.0);
        Arrow(p, c, c - QPointF(0, k), pen.ink, 2.0);
    };
    auto turn = [](bool back) {
        return [back](QPainter& p, const QRectF& r, const Pen& pen) {
            QPainterPath arc;
            const QRectF box = r.adjusted(4, 3, -4, 3);
            arc.arcMoveTo(box, back ? 30 : 150);
            arc.arcTo(box, back ? 30 : 150, back ? 150 : -150);
            p.setPen(Line(pen.ink, 3.0));
            p.setBrush(Qt::NoBrush);
            p.drawPath(arc);
            const QPointF end = arc.currentPosition();
            Arrow(p, end + QPointF(0, -6), end + QPointF(back ? -1 : 1, 2), pen.ink, 3.0);
        };
    };
    s["undo"] = turn(true);
    s["redo"] = turn(false);
    // Zoom.
    s["zoomin"] = [](QPainter& p, const QRectF& r, const Pen& pen) { Magnifier(p, r, pen, "+", 0); };
    s["zoomout"] = [](QPainter& p, const QRectF& r, const Pen& pen) { Magnifier(p, r, pen, "-", 0); };
    s["zoomrect"] = [](QPainter& p, const QRectF& r, const Pen& pen) { Magnifier(p, r, pen, "rect", 0); };
    for (int n = 1; n <= 4; ++n) {
        s[QStringLiteral("zoom%1").arg(n * 100)] = [n](QPainter& p, const QRectF& r, const Pen& pen) {
            Magnifier(p, r, pen, QString::number(n * 100), n);
        };
    }
    // Separators: an arrow pointing where the row opens.
    auto opens = [](QPointF direction) {
        return [direction](QPainter& p, const QRectF& r, const Pen& pen) {
            const QPointF c = r.center();
            const QPointF along(direction.x() * 3, direction.y() * 3);
            const QPointF across(direction.y() * 4, direction.x() * 4);
            QPolygonF tri;
            tri << c + along << c - along + across << c - along - across;
            p.setPen(Qt::NoPen);
            p.setBrush(pen.ink);
            p.drawPolygon(tri);
        };
    };
    s["bottom"] = opens(QPointF(0, -1));
    s["top"] = opens(QPointF(0, 1));
    s["left"] = opens(QPointF(1, 0));
    s["right"] = opens(QPointF(-1, 0));
    // Recording.
    s["rec"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 1.2));
        p.setBrush(Tint(pen, QColor(220, 30, 30)));
        p.drawEllipse(r.center(), r.height() * 0.36, r.height() * 0.36);
    };
    s["stop"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 1.2));
        p.setBrush(pen.ink);
        const qreal k = r.height() * 0.32;
        p.drawRect(QRectF(r.center() - QPointF(k, k), r.center() + QPointF(k, k)));
    };
    s["viewvideo"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 1.5));
        p.setBrush(Tint(pen, QColor(80, 90, 110)));
        p.drawRoundedRect(QRectF(r.left(), r.top() + 6, r.width() * 0.62, r.height() - 12), 2, 2);
        QPolygonF lens;
        lens << QPointF(r.left() + r.width() * 0.66, r.center().y()) << QPointF(r.right(), r.top() + 5)
             << QPointF(r.right(), r.bottom() - 5);
        p.drawPolygon(lens);
        p.setBrush(Tint(pen, QColor(220, 30, 30)));
        p.drawEllipse(QPointF(r.left() + 5, r.top() + 10), 2, 2);
    };
    s["lt"] = [](QPainter& p, const QRectF& r, const Pen& pen) { Corner(p, r, pen, true, true); };
    s["lb"] = [](QPainter& p, const QRectF& r, const Pen& pen) { Corner(p, r, pen, true, false); };
    s["rt"] = [](QPainter& p, const QRectF& r, const Pen& pen) { Corner(p, r, pen, false, true); };
    s["rb"] = [](QPainter& p, const QRectF& r, const Pen& pen) { Corner(p, r, pen, false, false); };
    // Collaboration.
    s["connect"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 2));
        const QPointF a(r.left() + 5, r.bottom() - 5), b(r.right() - 5, r.top() + 5), c(r.right() - 4, r.bottom() - 4);
        p.drawLine(a, b);
        p.drawLine(a, c);
        p.setBrush(pen.accent);
        for (QPointF n : {a, b, c})
            p.drawEllipse(n, 4, 4);
    };
    s["IP"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        p.setPen(Line(pen.ink, 1.5));
        p.setBrush(Tint(pen, QColor(210, 235, 255)));
        p.drawEllipse(r.center(), r.height() * 0.48, r.height() * 0.48);
        p.drawLine(QPointF(r.center().x() - r.height() * 0.48, r.center().y()),
                   QPointF(r.center().x() + r.height() * 0.48, r.center().y()));
        p.drawEllipse(r.center(), r.height() * 0.2, r.height() * 0.48);
        Text(p, r.adjusted(0, 0, 0, 4), "IP", pen.accent, 11);
    };
    s["UserList"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        const qreal step = r.height() / 5;
        for (int i = 0; i < 5; ++i) {
            const QPointF head(r.center().x(), r.top() + step * i + step * 0.3);
            Person(p, head, r.width() * 0.55, i == 0 ? Tint(pen, kAccent) : pen.ink);
        }
    };
    s["Strova"] = [](QPainter& p, const QRectF& r, const Pen& pen) {
        QPainterPath cloud;
        cloud.addEllipse(QRectF(r.left() + 1, r.top() + 10, 14, 12));
        cloud.addEllipse(QRectF(r.left() + 8, r.top() + 4, 16, 16));
        cloud.addEllipse(QRectF(r.left() + 17, r.top() + 10, 13, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(Tint(pen, QColor(180, 210, 245)));
        p.drawPath(cloud.simplified());
        Arrow(p, QPointF(r.center().x(), r.bottom() + 1), QPointF(r.center().x(), r.top() + 8), pen.ink, 2.5);
    };
    auto permission = [](bool tool, bool on) {
        return [tool, on](QPainter& p, const QRectF& r, const Pen& pen) {
            const QColor c = on ? Tint(pen, QColor(40, 160, 70)) : kGreyInk;
            p.setPen(Line(c, 1.5));
            p.setBrush(on ? c.lighter(160) : QColor(230, 230, 230));
            p.drawEllipse(r.center(), r.height() * 0.48, r.height() * 0.48);
            if (tool) {
                p.setPen(Line(c, 3));
                p.drawLine(r.center() + QPointF(-6, 6), r.center() + QPointF(4, -4));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(r.center() + QPointF(5, -5), 3.5, 3.5);
            } else {
                Arrow(p, r.center() + QPointF(-7, 7), r.center() + QPointF(6, -6), c, 2.5);
            }
            if (!on) {
                p.setPen(Line(QColor(200, 40, 40), 2));
                p.drawLine(r.center() + QPointF(-9, -9), r.center() + QPointF(9, 9));
            }
        };
    };
    s["write_off"] = permission(false, false);
    s["write_on"] = permission(false, true);
    s["Tool_off"] = permission(true, false);
    s["Tool_on"] = permission(true, true);
    return s;
}

const QHash<QString, Symbol>& Symbols()
{
    static const QHash<QString, Symbol> symbols = BuildSymbols();
    return symbols;
}

// The button face: one set shades top to bottom, the other left to right;
// hover warms it, pressed darkens and inverts it, disabled greys it.
void PaintButtonFace(QPainter& p, const QRectF& r, int variant)
{
    const bool side = variant >= 4;
    const int state = variant == 0 || variant == 7 ? 0 : (variant - 1) % 3 + 1;
    QLinearGradient g(r.topLeft(), side ? r.topRight() : r.bottomLeft());
    QColor edge;
    switch (state) {
    case 1:
        g.setColorAt(0, QColor(250, 252, 255));
        g.setColorAt(1, QColor(196, 208, 226));
        edge = QColor(150, 165, 190);
        break;
    case 2:
        g.setColorAt(0, QColor(255, 248, 220));
        g.setColorAt(1, QColor(245, 196, 90));
        edge = QColor(220, 150, 40);
        break;
    case 3:
        g.setColorAt(0, QColor(120, 145, 185));
        g.setColorAt(1, QColor(210, 222, 240));
        edge = QColor(60, 80, 120);
        break;
    default:
        g.setColorAt(0, QColor(236, 236, 236));
        g.setColorAt(1, QColor(190, 190, 190));
        edge = QColor(170, 170, 170);
        break;
    }
    p.setPen(QPen(edge, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void ProhibitionSign(QPainter& p, const QRectF& r)
{
    const qreal k = qMin(r.width(), r.height()) * 0.45;
    p.setPen(QPen(QColor(220, 20, 20), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.center(), k, k);
    p.drawLine(r.center() + QPointF(-k * 0.7, -k * 0.7), r.center() + QPointF(k * 0.7, k * 0.7));
}

// The covers' pictures: a grip for the edge bars, and round close and
// properties buttons that darken when pressed and turn blue when checked.
void PaintCoverPicture(QPainter& p, const ToolbarPicture& pic, const QRectF& r)
{
    if (pic.name.startsWith(QLatin1String("bar_"))) {
        const bool vertical = pic.name == QLatin1String("bar_v");
        QLinearGradient g(r.topLeft(), vertical ? r.topRight() : r.bottomLeft());
        g.setColorAt(0, QColor(90, 90, 90));
        g.setColorAt(0.5, QColor(200, 200, 200));
        g.setColorAt(1, QColor(90, 90, 90));
        p.fillRect(r, g);
        p.setPen(QPen(QColor(60, 60, 60), 1));
        const QPointF c = r.center();
        for (int i = -1; i <= 1; ++i) {
            if (vertical)
                p.drawLine(QPointF(c.x() - 3, c.y() + i * 4), QPointF(c.x() + 3, c.y() + i * 4));
            else
                p.drawLine(QPointF(c.x() + i * 4, c.y() - 3), QPointF(c.x() + i * 4, c.y() + 3));
        }
        return;
    }
    const QChar state = pic.name.at(pic.name.size() - 1);
    const QColor face = state == '2' ? QColor(70, 70, 80) : state == '3' ? kAccent : QColor(110, 110, 120);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(face);
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
    const QRectF in = r.adjusted(7, 7, -7, -7);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    if (pic.name.startsWith(QLatin1String("spotclose"))) {
        p.drawLine(in.topLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomLeft());
    } else {
        for (int i = 0; i < 3; ++i) {
            const qreal y = in.top() + 1 + i * (in.height() - 2) / 2;
            p.drawLine(QPointF(in.left(), y), QPointF(in.right(), y));
        }
    }
}

void PaintShellPicture(QPainter& p, const ToolbarPicture& pic, const QRectF& r)
{
    if (pic.group == QLatin1String("Spot")) {
        PaintCoverPicture(p, pic, r);
        return;
    }
    const Pen pen{kInk, kAccent, false};
    const bool vertical = pic.name == QLatin1String("leftright");
    if (pic.group == QLatin1String("Bar")) {
        QLinearGradient g(r.topLeft(), vertical ? r.topRight() : r.bottomLeft());
        g.setColorAt(0, QColor(236, 240, 247));
        g.setColorAt(0.5, QColor(214, 222, 235));
        g.setColorAt(1, QColor(168, 182, 205));
        p.fillRect(r, g);
        p.setPen(QColor(120, 135, 160));
        if (vertical)
            p.drawLine(r.topRight() - QPointF(0.5, 0), r.bottomRight() - QPointF(0.5, 0));
        else
            p.drawLine(r.bottomLeft() - QPointF(0, 0.5), r.bottomRight() - QPointF(0, 0.5));
    } else if (pic.group == QLatin1String("Logo")) {
        QLinearGradient g(r.topLeft(), vertical ? r.topRight() : r.bottomLeft());
        g.setColorAt(0, QColor(40, 70, 120));
        g.setColorAt(1, QColor(20, 40, 80));
        p.fillRect(r, g);
        const QRectF mark = vertical ? QRectF(r.left() + 8, r.top() + 6, 32, 32) : QRectF(r.left() + 4, r.top() + 7, 31, 31);
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(QColor(250, 190, 40));
        p.drawEllipse(mark);
        p.setPen(QPen(QColor(20, 40, 80), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(mark.center() + QPointF(-8, 8), mark.center() + QPointF(7, -7));
        const QRectF word = vertical ? QRectF(r.left(), r.top() + 42, r.width(), 24) : QRectF(r.left() + 36, r.top(), 58, r.height());
        Text(p, word, vertical ? QStringLiteral("Dr") : QStringLiteral("Dravik"), Qt::white, vertical ? 14 : 13);
    } else if (pic.group == QLatin1String("Cursor")) {
        p.setPen(QPen(Qt::white, 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(r.center(), 5, 5);
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(30, 42, 58, 90));
        p.drawEllipse(r.center(), 5, 5);
        p.drawPoint(r.center());
    } else if (pic.group == QLatin1String("Menu")) {
        PaintButtonFace(p, r, 1);
        const QRectF in = r.adjusted(5, 5, -5, -5);
        const QString& n = pic.name;
        if (n == "new") {
            Symbols()["New"](p, in, pen);
        } else if (n == "open") {
            p.setPen(Line(kInk, 1.3));
            p.setBrush(QColor(245, 200, 80));
            p.drawRect(in.adjusted(0, 4, 0, 0));
            p.setBrush(QColor(250, 220, 120));
            QPolygonF flap;
            flap << QPointF(in.left() + 3, in.top() + 9) << QPointF(in.right() + 2, in.top() + 9) << in.bottomRight()
                 << in.bottomLeft();
            p.drawPolygon(flap);
        } else if (n == "save" || n == "saveas" || n == "notesave") {
            if (n == "notesave")
                Page(p, in.adjusted(-4, 0, -4, -4), pen, Qt::white);
            const QRectF disk = n == "notesave" ? in.adjusted(8, 8, 0, 0) : in;
            p.setPen(Line(kInk, 1.3));
            p.setBrush(kAccent);
            p.drawRect(disk);
            p.setBrush(Qt::white);
            p.drawRect(disk.adjusted(disk.width() * 0.2, 0, -disk.width() * 0.2, -disk.height() * 0.55));
            if (n == "saveas")
                Arrow(p, in.center() + QPointF(-2, 6), in.center() + QPointF(8, 12), QColor(250, 190, 40), 2);
        } else if (n == "print") {
            p.setPen(Line(kInk, 1.3));
            p.setBrush(QColor(160, 170, 185));
            p.drawRect(in.adjusted(0, 7, 0, -6));
            p.setBrush(Qt::white);
            p.drawRect(in.adjusted(5, 0, -5, -14));
            p.drawRect(in.adjusted(5, 14, -5, 0));
        } else if (n == "tool") {
            QPolygonF set;
            set << in.bottomLeft() << in.topLeft() << in.bottomRight();
            p.setPen(Line(kInk, 1.3));
            p.setBrush(QColor(250, 220, 120));
            p.drawPolygon(set);
        } else if (n == "toolpos") {
            p.setPen(Line(kInk, 1.3));
            p.setBrush(QColor(200, 210, 230));
            p.drawRect(in);
            p.setBrush(kAccent);
            p.drawRect(QRectF(in.left(), in.top(), in.width(), 5));
            Arrow(p, in.center() + QPointF(0, 8), in.center() + QPointF(0, -3), kInk, 2);
        } else if (n == "config") {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(110, 120, 135));
            for (int i = 0; i < 8; ++i) {
                p.save();
                p.translate(in.center());
                p.rotate(i * 45);
                p.drawRect(QRectF(-2.5, -11, 5, 6));
                p.restore();
            }
            p.drawEllipse(in.center(), 8, 8);
            p.setBrush(Qt::white);
            p.drawEllipse(in.center(), 3, 3);
        } else if (n == "Tool_Menu") {
            // The instruments' menu button: three bars, turned with the
            // instrument.
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            for (int i = 0; i < 3; ++i)
                p.drawRoundedRect(QRectF(in.left() + 1, in.top() + 3 + i * 7, in.width() - 2, 4), 2, 2);
        } else {
            p.setPen(Line(kInk, 1.5));
            p.setBrush(QColor(180, 120, 70));
            p.drawRect(in.adjusted(0, 0, -10, 0));
            Arrow(p, in.center() + QPointF(-3, 0), QPointF(in.right() + 2, in.center().y()), QColor(200, 40, 40), 2.2);
        }
    } else if (pic.name == QLatin1String("orbel")) {
        QRadialGradient g(r.center(), r.width() / 2);
        g.setColorAt(0, QColor(70, 120, 200));
        g.setColorAt(1, QColor(20, 40, 90));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(r.adjusted(2, 2, -2, -2));
        p.setPen(QPen(QColor(250, 190, 40), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(r.center() + QPointF(-14, 14), r.center() + QPointF(12, -12));
    } else {
        // The splash: the name on a board.
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor(30, 70, 60));
        g.setColorAt(1, QColor(15, 40, 35));
        p.fillRect(r, g);
        p.setPen(QPen(QColor(140, 100, 60), 12));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(6, 6, -6, -6));
        Text(p, r.adjusted(0, -30, 0, -30), QStringLiteral("Dravik"), Qt::white, 54);
        Text(p, r.adjusted(0, 70, 0, 70), QStringLiteral("interactive whiteboard"), QColor(220, 230, 220), 18, false);
        QPainterPath chalk;
        chalk.moveTo(r.left() + 110, r.center().y() + 15);
        chalk.cubicTo(r.left() + 190, r.center().y() + 40, r.right() - 190, r.center().y() - 5, r.right() - 110,
                      r.center().y() + 20);
        p.setPen(QPen(QColor(250, 240, 180), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(chalk);
    }
}

}  // namespace

bool PaintToolbarSymbol(QPainter& painter, const QRectF& area, const QString& stem, bool disabled)
{
    if (!Symbols().contains(stem))
        return false;
    const Pen pen{disabled ? kGreyInk : kInk, disabled ? QColor(190, 190, 190) : kAccent, disabled};
    Symbols()[stem](painter, area, pen);
    return true;
}

QImage PaintToolbarPicture(const ToolbarPicture& pic)
{
    QImage image(pic.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(QPointF(0, 0), QSizeF(pic.size));
    if (pic.variant < 0) {
        PaintShellPicture(p, pic, whole);
        return image;
    }
    PaintButtonFace(p, whole, pic.variant);
    const bool disabled = pic.variant == 0 || pic.variant == 7;
    const bool pressed = pic.variant == 3 || pic.variant == 6;
    Pen pen{disabled ? kGreyInk : kInk, disabled ? QColor(190, 190, 190) : kAccent, disabled};
    // Pressed pictures sink the symbol by a pixel.
    const QPointF sink = pressed ? QPointF(1, 1) : QPointF(0, 0);
    QRectF area;
    if (pic.group == QLatin1String("Separate"))
        area = whole.translated(sink);
    else if (pic.stem == QLatin1String("UserList"))
        area = whole.adjusted(8, 10, -8, -10).translated(sink);
    else
        area = whole.adjusted(5, 4, -5, -4).translated(sink);

    if (pic.group == QLatin1String("Color")) {
        QColor c(pic.stem);
        if (disabled)
            c = QColor(200, 200, 200);
        p.setPen(Line(pen.ink, 1.3));
        QLinearGradient sheen(area.topLeft(), area.bottomRight());
        sheen.setColorAt(0, c.lighter(125));
        sheen.setColorAt(1, c);
        p.setBrush(sheen);
        p.drawRoundedRect(area.adjusted(2, 2, -2, -2), 3, 3);
    } else if (pic.group == QLatin1String("Penwid")) {
        const int width = pic.stem.mid(1, pic.stem.size() - 2).toInt();
        p.setPen(Qt::NoPen);
        p.setBrush(pen.ink);
        p.drawEllipse(area.center(), 1.0 + width * 1.2, 1.0 + width * 1.2);
    } else if (Symbols().contains(pic.stem)) {
        Symbols()[pic.stem](p, area, pen);
    }
    if (disabled && pic.stem == QLatin1String("trans"))
        ProhibitionSign(p, whole);
    return image;
}

QVector<QImage> LoadingFrames(QSize size, int count)
{
    QVector<QImage> frames;
    for (int f = 0; f < count; ++f) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF c(size.width() / 2.0, size.height() / 2.0);
        const qreal radius = qMin(size.width(), size.height()) * 0.36;
        for (int i = 0; i < count; ++i) {
            // The head of the ring moves one place per frame; the tail fades.
            const int age = (f - i + count) % count;
            const int shade = qMin(235, 40 + age * 190 / count);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(shade, shade, qMin(255, shade + 40)));
            const qreal a = 2 * M_PI * i / count;
            p.drawEllipse(c + QPointF(radius * qCos(a), radius * qSin(a)), radius * 0.18, radius * 0.18);
        }
        frames << image;
    }
    return frames;
}

namespace {

void Put16(QByteArray& out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

// Image data with a fixed 9-bit code size: a clear code before the table
// would grow, so every pixel is a literal and no dictionary is needed.
QByteArray LzwLiterals(const QByteArray& indices)
{
    const int clear = 256, end = 257;
    QByteArray bytes;
    quint32 buffer = 0;
    int bits = 0;
    auto put = [&](int code) {
        buffer |= quint32(code) << bits;
        bits += 9;
        while (bits >= 8) {
            bytes.append(char(buffer & 0xff));
            buffer >>= 8;
            bits -= 8;
        }
    };
    int sinceClear = 0;
    put(clear);
    for (char c : indices) {
        if (sinceClear == 250) {
            put(clear);
            sinceClear = 0;
        }
        put(quint8(c));
        ++sinceClear;
    }
    put(end);
    if (bits > 0)
        bytes.append(char(buffer & 0xff));
    QByteArray blocks;
    for (int i = 0; i < bytes.size(); i += 255) {
        const QByteArray chunk = bytes.mid(i, 255);
        blocks.append(char(chunk.size()));
        blocks.append(chunk);
    }
    blocks.append(char(0));
    return blocks;
}

}  // namespace

bool WriteAnimatedGif(const QString& path, const QVector<QImage>& frames, int delay)
{
    if (frames.isEmpty())
        return false;
    const QSize size = frames.first().size();
    // One 256-entry palette for all frames: a 6x6x6 colour cube plus greys.
    QVector<QRgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette << qRgb(r * 51, g * 51, b * 51);
    while (palette.size() < 256) {
        const int v = (palette.size() - 216) * 255 / 39;
        palette << qRgb(v, v, v);
    }
    QByteArray out("GIF89a");
    Put16(out, size.width());
    Put16(out, size.height());
    out.append(char(0xf7));  // global table, 8 bits, 256 entries
    out.append(char(0));
    out.append(char(0));
    for (QRgb c : palette) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);  // loop for ever
    for (const QImage& frame : frames) {
        out.append("\x21\xf9\x04\x00", 4);
        Put16(out, delay);
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2c));
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, size.width());
        Put16(out, size.height());
        out.append(char(0));
        QByteArray indices;
        const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QRgb c = rgb.pixel(x, y);
                const int r = qRed(c), g = qGreen(c), b = qBlue(c);
                int index = (r + 25) / 51 * 36 + (g + 25) / 51 * 6 + (b + 25) / 51;
                if (qAbs(r - g) < 8 && qAbs(g - b) < 8)
                    index = 216 + qBound(0, r * 39 / 255, 39);
                indices.append(char(index));
            }
        }
        out.append(char(8));
        out.append(LzwLiterals(indices));
    }
    out.append(char(0x3b));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

QVector<DialogPicture> DialogPictures()
{
    QVector<DialogPicture> pictures;
    // The connect dialog's keyboard button, up and pressed.
    for (const bool pressed : {false, true}) {
        QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF body(1, 1, 38, 18);
        PaintButtonFace(p, body, pressed ? 3 : 1);
        p.setPen(Qt::NoPen);
        p.setBrush(pressed ? QColor(Qt::white) : kInk);
        for (int row = 0; row < 2; ++row) {
            for (int key = 0; key < 6; ++key)
                p.drawRoundedRect(QRectF(6 + key * 5, 4 + row * 4, 3.5, 3), 0.8, 0.8);
        }
        p.drawRoundedRect(QRectF(11, 13, 18, 3), 0.8, 0.8);
        pictures.append({QStringLiteral("Config"), pressed ? QStringLiteral("keypress") : QStringLiteral("key"), image});
    }
    // The user list's two right buttons: a pen for Write, a toolbox for Tool,
    // at the left so the caption keeps the middle free.
    for (const bool tool : {false, true}) {
        QImage image(130, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        PaintButtonFace(p, QRectF(0, 0, 130, 40), 1);
        const QRectF icon(6, 6, 28, 28);
        if (tool) {
            p.setPen(Line(kInk, 2));
            p.setBrush(kAccent);
            p.drawRect(QRectF(icon.left() + 2, icon.top() + 10, icon.width() - 4, icon.height() - 12));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(icon.center().x() - 5, icon.top() + 4, 10, 6));
        } else {
            p.setPen(Line(kInk, 2.5));
            p.drawLine(QPointF(icon.left() + 4, icon.bottom() - 4), QPointF(icon.right() - 4, icon.top() + 4));
            p.setPen(Line(kAccent, 2));
            p.drawLine(QPointF(icon.left() + 2, icon.bottom() - 1), QPointF(icon.right() - 2, icon.bottom() - 1));
        }
        pictures.append({QStringLiteral("Coll"), tool ? QStringLiteral("authorizetool1") : QStringLiteral("authorizewrite1"),
                         image});
    }
    // The user list panel's background: a soft sheet with a people mark at
    // its foot (the panel shows the picture's bottom).
    {
        QImage image(300, 700, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 0, 700);
        g.setColorAt(0, QColor(246, 249, 253));
        g.setColorAt(1, QColor(214, 226, 242));
        p.fillRect(image.rect(), g);
        p.setPen(QPen(QColor(150, 165, 190), 2));
        p.drawLine(QPointF(1, 0), QPointF(1, 700));
        Person(p, QPointF(130, 620), 36, QColor(180, 196, 220));
        Person(p, QPointF(170, 610), 42, QColor(160, 180, 210));
        pictures.append({QStringLiteral("Coll"), QStringLiteral("UserList_bg1"), image});
    }
    return pictures;
}
