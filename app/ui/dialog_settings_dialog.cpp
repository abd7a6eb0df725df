// The settings dialog's part of the second-stage initialisation: it is made
// once, hidden, with the main window as parent, wired to the main window's
// slots, and told which camera the settings name.
#include "app/ui/dialog.h"

#include "panels/ui/configdlg.h"

#include <QGuiApplication>

void Dialog::CreateConfigDlg()
{
    if (m_configDlg)
        return;
    m_configDlg = new ConfigDlg(this);
    m_configDlg->hide();
    m_configDlg->InitDialog(QGuiApplication::screens().size(), m_languageFolder, m_config.language, &m_cam_list,
                            &m_mic_list, m_bCaptureLibLoaded);
    OptConfigDlgSetPos();
    // Until the update check answers there is nothing to update to.
    m_configDlg->SetUpdateBtnEnabled(false);
}

void Dialog::ConnectConfigDlgSignals()
{
    if (!m_configDlg)
        return;
    connect(m_configDlg, &ConfigDlg::CallVirtualKeyboard, this, &Dialog::OptVirtureKeyboard);
    connect(m_configDlg, &ConfigDlg::CallSaveConfigData, this, QOverload<ConfigInfomation>::of(&Dialog::SaveConfigData));
    connect(m_configDlg, &ConfigDlg::CallChangedCam, this, &Dialog::OptChangedCam);
    connect(m_configDlg, &ConfigDlg::CallChangedMic, this, &Dialog::OptChangedMic);
    connect(m_configDlg, &ConfigDlg::configdlg_setPos, this, &Dialog::OptConfigDlgSetPos);
    connect(m_configDlg, &ConfigDlg::Config_Init, this, &Dialog::Config_InitAll);
    connect(m_configDlg, &ConfigDlg::SavePrj_Update, this, &Dialog::Config_savePrj_Update);
    connect(m_configDlg, &ConfigDlg::Call_MasterDlg, this, &Dialog::MasterDlg_Show);
}

// The saved camera when the capture tool still lists it, else the first one.
void Dialog::SelectSavedCamera()
{
    if (!m_configDlg || m_cam_list.isEmpty())
        return;
    const int index = m_cam_list.indexOf(m_config.CamDevice);
    m_configDlg->SetCamIndex(index < 0 ? 0 : index);
}
