#pragma once

#include <QByteArray>
#include <QListWidget>
#include <QString>

// The icon-mode thumbnail list of the note list window (tag "ND": the rows
// are note pages, dragging one onto another reorders them) and of the
// clip-art browser (tag "CA": the rows are pictures of one folder, dragged
// onto the board). It runs its own drag and drop: the list never moves an
// item by itself.
class notelist : public QListWidget
{
    Q_OBJECT

public:
    notelist(int width, int height, QString tag, QWidget* parent = nullptr);

    QString tag() const { return m_tag; }
    // The folder of the pictures listed (tag "CA").
    void SetFolder(const QString& folder) { m_folder = folder; }
    QString folder() const { return m_folder; }

    // What a drag of `item` carries under "listwidget": its picture at the
    // icon size, then its row ("ND") or its file path ("CA").
    QByteArray DragPayload(QListWidgetItem* item) const;

signals:
    // A note thumbnail dropped on another: the row dropped on, then the row
    // the drag started from.
    void sortingList(int target, int source);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int m_width;
    int m_height;
    QString m_tag;
    QString m_folder;
};

// The one rule for a drag entering or moving over a window of ours: only our
// own "listwidget" data is taken (and a move is proposed as a move).
void AcceptListWidgetDrag(QDragEnterEvent* event);
void AcceptListWidgetDrag(QDragMoveEvent* event);
