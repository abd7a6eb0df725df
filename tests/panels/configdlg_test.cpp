#include "panels/ui/configdlg.h"
#include "app/language_codes.h"
#include "storage/language_file.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QStringList kCameras = {"Integrated Camera", "USB Video"};
const QStringList kMicrophones = {"Built-in Microphone", "Headset"};

// Every field of the record by name, so a comparison names what differs.
QStringList Fields(const ConfigInfomation& c)
{
    auto s = [](const char* name, const QVariant& value) { return QString("%1=%2").arg(name, value.toString()); };
    return {s("proj", c.proj), s("version", c.version), s("dual", c.dual), s("language", c.language),
            s("color", c.color), s("bgfile", c.bgfile), s("bgtrans", c.bgtrans), s("logofile", c.logofile),
            s("logotrans", c.logotrans), s("logopos", c.logopos), s("erase", c.erase), s("cursor", c.cursor),
            s("toolsave", c.toolsave), s("toolpos", c.toolpos), s("upserver", c.upserver),
            s("updatetype", c.updatetype), s("ShowImportMsg", c.ShowImportMsg), s("floatingX", c.floatingX),
            s("floatingY", c.floatingY), s("FPenWidth1", c.FPenWidth1), s("FPenWidth2", c.FPenWidth2),
            s("FPenWidth3", c.FPenWidth3), s("FPenWidth4", c.FPenWidth4), s("Path", c.Path), s("Type", c.Type),
            s("Name", c.Name), s("Check", c.Check), s("CamDevice", c.CamDevice), s("ViewPos", c.ViewPos),
            s("VideoRatio", c.VideoRatio), s("VideoPreset", c.VideoPreset), s("VideoQuality", c.VideoQuality),
            s("VideoFrameRate", c.VideoFrameRate), s("AudioQuality", c.AudioQuality),
            s("AudioBitRate", c.AudioBitRate), s("ScreenPreset", c.ScreenPreset),
            s("ScreenQuality", c.ScreenQuality), s("ScreenFrameRate", c.ScreenFrameRate), s("ID", c.ID),
            s("SaveID", c.SaveID), s("Server", c.Server), s("Port", c.Port)};
}

ConfigInfomation SampleRecord()
{
    ConfigInfomation c;
    c.proj = "/srv/lessons/projects";
    c.version = "5.0.0.32";
    c.dual = true;
    c.language = 1;
    c.color = "teal";
    c.bgfile = "/srv/pictures/map.png";
    c.bgtrans = 200;
    c.logofile = "/srv/pictures/logo.png";
    c.logotrans = 17;
    c.logopos = 3;
    c.erase = true;
    c.cursor = false;
    c.toolsave = true;
    c.toolpos = 4;
    c.upserver = "updates.example.org";
    c.updatetype = 2;
    c.ShowImportMsg = true;
    c.floatingX = 640;
    c.floatingY = 360;
    c.FPenWidth1 = 2;
    c.FPenWidth2 = 5;
    c.FPenWidth3 = 8;
    c.FPenWidth4 = 9;
    c.Path = "/srv/lessons/recordings";
    c.Type = 2;
    c.Name = true;
    c.Check = true;
    c.CamDevice = "Integrated Camera";
    c.ViewPos = 2;
    c.VideoRatio = 3;
    c.VideoPreset = 1;
    c.VideoQuality = 0;
    c.VideoFrameRate = 4;
    c.AudioQuality = 2;
    c.AudioBitRate = 4;
    c.ScreenPreset = 0;
    c.ScreenQuality = 1;
    c.ScreenFrameRate = 2;
    c.ID = "teacher";
    c.SaveID = 1;
    c.Server = "lectures.example.org";
    c.Port = "6000";
    return c;
}

}  // namespace

class ConfigDlgTest : public QObject
{
    Q_OBJECT

private:
    LanguageTexts m_texts;
    QString m_languageFolder;
    QStringList m_cameras;
    QStringList m_microphones;

    std::unique_ptr<ConfigDlg> MakeDialog(bool recording = true, int screens = 2);
    template <typename T>
    T* Child(ConfigDlg& dialog, const QString& name);
    ConfigInfomation Confirm(ConfigDlg& dialog);

private slots:
    void initTestCase();
    void init();
    void formWidgets_data();
    void formWidgets();
    void formProperties();
    void pagesWithoutRecording();
    void oneScreenDisablesDualButKeepsItsValue();
    void recordGoesThroughUnchanged_data();
    void recordGoesThroughUnchanged();
    void recordFillsTheWidgets();
    void editedWidgetsReachTheRecord();
    void penWidthSteps_data();
    void penWidthSteps();
    void recordingTypeEnablesControls_data();
    void recordingTypeEnablesControls();
    void recordingDefaults();
    void resetAsksThenAnnounces();
    void languageChangeAsks();
    void languageBoxShowsTheLanguageInUse_data();
    void languageBoxShowsTheLanguageInUse();
    void cameraAndMicrophoneChoice();
    void emptyCameraListSavesNoCamera();
    void masterModeSpotNeedsADoubleClick();
    void everyCloseAnnouncesThePlacement();
    void choosersStartWhereTheyShould();
    void volumeSlidersFollowTheMixer();
};

std::unique_ptr<ConfigDlg> ConfigDlgTest::MakeDialog(bool recording, int screens)
{
    auto dialog = std::make_unique<ConfigDlg>();
    dialog->InitDialog(screens, m_languageFolder, 1, &m_cameras, &m_microphones, recording);
    dialog->SetLanguageText(&m_texts.common, &m_texts.config, &m_texts.menu, recording);
    return dialog;
}

template <typename T>
T* ConfigDlgTest::Child(ConfigDlg& dialog, const QString& name)
{
    T* child = dialog.findChild<T*>(name);
    if (!child)
        qWarning() << "missing" << name;
    return child;
}

ConfigInfomation ConfigDlgTest::Confirm(ConfigDlg& dialog)
{
    QSignalSpy saved(&dialog, &ConfigDlg::CallSaveConfigData);
    Child<QPushButton>(dialog, "okbtn")->click();
    if (saved.size() != 1)
        return ConfigInfomation();
    return saved.at(0).at(0).value<ConfigInfomation>();
}

void ConfigDlgTest::initTestCase()
{
    qputenv("DRAVIK_NO_MODAL", "1");
    // No real mixer is ever touched by these tests.
    qputenv("DRAVIK_MIXER", "/nonexistent/amixer");
    qInstallMessageHandler(CollectLog);
    m_languageFolder = BuiltProgramFolder() + "/Language/";
    m_texts = ReadLanguageFile(m_languageFolder + "ENU.lng");
    QVERIFY(!m_texts.config.value(0).isEmpty());
}

void ConfigDlgTest::init()
{
    g_log.clear();
    m_cameras = kCameras;
    m_microphones = kMicrophones;
}

void ConfigDlgTest::formWidgets_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    auto row = [](const char* name, const char* cls, const char* parent, QRect r) {
        QTest::newRow(name) << QString(cls) << QString(parent) << r;
    };
    row("tabwidget", "QTabWidget", "ConfigDlg", QRect(0, 0, 451, 481));
    row("keybtn", "QPushButton", "ConfigDlg", QRect(10, 490, 40, 20));
    row("Btn_Init", "QPushButton", "ConfigDlg", QRect(70, 490, 100, 23));
    row("okbtn", "QPushButton", "ConfigDlg", QRect(210, 490, 120, 23));
    row("cancelbtn", "QPushButton", "ConfigDlg", QRect(330, 490, 120, 23));

    row("folder_group", "QGroupBox", "folder", QRect(10, 10, 421, 110));
    row("folder_txt", "QLabel", "folder_group", QRect(15, 25, 391, 20));
    row("folder_edit", "QLineEdit", "folder_group", QRect(15, 50, 346, 24));
    row("folder_pathbtn", "QPushButton", "folder_group", QRect(366, 50, 40, 24));
    row("folder_group2", "QGroupBox", "folder", QRect(10, 130, 421, 110));
    row("rec_SavePathL", "QLabel", "folder_group2", QRect(15, 25, 391, 20));
    row("rec_SavePathE", "QLineEdit", "folder_group2", QRect(15, 50, 346, 24));
    row("rec_SavePathT", "QToolButton", "folder_group2", QRect(366, 50, 40, 24));

    row("pen_group", "QGroupBox", "pen", QRect(10, 10, 421, 200));
    for (int n = 1; n <= 4; ++n) {
        const int y = 35 + (n - 1) * 40;
        const QByteArray i = QByteArray::number(n);
        row(("pen_label_width" + i).constData(), "QLabel", "pen_group", QRect(15, y, 140, 20));
        row(("pen_left_width" + i).constData(), "QToolButton", "pen_group", QRect(165, y, 24, 20));
        row(("pen_text_width" + i).constData(), "QTextEdit", "pen_group", QRect(195, y, 100, 20));
        row(("pen_right_width" + i).constData(), "QToolButton", "pen_group", QRect(301, y, 24, 20));
    }

    row("note_group", "QGroupBox", "note", QRect(10, 10, 421, 310));
    row("note_colortxt", "QLabel", "note_group", QRect(15, 28, 130, 20));
    row("note_colorcombo", "QComboBox", "note_group", QRect(150, 26, 200, 24));
    row("line1", "QFrame", "note_group", QRect(15, 60, 391, 3));
    row("note_bgtxt", "QLabel", "note_group", QRect(15, 70, 391, 20));
    row("note_bgedit", "QLineEdit", "note_group", QRect(15, 94, 300, 24));
    row("note_bgbtn", "QPushButton", "note_group", QRect(320, 94, 40, 24));
    row("note_bgdel", "QPushButton", "note_group", QRect(366, 94, 24, 24));
    row("note_bgtrans_txt", "QLabel", "note_group", QRect(15, 126, 391, 20));
    row("note_txt1", "QLabel", "note_group", QRect(15, 150, 25, 20));
    row("note_bgslider", "QSlider", "note_group", QRect(40, 150, 290, 20));
    row("note_txt2", "QLabel", "note_group", QRect(335, 150, 30, 20));
    row("note_bgtrans_val", "QLabel", "note_group", QRect(370, 150, 36, 20));
    row("note_logotxt", "QLabel", "note_group", QRect(15, 190, 391, 20));
    row("note_logoedit", "QLineEdit", "note_group", QRect(15, 214, 300, 24));
    row("note_logobtn", "QPushButton", "note_group", QRect(320, 214, 40, 24));
    row("note_logodel", "QPushButton", "note_group", QRect(366, 214, 24, 24));
    row("note_logotrans_txt", "QLabel", "note_group", QRect(15, 246, 391, 20));
    row("note_txt1_2", "QLabel", "note_group", QRect(15, 270, 25, 20));
    row("note_logoslider", "QSlider", "note_group", QRect(40, 270, 290, 20));
    row("note_txt2_2", "QLabel", "note_group", QRect(335, 270, 30, 20));
    row("note_logotrans_val", "QLabel", "note_group", QRect(370, 270, 36, 20));

    row("dual_group", "QGroupBox", "dual", QRect(10, 10, 421, 70));
    row("dual_check", "QCheckBox", "dual_group", QRect(15, 30, 391, 22));
    row("dual_txt", "QLabel", "dual", QRect(15, 90, 411, 60));

    row("rec_group", "QGroupBox", "rec", QRect(10, 6, 421, 440));
    row("rec_FileNameC", "QCheckBox", "rec_group", QRect(15, 50, 391, 20));
    row("rec_DialogC", "QCheckBox", "rec_group", QRect(15, 72, 391, 20));
    row("rec_InitB", "QPushButton", "rec_group", QRect(256, 395, 150, 24));
    row("line1_2", "QFrame", "rec_group", QRect(15, 96, 391, 3));
    row("line1_3", "QFrame", "rec_group", QRect(15, 236, 391, 3));
    row("line1_4", "QFrame", "rec_group", QRect(15, 324, 391, 3));
    const struct {
        const char* label;
        const char* combo;
        int y;
    } recordingRows[] = {
        {"rec_typeL", "rec_typeC", 25},
        {"rec_camdeviceL", "rec_camdeviceC", 105},
        {"rec_viewlocationL", "rec_viewlocationC", 131},
        {"rec_ratioL", "rec_ratioC", 157},
        {"rec_videoqualityL", "rec_videoqualityC", 183},
        {"rec_videoframerateL", "rec_videoframerateC", 209},
        {"rec_audiodeviceL", "rec_audiodeviceC", 245},
        {"rec_audioqualityL", "rec_audioqualityC", 271},
        {"rec_bitrateL", "rec_bitrateC", 297},
        {"rec_screenqualityL", "rec_screenqualityC", 333},
        {"rec_screenframerateL", "rec_screenframerateC", 359},
        {"rec_presetL", "rec_presetC", 410},
        {"rec_screenpresetL", "rec_screenpresetC", 410},
    };
    for (const auto& r : recordingRows) {
        row(r.label, "QLabel", "rec_group", QRect(15, r.y, 165, 20));
        row(r.combo, "QComboBox", "rec_group", QRect(185, r.y - 1, 221, 22));
    }

    row("upload_groupBox", "QGroupBox", "Upload_contents", QRect(10, 10, 421, 110));
    row("upload_label_Server", "QLabel", "upload_groupBox", QRect(15, 32, 60, 20));
    row("upload_lineEditID_Server", "QLineEdit", "upload_groupBox", QRect(80, 30, 326, 24));
    row("upload_label_Port", "QLabel", "upload_groupBox", QRect(15, 68, 60, 20));
    row("upload_lineEditID_Port", "QLineEdit", "upload_groupBox", QRect(80, 66, 100, 24));

    row("Volume_GroupBox", "QGroupBox", "tab", QRect(10, 10, 421, 120));
    row("Sound_Volume_label", "QLabel", "Volume_GroupBox", QRect(15, 34, 100, 20));
    row("horizontalSlider_Sound", "QSlider", "Volume_GroupBox", QRect(120, 34, 240, 20));
    row("label_spkValue", "QLabel", "Volume_GroupBox", QRect(370, 34, 36, 20));
    row("Mic_Volume_label", "QLabel", "Volume_GroupBox", QRect(15, 74, 100, 20));
    row("horizontalSlider_Mic", "QSlider", "Volume_GroupBox", QRect(120, 74, 240, 20));
    row("label_micValue", "QLabel", "Volume_GroupBox", QRect(370, 74, 36, 20));

    row("opt_group1", "QGroupBox", "opt", QRect(10, 10, 421, 120));
    row("opt_clearcheck", "QCheckBox", "opt_group1", QRect(15, 34, 20, 20));
    row("opt_clearlabel", "QLabel", "opt_group1", QRect(40, 26, 366, 36));
    row("opt_cursorcheck", "QCheckBox", "opt_group1", QRect(15, 78, 20, 20));
    row("opt_cursorlabel", "QLabel", "opt_group1", QRect(40, 70, 366, 36));
    row("opt_group2", "QGroupBox", "opt", QRect(10, 140, 421, 70));
    row("opt_toolpos_save", "QCheckBox", "opt_group2", QRect(15, 34, 20, 20));
    row("opt_toolposlabel", "QLabel", "opt_group2", QRect(40, 28, 366, 32));
    row("opt_group3", "QGroupBox", "opt", QRect(10, 220, 421, 120));
    row("opt_langcombo", "QComboBox", "opt_group3", QRect(15, 30, 250, 24));
    row("opt_txt", "QLabel", "opt_group3", QRect(15, 64, 391, 44));

    row("info_frame", "QFrame", "info", QRect(30, 35, 391, 91));
    row("info_verson", "QLabel", "info", QRect(30, 145, 391, 30));
    row("info_website", "QLabel", "info", QRect(30, 190, 391, 20));
    row("info_updatebtn", "QPushButton", "info", QRect(160, 235, 131, 28));
    row("label_MasterMode", "QLabel", "info", QRect(180, 300, 101, 20));
}

void ConfigDlgTest::formWidgets()
{
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    auto dialog = MakeDialog();
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QList<QWidget*> found = dialog->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(QString(found.first()->metaObject()->className()), className);
    QCOMPARE(found.first()->parentWidget()->objectName(), parentName);
    QCOMPARE(found.first()->geometry(), geometry);
}

void ConfigDlgTest::formProperties()
{
    auto dialog = MakeDialog();
    QCOMPARE(dialog->objectName(), QString("ConfigDlg"));
    QCOMPARE(dialog->minimumSize(), QSize(452, 520));
    QCOMPARE(dialog->maximumSize(), QSize(452, 520));
    QVERIFY(dialog->isModal());
    QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(dialog->windowTitle(), QString("Settings"));
    QCOMPARE(dialog->font().family(), QString("Tahoma"));

    auto* tabs = Child<QTabWidget>(*dialog, "tabwidget");
    QCOMPARE(tabs->tabPosition(), QTabWidget::North);
    QCOMPARE(tabs->elideMode(), Qt::ElideNone);
    QVERIFY(tabs->usesScrollButtons());
    QVERIFY(!tabs->isMovable() && !tabs->tabsClosable());
    QCOMPARE(tabs->currentIndex(), 0);
    const QStringList pageNames = {"folder", "pen", "note", "dual", "rec", "Upload_contents", "tab", "opt", "info"};
    const QList<int> tabKeys = {301, 342, 312, 315, 319, 375, 324, 332, 323};
    QCOMPARE(tabs->count(), pageNames.size());
    for (int i = 0; i < tabs->count(); ++i) {
        QCOMPARE(tabs->widget(i)->objectName(), pageNames.at(i));
        const QString text = m_texts.config.value(LanguageKeyPosition("Config", tabKeys.at(i)));
        QVERIFY(!text.isEmpty());
        QCOMPARE(tabs->tabText(i), text);
        QCOMPARE(tabs->tabToolTip(i), text);
    }

    // Captions from the three text lists, literals from the form.
    QCOMPARE(Child<QPushButton>(*dialog, "okbtn")->text(), QString("OK"));
    QCOMPARE(Child<QPushButton>(*dialog, "cancelbtn")->text(), QString("Cancel"));
    QCOMPARE(Child<QGroupBox>(*dialog, "opt_group3")->title(), QString("Language"));
    QCOMPARE(Child<QLabel>(*dialog, "pen_label_width3")->text(), QString("Pen width 3"));
    QCOMPARE(Child<QLabel>(*dialog, "rec_bitrateL")->text(),
             m_texts.config.value(LanguageKeyPosition("Config", 401)));
    QCOMPARE(Child<QPushButton>(*dialog, "folder_pathbtn")->text(), QString("..."));
    QCOMPARE(Child<QPushButton>(*dialog, "note_logobtn")->text(), QString(".."));
    QCOMPARE(Child<QPushButton>(*dialog, "info_updatebtn")->text(), QString("Update"));
    QCOMPARE(Child<QLabel>(*dialog, "upload_label_Port")->text(), QString("Port"));
    QCOMPARE(Child<QLabel>(*dialog, "note_bgtrans_val")->text(), QString("255"));
    QCOMPARE(Child<QLabel>(*dialog, "label_MasterMode")->text(), QString());
    QCOMPARE(Child<QLabel>(*dialog, "info_website")->text(),
             QString("<a href=\"http://www.norvane.com/\">http://www.norvane.com</a>"));
    QVERIFY(Child<QLabel>(*dialog, "info_website")->openExternalLinks());
    QVERIFY(!Child<QLabel>(*dialog, "opt_txt")->isEnabled());
    QCOMPARE(Child<QLabel>(*dialog, "info_verson")->font().pointSize(), 16);

    for (const char* name : {"okbtn", "cancelbtn", "keybtn", "folder_pathbtn", "info_updatebtn"})
        QCOMPARE(Child<QWidget>(*dialog, name)->focusPolicy(), Qt::NoFocus);
    for (const char* name : {"folder_edit", "rec_SavePathE", "note_bgedit", "note_logoedit"})
        QVERIFY(Child<QLineEdit>(*dialog, name)->isReadOnly());
    QCOMPARE(Child<QSlider>(*dialog, "note_logoslider")->maximum(), 255);
    QCOMPARE(Child<QSlider>(*dialog, "horizontalSlider_Mic")->maximum(), 100);
    QVERIFY(Child<QPushButton>(*dialog, "keybtn")->styleSheet().contains("url(:/Config/keypress)"));
    QVERIFY(!QPixmap(":/Config/about").isNull());

    // The list entries.
    auto* colors = Child<QComboBox>(*dialog, "note_colorcombo");
    QCOMPARE(colors->count(), 18);
    QCOMPARE(colors->itemText(0), QString("white"));
    QCOMPARE(colors->itemText(17), QString("blackboard color"));
    const QImage swatch = colors->itemIcon(17).pixmap(32, 16).toImage();
    QCOMPARE(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), QColor(25, 74, 57));
    auto* languages = Child<QComboBox>(*dialog, "opt_langcombo");
    QCOMPARE(languages->count(), 24);
    QCOMPARE(languages->itemText(1), QString("English"));
    QCOMPARE(languages->currentIndex(), 1);
    auto* types = Child<QComboBox>(*dialog, "rec_typeC");
    QCOMPARE(types->count(), 4);
    QCOMPARE(types->itemText(3), m_texts.config.value(LanguageKeyPosition("Config", 359)));
    QCOMPARE(Child<QComboBox>(*dialog, "rec_ratioC")->itemText(3), QString("1920x1080 [Full HD]"));
    QCOMPARE(Child<QComboBox>(*dialog, "rec_bitrateC")->count(), 5);
    QCOMPARE(Child<QComboBox>(*dialog, "rec_screenframerateC")->itemText(5), QString("30"));
    QCOMPARE(Child<QComboBox>(*dialog, "rec_camdeviceC")->count(), 2);
    QCOMPARE(Child<QComboBox>(*dialog, "rec_audiodeviceC")->itemText(1), QString("Headset"));
    for (const char* name : {"rec_presetL", "rec_presetC", "rec_screenpresetL", "rec_screenpresetC"})
        QVERIFY(Child<QWidget>(*dialog, name)->isHidden());

    // A second caption pass does not add the entries again.
    dialog->SetLanguageText(&m_texts.common, &m_texts.config, &m_texts.menu, true);
    QCOMPARE(types->count(), 4);
    QCOMPARE(Child<QComboBox>(*dialog, "rec_videoqualityC")->count(), 3);
}

void ConfigDlgTest::pagesWithoutRecording()
{
    auto dialog = MakeDialog(false);
    auto* tabs = Child<QTabWidget>(*dialog, "tabwidget");
    QCOMPARE(tabs->count(), 8);
    const QStringList pageNames = {"folder", "pen", "note", "dual", "Upload_contents", "tab", "opt", "info"};
    const QList<int> tabKeys = {301, 342, 312, 315, 375, 324, 332, 323};
    for (int i = 0; i < tabs->count(); ++i) {
        QCOMPARE(tabs->widget(i)->objectName(), pageNames.at(i));
        QCOMPARE(tabs->tabText(i), m_texts.config.value(LanguageKeyPosition("Config", tabKeys.at(i))));
    }
    // The recording values still travel through the dialog.
    const ConfigInfomation sent = SampleRecord();
    dialog->SetConfigData(sent);
    const ConfigInfomation back = Confirm(*dialog);
    QCOMPARE(back.Type, sent.Type);
    QCOMPARE(back.ScreenFrameRate, sent.ScreenFrameRate);
    QCOMPARE(back.Path, sent.Path);
}

void ConfigDlgTest::oneScreenDisablesDualButKeepsItsValue()
{
    auto dialog = MakeDialog(true, 1);
    auto* dual = Child<QCheckBox>(*dialog, "dual_check");
    QVERIFY(!dual->isEnabled());
    ConfigInfomation sent = SampleRecord();
    sent.dual = true;
    dialog->SetConfigData(sent);
    QVERIFY(dual->isChecked());
    QCOMPARE(Confirm(*dialog).dual, true);
    QVERIFY(MakeDialog(true, 2)->findChild<QCheckBox*>("dual_check")->isEnabled());
}

void ConfigDlgTest::recordGoesThroughUnchanged_data()
{
    QTest::addColumn<ConfigInfomation>("sent");
    QTest::addColumn<ConfigInfomation>("expected");

    const ConfigInfomation sample = SampleRecord();
    QTest::newRow("every field set") << sample << sample;

    ConfigInfomation outOfRange = sample;
    outOfRange.Type = 7;
    outOfRange.VideoRatio = 4;
    outOfRange.AudioBitRate = -3;
    outOfRange.language = 30;
    ConfigInfomation outOfRangeBack = outOfRange;
    outOfRangeBack.Type = -1;
    outOfRangeBack.VideoRatio = -1;
    outOfRangeBack.AudioBitRate = -1;
    // A language index past the table runs the default language, which the
    // box shows and a confirmation stores.
    outOfRangeBack.language = 1;
    QTest::newRow("indexes outside the lists come back as -1") << outOfRange << outOfRangeBack;

    ConfigInfomation noLanguage = sample;
    noLanguage.language = -1;
    QTest::newRow("no language chosen") << noLanguage << noLanguage;

    ConfigInfomation blackboard = sample;
    blackboard.color = "blackboard color";
    QTest::newRow("black board") << blackboard << blackboard;

    ConfigInfomation oddWidths = sample;
    oddWidths.FPenWidth1 = 0;
    oddWidths.FPenWidth4 = 15;
    QTest::newRow("widths are not clamped on the way in") << oddWidths << oddWidths;

    // The board colour combo starts on "white" and keeps what it shows.
    ConfigInfomation unknownColor = sample;
    unknownColor.color = "Teal";
    ConfigInfomation unknownColorBack = unknownColor;
    unknownColorBack.color = "white";
    QTest::newRow("an unknown colour keeps the shown one") << unknownColor << unknownColorBack;

    ConfigInfomation otherCamera = sample;
    otherCamera.CamDevice = "Gone Camera";
    ConfigInfomation otherCameraBack = otherCamera;
    otherCameraBack.CamDevice = "Integrated Camera";
    QTest::newRow("the camera is the chosen entry") << otherCamera << otherCameraBack;
}

void ConfigDlgTest::recordGoesThroughUnchanged()
{
    QFETCH(ConfigInfomation, sent);
    QFETCH(ConfigInfomation, expected);
    auto dialog = MakeDialog();
    dialog->show();
    dialog->SetConfigData(sent);
    QSignalSpy camera(dialog.get(), &ConfigDlg::CallChangedCam);
    const ConfigInfomation back = Confirm(*dialog);
    QCOMPARE(Fields(back), Fields(expected));
    QCOMPARE(camera.size(), 1);
    QCOMPARE(camera.at(0).at(0).toString(), expected.CamDevice);
    QVERIFY(dialog->isHidden());
}

void ConfigDlgTest::recordFillsTheWidgets()
{
    auto dialog = MakeDialog();
    const ConfigInfomation sent = SampleRecord();
    dialog->SetConfigData(sent);
    QCOMPARE(Child<QLineEdit>(*dialog, "folder_edit")->text(), sent.proj);
    QCOMPARE(Child<QLineEdit>(*dialog, "rec_SavePathE")->text(), sent.Path);
    QCOMPARE(Child<QComboBox>(*dialog, "note_colorcombo")->currentText(), QString("teal"));
    QCOMPARE(Child<QLineEdit>(*dialog, "note_bgedit")->text(), sent.bgfile);
    QCOMPARE(Child<QSlider>(*dialog, "note_bgslider")->value(), 200);
    QCOMPARE(Child<QLabel>(*dialog, "note_bgtrans_val")->text(), QString("200"));
    QCOMPARE(Child<QLabel>(*dialog, "note_logotrans_val")->text(), QString("17"));
    QCOMPARE(Child<QTextEdit>(*dialog, "pen_text_width4")->toPlainText(), QString("9"));
    QCOMPARE(Child<QComboBox>(*dialog, "rec_typeC")->currentIndex(), 2);
    QCOMPARE(Child<QComboBox>(*dialog, "rec_bitrateC")->currentText(), QString("320"));
    QCOMPARE(Child<QComboBox>(*dialog, "rec_presetC")->currentIndex(), 1);
    QVERIFY(Child<QCheckBox>(*dialog, "rec_FileNameC")->isChecked());
    QVERIFY(!Child<QCheckBox>(*dialog, "opt_cursorcheck")->isChecked());
    QCOMPARE(Child<QLineEdit>(*dialog, "upload_lineEditID_Port")->text(), QString("6000"));
    QCOMPARE(Child<QLabel>(*dialog, "info_verson")->text(), QString("Version : 5.0.0.32"));
    QCOMPARE(Child<QFrame>(*dialog, "info_frame")->styleSheet(), QString("border-image: url(:/Config/about);"));
}

void ConfigDlgTest::editedWidgetsReachTheRecord()
{
    auto dialog = MakeDialog();
    dialog->show();
    const ConfigInfomation sent = SampleRecord();
    dialog->SetConfigData(sent);

    Child<QComboBox>(*dialog, "note_colorcombo")->setCurrentText("navy");
    Child<QPushButton>(*dialog, "note_logodel")->click();
    Child<QSlider>(*dialog, "note_bgslider")->setValue(12);
    Child<QCheckBox>(*dialog, "opt_clearcheck")->setChecked(false);
    Child<QCheckBox>(*dialog, "opt_cursorcheck")->setChecked(true);
    Child<QCheckBox>(*dialog, "rec_DialogC")->setChecked(false);
    Child<QComboBox>(*dialog, "rec_typeC")->setCurrentIndex(0);
    Child<QComboBox>(*dialog, "rec_screenqualityC")->setCurrentIndex(2);
    Child<QComboBox>(*dialog, "rec_camdeviceC")->setCurrentIndex(1);
    Child<QComboBox>(*dialog, "opt_langcombo")->setCurrentIndex(2);
    Child<QToolButton>(*dialog, "pen_right_width1")->click();
    QLineEdit* server = Child<QLineEdit>(*dialog, "upload_lineEditID_Server");
    server->selectAll();
    QTest::keyClicks(server, "upload.school.test");

    ConfigInfomation expected = sent;
    expected.color = "navy";
    expected.logofile.clear();
    expected.bgtrans = 12;
    expected.erase = false;
    expected.cursor = true;
    expected.Check = false;
    expected.Type = 0;
    expected.ScreenQuality = 2;
    expected.CamDevice = "USB Video";
    expected.language = 2;
    expected.FPenWidth1 = 3;
    expected.Server = "upload.school.test";
    QCOMPARE(Fields(Confirm(*dialog)), Fields(expected));
}

void ConfigDlgTest::penWidthSteps_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("presses");  // negative: the left arrow
    QTest::addColumn<int>("expected");
    QTest::newRow("1 does not fall") << 1 << -1 << 1;
    QTest::newRow("10 does not rise") << 10 << 1 << 10;
    QTest::newRow("up to the top and no further") << 4 << 9 << 10;
    QTest::newRow("down to the bottom and no further") << 7 << -9 << 1;
    QTest::newRow("one step each way") << 5 << -1 << 4;
    // Widths from a hand-edited file are shown as they are; the arrows only
    // bring them back toward the range, never further out.
    QTest::newRow("0 does not fall below") << 0 << -3 << 0;
    QTest::newRow("0 rises into the range") << 0 << 1 << 1;
    QTest::newRow("12 does not rise") << 12 << 2 << 12;
    QTest::newRow("12 falls into the range") << 12 << -2 << 10;
}

void ConfigDlgTest::penWidthSteps()
{
    QFETCH(int, start);
    QFETCH(int, presses);
    QFETCH(int, expected);
    auto dialog = MakeDialog();
    ConfigInfomation sent = SampleRecord();
    sent.FPenWidth1 = sent.FPenWidth2 = sent.FPenWidth3 = sent.FPenWidth4 = start;
    dialog->SetConfigData(sent);
    for (int row = 1; row <= 4; ++row) {
        const QString button = QString(presses < 0 ? "pen_left_width%1" : "pen_right_width%1").arg(row);
        for (int i = 0; i < qAbs(presses); ++i)
            Child<QToolButton>(*dialog, button)->click();
        QCOMPARE(Child<QTextEdit>(*dialog, QString("pen_text_width%1").arg(row))->toPlainText(),
                 QString::number(expected));
    }
    const ConfigInfomation back = Confirm(*dialog);
    QCOMPARE(QList<int>({back.FPenWidth1, back.FPenWidth2, back.FPenWidth3, back.FPenWidth4}),
             QList<int>({expected, expected, expected, expected}));
}

void ConfigDlgTest::recordingTypeEnablesControls_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("camera");
    QTest::addColumn<bool>("audio");
    QTest::addColumn<bool>("screen");
    QTest::newRow("camera video") << 0 << true << true << false;
    QTest::newRow("sound only") << 1 << false << true << false;
    QTest::newRow("screen video") << 2 << false << true << true;
    QTest::newRow("ask each time") << 3 << true << true << true;
}

void ConfigDlgTest::recordingTypeEnablesControls()
{
    QFETCH(int, type);
    QFETCH(bool, camera);
    QFETCH(bool, audio);
    QFETCH(bool, screen);
    const QStringList cameraGroup = {"rec_camdeviceC", "rec_viewlocationC", "rec_ratioC", "rec_presetC",
                                     "rec_videoqualityC", "rec_videoframerateC"};
    const QStringList audioGroup = {"rec_audiodeviceC", "rec_audioqualityC", "rec_bitrateC"};
    const QStringList screenGroup = {"rec_screenpresetC", "rec_screenqualityC", "rec_screenframerateC"};
    auto check = [&](ConfigDlg& dialog, bool cam, bool aud, bool scr) {
        for (const QString& name : cameraGroup)
            QCOMPARE(Child<QWidget>(dialog, name)->isEnabled(), cam);
        for (const QString& name : audioGroup)
            QCOMPARE(Child<QWidget>(dialog, name)->isEnabled(), aud);
        for (const QString& name : screenGroup)
            QCOMPARE(Child<QWidget>(dialog, name)->isEnabled(), scr);
        QVERIFY(Child<QWidget>(dialog, "rec_camdeviceL")->isEnabled());
    };
    auto dialog = MakeDialog();
    // Start from the opposite of each type so every control has to change.
    Child<QComboBox>(*dialog, "rec_typeC")->setCurrentIndex(type == 3 ? 1 : 3);
    Child<QComboBox>(*dialog, "rec_typeC")->setCurrentIndex(type);
    check(*dialog, camera, audio, screen);

    // A type outside the list selects nothing and leaves the controls alone.
    ConfigInfomation sent = SampleRecord();
    sent.Type = 9;
    dialog->SetConfigData(sent);
    QCOMPARE(Child<QComboBox>(*dialog, "rec_typeC")->currentIndex(), -1);
    check(*dialog, camera, audio, screen);
}

void ConfigDlgTest::recordingDefaults()
{
    auto dialog = MakeDialog();
    ConfigInfomation sent = SampleRecord();
    dialog->SetConfigData(sent);
    Child<QPushButton>(*dialog, "rec_InitB")->click();
    const ConfigInfomation back = Confirm(*dialog);
    QCOMPARE(QList<int>({back.Type, back.ViewPos, back.VideoRatio, back.VideoPreset, back.VideoQuality,
                         back.VideoFrameRate, back.AudioQuality, back.AudioBitRate, back.ScreenPreset,
                         back.ScreenQuality, back.ScreenFrameRate}),
             QList<int>({3, 0, 1, 2, 1, 5, 1, 1, 1, 1, 5}));
    // Nothing else on the page is touched.
    QCOMPARE(back.Name, sent.Name);
    QCOMPARE(back.Path, sent.Path);
    QCOMPARE(back.CamDevice, sent.CamDevice);
}

void ConfigDlgTest::resetAsksThenAnnounces()
{
    auto dialog = MakeDialog();
    dialog->SetConfigData(SampleRecord());
    QSignalSpy reset(dialog.get(), &ConfigDlg::Config_Init);
    QSignalSpy saved(dialog.get(), &ConfigDlg::CallSaveConfigData);
    Child<QPushButton>(*dialog, "Btn_Init")->click();
    QCOMPARE(g_log.filter("message box question: Confirm | Do you want to reset all settings").size(), 1);
    QCOMPARE(reset.size(), 1);
    QCOMPARE(saved.size(), 0);
}

// With no language chosen the program follows the system; the box shows
// that language instead of nothing, and a confirmation leaves the setting
// following the system.
void ConfigDlgTest::languageBoxShowsTheLanguageInUse_data()
{
    QTest::addColumn<QLocale>("system");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    const QLocale german(QLocale::German, QLocale::Germany);
    int germanIndex = -1;
    LanguageCodeForLocale(german, &germanIndex);
    QVERIFY(germanIndex >= 0 && germanIndex != 1);
    QTest::newRow("German system, none chosen") << german << -1 << germanIndex;
    QTest::newRow("English system, none chosen") << QLocale(QLocale::English, QLocale::UnitedStates) << -1 << 1;
    QTest::newRow("German system, English chosen") << german << 1 << 1;
}

void ConfigDlgTest::languageBoxShowsTheLanguageInUse()
{
    QFETCH(QLocale, system);
    QFETCH(int, stored);
    QFETCH(int, shown);
    const QLocale before;
    QLocale::setDefault(system);

    auto dialog = std::make_unique<ConfigDlg>();
    dialog->InitDialog(2, m_languageFolder, stored, &m_cameras, &m_microphones, true);
    dialog->SetLanguageText(&m_texts.common, &m_texts.config, &m_texts.menu, true);
    ConfigInfomation record = SampleRecord();
    record.language = stored;
    dialog->SetConfigData(record);
    auto* languages = Child<QComboBox>(*dialog, "opt_langcombo");
    QCOMPARE(languages->currentIndex(), shown);
    QVERIFY(!languages->currentText().isEmpty());
    // Showing the setting asked no question.
    QVERIFY(!g_log.join('\n').contains("message box"));
    QCOMPARE(Confirm(*dialog).language, stored);
    QLocale::setDefault(before);
}

void ConfigDlgTest::languageChangeAsks()
{
    auto dialog = MakeDialog();
    ConfigInfomation sent = SampleRecord();
    dialog->SetConfigData(sent);
    QVERIFY(g_log.filter("message box question").isEmpty());
    sent.language = 2;
    dialog->SetConfigData(sent);
    QCOMPARE(g_log.filter("message box question: Confirm | The change takes effect the next time").size(), 1);
    Child<QComboBox>(*dialog, "opt_langcombo")->setCurrentIndex(0);
    QCOMPARE(g_log.filter("message box question").size(), 2);
}

void ConfigDlgTest::cameraAndMicrophoneChoice()
{
    auto dialog = MakeDialog();
    QSignalSpy camera(dialog.get(), &ConfigDlg::CallChangedCam);
    QSignalSpy microphone(dialog.get(), &ConfigDlg::CallChangedMic);

    dialog->SetCamIndex(1);
    QCOMPARE(camera.size(), 2);
    QCOMPARE(camera.at(0).at(0).toString(), QString("USB Video"));
    QCOMPARE(camera.at(1).at(0).toString(), QString("USB Video"));
    dialog->SetCamIndex(1);
    QCOMPARE(camera.size(), 3);

    Child<QComboBox>(*dialog, "rec_camdeviceC")->setCurrentIndex(0);
    QCOMPARE(camera.size(), 4);
    QCOMPARE(camera.last().at(0).toString(), QString("Integrated Camera"));
    Child<QComboBox>(*dialog, "rec_audiodeviceC")->setCurrentIndex(1);
    QCOMPARE(microphone.size(), 1);
    QCOMPARE(microphone.at(0).at(0).toString(), QString("Headset"));
}

void ConfigDlgTest::emptyCameraListSavesNoCamera()
{
    m_cameras.clear();
    auto dialog = MakeDialog();
    dialog->SetConfigData(SampleRecord());
    QSignalSpy camera(dialog.get(), &ConfigDlg::CallChangedCam);
    const ConfigInfomation back = Confirm(*dialog);
    QCOMPARE(back.CamDevice, QString());
    QCOMPARE(camera.size(), 1);
    QCOMPARE(camera.at(0).at(0).toString(), QString());
}

void ConfigDlgTest::masterModeSpotNeedsADoubleClick()
{
    auto dialog = MakeDialog();
    dialog->show();
    Child<QTabWidget>(*dialog, "tabwidget")->setCurrentIndex(8);
    QSignalSpy master(dialog.get(), &ConfigDlg::Call_MasterDlg);
    QLabel* spot = Child<QLabel>(*dialog, "label_MasterMode");
    QTest::mouseClick(spot, Qt::LeftButton);
    QCOMPARE(master.size(), 0);
    QTest::mouseDClick(spot, Qt::LeftButton);
    QCOMPARE(master.size(), 1);
    QTest::mouseDClick(Child<QLabel>(*dialog, "info_verson"), Qt::LeftButton);
    QCOMPARE(master.size(), 1);
}

void ConfigDlgTest::everyCloseAnnouncesThePlacement()
{
    auto dialog = MakeDialog();
    QSignalSpy placed(dialog.get(), &ConfigDlg::configdlg_setPos);
    QSignalSpy saved(dialog.get(), &ConfigDlg::CallSaveConfigData);
    QSignalSpy keyboard(dialog.get(), &ConfigDlg::CallVirtualKeyboard);
    QSignalSpy update(dialog.get(), &ConfigDlg::SavePrj_Update);
    dialog->show();
    Child<QPushButton>(*dialog, "cancelbtn")->click();
    QVERIFY(dialog->isHidden());
    QCOMPARE(placed.size(), 1);
    QCOMPARE(saved.size(), 0);
    dialog->show();
    Child<QPushButton>(*dialog, "okbtn")->click();
    QCOMPARE(placed.size(), 2);
    QCOMPARE(saved.size(), 1);

    Child<QPushButton>(*dialog, "keybtn")->click();
    QCOMPARE(keyboard.size(), 1);
    Child<QPushButton>(*dialog, "info_updatebtn")->click();
    QCOMPARE(update.size(), 1);
    dialog->SetUpdateBtnEnabled(false);
    QVERIFY(!Child<QPushButton>(*dialog, "info_updatebtn")->isEnabled());
}

void ConfigDlgTest::choosersStartWhereTheyShould()
{
    auto dialog = MakeDialog();
    dialog->SetConfigData(SampleRecord());
    Child<QPushButton>(*dialog, "folder_pathbtn")->click();
    Child<QToolButton>(*dialog, "rec_SavePathT")->click();
    QCOMPARE(g_log.filter("folder dialog: Select Folder"),
             QStringList({"folder dialog: Select Folder | /srv/lessons/projects",
                          "folder dialog: Select Folder | /srv/lessons/recordings"}));
    // The target is cleared with the chooser: a late answer lands nowhere.
    dialog->SetProjectFoloder("/elsewhere");
    QCOMPARE(Child<QLineEdit>(*dialog, "folder_edit")->text(), QString("/srv/lessons/projects"));
    QCOMPARE(Child<QLineEdit>(*dialog, "rec_SavePathE")->text(), QString("/srv/lessons/recordings"));

    // A cancelled image chooser changes nothing.
    Child<QPushButton>(*dialog, "note_bgbtn")->click();
    QCOMPARE(g_log.filter("file dialog open: Open").size(), 1);
    QCOMPARE(Child<QLineEdit>(*dialog, "note_bgedit")->text(), QString("/srv/pictures/map.png"));
    Child<QPushButton>(*dialog, "note_bgdel")->click();
    QCOMPARE(Child<QLineEdit>(*dialog, "note_bgedit")->text(), QString());
}

void ConfigDlgTest::volumeSlidersFollowTheMixer()
{
    // A stand-in mixer keeps each control's percentage in a file beside it
    // and logs every change; a control without a file does not exist.
    QTemporaryDir mixerFolder;
    QVERIFY(mixerFolder.isValid());
    const QString script = mixerFolder.filePath("amixer");
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n"
               "dir=$(dirname \"$0\")\n"
               "if [ \"$2\" = get ]; then\n"
               "  [ -f \"$dir/silent\" ] && exit 1\n"
               "  [ -f \"$dir/$3\" ] || { echo \"Unable to find simple control '$3',0\"; exit 1; }\n"
               "  echo \"Simple mixer control '$3',0\"\n"
               "  echo \"  Front Left: Playback 29959 [$(cat \"$dir/$3\")%] [on]\"\n"
               "  exit 0\n"
               "fi\n"
               "[ -f \"$dir/$4\" ] || exit 1\n"
               "echo \"$4 $5\" >> \"$dir/changes\"\n"
               "echo \"${5%\\%}\" > \"$dir/$4\"\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    auto writeLevel = [&](const char* control, const char* percent) {
        QFile level(mixerFolder.filePath(control));
        QVERIFY(level.open(QIODevice::WriteOnly | QIODevice::Truncate));
        level.write(percent);
    };
    auto changes = [&]() {
        QFile log(mixerFolder.filePath("changes"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)
                                             : QStringList();
    };
    writeLevel("Master", "29");
    const QByteArray previousMixer = qgetenv("DRAVIK_MIXER");
    qputenv("DRAVIK_MIXER", script.toLocal8Bit());

    auto dialog = MakeDialog();
    auto* speaker = Child<QSlider>(*dialog, "horizontalSlider_Sound");
    auto* microphone = Child<QSlider>(*dialog, "horizontalSlider_Mic");
    QCOMPARE(speaker->value(), 29);
    QCOMPARE(Child<QLabel>(*dialog, "label_spkValue")->text(), QString("29"));
    QVERIFY(speaker->isEnabled());
    // The refresh writes back exactly what it shows, not a percent less.
    QCOMPARE(changes(), QStringList({"Master 29%"}));
    // No capture control: the microphone slider stays at 0, disabled.
    QCOMPARE(microphone->value(), 0);
    QVERIFY(!microphone->isEnabled());

    speaker->setValue(64);
    QCOMPARE(Child<QLabel>(*dialog, "label_spkValue")->text(), QString("64"));
    QCOMPARE(changes().last(), QString("Master 64%"));

    // A refresh with an unchanged level writes nothing; a level changed
    // outside the dialog is shown on the next refresh.
    dialog->UpdateVolumeSliders();
    QCOMPARE(changes().size(), 2);
    writeLevel("Master", "100");
    writeLevel("Capture", "40");
    dialog->UpdateVolumeSliders();
    QCOMPARE(speaker->value(), 100);
    QCOMPARE(microphone->value(), 40);
    QVERIFY(microphone->isEnabled());
    microphone->setValue(5);
    QCOMPARE(changes().last(), QString("Capture 5%"));

    // A mixer that fails to answer once shows 0 but mutes nothing.
    writeLevel("silent", "");
    dialog->UpdateVolumeSliders();
    QCOMPARE(speaker->value(), 0);
    QVERIFY(!speaker->isEnabled());
    QCOMPARE(Child<QLabel>(*dialog, "label_spkValue")->text(), QString("0"));
    QCOMPARE(Child<QLabel>(*dialog, "label_micValue")->text(), QString("0"));
    QCOMPARE(changes().last(), QString("Capture 5%"));
    QVERIFY(QFile::remove(mixerFolder.filePath("silent")));
    dialog->UpdateVolumeSliders();
    QCOMPARE(speaker->value(), 100);
    QCOMPARE(microphone->value(), 5);

    qputenv("DRAVIK_MIXER", previousMixer);
}

QTEST_MAIN(ConfigDlgTest)
#include "configdlg_test.moc"
