#include "panels/clip_art.h"

#include "board/picture_file.h"
#include "panels/note_list.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {

QFileInfoList FolderEntries(const QString& folder)
{
    return QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot,
                                      QDir::Name | QDir::IgnoreCase);
}

}  // namespace

QVector<ClipArtEntry> ClipArtEntries(const QString& folder)
{
    QVector<ClipArtEntry> entries;
    for (const QFileInfo& info : FolderEntries(folder)) {
        ClipArtEntry entry;
        entry.name = info.fileName();
        entry.folder = info.isDir();
        entry.size = entry.folder ? 0 : info.size();
        entry.path = info.absoluteFilePath();
        entries.append(entry);
    }
    return entries;
}

void DecodeClipArtFolder(const QString& folder, QSize box, int batchSize, const std::atomic<bool>* cancelled,
                         const ClipArtBatch& deliver)
{
    QVector<ClipArtThumbnail> batch;
    for (const QFileInfo& info : FolderEntries(folder)) {
        if (cancelled && cancelled->load())
            return;
        if (info.isDir())
            continue;
        const PictureRead read = ReadPicture(info.absoluteFilePath(), box);
        if (read.image.isNull()) {
            qDebug().noquote() << QStringLiteral("clip art not shown: %1").arg(read.error);
            continue;
        }
        batch.append({info.fileName(), read.image});
        if (batch.size() >= batchSize) {
            deliver(batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        deliver(batch);
}
