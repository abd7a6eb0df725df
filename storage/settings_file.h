#pragma once

#include <QColor>
#include <QMetaType>
#include <QRect>
#include <QString>

// The user settings of the whiteboard: one record, one field per key of
// "Config.ini". Field names are the key names of the file so the mapping below
// reads as a table.
struct ConfigInfomation {
    // Normal
    QString proj;                // project folder
    QString version;             // program version, written only
    bool dual = false;           // dual-screen mode
    int language = -1;           // language index; -1 follows the system
    // Note
    QString color;               // colour name, or "blackboard color"
    QString bgfile;              // background picture
    int bgtrans = 0;             // background opacity 0-255
    QString logofile;            // logo picture
    int logotrans = 0;           // logo opacity 0-255
    int logopos = 0;             // logo position
    // Option
    bool erase = false;          // confirm erase-all
    bool cursor = false;         // pen cursor while the free pen is active
    bool toolsave = false;       // restore toolbar and panel positions at start
    int toolpos = 0;             // toolbar position 0..4
    QString upserver;            // update server
    int updatetype = 0;          // update mode
    bool ShowImportMsg = false;  // show the document-import help first
    // Position
    int floatingX = 0;           // floating main panel
    int floatingY = 0;
    // Pen
    int FPenWidth1 = 0;
    int FPenWidth2 = 0;
    int FPenWidth3 = 0;
    int FPenWidth4 = 0;
    // Record
    QString Path;                // recordings and contents packages
    int Type = 0;                // 0 camera, 1 audio, 2 screen, 3 ask
    bool Name = false;           // ask for the file name
    bool Check = false;          // confirm first
    QString CamDevice;
    int ViewPos = 0;
    int VideoRatio = 0;
    int VideoPreset = 0;
    int VideoQuality = 0;
    int VideoFrameRate = 0;
    int AudioQuality = 0;
    int AudioBitRate = 0;
    int ScreenPreset = 0;
    int ScreenQuality = 0;
    int ScreenFrameRate = 0;
    // Strova (lecture upload)
    QString ID;                  // saved login ID
    int SaveID = 0;              // 0 or 1
    QString Server;
    QString Port;                // kept as text
};

Q_DECLARE_METATYPE(ConfigInfomation)

// The program version written into the settings file.
extern const char kProgramVersion[];

// Folders the settings refer to, all created by PrepareSettingsFolders.
struct SettingsFolders {
    QString commonAppData;   // machine-wide application data
    QString workFolder;      // temporary work folder, ends with a separator
    QString configFile;      // .../Norvane/Dravik/Config.ini
    QString documentsRoot;   // documents + "/Dravik"
    QString projectFolder;   // .../Dravik_Prj
    QString contentsFolder;  // .../Dravik_Contents
    QString savedNotesFolder;  // .../Dravik_Saved_Notes
};

// Looks up the folders and makes the work folder and the document folders
// when missing; an existing folder is left as it is.
SettingsFolders PrepareSettingsFolders();

// The path of the settings file under the common application-data folder.
QString SettingsFilePath();

// The work folder (unpacked projects, page images), without a trailing
// separator.
QString WorkFolderPath();

// Fills the record with the defaults. `keepLanguage` leaves the language index
// as it is (a reset from the settings dialog keeps the chosen language). The
// camera device and the upload login (ID, SaveID) are never touched here.
void SetConfigDefaults(ConfigInfomation* config, const SettingsFolders& folders,
                       int canvasWidth, int canvasHeight, bool keepLanguage);

// Reads every key of an existing settings file into the record. A key missing
// from the file reads as zero, false or an empty text; "version" is not read.
// Choices outside their set (toolbar position, record type, preview corner,
// opacities) are reported and read as their defaults.
// Returns false, leaving the record untouched, when the file does not exist.
bool ReadConfigFile(const QString& path, ConfigInfomation* config);

// Writes the seven groups and their 42 keys; other keys of a sound file are
// kept, a damaged file keeps only what it held in the seven groups. The file
// is replaced only once the new one is whole. Returns whether it was written.
bool WriteConfigFile(const QString& path, const ConfigInfomation& config);

// Rewrites only Normal/language. Returns whether the file was written.
bool WriteLanguageOption(const QString& path, int language);

// The default host of the lecture-upload service.
extern const char kDefaultUploadServer[];

// What taking over a record from the settings dialog changed.
struct ConfigApplyResult {
    bool projectFolderChanged = false;
    bool colorChanged = false;
    bool redrawPages = false;   // colour, background or logo picture changed
    bool cursorChanged = false;
};

// Takes over the fields the settings dialog edits. The live values of toolpos,
// floatingX/Y, version, updatetype, upserver, ShowImportMsg, ID and SaveID are
// kept: the dialog only carries them through.
ConfigApplyResult ApplyConfigRecord(ConfigInfomation* live, const ConfigInfomation& incoming);

// The board colour a colour setting stands for: the blackboard colour for
// "blackboard color", else the colour named by the text (a #rrggbb form or a
// colour name). An unknown name keeps `fallback`.
QColor BoardColorFromSetting(const QString& setting, const QColor& blackboard, const QColor& fallback);

// The settings dialog's place, centred on the canvas, size 451 x 481.
QRect SettingsDialogGeometry(int canvasWidth, int canvasHeight);
