#pragma once

#include "app/ui/placeholder_dialog.h"

// The hidden service dialog that switches the debug options.
class MasterModedlg : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit MasterModedlg(QWidget* parent = nullptr);

    // 340 x 60 centred on the screen: only the access-code field shows.
    void CenterOnScreen();
    void SetDebugModeState(bool on);
    void SetCollPacketState(bool on);
    void SetCursorImgState(bool on);
    void SetInterpolationState(bool on);
    void SetAntialiasingState(bool on);

signals:
    void Call_Debug(bool on);
    void Call_Coll(bool on);
    void Call_Cursor(bool on);
    void Call_Interpolation(bool on);
    void Call_Antialiasing(bool on);

private:
    bool m_debugMode = false;
    bool m_collPacket = false;
    bool m_cursorImg = false;
    bool m_interpolation = false;
    bool m_antialiasing = false;
};
