// Document import on the main window's side: the help and import forms, and
// the note pages made from the page files the import hands over.
#include "app/ui/dialog.h"

#include "board/note_pages.h"
#include "storage/document_import.h"
#include "storage/ui/import_dlg.h"
#include "storage/ui/show_import_msg.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QPainter>

void Dialog::ShowImportMsgOrOpen()
{
    if (!m_config.ShowImportMsg || !m_showImportMsg) {
        OpenDocuments();
        return;
    }
    m_showImportMsg->ShowHelpText(&m_lang.common, &m_lang.showImportMsg);
    m_showImportMsg->setModal(true);
    m_showImportMsg->show();
}

void Dialog::SetDocumentOpenOption(bool show)
{
    m_config.ShowImportMsg = show;
}

void Dialog::AddDocuments(QString path, bool show, bool page_option)
{
    NoteInfo note;
    note.name = QFileInfo(path).fileName();
    note.create_data = MakeTimeStampId();
    note.path = path;
    note.imagePath = PageImagePath(m_workFolder, note.create_data);
    note.type = kDocumentPage;
    note.page_option = page_option;
    if (!m_pdfRendererBound || !m_pdfRenderer.bound || path.isNull())
        return;
    if (m_view_width <= 0 || m_view_height <= 0)
        UpdateViewSize();
    const QSize view(m_view_width, m_view_height);

    storage::PdfRendererState state{m_pdfDocument, m_pdfPage, m_pdfPageCount, m_pdfCurrentPage};
    double widPage = 0.0;
    double hgtPage = 0.0;
    const bool opened = storage::OpenRendererFirstPage(m_pdfRenderer, state, path, &widPage, &hgtPage);
    m_pdfDocument = state.document;
    m_pdfPage = state.page;
    m_pdfPageCount = state.pageCount;
    m_pdfCurrentPage = state.currentPage;

    // The page image file holds the page as it will be shown; a file that
    // does not open leaves a white page of the page image's size.
    QImage content(m_backgroundImage.isNull() ? view : m_backgroundImage.size(), QImage::Format_RGB32);
    content.fill(Qt::white);
    if (opened) {
        note.width = int(widPage);
        note.height = int(hgtPage);
        // A local scale: the page shown now keeps its own.
        const double scale =
            storage::ImportRenderScale(widPage, hgtPage, view, m_collUserLevel, m_hostBoardSize, page_option);
        QImage rendered(int(scale * widPage), int(scale * hgtPage), QImage::Format_RGB32);
        if (!rendered.isNull()) {
            rendered.fill(Qt::white);
            m_pdfRenderer.RenderPage(m_pdfPage, 0.0, 0.0, scale, &rendered);
            if (page_option) {
                content = rendered;
            } else {
                const bool follower = m_collUserLevel == 1 || m_collUserLevel == 2;
                const QSize fitted = follower ? HostToViewSize(rendered.size(), m_hostBoardSize, view) : rendered.size();
                const FittedSize fit = FitSizeToView(fitted.width(), fitted.height());
                QPainter painter(&content);
                painter.drawImage(fit.offset, rendered.scaled(fit.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            }
        }
    } else {
        qDebug().noquote() << QStringLiteral("exe : document page not opened: %1").arg(path);
    }
    QDir().mkpath(QFileInfo(note.imagePath).absolutePath());
    if (!content.save(note.imagePath))
        qDebug().noquote() << QStringLiteral("exe : page image not written: %1").arg(note.imagePath);

    m_note_list.append(note);
    m_note_cnt = m_note_list.size();
    m_boardModified = true;
    if (show) {
        SaveCurrentNoteImage(true);
        m_note_idx = m_import_first_idx;
        NoteChangeWorker();
    } else {
        // The page shown stays current until the import shows its first
        // page; only the count grows.
        SetNoteNaviEnable();
        UpdatePageLabel(false, 0, 1);
    }
    if (m_collUserLevel == 3) {
        Coll_Send_NoteData(0, QString(), 0);
        Coll_Send_Doc(0, QString(), 0, QString(), QString());
        Coll_Send_NoteData(0, QString(), 1);
        Coll_Send_NoteIdx(0, QString());
    }
}

void Dialog::AddFinished()
{
    // An import that added nothing leaves the board as it was.
    if (m_import_first_idx < 0 || m_import_first_idx >= m_note_list.size())
        return;
    SaveCurrentNoteImage(true);
    m_note_idx = m_import_first_idx;
    NoteChangeWorker();
}
