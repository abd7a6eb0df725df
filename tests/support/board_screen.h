#pragma once

#include <QMap>
#include <QRect>
#include <QString>

#include <functional>

// Looking at the running whiteboard from outside, for the tests that work
// it with xdotool on their own X server.

class Dialog;

// The toolbar buttons by object name, where the program shows them on this
// screen: the same layout code run in the test, with the outside libraries
// looked for in `emptyLibraryFolder` (so none is found, as in the program
// under test). `alsoRead` may take more places from that laid-out window.
QMap<QString, QRect> ToolbarButtonsOnScreen(const QString& emptyLibraryFolder,
                                            const std::function<void(Dialog&)>& alsoRead = {});

// Holds a toolbar button until its row of sub-buttons opens, then clicks the
// row's entry `row` (counted from 0, 36 pixels each below the button).
void ChooseFromToolbarRow(const QRect& button, int row);
