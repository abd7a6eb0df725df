#include "panels/ui/notedialog.h"

#include "board/picture_file.h"

#include "app/ui/message_box.h"
#include "panels/note_list.h"
#include "panels/ui/notelist.h"
#include "storage/ui/progressdlg.h"

#include <QCloseEvent>
#include <QDebug>
#include <QElapsedTimer>
#include <QFont>
#include <QIcon>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QThread>
#include <QtConcurrent>

namespace {

// The longest the window waits for a thumbnail job to stop; the job checks
// its stop flag between two pages, so it never takes that long.
constexpr int kFillStopWaitMs = 10000;

QString Entry(const QStringList* texts, int entry)
{
    return texts && entry < texts->size() ? texts->at(entry) : QString();
}

}  // namespace

NoteDialog::NoteDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("NoteDialog"));
    setFont(QFont(QStringLiteral("Tahoma")));
    setFixedSize(750, 660);
    setBaseSize(750, 660);
    setModal(true);
    setSizeGripEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(true);
    setWindowTitle(QStringLiteral("Note List"));

    m_deleteButton = new QPushButton(QStringLiteral("Delete"), this);
    m_deleteButton->setObjectName(QStringLiteral("deletebtn"));
    m_deleteButton->setGeometry(460, 630, 140, 27);
    m_deleteButton->setFocusPolicy(Qt::ClickFocus);
    m_closeButton = new QPushButton(QStringLiteral("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closebtn"));
    m_closeButton->setGeometry(600, 630, 140, 27);
    m_closeButton->setFocusPolicy(Qt::ClickFocus);
    // The form's list only lends its place to the thumbnail list.
    m_listWidget = new QListWidget(this);
    m_listWidget->setObjectName(QStringLiteral("listWidget"));
    m_listWidget->setGeometry(0, 0, 751, 631);
    m_listWidget->hide();
}

NoteDialog::~NoteDialog()
{
    StopFill();
}

void NoteDialog::InitDialog(QString workFolder)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    m_thumbnailSize = QSize(310, 270);
    m_list = new notelist(m_thumbnailSize.width(), m_thumbnailSize.height(), QStringLiteral("ND"), this);
    m_list->setObjectName(QStringLiteral("notelist"));
    m_list->setGeometry(m_listWidget->geometry());
    m_progress = new progressdlg(this);
    m_workFolder = workFolder;
    m_thumbnailFolder = workFolder + QStringLiteral("TempNoteList/");

    connect(m_list, SIGNAL(itemDoubleClicked(QListWidgetItem*)), this, SLOT(SelectItem(QListWidgetItem*)));
    connect(m_list, SIGNAL(sortingList(int,int)), this, SLOT(sortingNote(int,int)));
    connect(m_deleteButton, SIGNAL(clicked()), this, SLOT(DeleteNote()));
    connect(m_closeButton, SIGNAL(clicked()), this, SLOT(NoteListClose()));
    connect(&m_watcher, SIGNAL(finished()), this, SLOT(SetNotesFinished()));
    connect(this, SIGNAL(ListAddItem(QString,int)), this, SLOT(ListAddNoteItem(QString,int)));
}

void NoteDialog::SetEditMode(bool editable)
{
    m_editLock = !editable;
    m_deleteButton->setVisible(editable);
}

void NoteDialog::SetNoteList(QVector<NoteInfo>* records, int currentIndex)
{
    m_records = records;
    m_currentStamp = records && currentIndex >= 0 && currentIndex < records->size()
                         ? records->at(currentIndex).create_data
                         : QString();
    m_open = records != nullptr;
}

void NoteDialog::SetLanguageText(QStringList* commonTexts, QStringList* noteListTexts, QStringList* messageTexts)
{
    m_commonTexts = commonTexts;
    m_noteListTexts = noteListTexts;
    m_messageTexts = messageTexts;
    // A text the language file lacks leaves the built-in one.
    if (!NoteListText(0).isEmpty())
        setWindowTitle(NoteListText(0));
    if (!NoteListText(1).isEmpty())
        m_deleteButton->setText(NoteListText(1));
    if (!CommonText(4).isEmpty())
        m_closeButton->setText(CommonText(4));
}

QString NoteDialog::CommonText(int entry) const { return Entry(m_commonTexts, entry); }
QString NoteDialog::NoteListText(int entry) const { return Entry(m_noteListTexts, entry); }
QString NoteDialog::MessageText(int entry) const { return Entry(m_messageTexts, entry); }

void NoteDialog::StartMakeThumbnails()
{
    StartFill(true);
}

void NoteDialog::StartFill(bool showProgress)
{
    StopFill();
    m_list->clear();
    m_deleteButton->setEnabled(false);
    if (!m_records) {
        m_progress->hide();
        return;
    }
    // Labels are written here, on the window's thread; the job only gets
    // the page numbers and image paths, copied.
    RelabelNotes(m_records);
    m_fillLabels.clear();
    for (const NoteInfo& note : qAsConst(*m_records))
        m_fillLabels << note.extra;
    const QVector<ThumbnailSource> sources = ThumbnailSources(*m_records);
    RemoveThumbnailsFrom(m_thumbnailFolder, sources.size());

    if (showProgress) {
        m_progress->SetText(QStringLiteral("Set Notes.."));
        m_progress->show();
        m_progress->SetValue(0);
        m_progress->SetMaximum(sources.size());
    }

    auto state = std::make_shared<FillState>();
    state->generation = ++m_fillGeneration;
    m_fill = state;
    const QString folder = m_thumbnailFolder;
    const QSize box = m_thumbnailSize;
    m_watcher.setFuture(QtConcurrent::run([this, state, sources, folder, box] {
        for (const ThumbnailSource& source : sources) {
            if (state->cancelled.load())
                return;
            const QString file = ThumbnailFile(folder, source.index);
            WriteNoteThumbnail(source.imagePath, file, box);
            const int index = source.index;
            const quint64 generation = state->generation;
            // A result of a fill that was stopped or replaced is dropped.
            QMetaObject::invokeMethod(
                this,
                [this, file, index, generation] {
                    if (generation == m_fillGeneration)
                        emit ListAddItem(file, index);
                },
                Qt::QueuedConnection);
        }
    }));
}

void NoteDialog::StopFill()
{
    ++m_fillGeneration;
    if (!m_fill)
        return;
    m_fill->cancelled.store(true);
    m_fill.reset();
    QElapsedTimer clock;
    clock.start();
    while (m_watcher.isRunning() && clock.elapsed() < kFillStopWaitMs)
        QThread::msleep(2);
}

void NoteDialog::ListAddNoteItem(QString file, int index)
{
    if (index < 0 || index >= m_fillLabels.size())
        return;
    AddNoteItem(file, index);
    m_progress->SetText(QStringLiteral("Set Notes(%1/%2)").arg(index).arg(m_fillLabels.size()));
    m_progress->SetValue(index);
}

void NoteDialog::AddNoteItem(const QString& file, int index)
{
    // An unreadable page gives an empty picture, but its label still shows.
    // Read afresh, never through the pixmap cache: a thumbnail file is
    // rewritten under the same name within the same second.
    const QPixmap picture = QPixmap::fromImage(ReadPicture(file).image);
    auto* item = new QListWidgetItem(picture.isNull() ? QIcon() : QIcon(picture), m_fillLabels.at(index));
    item->setBackground(Qt::black);
    item->setForeground(Qt::yellow);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled);
    m_list->addItem(item);
}

void NoteDialog::SetNotesFinished()
{
    // The end of a job that was replaced meanwhile says nothing about the
    // fill under way.
    if (m_watcher.isRunning())
        return;
    FinishFill();
}

void NoteDialog::FinishFill()
{
    // The only page can never be deleted.
    m_deleteButton->setEnabled(m_records && m_records->size() > 1);
    m_progress->hide();
    qDebug().noquote() << QStringLiteral("note list filled : %1").arg(m_list->count());
}

void NoteDialog::SelectItem(QListWidgetItem* item)
{
    if (!item || !m_records)
        return;
    for (const NoteInfo& note : qAsConst(*m_records)) {
        if (note.extra != item->text())
            continue;
        if (note.create_data.isEmpty())
            return;
        const QString stamp = note.create_data;
        emit SelectItem(stamp);
        EndOpening();
        close();
        return;
    }
}

void NoteDialog::DeleteNote()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item || !m_records || m_editLock || m_records->size() <= 1)
        return;
    for (int i = 0; i < m_records->size(); ++i) {
        if (m_records->at(i).extra != item->text())
            continue;
        const QMessageBox::StandardButton answer =
            ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"), MessageText(22),
                               QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
        // The records change only once no job reads anything taken from them.
        StopFill();
        const QString stamp = m_records->at(i).create_data;
        m_records->removeAt(i);
        StartFill(true);
        emit DeleteItem(stamp);
        return;
    }
}

void NoteDialog::sortingNote(int target, int source)
{
    qDebug() << "start drag index:" << source << "dst drop index: " << target << "isRec :" << m_editLock;
    if (m_editLock || !m_records)
        return;
    const bool filled = !m_watcher.isRunning() && m_list->count() == m_records->size();
    if (!MoveNoteRecord(m_records, target, source))
        return;
    if (filled) {
        // A thumbnail depends on its page, not on its place: the ones made
        // move with their pages instead of being made again.
        RelabelNotes(m_records);
        for (int i = 0; i < m_records->size(); ++i)
            m_fillLabels[i] = m_records->at(i).extra;
        MoveNoteItem(target, source);
        MoveThumbnailFiles(m_thumbnailFolder, target, source);
        FinishFill();
    } else {
        StartFill(true);
    }
    emit SelectItem(m_currentStamp);
}

void NoteDialog::MoveNoteItem(int target, int source)
{
    QListWidgetItem* item = m_list->takeItem(source);
    m_list->insertItem(target, item);
    for (int row = 0; row < m_list->count(); ++row)
        m_list->item(row)->setText(m_fillLabels.at(row));
    m_list->setCurrentRow(target);
}

void NoteDialog::NoteListClose()
{
    EndOpening();
    close();
}

void NoteDialog::EndOpening()
{
    if (!m_open)
        return;
    m_open = false;
    // A running job finishes on its own copies; what it still reports is
    // dropped.
    ++m_fillGeneration;
    if (m_fill)
        m_fill->cancelled.store(true);
    m_progress->hide();
    m_records = nullptr;
    m_commonTexts = nullptr;
    m_noteListTexts = nullptr;
    m_messageTexts = nullptr;
    emit CloseDialog();
}

void NoteDialog::closeEvent(QCloseEvent* event)
{
    EndOpening();
    QDialog::closeEvent(event);
}

void NoteDialog::reject()
{
    EndOpening();
    QDialog::reject();
}
