#include "app/ui/dialog.h"
#include "app/ui/pen_driver_messages.h"

#include <QDebug>

void Dialog::Get_Target_hWnd(platform::WindowHandle window)
{
    m_penDriverWindow = window;
    qDebug().noquote() << QStringLiteral("Get_Target_hWnd : %1").arg(window, 0, 16);
}

void Dialog::GreetPenDriver(platform::WindowHandle driver, platform::WindowHandle ownWindow)
{
    // Posted, not waited for: a driver that hangs or greets back must not
    // hold the board.
    platform::PostWindowMessage(driver, kPenDriverGreeting, ownWindow, 1, kPenDriverAnswerLimitMs);
    m_greetedPenDriver = driver;
    m_greetedPenDriverClock.start();
}

void Dialog::ConnectPenDriverWindow(platform::WindowHandle ownWindow)
{
    m_penDriverWindow = platform::FindWindowByName(kPenDriverWindowClass, kPenDriverWindowTitle);
    qDebug().noquote() << QStringLiteral("ConnectPenDriverWindow : %1").arg(m_penDriverWindow, 0, 16);
    if (m_penDriverWindow == ownWindow)
        m_penDriverWindow = 0;
    if (m_penDriverWindow != 0)
        GreetPenDriver(m_penDriverWindow, ownWindow);
}

void Dialog::AnswerPenDriverGreeting(platform::WindowHandle driver, platform::WindowHandle ownWindow)
{
    // A greeting naming this board would make it greet itself for ever.
    if (driver == 0 || driver == ownWindow) {
        qDebug().noquote() << QStringLiteral("exe : greeting naming window %1 ignored").arg(driver, 0, 16);
        return;
    }
    // It greets: it is there again, whatever it failed to answer before.
    platform::ReviveWindow(driver);
    const bool reply = driver == m_greetedPenDriver && m_greetedPenDriverClock.isValid()
                       && m_greetedPenDriverClock.elapsed() < kPenDriverReplyWindowMs;
    if (!reply)
        GreetPenDriver(driver, ownWindow);
    Get_Target_hWnd(driver);
}

void Dialog::SendPenDriverMode(QString mode)
{
    if (m_penDriverWindow == 0)
        return;
    if (mode == QLatin1String("Window"))
        platform::PostWindowMessage(m_penDriverWindow, kPenDriverMode, 0, 0, kPenDriverAnswerLimitMs);
    else if (mode == QLatin1String("Panser"))
        platform::PostWindowMessage(m_penDriverWindow, kPenDriverMode, 0, 1, kPenDriverAnswerLimitMs);
    qDebug().noquote() << mode;
}
