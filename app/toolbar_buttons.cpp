#include "app/toolbar_buttons.h"

namespace {

ButtonRow Row(const char* key, const char* group, const char* stem, int hint, bool disabled = false)
{
    ButtonRow r;
    r.key = QLatin1String(key);
    r.group = QLatin1String(group);
    r.stem = QLatin1String(stem);
    r.hintKey = hint;
    r.disabledImages = disabled;
    return r;
}

ButtonRow Literal(const char* key, const char* group, const char* stem, const char* tip)
{
    ButtonRow r = Row(key, group, stem, -1);
    r.literalTip = QLatin1String(tip);
    return r;
}

QVector<ButtonRow> BuildRows()
{
    QVector<ButtonRow> rows;
    rows << Row("WhiteBoard", "Note", "New", 900) << Row("BlackNote", "Note", "black", 946)
         << Row("MusicNote", "Note", "music", 947) << Row("EngNote", "Note", "english", 948)
         << Row("ManuNote", "Note", "manu", 949) << Row("GraphNote", "Note", "graph", 950)
         << Row("Office", "Note", "office", 904) << Row("ClipArt", "Note", "clipart", 903)
         << Row("LoadImage", "Note", "image", 957) << Row("listwidget", "Note", "list", 937);

    rows << Row("Winmode", "Window", "win", 951) << Row("Capture", "Window", "allcap", 902)
         << Row("RectCapture", "Window", "rectcap", 954);

    const char* colors[] = {"black", "maroon", "green", "olive", "navy", "purple", "teal", "gray",
                            "silver", "red", "lime", "yellow", "blue", "fuchsia", "aqua", "white"};
    for (int i = 0; i < 16; ++i)
        rows << Row(colors[i], "Color", colors[i], 905 + i);

    for (int n = 1; n <= 10; ++n) {
        ButtonRow r = Row("", "Penwid", "", 921);
        r.key = QStringLiteral("Pwid%1").arg(n);
        r.stem = QStringLiteral("p%1_").arg(n);
        r.widthSuffix = n;
        rows << r;
    }

    rows << Row("ekTrans", "Draw", "trans", 922, true) << Row("ekFree", "Draw", "free", 923)
         << Row("ekBrush", "Draw", "brush", 959) << Row("ekLine", "Draw", "line", 924)
         << Row("ekRect", "Draw", "rect", 925) << Row("ekFillRect", "Draw", "frect", 926)
         << Row("ekEllipse", "Draw", "ellipse", 927) << Row("ekFillEllipse", "Draw", "fellipse", 928)
         << Row("ekBArrow", "Draw", "barrow", 929) << Row("ekEArrow", "Draw", "sarrow", 930)
         << Row("ekSmart", "Draw", "smartfigure", 977);

    rows << Row("ekEraseAll", "Erase", "all", 931) << Row("ekSelEraser", "Erase", "sel", 932)
         << Row("ekAreaEraser", "Erase", "area", 978);

    rows << Row("PreNote", "Object", "before", 934, true) << Row("PostNote", "Object", "after", 935, true)
         << Row("ekSelect", "Object", "select", 936) << Row("ekMoveAll", "Object", "moveall", 960)
         << Row("undo", "Object", "undo", 975, true) << Row("redo", "Object", "redo", 976, true);

    rows << Row("ekZoomIn", "Zoom", "zoomin", 955) << Row("ekZoomOut", "Zoom", "zoomout", 956)
         << Row("ekZoomRect", "Zoom", "zoomrect", 952) << Row("ekZoomFix1", "Zoom", "zoom100", 942)
         << Row("ekZoomFix2", "Zoom", "zoom200", 943) << Row("ekZoomFix3", "Zoom", "zoom300", 944)
         << Row("ekZoomFix4", "Zoom", "zoom400", 945);

    rows << Row("Separatebot", "Separate", "bottom", -1) << Row("Separatetop", "Separate", "top", -1)
         << Row("Separateleft", "Separate", "left", -1) << Row("Separateright", "Separate", "right", -1);

    rows << Row("RecStart", "Rec", "rec", 938) << Row("RecStop", "Rec", "stop", 940)
         << Literal("ViewVideo", "Rec", "viewvideo", "viewvideo") << Row("LeftTop", "Rec", "lt", 958)
         << Row("LeftBottom", "Rec", "lb", 959) << Row("RightTop", "Rec", "rt", 960)
         << Row("RightBottom", "Rec", "rb", 961);

    rows << Literal("connect", "Coll", "connect", "connect") << Literal("IP", "Coll", "IP", "IP")
         << Row("UserList", "Coll", "UserList", -1) << Row("Strova", "Coll", "Strova", 918)
         << Row("write_off", "Coll", "write_off", -1) << Row("write_on", "Coll", "write_on", -1)
         << Row("Tool_off", "Coll", "Tool_off", -1) << Row("Tool_on", "Coll", "Tool_on", -1);
    return rows;
}

// Which pictures of a row the bundle holds: 1..6, 1..3, or 1 and 4.
QVector<int> HeldVariants(const ButtonRow& row)
{
    static const QStringList threeOnly = {"Capture", "RectCapture", "UserList"};
    static const QStringList firstOfEach = {"write_off", "write_on", "Tool_off", "Tool_on"};
    QVector<int> variants;
    if (row.group == QLatin1String("Separate") || threeOnly.contains(row.key))
        variants = {1, 2, 3};
    else if (firstOfEach.contains(row.key))
        variants = {1, 4};
    else
        variants = {1, 2, 3, 4, 5, 6};
    if (row.disabledImages)
        variants << 0 << 7;
    return variants;
}

QSize RowPictureSize(const ButtonRow& row)
{
    if (row.key == QLatin1String("UserList"))
        return QSize(76, 280);
    if (row.key == QLatin1String("Separatebot"))
        return QSize(11, 47);
    if (row.key == QLatin1String("Separatetop"))
        return QSize(11, 48);
    if (row.key == QLatin1String("Separateleft"))
        return QSize(47, 11);
    if (row.key == QLatin1String("Separateright"))
        return QSize(48, 11);
    return QSize(40, 36);
}

QString Rule(const char* state, const QString& group, const QString& image)
{
    return QStringLiteral("QPushButton%1 {border-image: url(:/%2/%3);}")
        .arg(QLatin1String(state), group, image);
}

}  // namespace

const QVector<ButtonRow>& ButtonRows()
{
    static const QVector<ButtonRow> rows = BuildRows();
    return rows;
}

const ButtonRowKeyLists& SubButtonRowKeys()
{
    static const ButtonRowKeyLists lists = [] {
        ButtonRowKeyLists l;
        l.note = QStringList{"WhiteBoard", "BlackNote", "MusicNote", "EngNote", "GraphNote",
                             "ManuNote",   "ClipArt",   "LoadImage", "Office"};
        l.color = QStringList{"black", "maroon", "green", "olive", "navy",    "purple", "teal", "gray",
                              "silver", "red",   "lime",  "yellow", "blue", "fuchsia", "aqua", "white"};
        l.draw = QStringList{"ekFree",        "ekBrush",  "ekLine",   "ekRect",  "ekFillRect",
                             "ekEllipse", "ekFillEllipse", "ekBArrow", "ekEArrow", "ekSmart"};
        l.erase = QStringList{"ekEraseAll", "ekSelEraser", "ekAreaEraser"};
        l.object = QStringList{"ekSelect", "ekMoveAll"};
        l.zoom = QStringList{"ekZoomIn",   "ekZoomOut",  "ekZoomRect", "ekZoomFix1",
                             "ekZoomFix2", "ekZoomFix3", "ekZoomFix4"};
        l.viewLocation = QStringList{"LeftTop", "LeftBottom", "RightTop", "RightBottom"};
        return l;
    }();
    return lists;
}

int KeyListAfterGroup(const QString& group)
{
    static const QStringList groups = {"Note", "Color", "Draw", "Erase", "Object", "Zoom", "Rec"};
    return groups.indexOf(group);
}

QString ButtonRowToolTip(const ButtonRow& row, const QStringList& hintTexts)
{
    if (!row.literalTip.isEmpty())
        return row.literalTip;
    const int index = row.hintKey - 900;
    const QString text = (row.hintKey >= 0 && index >= 0 && index < hintTexts.size()) ? hintTexts[index] : QString();
    if (row.widthSuffix > 0)
        return text + QStringLiteral(" : ") + QString::number(row.widthSuffix);
    return text;
}

QString ButtonStyleSheet(const QVector<ButtonRecord>& table, const QString& key, int toolbarPosition,
                         QString* tooltip)
{
    for (const ButtonRecord& r : table) {
        if (r.Key != key)
            continue;
        // The separators have one look per position already; every other
        // group turns its pictures with a bar that stands on its side.
        const bool topBottom = toolbarPosition == 0 || toolbarPosition == 1 || r.Group == QLatin1String("Separate");
        const QString& normal = topBottom ? r.Image1 : r.Image4;
        const QString& hover = topBottom ? r.Image2 : r.Image5;
        const QString& pressed = topBottom ? r.Image3 : r.Image6;
        const QString& disabled = topBottom ? r.DisabledImageA : r.DisabledImageB;
        if (tooltip)
            *tooltip = r.ToolTip;
        QString sheet = Rule("", r.Group, normal) + Rule(":hover", r.Group, hover) + Rule(":pressed", r.Group, pressed);
        // Later rules win among equally specific selectors, so checked comes
        // last: a checked button keeps its pressed look under the pointer.
        if (key == QLatin1String("PreNote") || key == QLatin1String("PostNote") || key == QLatin1String("undo")
            || key == QLatin1String("redo"))
            return sheet + Rule(":disabled", r.Group, disabled);
        if (key == QLatin1String("RecStart"))
            return sheet;
        if (key == QLatin1String("ekTrans"))
            return sheet + Rule(":disabled", r.Group, disabled) + Rule(":checked", r.Group, r.Image3);
        return sheet + Rule(":checked", r.Group, r.Image3);
    }
    return QString();
}

QVector<ToolbarPicture> ToolbarPictures()
{
    QVector<ToolbarPicture> pictures;
    for (const ButtonRow& row : ButtonRows()) {
        for (int variant : HeldVariants(row)) {
            ToolbarPicture p;
            p.group = row.group;
            p.name = row.stem + QString::number(variant);
            p.stem = row.stem;
            p.size = RowPictureSize(row);
            p.variant = variant;
            pictures << p;
        }
    }
    auto shell = [&pictures](const char* group, const char* name, QSize size) {
        ToolbarPicture p;
        p.group = QLatin1String(group);
        p.name = QLatin1String(name);
        p.stem = p.name;
        p.size = size;
        pictures << p;
    };
    shell("Bar", "topbottom", QSize(64, 45));
    shell("Bar", "leftright", QSize(48, 64));
    shell("Logo", "topbottom", QSize(96, 45));
    shell("Logo", "leftright", QSize(48, 70));
    shell("Cursor", "pen", QSize(32, 32));
    for (const char* menu : {"new", "open", "save", "saveas", "notesave", "print", "tool", "toolpos", "config", "exit", "Tool_Menu"})
        shell("Menu", menu, QSize(32, 32));
    // The panning entry of the tray menu is a button picture like its
    // neighbours "allcap1" and "rectcap1".
    pictures << ToolbarPicture{"Window", "panser1", "panser", QSize(40, 36), 1};
    shell("Etc", "orbel", QSize(64, 64));
    shell("Etc", "splash", QSize(480, 300));
    // The covers' edge bars and their close and properties buttons
    // (normal, pressed, checked).
    shell("Spot", "bar_v", QSize(13, 64));
    shell("Spot", "bar_h", QSize(64, 13));
    for (const char* face : {"spotclose1", "spotclose2", "spotclose3", "spotprop1", "spotprop2", "spotprop3"})
        shell("Spot", face, QSize(25, 25));
    return pictures;
}

ToolbarPlacement MakeToolbarPlacement(int w, int h, float scale)
{
    const int band = Scaled(45, scale);
    ToolbarPlacement p;
    p.barOrigin[0] = QPoint(0, h - band);
    p.barOrigin[1] = QPoint(0, 0);
    p.barOrigin[2] = QPoint(0, 0);
    p.barOrigin[3] = QPoint(w - 48, 0);
    p.insetOrigin[0] = QPoint(0, h - band + 4);
    p.insetOrigin[1] = QPoint(0, 4);
    p.insetOrigin[2] = QPoint(4, 0);
    p.insetOrigin[3] = QPoint(w - 44, 0);
    p.barSize[0] = QSize(w, band);
    p.barSize[1] = QSize(w, band);
    p.barSize[2] = QSize(48, h);
    p.barSize[3] = QSize(48, h);
    return p;
}

ScrollBarRects ScrollBarGeometry(int position, int x0, int w, int h, float scale, int t)
{
    const int band = Scaled(45, scale);
    switch (position) {
    case 0:
        return {QRect(x0, h - band - t, w - t, t), QRect(w - t, 0, t, h - band - t)};
    case 1:
        return {QRect(x0, h - t, w - t, t), QRect(w - t, band, t, h - band - t)};
    case 2:
        return {QRect(48, h - t, w - t - 48, t), QRect(w - t, 0, t, h - t)};
    case 3:
        return {QRect(x0, h - t, w - t - 48, t), QRect(w - t - 48, 0, t, h - t)};
    case 4:
        return {QRect(x0, h - t, w - t, t), QRect(w - t, 0, t, h - t)};
    default:
        return {QRect(0, 0, 0, 0), QRect(0, 0, 0, 0)};
    }
}

PageLabelRects PageLabelGeometry(int position, int viewWidth, float scale, int index, int count)
{
    const int shown = index + 1;
    int offset = 75;
    for (bool wider : {count >= 10, count >= 100, shown >= 10, shown >= 100})
        offset += wider ? 17 : 0;
    int width = 100;
    for (bool wider : {count >= 100, shown >= 100})
        width += wider ? 17 : 0;
    int x = viewWidth - offset;
    int y = 25;
    int timeX = viewWidth - 135;
    if (position == 1) {
        y = 25 + Scaled(45, scale);
    } else if (position == 3) {
        // Clear of the bar along the right edge.
        x = viewWidth - offset - 73;
        timeX = viewWidth - 208;
    }
    return {QRect(x, y, width, 30), QRect(timeX, y + 35, width + 60, 30)};
}

NaviEnable PageNaviRule(int index, int count)
{
    if (count == 1)
        return {false, false};
    if (index == 0)
        return {false, true};
    if (index == count - 1)
        return {true, false};
    return {true, true};
}

SubButtonRowPlacement PlaceRowButtons(int position, QPoint topLeft, QPoint bottomRight, QSize buttonSize,
                                      int count, float scale)
{
    SubButtonRowPlacement out;
    const int x1 = topLeft.x(), y1 = topLeft.y(), x2 = bottomRight.x(), y2 = bottomRight.y();
    const int rowStep = Scaled(36, scale);
    const int columnStep = Scaled(40, scale);
    QPoint next;
    QPoint step;
    switch (position) {
    case 0:
        next = QPoint(x1, y1 - buttonSize.height() - 5);
        step = QPoint(0, -rowStep);
        break;
    case 1:
        next = QPoint(x1, y2 + 4);
        step = QPoint(0, rowStep);
        break;
    case 2:
        next = QPoint(x2 + 4, y1);
        step = QPoint(columnStep, 0);
        break;
    default:
        next = QPoint(x1 - buttonSize.width() - 4, y1);
        step = QPoint(-columnStep, 0);
        break;
    }
    for (int i = 0; i < count; ++i) {
        out.positions << next;
        next += step;
    }
    const QPoint last = out.positions.isEmpty() ? next - step : out.positions.last();
    switch (position) {
    case 0:
        out.area = QRect(QPoint(x2, y2), QPoint(x1, last.y()));
        break;
    case 1:
        out.area = QRect(QPoint(x1, y2), QPoint(x2, last.y() + rowStep));
        break;
    case 2:
        out.area = QRect(QPoint(x2, y1), QPoint(last.x() + columnStep, y2));
        break;
    default:
        out.area = QRect(QPoint(x1, y1), QPoint(last.x(), y2));
        break;
    }
    return out;
}
