#pragma once

#include "storage/document_import.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QString>
#include <QStringList>

#include <atomic>

namespace Ui {
class ImportDlg;
}

// The document import form: the user picks a range of pages and how they are
// laid out, and a worker on a pool thread splits those pages out of the PDF
// into one single-page file each with the page editor library, handing every
// file to the main window as it is ready. Closing the form stops the worker
// before its next page.
class ImportDlg : public QDialog
{
    Q_OBJECT

public:
    explicit ImportDlg(QWidget* parent = nullptr);
    ~ImportDlg() override;

    void InitImportDlg();
    // Captions from the main window's "Common" and "Import" lists.
    void SetCaptions(const QStringList* common, const QStringList* import);
    void SetDocType(QString type);
    void SetPaths(QString source, QString outputFolder);
    void SetPageCount(int count);

    // The form's widgets, for the main window and the tests.
    Ui::ImportDlg* ui = nullptr;

    // How the last run ended; read once its worker has finished.
    storage::PageExtractionResult LastResult() const { return m_result; }
    bool IsExtracting() const { return m_watcher.isRunning(); }

signals:
    void CallAddDocuments(QString path, bool last, bool vertical);
    void CallAddFinished();
    void SetProgress(int percent);

public slots:
    void OnClickedBtnOK();
    void OnClickedBtnCancel();
    void SetChangedStartPage();
    void SetChangedEndPage();
    void SetProgressV(int v);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape hides the form without a close event; the run stops the same.
    void hideEvent(QHideEvent* event) override;

private:
    void ExtractPagesWorker(storage::PageExtractionJob job);
    void ExtractionFinished();
    void ReportFailures();

    const QStringList* m_common = nullptr;
    const QStringList* m_import = nullptr;
    QString m_source;
    QString m_outputFolder;
    QString m_docType;
    QString m_fileName;
    int m_pageCount = 0;
    int m_pageCountCopy = 0;
    std::atomic_bool m_running{false};
    QFutureWatcher<void> m_watcher;
    storage::PageExtractionJob m_job;
    storage::PageExtractionResult m_result;
};
