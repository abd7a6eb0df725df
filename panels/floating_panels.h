#pragma once

// What the floating launcher and its sub-panels share without a window: the
// style sheets built from picture names, the words the panels send, and the
// button tables that both the panels and the picture generator read.
#include <QRect>
#include <QString>
#include <QVector>

// The launcher's button sheet: normal, pressed and hover faces, and a
// disabled face for the launcher pictures that have one.
QString LauncherStyleSheet(const QString& folder, const QString& image);

// A sub-panel button's sheet: hover and checked share the "_down" face; a
// panel whose button can be disabled asks for the disabled face as well.
QString SubPanelStyleSheet(const QString& folder, const QString& image, bool disabledFace = false);

// "border-image: url(:/<folder>/<image>);", the sheet of a background or
// picture label.
QString PictureStyleSheet(const QString& folder, const QString& image);

// The resource path ":/<folder>/<image>".
QString PanelPicturePath(const QString& folder, const QString& image);

// Does the launcher picture have a disabled face?
bool LauncherHasDisabledFace(const QString& image);

// The sixteen pen colours in the order of the colour ring and of every
// comparison: the name sent, and the "#rrggbb" value it stands for.
struct ColourNameEntry {
    const char* name;
    const char* value;
};
const QVector<ColourNameEntry>& ColourNames();
// The entry whose value equals `value` exactly, or -1.
int ColourIndexOfValue(const QString& value);

// The page kinds the note panel sends.
const QVector<const char*>& NoteKinds();

// One button of a panel's form: object name, final geometry, picture and
// the language text of its tool tip (a key of group "Hint" from 900 on, or
// of group "Config" from 300 on, 0 for none).
struct PanelButton {
    const char* objectName;
    QRect geometry;
    const char* folder;
    const char* image;
    int hintKey;
};

// Window sizes of the family: a sub-panel is 27 pixels larger on every side,
// so it lies centred over the launcher.
constexpr int kLauncherSize = 187;
constexpr int kSubPanelSize = 241;
constexpr int kSubPanelInset = 27;
// The launcher's centre square, its handle and its menu button.
constexpr QRect kLauncherHandle(58, 57, 71, 71);
constexpr QRect kLauncherPicture(59, 58, 71, 71);

// Where the launcher stands when it is shown at `stored` on `screen`: there
// when the launcher and the ring of any of its panels lie wholly on the
// screen, else against the screen's right edge, centred top to bottom, with
// the whole ring on the screen (the first start, a screen that shrank). A
// drag may still take it anywhere afterwards.
QPoint LauncherPlace(QPoint stored, const QRect& screen);

// The launcher's nine buttons, in the order of its form.
const QVector<PanelButton>& LauncherButtons();
// Where each launcher button draws its round face, in launcher coordinates,
// in the order of LauncherButtons(). The buttons' rectangles overlap; the
// faces do not: each is a disc inside its rectangle on a circle about the
// centre, clear of its neighbours, of the centre square and of the edge.
const QVector<QRectF>& LauncherFaces();

// The launcher's background picture (":/Floating/floatmenu_bg").
constexpr const char* kLauncherFolder = "Floating";
constexpr const char* kLauncherBackground = "floatmenu_bg";
// The picture of the recording button when there is nothing to record with.
constexpr const char* kLauncherRecordNone = "f_rec_none";

// The colour panel: the sixteen colour buttons in ring order, then the four
// width buttons, then the hidden automatic-colour button.
const QVector<PanelButton>& ColourPanelButtons();
constexpr const char* kColourFolder = "FloatingColor";
constexpr const char* kColourBackground = "f_s_color_bg";

// The eraser panel: erase all, erase the touched objects, erase an area.
const QVector<PanelButton>& EraserPanelButtons();
constexpr const char* kEraserFolder = "FloatingEraser";
constexpr const char* kEraserBackground = "f_s_eraser_bg";

// The figure panel's thirteen buttons, clockwise from the left.
const QVector<PanelButton>& FigurePanelButtons();
constexpr const char* kFigureFolder = "FloatingDraw";
constexpr const char* kFigureBackground = "f_s_figure_bg";
// The one figure button that can be disabled, and has a face for it.
constexpr const char* kFigureTransparentImage = "f_s_trans";

// The note panel's ten buttons along the quarter arc from the top.
const QVector<PanelButton>& NotePanelButtons();
constexpr const char* kNoteFolder = "FloatingNote";
constexpr const char* kNoteBackground = "f_s_note_bg";

// The mode panel's six visible buttons: the two object modes, the window
// mode, then the three collaboration buttons.
const QVector<PanelButton>& ChangeModePanelButtons();
constexpr const char* kChangeModeFolder = "FloatingChange";
constexpr const char* kChangeModeBackground = "f_s_mode_bg";
constexpr const char* kCollaborationFolder = "FloatingColl";

// The zoom panel's seven buttons: 100 to 400 %, in, out and the rectangle.
const QVector<PanelButton>& ZoomPanelButtons();
constexpr const char* kZoomFolder = "FloatingZoom";
constexpr const char* kZoomBackground = "f_s_zoom_bg";

// The recording panel's three buttons at the bottom of the ring: record,
// stop, and the camera view.
const QVector<PanelButton>& RecPanelButtons();
constexpr const char* kRecFolder = "FloatingRec";
constexpr const char* kRecBackground = "f_s_rec_bg";

// The picture the launcher's centre shows for a tool: folder and image, or
// an empty folder for a key it has no picture for.
struct CentrePicture {
    QString folder;
    QString image;
};
CentrePicture LauncherCentrePicture(const QString& toolKey, bool transparent);
// Every centre picture of the table, for the picture generator and tests.
QVector<CentrePicture> LauncherCentrePictures();
// The tool keys the centre knows.
QVector<QString> LauncherCentreKeys();
