#include "app/ui/dialog.h"

#include "app/language_codes.h"

#include <QDebug>

// The interface texts, read once at construction; a change of language takes
// effect at the next start.
void Dialog::LoadLanguage()
{
    m_languageCode.clear();
    if (m_config.language > -1) {
        m_languageCode = LanguageFileCode(m_config.language);
    } else {
        int index = 1;
        m_languageCode = SystemLanguageCode(&index);
    }
    m_languageFilePath = LanguageFilePath(m_languageFolder, m_languageCode);
    m_lang = ReadLanguageFile(m_languageFilePath);
    qDebug().noquote() << "language" << m_languageCode << m_languageFilePath;
}
