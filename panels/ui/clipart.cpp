#include "panels/ui/clipart.h"

#include "panels/clip_art.h"
#include "panels/ui/notelist.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QtConcurrent>

namespace {

// Pictures reach the list in groups, so a large folder fills in as it is read.
constexpr int kPicturesPerBatch = 24;

QString Entry(const QStringList* texts, int entry)
{
    return texts && entry < texts->size() ? texts->at(entry) : QString();
}

}  // namespace

clipart::clipart(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("clipart"));
    setFont(QFont(QStringLiteral("Tahoma")));
    resize(594, 461);
    setMinimumSize(590, 461);
    setMaximumSize(594, 461);
    setBaseSize(590, 461);
    setModal(false);
    setAcceptDrops(true);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treeWidget"));
    m_tree->setGeometry(0, 0, 210, 251);
    m_tree->setFrameShape(QFrame::Box);
    m_tree->setFrameShadow(QFrame::Plain);
    m_tree->setColumnCount(1);
    m_tree->setHeaderLabel(QStringLiteral("File List"));

    m_listWidget = new QListWidget(this);
    m_listWidget->setObjectName(QStringLiteral("listWidget"));
    m_listWidget->setGeometry(210, 0, 380, 461);
    m_listWidget->setFrameShape(QFrame::Box);
    m_listWidget->setFrameShadow(QFrame::Plain);
    m_listWidget->setDragEnabled(false);
    m_listWidget->hide();

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setGeometry(0, 250, 210, 170);
    m_label->setFrameShape(QFrame::Box);
    m_label->setAlignment(Qt::AlignCenter);

    m_backgroundButton = new QPushButton(QStringLiteral("Background"), this);
    m_backgroundButton->setObjectName(QStringLiteral("backgroundbtn"));
    m_backgroundButton->setGeometry(10, 430, 100, 23);
    m_closeButton = new QPushButton(QStringLiteral("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closebtn"));
    m_closeButton->setGeometry(110, 430, 90, 23);
}

clipart::~clipart()
{
    StopListing();
    m_job.waitForFinished();
}

void clipart::InitDialog(QString clipArtFolder)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    m_folder = clipArtFolder;
    m_backgroundButton->setEnabled(false);
    m_label->setAlignment(Qt::AlignCenter);
    m_thumbnailSize = QSize(150, 150);
    m_list = new notelist(m_thumbnailSize.width(), m_thumbnailSize.height(), QStringLiteral("CA"), this);
    m_list->setObjectName(QStringLiteral("notelist"));
    m_list->setGeometry(m_listWidget->geometry());
    m_rootText = QStringLiteral("ClipArt");
    FillTree();

    connect(m_tree, SIGNAL(itemClicked(QTreeWidgetItem*,int)), this, SLOT(SelectItem(QTreeWidgetItem*,int)));
    connect(m_list, SIGNAL(itemClicked(QListWidgetItem*)), this, SLOT(SelectItem(QListWidgetItem*)));
    connect(m_list, SIGNAL(itemDoubleClicked(QListWidgetItem*)), this, SLOT(InsertImage(QListWidgetItem*)));
    connect(m_closeButton, SIGNAL(pressed()), this, SLOT(close()));
    connect(m_backgroundButton, SIGNAL(pressed()), this, SLOT(InsertBackGroundImage()));
}

void clipart::FillTree()
{
    m_tree->clear();
    auto* root = new QTreeWidgetItem;
    root->setText(0, m_rootText);
    root->setText(2, m_folder);
    m_tree->addTopLevelItem(root);
    for (const ClipArtEntry& entry : ClipArtEntries(m_folder)) {
        auto* child = new QTreeWidgetItem(root);
        child->setText(0, entry.name);
        if (!entry.folder)
            child->setText(1, QString::number(entry.size));
        child->setText(2, entry.path);
    }
    // Open from the start, so the folders show without a click on the root.
    root->setExpanded(true);
}

void clipart::SetLanguageText(QStringList* commonTexts, QStringList* clipartTexts)
{
    m_commonTexts = commonTexts;
    m_clipartTexts = clipartTexts;
    // A text the language file lacks leaves the built-in one.
    if (!Entry(clipartTexts, 0).isEmpty())
        setWindowTitle(Entry(clipartTexts, 0));
    if (!Entry(clipartTexts, 5).isEmpty())
        m_backgroundButton->setText(Entry(clipartTexts, 5));
    if (!Entry(commonTexts, 4).isEmpty())
        m_closeButton->setText(Entry(commonTexts, 4));
    PlaceButtons();
}

void clipart::PlaceButtons()
{
    // Each button as wide as its text needs; side by side below the preview
    // when both fit the left column, else one above the other, the preview
    // giving up the height of a row.
    const int column = m_tree->width();
    const int left = 10;
    const int gap = 6;
    const int row = 23;
    const int bottom = 430;
    const int background = qMax(100, m_backgroundButton->sizeHint().width());
    const int close = qMax(90, m_closeButton->sizeHint().width());
    if (left + background + gap + close <= column - left) {
        m_label->setGeometry(0, 250, column, 170);
        m_backgroundButton->setGeometry(left, bottom, background, row);
        m_closeButton->setGeometry(left + background + gap, bottom, close, row);
        return;
    }
    const int width = qMin(column - 2 * left, qMax(background, close));
    m_label->setGeometry(0, 250, column, 170 - row - gap);
    m_backgroundButton->setGeometry(left, bottom - row - gap, width, row);
    m_closeButton->setGeometry(left, bottom, width, row);
}

void clipart::SelectItem(QTreeWidgetItem* item, int)
{
    if (!item || !item->parent())
        return;
    StopListing();
    m_list->clear();
    m_currentFolder = item->text(2);
    m_list->SetFolder(m_currentFolder);

    auto listing = std::make_shared<Listing>();
    listing->generation = ++m_listingGeneration;
    m_listing = listing;
    const QString folder = m_currentFolder;
    const QSize box = m_thumbnailSize;
    m_job = QtConcurrent::run([this, listing, folder, box] {
        DecodeClipArtFolder(folder, box, kPicturesPerBatch, &listing->cancelled,
                            [this, listing](const QVector<ClipArtThumbnail>& pictures) {
                                const quint64 generation = listing->generation;
                                QMetaObject::invokeMethod(
                                    this,
                                    [this, pictures, generation] {
                                        if (generation == m_listingGeneration)
                                            AddPictures(pictures);
                                    },
                                    Qt::QueuedConnection);
                            });
    });
}

void clipart::StopListing()
{
    ++m_listingGeneration;
    if (m_listing)
        m_listing->cancelled.store(true);
    m_listing.reset();
}

void clipart::AddPictures(const QVector<ClipArtThumbnail>& pictures)
{
    for (const ClipArtThumbnail& picture : pictures) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture.image)), picture.name);
        item->setToolTip(picture.name);
        item->setBackground(Qt::white);
        item->setForeground(Qt::black);
        m_list->addItem(item);
    }
    qDebug().noquote() << QStringLiteral("clip art listed : %1").arg(m_list->count());
}

bool clipart::WaitForListing(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (m_job.isRunning() && clock.elapsed() < timeoutMs)
        QThread::msleep(2);
    QCoreApplication::sendPostedEvents(this);
    return !m_job.isRunning();
}

void clipart::SelectItem(QListWidgetItem* item)
{
    if (!item)
        return;
    m_selectedName = item->text();
    m_selectedPath = m_currentFolder + QLatin1Char('/') + m_selectedName;
    m_label->setPixmap(item->icon().pixmap(170, 170));
    m_backgroundButton->setEnabled(true);
}

void clipart::InsertImage(QListWidgetItem* item)
{
    if (!item)
        return;
    m_selectedName = item->text();
    emit InsertImage(m_currentFolder + QLatin1Char('/') + m_selectedName);
}

void clipart::InsertBackGroundImage()
{
    if (m_selectedPath.isEmpty())
        return;
    emit InsertBackGroundImage(m_selectedPath);
}

void clipart::dragEnterEvent(QDragEnterEvent* event) { AcceptListWidgetDrag(event); }
void clipart::dragMoveEvent(QDragMoveEvent* event) { AcceptListWidgetDrag(event); }

void clipart::dropEvent(QDropEvent* event)
{
    // Nothing lands on the browser itself.
    event->ignore();
}
