#pragma once

#include "app/toolbar_buttons.h"

#include <QImage>
#include <QPainter>
#include <QVector>

// Draws one picture of the toolbar's resource folders: the symbol its stem
// names on the button background of its set and state.
QImage PaintToolbarPicture(const ToolbarPicture& picture);

// Draws the toolbar's symbol for a stem ("free", "rect", "sel", ...) into a
// rectangle of about a toolbar button's inner size; greyed when disabled.
// Returns false for a stem without a symbol.
bool PaintToolbarSymbol(QPainter& painter, const QRectF& area, const QString& stem, bool disabled);

// The collaboration dialogs' pictures (":/Config/key", ":/Coll/UserList_bg1" ...).
struct DialogPicture {
    QString group;
    QString name;
    QImage image;
};
QVector<DialogPicture> DialogPictures();

// The frames of the loading animation (":/Etc/Loding").
QVector<QImage> LoadingFrames(QSize size, int count);

// Writes frames as an endlessly looping GIF; QImageWriter cannot write GIF.
bool WriteAnimatedGif(const QString& path, const QVector<QImage>& frames, int delayCentiseconds);
