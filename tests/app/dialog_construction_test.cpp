#include "app/ui/dialog.h"
#include "tools/recorder_guard.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QAbstractSlider>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class DialogConstructionTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScopedFolderRoot> m_sharedRoot;
    std::unique_ptr<Dialog> m_shared;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void formWidgets_data();
    void formWidgets();
    void formFirstProperties();
    void firstStartWithoutLibraries();
    void closeWritesTheSettingsFile();
    void languageFromSettings();
    void bridgesLoadAndReceiveParameters_data();
    void bridgesLoadAndReceiveParameters();
    void captureLibraryLackingAnOperationIsNotUsed();
    void strayRecorderIsEnded();
    void languageMenuStoresOnlyTheIndex();
    void settingsDialogRecordIsAppliedAndWritten();
    void cursorOptionShowsAtOnceWithThePen_data();
    void cursorOptionShowsAtOnceWithThePen();
    void roleActionsFollowTogether();
};

void DialogConstructionTest::initTestCase()
{
    qputenv("DRAVIK_NO_MODAL", "1");
    qInstallMessageHandler(CollectLog);
    m_sharedRoot = std::make_unique<ScopedFolderRoot>();
    ScopedLibraryFolder noLibraries(m_sharedRoot->path());
    m_shared = std::make_unique<Dialog>();
}

void DialogConstructionTest::cleanupTestCase()
{
    m_shared.reset();
    m_sharedRoot.reset();
}

void DialogConstructionTest::init()
{
    g_log.clear();
}

void DialogConstructionTest::formWidgets_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("mainbar") << "QGroupBox" << QRect(20, 270, 371, 51);
    QTest::newRow("logbtn") << "QPushButton" << QRect(20, 10, 61, 23);
    QTest::newRow("notebtn") << "QPushButton" << QRect(90, 10, 41, 23);
    QTest::newRow("colorsubbtn") << "QPushButton" << QRect(140, 40, 16, 23);
    QTest::newRow("colorbtn") << "QPushButton" << QRect(90, 40, 41, 23);
    QTest::newRow("notesubbtn") << "QPushButton" << QRect(140, 10, 16, 23);
    QTest::newRow("pwidthsubbtn") << "QPushButton" << QRect(140, 70, 16, 23);
    QTest::newRow("pwidthbtn") << "QPushButton" << QRect(90, 70, 41, 23);
    QTest::newRow("drawsubbtn") << "QPushButton" << QRect(140, 100, 16, 23);
    QTest::newRow("drawbtn") << "QPushButton" << QRect(90, 100, 41, 23);
    QTest::newRow("transbtn") << "QPushButton" << QRect(180, 10, 41, 23);
    QTest::newRow("erasebtn") << "QPushButton" << QRect(90, 130, 41, 23);
    QTest::newRow("erasesubbtn") << "QPushButton" << QRect(140, 130, 16, 23);
    QTest::newRow("prebtn") << "QPushButton" << QRect(180, 40, 41, 23);
    QTest::newRow("postbtn") << "QPushButton" << QRect(180, 70, 41, 23);
    QTest::newRow("objectbtn") << "QPushButton" << QRect(90, 160, 41, 23);
    QTest::newRow("objectsubbtn") << "QPushButton" << QRect(140, 160, 16, 23);
    QTest::newRow("notelistbtn") << "QPushButton" << QRect(180, 100, 41, 23);
    QTest::newRow("horwidthslider") << "QSlider" << QRect(150, 210, 160, 19);
    QTest::newRow("verwidthslider") << "QSlider" << QRect(340, 70, 19, 160);
    QTest::newRow("windowbtn") << "QPushButton" << QRect(180, 130, 41, 23);
    QTest::newRow("zoombtn") << "QPushButton" << QRect(90, 190, 41, 23);
    QTest::newRow("zoomsubbtn") << "QPushButton" << QRect(140, 190, 16, 23);
    QTest::newRow("horizontalScrollBar") << "QScrollBar" << QRect(60, 250, 160, 16);
    QTest::newRow("verticalScrollBar") << "QScrollBar" << QRect(390, 80, 16, 160);
    QTest::newRow("recbtn") << "QPushButton" << QRect(240, 10, 41, 23);
    QTest::newRow("viewbtn") << "QPushButton" << QRect(240, 40, 41, 23);
    QTest::newRow("viewlocationbtn") << "QPushButton" << QRect(240, 70, 41, 23);
    QTest::newRow("viewlocationsubbtn") << "QPushButton" << QRect(290, 70, 16, 23);
    QTest::newRow("rectimeLabel") << "QLabel" << QRect(250, 150, 56, 12);
    QTest::newRow("notelistLabel") << "QLabel" << QRect(250, 120, 56, 12);
    QTest::newRow("btn_show_userListDlg") << "QPushButton" << QRect(400, 10, 31, 141);
    QTest::newRow("btn_show_collconnectDlg") << "QPushButton" << QRect(290, 10, 41, 23);
    QTest::newRow("btn_show_IP") << "QPushButton" << QRect(340, 10, 41, 23);
    QTest::newRow("listWidget_logwindow") << "QListWidget" << QRect(700, 360, 81, 91);
    QTest::newRow("btn_test_8") << "QPushButton" << QRect(480, 480, 200, 20);
    QTest::newRow("btn_test_7") << "QPushButton" << QRect(480, 460, 200, 20);
    QTest::newRow("CK_LogWindow") << "QCheckBox" << QRect(590, 390, 111, 18);
    QTest::newRow("label_gif") << "QLabel" << QRect(600, 340, 81, 16);
    QTest::newRow("btn_test_9") << "QPushButton" << QRect(480, 520, 200, 20);
    QTest::newRow("btn_Strova") << "QPushButton" << QRect(340, 40, 41, 23);
    QTest::newRow("btn_isWrite") << "QPushButton" << QRect(340, 70, 41, 23);
    QTest::newRow("btn_isTool") << "QPushButton" << QRect(340, 100, 41, 23);
    QTest::newRow("listWidget_logwindow2") << "QListWidget" << QRect(700, 470, 81, 91);
    QTest::newRow("undobtn") << "QPushButton" << QRect(340, 130, 41, 23);
    QTest::newRow("redobtn") << "QPushButton" << QRect(340, 160, 41, 23);
    QTest::newRow("CK_LogWindow1") << "QCheckBox" << QRect(590, 410, 111, 18);
    QTest::newRow("CK_LogWindow2") << "QCheckBox" << QRect(590, 430, 111, 18);
    QTest::newRow("btn_test_10_ListClear") << "QPushButton" << QRect(480, 550, 200, 20);
}

void DialogConstructionTest::formWidgets()
{
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    // Nothing lays the widgets out before the second stage: design geometry.
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QList<QWidget*> found = m_shared->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QWidget* widget = found.first();
    QCOMPARE(widget->parentWidget(), m_shared.get());
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->geometry(), geometry);
}

void DialogConstructionTest::formFirstProperties()
{
    Dialog& dialog = *m_shared;
    auto button = [&dialog](const char* name) { return dialog.findChild<QPushButton*>(name); };
    auto label = [&dialog](const char* name) { return dialog.findChild<QLabel*>(name); };
    QCOMPARE(dialog.objectName(), QString("Dialog"));
    QCOMPARE(dialog.windowTitle(), QString("Dialog6602"));
    QCOMPARE(dialog.font().family(), QString("Tahoma"));
    QCOMPARE(label("rectimeLabel")->text(), QString("0:00:00"));
    QCOMPARE(label("notelistLabel")->text(), QString("1/1"));
    QCOMPARE(label("notelistLabel")->font().pointSize(), 20);
    auto* horizontal = dialog.findChild<QAbstractSlider*>("horwidthslider");
    auto* vertical = dialog.findChild<QAbstractSlider*>("verwidthslider");
    for (QAbstractSlider* slider : {horizontal, vertical}) {
        QCOMPARE(slider->minimum(), 1);
        QCOMPARE(slider->maximum(), 10);
        QCOMPARE(slider->pageStep(), 1);
    }
    QCOMPARE(horizontal->orientation(), Qt::Horizontal);
    QCOMPARE(vertical->orientation(), Qt::Vertical);
    QVERIFY(button("drawbtn")->isCheckable());
    QVERIFY(button("transbtn")->isCheckable());
    QVERIFY(!button("transbtn")->isChecked());
    QVERIFY(!button("logbtn")->isCheckable());
    QCOMPARE(button("drawbtn")->text(), QString());
    QCOMPARE(button("drawbtn")->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(button("drawsubbtn")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(button("btn_show_userListDlg")->text(), QString("\n\n\nU\ns\ne\nr\nL\ni\ns\nt\n"));
    QVERIFY(button("btn_show_userListDlg")->styleSheet().startsWith("background-color: qlineargradient("));
    QCOMPARE(button("btn_show_userListDlg")->styleSheet().count('\n'), 2);
    QCOMPARE(label("label_gif")->text(), QString("label_Loading"));
    QCOMPARE(button("btn_test_10_ListClear")->text(), QString("List Clear"));
}

// No outside library at all: construction completes, both PDF libraries are
// reported once each, the capture library is marked missing and the settings
// folders exist.
void DialogConstructionTest::firstStartWithoutLibraries()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    Dialog dialog;

    QCOMPARE(g_log.filter("cannot load render module").size(), 1);
    QCOMPARE(g_log.filter("cannot load exporter module").size(), 1);
    QVERIFY(g_log.indexOf(QRegularExpression(".*render module.*"))
            < g_log.indexOf(QRegularExpression(".*exporter module.*")));
    QVERIFY(g_log.contains("exe : cannot load Vidorra.dll"));
    QVERIFY(!dialog.m_bCaptureLibLoaded);
    QVERIFY(!dialog.StartRecording);
    QVERIFY(!dialog.InitialParameter);
    QVERIFY(!dialog.NextTimeCheck);
    QCOMPARE(Dialog::Instance(), &dialog);

    QVERIFY(QFileInfo(dialog.m_workFolder).isDir());
    QVERIFY(dialog.m_workFolder.endsWith("/Orbel5/"));
    const QString documents = root.path() + "/Documents/Dravik";
    for (const QString& folder : {documents, documents + "/Dravik_Prj", documents + "/Dravik_Contents",
                                  documents + "/Dravik_Saved_Notes"})
        QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));
    QCOMPARE(dialog.m_config.proj, documents + "/Dravik_Prj");
    QCOMPARE(dialog.m_currentProjectFolder, dialog.m_config.proj);
    QCOMPARE(dialog.m_rec_type, 3);
    QVERIFY(!QFile::exists(dialog.m_configFilePath));
    QVERIFY(dialog.m_configFilePath.startsWith(root.path() + "/ProgramData/"));
    QVERIFY(dialog.m_languageFolder.endsWith("/Language/"));
    QCOMPARE(dialog.m_projectOpenFilter, QString("Dravik project file (*.vk *.vj)"));
    QCOMPARE(dialog.m_contentsExtension, QString(".iic"));
    QVERIFY(dialog.m_penDriverConfigPath.endsWith("/NORVANE/Stylane/config.ini"));
    QCOMPARE(dialog.m_boardFillColor, QColor(Qt::white));

    // Input set-up of the window and the toolbar frame.
    QVERIFY(dialog.acceptDrops());
    for (QWidget* widget : {static_cast<QWidget*>(&dialog), dialog.findChild<QWidget*>("mainbar")}) {
        QVERIFY(widget->testAttribute(Qt::WA_AcceptTouchEvents));
        QVERIFY(widget->testAttribute(Qt::WA_TabletTracking));
        QVERIFY(widget->testAttribute(Qt::WA_StaticContents));
    }
    QVERIFY(dialog.m_interpolation);
    QVERIFY(dialog.m_antialiasing);
    QVERIFY(!dialog.m_usbDevice);
}

void DialogConstructionTest::closeWritesTheSettingsFile()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    QString path;
    {
        Dialog dialog;
        path = dialog.m_configFilePath;
    }
    QVERIFY(QFile::exists(path));
    QSettings ini(path, QSettings::IniFormat);
    QStringList groups = ini.childGroups();
    groups.sort();
    QCOMPARE(groups, QStringList({"Normal", "Note", "Option", "Pen", "Position", "Record", "Strova"}));
    QCOMPARE(ini.allKeys().size(), 42);
    QCOMPARE(ini.value("Normal/version").toString(), QString("5.0.0.32"));
    QCOMPARE(ini.value("Normal/language").toInt(), -1);
    QCOMPARE(ini.value("Note/color").toString(), QString("white"));
    QCOMPARE(ini.value("Pen/FPenWidth3").toInt(), 7);
    QCOMPARE(ini.value("Record/Type").toInt(), 3);
    QCOMPARE(ini.value("Strova/Port").toString(), QString("5555"));
}

// Language 2 is Japanese whatever the system locale: its file when present,
// else the English one; the lists keep their lengths either way.
void DialogConstructionTest::languageFromSettings()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    const QString program = root.path() + "/Program";
    qputenv("DRAVIK_PROGRAM_DIR", program.toLocal8Bit());
    QVERIFY(WriteTestFile(root.path() + "/ProgramData/Norvane/Dravik/Config.ini", "[Normal]\nlanguage=2\n"));
    QVERIFY(WriteTestFile(program + "/Language/ENU.lng", "[Common]\n1=OK\n[Messages]\n103=Save?\n"));
    {
        Dialog dialog;
        QCOMPARE(dialog.m_config.language, 2);
        QCOMPARE(dialog.m_languageCode, QString("JPN"));
        QCOMPARE(dialog.m_languageFilePath, program + "/Language/ENU.lng");
        QCOMPARE(dialog.m_lang.common.first(), QString("OK"));
        QCOMPARE(dialog.m_lang.messages.size(), 72);
        QCOMPARE(dialog.m_lang.messages.at(3), QString("Save?"));
        QCOMPARE(dialog.m_lang.config.size(), 91);
        QCOMPARE(dialog.m_lang.menu.size(), 32);
        // Missing keys of an existing file are empty, not defaults.
        QCOMPARE(dialog.m_config.FPenWidth1, 0);
        QCOMPARE(dialog.m_config.color, QString());
        QCOMPARE(dialog.m_boardFillColor, QColor(Qt::white));
    }
    QVERIFY(WriteTestFile(program + "/Language/JPN.lng", "[Common]\n1=J-OK\n"));
    {
        Dialog dialog;
        QCOMPARE(dialog.m_languageFilePath, program + "/Language/JPN.lng");
        QCOMPARE(dialog.m_lang.common.first(), QString("J-OK"));
    }
    qunsetenv("DRAVIK_PROGRAM_DIR");
}

void DialogConstructionTest::bridgesLoadAndReceiveParameters_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QLocale>("systemLocale");
    QTest::addColumn<QString>("code");
    QTest::newRow("chosen language") << QByteArray("[Normal]\nlanguage=0\n") << QLocale(QLocale::German) << "KOR";
    QTest::newRow("system language") << QByteArray("[Normal]\nlanguage=-1\n") << QLocale(QLocale::German) << "DEU";
    QTest::newRow("no settings, Taiwan") << QByteArray() << QLocale(QLocale::Chinese, QLocale::Taiwan) << "CHT";
}

// The bridge gets the code of the language in use, also when it follows the
// system locale.
void DialogConstructionTest::bridgesLoadAndReceiveParameters()
{
    QFETCH(QByteArray, settings);
    QFETCH(QLocale, systemLocale);
    QFETCH(QString, code);
    ScopedFolderRoot root;
    ScopedLibraryFolder fakes(BuiltProgramFolder() + "/fake_bridges");
    const QString bridgeLog = root.path() + "/bridge.log";
    qputenv("DRAVIK_FAKE_BRIDGE_LOG", bridgeLog.toLocal8Bit());
    if (!settings.isEmpty())
        QVERIFY(WriteTestFile(root.path() + "/ProgramData/Norvane/Dravik/Config.ini", settings));
    const QLocale previousLocale;
    QLocale::setDefault(systemLocale);
    {
        Dialog dialog;
        QVERIFY(g_log.contains("exe : Success load Vidorra.dll"));
        QVERIFY(!g_log.contains("exe : cannot load Vidorra.dll"));
        QVERIFY(dialog.m_bCaptureLibLoaded);
        QVERIFY(dialog.ConfigSetting && dialog.StartRecording && dialog.StopRecording && dialog.ReadLineData
                && dialog.DeviceSave && dialog.GetDeviceList);
        QVERIFY(dialog.ConnectAddressServer && dialog.GetUpdateServerCount && dialog.GetUpdateServerURL
                && dialog.ExecuteManager && dialog.NextTimeCheck);
        QCOMPARE(dialog.StartRecording(2), 1);
    }
    qunsetenv("DRAVIK_FAKE_BRIDGE_LOG");
    QLocale::setDefault(previousLocale);

    QFile file(bridgeLog);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList arguments = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(arguments, QStringList({"NORVANE", "Dravik", "5.0", "Linux", "5.0.0.32", BuiltProgramFolder(),
                                     "Dravik.exe", code, "callback"}));
}

// A capture library that loads but lacks StopRecording would later be called
// through a null pointer: it counts as not loaded, and is unloaded.
void DialogConstructionTest::captureLibraryLackingAnOperationIsNotUsed()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder lacking(BuiltProgramFolder() + "/vidorra_lacking");
    Dialog dialog;
    QVERIFY(g_log.contains("exe : cannot load Vidorra.dll"));
    QVERIFY(!g_log.contains("exe : Success load Vidorra.dll"));
    QVERIFY(!dialog.m_bCaptureLibLoaded);
    QVERIFY(!dialog.ConfigSetting && !dialog.StartRecording && !dialog.StopRecording && !dialog.ReadLineData
            && !dialog.DeviceSave && !dialog.GetDeviceList);
}

void DialogConstructionTest::strayRecorderIsEnded()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    // A recorder copy left running in the work folder by an earlier run,
    // which noted it there before it ended.
    const QString workFolder = root.path() + "/Temp/Orbel5";
    QDir().mkpath(workFolder);
    const QString recorder = workFolder + "/ffmpeg";
    QVERIFY(QFile::copy("/bin/sleep", recorder));
    QFile::setPermissions(recorder, QFile::permissions(recorder) | QFileDevice::ExeOwner);
    qint64 pid = 0;
    QVERIFY(QProcess::startDetached(recorder, {"60"}, QString(), &pid));
    QTRY_VERIFY(QFileInfo::exists(QString("/proc/%1/exe").arg(pid)));
    QProcess earlierRun;
    earlierRun.start("true", QStringList());
    QVERIFY(earlierRun.waitForStarted(10000));
    const tools::ProcessStamp ended{earlierRun.processId(), 1};
    QVERIFY(earlierRun.waitForFinished(10000));
    QVERIFY(tools::WriteRecorderRecord(workFolder, {ended, tools::StampOf(pid), "1.mp4"}, nullptr));
    {
        Dialog dialog;
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QString("/proc/%1/exe").arg(pid)), 3000);
    }
}

void DialogConstructionTest::languageMenuStoresOnlyTheIndex()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    Dialog dialog;
    QAction korean("Korean"), english("English"), japanese("Japanese"), stranger("Other");
    dialog.m_languageActions = {&korean, &english, &japanese};
    QVERIFY(WriteTestFile(dialog.m_configFilePath, "[Pen]\nFPenWidth1=9\n"));

    dialog.OptLanguageType(&stranger);
    QCOMPARE(dialog.m_config.language, -1);
    QVERIFY(g_log.filter("message box question").isEmpty());

    dialog.OptLanguageType(&japanese);
    QCOMPARE(dialog.m_config.language, 2);
    QCOMPARE(g_log.filter("message box question").size(), 1);
    QSettings ini(dialog.m_configFilePath, QSettings::IniFormat);
    QCOMPARE(ini.allKeys(), QStringList({"Normal/language", "Pen/FPenWidth1"}));
    QCOMPARE(ini.value("Normal/language").toInt(), 2);
    dialog.m_languageActions.clear();
}

void DialogConstructionTest::settingsDialogRecordIsAppliedAndWritten()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    Dialog dialog;
    ConfigInfomation edited = dialog.m_config;
    edited.color = "blackboard color";
    edited.proj = root.path() + "/Projects";
    edited.Type = 1;
    edited.FPenWidth2 = 5;
    edited.toolpos = 4;  // carried through by the dialog, never taken
    dialog.m_toolbarPosition = 2;

    dialog.SaveConfigData(edited);
    QCOMPARE(dialog.m_boardFillColor, dialog.m_blackboardColor);
    QCOMPARE(dialog.m_currentProjectFolder, root.path() + "/Projects");
    QCOMPARE(dialog.m_rec_type, 1);

    QSettings ini(dialog.m_configFilePath, QSettings::IniFormat);
    QCOMPARE(ini.value("Note/color").toString(), QString("blackboard color"));
    QCOMPARE(ini.value("Pen/FPenWidth2").toInt(), 5);
    QCOMPARE(ini.value("Option/toolpos").toInt(), 2);

    // A reset waits for the settings dialog's confirmation: the live record
    // and the file keep their values until then.
    dialog.Config_InitAll();
    QCOMPARE(dialog.m_configResetRecord.color, QString("white"));
    QCOMPARE(dialog.m_config.color, QString("blackboard color"));
    QCOMPARE(ini.value("Note/color").toString(), QString("blackboard color"));
}

void DialogConstructionTest::cursorOptionShowsAtOnceWithThePen_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<bool>("cursorOn");
    QTest::addColumn<int>("expectedShape");
    QTest::newRow("pen, option off") << int(ekFree) << false << int(Qt::BlankCursor);
    QTest::newRow("pen, option on") << int(ekFree) << true << int(Qt::CrossCursor);
    QTest::newRow("line keeps the cursor") << int(ekLine) << false << int(Qt::PointingHandCursor);
}

void DialogConstructionTest::cursorOptionShowsAtOnceWithThePen()
{
    QFETCH(int, tool);
    QFETCH(bool, cursorOn);
    QFETCH(int, expectedShape);
    Dialog& dialog = *m_shared;
    dialog.m_cursorPen = QCursor(Qt::CrossCursor);
    dialog.m_cursorBlank = QCursor(Qt::BlankCursor);
    dialog.setCursor(Qt::PointingHandCursor);
    dialog.m_board.slot[0].event_kind = tool;
    dialog.m_config.cursor = !cursorOn;
    ConfigInfomation edited = dialog.m_config;
    edited.cursor = cursorOn;
    dialog.SaveConfigData(edited);
    QCOMPARE(int(dialog.cursor().shape()), expectedShape);
    QCOMPARE(dialog.m_config.cursor, cursorOn);
    dialog.m_board.slot[0].event_kind = ekFree;
}

void DialogConstructionTest::roleActionsFollowTogether()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    Dialog dialog;
    QAction a("a"), b("b"), c("c");
    dialog.m_roleActions = {&a, &b, &c};
    dialog.EnableRoleActions(false);
    QVERIFY(!a.isEnabled() && !b.isEnabled() && !c.isEnabled());
    dialog.EnableRoleActions(true);
    QVERIFY(a.isEnabled() && b.isEnabled() && c.isEnabled());
    dialog.m_roleActions.clear();
}

QTEST_MAIN(DialogConstructionTest)
#include "dialog_construction_test.moc"
