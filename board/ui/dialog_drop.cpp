// Clip-art and note-list items dropped on the board become image objects at
// the drop point. Only the program's own drag format is taken.
#include <QDataStream>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>

#include "app/ui/dialog.h"

namespace {

const char* const kListWidgetFormat = "listwidget";

}  // namespace

void Dialog::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kListWidgetFormat)))
        event->accept();
    else
        event->ignore();
}

void Dialog::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kListWidgetFormat))) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void Dialog::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasFormat(QLatin1String(kListWidgetFormat))) {
        event->ignore();
        return;
    }
    QByteArray data = event->mimeData()->data(QLatin1String(kListWidgetFormat));
    QDataStream stream(&data, QIODevice::ReadOnly);
    QPixmap picture;
    QString path;
    stream >> picture >> path;
    if (stream.status() != QDataStream::Ok || path.isEmpty()) {
        // A damaged drag carries no picture to insert.
        event->ignore();
        return;
    }
    m_dropPositionPending = true;
    m_dropPosition = event->pos();
    InsertClipArtImage(path);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}
