#include "storage/ui/selectdirectory.h"

#include "ui_selectdirectory.h"

#include "storage/language_file.h"

#include <QFileSystemModel>

SelectDirectory::SelectDirectory(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::SelectDirectory)
{
    ui->setupUi(this);
}

SelectDirectory::~SelectDirectory()
{
    delete ui;
}

void SelectDirectory::InitSelectDirectory(QString languageFile)
{
    m_chosenPath.clear();
    m_model = new QFileSystemModel(this);
    m_model->setRootPath(QString());
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    ui->treeView->setModel(m_model);
    ui->treeView->setRootIndex(m_model->index(m_model->rootPath()));
    for (int column = 1; column <= 3; ++column)
        ui->treeView->hideColumn(column);

    m_languageFile = languageFile;
    const LanguageTexts texts = ReadLanguageFile(languageFile);
    setWindowTitle(texts.config.value(LanguageKeyPosition(QStringLiteral("Config"), 301)));
    ui->Okbtn->setText(texts.common.value(0));
    ui->Cancelbtn->setText(texts.common.value(1));

    connect(ui->Okbtn, &QPushButton::clicked, this, qOverload<>(&SelectDirectory::SetFilePath));
    connect(ui->Cancelbtn, &QPushButton::clicked, this, &SelectDirectory::close);
    connect(ui->treeView, &QTreeView::clicked, this, &SelectDirectory::GetFilePath);
}

void SelectDirectory::GetFilePath(QModelIndex index)
{
    if (m_model && index.isValid())
        m_chosenPath = m_model->fileInfo(index).absoluteFilePath();
}

void SelectDirectory::SetFilePath()
{
    if (!m_chosenPath.isEmpty())
        emit SetFilePath(m_chosenPath);
    close();
}
