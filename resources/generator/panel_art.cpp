#include "resources/generator/panel_art.h"

#include "panels/floating_panels.h"
#include "resources/generator/toolbar_art.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QHash>
#include <QtMath>
#include <functional>

namespace {

// The faces of a button: the launcher uses normal, pressed ("_down"), hover
// ("_over") and disabled; a sub-panel uses normal and "_down" (hovered or
// checked).
enum class Face { Normal, Down, Over, Disabled };

const char* FaceSuffix(Face face)
{
    switch (face) {
    case Face::Down:
        return "_down";
    case Face::Over:
        return "_over";
    case Face::Disabled:
        return "_disable";
    default:
        return "";
    }
}

const QColor kRing(44, 62, 96);
const QColor kRim(190, 205, 230);
const QColor kInk(30, 42, 58);

QImage Blank(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Draws a toolbar symbol scaled from its usual 30 x 28 box into `box`.
void Symbol(QPainter& p, const QRectF& box, const QString& stem, bool disabled)
{
    const qreal k = qMin(box.width() / 30.0, box.height() / 28.0);
    p.save();
    p.translate(box.center());
    p.scale(k, k);
    PaintToolbarSymbol(p, QRectF(-15, -14, 30, 28), stem, disabled);
    p.restore();
}

void ColourWheel(QPainter& p, const QRectF& box, bool disabled)
{
    const QPointF c = box.center();
    const qreal r = qMin(box.width(), box.height()) / 2;
    const QVector<ColourNameEntry>& names = ColourNames();
    p.setPen(QPen(disabled ? QColor(150, 150, 150) : kInk, 1));
    for (int i = 0; i < 8; ++i) {
        const QColor colour = disabled ? QColor(170 + (i % 2) * 30, 170 + (i % 2) * 30, 170 + (i % 2) * 30)
                                       : QColor(QLatin1String(names[(i * 2 + 1) % names.size()].value));
        p.setBrush(colour);
        p.drawPie(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), i * 45 * 16, 45 * 16);
    }
    p.setBrush(disabled ? QColor(220, 220, 220) : Qt::white);
    p.drawEllipse(c, r * 0.3, r * 0.3);
}

// --- The launcher ---------------------------------------------------------

QImage LauncherBackground()
{
    QImage image = Blank(QSize(kLauncherSize, kLauncherSize));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(kLauncherSize / 2.0, kLauncherSize / 2.0);
    QRadialGradient g(c, 92);
    g.setColorAt(0, QColor(70, 100, 150));
    g.setColorAt(1, QColor(24, 40, 72));
    p.setPen(QPen(kRim, 2));
    p.setBrush(g);
    p.drawEllipse(c, 91.5, 91.5);
    // The well of the centre picture, which is also the handle.
    p.setPen(QPen(kRim, 1.5));
    p.setBrush(QColor(230, 236, 246));
    p.drawRoundedRect(QRectF(kLauncherHandle).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    return image;
}

void LauncherFace(QPainter& p, const QRectF& disc, Face face)
{
    QLinearGradient g(disc.topLeft(), disc.bottomLeft());
    QColor edge;
    switch (face) {
    case Face::Over:
        g.setColorAt(0, QColor(255, 246, 210));
        g.setColorAt(1, QColor(245, 186, 70));
        edge = QColor(255, 220, 120);
        break;
    case Face::Down:
        g.setColorAt(0, QColor(90, 120, 175));
        g.setColorAt(1, QColor(170, 195, 235));
        edge = QColor(255, 255, 255);
        break;
    case Face::Disabled:
        g.setColorAt(0, QColor(150, 150, 150));
        g.setColorAt(1, QColor(120, 120, 120));
        edge = QColor(110, 110, 110);
        break;
    default:
        g.setColorAt(0, QColor(252, 253, 255));
        g.setColorAt(1, QColor(196, 210, 232));
        edge = kRim;
        break;
    }
    p.setPen(QPen(edge, face == Face::Down ? 3 : 1.5));
    p.setBrush(g);
    p.drawEllipse(disc);
}

// The face of the launcher button that stands at `geometry`, in the
// button's own coordinates.
QRectF LauncherFaceIn(const QRect& geometry)
{
    const QVector<PanelButton>& buttons = LauncherButtons();
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons[i].geometry == geometry)
            return LauncherFaces()[i].translated(-QPointF(geometry.topLeft()));
    }
    return QRectF();
}

QImage LauncherButton(const PanelButton& spec, const QString& image, Face face)
{
    QImage picture = Blank(spec.geometry.size());
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // The pen's width stays inside the disc, so neighbouring faces keep a gap.
    const QRectF disc = LauncherFaceIn(spec.geometry).adjusted(1.5, 1.5, -1.5, -1.5);
    LauncherFace(p, disc, face);
    const bool disabled = face == Face::Disabled;
    const qreal d = disc.width();
    // Pressed pictures sink the symbol by a pixel.
    const QPointF sink = face == Face::Down ? QPointF(1, 1) : QPointF(0, 0);
    const QRectF box(disc.center() - QPointF(d * 0.34, d * 0.32) + sink, QSizeF(d * 0.68, d * 0.64));
    const QString stem = image == QLatin1String("f_mode")     ? QStringLiteral("select")
                         : image == QLatin1String("f_figure") ? QStringLiteral("smartfigure")
                         : image == QLatin1String("f_note")   ? QStringLiteral("english")
                         : image == QLatin1String("f_next")   ? QStringLiteral("after")
                         : image == QLatin1String("f_prev")   ? QStringLiteral("before")
                         : image == QLatin1String("f_zoom")   ? QStringLiteral("zoomin")
                         : image == QLatin1String("f_eraser") ? QStringLiteral("all")
                                                              : QStringLiteral("rec");
    if (image == QLatin1String("f_color"))
        ColourWheel(p, box.adjusted(d * 0.06, 0, -d * 0.06, 0), disabled);
    else
        Symbol(p, box, stem, disabled);
    if (image == QLatin1String(kLauncherRecordNone)) {
        // Nothing to record with: struck through.
        p.setPen(QPen(QColor(210, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(box.topLeft(), box.bottomRight());
    }
    return picture;
}

// The centre picture of a tool; the transparent pens show a highlighter band.
QImage CentrePictureOf(const QString& image)
{
    QImage picture = Blank(kLauncherPicture.size());
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(QPointF(0, 0), QSizeF(kLauncherPicture.size()));
    const bool transparent = image.startsWith(QLatin1String("f_s_m_trans_"));
    if (transparent) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 230, 40, 170));
        p.drawRoundedRect(whole.adjusted(8, 22, -8, -22), 8, 8);
    }
    static const QHash<QString, QString> stems = {
        {"f_s_m_eraser_select", "sel"},  {"f_s_m_eraserarea", "area"},       {"f_s_m_pen", "free"},
        {"f_s_m_brushpen", "brush"},     {"f_s_m_line", "line"},              {"f_s_m_rectangle", "rect"},
        {"f_s_m_fillrectangle", "frect"}, {"f_s_m_ellipse", "ellipse"},      {"f_s_m_fillellipse", "fellipse"},
        {"f_s_m_barrow", "barrow"},      {"f_s_m_Earrow", "sarrow"},          {"f_s_m_smartfigure", "smartfigure"},
        {"f_s_m_MoveAll", "moveall"},    {"f_s_m_select_mode", "select"},    {"f_s_m_trans_freeline", "free"},
        {"f_s_m_trans_line", "line"},    {"f_s_m_trans_rect", "rect"},        {"f_s_m_trans_fillrect", "frect"},
        {"f_s_m_trans_circle", "ellipse"}, {"f_s_m_trans_fillcircle", "fellipse"}, {"f_s_m_trans_barrow", "barrow"},
        {"f_s_m_trans_sarrow", "sarrow"},
    };
    Symbol(p, whole.adjusted(12, 13, -12, -13), stems.value(image), false);
    return picture;
}

// --- Sub-panels -----------------------------------------------------------

constexpr qreal kRingInner = 95.5;
constexpr qreal kRingOuter = 119.5;
const QPointF kPanelCentre(kSubPanelSize / 2.0, kSubPanelSize / 2.0);

// The ring a sub-panel draws on; inside it the launcher stays visible.
QPainterPath Ring()
{
    QPainterPath ring;
    ring.addEllipse(kPanelCentre, kRingOuter, kRingOuter);
    QPainterPath hole;
    hole.addEllipse(kPanelCentre, kRingInner, kRingInner);
    return ring.subtracted(hole);
}

QImage RingBackground()
{
    QImage image = Blank(QSize(kSubPanelSize, kSubPanelSize));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(kPanelCentre, kRingOuter);
    g.setColorAt(kRingInner / kRingOuter, QColor(70, 95, 140));
    g.setColorAt(1, kRing);
    p.setPen(QPen(kRim, 1.5));
    p.setBrush(g);
    p.drawPath(Ring());
    return image;
}

// Where a ring button's face lies in panel coordinates: a disc on the ring's
// middle line, as near the button's centre as its rectangle allows, cut to
// the ring so the launcher under the panel stays free.
struct RingFace {
    QPainterPath shape;
    QPointF centre;
};

RingFace RingFaceOf(const QRect& rect)
{
    const QRectF r(rect);
    const qreal radius = qMin(r.width(), r.height()) / 2 - 1.5;
    QPointF towards = r.center() - kPanelCentre;
    const qreal length = qSqrt(towards.x() * towards.x() + towards.y() * towards.y());
    QPointF centre = length < 1 ? r.center() : kPanelCentre + towards * ((kRingInner + kRingOuter) / 2 / length);
    centre.setX(qBound(r.left() + radius, centre.x(), r.right() - radius));
    centre.setY(qBound(r.top() + radius, centre.y(), r.bottom() - radius));
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    QPainterPath box;
    box.addRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    return {disc.intersected(Ring()).intersected(box), centre};
}

// A face of a ring button: `fill` paints the inside; "_down" gets a bright
// border and a mark.
QImage RingButton(const QRect& rect, Face face, const std::function<void(QPainter&, const RingFace&)>& fill)
{
    QImage picture = Blank(rect.size());
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-QPointF(rect.topLeft()));
    const RingFace ringFace = RingFaceOf(rect);
    p.setPen(Qt::NoPen);
    fill(p, ringFace);
    p.setBrush(Qt::NoBrush);
    if (face == Face::Down) {
        p.setPen(QPen(QColor(255, 200, 40), 4));
        p.drawPath(ringFace.shape);
        p.setPen(QPen(Qt::white, 1.5));
        p.drawPath(ringFace.shape);
    } else {
        p.setPen(QPen(kRim, 1.2));
        p.drawPath(ringFace.shape);
    }
    return picture;
}

QImage ColourButton(const QRect& rect, const QColor& colour, Face face)
{
    return RingButton(rect, face, [&](QPainter& p, const RingFace& f) {
        p.setBrush(colour);
        p.drawPath(f.shape);
        if (face == Face::Down) {
            // A tick in the colour that stands out on this one.
            const QColor mark = qGray(colour.rgb()) > 140 ? Qt::black : Qt::white;
            const QPointF c = f.centre;
            QPainterPath tick;
            tick.moveTo(c + QPointF(-6, 0));
            tick.lineTo(c + QPointF(-2, 4));
            tick.lineTo(c + QPointF(6, -5));
            p.setPen(QPen(mark, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
        }
    });
}

QImage WidthButton(const QRect& rect, int step, Face face)
{
    return RingButton(rect, face, [&](QPainter& p, const RingFace& f) {
        p.setBrush(face == Face::Down ? QColor(255, 236, 170) : QColor(236, 241, 250));
        p.drawPath(f.shape);
        p.setBrush(kInk);
        p.setPen(Qt::NoPen);
        p.drawEllipse(f.centre, 1.0 + step * 1.6, 1.0 + step * 1.6);
    });
}

QImage AutoColourButton(const QRect& rect, Face face)
{
    return RingButton(rect, face, [&](QPainter& p, const RingFace& f) {
        QConicalGradient g(f.centre, 0);
        for (int i = 0; i <= 6; ++i)
            g.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 220, 250));
        p.setBrush(g);
        p.drawPath(f.shape);
    });
}

// The symbol of each button picture of the tool rings, by the toolbar's
// stems; the fixed zoom steps show their percentage instead.
QString RingSymbolStem(const QString& image)
{
    static const QHash<QString, QString> stems = {
        {"f_s_eraserall", "all"},      {"f_s_eraserselect", "sel"},      {"f_s_eraserarea", "area"},
        {"f_s_earrow", "sarrow"},      {"f_s_barrow", "barrow"},         {"f_s_ellipse", "ellipse"},
        {"f_s_fillellipse", "fellipse"}, {"f_s_rectangle", "rect"},      {"f_s_fillrectangle", "frect"},
        {"f_s_line", "line"},          {"f_s_trans", "trans"},           {"f_s_brushpen", "brush"},
        {"f_s_pen", "free"},           {"f_s_smartfigure", "smartfigure"}, {"f_s_undo", "undo"},
        {"f_s_redo", "redo"},          {"f_s_note", "New"},              {"f_s_blackboard", "black"},
        {"f_s_musicnote", "music"},    {"f_s_englishnote", "english"},   {"f_s_manuscript", "manu"},
        {"f_s_graphnote", "graph"},    {"f_s_Office", "office"},         {"f_s_clipart", "clipart"},
        {"f_s_loadImage", "image"},    {"f_s_notelist", "list"},         {"f_moveall", "moveall"},
        {"f_s_select", "select"},      {"f_s_window", "win"},            {"f_s_connect", "connect"},
        {"f_s_ip", "IP"},              {"f_s_Strova", "Strova"},         {"f_s_zoomin", "zoomin"},
        {"f_s_zoomout", "zoomout"},    {"f_s_zoomrect", "zoomrect"},  {"f_s_rec", "rec"},
        {"f_s_stop", "stop"},          {"f_s_viewvideo", "viewvideo"},
    };
    return stems.value(image);
}

QImage SymbolButton(const PanelButton& spec, Face face)
{
    const QString image = QLatin1String(spec.image);
    const bool disabled = face == Face::Disabled;
    return RingButton(spec.geometry, face, [&](QPainter& p, const RingFace& f) {
        p.setBrush(face == Face::Down ? QColor(255, 236, 170) : disabled ? QColor(205, 208, 214) : QColor(236, 241, 250));
        p.drawPath(f.shape);
        const qreal r = qMin(spec.geometry.width(), spec.geometry.height()) / 2.0 - 1.5;
        const QRectF box(f.centre - QPointF(r * 0.72, r * 0.68), QSizeF(r * 1.44, r * 1.36));
        const QString stem = RingSymbolStem(image);
        if (!stem.isEmpty()) {
            Symbol(p, box, stem, disabled);
            return;
        }
        // "f_s_zoom100" and its kin: the percentage.
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(qMax(7, int(r * 0.62)));
        p.setFont(font);
        p.setPen(disabled ? QColor(150, 150, 150) : kInk);
        p.drawText(box, Qt::AlignCenter, image.mid(int(qstrlen("f_s_zoom"))) + QLatin1Char('%'));
    });
}

// A tool ring: its background and every button in the faces of the
// sub-panel sheet, plus the disabled face where the panel has one.
void AddToolRing(QVector<PanelPicture>& pictures, const char* folder, const char* background,
                 const QVector<PanelButton>& buttons, const char* disabledFace = nullptr)
{
    pictures << PanelPicture{folder, background, RingBackground()};
    for (const PanelButton& spec : buttons) {
        QVector<Face> faces = {Face::Normal, Face::Down};
        if (disabledFace && qstrcmp(spec.image, disabledFace) == 0)
            faces << Face::Disabled;
        for (Face face : faces)
            pictures << PanelPicture{spec.folder, QLatin1String(spec.image) + FaceSuffix(face), SymbolButton(spec, face)};
    }
}

}  // namespace

QVector<PanelPicture> PanelPictures()
{
    QVector<PanelPicture> pictures;

    // The launcher: background, its nine buttons with the faces of the
    // launcher sheet, the struck-out recording button and the centre pictures.
    pictures << PanelPicture{kLauncherFolder, kLauncherBackground, LauncherBackground()};
    QVector<PanelButton> launcher = LauncherButtons();
    for (const PanelButton& spec : LauncherButtons()) {
        if (QLatin1String(spec.image) == QLatin1String("f_rec")) {
            PanelButton none = spec;
            none.image = kLauncherRecordNone;
            launcher << none;
        }
    }
    for (const PanelButton& spec : launcher) {
        const QString image = QLatin1String(spec.image);
        QVector<Face> faces = {Face::Normal, Face::Down, Face::Over};
        if (LauncherHasDisabledFace(image))
            faces << Face::Disabled;
        // The struck-out recording button is only ever shown disabled, and
        // its sheet has no disabled face: every face of it looks disabled.
        const bool alwaysDisabled = image == QLatin1String(kLauncherRecordNone);
        for (Face face : faces) {
            pictures << PanelPicture{spec.folder, image + FaceSuffix(face),
                                     LauncherButton(spec, image, alwaysDisabled ? Face::Disabled : face)};
        }
    }
    for (const CentrePicture& centre : LauncherCentrePictures())
        pictures << PanelPicture{centre.folder, centre.image, CentrePictureOf(centre.image)};

    // The colour ring.
    pictures << PanelPicture{kColourFolder, kColourBackground, RingBackground()};
    const QVector<PanelButton>& colour = ColourPanelButtons();
    const QVector<ColourNameEntry>& names = ColourNames();
    for (int i = 0; i < colour.size(); ++i) {
        const PanelButton& spec = colour[i];
        // The hidden automatic-colour button has no place of its own: it is
        // drawn as if it stood where the first width button does.
        const QRect rect = spec.geometry.isEmpty() ? colour[names.size()].geometry : spec.geometry;
        for (Face face : {Face::Normal, Face::Down}) {
            QImage image;
            if (i < names.size())
                image = ColourButton(rect, QColor(QLatin1String(names[i].value)), face);
            else if (i < names.size() + 4)
                image = WidthButton(rect, i - names.size() + 1, face);
            else
                image = AutoColourButton(rect, face);
            pictures << PanelPicture{spec.folder, QLatin1String(spec.image) + FaceSuffix(face), image};
        }
    }

    AddToolRing(pictures, kEraserFolder, kEraserBackground, EraserPanelButtons());
    AddToolRing(pictures, kFigureFolder, kFigureBackground, FigurePanelButtons(), kFigureTransparentImage);
    AddToolRing(pictures, kNoteFolder, kNoteBackground, NotePanelButtons());
    AddToolRing(pictures, kChangeModeFolder, kChangeModeBackground, ChangeModePanelButtons());
    AddToolRing(pictures, kZoomFolder, kZoomBackground, ZoomPanelButtons());
    AddToolRing(pictures, kRecFolder, kRecBackground, RecPanelButtons());
    return pictures;
}
