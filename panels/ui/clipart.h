#pragma once

#include <QDialog>
#include <QFuture>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class notelist;
struct ClipArtThumbnail;

// The clip-art browser: the clip-art folder's first level as a tree, the
// pictures of the chosen folder as thumbnails, and a preview. A double-click
// (or a drag onto the board) places a picture on the page; the background
// button lays the last clicked one as the page's background.
class clipart : public QDialog
{
    Q_OBJECT

public:
    explicit clipart(QWidget* parent = nullptr);
    ~clipart() override;

    void InitDialog(QString clipArtFolder);
    void SetLanguageText(QStringList* commonTexts, QStringList* clipartTexts);
    QString folder() const { return m_folder; }
    QString currentFolder() const { return m_currentFolder; }

    // The folder's pictures are decoded away from the window's thread; this
    // waits (bounded) until the last folder chosen is listed.
    bool WaitForListing(int timeoutMs);

    QTreeWidget* tree() const { return m_tree; }
    notelist* list() const { return m_list; }
    QLabel* preview() const { return m_label; }
    QPushButton* backgroundButton() const { return m_backgroundButton; }
    QPushButton* closeButton() const { return m_closeButton; }

signals:
    void InsertImage(QString path);
    void InsertBackGroundImage(QString path);

public slots:
    void SelectItem(QTreeWidgetItem* item, int column);
    void SelectItem(QListWidgetItem* item);
    void InsertImage(QListWidgetItem* item);
    void InsertBackGroundImage();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Listing {
        quint64 generation = 0;
        std::atomic<bool> cancelled{false};
    };

    void FillTree();
    // Sizes the two buttons to their texts below the preview.
    void PlaceButtons();
    void StopListing();
    void AddPictures(const QVector<ClipArtThumbnail>& pictures);

    QTreeWidget* m_tree = nullptr;
    QListWidget* m_listWidget = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_backgroundButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    notelist* m_list = nullptr;
    QSize m_thumbnailSize{150, 150};
    QString m_rootText;
    QString m_folder;
    QString m_currentFolder;
    // The picture last clicked, kept whole: the background button lays that
    // picture even after another folder has been opened.
    QString m_selectedName;
    QString m_selectedPath;
    QStringList* m_commonTexts = nullptr;
    QStringList* m_clipartTexts = nullptr;

    QFuture<void> m_job;
    std::shared_ptr<Listing> m_listing;
    quint64 m_listingGeneration = 0;
};
