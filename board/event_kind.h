#pragma once

#include <QString>

// The tool and event vocabulary of the board. The numbers are stored in
// project files and sent to peers: they never change.
enum EventKind : int {
    ekNoteChange = 1,
    ekImage = 2,
    ekFree = 3,
    ekBrush = 4,
    ekLine = 5,
    ekCircle = 6,
    ekFillCircle = 7,
    ekRect = 8,
    ekFillRect = 9,
    ekEllipse = 10,
    ekFillEllipse = 11,
    ekBArrow = 12,
    ekEArrow = 13,
    ekSelect = 14,
    ekEraseAll = 15,
    ekSelEraser = 16,
    ekAreaEraser = 17,
    ekZoomFix1 = 18,
    ekZoomFix2 = 19,
    ekZoomFix3 = 20,
    ekZoomFix4 = 21,
    ekZoomRect = 22,
    ekZoomIn = 23,
    ekZoomOut = 24,
    ekMove = 25,
    ekResize = 26,
    ekRotate = 27,
    ekDelAll = 28,
    ekDel = 29,
    ekZoom = 30,
    ekScroll = 31,
    ekMoveAll = 32,
    ekPaste = 33,
    ekStartRec = 34,
    ekEndRec = 35,
    ekFreeEraser = 36,
    ekLastKind = ekFreeEraser,
};

// The code of a tool or event key ("ekLine" -> 5). Exact, case-sensitive;
// any other key, "ekSmart" and "ekTrans" included, draws as a free-pen stroke.
int EventKindFromName(QString name);

// The key of a code ("ekLine" for 5); an empty text outside 1..36.
QString EventKindName(int kind);

// Figures are codes 5..13; the filled ones 7, 9 and 11.
bool IsFigureKind(int kind);
bool IsFilledFigureKind(int kind);

// The board name written for a note's background colour ("navy" -> "NavyBoard").
QString BoardNameFromColor(const QString& colorName);
