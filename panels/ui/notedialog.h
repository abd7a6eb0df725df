#pragma once

#include "board/board_records.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <memory>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class notelist;
class progressdlg;

// The note list window: one thumbnail per page of the lesson, in lesson
// order. A double-click goes to a page, Delete removes one after a question,
// and dragging a thumbnail onto another reorders the pages. It works on the
// main window's note records, lent to it while it is open.
class NoteDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NoteDialog(QWidget* parent = nullptr);
    ~NoteDialog() override;

    void InitDialog(QString workFolder);
    QString workFolder() const { return m_workFolder; }
    QString thumbnailFolder() const { return m_thumbnailFolder; }

    // Called when the window opens, in this order.
    void SetEditMode(bool editable);
    void SetNoteList(QVector<NoteInfo>* records, int currentIndex);
    void SetLanguageText(QStringList* commonTexts, QStringList* noteListTexts, QStringList* messageTexts);
    void StartMakeThumbnails();

    // The running thumbnail fill, for whoever must wait for it.
    bool FillRunning() const { return m_watcher.isRunning(); }
    void WaitForFill() { m_watcher.waitForFinished(); }

    notelist* list() const { return m_list; }
    QPushButton* deleteButton() const { return m_deleteButton; }
    QPushButton* closeButton() const { return m_closeButton; }
    progressdlg* progress() const { return m_progress; }
    bool editLocked() const { return m_editLock; }

signals:
    void SelectItem(QString stamp);
    void DeleteItem(QString stamp);
    void CloseDialog();
    void ListAddItem(QString file, int index);

public slots:
    void NoteListClose();
    void DeleteNote();
    void SelectItem(QListWidgetItem* item);
    void SetNotesFinished();
    void ListAddNoteItem(QString file, int index);
    void sortingNote(int target, int source);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // The thumbnail job's own state: the fill it belongs to and its stop flag.
    struct FillState {
        quint64 generation = 0;
        std::atomic<bool> cancelled{false};
    };

    void StartFill(bool showProgress);
    void StopFill();
    void AddNoteItem(const QString& file, int index);
    void FinishFill();
    void MoveNoteItem(int target, int source);
    // Ends the open state once, whichever way the window is closed.
    void EndOpening();
    QString CommonText(int entry) const;
    QString NoteListText(int entry) const;
    QString MessageText(int entry) const;

    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QListWidget* m_listWidget = nullptr;
    notelist* m_list = nullptr;
    progressdlg* m_progress = nullptr;
    QSize m_thumbnailSize{310, 270};
    QString m_workFolder;
    QString m_thumbnailFolder;
    QFutureWatcher<void> m_watcher;
    std::shared_ptr<FillState> m_fill;
    quint64 m_fillGeneration = 0;
    // Labels and count of the fill under way: its items take their text from
    // here, never from the records.
    QStringList m_fillLabels;
    bool m_open = false;

    QVector<NoteInfo>* m_records = nullptr;
    QStringList* m_commonTexts = nullptr;
    QStringList* m_noteListTexts = nullptr;
    QStringList* m_messageTexts = nullptr;
    QString m_currentStamp;
    bool m_editLock = false;
};
