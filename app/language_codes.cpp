#include "app/language_codes.h"

#include <array>

namespace {

struct LanguageEntry {
    const char* code;
    QLocale::Language language;
};

// Index order is stored in users' settings files: never reorder.
const std::array<LanguageEntry, 25> kLanguages = {{
    {"KOR", QLocale::Korean},     {"ENU", QLocale::AnyLanguage}, {"JPN", QLocale::Japanese},
    {"CHS", QLocale::Chinese},    {"CHT", QLocale::Chinese},     {"DEU", QLocale::German},
    {"PTB", QLocale::Portuguese}, {"FRA", QLocale::French},      {"ITA", QLocale::Italian},
    {"IND", QLocale::Indonesian}, {"PLK", QLocale::Polish},      {"RUS", QLocale::Russian},
    {"ROM", QLocale::Romanian},   {"DAN", QLocale::Danish},      {"ESN", QLocale::Spanish},
    {"BGR", QLocale::Bulgarian},  {"LTH", QLocale::Lithuanian},  {"CSY", QLocale::Czech},
    {"FIN", QLocale::Finnish},    {"NON", QLocale::NorwegianBokmal}, {"SVE", QLocale::Swedish},
    {"FAR", QLocale::Persian},    {"ARA", QLocale::Arabic},      {"VIT", QLocale::Vietnamese},
    {"NLD", QLocale::Dutch},
}};

constexpr int kDefaultIndex = 1;
constexpr int kSimplifiedChineseIndex = 3;
constexpr int kTraditionalChineseIndex = 4;

}  // namespace

QString LanguageFileCode(int index)
{
    if (index < 0 || index >= static_cast<int>(kLanguages.size()))
        index = kDefaultIndex;
    return QString::fromLatin1(kLanguages[static_cast<size_t>(index)].code);
}

QString LanguageCodeForLocale(const QLocale& locale, int* index)
{
    int found = kDefaultIndex;
    const QLocale::Language language = locale.language();
    if (language == QLocale::Chinese) {
        // Qt names mainland Chinese plain "zh", so the script of the locale is
        // decided by its country rather than by the full locale name.
        switch (locale.country()) {
        case QLocale::China:
        case QLocale::Singapore:
            found = kSimplifiedChineseIndex;
            break;
        case QLocale::Taiwan:
        case QLocale::HongKong:
            found = kTraditionalChineseIndex;
            break;
        default:
            break;
        }
    } else if (language != QLocale::AnyLanguage && language != QLocale::C) {
        for (size_t i = 0; i < kLanguages.size(); ++i) {
            if (kLanguages[i].language == language) {
                found = static_cast<int>(i);
                break;
            }
        }
    }
    if (index)
        *index = found;
    return LanguageFileCode(found);
}

int LanguageIndexInUse(int stored)
{
    if (stored >= static_cast<int>(kLanguages.size()))
        return kDefaultIndex;
    if (stored >= 0)
        return stored;
    int index = kDefaultIndex;
    SystemLanguageCode(&index);
    return index;
}

QString SystemLanguageCode(int* index)
{
    return LanguageCodeForLocale(QLocale(), index);
}
