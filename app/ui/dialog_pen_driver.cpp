#include "app/ui/dialog.h"
#include "app/ui/pen_driver_messages.h"

#include <QDebug>

void Dialog::Get_Target_hWnd(platform::WindowHandle window)
{
    m_penDriverWindow = window;
    qDebug().noquote() << QStringLiteral("Get_Target_hWnd : %1").arg(window, 0, 16);
}

void Dialog::ConnectPenDriverWindow(platform::WindowHandle ownWindow)
{
    m_penDriverWindow = platform::FindWindowByName(kPenDriverWindowClass, kPenDriverWindowTitle);
    qDebug().noquote() << QStringLiteral("ConnectPenDriverWindow : %1").arg(m_penDriverWindow, 0, 16);
    if (m_penDriverWindow != 0)
        platform::SendWindowMessage(m_penDriverWindow, kPenDriverGreeting, ownWindow, 1, nullptr,
                                    kPenDriverAnswerLimitMs);
}

void Dialog::SendPenDriverMode(QString mode)
{
    if (m_penDriverWindow == 0)
        return;
    if (mode == QLatin1String("Window"))
        platform::SendWindowMessage(m_penDriverWindow, kPenDriverMode, 0, 0, nullptr, kPenDriverAnswerLimitMs);
    else if (mode == QLatin1String("Panser"))
        platform::SendWindowMessage(m_penDriverWindow, kPenDriverMode, 0, 1, nullptr, kPenDriverAnswerLimitMs);
    qDebug().noquote() << mode;
}
