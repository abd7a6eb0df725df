#pragma once

#include <QSettings>
#include <QString>

// A text value of an INI file read whole. The settings class splits an
// unquoted value at its commas into a list, dropping the blanks around them;
// such a value, written by hand or by an older tool, is joined again with
// `separator` so that no part of it is lost.
QString IniTextValue(const QSettings& settings, const QString& key,
                     QLatin1String separator = QLatin1String(","));
