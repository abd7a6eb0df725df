// Clip-art and note-list items dropped on the board become image objects at
// the drop point. Only the program's own drag format is taken.
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>

#include "app/ui/dialog.h"
#include "panels/note_list.h"
#include "panels/ui/notelist.h"

void Dialog::dragEnterEvent(QDragEnterEvent* event) { AcceptListWidgetDrag(event); }
void Dialog::dragMoveEvent(QDragMoveEvent* event) { AcceptListWidgetDrag(event); }

void Dialog::dropEvent(QDropEvent* event)
{
    if (!HasListWidgetData(event->mimeData())) {
        event->ignore();
        return;
    }
    QPixmap picture;
    QString path;
    if (!ReadClipArtDragPayload(event->mimeData()->data(QLatin1String(kListWidgetFormat)), &picture, &path)
        || path.isEmpty()) {
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
