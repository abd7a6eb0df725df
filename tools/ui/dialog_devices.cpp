// The capture devices the settings dialog chooses; a recording uses them.
#include "app/ui/dialog.h"

void Dialog::OptChangedCam(QString name)
{
    m_cam_name = name;
}

void Dialog::OptChangedMic(QString name)
{
    m_mic_name = name;
}
