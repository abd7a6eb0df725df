#include "updater/update_language.h"

#include "storage/ini_values.h"

#include <QFile>
#include <QSettings>
#include <QVector>

namespace {

QVector<QString>& TextTable()
{
    static QVector<QString> table(UpdateLanguage::kTextCount + UpdateLanguage::kOwnTextCount);
    return table;
}

QString ResourcePath(const QString& code)
{
    return QStringLiteral(":/Language/l_") + code;
}

// The 34 texts of one resource; a text that is absent stays empty.
QVector<QString> ReadTexts(const QString& path)
{
    const int count = UpdateLanguage::kTextCount + UpdateLanguage::kOwnTextCount;
    QVector<QString> texts(count);
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    settings.beginGroup(QStringLiteral("AutoUpdate"));
    // An unquoted text with commas is prose: its parts are joined as words.
    for (int n = 0; n < count; ++n)
        texts[n] = IniTextValue(settings, QString::number(UpdateLanguage::kFirstId + n), QLatin1String(", "));
    return texts;
}

}  // namespace

void UpdateLanguage::load(const QString& code)
{
    m_code = code;
    if (m_code.isEmpty() || !QFile::exists(ResourcePath(m_code)))
        m_code = QStringLiteral("ENU");
    m_rightToLeft = m_code == QLatin1String("ARA") || m_code == QLatin1String("FAR");

    QVector<QString> texts = ReadTexts(ResourcePath(m_code));
    if (m_code != QLatin1String("ENU")) {
        const QVector<QString> english = ReadTexts(ResourcePath(QStringLiteral("ENU")));
        for (int n = 0; n < kTextCount + kOwnTextCount; ++n) {
            if (texts[n].isEmpty())
                texts[n] = english[n];
        }
    }
    TextTable() = texts;
}

QString languageText(int n)
{
    if (n < 0 || n >= UpdateLanguage::kTextCount)
        return QString();
    return TextTable().at(n);
}

QString updateText(int id)
{
    const int n = id - UpdateLanguage::kFirstId;
    if (n < 0 || n >= UpdateLanguage::kTextCount + UpdateLanguage::kOwnTextCount)
        return QString();
    return TextTable().at(n);
}
