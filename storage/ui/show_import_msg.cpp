#include "storage/ui/show_import_msg.h"

#include "storage/language_file.h"
#include "ui_show_import_msg.h"

#include <QFile>
#include <QTextStream>

ShowImportMsg::ShowImportMsg(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::ShowImportMsg)
{
    ui->setupUi(this);
}

ShowImportMsg::~ShowImportMsg()
{
    delete ui;
}

void ShowImportMsg::InitShowImportMsg(QString languageFile)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    m_common = nullptr;
    m_help = nullptr;
    // "<folder>/ENU.lng": the folder and the three-letter code.
    m_helpFile.clear();
    if (languageFile.size() >= 7) {
        const QString folder = languageFile.left(languageFile.size() - 7);
        const QString code = languageFile.mid(languageFile.size() - 7, 3);
        m_helpFile = ImportHelpFilePath(folder, code);
    }
    connect(ui->closeBtn, &QPushButton::clicked, this, &ShowImportMsg::ClickedOK);
    connect(ui->checkBox, &QCheckBox::pressed, this, &ShowImportMsg::SetDocumentOpenOption);
}

void ShowImportMsg::ShowHelpText(const QStringList* common, const QStringList* help)
{
    m_common = common;
    m_help = help;
    if (help) {
        setWindowTitle(help->value(0));
        ui->checkBox->setText(help->value(1));
    }
    if (common)
        ui->closeBtn->setText(common->value(0));

    QFile file(m_helpFile);
    if (m_helpFile.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    ui->ViewEdit->clear();
    QTextStream stream(&file);
    // Language files are UTF-8 whatever the system's own encoding.
    stream.setCodec("UTF-8");
    while (!stream.atEnd())
        ui->ViewEdit->append(stream.readLine());
}

void ShowImportMsg::ClickedOK()
{
    close();
    emit CallDocuments();
}

void ShowImportMsg::SetDocumentOpenOption()
{
    // pressed() comes before the box toggles: the state sent is the one
    // before the click, so checking the box sends false (no help next time).
    emit CallSetCheck(ui->checkBox->isChecked());
}
