#include "storage/ini_values.h"

#include <QStringList>
#include <QVariant>

QString IniTextValue(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}
