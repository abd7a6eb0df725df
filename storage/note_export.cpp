#include "storage/note_export.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace storage {

const char* const kNotePrintMode = "print";

int NoteExportEnd(int first, int last)
{
    return first == last ? last + 1 : last;
}

QString NoteExportFileName(const QString& target, const QString& extension, int number, int total)
{
    if (total == 1)
        return target + extension;
    return QStringLiteral("%1_%2%3").arg(target).arg(number).arg(extension);
}

QStringList NoteExportFileNames(const QString& target, const QString& extension, int first, int end)
{
    QStringList names;
    const int total = end - first;
    for (int n = 1; n <= total; ++n)
        names << NoteExportFileName(target, extension, n, total);
    return names;
}

bool NoteScopeRange(NoteScope scope, const QString& currentKey, const QVector<NoteInfo>& notes, int firstBox,
                    int lastBox, int* first, int* end)
{
    switch (scope) {
    case NoteScope::Current:
        for (int j = 0; j < notes.size(); ++j) {
            if (notes[j].create_data == currentKey) {
                *first = j;
                *end = j + 1;
                return true;
            }
        }
        return false;
    case NoteScope::All:
        *first = 0;
        *end = notes.size();
        return true;
    case NoteScope::Range:
        *first = firstBox - 1;
        *end = lastBox;
        return true;
    }
    return false;
}

bool NoteImageFormat(const QString& extension, QByteArray* format, int* quality)
{
    if (extension == QLatin1String(".png")) {
        *format = "PNG";
        *quality = -1;
    } else if (extension == QLatin1String(".jpg")) {
        *format = "JPG";
        *quality = 100;
    } else if (extension == QLatin1String(".bmp")) {
        *format = "BMP";
        *quality = -1;
    } else {
        return false;
    }
    return true;
}

bool WriteNoteImage(const QImage& page, const QString& path, const QString& extension)
{
    QByteArray format;
    int quality = -1;
    if (page.isNull() || !NoteImageFormat(extension, &format, &quality))
        return false;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!page.save(&file, format.constData(), quality)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QImage RenderNotePage(BoardModel& board, const NoteInfo& note, const NotePageSetup& setup,
                      const DocumentRenderer& renderer)
{
    BackgroundRequest request = setup.background;
    request.path = note.path;
    request.type = note.type;
    request.alternative = false;
    request.pageOption = note.page_option;
    request.currentImageSize = request.view;
    request.previous = QImage(request.view, QImage::Format_RGB32);
    request.previous.fill(Qt::white);
    request.scale = 1.0;
    const BackgroundResult background = BuildPageBackground(request, renderer);

    QImage page = background.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    PageRenderOptions options = setup.options;
    options.zoom = 1.0;
    const ImageObjectPainter paintImage = [](QImage& target, const QString& file, const EventDetail& ed) {
        PaintImageObject(target, file, ed, 1.0);
    };
    PaintPageObjects(page, board, note.create_data, true, setup.mediaFiles, paintImage, options);
    return page;
}

void RunNoteExport(NoteExportJob& job, const DocumentRenderer& renderer, const NoteExportEvents& events)
{
    job.failedFiles.clear();
    const int first = std::max(job.first, 0);
    const int end = std::min(job.end, int(job.notes.size()));
    const int total = job.end - job.first;
    const bool print = job.mode == QLatin1String(kNotePrintMode);
    for (int i = first; i < end; ++i) {
        const int n = i - job.first;
        const QImage page = RenderNotePage(job.board, job.notes[i], job.page, renderer);
        if (print) {
            if (events.printPage)
                events.printPage(page);
        } else {
            const QString file = NoteExportFileName(job.target, job.mode, n + 1, total);
            if (!WriteNoteImage(page, file, job.mode))
                job.failedFiles << file;
        }
        if (events.progress)
            events.progress(QStringLiteral("Note index : %1 / Total: %2").arg(n + 1).arg(total), n + 1);
    }
}

}  // namespace storage
