#pragma once

#include "storage/settings_file.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QCloseEvent;
class QComboBox;
class QEvent;
class QLineEdit;
class QObject;

class SelectDirectory;

namespace Ui {
class ConfigDlg;
}

// The settings dialog. It edits a copy of the settings record on nine pages
// and hands the edited record back to the main window, which applies it and
// writes the settings file. The main window creates it once, hidden, and
// shows it from the settings command; camera, microphone and volume changes
// act at once, everything else only when the dialog is confirmed.
class ConfigDlg : public QDialog
{
    Q_OBJECT

public:
    explicit ConfigDlg(QWidget* parent = nullptr);
    ~ConfigDlg() override;

    // One-time set-up. `languageFolder` ends with a separator and holds
    // "LangIndex.lng"; `language` is the record's language index. The name
    // lists are read here only.
    void InitDialog(int screenCount, QString languageFolder, int language, QStringList* cameraNames,
                    QStringList* microphoneNames, bool recordingAvailable);
    // Keeps the three text lists (owned by the main window) and sets every
    // caption; called before each showing.
    void SetLanguageText(QStringList* commonTexts, QStringList* configTexts, QStringList* menuTexts,
                         bool recordingAvailable);
    // Keeps a copy of the record and fills the widgets from it.
    void SetConfigData(ConfigInfomation record);
    // Selects a camera entry, then announces the current camera.
    void SetCamIndex(int index);
    // Replaces the device entries with a listing that came later; the
    // refill announces nothing.
    void SetDeviceNames(const QStringList& cameraNames, const QStringList& microphoneNames);
    // Shows the speaker and microphone volume; a slider without a mixer is
    // disabled and shows 0.
    void UpdateVolumeSliders();
    void SetUpdateBtnEnabled(bool enabled);

signals:
    void CallVirtualKeyboard();
    void CallSaveConfigData(ConfigInfomation record);
    void CallChangedCam(QString name);
    void CallChangedMic(QString name);
    void Config_Init();
    void SavePrj_Update();
    void Call_MasterDlg();
    void configdlg_setPos();

public slots:
    // Gathers the widgets into the record, announces the camera and the
    // record, then closes.
    void SaveConfigData();
    void ShowVirtualKeyboard();
    void ShowDirectoryDlg();
    void SetProjectFoloder(QString path);
    void SetNoteBgTrans(int value);
    void SetNoteLogoTrans(int value);
    void DeleteBgPath();
    void DeleteLogoPath();
    void LoadBgImage();
    void LoadLogoImage();
    void ChangedLanguage();
    void ChangedCam();
    void ChangedMic();
    // Selects the recording defaults in the recording combo boxes.
    void RecSettingInit();
    void MinusWidth1();
    void MinusWidth2();
    void MinusWidth3();
    void MinusWidth4();
    void PlusWidth1();
    void PlusWidth2();
    void PlusWidth3();
    void PlusWidth4();
    void setSpkVolume(int percent);
    void setMicVolume(int percent);

    // Connected by object name when the form is built.
    void on_folder_pathbtn_clicked();
    void on_rec_SavePathT_clicked();
    void on_rec_typeC_currentIndexChanged(int type);
    void on_Btn_Init_clicked();
    void on_info_updatebtn_clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class FolderTarget { None, ProjectFolder, RecordingFolder };

    QString CommonText(int key) const;
    QString ConfigText(int key) const;
    QString MenuText(int key) const;
    // Fills a combo box from consecutive configuration keys, once.
    void FillOnce(QComboBox* combo, int firstKey, int lastKey);
    void StepWidth(int row, int step);
    void ShowImagePath(QLineEdit* edit, const QString& path);
    void LoadImage(QLineEdit* edit);

    Ui::ConfigDlg* ui;
    QString m_lastImagePath;
    ConfigInfomation m_config;
    QStringList* m_commonTexts = nullptr;
    QStringList* m_configTexts = nullptr;
    QStringList* m_menuTexts = nullptr;
    int m_penWidth[4] = {0, 0, 0, 0};
    FolderTarget m_folderTarget = FolderTarget::None;
    bool m_initialised = false;
    // A folder chooser of its own, wired to the folder fields; the folder
    // buttons use the system's folder dialog instead.
    SelectDirectory* m_selectDirectory = nullptr;
};
