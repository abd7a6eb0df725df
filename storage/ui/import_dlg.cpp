#include "storage/ui/import_dlg.h"

#include "app/ui/message_box.h"
#include "storage/pdf_libraries.h"
#include "ui_import_dlg.h"

#include <QCloseEvent>
#include <QDebug>
#include <QFileInfo>
#include <QtConcurrent>

ImportDlg::ImportDlg(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::ImportDlg)
{
    ui->setupUi(this);
    // One binding for the process; a missing library only costs the import.
    switch (storage::BindPdfEditor(storage::SharedPdfEditor())) {
    case storage::PdfBinding::Bound:
        break;
    case storage::PdfBinding::NotLoaded:
        qDebug() << "cannot load editor module";
        break;
    case storage::PdfBinding::MissingFunction:
        ui::CriticalBox(this, QString(), QStringLiteral("cannot find API"));
        break;
    }
}

ImportDlg::~ImportDlg()
{
    // The worker reads nothing of the form, but it emits through it: it must
    // be over before the form goes.
    m_running = false;
    m_watcher.waitForFinished();
    delete ui;
}

void ImportDlg::InitImportDlg()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    m_common = nullptr;
    m_import = nullptr;
    m_source.clear();
    m_outputFolder.clear();
    m_docType.clear();
    m_pageCount = 0;
    m_pageCountCopy = 0;
    ui->sStartPage->setMinimum(1);
    ui->sEndPage->setMinimum(1);
    connect(ui->btnOK, &QPushButton::clicked, this, &ImportDlg::OnClickedBtnOK);
    connect(ui->btnCancel, &QPushButton::clicked, this, &ImportDlg::OnClickedBtnCancel);
    connect(ui->sStartPage, QOverload<int>::of(&QSpinBox::valueChanged), this, &ImportDlg::SetChangedStartPage);
    connect(ui->sEndPage, QOverload<int>::of(&QSpinBox::valueChanged), this, &ImportDlg::SetChangedEndPage);
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, &ImportDlg::ExtractionFinished);
    connect(this, &ImportDlg::SetProgress, this, &ImportDlg::SetProgressV);
}

void ImportDlg::SetCaptions(const QStringList* common, const QStringList* import)
{
    m_common = common;
    m_import = import;
    ui->progressBar->setValue(0);
    if (!common || !import)
        return;
    ui->btnOK->setText(common->value(0));
    ui->btnCancel->setText(common->value(1));
    setWindowTitle(import->value(0));
    ui->lDocName->setText(import->value(1) + QLatin1Char(':'));
    ui->lAllPage->setText(import->value(2) + QLatin1Char(':'));
    ui->lSelPage->setText(import->value(3) + QLatin1Char(':'));
    ui->lPageOption->setText(import->value(4) + QLatin1Char(':'));
    ui->radio_hor->setText(import->value(5));
    ui->radio_ver->setText(import->value(6));
}

void ImportDlg::SetDocType(QString type)
{
    m_docType = type;
}

void ImportDlg::SetPaths(QString source, QString outputFolder)
{
    m_source = source;
    m_outputFolder = outputFolder;
}

void ImportDlg::SetPageCount(int count)
{
    if (m_docType != QLatin1String("PDF"))
        return;
    m_pageCount = count;
    m_pageCountCopy = count;
    ui->sStartPage->setMaximum(count);
    ui->sEndPage->setMaximum(count);
    ui->sEndPage->setValue(count);
    m_fileName = QFileInfo(m_source).fileName();
    ui->lFileName->setText(m_fileName);
    ui->lAllNumber->setText(QString::number(count));
}

void ImportDlg::OnClickedBtnOK()
{
    if (m_docType != QLatin1String("PDF")) {
        close();
        return;
    }
    if (m_watcher.isRunning()) {
        // A stopped run is finishing its current page.
        qDebug() << "exe : import still finishing, OK ignored";
        return;
    }
    if (!storage::SharedPdfEditor().bound) {
        ui::CriticalBox(this, QString(), QStringLiteral("cannot load editor module"));
        return;
    }
    // Everything the worker needs is fixed here; it never reads the form.
    m_job = storage::PageExtractionJob();
    m_job.source = m_source;
    m_job.files = storage::ImportPageFilesFor(m_outputFolder, m_fileName);
    m_job.first = ui->sStartPage->value() - 1;
    m_job.end = ui->sEndPage->value();
    m_job.vertical = ui->radio_ver->isChecked();
    m_result = storage::PageExtractionResult();
    m_running = true;
    m_watcher.setFuture(QtConcurrent::run([this, job = m_job] { ExtractPagesWorker(job); }));
    ui->btnOK->setEnabled(false);
}

void ImportDlg::ExtractPagesWorker(storage::PageExtractionJob job)
{
    const auto extract = storage::SharedPdfEditor().ExtractPage;
    storage::PageExtractionEvents events;
    events.progress = [this](int percent) { emit SetProgress(percent); };
    events.page = [this](const QString& path, bool last, bool vertical) { emit CallAddDocuments(path, last, vertical); };
    events.endedEarly = [this] { emit CallAddFinished(); };
    m_result = storage::ExtractPages(
        job,
        [extract](const QString& source, int page, const QString& target) {
            return extract ? extract(source, page, target) : -1;
        },
        m_running, events);
}

void ImportDlg::ExtractionFinished()
{
    ReportFailures();
    OnClickedBtnCancel();
}

void ImportDlg::ReportFailures()
{
    if (m_result.failedPages.isEmpty())
        return;
    if (m_result.extracted == 0) {
        // Nothing reached the board: it is as it was.
        ui::CriticalBox(this, QString(),
                        QStringLiteral("cannot import %1: no page could be extracted from it").arg(m_fileName));
        return;
    }
    QStringList pages;
    for (int index : qAsConst(m_result.failedPages))
        pages << QString::number(index + 1);
    ui::WarningBox(this, QString(),
                   QStringLiteral("%1: page(s) %2 could not be imported").arg(m_fileName, pages.join(QStringLiteral(", "))));
}

void ImportDlg::OnClickedBtnCancel()
{
    close();
}

void ImportDlg::SetChangedStartPage()
{
    if (ui->sStartPage->value() <= ui->sEndPage->value())
        ui->sEndPage->setMinimum(ui->sStartPage->value());
    else
        ui->sStartPage->setValue(ui->sEndPage->value());
}

void ImportDlg::SetChangedEndPage()
{
    if (ui->sEndPage->value() >= ui->sStartPage->value())
        ui->sStartPage->setMaximum(ui->sEndPage->value());
    else
        ui->sEndPage->setValue(ui->sStartPage->value());
}

void ImportDlg::SetProgressV(int v)
{
    ui->progressBar->setValue(v);
}

void ImportDlg::closeEvent(QCloseEvent* event)
{
    m_running = false;
    ui->btnOK->setEnabled(true);
    QDialog::closeEvent(event);
}

void ImportDlg::hideEvent(QHideEvent* event)
{
    m_running = false;
    ui->btnOK->setEnabled(true);
    QDialog::hideEvent(event);
}
