#pragma once

#include <QLocale>
#include <QString>

// The interface language: an index stored in the settings (-1 follows the
// system) and the three-letter code that names its ".lng" file.

// The code of a language index; "ENU" for 1 and for any index outside the table.
QString LanguageFileCode(int index);

// The index of the language a stored setting makes the program use: the
// system's for -1 (or any negative value), the default one for an index past
// the table, else the index itself.
int LanguageIndexInUse(int stored);

// The language of the system locale; writes its index to *index.
QString SystemLanguageCode(int* index);

// The rule of SystemLanguageCode for a given locale.
QString LanguageCodeForLocale(const QLocale& locale, int* index);
