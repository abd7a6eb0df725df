#pragma once

#include <QLocale>
#include <QString>

// The interface language: an index stored in the settings (-1 follows the
// system) and the three-letter code that names its ".lng" file.

// The code of a language index; "ENU" for 1 and for any index outside the table.
QString LanguageFileCode(int index);

// The language of the system locale; writes its index to *index.
QString SystemLanguageCode(int* index);

// The rule of SystemLanguageCode for a given locale.
QString LanguageCodeForLocale(const QLocale& locale, int* index);
