#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

// The toolbar's image buttons carry no icon and no text: a style sheet built
// from one row of the button table gives each state its picture. A row is
// found by its image key (a tool key, a note kind, a colour name, ...).
struct ButtonRecord {
    QString Key;
    QString Group;  // also the resource folder of the row's pictures
    QString Image1;
    QString Image2;
    QString Image3;
    QString Image4;
    QString Image5;
    QString Image6;
    QString ToolTip;
    QString DisabledImageA;  // with images 1 to 3
    QString DisabledImageB;  // with images 4 to 6
};

// One row of the toolbar's button table: its tooltip is a "Hint" language key (or none, -1),
// a literal text, or, for the pen widths, key 921 joined with the width.
struct ButtonRow {
    QString key;
    QString group;
    QString stem;
    int hintKey = -1;
    QString literalTip;
    int widthSuffix = 0;        // > 0: tooltip is the hint text + " : " + this
    bool disabledImages = false;
};

// The 85 rows in table order, group by group.
const QVector<ButtonRow>& ButtonRows();

// The seven sub-button rows' keys in display order.
struct ButtonRowKeyLists {
    QStringList note, color, draw, erase, object, zoom, viewLocation;
};
const ButtonRowKeyLists& SubButtonRowKeys();
// The group after whose rows a key list is filled, or -1 for none:
// 0 note, 1 color, 2 draw, 3 erase, 4 object, 5 zoom, 6 view location.
int KeyListAfterGroup(const QString& group);

// The tooltip of a row from the "Hint" texts (index = key - 900); a key the
// file lacks gives an empty text.
QString ButtonRowToolTip(const ButtonRow& row, const QStringList& hintTexts);

// The style sheet of the first row holding `key` (exact comparison), with the
// picture set of the toolbar position; sets *tooltip to the row's tooltip.
// No row: an empty text and *tooltip untouched.
QString ButtonStyleSheet(const QVector<ButtonRecord>& table, const QString& key, int toolbarPosition,
                         QString* tooltip);

// --- Pictures ---------------------------------------------------------------

// One picture of the resource bundle: ":/" + group + "/" + name.
struct ToolbarPicture {
    QString group;
    QString name;
    QString stem;  // what the picture shows (the row's stem, or the shell name)
    QSize size;
    // 1..3 the top/bottom set's normal, hover, pressed; 4..6 the side set's;
    // 0 and 7 the disabled pictures of the two sets; -1 a picture of the shell.
    int variant = -1;
};

// Every picture the button table names and the bundle holds, then the
// shell's own pictures (bar, logo, cursor, menu, window, tray, splash).
QVector<ToolbarPicture> ToolbarPictures();

// --- Placement --------------------------------------------------------------

// The toolbar band's placement per docked position 0..3 (0 bottom, 1 top,
// 2 left, 3 right) on a canvas of w x h at scale s.
struct ToolbarPlacement {
    QPoint barOrigin[4];
    QPoint insetOrigin[4];
    QSize barSize[4];
};
ToolbarPlacement MakeToolbarPlacement(int w, int h, float scale);

// Scroll bar rectangles (horizontal, vertical) around the toolbar.
struct ScrollBarRects {
    QRect horizontal;
    QRect vertical;
};
ScrollBarRects ScrollBarGeometry(int position, int x0, int w, int h, float scale, int thickness);

// The page counter and recording-time label rectangles.
struct PageLabelRects {
    QRect page;
    QRect time;
};
PageLabelRects PageLabelGeometry(int position, int viewWidth, float scale, int index, int count);

// Previous and next enabled for page `index` of `count`.
struct NaviEnable {
    bool previous = false;
    bool next = false;
};
NaviEnable PageNaviRule(int index, int count);

// Where the buttons of an opened row go, beside the button spanning
// (x1, y1)-(x2, y2): every button's top-left, and the row area spanned by
// the two corners in the order the pointer code tests them.
struct SubButtonRowPlacement {
    QVector<QPoint> positions;
    QRect area;
};
SubButtonRowPlacement PlaceRowButtons(int position, QPoint topLeft, QPoint bottomRight, QSize buttonSize,
                                      int count, float scale);

inline int Scaled(int value, float scale)
{
    return int(value * scale);
}
