#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>

// One entry of the clip-art folder's first level, as the browser's tree
// lists it.
struct ClipArtEntry {
    QString name;
    qint64 size = 0;  // files only
    QString path;     // full path
    bool folder = false;
};

// The folders and files of `folder` (no "." or ".."), by name.
QVector<ClipArtEntry> ClipArtEntries(const QString& folder);

// One picture of a clip-art folder, decoded at thumbnail size.
struct ClipArtThumbnail {
    QString name;
    QImage image;
};

using ClipArtBatch = std::function<void(const QVector<ClipArtThumbnail>&)>;

// Every picture of `folder` decoded at the largest size that fits `box`, in
// the folder's order, handed to `deliver` in batches of `batchSize` (the last
// one may be smaller; none when there is no picture). Files that are no
// pictures, and sub-folders, are skipped. Stops early once `cancelled` is set.
void DecodeClipArtFolder(const QString& folder, QSize box, int batchSize, const std::atomic<bool>* cancelled,
                         const ClipArtBatch& deliver);
