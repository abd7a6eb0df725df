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

// A left-button click at `at`.
void XdotoolClick(QPoint at);

// A wavy left-button stroke of twenty moves from `from`, heading right.
void XdotoolStroke(QPoint from);

// Opens a popup menu of process `pid` with a click of mouse button `button`
// at `openAt` and waits (15 s) for its window; when `againMs` > 0 the click is
// given again every `againMs` until the menu shows. Then clicks `entry` (on
// the screen) and waits (15 s) for the menu to go. False, with a warning
// saying which, when either did not happen.
bool ChooseFromPopup(qint64 pid, QPoint openAt, int button, QPoint entry, int againMs = 0);

// The same for the whiteboard's main menu, opened from its logo button (top
// left) with `entry` relative to the menu: a click that lands while the board
// is still busy after its start or a load opens nothing, so the logo is
// clicked again every 3 s.
bool ChooseMainMenuEntry(qint64 pid, QPoint entry);

class QRect;
class QString;

// Waits (15 s) for the newest window of process `pid` named `title`, gives it
// the keyboard (5 s) and sends `keys`: "type:<text>" types the text, anything
// else is an xdotool key name. False, with a warning, when the window never
// came or never took the keyboard.
bool XdotoolTypeInto(qint64 pid, const QString& title, const QStringList& keys);

// Gives the keyboard to X window `window` and waits until the server says it
// has it (`timeoutMs`). Keys sent after that reach it, in the order sent.
// False, with a warning, when it never took it.
bool GiveKeyboard(const QString& window, int timeoutMs = 5000);

// Where an X window stands on the screen and how large it is; an empty
// rectangle when xdotool cannot tell.
QRect XWindowGeometry(const QString& windowId);

// XWindowGeometry once xdotool can tell it, within `timeoutMs`; an empty
// rectangle, with a warning, when it never could.
QRect WaitForXWindowGeometry(const QString& windowId, int timeoutMs = 10000);
