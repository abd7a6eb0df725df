// The page background: builds it for the page's kind and applies it to the
// board's images, scroll bars and navigator.
#include <QDebug>
#include <QScopedValueRollback>
#include <QScrollBar>

#include "app/ui/dialog.h"
#include "app/ui/message_box.h"
#include "board/page_background.h"
#include "storage/pdf_libraries.h"
#include "ui_dialog.h"

namespace {

void ApplyScroll(QScrollBar* bar, const ScrollSetup& setup)
{
    if (!setup.set)
        return;
    bar->setPageStep(setup.pageStep);
    bar->setRange(0, setup.maximum);
    bar->setValue(0);
    if (setup.show)
        bar->show();
    bar->setEnabled(setup.enabled);
}

}  // namespace

BackgroundRequest Dialog::PageBackgroundRequest(const QString& path, int type, bool alternative) const
{
    BackgroundRequest request;
    request.path = path;
    request.type = type;
    request.alternative = alternative;
    request.pageOption = m_curr_note.page_option;
    request.view = QSize(m_view_width, m_view_height);
    request.content = m_contentArea.isEmpty() ? QRect(0, 0, m_view_width, m_view_height) : m_contentArea;
    request.level = m_collUserLevel;
    request.hostBoard = m_hostBoardSize;
    request.boardColor = m_boardFillColor;
    // A refused picture is not read again for every board page.
    request.backgroundPicture = m_backgroundPicture.isNull() ? QString() : m_backgroundPicturePath;
    request.backgroundImage = m_backgroundPicture;
    request.currentImageSize = m_viewImage.isNull() ? request.view : m_viewImage.size();
    request.previous = alternative ? m_alternativeImage : m_backgroundImage;
    request.scale = c_scale;
    return request;
}

void Dialog::SetInitImage(QString path, int type, bool alternative)
{
    if (m_view_width <= 0 || m_view_height <= 0)
        UpdateViewSize();
    const QScopedValueRollback<bool> settingView(m_settingView, true);
    if (!alternative) {
        ui->horizontalScrollBar->setValue(0);
        ui->verticalScrollBar->setValue(0);
        ui->horizontalScrollBar->hide();
        ui->verticalScrollBar->hide();
        for (QWidget* navigator : m_pageNavigators)
            navigator->hide();
    }

    const BackgroundRequest request = PageBackgroundRequest(path, type, alternative);

    storage::PdfRendererLibrary& library = m_pdfRenderer;
    DocumentRenderer renderer;
    renderer.available = m_pdfRendererBound && library.bound;
    renderer.openFirstPage = [&](const QString& file, double* width, double* height) {
        storage::PdfRendererState state{m_pdfDocument, m_pdfPage, m_pdfPageCount, m_pdfCurrentPage};
        const bool opened = storage::OpenRendererFirstPage(library, state, file, width, height);
        m_pdfDocument = state.document;
        m_pdfPage = state.page;
        m_pdfPageCount = state.pageCount;
        m_pdfCurrentPage = state.currentPage;
        return opened;
    };
    renderer.renderPage = [&](double scale, QImage* target) {
        library.RenderPage(m_pdfPage, 0.0, 0.0, scale, target);
    };

    const BackgroundResult out = BuildPageBackground(request, renderer);
    for (const QString& line : out.debugLines)
        qDebug().noquote() << line;
    for (const QString& line : out.logLines)
        AddLogWindowLine(line);
    if (out.pictureLoadFailed) {
        qDebug().noquote() << QStringLiteral("exe : picture page not shown: %1").arg(out.pictureError);
        const QString prefix = path + QStringLiteral(": ");
        const QString why = out.pictureError.startsWith(prefix) ? out.pictureError.mid(prefix.size()) : out.pictureError;
        ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("Note image load fail"),
                           why.isEmpty() ? path : path + QLatin1Char('\n') + why);
    }
    if (!out.stored)
        return;

    c_scale = out.scale;
    if (out.sourceSizeKnown) {
        m_widPage = out.sourceSize.width();
        m_hgtPage = out.sourceSize.height();
    }
    if (out.pictureRectSet)
        m_pictureRect = out.pictureRect;
    ApplyScroll(ui->verticalScrollBar, out.vertical);
    ApplyScroll(ui->horizontalScrollBar, out.horizontal);
    if (alternative)
        m_alternativeImage = out.image;
    else
        m_backgroundImage = out.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
