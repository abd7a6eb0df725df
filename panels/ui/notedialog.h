#pragma once

#include "app/ui/placeholder_dialog.h"
#include "board/board_records.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The note list window: page thumbnails to pick, reorder and delete.
class NoteDialog : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit NoteDialog(QWidget* parent = nullptr);

    void InitDialog(QString workFolder);
    QString workFolder() const { return m_workFolder; }
    // Called in this order around each showing.
    void SetEditMode(bool editable);
    void SetNoteList(QVector<NoteInfo>* notes, int currentIndex);
    void SetLanguageText(QStringList* common, QStringList* noteList, QStringList* messages);
    void StartMakeThumbnails();

signals:
    void SelectItem(QString stamp);
    void DeleteItem(QString stamp);
    void CloseDialog();

private:
    QString m_workFolder;
};
