#include "storage/page_image_backlog.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace storage {

PageImageBacklog::PageImageBacklog(LoadedProject lesson, const BackgroundRequest& background,
                                   const PageRenderOptions& options)
    : m_lesson(std::move(lesson)), m_background(PagesBackground(background, m_lesson)), m_options(options)
{
    for (const NoteInfo& note : qAsConst(m_lesson.notes))
        m_waiting.insert(note.imagePath);
}

int PageImageBacklog::Run(const DocumentRenderer& renderer)
{
    int written = 0;
    for (int i = 0; i < m_lesson.notes.size() && !m_cancelled; ++i) {
        const QString path = m_lesson.notes.at(i).imagePath;
        {
            QMutexLocker lock(&m_mutex);
            if (!m_waiting.contains(path))
                continue;
        }
        const QImage page = PaintProjectPage(m_lesson, i, m_background, renderer, m_options);
        // Encoded before the lock, so that a window handing a page over waits
        // at most for a file write. The format follows the suffix, as an
        // image written straight to the file would.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const QByteArray format = QFileInfo(path).suffix().toLatin1();
        if (!page.save(&buffer, format.constData())) {
            qDebug().noquote() << QStringLiteral("exe : page image not written: %1").arg(path);
            continue;
        }
        QMutexLocker lock(&m_mutex);
        if (m_cancelled || !m_waiting.contains(path))
            continue;
        m_waiting.remove(path);
        // A link where the page file belongs is never written through.
        if (QFileInfo(path).isSymLink()) {
            qDebug().noquote() << QStringLiteral("exe : page image not written over a link: %1").arg(path);
            continue;
        }
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            ++written;
        else
            qDebug().noquote() << QStringLiteral("exe : page image not written: %1").arg(path);
    }
    return written;
}

void PageImageBacklog::HandOver(const QString& imagePath)
{
    QMutexLocker lock(&m_mutex);
    m_waiting.remove(imagePath);
}

void PageImageBacklog::Cancel()
{
    m_cancelled = true;
}

int PageImageBacklog::Waiting() const
{
    QMutexLocker lock(&m_mutex);
    return m_waiting.size();
}

}  // namespace storage
