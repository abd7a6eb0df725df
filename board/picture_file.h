#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Reading a picture that comes from outside the program: a project, a picture
// page, clip art, the settings, a peer, a pasted or dropped file. A small file
// can describe a picture of billions of pixels, and a path can name a pipe or
// a device that never ends, so every such picture is read here: only regular
// files (no links, pipes or devices), opened without ever waiting on them; the
// picture's size is read from its header before anything is decoded, and a
// picture past the pixel budget is decoded scaled down where its format can do
// that while decoding (JPEG) and refused otherwise.

// The most pixels a picture may take when decoded: 40 million (160 MB at four
// bytes a pixel).
constexpr qint64 kPicturePixelBudget = 40LL * 1000 * 1000;

struct PictureRead {
    QImage image;   // null when the picture was refused or could not be read
    QSize fullSize; // the size the file declares, when it could be read
    QString error;  // "<file>: <why>", for the log and the user; empty on success
};

// Reads the picture at `path`. With a valid `fitInto`, the picture comes back
// at the largest size that fits into it with its aspect ratio kept, decoded
// straight at that size where the format allows.
PictureRead ReadPicture(const QString& path, QSize fitInto = QSize());
