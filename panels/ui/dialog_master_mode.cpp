// The hidden master-mode dialog, opened from the settings dialog's hidden
// label and from Ctrl+Shift+I over the board.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"

void Dialog::MasterDlg_Show()
{
    if (!m_masterModeDlg || m_masterModeDlg->isVisible())
        return;
    // The dialog shows the options as they are now, not as they were last
    // switched there: other roads (a test command, the settings) change them.
    m_masterModeDlg->SetDebugModeState(m_debugMode);
    m_masterModeDlg->SetCollPacketState(m_collPacketLog);
    m_masterModeDlg->SetCursorImgState(m_cursorImage);
    m_masterModeDlg->SetInterpolationState(m_interpolation);
    m_masterModeDlg->SetAntialiasingState(m_antialiasing);
    m_masterModeDlg->exec();
}
