#pragma once

#include "board/board_records.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>

class SelectDirectory;

namespace Ui {
class NoteSave;
}

// The "Save Notes" form: a folder, a file name, an image type and which
// notes. It only collects and checks the choice; on OK it asks before
// overwriting and hands the request to the main window, which writes the
// files. Made once; what the user chose survives to the next showing.
class NoteSave : public QDialog
{
    Q_OBJECT

public:
    explicit NoteSave(QWidget* parent = nullptr);
    ~NoteSave() override;

    void InitNoteSave(QString languageFilePath, bool option);
    // Before each showing: the range limits, the captions and the note on the board.
    void SetNoteRange(int mode, int value);
    void SetLanguageText(QStringList* common, QStringList* saveNote, QStringList* messages);
    void SetCurrentNote(QString create, QVector<NoteInfo>* notes);

    SelectDirectory* folderChooser() const { return m_selectDirectory; }

    Ui::NoteSave* ui = nullptr;

public slots:
    void SetPath(QString path);
    void ShowDirectoryDlg();
    void ShowVirtualKeyboard();
    void SaveOperation();
    void on_onlyradiobtn_clicked();
    void on_allradiobtn_clicked();
    void on_SelectRadiobtn_clicked();
    void on_SNotes_spinBox_Min_valueChanged(int value);
    void on_SNotes_spinBox_Max_valueChanged(int value);

signals:
    void CallNoteSavePrintOperation(QString path, QString mode, int first, int last);
    void CallVirtualKeyboard();

private:
    SelectDirectory* m_selectDirectory = nullptr;
    QStringList* m_common = nullptr;
    QStringList* m_saveNote = nullptr;
    QStringList* m_messages = nullptr;
    QVector<NoteInfo>* m_notes = nullptr;
    QString m_currentNote;
    QString m_languageFilePath;
};
