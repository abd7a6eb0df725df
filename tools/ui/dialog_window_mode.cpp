// The way back from window mode and the two screen captures made from it.
// All three end with the board shown again.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "board/event_kind.h"
#include "board/note_pages.h"
#include "board/time_stamps.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

void Log(const QString& text)
{
    qDebug().noquote() << text;
}

}  // namespace

// Without a system tray the tray icon would never show, and window mode would
// leave the user without a way back; a small window of the same three
// commands stands in for it there.
void Dialog::ShowWindowModeReturn(bool show)
{
    const bool trayAvailable = m_trayIcon && QSystemTrayIcon::isSystemTrayAvailable();
    if (m_trayIcon)
        m_trayIcon->setVisible(show && trayAvailable);
    if (!show || trayAvailable) {
        if (m_windowModeWindow)
            m_windowModeWindow->hide();
        return;
    }
    if (!m_windowModeWindow) {
        m_windowModeWindow = new QWidget(this, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        m_windowModeWindow->setWindowTitle(QStringLiteral("WindowMode"));
        m_windowModeWindow->setFixedSize(144, 48);
        auto* row = new QHBoxLayout(m_windowModeWindow);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        for (QAction* action : {m_panserAction, m_allCaptureAction, m_rectCaptureAction}) {
            auto* button = new QToolButton(m_windowModeWindow);
            button->setFixedSize(48, 48);
            button->setIconSize(QSize(40, 40));
            button->setAutoRaise(true);
            if (action)
                button->setDefaultAction(action);
            row->addWidget(button);
        }
    }
    const QScreen* screen = BoardScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, m_canvasWidth, m_canvasHeight);
    m_windowModeWindow->move(area.right() + 1 - m_windowModeWindow->width(), area.top());
    m_windowModeWindow->show();
    m_windowModeWindow->raise();
}

QScreen* Dialog::BoardScreen() const
{
    const QWindow* handle = window()->windowHandle();
    if (handle && handle->screen())
        return handle->screen();
    return QGuiApplication::primaryScreen();
}

// Windows hidden just now are only gone from the screen once the window
// system has handled their unmapping, so the event loop keeps running.
void Dialog::LetScreenSettle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QPixmap Dialog::GrabDesktop(QString* error) const
{
    if (m_desktopGrabber)
        return m_desktopGrabber(error);
    if (m_bDualScreen) {
        QScreen* screen = QGuiApplication::screenAt(QPoint(0, 0));
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (!screen) {
            *error = QStringLiteral("no screen to capture");
            return QPixmap();
        }
        return screen->grabWindow(0, 0, 0, m_canvasWidth, m_canvasHeight);
    }
    QScreen* screen = BoardScreen();
    if (!screen) {
        *error = QStringLiteral("no screen to capture");
        return QPixmap();
    }
    return screen->grabWindow(0);
}

void Dialog::ShowBoardAgain(bool withLauncher)
{
    emit MainDlgDisplay(1);
    show();
    raise();
    if (withLauncher && m_toolbarPosition == 4 && m_floatingMain)
        m_floatingMain->show();
}

void Dialog::ShowHostUserList()
{
    if (m_collUserLevel != 3)
        return;
    ui->btn_show_userListDlg->show();
    if (m_collUserListDlg)
        m_collUserListDlg->show();
}

void Dialog::ShowWindowModeInstruments()
{
    QWidget* instruments[5] = {m_compass, m_protractor, m_ruler, m_blind, m_spot};
    for (int i = 0; i < 5; ++i) {
        if (m_windowModeInstruments[i] && instruments[i])
            instruments[i]->show();
    }
    if (m_windowModePreview) {
        UpdatePreview(true);
        m_windowModePreview = false;
    }
}

QString Dialog::NewCapturePath() const
{
    return QStringLiteral("%1%2.png").arg(m_workFolder, QStringLiteral("screen_") + ::MakeTimeStampId());
}

void Dialog::OptPanserMode()
{
    emit MainDlgDisplay(1);
    ShowWindowModeReturn(false);
    show();
    raise();
    ShowHostUserList();
    if (m_toolbarPosition == 4 && m_floatingMain)
        m_floatingMain->show();
    SetFreePenMode(false);
    if (m_usbDevice)
        StartUsbLink();
    else
        SendPenDriverMode(QStringLiteral("Panser"));
    ShowWindowModeInstruments();
}

void Dialog::OptAllCapture()
{
    ShowWindowModeReturn(false);
    LetScreenSettle(500);
    const QString path = NewCapturePath();
    QString error;
    const QPixmap shot = GrabDesktop(&error);
    // Even without a screen to capture the board comes back: nothing else
    // would be left to return with.
    ShowBoardAgain(true);
    if (!error.isEmpty()) {
        Log(QStringLiteral("exe : OptAllCapture : %1; no page made").arg(error));
    } else if (shot.isNull() || !shot.save(path, "PNG")) {
        Log(QStringLiteral("exe : OptAllCapture : the capture could not be saved to %1").arg(path));
    } else {
        CreateNotePage(kPicturePage, QFileInfo(path).fileName(), path, false);
    }
    SendPenDriverMode(QStringLiteral("Panser"));
    if (m_collUserLevel == 3) {
        ShowHostUserList();
        if (error.isEmpty()) {
            Coll_Send_NoteData(0, QString(), 0);
            Coll_Send_Doc(0, QString(), 0, QString(), QString());
            Coll_Send_NoteData(0, QString(), 1);
            Coll_Send_NoteIdx(0, QString());
        }
    }
    ShowWindowModeInstruments();
}

void Dialog::OptRectCapture()
{
    ShowWindowModeReturn(false);
    LetScreenSettle(500);
    const QString path = NewCapturePath();
    QString error;
    const QPixmap shot = GrabDesktop(&error);
    ShowBoardAgain(false);
    if (!error.isEmpty()) {
        Log(QStringLiteral("exe : OptRectCapture : %1").arg(error));
    } else if (shot.isNull() || !shot.save(path, "PNG")) {
        Log(QStringLiteral("exe : OptRectCapture : the capture could not be saved to %1").arg(path));
    } else {
        SaveCurrentNoteImage(false);
        SetInitImage(path, kPicturePage, false);
        ShowEmptyPage();
        m_backupImage = m_viewImage.copy();
        // The frozen screen belongs to whoever draws here: every own pointer,
        // or only the mouse of a peer.
        if (m_collUserLevel == 0 || m_collUserLevel == 3) {
            for (int i = 0; i < kPointerSlotCount - 1; ++i)
                m_board.slot[i].event_kind = ekImage;
        } else {
            m_board.slot[kPointerSlotCount - 1].event_kind = ekImage;
        }
        setCursor(m_cursorCross);
        update();
        ShowCaptureOverlays(false);
    }
    SendPenDriverMode(QStringLiteral("Panser"));
    Log(QStringLiteral("Test : OptRectCapture"));
}
