#pragma once

#include <QPoint>
#include <QString>

#include "tests/support/running_program.h"

// An X server of a test's own, for tests that run several whiteboards side
// by side; its display name is the number the server reports.
struct OwnDisplay {
    RunningProgram server;
    QString name;
    // False when the server did not start or never told its number.
    bool Start(const QString& screen = QStringLiteral("1280x800x24"));
};

// Everything the test does to a screen from now on goes to this display.
void Use(const OwnDisplay& display);

// Starts a whiteboard on `display` with every folder below `root` and message
// boxes written to its log; the display becomes the one in use.
bool StartBoardOn(RunningProgram& board, const OwnDisplay& display, const QString& root);

// A left click at `p` on the display, then a short settle.
void Click(const OwnDisplay& display, QPoint p);

// Clicks the field at `field`, empties it and types `text` into it.
void Type(const OwnDisplay& display, QPoint field, const QString& text);
