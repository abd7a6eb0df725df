// Stand-ins for the commands and slots the connection table, the menus and
// the tray already reach but whose subsystems come later. Each writes one
// "is not available yet" line; the issue that builds a command replaces its
// line here with the real body in its own file.
#include "app/ui/dialog.h"

#include <QDebug>

namespace {

void NotYet(const char* name)
{
    qDebug().noquote() << QStringLiteral("exe : %1 is not available yet").arg(QLatin1String(name));
}

}  // namespace

void Dialog::OptRecDialog() { NotYet("OptRecDialog"); }
void Dialog::OptRecBtn(int) { NotYet("OptRecBtn"); }
void Dialog::OptRecStart(int) { NotYet("OptRecStart"); }

// Until saving and recording exist, the exit entry just ends the program.
void Dialog::OptCloseOrbel()
{
    NotYet("OptCloseOrbel");
    emit MainDlgClose();
}


void Dialog::ParseDeviceInfoLog() { NotYet("ParseDeviceInfoLog"); }
void Dialog::OptStopBtn()
{
    NotYet("OptStopBtn");
    m_recordingOn = false;
    m_screenRecordingOn = false;
}
