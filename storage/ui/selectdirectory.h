#pragma once

#include <QDialog>
#include <QModelIndex>
#include <QString>

class QFileSystemModel;

namespace Ui {
class SelectDirectory;
}

// A small folder chooser: a tree of the file system showing folders only.
// OK hands the folder last clicked to the owner through SetFilePath; the
// owner keeps the chooser for its whole life, so the choice survives a Cancel.
class SelectDirectory : public QDialog
{
    Q_OBJECT

public:
    explicit SelectDirectory(QWidget* parent = nullptr);
    ~SelectDirectory() override;

    // Once, right after construction: the tree and the captions of the
    // language file (read once).
    void InitSelectDirectory(QString languageFile);

    QString chosenPath() const { return m_chosenPath; }

    Ui::SelectDirectory* ui = nullptr;

public slots:
    void GetFilePath(QModelIndex index);
    // OK: hands over the chosen folder and closes. Without a folder clicked
    // there is nothing to hand over, and the owner's field stays as it is.
    void SetFilePath();

signals:
    void SetFilePath(QString path);

private:
    QFileSystemModel* m_model = nullptr;
    QString m_chosenPath;
    QString m_languageFile;
};
