#include "app/ui/dialog.h"

#include "app/ui/message_box.h"
#include "board/note_pages.h"
#include "storage/ui/import_dlg.h"

#include <QDebug>
#include <QFileInfo>

namespace {

// Lends the window's renderer fields to the core helpers as one record and
// writes them back when done.
class RendererStateLoan
{
public:
    explicit RendererStateLoan(Dialog& dialog)
        : state{dialog.m_pdfDocument, dialog.m_pdfPage, dialog.m_pdfPageCount, dialog.m_pdfCurrentPage}
        , m_dialog(dialog)
    {
    }
    ~RendererStateLoan()
    {
        m_dialog.m_pdfDocument = state.document;
        m_dialog.m_pdfPage = state.page;
        m_dialog.m_pdfPageCount = state.pageCount;
        m_dialog.m_pdfCurrentPage = state.currentPage;
    }
    RendererStateLoan(const RendererStateLoan&) = delete;
    RendererStateLoan& operator=(const RendererStateLoan&) = delete;

    storage::PdfRendererState state;

private:
    Dialog& m_dialog;
};

}  // namespace

void Dialog::LoadPdfRenderer()
{
    switch (storage::BindPdfRenderer(m_pdfRenderer)) {
    case storage::PdfBinding::Bound:
        m_pdfRendererBound = true;
        return;
    case storage::PdfBinding::NotLoaded:
        m_pdfRendererBound = false;
        ui::CriticalBox(this, QString(), QStringLiteral("cannot load render module"));
        return;
    case storage::PdfBinding::MissingFunction:
        m_pdfRendererBound = false;
        ui::CriticalBox(this, QString(), QStringLiteral("cannot find renderer API"));
        return;
    }
}

void Dialog::LoadPdfExporter()
{
    switch (storage::BindPdfExporter(m_pdfExporter)) {
    case storage::PdfBinding::Bound:
        m_pdfExporterBound = true;
        return;
    case storage::PdfBinding::NotLoaded:
        m_pdfExporterBound = false;
        ui::CriticalBox(this, QString(), QStringLiteral("cannot load exporter module"));
        return;
    case storage::PdfBinding::MissingFunction:
        m_pdfExporterBound = false;
        ui::CriticalBox(this, QString(), QStringLiteral("cannot find exporter API"));
        return;
    }
}

void Dialog::ClosePdfRenderer()
{
    if (!m_pdfRendererBound)
        return;
    RendererStateLoan loan(*this);
    storage::ShutdownRenderer(m_pdfRenderer, loan.state);
}

void Dialog::OpenDocuments()
{
    // A cancelled dialog gives an empty path, which becomes the start path.
    m_documentOpenPath = ui::GetOpenFileName(this, m_lang.hint.value(904 - 900), m_documentOpenPath,
                                             tr("Acrobat file(*.pdf)"));
    OpenChosenDocument(m_documentOpenPath);
}

void Dialog::OpenChosenDocument(const QString& path)
{
    switch (storage::ClassifyChosenDocument(path)) {
    case storage::ChosenDocumentKind::Other:
        return;
    case storage::ChosenDocumentKind::Image:
        CreateNotePage(kPicturePage, QFileInfo(path).fileName(), path, false);
        return;
    case storage::ChosenDocumentKind::Pdf:
        break;
    }

    // The first imported page goes after every page there is.
    m_import_first_idx = m_note_list.size();
    if (m_importDlg) {
        m_importDlg->SetCaptions(&m_lang.common, &m_lang.import);
        m_importDlg->SetDocType(QStringLiteral("PDF"));
        m_importDlg->SetPaths(path, m_workFolder);
    }
    if (!m_pdfRendererBound || path.isNull())
        return;
    RendererStateLoan loan(*this);
    const int pageCount = storage::OpenRendererDocument(m_pdfRenderer, loan.state, path);
    if (pageCount > 0) {
        if (m_importDlg) {
            m_importDlg->SetPageCount(pageCount);
            m_importDlg->show();
        }
        return;
    }
    // The user chose this file: say why nothing follows.
    if (pageCount == 0) {
        qDebug() << "pdf page error";
        ui::WarningBox(this, QString(), m_lang.import.value(1408 - 1400).arg(path));
    } else {
        ui::WarningBox(this, QString(), m_lang.import.value(1407 - 1400).arg(path));
    }
}
