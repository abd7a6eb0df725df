#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QString>

// The note list window: page thumbnails to pick, reorder and delete.
class NoteDialog : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit NoteDialog(QWidget* parent = nullptr);

    void InitDialog(QString workFolder);
    QString workFolder() const { return m_workFolder; }

signals:
    void SelectItem(QString stamp);
    void DeleteItem(QString stamp);
    void CloseDialog();

private:
    QString m_workFolder;
};
