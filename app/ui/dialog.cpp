#include "app/ui/dialog.h"

#include "app/ui/outside_libraries.h"
#include "app/utilities.h"
#include "platform/library.h"
#include "platform/usb.h"
#include "ui_dialog.h"

#include <QAction>
#include <QDebug>
#include <QMovie>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>


namespace {

Dialog* g_dialog = nullptr;

}  // namespace

Dialog* Dialog::Instance()
{
    return g_dialog;
}

// Builds the window object in one pass: form, libraries, settings, language
// and input set-up. Panels, toolbar, menus and every signal connection come
// with the second-stage initialisation once the window is shown.
Dialog::Dialog(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Dialog)
{
    // The settings defaults place the floating panel in the middle of the
    // canvas; until the second stage measures the screens, the primary
    // screen stands for the canvas.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        m_canvasWidth = screen->geometry().width();
        m_canvasHeight = screen->geometry().height();
    }

    ui->setupUi(this);

    CollaborationLibrary().setFileName(platform::OutsideLibraryPath(QStringLiteral("Konnexa.dll")));
    CaptureLibrary().setFileName(platform::OutsideLibraryPath(QStringLiteral("Vidorra.dll")));

    LoadPdfRenderer();
    if (m_pdfRendererBound)
        m_pdfRenderer.InitLibrary();
    m_pdfDocument = 0;
    m_pdfPage = 0;
    LoadPdfExporter();

    LoadConfig(false);
    LoadLanguage();
    // What the settings hold until the second stage places the panel.
    m_floatingPosition = QPoint(m_config.floatingX, m_config.floatingY);

    LoadCaptureLibrary();
    g_dialog = this;
    m_autoUpdateOff = false;
    m_nextTimeCheck = false;
    LoadUpdateBridge();

    // A recorder left running by an earlier run would hold the capture
    // devices; only recorders of this copy are ended, and a recording that
    // run could not stop is kept.
    EndOwnRecorders();
    RecoverLeftRecordings();

    SetUpInputHandling();

    m_usbLibraryReady = platform::UsbInit();
    m_usbDevice = nullptr;
    m_usbKeepAliveTimer = nullptr;

    setAcceptDrops(true);
    m_dropPositionPending = false;
}

void Dialog::ForgetInstance(Dialog* dialog)
{
    if (g_dialog == dialog)
        g_dialog = nullptr;
}

void Dialog::SetUpInputHandling()
{
    m_panGestureActive = false;
    m_pinchGestureActive = false;
    m_tabletInProximity = false;
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(ui->mainbar)}) {
        widget->setAttribute(Qt::WA_AcceptTouchEvents);
        widget->setAttribute(Qt::WA_StaticContents);
        widget->installEventFilter(this);
    }
    grabGesture(Qt::PanGesture, Qt::GestureFlags());
    grabGesture(Qt::PinchGesture, Qt::GestureFlags());
    m_tabletPenInUse = false;
    setAttribute(Qt::WA_TabletTracking);
    ui->mainbar->setAttribute(Qt::WA_TabletTracking);
}

void Dialog::EnableRoleActions(bool enabled)
{
    for (QAction* action : qAsConst(m_roleActions)) {
        if (action)
            action->setEnabled(enabled);
    }
}
