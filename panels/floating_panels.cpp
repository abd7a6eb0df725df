#include "panels/floating_panels.h"

#include <cmath>

#include <QStringList>

QString LauncherStyleSheet(const QString& folder, const QString& image)
{
    QString sheet = QStringLiteral("QPushButton {border-image: url(:/%1/%2);}"
                                   "QPushButton:pressed {border-image: url(:/%1/%2_down);}"
                                   "QPushButton:hover {border-image: url(:/%1/%2_over);}")
                        .arg(folder, image);
    if (LauncherHasDisabledFace(image))
        sheet += QStringLiteral("QPushButton:disabled {border-image: url(:/%1/%2_disable);}").arg(folder, image);
    return sheet;
}

QString SubPanelStyleSheet(const QString& folder, const QString& image, bool disabledFace)
{
    QString sheet = QStringLiteral("QPushButton {border-image: url(:/%1/%2);}"
                                   "QPushButton:hover {border-image: url(:/%1/%2_down);}"
                                   "QPushButton:checked {border-image: url(:/%1/%2_down);}")
                        .arg(folder, image);
    if (disabledFace)
        sheet += QStringLiteral("QPushButton:disabled {border-image: url(:/%1/%2_disable);}").arg(folder, image);
    return sheet;
}

QString PictureStyleSheet(const QString& folder, const QString& image)
{
    return QStringLiteral("border-image: url(:/%1/%2);").arg(folder, image);
}

QString PanelPicturePath(const QString& folder, const QString& image)
{
    return QStringLiteral(":/%1/%2").arg(folder, image);
}

bool LauncherHasDisabledFace(const QString& image)
{
    static const QStringList withDisabled = {"f_color", "f_figure", "f_next", "f_prev", "f_zoom", "f_rec", "f_eraser"};
    return withDisabled.contains(image);
}

const QVector<ColourNameEntry>& ColourNames()
{
    static const QVector<ColourNameEntry> names = {
        {"black", "#000000"},  {"maroon", "#800000"}, {"green", "#008000"},   {"olive", "#808000"},
        {"navy", "#000080"},   {"purple", "#800080"}, {"teal", "#008080"},    {"gray", "#808080"},
        {"silver", "#c0c0c0"}, {"red", "#ff0000"},    {"lime", "#00ff00"},    {"yellow", "#ffff00"},
        {"blue", "#0000ff"},   {"fuchsia", "#ff00ff"}, {"aqua", "#00ffff"},   {"white", "#ffffff"},
    };
    return names;
}

int ColourIndexOfValue(const QString& value)
{
    const QVector<ColourNameEntry>& names = ColourNames();
    for (int i = 0; i < names.size(); ++i) {
        if (value == QLatin1String(names[i].value))
            return i;
    }
    return -1;
}

const QVector<const char*>& NoteKinds()
{
    static const QVector<const char*> kinds = {"WhiteBoard", "BlackNote", "EngNote",  "GraphNote", "ManuNote",
                                               "MusicNote",  "Office",    "ClipArt", "LoadImage"};
    return kinds;
}

namespace {

enum PanelRow {
    kLauncherRow,
    kColourRow,
    kEraserRow,
    kFigureRow,
    kNoteRow,
    kChangeModeRow,
    kZoomRow,
    kRecRow,
};

// The buttons of every panel of the family, a row per panel in the order above.
const QVector<PanelButton> kPanelButtons[] = {
    {
        {"btnPenMode", QRect(41, 9, 50, 51), "FloatingChange", "f_mode", 971},
        {"btnColor", QRect(10, 29, 56, 54), "FloatingColor", "f_color", 970},
        {"btnFigure", QRect(94, 7, 51, 55), "FloatingDraw", "f_figure", 965},
        {"btnNote", QRect(122, 29, 53, 52), "FloatingNote", "f_note", 966},
        {"btnNext", QRect(130, 76, 46, 51), "FloatingMoveNote", "f_next", 935},
        {"btnZoom", QRect(108, 113, 58, 58), "FloatingZoom", "f_zoom", 967},
        {"btnRec", QRect(63, 132, 58, 45), "FloatingRec", "f_rec", 968},
        {"btnEraser", QRect(21, 114, 57, 56), "FloatingEraser", "f_eraser", 969},
        {"btnPrev", QRect(10, 80, 47, 52), "FloatingMoveNote", "f_prev", 934},
    },
    {
        {"btnBlack", QRect(0, 89, 31, 31), kColourFolder, "f_s_black", 905},
        {"btnMaroon", QRect(4, 60, 36, 36), kColourFolder, "f_s_maroon", 906},
        {"btnGreen", QRect(16, 36, 38, 38), kColourFolder, "f_s_green", 907},
        {"btnOlive", QRect(36, 17, 38, 38), kColourFolder, "f_s_olive", 908},
        {"btnNavy", QRect(60, 4, 37, 36), kColourFolder, "f_s_navy", 909},
        {"btnPurple", QRect(89, 0, 32, 31), kColourFolder, "f_s_purple", 910},
        {"btnTeal", QRect(120, 0, 31, 31), kColourFolder, "f_s_teal", 911},
        {"btnGray", QRect(143, 5, 37, 35), kColourFolder, "f_s_gray", 912},
        {"btnSilver", QRect(165, 17, 39, 37), kColourFolder, "f_s_silver", 913},
        {"btnRed", QRect(186, 36, 37, 38), kColourFolder, "f_s_red", 914},
        {"btnLime", QRect(200, 60, 36, 37), kColourFolder, "f_s_lime", 915},
        {"btnYellow", QRect(209, 89, 31, 32), kColourFolder, "f_s_yellow", 916},
        {"btnBlue", QRect(209, 120, 31, 31), kColourFolder, "f_s_blue", 917},
        {"btnFuchsia", QRect(200, 144, 36, 36), kColourFolder, "f_s_fuchsia", 918},
        {"btnAqua", QRect(185, 166, 37, 38), kColourFolder, "f_s_aqua", 919},
        {"btnWhite", QRect(166, 185, 38, 37), kColourFolder, "f_s_white", 920},
        {"btnPenWidth1", QRect(0, 119, 40, 60), kColourFolder, "f_s_penwidth1", 344},
        {"btnPenWidth2", QRect(16, 166, 58, 58), kColourFolder, "f_s_penwidth2", 345},
        {"btnPenWidth3", QRect(60, 199, 60, 41), kColourFolder, "f_s_penwidth3", 346},
        {"btnPenWidth4", QRect(120, 199, 60, 41), kColourFolder, "f_s_penwidth4", 347},
        {"btnAutoColor", QRect(), kColourFolder, "f_s_autocolor", 0},
    },
    {
        {"btnEraserAll", QRect(0, 118, 31, 31), kEraserFolder, "f_s_eraserall", 931},
        {"btnEraserSel", QRect(3, 142, 36, 38), kEraserFolder, "f_s_eraserselect", 932},
        {"btnEraserArea", QRect(15, 166, 38, 38), kEraserFolder, "f_s_eraserarea", 978},
    },
    {
        {"btnEArrow", QRect(4, 59, 36, 36), kFigureFolder, "f_s_earrow", 930},
        {"btnBArrow", QRect(16, 35, 38, 38), kFigureFolder, "f_s_barrow", 929},
        {"btnCircle", QRect(36, 16, 38, 38), kFigureFolder, "f_s_ellipse", 927},
        {"btnFillCircle", QRect(60, 3, 37, 36), kFigureFolder, "f_s_fillellipse", 928},
        {"btnRectangle", QRect(89, 0, 32, 31), kFigureFolder, "f_s_rectangle", 925},
        {"btnFillRectangle", QRect(120, 0, 31, 31), kFigureFolder, "f_s_fillrectangle", 926},
        {"btnLine", QRect(144, 5, 37, 35), kFigureFolder, "f_s_line", 924},
        {"btnPenTrans", QRect(165, 16, 39, 37), kFigureFolder, kFigureTransparentImage, 922},
        {"btnBrushPen", QRect(186, 35, 37, 38), kFigureFolder, "f_s_brushpen", 959},
        {"btnFreePen", QRect(201, 59, 36, 37), kFigureFolder, "f_s_pen", 923},
        {"btnSmartFigure", QRect(210, 88, 31, 32), kFigureFolder, "f_s_smartfigure", 977},
        {"btnUndo", QRect(210, 120, 31, 31), kFigureFolder, "f_s_undo", 975},
        {"btnRedo", QRect(201, 144, 36, 36), kFigureFolder, "f_s_redo", 976},
    },
    {
        {"btnNote", QRect(90, 0, 32, 31), kNoteFolder, "f_s_note", 900},
        {"btnBlackBoard", QRect(121, 0, 31, 31), kNoteFolder, "f_s_blackboard", 946},
        {"btnMusicNote", QRect(144, 5, 37, 35), kNoteFolder, "f_s_musicnote", 947},
        {"btnEnglishNote", QRect(167, 17, 39, 37), kNoteFolder, "f_s_englishnote", 948},
        {"btnManuScript", QRect(187, 36, 37, 38), kNoteFolder, "f_s_manuscript", 949},
        {"btnGraphNote", QRect(201, 60, 36, 37), kNoteFolder, "f_s_graphnote", 950},
        {"btnOffice", QRect(210, 88, 31, 32), kNoteFolder, "f_s_Office", 904},
        {"btnClipart", QRect(210, 120, 31, 31), kNoteFolder, "f_s_clipart", 903},
        {"btnLoadImage", QRect(201, 144, 36, 36), kNoteFolder, "f_s_loadImage", 957},
        {"btnNoteList", QRect(187, 166, 37, 38), kNoteFolder, "f_s_notelist", 937},
    },
    // The collaboration buttons' tips are fixed words, or a menu text: they
    // carry no hint key here.
    {
        {"btnMoveAll", QRect(35, 17, 38, 38), kChangeModeFolder, "f_moveall", 960},
        {"btnSelect", QRect(59, 4, 37, 36), kChangeModeFolder, "f_s_select", 936},
        {"btnSwapMode", QRect(89, 0, 32, 31), kChangeModeFolder, "f_s_window", 951},
        {"btn_floating_collConnect", QRect(149, 10, 27, 27), kCollaborationFolder, "f_s_connect", 0},
        {"btn_floating_Ip", QRect(176, 26, 27, 27), kCollaborationFolder, "f_s_ip", 0},
        {"btn_floating_Strova", QRect(121, 0, 31, 31), kCollaborationFolder, "f_s_Strova", 0},
    },
    {
        {"btnZoom100", QRect(167, 188, 38, 37), kZoomFolder, "f_s_zoom100", 942},
        {"btnZoom200", QRect(187, 168, 37, 38), kZoomFolder, "f_s_zoom200", 943},
        {"btnZoom300", QRect(201, 146, 36, 36), kZoomFolder, "f_s_zoom300", 944},
        {"btnZoom400", QRect(210, 122, 31, 31), kZoomFolder, "f_s_zoom400", 945},
        {"btnZoomIn", QRect(144, 202, 37, 36), kZoomFolder, "f_s_zoomin", 955},
        {"btnZoomOut", QRect(120, 211, 32, 31), kZoomFolder, "f_s_zoomout", 956},
        {"btnZoomRect", QRect(90, 211, 31, 31), kZoomFolder, "f_s_zoomrect", 952},
    },
    {
        {"btnRec", QRect(119, 209, 32, 31), kRecFolder, "f_s_rec", 938},
        {"btnStop", QRect(89, 209, 31, 31), kRecFolder, "f_s_stop", 940},
        {"btnViewVideo", QRect(145, 200, 37, 36), kRecFolder, "f_s_viewvideo", 0},
    },
};

}  // namespace

const QVector<PanelButton>& LauncherButtons() { return kPanelButtons[kLauncherRow]; }
const QVector<PanelButton>& ColourPanelButtons() { return kPanelButtons[kColourRow]; }
const QVector<PanelButton>& EraserPanelButtons() { return kPanelButtons[kEraserRow]; }
const QVector<PanelButton>& FigurePanelButtons() { return kPanelButtons[kFigureRow]; }
const QVector<PanelButton>& NotePanelButtons() { return kPanelButtons[kNoteRow]; }
const QVector<PanelButton>& ChangeModePanelButtons() { return kPanelButtons[kChangeModeRow]; }
const QVector<PanelButton>& ZoomPanelButtons() { return kPanelButtons[kZoomRow]; }
const QVector<PanelButton>& RecPanelButtons() { return kPanelButtons[kRecRow]; }

const QVector<QRectF>& LauncherFaces()
{
    static const QVector<QRectF> faces = [] {
        // The circle the faces' centres lie on, and the launcher's drawn disc.
        const qreal onCircle = 66;
        const qreal edge = 91.5;
        const QPointF middle(kLauncherSize / 2.0, kLauncherSize / 2.0);
        const QVector<PanelButton>& buttons = LauncherButtons();
        QVector<QPointF> centres;
        for (const PanelButton& spec : buttons) {
            const QPointF towards = QRectF(spec.geometry).center() - middle;
            const qreal length = qMax<qreal>(1, std::hypot(towards.x(), towards.y()));
            centres << middle + towards * (onCircle / length);
        }
        const QRectF handle(kLauncherHandle);
        QVector<QRectF> out;
        for (int i = 0; i < buttons.size(); ++i) {
            const QRectF box(buttons[i].geometry);
            const QPointF c = centres[i];
            qreal r = qMin(qMin(c.x() - box.left(), box.right() - c.x()), qMin(c.y() - box.top(), box.bottom() - c.y())) - 1;
            const qreal dx = qMax(qMax(handle.left() - c.x(), c.x() - handle.right()), qreal(0));
            const qreal dy = qMax(qMax(handle.top() - c.y(), c.y() - handle.bottom()), qreal(0));
            r = qMin(r, std::hypot(dx, dy) - 2);
            r = qMin(r, edge - std::hypot(c.x() - middle.x(), c.y() - middle.y()) - 2);
            for (int j = 0; j < buttons.size(); ++j) {
                if (j != i)
                    r = qMin(r, std::hypot(c.x() - centres[j].x(), c.y() - centres[j].y()) / 2 - 1.5);
            }
            out << QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r);
        }
        return out;
    }();
    return faces;
}

QPoint LauncherPlace(QPoint stored, const QRect& screen)
{
    const QPoint inset(kSubPanelInset, kSubPanelInset);
    if (screen.contains(QRect(stored - inset, QSize(kSubPanelSize, kSubPanelSize))))
        return stored;
    // A few pixels off the edge, so the ring does not touch it.
    const int margin = 8;
    const int left = qMax(screen.left(), screen.left() + screen.width() - kSubPanelSize - margin);
    const int top = qMax(screen.top(), screen.top() + (screen.height() - kSubPanelSize) / 2);
    return QPoint(left, top) + inset;
}

namespace {

struct CentreRow {
    const char* key;
    const char* folder;
    const char* image;
    const char* transparentImage;  // in the same folder; the same picture when null
};

const CentreRow kCentreRows[] = {
    {"ekSelEraser", "FloatingEraser", "f_s_m_eraser_select", nullptr},
    {"ekAreaEraser", "FloatingEraser", "f_s_m_eraserarea", nullptr},
    {"ekFree", "FloatingDraw", "f_s_m_pen", "f_s_m_trans_freeline"},
    {"ekBrush", "FloatingDraw", "f_s_m_brushpen", "f_s_m_trans_freeline"},
    {"ekLine", "FloatingDraw", "f_s_m_line", "f_s_m_trans_line"},
    {"ekRect", "FloatingDraw", "f_s_m_rectangle", "f_s_m_trans_rect"},
    {"ekFillRect", "FloatingDraw", "f_s_m_fillrectangle", "f_s_m_trans_fillrect"},
    {"ekEllipse", "FloatingDraw", "f_s_m_ellipse", "f_s_m_trans_circle"},
    {"ekFillEllipse", "FloatingDraw", "f_s_m_fillellipse", "f_s_m_trans_fillcircle"},
    {"ekBArrow", "FloatingDraw", "f_s_m_barrow", "f_s_m_trans_barrow"},
    {"ekEArrow", "FloatingDraw", "f_s_m_Earrow", "f_s_m_trans_sarrow"},
    {"ekSmart", "FloatingDraw", "f_s_m_smartfigure", nullptr},
    {"ekMoveAll", "FloatingChange", "f_s_m_MoveAll", nullptr},
    {"ekSelect", "FloatingChange", "f_s_m_select_mode", nullptr},
};

}  // namespace

CentrePicture LauncherCentrePicture(const QString& toolKey, bool transparent)
{
    for (const CentreRow& row : kCentreRows) {
        if (toolKey == QLatin1String(row.key)) {
            const char* image = transparent && row.transparentImage ? row.transparentImage : row.image;
            return {QLatin1String(row.folder), QLatin1String(image)};
        }
    }
    return {};
}

QVector<CentrePicture> LauncherCentrePictures()
{
    QVector<CentrePicture> pictures;
    for (const CentreRow& row : kCentreRows) {
        for (const char* image : {row.image, row.transparentImage}) {
            if (!image)
                continue;
            const CentrePicture picture{QLatin1String(row.folder), QLatin1String(image)};
            bool known = false;
            for (const CentrePicture& seen : pictures)
                known = known || (seen.folder == picture.folder && seen.image == picture.image);
            if (!known)
                pictures << picture;
        }
    }
    return pictures;
}

QVector<QString> LauncherCentreKeys()
{
    QVector<QString> keys;
    for (const CentreRow& row : kCentreRows)
        keys << QLatin1String(row.key);
    return keys;
}
