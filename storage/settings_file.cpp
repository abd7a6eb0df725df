#include "storage/settings_file.h"

#include "platform/folders.h"
#include "storage/ini_values.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

const char kProgramVersion[] = "5.0.0.32";
const char kDefaultUploadServer[] = "lecture.norvane.net";

namespace {

// One folder level at a time, as the folders are made one below the other;
// a folder that cannot be made is noticed later by whoever writes into it.
void MakeFolder(const QString& path)
{
    if (!QFileInfo(path).isDir() && !QDir().mkdir(path))
        qDebug().noquote() << "cannot make folder" << path;
}

// A value read from the file that the program would use as an index or a
// choice out of a fixed set must lie in that set; a hand-edited or damaged
// value is reported and replaced by the default rather than used.
void KeepInRange(int* value, int low, int high, int fallback, const char* key)
{
    if (*value >= low && *value <= high)
        return;
    qWarning().noquote() << QStringLiteral("settings: %1=%2 is outside %3..%4; using %5")
                                .arg(QLatin1String(key)).arg(*value).arg(low).arg(high).arg(fallback);
    *value = fallback;
}

void OpenIni(QSettings& settings)
{
    settings.setIniCodec("UTF-8");
}

}  // namespace

QString SettingsFilePath()
{
    return platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::CommonAppData),
                              QStringLiteral("\\Norvane\\Dravik\\Config.ini"));
}

SettingsFolders PrepareSettingsFolders()
{
    SettingsFolders folders;
    folders.commonAppData = platform::KnownFolderPath(platform::KnownFolder::CommonAppData);

    folders.workFolder = platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::Temp),
                                            QStringLiteral("\\Orbel5")) + QLatin1Char('/');
    MakeFolder(folders.workFolder);

    folders.configFile = SettingsFilePath();

    const QString documents = platform::KnownFolderPath(platform::KnownFolder::Documents);
    folders.documentsRoot = platform::JoinPath(documents, QStringLiteral("\\Dravik"));
    MakeFolder(folders.documentsRoot);
    folders.projectFolder = platform::JoinPath(folders.documentsRoot, QStringLiteral("\\Dravik_Prj"));
    folders.contentsFolder = platform::JoinPath(folders.documentsRoot, QStringLiteral("\\Dravik_Contents"));
    folders.savedNotesFolder = platform::JoinPath(folders.documentsRoot, QStringLiteral("\\Dravik_Saved_Notes"));
    MakeFolder(folders.projectFolder);
    MakeFolder(folders.contentsFolder);
    MakeFolder(folders.savedNotesFolder);
    return folders;
}

void SetConfigDefaults(ConfigInfomation* config, const SettingsFolders& folders,
                       int canvasWidth, int canvasHeight, bool keepLanguage)
{
    ConfigInfomation& c = *config;
    c.proj = folders.projectFolder;
    c.color = QStringLiteral("white");
    c.bgfile.clear();
    if (!keepLanguage)
        c.language = -1;
    c.bgtrans = 255;
    c.logofile.clear();
    c.logotrans = 255;
    c.logopos = 0;
    c.dual = false;
    c.erase = false;
    c.cursor = true;
    c.toolpos = 0;
    c.toolsave = false;
    c.floatingX = canvasWidth / 2;
    c.floatingY = canvasHeight / 2;
    c.version = QString::fromLatin1(kProgramVersion);
    c.updatetype = 0;
    c.upserver.clear();
    c.ShowImportMsg = false;
    c.FPenWidth1 = 1;
    c.FPenWidth2 = 4;
    c.FPenWidth3 = 7;
    c.FPenWidth4 = 10;
    c.Path = folders.contentsFolder;
    c.Type = 3;
    c.Name = false;
    c.Check = false;
    c.ViewPos = 3;
    c.VideoRatio = 1;
    c.VideoPreset = 2;
    c.VideoQuality = 2;
    c.VideoFrameRate = 5;
    c.AudioQuality = 2;
    c.AudioBitRate = 2;
    c.ScreenPreset = 2;
    c.ScreenQuality = 2;
    c.ScreenFrameRate = 3;
    c.Server = QString::fromLatin1(kDefaultUploadServer);
    c.Port = QStringLiteral("5555");
}

bool ReadConfigFile(const QString& path, ConfigInfomation* config)
{
    if (!QFileInfo(path).isFile())
        return false;
    QSettings ini(path, QSettings::IniFormat);
    OpenIni(ini);
    ConfigInfomation& c = *config;
    auto text = [&ini](const char* key) { return IniTextValue(ini, QLatin1String(key)); };
    auto number = [&ini](const char* key) { return ini.value(QLatin1String(key)).toInt(); };
    auto flag = [&ini](const char* key) { return ini.value(QLatin1String(key)).toBool(); };

    ini.beginGroup(QStringLiteral("Position"));
    c.floatingX = number("floatingX");
    c.floatingY = number("floatingY");
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Normal"));
    c.proj = text("proj");
    c.dual = flag("dual");
    c.language = number("language");
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Note"));
    c.color = text("color");
    c.bgfile = text("bgfile");
    c.bgtrans = number("bgtrans");
    c.logofile = text("logofile");
    c.logotrans = number("logotrans");
    c.logopos = number("logopos");
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Option"));
    c.erase = flag("erase");
    c.cursor = flag("cursor");
    c.toolsave = flag("toolsave");
    c.toolpos = number("toolpos");
    c.upserver = text("upserver");
    c.updatetype = number("updatetype");
    c.ShowImportMsg = flag("ShowImportMsg");
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Pen"));
    c.FPenWidth1 = number("FPenWidth1");
    c.FPenWidth2 = number("FPenWidth2");
    c.FPenWidth3 = number("FPenWidth3");
    c.FPenWidth4 = number("FPenWidth4");
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Record"));
    c.Type = number("Type");
    c.Path = text("Path");
    c.Name = flag("Name");
    c.Check = flag("Check");
    c.CamDevice = text("CamDevice");
    c.ViewPos = number("ViewPos");
    c.VideoRatio = number("VideoRatio");
    c.VideoPreset = number("VideoPreset");
    c.VideoQuality = number("VideoQuality");
    c.VideoFrameRate = number("VideoFrameRate");
    c.AudioQuality = number("AudioQuality");
    c.AudioBitRate = number("AudioBitRate");
    c.ScreenPreset = number("ScreenPreset");
    c.ScreenQuality = number("ScreenQuality");
    c.ScreenFrameRate = number("ScreenFrameRate");
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Strova"));
    c.SaveID = flag("SaveID") ? 1 : 0;
    c.ID = text("ID");
    c.Server = text("Server");
    c.Port = text("Port");
    ini.endGroup();

    KeepInRange(&c.toolpos, 0, 4, 0, "Option/toolpos");
    KeepInRange(&c.Type, 0, 3, 3, "Record/Type");
    KeepInRange(&c.ViewPos, 0, 3, 3, "Record/ViewPos");
    KeepInRange(&c.bgtrans, 0, 255, 255, "Note/bgtrans");
    KeepInRange(&c.logotrans, 0, 255, 255, "Note/logotrans");
    return true;
}

bool WriteConfigFile(const QString& path, const ConfigInfomation& c)
{
    QSettings ini(path, QSettings::IniFormat);
    OpenIni(ini);

    ini.beginGroup(QStringLiteral("Position"));
    ini.setValue(QStringLiteral("floatingX"), c.floatingX);
    ini.setValue(QStringLiteral("floatingY"), c.floatingY);
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Normal"));
    ini.setValue(QStringLiteral("proj"), c.proj);
    ini.setValue(QStringLiteral("version"), c.version);
    ini.setValue(QStringLiteral("dual"), c.dual);
    ini.setValue(QStringLiteral("language"), c.language);
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Note"));
    ini.setValue(QStringLiteral("color"), c.color);
    ini.setValue(QStringLiteral("bgfile"), c.bgfile);
    ini.setValue(QStringLiteral("bgtrans"), c.bgtrans);
    ini.setValue(QStringLiteral("logofile"), c.logofile);
    ini.setValue(QStringLiteral("logotrans"), c.logotrans);
    ini.setValue(QStringLiteral("logopos"), c.logopos);
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Option"));
    ini.setValue(QStringLiteral("erase"), c.erase);
    ini.setValue(QStringLiteral("cursor"), c.cursor);
    ini.setValue(QStringLiteral("toolsave"), c.toolsave);
    ini.setValue(QStringLiteral("toolpos"), c.toolpos);
    ini.setValue(QStringLiteral("upserver"), c.upserver);
    ini.setValue(QStringLiteral("updatetype"), c.updatetype);
    ini.setValue(QStringLiteral("ShowImportMsg"), c.ShowImportMsg);
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Pen"));
    ini.setValue(QStringLiteral("FPenWidth1"), c.FPenWidth1);
    ini.setValue(QStringLiteral("FPenWidth2"), c.FPenWidth2);
    ini.setValue(QStringLiteral("FPenWidth3"), c.FPenWidth3);
    ini.setValue(QStringLiteral("FPenWidth4"), c.FPenWidth4);
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Record"));
    ini.setValue(QStringLiteral("Type"), c.Type);
    ini.setValue(QStringLiteral("Path"), c.Path);
    ini.setValue(QStringLiteral("Name"), c.Name);
    ini.setValue(QStringLiteral("Check"), c.Check);
    ini.setValue(QStringLiteral("CamDevice"), c.CamDevice);
    ini.setValue(QStringLiteral("ViewPos"), c.ViewPos);
    ini.setValue(QStringLiteral("VideoRatio"), c.VideoRatio);
    ini.setValue(QStringLiteral("VideoPreset"), c.VideoPreset);
    ini.setValue(QStringLiteral("VideoQuality"), c.VideoQuality);
    ini.setValue(QStringLiteral("VideoFrameRate"), c.VideoFrameRate);
    ini.setValue(QStringLiteral("AudioQuality"), c.AudioQuality);
    ini.setValue(QStringLiteral("AudioBitRate"), c.AudioBitRate);
    ini.setValue(QStringLiteral("ScreenPreset"), c.ScreenPreset);
    ini.setValue(QStringLiteral("ScreenQuality"), c.ScreenQuality);
    ini.setValue(QStringLiteral("ScreenFrameRate"), c.ScreenFrameRate);
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Strova"));
    ini.setValue(QStringLiteral("SaveID"), c.SaveID != 0 ? 1 : 0);
    ini.setValue(QStringLiteral("ID"), c.ID);
    ini.setValue(QStringLiteral("Server"), c.Server);
    ini.setValue(QStringLiteral("Port"), c.Port);
    ini.endGroup();

    ini.sync();
    if (ini.status() != QSettings::NoError) {
        qDebug().noquote() << "cannot write settings file" << path;
        return false;
    }
    return true;
}

bool WriteLanguageOption(const QString& path, int language)
{
    QSettings ini(path, QSettings::IniFormat);
    OpenIni(ini);
    ini.beginGroup(QStringLiteral("Normal"));
    ini.setValue(QStringLiteral("language"), language);
    ini.endGroup();
    ini.sync();
    if (ini.status() != QSettings::NoError) {
        qDebug().noquote() << "cannot write settings file" << path;
        return false;
    }
    return true;
}

ConfigApplyResult ApplyConfigRecord(ConfigInfomation* live, const ConfigInfomation& in)
{
    ConfigApplyResult result;
    ConfigInfomation& c = *live;
    if (in.proj != c.proj) {
        c.proj = in.proj;
        result.projectFolderChanged = true;
    }
    if (in.color != c.color) {
        c.color = in.color;
        result.colorChanged = true;
        result.redrawPages = true;
    }
    if (in.bgfile != c.bgfile) {
        c.bgfile = in.bgfile;
        result.redrawPages = true;
    }
    if (in.logofile != c.logofile) {
        c.logofile = in.logofile;
        result.redrawPages = true;
    }
    c.logotrans = in.logotrans;
    c.bgtrans = in.bgtrans;
    c.logopos = in.logopos;

    c.dual = in.dual;
    c.Type = in.Type;
    c.Path = in.Path;
    c.Name = in.Name;
    c.Check = in.Check;
    c.CamDevice = in.CamDevice;
    c.ViewPos = in.ViewPos;
    c.VideoRatio = in.VideoRatio;
    c.VideoPreset = in.VideoPreset;
    c.VideoQuality = in.VideoQuality;
    c.VideoFrameRate = in.VideoFrameRate;
    c.AudioQuality = in.AudioQuality;
    c.AudioBitRate = in.AudioBitRate;
    c.ScreenPreset = in.ScreenPreset;
    c.ScreenQuality = in.ScreenQuality;
    c.ScreenFrameRate = in.ScreenFrameRate;
    c.Server = in.Server;
    c.Port = in.Port;
    c.language = in.language;
    c.erase = in.erase;
    c.toolsave = in.toolsave;

    if (in.cursor != c.cursor) {
        c.cursor = in.cursor;
        result.cursorChanged = true;
    }
    c.FPenWidth1 = in.FPenWidth1;
    c.FPenWidth2 = in.FPenWidth2;
    c.FPenWidth3 = in.FPenWidth3;
    c.FPenWidth4 = in.FPenWidth4;
    return result;
}

QColor BoardColorFromSetting(const QString& setting, const QColor& blackboard, const QColor& fallback)
{
    if (setting == QLatin1String("blackboard color"))
        return blackboard;
    const QColor named(setting);
    if (!named.isValid()) {
        qDebug().noquote() << "unknown board colour" << setting;
        return fallback;
    }
    return named;
}

QRect SettingsDialogGeometry(int canvasWidth, int canvasHeight)
{
    return QRect(canvasWidth / 2 - 225, canvasHeight / 2 - 240, 451, 481);
}
