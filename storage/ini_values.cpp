#include "storage/ini_values.h"

#include <QStringList>
#include <QVariant>

QString IniTextValue(const QSettings& settings, const QString& key, QLatin1String separator)
{
    const QVariant value = settings.value(key);
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(separator);
    return value.toString();
}
