#pragma once

#include "board/board_records.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

class QMimeData;
class QPixmap;

// The drag format of the thumbnail lists (note list and clip art) and of the
// board's drop: a data stream holding the item's picture, then the row of a
// note thumbnail or the file path of a clip-art picture.
extern const char kListWidgetFormat[];

bool HasListWidgetData(const QMimeData* data);
QByteArray NoteDragPayload(const QPixmap& picture, int row);
QByteArray ClipArtDragPayload(const QPixmap& picture, const QString& path);
// False when the data is cut short or damaged; the outputs are then unusable.
bool ReadNoteDragPayload(const QByteArray& payload, QPixmap* picture, int* row);
bool ReadClipArtDragPayload(const QByteArray& payload, QPixmap* picture, QString* path);

// The label of the note at `index` in the note list ("Note 1" for index 0).
QString NoteListLabel(int index);
// Every record takes the label of its place.
void RelabelNotes(QVector<NoteInfo>* records);

// Moves the record at `source` to `target`; the records between shift one
// place toward the gap. False (records untouched) when either row lies
// outside the list or both are the same.
bool MoveNoteRecord(QVector<NoteInfo>* records, int target, int source);

// What the thumbnail job needs of one note, copied before it starts so the
// job never reads the records the window may change meanwhile.
struct ThumbnailSource {
    int index = 0;
    QString imagePath;
};
QVector<ThumbnailSource> ThumbnailSources(const QVector<NoteInfo>& records);

// "<folder><index>.jpg"; the folder ends with a separator.
QString ThumbnailFile(const QString& folder, int index);

// Writes the thumbnail of a page image to `file` through a new file renamed
// over the old one. A page that cannot be read leaves no file (an old one of
// the same name is removed, so the list never shows another page's picture).
bool WriteNoteThumbnail(const QString& imagePath, const QString& file, QSize box);

// Removes "<first>.jpg", "<first + 1>.jpg", ... up to the first one missing:
// the thumbnails of pages a lesson no longer has.
void RemoveThumbnailsFrom(const QString& folder, int first);

// After MoveNoteRecord(target, source) the thumbnail files follow their pages:
// "<source>.jpg" becomes "<target>.jpg" and those between shift. False when a
// file could not be renamed.
bool MoveThumbnailFiles(const QString& folder, int target, int source);
