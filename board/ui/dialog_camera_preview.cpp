#include "app/ui/dialog.h"
#include "board/camera_preview_place.h"
#include "tools/capture_functions.h"

#include <QApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kPreviewLookups = 10;
constexpr int kPreviewLookupIntervalMs = 200;
constexpr int kPreviewRaiseDelayMs = 100;
// The whiteboard's top-level window, put back in place after the preview.
const char* const kBoardWindowTitle = "Dialog6601";

QWidget* TopLevelWindowTitled(const QString& title)
{
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isWindow() && window->isVisible() && window->windowTitle() == title)
            return window;
    }
    return nullptr;
}

// The widget that a click at a screen point reaches: the topmost there, or, when
// no screen holds the point as the platform sees it, the one in our own window.
QWidget* WidgetUnder(QWidget* ownWindow, const QPoint& point)
{
    if (QWidget* widget = QApplication::widgetAt(point))
        return widget;
    const QPoint local = ownWindow->mapFromGlobal(point);
    if (!ownWindow->rect().contains(local))
        return nullptr;
    QWidget* child = ownWindow->childAt(local);
    return child ? child : ownWindow;
}

}  // namespace

// The board's screen: its left edge and the size the shell set, or the
// primary screen's until then.
QRect Dialog::PreviewScreen() const
{
    QScreen* primary = QGuiApplication::primaryScreen();
    const QRect geometry = primary ? primary->geometry() : QRect();
    return QRect(geometry.x(), 0, m_canvasWidth > 0 ? m_canvasWidth : geometry.width(),
                 m_canvasHeight > 0 ? m_canvasHeight : geometry.height());
}

// The window found before is kept while it lives and is shown; one the
// library closed or deleted is looked up again by its title.
QWidget* Dialog::FindPreviewWindow()
{
    if (!m_previewWindow || !m_previewWindow->isVisible())
        m_previewWindow = TopLevelWindowTitled(QString::fromLatin1(kCameraPreviewTitle));
    return m_previewWindow;
}

// Places the preview in the corner of Record/ViewPos, or off the screen when
// `show` is false. The library may open its window a moment after the
// recording starts, so it is looked for again on a timer while the board keeps
// painting; a later call replaces a search still waiting.
void Dialog::UpdatePreview(bool show)
{
    const QRect screen = PreviewScreen();
    m_previewRect = show ? board::CameraPreviewRect(m_config.ViewPos, m_toolbarPosition, screen, m_interfaceScale)
                         : board::HiddenCameraPreviewRect();
    if (!m_previewTimer) {
        m_previewTimer = new QTimer(this);
        m_previewTimer->setSingleShot(true);
        connect(m_previewTimer, &QTimer::timeout, this, [this] {
            if (m_previewRaisePending)
                RaisePreview();
            else
                LookForPreview();
        });
    }
    m_previewTimer->stop();
    m_previewRaisePending = false;
    m_previewLookups = 0;
    LookForPreview();
}

void Dialog::LookForPreview()
{
    QWidget* preview = FindPreviewWindow();
    if (!preview) {
        if (m_previewLookups >= kPreviewLookups) {
            qDebug().noquote() << "cam view not load";
            return;
        }
        ++m_previewLookups;
        m_previewTimer->start(kPreviewLookupIntervalMs);
        return;
    }
    preview->setGeometry(m_previewRect);
    m_previewRaisePending = true;
    m_previewTimer->start(kPreviewRaiseDelayMs);
}

// Keeps the preview on top and inert (no buttons, no input), puts the
// whiteboard's window back over its screen and hands the focus back to the
// board with a click on the main bar.
void Dialog::RaisePreview()
{
    m_previewRaisePending = false;
    QWidget* preview = m_previewWindow;
    if (!preview) {
        qDebug().noquote() << "cam view not load";
        return;
    }
    Qt::WindowFlags flags = preview->windowFlags() | Qt::WindowStaysOnTopHint;
    flags &= ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint);
    if (flags != preview->windowFlags())
        preview->setWindowFlags(flags);  // hides the window; shown again below
    preview->setGeometry(m_previewRect);
    preview->setEnabled(false);
    preview->show();
    preview->raise();

    const QRect screen = PreviewScreen();
    if (QWidget* boardWindow = TopLevelWindowTitled(QString::fromLatin1(kBoardWindowTitle)))
        boardWindow->setGeometry(screen.x(), 0, screen.width(), screen.height());
    ClickMainBar();
}

void Dialog::ClickMainBar()
{
    QPoint point;
    if (!board::MainBarClickPoint(m_toolbarPosition, PreviewScreen(), &point))
        return;
    const QPoint cursor = QCursor::pos();
    QCursor::setPos(point);
    QPointer<QWidget> target = WidgetUnder(window(), point);
    if (!target) {
        QCursor::setPos(cursor);
        return;
    }
    QMouseEvent press(QEvent::MouseButtonPress, target->mapFromGlobal(point), point, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QTimer::singleShot(1, this, [target, point, cursor] {
        if (target) {
            QMouseEvent release(QEvent::MouseButtonRelease, target->mapFromGlobal(point), point, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &release);
        }
        QCursor::setPos(cursor);
    });
}
