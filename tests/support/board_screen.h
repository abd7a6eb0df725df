#pragma once

#include <QImage>
#include <QMap>
#include <QRect>
#include <QString>

#include <functional>

// Looking at the running whiteboard from outside, for the tests that work
// it with xdotool on their own X server.

// The toolbar buttons by object name, where the program shows them on this
// screen: the same layout code run in the test, with the outside libraries
// looked for in `emptyLibraryFolder` (so none is found, as in the program
// under test).
QMap<QString, QRect> ToolbarButtonsOnScreen(const QString& emptyLibraryFolder);

// Screenshots (written to `path`) until `holds` says yes, at most `ms`
// milliseconds: the screen shows a change a moment after the board made it.
// The last shot, RGB32; null when no grab succeeded.
QImage ScreenWhen(const QString& path, const std::function<bool(const QImage&)>& holds, int ms = 10000);

// Holds a toolbar button until its row of sub-buttons opens, then clicks the
// row's entry `row` (counted from 0, 36 pixels each below the button).
void ChooseFromToolbarRow(const QRect& button, int row);

// How many pixels of the area are dark (every channel below 90).
int DarkPixelsIn(const QImage& image, QRect area);
