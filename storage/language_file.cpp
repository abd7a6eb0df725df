#include "storage/language_file.h"

#include "storage/ini_values.h"

#include <QFileInfo>
#include <QSettings>

#include <initializer_list>

namespace {

QVector<int> KeyRange(int first, int last)
{
    QVector<int> keys;
    for (int key = first; key <= last; ++key)
        keys.append(key);
    return keys;
}

QVector<int> Keys(std::initializer_list<QVector<int>> parts)
{
    QVector<int> keys;
    for (const QVector<int>& part : parts)
        keys += part;
    return keys;
}

constexpr int kLanguageIndexCount = 24;

}  // namespace

void LanguageTexts::clear()
{
    for (const LanguageGroup& group : LanguageGroups())
        (this->*group.list).clear();
}

const QVector<LanguageGroup>& LanguageGroups()
{
    static const QVector<LanguageGroup> groups = {
        {QStringLiteral("Common"), KeyRange(1, 5), &LanguageTexts::common},
        {QStringLiteral("Messages"), KeyRange(100, 171), &LanguageTexts::messages},
        {QStringLiteral("Config"), Keys({KeyRange(300, 303), KeyRange(312, 369), KeyRange(373, 401)}),
         &LanguageTexts::config},
        {QStringLiteral("Clipart"), KeyRange(450, 455), &LanguageTexts::clipart},
        {QStringLiteral("Note List"), KeyRange(500, 501), &LanguageTexts::noteList},
        {QStringLiteral("Print"), KeyRange(600, 605), &LanguageTexts::print},
        {QStringLiteral("Save Note"), KeyRange(700, 710), &LanguageTexts::saveNote},
        {QStringLiteral("Hint"), KeyRange(900, 978), &LanguageTexts::hint},
        // The sub-keys of an entry follow it directly, so the list interleaves
        // three- and four-digit keys.
        {QStringLiteral("Menu"),
         Keys({KeyRange(800, 806), KeyRange(8061, 8063), {807}, KeyRange(8071, 8075), KeyRange(810, 825)}),
         &LanguageTexts::menu},
        {QStringLiteral("ShowImportMsg"), KeyRange(1900, 1901), &LanguageTexts::showImportMsg},
        {QStringLiteral("Import"), KeyRange(1400, 1408), &LanguageTexts::import},
        {QStringLiteral("Spot"), KeyRange(1200, 1208), &LanguageTexts::spot},
        {QStringLiteral("Popup"), KeyRange(1300, 1319), &LanguageTexts::popup},
        {QStringLiteral("SelRecType"), KeyRange(1700, 1711), &LanguageTexts::selRecType},
        {QStringLiteral("Upload"), KeyRange(2200, 2218), &LanguageTexts::upload},
    };
    return groups;
}

int LanguageKeyPosition(const QString& groupName, int key)
{
    for (const LanguageGroup& group : LanguageGroups()) {
        if (group.name == groupName)
            return group.keys.indexOf(key);
    }
    return -1;
}

QString LanguageFilePath(const QString& languageFolder, const QString& code)
{
    const QString path = languageFolder + code + QStringLiteral(".lng");
    if (!code.isEmpty() && QFileInfo(path).isFile())
        return path;
    return languageFolder + QStringLiteral("ENU.lng");
}

LanguageTexts ReadLanguageFile(const QString& path)
{
    LanguageTexts texts;
    QSettings ini(path, QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    for (const LanguageGroup& group : LanguageGroups()) {
        QStringList& list = texts.*group.list;
        ini.beginGroup(group.name);
        for (int key : group.keys)
            list.append(IniTextValue(ini, QString::number(key)));
        ini.endGroup();
    }
    return texts;
}

QStringList ReadLanguageIndex(const QString& languageFolder)
{
    QSettings ini(languageFolder + QStringLiteral("LangIndex.lng"), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    QStringList names;
    ini.beginGroup(QStringLiteral("Language"));
    for (int key = 1; key <= kLanguageIndexCount; ++key)
        names.append(IniTextValue(ini, QString::number(key)));
    ini.endGroup();
    return names;
}

QString ImportHelpFilePath(const QString& languageFolder, const QString& code)
{
    return languageFolder + QStringLiteral("HelpImport_") + code + QStringLiteral(".lng");
}
