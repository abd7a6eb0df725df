#include "panels/ui/notelist.h"

#include "panels/note_list.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>

notelist::notelist(int width, int height, QString tag, QWidget* parent)
    : QListWidget(parent)
    , m_width(width)
    , m_height(height)
    , m_tag(tag)
{
    setDragEnabled(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setViewMode(QListView::IconMode);
    if (m_tag == QLatin1String("ND"))
        setGridSize(QSize(360, 310));
    else if (m_tag == QLatin1String("CA"))
        setGridSize(QSize(170, 170));
    setIconSize(QSize(m_width, m_height));
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setStyleSheet(QStringLiteral("QIcon{border:black;outline:black;}"));
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
}

QByteArray notelist::DragPayload(QListWidgetItem* item) const
{
    const QPixmap picture = item->icon().pixmap(QSize(m_width, m_height));
    if (m_tag == QLatin1String("CA"))
        return ClipArtDragPayload(picture, QStringLiteral("%1/%2").arg(m_folder, item->text()));
    return NoteDragPayload(picture, row(item));
}

void notelist::startDrag(Qt::DropActions)
{
    QListWidgetItem* item = currentItem();
    if (!item)
        return;
    const QPixmap picture = item->icon().pixmap(QSize(m_width, m_height));
    auto* data = new QMimeData;
    data->setData(QLatin1String(kListWidgetFormat), DragPayload(item));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(picture);
    drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    drag->exec(Qt::MoveAction);
}

void notelist::dragEnterEvent(QDragEnterEvent* event) { AcceptListWidgetDrag(event); }
void notelist::dragMoveEvent(QDragMoveEvent* event) { AcceptListWidgetDrag(event); }

void notelist::dropEvent(QDropEvent* event)
{
    if (!HasListWidgetData(event->mimeData())) {
        event->ignore();
        return;
    }
    if (m_tag == QLatin1String("ND")) {
        QPixmap picture;
        int source = -1;
        const QModelIndex under = indexAt(event->pos());
        const int target = under.isValid() ? under.row() : -1;
        if (ReadNoteDragPayload(event->mimeData()->data(QLatin1String(kListWidgetFormat)), &picture, &source)
            && target != -1 && target != source)
            emit sortingList(target, source);
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void AcceptListWidgetDrag(QDragEnterEvent* event)
{
    if (HasListWidgetData(event->mimeData()))
        event->accept();
    else
        event->ignore();
}

void AcceptListWidgetDrag(QDragMoveEvent* event)
{
    if (HasListWidgetData(event->mimeData())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}
