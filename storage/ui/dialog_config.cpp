#include "app/ui/dialog.h"

#include "app/ui/message_box.h"
#include "board/picture_file.h"
#include "panels/ui/configdlg.h"
#include "platform/folders.h"
#include "platform/processes.h"
#include "storage/project_file.h"

#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QTimer>

// Settings: the record's defaults, the settings file and the folders they name.
void Dialog::LoadConfig(bool bInit)
{
    const SettingsFolders folders = PrepareSettingsFolders();
    m_commonAppDataFolder = folders.commonAppData;
    m_workFolder = folders.workFolder;
    // The recorder runs from a copy in the work folder; a copy left running by
    // an earlier run is ours to end.
    platform::RegisterOwnFolder(m_workFolder);
    // A save killed half way left a hidden file beside its lesson; no save
    // runs yet.
    storage::RemoveAbandonedSaves(m_workFolder);
    m_configFilePath = folders.configFile;
    SetFileFilters();

    SetConfigDefaults(&m_config, folders, m_canvasWidth, m_canvasHeight, bInit);
    m_currentProjectFolder = m_config.proj;
    m_rec_type = m_config.Type;
    qDebug() << "bInit" << bInit;

    if (!bInit && ReadConfigFile(m_configFilePath, &m_config)) {
        m_rec_type = m_config.Type;
        m_currentProjectFolder = m_config.proj;
    }
    ApplyBoardColor();
    ReadBackgroundPicture();
}

void Dialog::ReadBackgroundPicture()
{
    if (m_config.bgfile == m_backgroundPicturePath)
        return;
    m_backgroundPicturePath = m_config.bgfile;
    m_backgroundPicture = QImage();
    if (m_config.bgfile.isEmpty())
        return;
    const PictureRead read = ReadPicture(m_config.bgfile);
    m_backgroundPicture = read.image;
    if (read.image.isNull()) {
        const QString text = QStringLiteral("The background picture is not used:\n%1").arg(read.error);
        qDebug().noquote() << QStringLiteral("exe : background picture not used: %1").arg(read.error);
        // Told once the window is up: this runs during start as well.
        QTimer::singleShot(0, this, [this, text] { ui::WarningBox(this, QStringLiteral("Background picture"), text); });
    }
}

void Dialog::SetFileFilters()
{
    QDir directory(platform::ProgramFolder());
    m_applicationFolder = directory.path();
    directory.setPath(m_commonAppDataFolder);
    m_penDriverConfigPath = directory.path() + QStringLiteral("/NORVANE/Stylane/config.ini");

    m_projectOpenFilter = QStringLiteral("Dravik project file (*.vk *.vj)");
    m_projectSaveFilter = QStringLiteral("Dravik project file (*.vk)");
    m_projectExtension = QStringLiteral(".vk");
    m_contentsFilter = QStringLiteral("Dravik contents file (*.iic)");
    m_contentsExtension = QStringLiteral(".iic");

    m_paperFolder = m_applicationFolder + QStringLiteral("/Paper/");
    m_clipartFolder = m_applicationFolder + QStringLiteral("/Clipart/");
    m_languageFolder = m_applicationFolder + QStringLiteral("/Language/");
}

void Dialog::ApplyBoardColor()
{
    m_boardFillColor = BoardColorFromSetting(m_config.color, m_blackboardColor, m_boardFillColor);
}

// Reset from the settings dialog: the dialog is refilled with the defaults
// (the chosen language, the camera and the upload login kept). The live record
// and the file stay as they are until the user confirms the dialog, so a reset
// followed by Cancel changes nothing.
void Dialog::Config_InitAll()
{
    qDebug() << "Config_InitAll";
    ConfigInfomation defaults = m_config;
    SetConfigDefaults(&defaults, PrepareSettingsFolders(), m_canvasWidth, m_canvasHeight, true);
    m_configResetRecord = defaults;
    m_configResetPending = true;
    if (m_configDlg)
        m_configDlg->SetConfigData(defaults);
}

// The language menu: stores the chosen index for the next start.
void Dialog::OptLanguageType(QAction* action)
{
    const int index = m_languageActions.indexOf(action);
    if (!action || index < 0)
        return;
    QWidget* parent = m_configDlg ? static_cast<QWidget*>(m_configDlg) : this;
    ui::ShowMessageBox(QMessageBox::Question, parent, QStringLiteral("Confirm"), m_lang.config.value(10),
                       QMessageBox::Yes);
    m_config.language = index;
    WriteLanguageOption(m_configFilePath, index);
}

// Takes over a record confirmed in the settings dialog, then writes the file.
void Dialog::SaveConfigData(ConfigInfomation config)
{
    // A confirmed reset also resets what the dialog only carries through.
    if (m_configResetPending) {
        m_configResetPending = false;
        m_config.floatingX = m_configResetRecord.floatingX;
        m_config.floatingY = m_configResetRecord.floatingY;
        m_config.updatetype = m_configResetRecord.updatetype;
        m_config.upserver = m_configResetRecord.upserver;
        m_config.ShowImportMsg = m_configResetRecord.ShowImportMsg;
    }
    const ConfigApplyResult changes = ApplyConfigRecord(&m_config, config);
    if (changes.projectFolderChanged)
        m_currentProjectFolder = m_config.proj;
    if (changes.colorChanged)
        ApplyBoardColor();
    ReadBackgroundPicture();
    if (changes.redrawPages)
        RedrawAllPages();
    m_rec_type = m_config.Type;
    if (changes.cursorChanged)
        ApplyCursorOption();
    SaveConfigData();
}

// The pen cursor option shows at once only while the free pen is the tool of
// the slot whose state the window shows.
void Dialog::ApplyCursorOption()
{
    const int referenceSlot = (m_collUserLevel == 0 || m_collUserLevel == 3) ? 0 : kPointerSlotCount - 1;
    if (m_board.slot[referenceSlot].event_kind != ekFree)
        return;
    setCursor(m_config.cursor ? m_cursorPen : m_cursorBlank);
}

void Dialog::SaveConfigData()
{
    m_config.toolpos = m_toolbarPosition;
    m_config.floatingX = m_floatingPosition.x();
    m_config.floatingY = m_floatingPosition.y();
    m_config.version = QString::fromLatin1(kProgramVersion);
    WriteConfigFile(m_configFilePath, m_config);
}

// Back to the middle of the canvas after every close; the dialog's fixed size
// wins over the size asked for here.
void Dialog::OptConfigDlgSetPos()
{
    if (m_configDlg)
        m_configDlg->setGeometry(SettingsDialogGeometry(m_canvasWidth, m_canvasHeight));
}

// The settings command: captions, a copy of the live record and the volumes,
// then the dialog.
void Dialog::OptConfiguration()
{
    if (!m_configDlg) {
        qDebug() << "exe : the settings dialog is not made yet";
        return;
    }
    m_configResetPending = false;
    m_configDlg->SetLanguageText(&m_lang.common, &m_lang.config, &m_lang.menu, m_bCaptureLibLoaded);
    m_configDlg->SetConfigData(m_config);
    m_configDlg->UpdateVolumeSliders();
    qDebug().noquote() << "CamDevice :" << m_config.CamDevice;
    m_configDlg->show();
}

// The settings dialog's update button: save the lesson first when wanted,
// then hand over to the updater. The updater replaces the program, so it
// starts only once the save has ended well.
void Dialog::Config_savePrj_Update()
{
    if (!WaitForRunningSave())
        return;
    if (m_boardModified) {
        QWidget* parent = m_configDlg ? static_cast<QWidget*>(m_configDlg) : this;
        const QMessageBox::StandardButton answer = AskToSaveChanges(parent);
        if (answer == QMessageBox::Yes) {
            if (!SaveAndWait(2, false))
                return;
        } else if (answer != QMessageBox::No) {
            return;
        }
    }
    if (ExecuteManager)
        ExecuteManager();
    else
        qDebug() << "exe : the update bridge is not loaded";
}
