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

class RunningProgram;

// Clicks a toolbar button of the running whiteboard `board` (object name
// `name`, at `buttons[name]`) and waits (10 s) until the board has taken the
// click: a toolbar button acts on a timer after its press, so input sent
// before that would reach the old tool. False, with a warning, when it did not.
bool ClickToolbarButton(RunningProgram& board, const QMap<QString, QRect>& buttons, const QString& name);

// Holds toolbar button `name` (at `at` on the screen) down until its row of
// sub-buttons opens (10 s) and lets it go. False, with a warning, when the row did not open.
bool OpenToolbarRow(RunningProgram& board, const QString& name, QPoint at);

// Clicks entry `row` of the open row of sub-buttons below `button` (counted
// from 0, 36 pixels each) and waits (10 s) until the row has closed on that
// choice. False, with a warning, when it did not.
bool ChooseFromOpenRow(RunningProgram& board, const QRect& button, int row);

// Holds a toolbar button down until its row of sub-buttons opens, lets it go,
// clicks the row's entry `row` (counted from 0, 36 pixels each below the
// button) and waits until the row has closed on that choice (10 s each).
// False, with a warning saying which, when either did not happen.
bool ChooseFromToolbarRow(RunningProgram& board, const QMap<QString, QRect>& buttons, const QString& name, int row);
