#include "panels/ui/mastermodedlg.h"

#include <QGuiApplication>
#include <QScreen>

MasterModedlg::MasterModedlg(QWidget* parent)
    : PlaceholderDialog("MasterModedlg", parent)
{
}

void MasterModedlg::CenterOnScreen()
{
    const QSize size(340, 60);
    QRect screen(0, 0, size.width(), size.height());
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screen = primary->geometry();
    setGeometry(QRect(screen.center() - QPoint(size.width() / 2, size.height() / 2), size));
}

void MasterModedlg::SetDebugModeState(bool on) { m_debugMode = on; }
void MasterModedlg::SetCollPacketState(bool on) { m_collPacket = on; }
void MasterModedlg::SetCursorImgState(bool on) { m_cursorImg = on; }
void MasterModedlg::SetInterpolationState(bool on) { m_interpolation = on; }
void MasterModedlg::SetAntialiasingState(bool on) { m_antialiasing = on; }
