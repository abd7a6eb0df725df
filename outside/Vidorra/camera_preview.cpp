#include "outside/Vidorra/camera_preview.h"

#include "outside/Vidorra/capture_session.h"
#include "tools/capture_functions.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

// The size the whiteboard gives the preview when it places it.
constexpr int kPreviewWidth = 320;
constexpr int kPreviewHeight = 268;

}  // namespace

CameraPreview::CameraPreview(CaptureSession* session)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_session(session)
{
    setWindowTitle(QString::fromLatin1(kCameraPreviewTitle));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Until the whiteboard places it: the top right corner of the main screen.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
    setGeometry(screen.right() - kPreviewWidth - 20, screen.top() + 20, kPreviewWidth, kPreviewHeight);
    connect(&m_poll, &QTimer::timeout, this, [this] { takeNewestFrame(); });
    m_poll.start(50);
}

void CameraPreview::takeNewestFrame()
{
    quint64 serial = 0;
    QImage frame = m_session->latestFrame(&serial);
    if (serial == m_serial)
        return;
    m_serial = serial;
    m_frame = frame;
    update();
}

void CameraPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_frame.isNull())
        return;
    const QSize fitted = m_frame.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_frame);
}
