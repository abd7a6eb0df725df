#pragma once

#include <QColor>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;

// The look of the page backgrounds that are drawn rather than loaded: the
// plain boards (one per board name) and the four note papers. The paper files
// in the paper folder and the page images of the resource bundle are made
// from these drawings, so one description serves both.

// Board names: "WhiteBoard", "BlackBoard" and the coloured boards named after
// the basic colours ("MaroonBoard", "NavyBoard", ..., "DarkblackBoard").
QStringList BoardArtNames();

// Note papers: "MusicNote", "EnglishNote", "GraphNote", "ManuScriptH".
QStringList PaperArtNames();

// The fill of a board name; invalid for any other name.
QColor BoardArtColor(const QString& boardName);

// The size of a paper page in PDF points (A4 landscape).
QSizeF PaperPageSize();

// Paints the background named `name` over the rectangle (0, 0, size). Papers
// are drawn in proportion to PaperPageSize(), scaled to the size. False (and
// nothing painted) for an unknown name.
bool PaintPageArt(QPainter& painter, const QString& name, QSizeF size);
