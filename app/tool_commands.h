#pragma once

#include <QPoint>
#include <QString>
#include <QVector>

// Pure decisions behind the toolbar's tool commands, kept apart from the
// window so they can be checked without one.

// Which pointer slots a local tool choice changes, and which slot's state is
// shown and sent, by the own collaboration level (0 alone, 1 viewer,
// 2 writer, 3 host). A viewer changes no slot: first > last.
struct UserSlots {
    int first;
    int last;
    int reference;
};
UserSlots UserSlotsForLevel(int level);

// The page name a note-button key makes ("BlackNote" -> "BlackBoard"); empty
// for the keys that make no board or paper page ("ClipArt", "LoadImage",
// "Office") and for unknown keys.
QString NotePageNameForKey(const QString& key);
// The note-button key of a page name, the other way round; empty for names
// of other pages.
QString NoteKeyForPageName(const QString& name);

// What a zoom step does at the current zoom.
struct ZoomStep {
    enum Action { None, Fixed, StepIn, StepOut, ClampOut, TooFar, Rectangle };
    Action action = None;
    double target = 1.0;  // the zoom the page is checked for and ends at
};
ZoomStep ZoomStepFor(int tool, double zoom);

// The points of an instrument's arc: press at the start angle, a move every
// 3 degrees while the angle is below end - 3, release at the end angle.
// Angles in degrees, 0 at the top, clockwise; radius is half the width.
QPoint ArcPoint(QPoint centre, int radius, double degrees);
QVector<int> ArcMoveAngles(int start, int end);

// The row area and place of the pen-width slider beside the width button
// (left, top, right, bottom as Qt's inclusive geometry).
struct WidthSliderPlacement {
    bool vertical;       // the vertical slider is used
    QPoint position;
    bool rightToLeft;
    QPoint areaFrom;
    QPoint areaTo;
};
WidthSliderPlacement PlaceWidthSlider(int toolbarPosition, int left, int top, int right, int bottom,
                                      int verticalHeight, int horizontalWidth, int offset);

// The place of the main menu opened from the logo at the cursor.
QPoint MainMenuPosition(int toolbarPosition, QPoint cursor, int menuWidth, int menuHeight, int viewHeight,
                        int logoHeight);
