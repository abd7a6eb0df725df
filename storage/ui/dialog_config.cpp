#include "app/ui/dialog.h"

#include "app/ui/message_box.h"
#include "platform/folders.h"
#include "platform/processes.h"

#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>

// Settings: the record's defaults, the settings file and the folders they name.
void Dialog::LoadConfig(bool bInit)
{
    const SettingsFolders folders = PrepareSettingsFolders();
    m_commonAppDataFolder = folders.commonAppData;
    m_workFolder = folders.workFolder;
    // The recorder runs from a copy in the work folder; a copy left running by
    // an earlier run is ours to end.
    platform::RegisterOwnFolder(m_workFolder);
    m_configFilePath = folders.configFile;
    SetFileFilters();

    SetConfigDefaults(&m_config, folders, m_canvasWidth, m_canvasHeight, bInit);
    m_currentProjectFolder = m_config.proj;
    m_recordType = m_config.Type;
    qDebug() << "bInit" << bInit;

    if (!bInit && ReadConfigFile(m_configFilePath, &m_config)) {
        m_recordType = m_config.Type;
        m_currentProjectFolder = m_config.proj;
    }
    ApplyBoardColor();
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

// Reset from the settings dialog: defaults in memory only, the chosen language
// kept; the file is written when the user confirms the dialog.
void Dialog::Config_InitAll()
{
    qDebug() << "Config_InitAll";
    LoadConfig(true);
}

// The language menu: stores the chosen index for the next start.
void Dialog::OptLanguageType(QAction* action)
{
    const int index = m_languageActions.indexOf(action);
    if (!action || index < 0)
        return;
    ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"), m_lang.config.value(10), QMessageBox::Yes);
    m_config.language = index;
    WriteLanguageOption(m_configFilePath, index);
}

// Takes over a record confirmed in the settings dialog, then writes the file.
void Dialog::SaveConfigData(ConfigInfomation config)
{
    const ConfigApplyResult changes = ApplyConfigRecord(&m_config, config);
    if (changes.projectFolderChanged)
        m_currentProjectFolder = m_config.proj;
    if (changes.colorChanged)
        ApplyBoardColor();
    if (changes.redrawPages)
        RedrawAllPages();
    m_recordType = m_config.Type;
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
    m_config.version = QString::fromLatin1(kProgramVersion);
    WriteConfigFile(m_configFilePath, m_config);
}
