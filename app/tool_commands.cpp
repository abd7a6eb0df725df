#include "app/tool_commands.h"

#include "board/event_kind.h"
#include "board/page_fit.h"

#include <QtMath>
#include <cmath>

UserSlots UserSlotsForLevel(int level)
{
    switch (level) {
    case 0:
    case 3:
        return {0, 9, 0};
    case 2:
        return {10, 10, 10};
    default:
        return {1, 0, 10};
    }
}

namespace {

struct NoteKeyName {
    const char* key;
    const char* name;
};

const NoteKeyName kNoteKeys[] = {
    {"WhiteBoard", "WhiteBoard"}, {"BlackNote", "BlackBoard"}, {"MusicNote", "MusicNote"},
    {"EngNote", "EnglishNote"},   {"GraphNote", "GraphNote"},  {"ManuNote", "ManuScriptH"},
};

}  // namespace

QString NotePageNameForKey(const QString& key)
{
    for (const NoteKeyName& k : kNoteKeys) {
        if (key == QLatin1String(k.key))
            return QLatin1String(k.name);
    }
    return QString();
}

QString NoteKeyForPageName(const QString& name)
{
    for (const NoteKeyName& k : kNoteKeys) {
        if (name == QLatin1String(k.name))
            return QLatin1String(k.key);
    }
    return QString();
}

ZoomStep ZoomStepFor(int tool, double zoom)
{
    ZoomStep step;
    switch (tool) {
    case ekZoomFix1:
    case ekZoomFix2:
    case ekZoomFix3:
    case ekZoomFix4:
        step.action = ZoomStep::Fixed;
        step.target = 1.0 + (tool - ekZoomFix1);
        break;
    case ekZoomRect:
        step.action = ZoomStep::Rectangle;
        step.target = zoom;
        break;
    case ekZoomIn:
        // The sum is rounded as the zoom itself rounds it, so 7.8 + 0.2 is 8.0
        // and not a hair above it.
        step.target = std::round((zoom + 0.2) * 1e6) / 1e6;
        step.action = step.target > double(kMaxZoomFactor) ? ZoomStep::TooFar : ZoomStep::StepIn;
        break;
    case ekZoomOut:
        if (zoom > 1.0) {
            step.target = std::round((zoom - 0.2) * 1e6) / 1e6;
            if (step.target < 1.0) {
                step.action = ZoomStep::ClampOut;
                step.target = 1.0;
            } else {
                step.action = ZoomStep::StepOut;
            }
        } else {
            step.target = zoom;
        }
        break;
    default:
        step.target = zoom;
        break;
    }
    return step;
}

QPoint ArcPoint(QPoint centre, int radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return QPoint(int(centre.x() + radius * std::sin(a)), int(centre.y() - radius * std::cos(a)));
}

QVector<int> ArcMoveAngles(int start, int end)
{
    QVector<int> angles;
    // An arc is at most a few turns; anything wider is cut to one turn of
    // moves so a bad angle cannot flood the board with samples.
    const int last = std::min(end - 3, start + 3 + 360 * 4);
    for (int a = start + 3; a < last; a += 3)
        angles.append(a);
    return angles;
}

WidthSliderPlacement PlaceWidthSlider(int position, int left, int top, int right, int bottom, int verticalHeight,
                                      int horizontalWidth, int offset)
{
    const int h = verticalHeight;
    const int w = horizontalWidth;
    switch (position) {
    case 0:
        return {true, QPoint(left, top - h - 4), false, QPoint(left, top - h + offset), QPoint(right, bottom)};
    case 1:
        return {true, QPoint(left, bottom + 5), true, QPoint(left, bottom), QPoint(right, bottom)};
    case 2:
        return {false, QPoint(right + 4, top), false, QPoint(right, top), QPoint(right, bottom)};
    default:
        return {false, QPoint(left - w - 4, top), true, QPoint(left, top), QPoint(left - w + offset, bottom)};
    }
}

QPoint MainMenuPosition(int position, QPoint cursor, int menuWidth, int menuHeight, int viewHeight, int logoHeight)
{
    const int h = std::max(menuHeight, 255);
    switch (position) {
    case 0:
        return QPoint(cursor.x(), viewHeight - h - logoHeight);
    case 1:
    case 2:
        return cursor;
    default:
        return QPoint(cursor.x() - menuWidth, cursor.y());
    }
}
