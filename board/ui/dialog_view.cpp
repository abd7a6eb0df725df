// The page view: zoom, fitting, painting the view and the board's event filter.
#include <QDebug>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

#include "app/ui/dialog.h"
#include "app/ui/message_box.h"
#include "board/note_pages.h"
#include "board/page_render.h"
#include "storage/pdf_libraries.h"
#include "app/ui/dialog_panels.h"
#include "ui_dialog.h"

FittedSize Dialog::FitSizeCentered(int boxW, int boxH, int contentW, int contentH) const
{
    return ::FitSizeCentered(boxW, boxH, contentW, contentH);
}

FittedSize Dialog::FitSizeToView(int w, int h) const
{
    return ::FitSizeCentered(width(), height(), w, h);
}

namespace {

void SetBar(QScrollBar* bar, int pageStep, int maximum)
{
    bar->setPageStep(std::max(1, pageStep));
    bar->setRange(0, std::max(0, maximum));
    bar->setValue(0);
    bar->show();
}

}  // namespace

// The scroll bars move the view over a page larger than the window; the
// board's filter watches them for the release that peers and the recording
// are told of.
void Dialog::ConnectPageView()
{
    if (m_pageViewConnected)
        return;
    m_pageViewConnected = true;
    for (QScrollBar* bar : {ui->horizontalScrollBar, ui->verticalScrollBar})
        bar->installEventFilter(this);
}

// Following a scroll bar cuts the visible part out of the page layer; the
// page's objects are not painted again.
void Dialog::ShowVisiblePart(int x, int y)
{
    if (m_settingView || m_canvasImage.isNull())
        return;
    ShowPageLayer();
    if (m_navi)
        m_navi->SetBoardImage(x, y, m_canvasImage);
    if (m_board.slot[0].event_kind == ekSelect)
        CalcSelectionRect();
}

void Dialog::ChangeZoomMaphor(int x) { ShowVisiblePart(x, VerticalScrollValue()); }
void Dialog::ChangeZoomMapver(int y) { ShowVisiblePart(HorizontalScrollValue(), y); }

void Dialog::ChangeScrollBar(int x, int y)
{
    ui->verticalScrollBar->setValue(y);
    ui->horizontalScrollBar->setValue(x);
}

void Dialog::ChangeScrollBar_release()
{
    Coll_Send_HeightScrollBar(0, QStringLiteral("NULL"));
    Coll_Send_WidthScrollBar(0, QStringLiteral("NULL"));
    if (m_bRecording)
        AppendViewRecord(ekScroll);
}

void Dialog::ZoomByScale(float value)
{
    ConnectPageView();
    const QScopedValueRollback<bool> settingView(m_settingView, true);
    SetFreePenMode(false);
    ClearSelection();
    if (m_zoom == 1.0)
        m_zoomBaseImage = m_backgroundImage;
    m_zoom = NextZoom(m_zoom, value);

    QScrollBar* hbar = ui->horizontalScrollBar;
    QScrollBar* vbar = ui->verticalScrollBar;
    const double zoom = m_zoom;
    const QImage& base = m_zoomBaseImage;

    if (m_curr_note.type == kPicturePage) {
        m_backgroundImage = base.scaled(int(base.width() * zoom), int(base.height() * zoom), Qt::KeepAspectRatio,
                                        Qt::FastTransformation);
        const double zoomedW = base.width() * zoom;
        const double zoomedH = base.height() * zoom;
        SetBar(vbar, int(zoomedH), ScrollRange(zoomedH, m_view_height));
        SetBar(hbar, int(zoomedW), ScrollRange(zoomedW, m_view_width));
        qDebug().noquote() << "debug ---------- (m_curr_note.type == 2) ----------";
        if (zoom <= 1.0) {
            hbar->hide();
            vbar->hide();
        } else {
            if (zoomedW <= m_paintRect.width())
                hbar->hide();
            else
                hbar->setValue(CentredScroll(zoomedW, m_paintRect.width()));
            if (zoomedH <= m_paintRect.height())
                vbar->hide();
            else
                vbar->setValue(CentredScroll(zoomedH, m_paintRect.height()));
        }
    } else {
        const bool board = m_curr_note.path.contains(QLatin1String(kWhiteBoardName))
                           || m_curr_note.path.contains(QLatin1String(kBlackBoardName));
        storage::PdfRendererLibrary& library = m_pdfRenderer;
        const bool document = !board && m_pdfRendererBound && library.bound && m_pdfPage > 0;
        const double pageW = document ? library.GetPageWidth(m_pdfPage) : 0.0;
        const double pageH = document ? library.GetPageHeight(m_pdfPage) : 0.0;
        const bool rendered = document && storage::IsReadablePageSize(pageW, pageH);
        const QSize zoomedView(int(m_view_width * zoom), int(m_view_height * zoom));

        if (rendered && m_curr_note.page_option) {
            const double fit = m_view_width / pageW;
            qDebug().noquote() << "ZoomByScale()" << "m_curr_note.page_option == true";
            QImage page(QSize(int(fit * zoom * pageW), int(fit * zoom * pageH)), QImage::Format_ARGB32_Premultiplied);
            page.fill(Qt::white);
            library.RenderPage(m_pdfPage, 0.0, 0.0, fit * zoom, &page);
            m_backgroundImage = page;
            SetBar(vbar, int(pageH * fit), ScrollRange(pageH * zoom * fit, m_view_height));
            SetBar(hbar, int(pageW * fit), ScrollRange(pageW * zoom * fit, int(fit * pageW)));
        } else {
            if (rendered) {
                const double fit = FitDocumentPage(pageW, pageH, QSize(m_view_width, m_view_height)).scale;
                QImage page(QSize(int(fit * zoom * pageW), int(fit * zoom * pageH)),
                            QImage::Format_ARGB32_Premultiplied);
                page.fill(Qt::white);
                library.RenderPage(m_pdfPage, 0.0, 0.0, fit * zoom, &page);
                QImage whole(zoomedView, QImage::Format_ARGB32_Premultiplied);
                whole.fill(Qt::white);
                const FittedSize place =
                    FitSizeCentered(zoomedView.width(), zoomedView.height(), page.width(), page.height());
                QPainter painter(&whole);
                painter.drawImage(place.offset, page);
                painter.end();
                m_backgroundImage = whole;
            } else {
                // Boards, and pages whose source is not open in the renderer,
                // are enlarged from the unzoomed page.
                m_backgroundImage = base.scaled(zoomedView, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            }
            SetBar(vbar, m_view_height, ScrollRange(m_view_height * zoom, m_view_height));
            SetBar(hbar, m_view_width, ScrollRange(m_view_width * zoom, m_view_width));
        }
        if (zoom > 1.0) {
            hbar->setValue(CentredScroll(m_view_width * zoom, m_view_width));
            vbar->setValue(CentredScroll(m_view_height * zoom, m_view_height));
        } else {
            hbar->setValue(0);
            vbar->setValue(0);
            hbar->hide();
            vbar->hide();
        }
    }
    // The objects are painted at the new zoom and the view cut at the new
    // scroll position.
    RedrawPageObjects(true);
    ShowPageNavigator();

    if (m_bRecording && m_recordZoom)
        AppendViewRecord(ekZoom);
    m_recordZoom = false;
}

// A zoom or scroll entered into the recording as a record of slot 0.
void Dialog::AppendViewRecord(int kind)
{
    ::AppendViewRecord(m_board.slot[0], kind, RecordingElapsedMs(), m_zoom, VerticalScrollValue(),
                       HorizontalScrollValue(), m_curr_note.create_data);
}

void Dialog::ZoomToRect(int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    const float factor = ZoomFactorForRect(m_viewImage.width(), m_view_width, x1, x2);
    if (factor >= kMaxZoomFactor || !ScaleImageToView(factor)) {
        ShowPageLayer();
        const int index = 126 - 100;
        const QString text = index < m_lang.messages.size() ? m_lang.messages.at(index) : QString();
        ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("Zoom"), text, QMessageBox::Yes);
        return;
    }
    ZoomByScale(factor);
    {
        const QScopedValueRollback<bool> settingView(m_settingView, true);
        ui->verticalScrollBar->setValue(int(top * factor));
        ui->horizontalScrollBar->setValue(int(left * factor));
    }
    // The zoom painted the layer; the rectangle only moves the view over it.
    ShowPageLayer();
    ShowPageNavigator();
}

void Dialog::UpdateZoomText(int x1, int y1, int x2, int y2)
{
    ZoomToRect(x1, y1, x2, y2);
}

bool Dialog::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_I)
            m_heldKeys.insert(key);
        break;
    }
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (m_heldKeys.contains(Qt::Key_Control) && m_heldKeys.contains(Qt::Key_Shift)
            && m_heldKeys.contains(Qt::Key_I)) {
            m_heldKeys.clear();
            MasterDlg_Show();
        } else if (key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_I) {
            m_heldKeys.clear();
        }
        break;
    }
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        if (m_panGestureActive) {
            if (m_rubberBand)
                m_rubberBand->hide();
            event->ignore();
            return true;
        }
        event->accept();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == ui->mainbar)
            return true;
        const bool synthesized = mouse->source() != Qt::MouseEventNotSynthesized;
        if (synthesized && m_panGestureActive) {
            if (m_rubberBand)
                m_rubberBand->hide();
            return true;
        }
        const bool onScrollBar = watched == ui->horizontalScrollBar || watched == ui->verticalScrollBar;
        if (synthesized && mouse->button() != Qt::RightButton && !onScrollBar && m_select_id_str.isEmpty()) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && onScrollBar) {
            if (watched == ui->verticalScrollBar)
                Coll_Send_HeightScrollBar(0, QStringLiteral("NULL"));
            else
                Coll_Send_WidthScrollBar(0, QStringLiteral("NULL"));
            if (m_bRecording)
                AppendViewRecord(ekScroll);
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
