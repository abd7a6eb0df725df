#include "panels/ui/configdlg.h"

#include "app/ui/message_box.h"
#include "app/utilities.h"
#include "panels/config_dialog_rules.h"
#include "panels/ui/config_dlg_form.h"
#include "platform/folders.h"
#include "platform/volume.h"
#include "app/language_codes.h"
#include "storage/language_file.h"
#include "storage/ui/selectdirectory.h"

#include <QSignalBlocker>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

ConfigDlg::ConfigDlg(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::ConfigDlg)
{
    qRegisterMetaType<ConfigInfomation>();
    ui->setupUi(this);
    // The image choosers start at the top of the user's own files until a
    // picture has been chosen.
    m_lastImagePath = platform::KnownFolderPath(platform::KnownFolder::Home);
}

ConfigDlg::~ConfigDlg()
{
    // The text lists belong to the main window.
    delete ui;
}

void ConfigDlg::InitDialog(int screenCount, QString languageFolder, int language, QStringList* cameraNames,
                           QStringList* microphoneNames, bool recordingAvailable)
{
    if (m_initialised) {
        qDebug() << "ConfigDlg::InitDialog runs once only";
        return;
    }
    m_initialised = true;

    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);

    QFont dialogFont = font();
    dialogFont.setFamily(configdlg::DialogFontFamily(language));
    setFont(dialogFont);

    if (screenCount == 1)
        ui->dual_check->setEnabled(false);

    m_lastImagePath = platform::KnownFolderPath(platform::KnownFolder::Home);

    const int swatchHeight = style()->pixelMetric(QStyle::PM_SmallIconSize);
    for (const QString& name : configdlg::BoardColorNames()) {
        QPixmap swatch(32, swatchHeight);
        swatch.fill(configdlg::BoardColorSwatch(name));
        ui->note_colorcombo->addItem(QIcon(swatch), name);
    }

    // Entry i stands for language index i, so every key gives an entry, an
    // empty one when the key is missing.
    // A setting that follows the system shows the system's language, the
    // one in use, rather than an empty box.
    ui->opt_langcombo->addItems(ReadLanguageIndex(languageFolder));
    ui->opt_langcombo->setCurrentIndex(LanguageIndexInUse(language));

    // Filled before the change signals are connected: filling announces nothing.
    if (cameraNames)
        ui->rec_camdeviceC->addItems(*cameraNames);
    if (microphoneNames)
        ui->rec_audiodeviceC->addItems(*microphoneNames);

    ui->keybtn->setStyleSheet(QStringLiteral("QPushButton {border-image: url(:/Config/key);}"
                                             "QPushButton:pressed {border-image: url(:/Config/keypress);}"));
    ui->note_bgdel->setStyleSheet(QStringLiteral("QPushButton {border-image: url(:/Config/trace);}"));
    ui->note_logodel->setStyleSheet(QStringLiteral("QPushButton {border-image: url(:/Config/trace);}"));

    connect(ui->okbtn, &QPushButton::clicked, this, &ConfigDlg::SaveConfigData);
    connect(ui->cancelbtn, &QPushButton::clicked, this, &ConfigDlg::close);
    connect(ui->keybtn, &QPushButton::clicked, this, &ConfigDlg::ShowVirtualKeyboard);
    connect(ui->note_bgslider, &QSlider::valueChanged, this, &ConfigDlg::SetNoteBgTrans);
    connect(ui->note_logoslider, &QSlider::valueChanged, this, &ConfigDlg::SetNoteLogoTrans);
    connect(ui->note_bgdel, &QPushButton::clicked, this, &ConfigDlg::DeleteBgPath);
    connect(ui->note_logodel, &QPushButton::clicked, this, &ConfigDlg::DeleteLogoPath);
    connect(ui->note_bgbtn, &QPushButton::clicked, this, &ConfigDlg::LoadBgImage);
    connect(ui->note_logobtn, &QPushButton::clicked, this, &ConfigDlg::LoadLogoImage);
    connect(ui->opt_langcombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ConfigDlg::ChangedLanguage);
    connect(ui->rec_camdeviceC, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ConfigDlg::ChangedCam);
    connect(ui->rec_audiodeviceC, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ConfigDlg::ChangedMic);
    connect(ui->rec_InitB, &QPushButton::clicked, this, &ConfigDlg::RecSettingInit);
    void (ConfigDlg::*minus[4])() = {&ConfigDlg::MinusWidth1, &ConfigDlg::MinusWidth2, &ConfigDlg::MinusWidth3,
                                     &ConfigDlg::MinusWidth4};
    void (ConfigDlg::*plus[4])() = {&ConfigDlg::PlusWidth1, &ConfigDlg::PlusWidth2, &ConfigDlg::PlusWidth3,
                                    &ConfigDlg::PlusWidth4};
    for (int row = 0; row < 4; ++row) {
        connect(ui->pen_left_width[row], &QToolButton::clicked, this, minus[row]);
        connect(ui->pen_right_width[row], &QToolButton::clicked, this, plus[row]);
    }

    ui->tabwidget->setCurrentIndex(0);
    if (!recordingAvailable)
        ui->tabwidget->removeTab(ui->tabwidget->indexOf(ui->rec));

    m_folderTarget = FolderTarget::None;
    m_selectDirectory = new SelectDirectory(this);
    m_selectDirectory->InitSelectDirectory(LanguageFilePath(languageFolder, LanguageFileCode(language)));
    connect(m_selectDirectory, qOverload<QString>(&SelectDirectory::SetFilePath), this, &ConfigDlg::SetProjectFoloder);
    ui->label_MasterMode->setText(QString());
    ui->label_MasterMode->installEventFilter(this);

    connect(ui->horizontalSlider_Sound, &QSlider::valueChanged, this, &ConfigDlg::setSpkVolume);
    connect(ui->horizontalSlider_Mic, &QSlider::valueChanged, this, &ConfigDlg::setMicVolume);
    UpdateVolumeSliders();
}

QString ConfigDlg::CommonText(int key) const
{
    return m_commonTexts ? m_commonTexts->value(LanguageKeyPosition(QStringLiteral("Common"), key)) : QString();
}

QString ConfigDlg::ConfigText(int key) const
{
    return m_configTexts ? m_configTexts->value(LanguageKeyPosition(QStringLiteral("Config"), key)) : QString();
}

QString ConfigDlg::MenuText(int key) const
{
    return m_menuTexts ? m_menuTexts->value(LanguageKeyPosition(QStringLiteral("Menu"), key)) : QString();
}

void ConfigDlg::FillOnce(QComboBox* combo, int firstKey, int lastKey)
{
    if (combo->count() > 0)
        return;
    for (int key = firstKey; key <= lastKey; ++key)
        combo->addItem(ConfigText(key));
}

void ConfigDlg::SetLanguageText(QStringList* commonTexts, QStringList* configTexts, QStringList* menuTexts,
                                bool recordingAvailable)
{
    m_commonTexts = commonTexts;
    m_configTexts = configTexts;
    m_menuTexts = menuTexts;

    ui->okbtn->setText(CommonText(1));
    ui->cancelbtn->setText(CommonText(2));
    setWindowTitle(ConfigText(300));

    // A page that is not in the tab widget (the recording page without a
    // capture library) has no tab to name; the pages after it sit one place up.
    const struct {
        QWidget* page;
        int key;
    } pages[] = {
        {ui->folder, 301}, {ui->pen, 342}, {ui->note, 312},        {ui->dual, 315}, {ui->rec, 319},
        {ui->Upload_contents, 375}, {ui->tab, 324}, {ui->opt, 332}, {ui->info, 323},
    };
    for (const auto& entry : pages) {
        if (entry.page == ui->rec && !recordingAvailable)
            continue;
        const int index = ui->tabwidget->indexOf(entry.page);
        if (index < 0)
            continue;
        ui->tabwidget->setTabText(index, ConfigText(entry.key));
        ui->tabwidget->setTabToolTip(index, ConfigText(entry.key));
    }

    ui->folder_group->setTitle(ConfigText(302));
    ui->folder_txt->setText(ConfigText(303));
    ui->folder_group2->setTitle(ConfigText(387));
    ui->rec_SavePathL->setText(ConfigText(321));

    ui->pen_group->setTitle(ConfigText(343));
    for (int row = 0; row < 4; ++row)
        ui->pen_label_width[row]->setText(ConfigText(344 + row));

    ui->note_group->setTitle(ConfigText(313));
    ui->note_colortxt->setText(ConfigText(314));
    ui->note_bgtxt->setText(ConfigText(350));
    ui->note_bgtrans_txt->setText(ConfigText(351));
    ui->note_logotxt->setText(ConfigText(352));
    ui->note_logotrans_txt->setText(ConfigText(353));

    ui->dual_group->setTitle(ConfigText(316));
    ui->dual_check->setText(ConfigText(317));
    ui->dual_txt->setText(ConfigText(318));

    ui->rec_group->setTitle(ConfigText(320));
    ui->rec_typeL->setText(ConfigText(355));
    ui->rec_InitB->setText(ConfigText(389));
    ui->rec_FileNameC->setText(ConfigText(322));
    ui->rec_DialogC->setText(ConfigText(331));
    ui->rec_camdeviceL->setText(ConfigText(360));
    ui->rec_viewlocationL->setText(ConfigText(365));
    ui->rec_ratioL->setText(ConfigText(396));
    ui->rec_presetL->setText(ConfigText(397));
    ui->rec_screenpresetL->setText(ConfigText(397));
    ui->rec_videoqualityL->setText(ConfigText(398));
    ui->rec_screenqualityL->setText(ConfigText(398));
    ui->rec_videoframerateL->setText(ConfigText(399));
    ui->rec_screenframerateL->setText(ConfigText(399));
    ui->rec_audiodeviceL->setText(ConfigText(363));
    ui->rec_audioqualityL->setText(ConfigText(400));
    ui->rec_bitrateL->setText(ConfigText(401));
    FillOnce(ui->rec_typeC, 356, 359);
    FillOnce(ui->rec_viewlocationC, 366, 369);
    FillOnce(ui->rec_presetC, 390, 392);
    FillOnce(ui->rec_screenpresetC, 390, 392);
    FillOnce(ui->rec_videoqualityC, 393, 395);
    FillOnce(ui->rec_audioqualityC, 393, 395);
    FillOnce(ui->rec_screenqualityC, 393, 395);
    ui->rec_presetL->hide();
    ui->rec_presetC->hide();
    ui->rec_screenpresetL->hide();
    ui->rec_screenpresetC->hide();
    ui->Btn_Init->setText(ConfigText(389));

    ui->upload_groupBox->setTitle(ConfigText(376));

    ui->Volume_GroupBox->setTitle(ConfigText(325));
    ui->Sound_Volume_label->setText(ConfigText(326));
    ui->Mic_Volume_label->setText(ConfigText(327));

    ui->opt_group1->setTitle(ConfigText(333));
    ui->opt_clearlabel->setText(ConfigText(334));
    ui->opt_cursorlabel->setText(ConfigText(386));
    ui->opt_group2->setTitle(ConfigText(335));
    ui->opt_toolposlabel->setText(ConfigText(341));
    ui->opt_group3->setTitle(MenuText(817));
    ui->opt_txt->setText(ConfigText(318));

    ui->info_website->setText(configdlg::WebsiteLink(ConfigText(381)));
    ui->info_website->setTextFormat(Qt::RichText);
    ui->info_website->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                                              | Qt::LinksAccessibleByKeyboard);
    ui->info_website->setOpenExternalLinks(true);
}

// The order decides which change signals fire: the recording type before the
// recording choices, the language before the picture settings.
void ConfigDlg::SetConfigData(ConfigInfomation record)
{
    m_config = record;

    ui->folder_edit->setText(record.proj);
    ui->dual_check->setChecked(record.dual);
    ui->rec_typeC->setCurrentIndex(record.Type);
    ui->rec_SavePathE->setText(record.Path);
    ui->rec_FileNameC->setChecked(record.Name);
    ui->rec_DialogC->setChecked(record.Check);

    ui->rec_viewlocationC->setCurrentIndex(record.ViewPos);
    ui->rec_ratioC->setCurrentIndex(record.VideoRatio);
    ui->rec_presetC->setCurrentIndex(record.VideoPreset);
    ui->rec_videoqualityC->setCurrentIndex(record.VideoQuality);
    ui->rec_videoframerateC->setCurrentIndex(record.VideoFrameRate);
    ui->rec_audioqualityC->setCurrentIndex(record.AudioQuality);
    ui->rec_bitrateC->setCurrentIndex(record.AudioBitRate);
    ui->rec_screenpresetC->setCurrentIndex(record.ScreenPreset);
    ui->rec_screenqualityC->setCurrentIndex(record.ScreenQuality);
    ui->rec_screenframerateC->setCurrentIndex(record.ScreenFrameRate);

    ui->upload_lineEditID_Server->setText(record.Server);
    ui->upload_lineEditID_Port->setText(record.Port);
    ui->opt_clearcheck->setChecked(record.erase);
    ui->opt_cursorcheck->setChecked(record.cursor);
    ui->opt_toolpos_save->setChecked(record.toolsave);

    ui->opt_langcombo->setCurrentIndex(LanguageIndexInUse(record.language));

    ui->info_frame->setStyleSheet(QStringLiteral("border-image: url(:/Config/about);"));
    ui->info_verson->setText(configdlg::VersionCaption(record.version));

    // An unknown colour name leaves the shown colour as it was.
    const int colorIndex = ui->note_colorcombo->findText(record.color, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (colorIndex >= 0)
        ui->note_colorcombo->setCurrentIndex(colorIndex);
    ui->note_bgedit->setText(record.bgfile);
    ui->note_logoedit->setText(record.logofile);

    ui->note_bgslider->setValue(record.bgtrans);
    ui->note_logoslider->setValue(record.logotrans);

    const int widths[4] = {record.FPenWidth1, record.FPenWidth2, record.FPenWidth3, record.FPenWidth4};
    for (int row = 0; row < 4; ++row) {
        m_penWidth[row] = widths[row];
        ui->pen_text_width[row]->setText(QString::number(widths[row]));
    }
}

void ConfigDlg::SaveConfigData()
{
    qDebug() << "ConfigDlg::SaveConfigData()";

    m_config.proj = ui->folder_edit->text();
    m_config.color = ui->note_colorcombo->currentText();
    m_config.bgfile = ui->note_bgedit->text();
    m_config.bgtrans = ui->note_bgslider->value();
    m_config.logofile = ui->note_logoedit->text();
    m_config.logotrans = ui->note_logoslider->value();
    m_config.dual = ui->dual_check->isChecked();
    m_config.erase = ui->opt_clearcheck->isChecked();
    m_config.cursor = ui->opt_cursorcheck->isChecked();
    m_config.toolsave = ui->opt_toolpos_save->isChecked();
    // Left at the language in use, a setting that follows the system keeps
    // following it.
    if (m_config.language >= 0 || ui->opt_langcombo->currentIndex() != LanguageIndexInUse(m_config.language))
        m_config.language = ui->opt_langcombo->currentIndex();
    m_config.FPenWidth1 = configdlg::PenWidthFromText(ui->pen_text_width[0]->toPlainText());
    m_config.FPenWidth2 = configdlg::PenWidthFromText(ui->pen_text_width[1]->toPlainText());
    m_config.FPenWidth3 = configdlg::PenWidthFromText(ui->pen_text_width[2]->toPlainText());
    m_config.FPenWidth4 = configdlg::PenWidthFromText(ui->pen_text_width[3]->toPlainText());
    m_config.Path = ui->rec_SavePathE->text();
    m_config.Type = ui->rec_typeC->currentIndex();
    m_config.Name = ui->rec_FileNameC->isChecked();
    m_config.Check = ui->rec_DialogC->isChecked();
    m_config.CamDevice = ui->rec_camdeviceC->currentText();
    m_config.ViewPos = ui->rec_viewlocationC->currentIndex();
    m_config.VideoRatio = ui->rec_ratioC->currentIndex();
    m_config.VideoPreset = ui->rec_presetC->currentIndex();
    m_config.VideoQuality = ui->rec_videoqualityC->currentIndex();
    m_config.VideoFrameRate = ui->rec_videoframerateC->currentIndex();
    m_config.AudioQuality = ui->rec_audioqualityC->currentIndex();
    m_config.AudioBitRate = ui->rec_bitrateC->currentIndex();
    m_config.ScreenPreset = ui->rec_screenpresetC->currentIndex();
    m_config.ScreenQuality = ui->rec_screenqualityC->currentIndex();
    m_config.ScreenFrameRate = ui->rec_screenframerateC->currentIndex();
    m_config.Server = ui->upload_lineEditID_Server->text();
    m_config.Port = ui->upload_lineEditID_Port->text();

    emit CallChangedCam(ui->rec_camdeviceC->currentText());
    emit CallSaveConfigData(m_config);
    close();
}

void ConfigDlg::SetCamIndex(int index)
{
    ui->rec_camdeviceC->setCurrentIndex(index);
    emit CallChangedCam(ui->rec_camdeviceC->currentText());
}

void ConfigDlg::SetDeviceNames(const QStringList& cameraNames, const QStringList& microphoneNames)
{
    const QSignalBlocker cameraQuiet(ui->rec_camdeviceC);
    const QSignalBlocker microphoneQuiet(ui->rec_audiodeviceC);
    ui->rec_camdeviceC->clear();
    ui->rec_camdeviceC->addItems(cameraNames);
    ui->rec_audiodeviceC->clear();
    ui->rec_audiodeviceC->addItems(microphoneNames);
}

void ConfigDlg::SetUpdateBtnEnabled(bool enabled)
{
    ui->info_updatebtn->setEnabled(enabled);
}

void ConfigDlg::ShowVirtualKeyboard()
{
    emit CallVirtualKeyboard();
}

void ConfigDlg::on_folder_pathbtn_clicked()
{
    m_folderTarget = FolderTarget::ProjectFolder;
    ShowDirectoryDlg();
}

void ConfigDlg::on_rec_SavePathT_clicked()
{
    m_folderTarget = FolderTarget::RecordingFolder;
    ShowDirectoryDlg();
}

void ConfigDlg::ShowDirectoryDlg()
{
    QString start = QStringLiteral("/home");
    if (m_folderTarget == FolderTarget::ProjectFolder)
        start = ui->folder_edit->text();
    else if (m_folderTarget == FolderTarget::RecordingFolder)
        start = ui->rec_SavePathE->text();
    const QString chosen = ui::GetExistingDirectory(this, QStringLiteral("Select Folder"), start);
    if (!chosen.isEmpty())
        SetProjectFoloder(chosen);
    m_folderTarget = FolderTarget::None;
}

void ConfigDlg::SetProjectFoloder(QString path)
{
    QLineEdit* target = nullptr;
    if (m_folderTarget == FolderTarget::ProjectFolder)
        target = ui->folder_edit;
    else if (m_folderTarget == FolderTarget::RecordingFolder)
        target = ui->rec_SavePathE;
    if (!target)
        return;
    target->setText(path);
    target->setCursorPosition(0);
    target->setToolTip(path);
}

void ConfigDlg::SetNoteBgTrans(int value)
{
    ui->note_bgtrans_val->setText(QString::number(value));
}

void ConfigDlg::SetNoteLogoTrans(int value)
{
    ui->note_logotrans_val->setText(QString::number(value));
}

void ConfigDlg::DeleteBgPath()
{
    ui->note_bgedit->clear();
}

void ConfigDlg::DeleteLogoPath()
{
    ui->note_logoedit->clear();
}

void ConfigDlg::ShowImagePath(QLineEdit* edit, const QString& path)
{
    edit->setText(path);
    edit->setCursorPosition(0);
    edit->setToolTip(path);
}

void ConfigDlg::LoadImage(QLineEdit* edit)
{
    const QString path = ui::GetOpenFileName(this, QStringLiteral("Open"), m_lastImagePath,
                                             configdlg::ImageFileFilter());
    if (path.isEmpty())
        return;
    m_lastImagePath = path;
    ShowImagePath(edit, path);
}

void ConfigDlg::LoadBgImage()
{
    LoadImage(ui->note_bgedit);
}

void ConfigDlg::LoadLogoImage()
{
    LoadImage(ui->note_logoedit);
}

// The new language is stored when the dialog is confirmed and is used from the
// next start on; the question only tells so.
void ConfigDlg::ChangedLanguage()
{
    ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"), ConfigText(318), QMessageBox::Yes);
}

void ConfigDlg::ChangedCam()
{
    emit CallChangedCam(ui->rec_camdeviceC->currentText());
}

void ConfigDlg::ChangedMic()
{
    emit CallChangedMic(ui->rec_audiodeviceC->currentText());
}

void ConfigDlg::RecSettingInit()
{
    const configdlg::RecordingChoices choices = configdlg::RecordingDefaultChoices();
    ui->rec_typeC->setCurrentIndex(choices.type);
    ui->rec_viewlocationC->setCurrentIndex(choices.viewPos);
    ui->rec_ratioC->setCurrentIndex(choices.videoRatio);
    ui->rec_presetC->setCurrentIndex(choices.videoPreset);
    ui->rec_videoqualityC->setCurrentIndex(choices.videoQuality);
    ui->rec_videoframerateC->setCurrentIndex(choices.videoFrameRate);
    ui->rec_audioqualityC->setCurrentIndex(choices.audioQuality);
    ui->rec_bitrateC->setCurrentIndex(choices.audioBitRate);
    ui->rec_screenpresetC->setCurrentIndex(choices.screenPreset);
    ui->rec_screenqualityC->setCurrentIndex(choices.screenQuality);
    ui->rec_screenframerateC->setCurrentIndex(choices.screenFrameRate);
}

void ConfigDlg::on_rec_typeC_currentIndexChanged(int type)
{
    const configdlg::RecordingControls controls = configdlg::RecordingControlsForType(type);
    if (!controls.known)
        return;
    for (QComboBox* combo : {ui->rec_camdeviceC, ui->rec_viewlocationC, ui->rec_ratioC, ui->rec_presetC,
                             ui->rec_videoqualityC, ui->rec_videoframerateC})
        combo->setEnabled(controls.camera);
    for (QComboBox* combo : {ui->rec_audiodeviceC, ui->rec_audioqualityC, ui->rec_bitrateC})
        combo->setEnabled(controls.audio);
    for (QComboBox* combo : {ui->rec_screenpresetC, ui->rec_screenqualityC, ui->rec_screenframerateC})
        combo->setEnabled(controls.screen);
}

// The reset only refills the dialog; nothing is stored before the dialog is
// confirmed.
void ConfigDlg::on_Btn_Init_clicked()
{
    const QMessageBox::StandardButton answer =
        ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"), ConfigText(388),
                           QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        emit Config_Init();
}

void ConfigDlg::on_info_updatebtn_clicked()
{
    emit SavePrj_Update();
}

void ConfigDlg::StepWidth(int row, int step)
{
    const int stepped = configdlg::SteppedPenWidth(m_penWidth[row], step);
    if (stepped == m_penWidth[row])
        return;
    m_penWidth[row] = stepped;
    ui->pen_text_width[row]->setText(QString::number(stepped));
}

void ConfigDlg::MinusWidth1() { StepWidth(0, -1); }
void ConfigDlg::MinusWidth2() { StepWidth(1, -1); }
void ConfigDlg::MinusWidth3() { StepWidth(2, -1); }
void ConfigDlg::MinusWidth4() { StepWidth(3, -1); }
void ConfigDlg::PlusWidth1() { StepWidth(0, 1); }
void ConfigDlg::PlusWidth2() { StepWidth(1, 1); }
void ConfigDlg::PlusWidth3() { StepWidth(2, 1); }
void ConfigDlg::PlusWidth4() { StepWidth(3, 1); }

void ConfigDlg::setSpkVolume(int percent)
{
    ui->label_spkValue->setText(QString::number(percent));
    platform::SetEndpointVolume(platform::kSpeakerEndpoint, percent / 100.0);
}

void ConfigDlg::setMicVolume(int percent)
{
    ui->label_micValue->setText(QString::number(percent));
    platform::SetEndpointVolume(platform::kMicrophoneEndpoint, percent / 100.0);
}

// A slider whose value changes here writes the shown percentage back through
// its connected slot; one without a mixer is disabled at 0. A reading that
// fails writes nothing back: a mixer that answers late once must not leave
// the speaker or the microphone muted.
void ConfigDlg::UpdateVolumeSliders()
{
    const struct {
        int endpoint;
        QSlider* slider;
        QLabel* value;
    } rows[] = {
        {platform::kSpeakerEndpoint, ui->horizontalSlider_Sound, ui->label_spkValue},
        {platform::kMicrophoneEndpoint, ui->horizontalSlider_Mic, ui->label_micValue},
    };
    for (const auto& row : rows) {
        float level = 0.0f;
        const bool available = platform::ReadEndpointVolume(row.endpoint, &level);
        row.slider->setEnabled(available);
        if (available) {
            row.slider->setValue(configdlg::VolumePercent(level));
            continue;
        }
        const QSignalBlocker quiet(row.slider);
        row.slider->setValue(0);
        row.value->setText(QStringLiteral("0"));
    }
}

bool ConfigDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->label_MasterMode && event->type() == QEvent::MouseButtonDblClick)
        emit Call_MasterDlg();
    return QDialog::eventFilter(watched, event);
}

void ConfigDlg::closeEvent(QCloseEvent* event)
{
    CloseOnScreenKeyboard();
    emit configdlg_setPos();
    QDialog::closeEvent(event);
}
