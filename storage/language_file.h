#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The interface texts of one language, one list per group of the language
// file. Each list always has the full length of its group's key set (a key
// missing from the file gives an empty text), so a caption taken by fixed
// index never falls outside its list.
struct LanguageTexts {
    QStringList common;         // "Common"        keys 1..5
    QStringList messages;       // "Messages"      keys 100..171 (index = key - 100)
    QStringList config;         // "Config"        keys 300..303, 312..369, 373..401
    QStringList clipart;        // "Clipart"       keys 450..455
    QStringList noteList;       // "Note List"     keys 500, 501
    QStringList print;          // "Print"         keys 600..605
    QStringList saveNote;       // "Save Note"     keys 700..710
    QStringList hint;           // "Hint"          keys 900..978 (index = key - 900)
    QStringList menu;           // "Menu"          keys 800..806, 8061..8063, 807, 8071..8075, 810..825
    QStringList showImportMsg;  // "ShowImportMsg" keys 1900, 1901
    QStringList import;         // "Import"        keys 1400..1408 (1407, 1408: the document does not open)
    QStringList spot;           // "Spot"          keys 1200..1208
    QStringList popup;          // "Popup"         keys 1300..1319 (index = key - 1300)
    QStringList selRecType;     // "SelRecType"    keys 1700..1711
    QStringList upload;         // "Upload"        keys 2200..2218

    void clear();
};

// One group of the language file: its name and its keys in list order.
struct LanguageGroup {
    QString name;
    QVector<int> keys;
    QStringList LanguageTexts::*list;
};

// The fifteen groups in reading order.
const QVector<LanguageGroup>& LanguageGroups();

// Where a key of a group sits in that group's list; -1 for a group or key
// outside the sets.
int LanguageKeyPosition(const QString& groupName, int key);

// The language file of a code in `languageFolder` (which ends with a
// separator), or "ENU.lng" of that folder when the code has no file.
QString LanguageFilePath(const QString& languageFolder, const QString& code);

// Reads a language file (INI, UTF-8). Keys outside the groups' key sets are
// ignored; a missing file yields lists of empty texts.
LanguageTexts ReadLanguageFile(const QString& path);

// The display names of "LangIndex.lng" (group "Language", keys 1..24), in key
// order; a missing key gives an empty name.
QStringList ReadLanguageIndex(const QString& languageFolder);

// The import help file of a language: "HelpImport_" + code + ".lng".
QString ImportHelpFilePath(const QString& languageFolder, const QString& code);
