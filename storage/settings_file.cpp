#include "storage/settings_file.h"

#include "platform/folders.h"
#include "storage/ini_values.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>
#include <functional>
#include <vector>

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

// The groups the program keeps in the file.
bool IsSettingsGroup(const QString& key)
{
    static const QStringList groups = {QStringLiteral("Position"), QStringLiteral("Normal"), QStringLiteral("Note"),
                                       QStringLiteral("Option"), QStringLiteral("Pen"), QStringLiteral("Record"),
                                       QStringLiteral("Strova")};
    return groups.contains(key.section(QLatin1Char('/'), 0, 0));
}

// Writes the file afresh beside the old one and puts it in place only once the
// whole write succeeded, so a full disk never leaves half a settings file.
// Keys `fill` does not set are carried over from a sound file; from a damaged
// one only the keys of our own groups are, so its junk is not written again
// on every save.
bool WriteIniFile(const QString& path, const std::function<void(QSettings&)>& fill)
{
    // Read through a copy under a name of its own: the process keeps what it
    // once read of a file, and with it the first reader's status, so only a
    // fresh read tells whether the file is damaged.
    const QString copy = path + QStringLiteral(".read");
    QFile::remove(copy);
    const bool copied = QFile::exists(path) && QFile::copy(path, copy);
    bool damaged = false;
    QMap<QString, QVariant> kept;
    {
        QSettings old(copied ? copy : path, QSettings::IniFormat);
        OpenIni(old);
        const QStringList oldKeys = old.allKeys();
        damaged = copied && old.status() == QSettings::FormatError;
        for (const QString& key : oldKeys) {
            if (!damaged || IsSettingsGroup(key))
                kept.insert(key, old.value(key));
        }
    }
    if (copied)
        QFile::remove(copy);
    if (damaged)
        qDebug().noquote() << "settings file is damaged, writing it afresh:" << path;

    const QString fresh = path + QStringLiteral(".new");
    QFile::remove(fresh);
    bool written = false;
    {
        QSettings ini(fresh, QSettings::IniFormat);
        OpenIni(ini);
        ini.clear();
        for (auto it = kept.cbegin(); it != kept.cend(); ++it)
            ini.setValue(it.key(), it.value());
        fill(ini);
        ini.sync();
        written = ini.status() == QSettings::NoError && QFileInfo(fresh).isFile();
    }
    if (written)
        written = ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) == 0;
    if (!written) {
        QFile::remove(fresh);
        qDebug().noquote() << "cannot write settings file" << path;
    }
    return written;
}

// One key of the settings file and the record field it holds. Reading and
// writing walk the same table, so the two can never disagree on a key.
struct ConfigKey {
    enum Kind {
        Text,
        Number,
        Flag,
        FlagNumber,   // an int field kept as 0 or 1
        WrittenText,  // written for other programs, never read back
    };
    const char* group;
    const char* name;
    Kind kind;
    QString ConfigInfomation::*text;
    int ConfigInfomation::*number;
    bool ConfigInfomation::*flag;

    QString path() const { return QLatin1String(group) + QLatin1Char('/') + QLatin1String(name); }
};

ConfigKey TextKey(const char* group, const char* name, QString ConfigInfomation::*field,
                  ConfigKey::Kind kind = ConfigKey::Text)
{
    return {group, name, kind, field, nullptr, nullptr};
}

ConfigKey NumberKey(const char* group, const char* name, int ConfigInfomation::*field,
                    ConfigKey::Kind kind = ConfigKey::Number)
{
    return {group, name, kind, nullptr, field, nullptr};
}

ConfigKey FlagKey(const char* group, const char* name, bool ConfigInfomation::*field)
{
    return {group, name, ConfigKey::Flag, nullptr, nullptr, field};
}

// The seven groups and their 42 keys, in the order they are written.
const std::vector<ConfigKey>& ConfigKeys()
{
    using C = ConfigInfomation;
    static const std::vector<ConfigKey> keys = {
        NumberKey("Position", "floatingX", &C::floatingX),
        NumberKey("Position", "floatingY", &C::floatingY),

        TextKey("Normal", "proj", &C::proj),
        TextKey("Normal", "version", &C::version, ConfigKey::WrittenText),
        FlagKey("Normal", "dual", &C::dual),
        NumberKey("Normal", "language", &C::language),

        TextKey("Note", "color", &C::color),
        TextKey("Note", "bgfile", &C::bgfile),
        NumberKey("Note", "bgtrans", &C::bgtrans),
        TextKey("Note", "logofile", &C::logofile),
        NumberKey("Note", "logotrans", &C::logotrans),
        NumberKey("Note", "logopos", &C::logopos),

        FlagKey("Option", "erase", &C::erase),
        FlagKey("Option", "cursor", &C::cursor),
        FlagKey("Option", "toolsave", &C::toolsave),
        NumberKey("Option", "toolpos", &C::toolpos),
        TextKey("Option", "upserver", &C::upserver),
        NumberKey("Option", "updatetype", &C::updatetype),
        FlagKey("Option", "ShowImportMsg", &C::ShowImportMsg),

        NumberKey("Pen", "FPenWidth1", &C::FPenWidth1),
        NumberKey("Pen", "FPenWidth2", &C::FPenWidth2),
        NumberKey("Pen", "FPenWidth3", &C::FPenWidth3),
        NumberKey("Pen", "FPenWidth4", &C::FPenWidth4),

        NumberKey("Record", "Type", &C::Type),
        TextKey("Record", "Path", &C::Path),
        FlagKey("Record", "Name", &C::Name),
        FlagKey("Record", "Check", &C::Check),
        TextKey("Record", "CamDevice", &C::CamDevice),
        NumberKey("Record", "ViewPos", &C::ViewPos),
        NumberKey("Record", "VideoRatio", &C::VideoRatio),
        NumberKey("Record", "VideoPreset", &C::VideoPreset),
        NumberKey("Record", "VideoQuality", &C::VideoQuality),
        NumberKey("Record", "VideoFrameRate", &C::VideoFrameRate),
        NumberKey("Record", "AudioQuality", &C::AudioQuality),
        NumberKey("Record", "AudioBitRate", &C::AudioBitRate),
        NumberKey("Record", "ScreenPreset", &C::ScreenPreset),
        NumberKey("Record", "ScreenQuality", &C::ScreenQuality),
        NumberKey("Record", "ScreenFrameRate", &C::ScreenFrameRate),

        NumberKey("Strova", "SaveID", &C::SaveID, ConfigKey::FlagNumber),
        TextKey("Strova", "ID", &C::ID),
        TextKey("Strova", "Server", &C::Server),
        TextKey("Strova", "Port", &C::Port),
    };
    return keys;
}

}  // namespace

QString SettingsFilePath()
{
    return platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::CommonAppData),
                              QStringLiteral("\\Norvane\\Dravik\\Config.ini"));
}

QString WorkFolderPath()
{
    return platform::JoinPath(platform::KnownFolderPath(platform::KnownFolder::Temp), QStringLiteral("\\Orbel5"));
}

SettingsFolders PrepareSettingsFolders()
{
    SettingsFolders folders;
    folders.commonAppData = platform::KnownFolderPath(platform::KnownFolder::CommonAppData);

    folders.workFolder = WorkFolderPath() + QLatin1Char('/');
    // The page images of the board: this user's alone.
    const QString problem = platform::EnsurePrivateFolder(WorkFolderPath());
    if (!problem.isEmpty())
        qDebug().noquote() << "exe :" << problem;

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
    for (const ConfigKey& entry : ConfigKeys()) {
        const QString key = entry.path();
        switch (entry.kind) {
        case ConfigKey::Text:
            c.*entry.text = IniTextValue(ini, key);
            break;
        case ConfigKey::Number:
            c.*entry.number = ini.value(key).toInt();
            break;
        case ConfigKey::Flag:
            c.*entry.flag = ini.value(key).toBool();
            break;
        case ConfigKey::FlagNumber:
            c.*entry.number = ini.value(key).toBool() ? 1 : 0;
            break;
        case ConfigKey::WrittenText:
            break;
        }
    }

    KeepInRange(&c.toolpos, 0, 4, 0, "Option/toolpos");
    KeepInRange(&c.Type, 0, 3, 3, "Record/Type");
    KeepInRange(&c.ViewPos, 0, 3, 3, "Record/ViewPos");
    KeepInRange(&c.bgtrans, 0, 255, 255, "Note/bgtrans");
    KeepInRange(&c.logotrans, 0, 255, 255, "Note/logotrans");
    return true;
}

bool WriteConfigFile(const QString& path, const ConfigInfomation& c)
{
    return WriteIniFile(path, [&c](QSettings& ini) {
        for (const ConfigKey& entry : ConfigKeys()) {
            const QString key = entry.path();
            switch (entry.kind) {
            case ConfigKey::Text:
            case ConfigKey::WrittenText:
                ini.setValue(key, c.*entry.text);
                break;
            case ConfigKey::Number:
                ini.setValue(key, c.*entry.number);
                break;
            case ConfigKey::Flag:
                ini.setValue(key, c.*entry.flag);
                break;
            case ConfigKey::FlagNumber:
                ini.setValue(key, c.*entry.number != 0 ? 1 : 0);
                break;
            }
        }
    });
}

bool WriteLanguageOption(const QString& path, int language)
{
    return WriteIniFile(path, [language](QSettings& ini) {
        ini.setValue(QStringLiteral("Normal/language"), language);
    });
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
