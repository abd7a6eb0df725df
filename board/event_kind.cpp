#include "board/event_kind.h"

#include <QHash>

namespace {

// Index i holds the key of code i + 1.
const char* const kKindNames[ekLastKind] = {
    "ekNoteChange", "ekImage",    "ekFree",      "ekBrush",      "ekLine",       "ekCircle",
    "ekFillCircle", "ekRect",     "ekFillRect",  "ekEllipse",    "ekFillEllipse", "ekBArrow",
    "ekEArrow",     "ekSelect",   "ekEraseAll",  "ekSelEraser",  "ekAreaEraser", "ekZoomFix1",
    "ekZoomFix2",   "ekZoomFix3", "ekZoomFix4",  "ekZoomRect",   "ekZoomIn",     "ekZoomOut",
    "ekMove",       "ekResize",   "ekRotate",    "ekDelAll",     "ekDel",        "ekZoom",
    "ekScroll",     "ekMoveAll",  "ekPaste",     "ekStartRec",   "ekEndRec",     "ekFreeEraser",
};

const QHash<QString, int>& KindCodes()
{
    static const QHash<QString, int> codes = [] {
        QHash<QString, int> table;
        for (int i = 0; i < ekLastKind; ++i)
            table.insert(QString::fromLatin1(kKindNames[i]), i + 1);
        return table;
    }();
    return codes;
}

}  // namespace

int EventKindFromName(QString name)
{
    return KindCodes().value(name, ekFree);
}

QString EventKindName(int kind)
{
    if (kind < 1 || kind > ekLastKind)
        return QString();
    return QString::fromLatin1(kKindNames[kind - 1]);
}

bool IsFigureKind(int kind)
{
    return kind >= ekLine && kind <= ekEArrow;
}

bool IsFilledFigureKind(int kind)
{
    return kind == ekFillCircle || kind == ekFillRect || kind == ekFillEllipse;
}

QString BoardNameFromColor(const QString& colorName)
{
    struct Entry {
        const char* color;
        const char* board;
    };
    static const Entry table[] = {
        {"white", "WhiteBoard"},     {"maroon", "MaroonBoard"},   {"purple", "PurpleBoard"},
        {"navy", "NavyBoard"},       {"blue", "BlueBoard"},       {"cyan", "CyanBoard"},
        {"lime", "LimeBoard"},       {"green", "GreenBoard"},     {"olive", "OliveBoard"},
        {"teal", "TealBoard"},       {"magenta", "MagentaBoard"}, {"red", "RedBoard"},
        {"orange", "OrangeBoard"},   {"yellow", "YellowBoard"},   {"silver", "SilverBoard"},
        {"gray", "GrayBoard"},       {"black", "DarkblackBoard"}, {"blackboard color", "BlackBoard"},
    };
    for (const Entry& entry : table) {
        if (colorName == QLatin1String(entry.color))
            return QString::fromLatin1(entry.board);
    }
    return QStringLiteral("WhiteBoard");
}
