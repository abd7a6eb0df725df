#include "storage/ui/notesave.h"

#include "app/ui/message_box.h"
#include "platform/folders.h"
#include "storage/note_export.h"
#include "storage/ui/note_range_boxes.h"
#include "storage/ui/selectdirectory.h"
#include "ui_notesave.h"

#include <QFile>

NoteSave::NoteSave(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::NoteSave)
{
    ui->setupUi(this);
}

NoteSave::~NoteSave()
{
    // The caption lists and the notes belong to the main window.
    delete ui;
}

void NoteSave::InitNoteSave(QString languageFilePath, bool)
{
    m_languageFilePath = languageFilePath;
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    SetPath(platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::Documents),
                               QStringLiteral("\\Dravik\\Dravik_Saved_Notes")));
    ui->nameedit->setText(QStringLiteral("noname"));

    m_selectDirectory = new SelectDirectory(this);
    m_selectDirectory->InitSelectDirectory(languageFilePath);

    connect(ui->cancelbtn, &QPushButton::clicked, this, &NoteSave::close);
    connect(ui->okbtn, &QPushButton::clicked, this, &NoteSave::SaveOperation);
    connect(ui->keybtn, &QPushButton::clicked, this, &NoteSave::ShowVirtualKeyboard);
    connect(ui->dirbtn, &QPushButton::clicked, this, &NoteSave::ShowDirectoryDlg);
    connect(m_selectDirectory, qOverload<QString>(&SelectDirectory::SetFilePath), this, &NoteSave::SetPath);
    ui->keybtn->setStyleSheet(QStringLiteral("QPushButton {border-image: url(:/Config/key);}"
                                             "QPushButton:pressed {border-image: url(:/Config/keypress);}"));
    noteforms::EnableRange(ui->SNotes_spinBox_Min, ui->SNotes_spinBox_Max, false);
}

void NoteSave::SetNoteRange(int mode, int value)
{
    noteforms::SetRange(ui->SNotes_spinBox_Min, ui->SNotes_spinBox_Max, mode, value);
}

void NoteSave::SetLanguageText(QStringList* common, QStringList* saveNote, QStringList* messages)
{
    m_common = common;
    m_saveNote = saveNote;
    m_messages = messages;
    const auto text = [](const QStringList* list, int i) { return list ? list->value(i) : QString(); };
    setWindowTitle(text(saveNote, 0));
    ui->foldertxt->setText(text(saveNote, 1));
    ui->filetxt->setText(text(saveNote, 2));
    ui->groupBox_2->setTitle(text(saveNote, 3));
    ui->bmpradiobtn->setText(text(saveNote, 4));
    ui->pngradiobtn->setText(text(saveNote, 5));
    ui->jpgradiobtn->setText(text(saveNote, 6));
    ui->groupBox_3->setTitle(text(saveNote, 7));
    ui->onlyradiobtn->setText(text(saveNote, 8));
    ui->allradiobtn->setText(text(saveNote, 9));
    ui->SelectRadiobtn->setText(text(saveNote, 10));
    ui->okbtn->setText(text(common, 0));
    ui->cancelbtn->setText(text(common, 1));
}

void NoteSave::SetCurrentNote(QString create, QVector<NoteInfo>* notes)
{
    m_currentNote = create;
    m_notes = notes;
}

void NoteSave::SetPath(QString path)
{
    ui->diredit->setText(path);
    ui->diredit->setToolTip(path);
}

void NoteSave::ShowDirectoryDlg()
{
    const QString start = ui->diredit->text().isEmpty() ? QStringLiteral("/home") : ui->diredit->text();
    const QString chosen = ui::GetExistingDirectory(this, tr("Select Folder"), start);
    if (!chosen.isNull() && !chosen.isEmpty())
        SetPath(chosen);
}

void NoteSave::ShowVirtualKeyboard()
{
    emit CallVirtualKeyboard();
    ui->nameedit->setFocus();
}

void NoteSave::SaveOperation()
{
    const QString name = ui->nameedit->text();
    QString folder = ui->diredit->text();
    if (name.isEmpty() || folder.isEmpty())
        return;
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');

    QString extension = QStringLiteral(".jpg");
    if (ui->pngradiobtn->isChecked())
        extension = QStringLiteral(".png");
    else if (ui->bmpradiobtn->isChecked())
        extension = QStringLiteral(".bmp");
    const QString target = folder + name;
    storage::NoteScope scope = storage::NoteScope::Range;
    if (ui->onlyradiobtn->isChecked())
        scope = storage::NoteScope::Current;
    else if (ui->allradiobtn->isChecked())
        scope = storage::NoteScope::All;

    int first = 0;
    int end = 0;
    const bool found = storage::NoteScopeRange(scope, m_currentNote, m_notes ? *m_notes : QVector<NoteInfo>(),
                                               ui->SNotes_spinBox_Min->value(), ui->SNotes_spinBox_Max->value(),
                                               &first, &end);
    if (found) {
        bool exists = false;
        for (const QString& file : storage::NoteExportFileNames(target, extension, first, end))
            exists = exists || QFile::exists(file);
        if (exists) {
            const QMessageBox::StandardButton answer =
                ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"),
                                   m_messages ? m_messages->value(5) : QString(), QMessageBox::Yes | QMessageBox::No);
            if (answer != QMessageBox::Yes)
                return;
        }
        emit CallNoteSavePrintOperation(target, extension, first, end);
    }
    close();
}

void NoteSave::on_onlyradiobtn_clicked()
{
    noteforms::EnableRange(ui->SNotes_spinBox_Min, ui->SNotes_spinBox_Max, false);
}

void NoteSave::on_allradiobtn_clicked()
{
    on_onlyradiobtn_clicked();
}

void NoteSave::on_SelectRadiobtn_clicked()
{
    noteforms::EnableRange(ui->SNotes_spinBox_Min, ui->SNotes_spinBox_Max, true);
}

void NoteSave::on_SNotes_spinBox_Min_valueChanged(int value)
{
    noteforms::FirstMoved(ui->SNotes_spinBox_Max, value);
}

void NoteSave::on_SNotes_spinBox_Max_valueChanged(int value)
{
    noteforms::LastMoved(ui->SNotes_spinBox_Min, value);
}
