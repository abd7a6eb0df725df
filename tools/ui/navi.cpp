#include "tools/ui/navi.h"

#include "tools/screen_covers.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

navi::navi(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("navi"));
    setWindowTitle(QStringLiteral("Form"));
    resize(tools::kNaviPanelWidth, tools::kNaviPanelHeight);
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    setFont(f);
    setAutoFillBackground(true);
    m_view = new QLabel(this);
    m_view->setObjectName(QStringLiteral("label"));
    m_view->setGeometry(25, 11, 160, 120);
    m_view->setScaledContents(true);
    m_view->setAlignment(Qt::AlignCenter);
    m_view->setText(QStringLiteral("Image"));
}

navi::~navi() = default;

void navi::InitDialog(int visibleWidth, int visibleHeight)
{
    setCursor(Qt::SizeAllCursor);
    m_view->setCursor(Qt::PointingHandCursor);
    QPalette p = palette();
    p.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::gray));
    setPalette(p);
    m_visibleWidth = visibleWidth;
    m_visibleHeight = visibleHeight;
}

void navi::SetNaviGeometry(int boardWidth, int boardHeight, float zoom)
{
    m_zoom = zoom;
    const QSize viewSize = tools::NaviViewSize(boardWidth, boardHeight);
    if (!viewSize.isValid())
        return;
    m_view->setGeometry(tools::NaviViewRect(size(), viewSize));
}

// Scaling the page is the costly part and runs once per new page image; a
// scroll step only draws the frame on a copy of the small picture.
void navi::TakeBoard(const QImage& board)
{
    const QSize viewSize = m_view->size();
    if (board.cacheKey() == m_boardKey && board.size() == m_boardSize && m_thumbnail.size() == viewSize)
        return;
    m_boardKey = board.cacheKey();
    m_boardSize = board.size();
    m_thumbnail = board.scaled(viewSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // A press redraws the picture in the page's own proportion.
    m_pressThumbnail = board.scaled(viewSize, Qt::KeepAspectRatio, Qt::FastTransformation);
}

void navi::SetBoardImage(int hPos, int vPos, QImage board)
{
    if (board.isNull())
        return;
    TakeBoard(board);
    const tools::NaviMarker marker = tools::NaviMarkerFor(m_view->size(), QSize(m_visibleWidth, m_visibleHeight),
                                                          m_zoom, m_boardSize, hPos, vPos);
    m_markerWidth = marker.size.width();
    m_markerHeight = marker.size.height();
    ShowFrame(m_thumbnail, marker.drawn);
}

void navi::ShowFrame(const QImage& thumbnail, QPoint at)
{
    if (thumbnail.isNull())
        return;
    QImage framed = thumbnail.copy();
    QPainter painter(&framed);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::red));
    painter.drawRect(at.x(), at.y(), m_markerWidth, m_markerHeight);
    painter.end();
    m_view->setPixmap(QPixmap::fromImage(framed));
}

void navi::MarkerStep(QPoint event)
{
    const tools::NaviPress press =
        tools::NaviPressAt(event, size(), m_view->size(), markerSize(), m_boardSize);
    ShowFrame(m_pressThumbnail, press.drawn);
    emit CallScrollBarPositionChange(press.scroll.x(), press.scroll.y());
}

void navi::mousePressEvent(QMouseEvent* event)
{
    if (m_view->geometry().contains(event->pos())) {
        m_viewDragging = true;
        MarkerStep(event->pos());
        return;
    }
    m_viewDragging = false;
    m_pressPosition = m_panelPosition = event->pos();
}

void navi::mouseMoveEvent(QMouseEvent* event)
{
    if (m_viewDragging) {
        MarkerStep(event->pos());
        return;
    }
    // The panel follows the pointer in its parent's coordinates.
    const QPoint pointer = parentWidget() ? parentWidget()->mapFromGlobal(event->globalPos()) : event->globalPos();
    m_panelPosition = pointer - m_pressPosition;
    move(m_panelPosition);
}

void navi::mouseReleaseEvent(QMouseEvent*)
{
    emit CallScrollBarPositionChange_Release();
}

void navi::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
}
