#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

namespace Ui {
class ShowImportMsg;
}

// The help shown before a document import: the help text of the current
// language, a box that switches the help off for later imports, and a button
// that goes on with the import.
class ShowImportMsg : public QDialog
{
    Q_OBJECT

public:
    explicit ShowImportMsg(QWidget* parent = nullptr);
    ~ShowImportMsg() override;

    // `languageFile` is the language file in use ("<folder>/ENU.lng"); the help
    // file is "HelpImport_" + its code + ".lng" in the same folder.
    void InitShowImportMsg(QString languageFile);
    // Captions from the "Common" and "ShowImportMsg" lists, then the help text.
    void ShowHelpText(const QStringList* common, const QStringList* help);

    QString HelpFile() const { return m_helpFile; }
    Ui::ShowImportMsg* ui = nullptr;

signals:
    void CallDocuments();
    void CallSetCheck(bool show);

public slots:
    void ClickedOK();
    void SetDocumentOpenOption();

private:
    const QStringList* m_common = nullptr;
    const QStringList* m_help = nullptr;
    QString m_helpFile;
};
