#include "storage/settings_file.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void WriteText(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

const QMap<QString, QStringList>& ExpectedKeys()
{
    static const QMap<QString, QStringList> keys = {
        {"Position", {"floatingX", "floatingY"}},
        {"Normal", {"proj", "version", "dual", "language"}},
        {"Note", {"color", "bgfile", "bgtrans", "logofile", "logotrans", "logopos"}},
        {"Option", {"erase", "cursor", "toolsave", "toolpos", "upserver", "updatetype", "ShowImportMsg"}},
        {"Pen", {"FPenWidth1", "FPenWidth2", "FPenWidth3", "FPenWidth4"}},
        {"Record", {"Type", "Path", "Name", "Check", "CamDevice", "ViewPos", "VideoRatio", "VideoPreset",
                    "VideoQuality", "VideoFrameRate", "AudioQuality", "AudioBitRate", "ScreenPreset",
                    "ScreenQuality", "ScreenFrameRate"}},
        {"Strova", {"SaveID", "ID", "Server", "Port"}},
    };
    return keys;
}

}  // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartMakesFoldersAndDefaults();
    void existingFileDecidesEveryField();
    void saveIdReadsAsFlag();
    void outOfRangeChoicesReadAsDefaults_data();
    void outOfRangeChoicesReadAsDefaults();
    void writtenFileHoldsTheSevenGroups();
    void roundTripKeepsEveryField();
    void languageOptionRewritesOnlyItsKey();
    void damagedFileIsWrittenAfresh();
    void failedWriteIsReportedAndKeepsTheFile();
    void applyTakesOverDialogFields();
    void applyReportsChanges_data();
    void applyReportsChanges();
    void boardColor_data();
    void boardColor();
    void settingsDialogIsCentred();
};

void SettingsFileTest::firstStartMakesFoldersAndDefaults()
{
    ScopedFolderRoot root;
    const SettingsFolders folders = PrepareSettingsFolders();
    QVERIFY(folders.workFolder.endsWith("/Orbel5/"));
    for (const QString& folder : {folders.workFolder, folders.documentsRoot, folders.projectFolder,
                                  folders.contentsFolder, folders.savedNotesFolder})
        QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));
    QVERIFY(folders.configFile.endsWith("/Norvane/Dravik/Config.ini"));
    QVERIFY(folders.configFile.startsWith(root.path()));

    ConfigInfomation config;
    config.CamDevice = "Camera A";
    config.ID = "teacher";
    config.SaveID = 1;
    SetConfigDefaults(&config, folders, 1920, 1080, false);
    QVERIFY(!ReadConfigFile(folders.configFile, &config));
    QVERIFY(!QFileInfo::exists(folders.configFile));

    QCOMPARE(config.proj, folders.projectFolder);
    QCOMPARE(config.Path, folders.contentsFolder);
    QCOMPARE(config.color, QString("white"));
    QCOMPARE(config.language, -1);
    QCOMPARE(config.bgtrans, 255);
    QCOMPARE(config.logotrans, 255);
    QCOMPARE(config.cursor, true);
    QCOMPARE(config.floatingX, 960);
    QCOMPARE(config.floatingY, 540);
    QCOMPARE(config.FPenWidth1, 1);
    QCOMPARE(config.FPenWidth4, 10);
    QCOMPARE(config.Type, 3);
    QCOMPARE(config.ViewPos, 3);
    QCOMPARE(config.VideoFrameRate, 5);
    QCOMPARE(config.ScreenFrameRate, 3);
    QCOMPARE(config.Port, QString("5555"));
    QVERIFY(!config.Server.isEmpty());
    QCOMPARE(config.version, QString("5.0.0.32"));
    // Not defaults: the device and the upload login survive a reset.
    QCOMPARE(config.CamDevice, QString("Camera A"));
    QCOMPARE(config.ID, QString("teacher"));
    QCOMPARE(config.SaveID, 1);

    config.language = 4;
    SetConfigDefaults(&config, folders, 1920, 1080, true);
    QCOMPARE(config.language, 4);
}

// A key missing from an existing file reads as zero, false or empty, never as
// the default: stored files rely on it.
void SettingsFileTest::existingFileDecidesEveryField()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    WriteText(path, "[Normal]\nlanguage=2\n");

    ConfigInfomation config;
    SetConfigDefaults(&config, SettingsFolders(), 1920, 1080, false);
    QVERIFY(ReadConfigFile(path, &config));
    QCOMPARE(config.language, 2);
    QCOMPARE(config.floatingX, 0);
    QCOMPARE(config.floatingY, 0);
    QCOMPARE(config.cursor, false);
    QCOMPARE(config.FPenWidth1, 0);
    QCOMPARE(config.FPenWidth4, 0);
    QCOMPARE(config.Port, QString());
    QCOMPARE(config.color, QString());
    QCOMPARE(config.Type, 0);
    QCOMPARE(config.version, QString("5.0.0.32"));  // never read
}

void SettingsFileTest::saveIdReadsAsFlag()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    WriteText(path, "[Strova]\nSaveID=5\nID=abc\n");
    ConfigInfomation config;
    QVERIFY(ReadConfigFile(path, &config));
    QCOMPARE(config.SaveID, 1);
    QCOMPARE(config.ID, QString("abc"));
}

void SettingsFileTest::outOfRangeChoicesReadAsDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("toolpos");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("viewPos");
    QTest::addColumn<int>("bgtrans");
    QTest::newRow("edges kept") << QByteArray("[Option]\ntoolpos=4\n[Record]\nType=0\nViewPos=0\n"
                                              "[Note]\nbgtrans=0\n")
                                << 4 << 0 << 0 << 0;
    QTest::newRow("too large") << QByteArray("[Option]\ntoolpos=5\n[Record]\nType=4\nViewPos=9\n"
                                             "[Note]\nbgtrans=256\n")
                               << 0 << 3 << 3 << 255;
    QTest::newRow("negative") << QByteArray("[Option]\ntoolpos=-1\n[Record]\nType=-2\nViewPos=-1\n"
                                            "[Note]\nbgtrans=-5\n")
                              << 0 << 3 << 3 << 255;
}

void SettingsFileTest::outOfRangeChoicesReadAsDefaults()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    WriteText(path, content);
    ConfigInfomation config;
    QVERIFY(ReadConfigFile(path, &config));
    QTEST(config.toolpos, "toolpos");
    QTEST(config.Type, "type");
    QTEST(config.ViewPos, "viewPos");
    QTEST(config.bgtrans, "bgtrans");
}

void SettingsFileTest::writtenFileHoldsTheSevenGroups()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sub/Config.ini");
    WriteText(path, "[Extra]\nkept=yes\n[Normal]\nold=1\n");
    ConfigInfomation config;
    SetConfigDefaults(&config, SettingsFolders(), 800, 600, false);
    QVERIFY(WriteConfigFile(path, config));

    QSettings ini(path, QSettings::IniFormat);
    int keyCount = 0;
    for (auto it = ExpectedKeys().cbegin(); it != ExpectedKeys().cend(); ++it) {
        ini.beginGroup(it.key());
        QStringList found = ini.childKeys();
        if (it.key() == "Normal")
            found.removeOne("old");
        QStringList expected = it.value();
        found.sort();
        expected.sort();
        QCOMPARE(found, expected);
        keyCount += found.size();
        ini.endGroup();
    }
    QCOMPARE(keyCount, 42);
    // Keys the writer does not know are kept.
    QCOMPARE(ini.value("Extra/kept").toString(), QString("yes"));
    QCOMPARE(ini.value("Normal/old").toInt(), 1);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("cursor=true"));
    QVERIFY(text.contains("dual=false"));
    QVERIFY(text.contains("SaveID=0"));
    QVERIFY(text.contains("Port=5555"));
}

void SettingsFileTest::roundTripKeepsEveryField()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    ConfigInfomation out;
    out.proj = "/home/t/My, Projects; 2024";
    out.color = "#102030";
    out.bgfile = "/p/bg.png";
    out.language = 7;
    out.bgtrans = 120;
    out.logofile = "/p/logo.png";
    out.logotrans = 30;
    out.logopos = 2;
    out.dual = true;
    out.erase = true;
    out.cursor = true;
    out.toolsave = true;
    out.toolpos = 3;
    out.floatingX = 11;
    out.floatingY = 12;
    out.updatetype = 1;
    out.upserver = "http://u.example";
    out.ShowImportMsg = true;
    out.FPenWidth1 = 2;
    out.FPenWidth2 = 3;
    out.FPenWidth3 = 5;
    out.FPenWidth4 = 9;
    out.Path = "/rec";
    out.Type = 2;
    out.Name = true;
    out.Check = true;
    out.CamDevice = "USB Camera, front";
    out.ViewPos = 1;
    out.VideoRatio = 2;
    out.VideoPreset = 3;
    out.VideoQuality = 4;
    out.VideoFrameRate = 6;
    out.AudioQuality = 1;
    out.AudioBitRate = 3;
    out.ScreenPreset = 1;
    out.ScreenQuality = 0;
    out.ScreenFrameRate = 2;
    out.ID = "kim";
    out.SaveID = 1;
    out.Server = "host";
    out.Port = "0123";
    QVERIFY(WriteConfigFile(path, out));

    ConfigInfomation in;
    QVERIFY(ReadConfigFile(path, &in));
    QCOMPARE(in.proj, out.proj);
    QCOMPARE(in.color, out.color);
    QCOMPARE(in.bgfile, out.bgfile);
    QCOMPARE(in.language, out.language);
    QCOMPARE(in.bgtrans, out.bgtrans);
    QCOMPARE(in.logofile, out.logofile);
    QCOMPARE(in.logotrans, out.logotrans);
    QCOMPARE(in.logopos, out.logopos);
    QCOMPARE(in.dual, out.dual);
    QCOMPARE(in.erase, out.erase);
    QCOMPARE(in.cursor, out.cursor);
    QCOMPARE(in.toolsave, out.toolsave);
    QCOMPARE(in.toolpos, out.toolpos);
    QCOMPARE(in.floatingX, out.floatingX);
    QCOMPARE(in.floatingY, out.floatingY);
    QCOMPARE(in.updatetype, out.updatetype);
    QCOMPARE(in.upserver, out.upserver);
    QCOMPARE(in.ShowImportMsg, out.ShowImportMsg);
    QCOMPARE(in.FPenWidth1, out.FPenWidth1);
    QCOMPARE(in.FPenWidth2, out.FPenWidth2);
    QCOMPARE(in.FPenWidth3, out.FPenWidth3);
    QCOMPARE(in.FPenWidth4, out.FPenWidth4);
    QCOMPARE(in.Path, out.Path);
    QCOMPARE(in.Type, out.Type);
    QCOMPARE(in.Name, out.Name);
    QCOMPARE(in.Check, out.Check);
    QCOMPARE(in.CamDevice, out.CamDevice);
    QCOMPARE(in.ViewPos, out.ViewPos);
    QCOMPARE(in.VideoRatio, out.VideoRatio);
    QCOMPARE(in.VideoPreset, out.VideoPreset);
    QCOMPARE(in.VideoQuality, out.VideoQuality);
    QCOMPARE(in.VideoFrameRate, out.VideoFrameRate);
    QCOMPARE(in.AudioQuality, out.AudioQuality);
    QCOMPARE(in.AudioBitRate, out.AudioBitRate);
    QCOMPARE(in.ScreenPreset, out.ScreenPreset);
    QCOMPARE(in.ScreenQuality, out.ScreenQuality);
    QCOMPARE(in.ScreenFrameRate, out.ScreenFrameRate);
    QCOMPARE(in.ID, out.ID);
    QCOMPARE(in.SaveID, out.SaveID);
    QCOMPARE(in.Server, out.Server);
    QCOMPARE(in.Port, out.Port);

    // A hand-written value with unquoted commas is still read whole.
    WriteText(path, "[Record]\nCamDevice=Cam, left, 2\n");
    QVERIFY(ReadConfigFile(path, &in));
    QCOMPARE(in.CamDevice, QString("Cam,left,2"));
}

void SettingsFileTest::languageOptionRewritesOnlyItsKey()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    ConfigInfomation config;
    SetConfigDefaults(&config, SettingsFolders(), 800, 600, false);
    config.FPenWidth2 = 6;
    QVERIFY(WriteConfigFile(path, config));

    QVERIFY(WriteLanguageOption(path, 5));
    ConfigInfomation back;
    QVERIFY(ReadConfigFile(path, &back));
    QCOMPARE(back.language, 5);
    QCOMPARE(back.FPenWidth2, 6);
    QCOMPARE(back.cursor, true);
}

namespace {

QStringList g_lines;
void KeepLine(QtMsgType, const QMessageLogContext&, const QString& text)
{
    g_lines << text;
}

}  // namespace

// A junk file is rewritten with the settings and without its junk, and the
// rewrite is not reported as a failure.
void SettingsFileTest::damagedFileIsWrittenAfresh()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    WriteText(path, "[Pen]\nFPenWidth2=9\n[Junk\n\x01\x02=\xff\xfe\n[Strova]\nPort=7777\n\\=junk\n");
    {
        QSettings probe(path, QSettings::IniFormat);
        QCOMPARE(probe.status(), QSettings::FormatError);
    }
    ConfigInfomation config;
    QVERIFY(ReadConfigFile(path, &config));
    config.FPenWidth3 = 8;

    g_lines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepLine);
    const bool written = WriteConfigFile(path, config);
    const bool languageWritten = WriteLanguageOption(path, 3);
    qInstallMessageHandler(previous);
    QVERIFY(written);
    QVERIFY(languageWritten);
    QVERIFY2(g_lines.filter("cannot write settings file").isEmpty(), qPrintable(g_lines.join('\n')));

    QSettings ini(path, QSettings::IniFormat);
    QCOMPARE(ini.status(), QSettings::NoError);
    QCOMPARE(ini.value("Pen/FPenWidth2").toInt(), 9);
    QCOMPARE(ini.value("Pen/FPenWidth3").toInt(), 8);
    QCOMPARE(ini.value("Normal/language").toInt(), 3);
    QCOMPARE(ini.value("Strova/Port").toString(), QString("7777"));
    QStringList groups = ini.childGroups();
    groups.sort();
    QStringList expected = ExpectedKeys().keys();
    expected.sort();
    QVERIFY2(groups == expected, qPrintable(groups.join(' ')));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(!text.contains("junk"));
    QVERIFY(!text.contains("Junk"));
    QVERIFY(!QFileInfo::exists(path + ".new"));
    QVERIFY(!QFileInfo::exists(path + ".read"));
}

// A write that cannot happen is reported, and what was there stays.
void SettingsFileTest::failedWriteIsReportedAndKeepsTheFile()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("Config.ini");  // a folder where the file should be
    QVERIFY(QDir().mkpath(folder));
    ConfigInfomation config;
    SetConfigDefaults(&config, SettingsFolders(), 800, 600, false);
    g_lines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepLine);
    const bool written = WriteConfigFile(folder, config);
    qInstallMessageHandler(previous);
    QVERIFY(!written);
    QCOMPARE(g_lines.filter("cannot write settings file").size(), 1);
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(!QFileInfo::exists(folder + ".new"));
}

void SettingsFileTest::applyTakesOverDialogFields()
{
    ConfigInfomation live;
    SetConfigDefaults(&live, SettingsFolders(), 800, 600, false);
    live.toolpos = 2;
    live.floatingX = 5;
    live.floatingY = 6;
    live.updatetype = 1;
    live.upserver = "live-server";
    live.ShowImportMsg = true;
    live.ID = "live-id";
    live.SaveID = 1;

    ConfigInfomation dialog = live;
    dialog.toolpos = 4;
    dialog.floatingX = 50;
    dialog.floatingY = 60;
    dialog.version = "0.0";
    dialog.updatetype = 0;
    dialog.upserver = "other";
    dialog.ShowImportMsg = false;
    dialog.ID = "other-id";
    dialog.SaveID = 0;
    dialog.language = 2;
    dialog.dual = true;
    dialog.FPenWidth3 = 8;
    dialog.Path = "/elsewhere";
    dialog.Port = "6000";
    dialog.ScreenFrameRate = 1;
    dialog.bgtrans = 10;

    ApplyConfigRecord(&live, dialog);
    QCOMPARE(live.toolpos, 2);
    QCOMPARE(live.floatingX, 5);
    QCOMPARE(live.floatingY, 6);
    QCOMPARE(live.version, QString("5.0.0.32"));
    QCOMPARE(live.updatetype, 1);
    QCOMPARE(live.upserver, QString("live-server"));
    QCOMPARE(live.ShowImportMsg, true);
    QCOMPARE(live.ID, QString("live-id"));
    QCOMPARE(live.SaveID, 1);
    QCOMPARE(live.language, 2);
    QCOMPARE(live.dual, true);
    QCOMPARE(live.FPenWidth3, 8);
    QCOMPARE(live.Path, QString("/elsewhere"));
    QCOMPARE(live.Port, QString("6000"));
    QCOMPARE(live.ScreenFrameRate, 1);
    QCOMPARE(live.bgtrans, 10);
}

void SettingsFileTest::applyReportsChanges_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("project");
    QTest::addColumn<bool>("color");
    QTest::addColumn<bool>("redraw");
    QTest::addColumn<bool>("cursor");
    QTest::newRow("nothing") << "" << false << false << false << false;
    QTest::newRow("proj") << "proj" << true << false << false << false;
    QTest::newRow("color") << "color" << false << true << true << false;
    QTest::newRow("bgfile") << "bgfile" << false << false << true << false;
    QTest::newRow("logofile") << "logofile" << false << false << true << false;
    QTest::newRow("bgtrans only") << "bgtrans" << false << false << false << false;
    QTest::newRow("logopos only") << "logopos" << false << false << false << false;
    QTest::newRow("cursor") << "cursor" << false << false << false << true;
}

void SettingsFileTest::applyReportsChanges()
{
    QFETCH(QString, field);
    ConfigInfomation live;
    SetConfigDefaults(&live, SettingsFolders(), 800, 600, false);
    ConfigInfomation dialog = live;
    if (field == "proj") dialog.proj = "/other";
    if (field == "color") dialog.color = "blackboard color";
    if (field == "bgfile") dialog.bgfile = "/bg.png";
    if (field == "logofile") dialog.logofile = "/logo.png";
    if (field == "bgtrans") dialog.bgtrans = 3;
    if (field == "logopos") dialog.logopos = 3;
    if (field == "cursor") dialog.cursor = !dialog.cursor;

    const ConfigApplyResult result = ApplyConfigRecord(&live, dialog);
    QTEST(result.projectFolderChanged, "project");
    QTEST(result.colorChanged, "color");
    QTEST(result.redrawPages, "redraw");
    QTEST(result.cursorChanged, "cursor");
}

void SettingsFileTest::boardColor_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QColor>("expected");
    const QColor blackboard(25, 74, 57);
    const QColor fallback(1, 2, 3);
    QTest::newRow("blackboard") << "blackboard color" << blackboard;
    QTest::newRow("white") << "white" << QColor(Qt::white);
    QTest::newRow("hex") << "#336699" << QColor(0x33, 0x66, 0x99);
    QTest::newRow("unknown name keeps the colour") << "no such colour" << fallback;
    QTest::newRow("empty keeps the colour") << "" << fallback;
}

void SettingsFileTest::boardColor()
{
    QFETCH(QString, setting);
    QFETCH(QColor, expected);
    QCOMPARE(BoardColorFromSetting(setting, QColor(25, 74, 57), QColor(1, 2, 3)), expected);
}

void SettingsFileTest::settingsDialogIsCentred()
{
    QCOMPARE(SettingsDialogGeometry(1920, 1080), QRect(735, 300, 451, 481));
    QCOMPARE(SettingsDialogGeometry(1025, 769), QRect(287, 144, 451, 481));
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "settings_file_test.moc"
