#include "panels/note_list.h"

#include "board/picture_file.h"

#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QMimeData>
#include <QPixmap>
#include <QSaveFile>

const char kListWidgetFormat[] = "listwidget";

bool HasListWidgetData(const QMimeData* data)
{
    return data && data->hasFormat(QLatin1String(kListWidgetFormat));
}

QByteArray NoteDragPayload(const QPixmap& picture, int row)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << picture << row;
    return payload;
}

QByteArray ClipArtDragPayload(const QPixmap& picture, const QString& path)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << picture << path;
    return payload;
}

bool ReadNoteDragPayload(const QByteArray& payload, QPixmap* picture, int* row)
{
    QDataStream stream(payload);
    stream >> *picture >> *row;
    return stream.status() == QDataStream::Ok;
}

bool ReadClipArtDragPayload(const QByteArray& payload, QPixmap* picture, QString* path)
{
    QDataStream stream(payload);
    stream >> *picture >> *path;
    return stream.status() == QDataStream::Ok;
}

QString NoteListLabel(int index)
{
    return QStringLiteral("Note %1").arg(index + 1);
}

void RelabelNotes(QVector<NoteInfo>* records)
{
    for (int i = 0; i < records->size(); ++i)
        (*records)[i].extra = NoteListLabel(i);
}

bool MoveNoteRecord(QVector<NoteInfo>* records, int target, int source)
{
    const int count = records->size();
    if (source < 0 || source >= count || target < 0 || target >= count || source == target)
        return false;
    records->move(source, target);
    return true;
}

QVector<ThumbnailSource> ThumbnailSources(const QVector<NoteInfo>& records)
{
    QVector<ThumbnailSource> sources;
    sources.reserve(records.size());
    for (int i = 0; i < records.size(); ++i)
        sources.append({i, records.at(i).imagePath});
    return sources;
}

QString ThumbnailFile(const QString& folder, int index)
{
    return folder + QString::number(index) + QStringLiteral(".jpg");
}

bool WriteNoteThumbnail(const QString& imagePath, const QString& file, QSize box)
{
    const PictureRead read = ReadPicture(imagePath, box);
    const QImage& thumbnail = read.image;
    if (thumbnail.isNull()) {
        qDebug().noquote() << QStringLiteral("note list: no thumbnail of %1").arg(read.error);
        QFile::remove(file);
        return false;
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&out, QFileInfo(file).suffix().toLatin1());
    if (!writer.write(thumbnail)) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

void RemoveThumbnailsFrom(const QString& folder, int first)
{
    for (int i = first; QFile::exists(ThumbnailFile(folder, i)); ++i)
        QFile::remove(ThumbnailFile(folder, i));
}

bool MoveThumbnailFiles(const QString& folder, int target, int source)
{
    if (source == target)
        return true;
    const QString parked = folder + QStringLiteral("moving.jpg");
    QFile::remove(parked);
    bool moved = !QFile::exists(ThumbnailFile(folder, source))
                 || QFile::rename(ThumbnailFile(folder, source), parked);
    const int step = target > source ? 1 : -1;
    for (int i = source; i != target; i += step) {
        const QString from = ThumbnailFile(folder, i + step);
        const QString to = ThumbnailFile(folder, i);
        QFile::remove(to);
        if (QFile::exists(from))
            moved = QFile::rename(from, to) && moved;
    }
    QFile::remove(ThumbnailFile(folder, target));
    if (QFile::exists(parked))
        moved = QFile::rename(parked, ThumbnailFile(folder, target)) && moved;
    return moved;
}
