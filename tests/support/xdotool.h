#pragma once

#include <QByteArray>
#include <QPoint>
#include <QStringList>

// Runs xdotool with `arguments` (ended after five seconds) and returns its
// standard output. Every test that works windows from outside goes through here.
QByteArray Xdotool(const QStringList& arguments);

// A left-button drag from `from` to `to` in `steps` pointer moves, as a hand
// makes it.
void XdotoolDrag(QPoint from, QPoint to, int steps = 20);

// A left-button click at `at`, and a press held there for `ms` milliseconds.
void XdotoolClick(QPoint at);
void XdotoolHold(QPoint at, int ms);

// A wavy left-button stroke of twenty moves from `from`, heading right.
void XdotoolStroke(QPoint from);

// Opens the whiteboard's main menu from its logo button (top left) and
// clicks the entry at `entry`, relative to the menu.
void XdotoolMainMenuEntry(QPoint entry);

// The same for the whiteboard of process `pid`, waiting for its menu to show
// (the logo clicked again every 3 s) before the entry is clicked and for it
// to go after (15 s each). False, with a warning saying which, when either
// did not happen.
bool ChooseMainMenuEntry(qint64 pid, QPoint entry);

class QRect;
class QString;

// Waits (15 s) for the newest window of process `pid` named `title`, gives it
// the keyboard (5 s) and sends `keys`: "type:<text>" types the text, anything
// else is an xdotool key name. False when the window never came.
bool XdotoolTypeInto(qint64 pid, const QString& title, const QStringList& keys);

// Where an X window stands on the screen and how large it is; an empty
// rectangle when xdotool cannot tell.
QRect XWindowGeometry(const QString& windowId);
