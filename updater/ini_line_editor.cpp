#include "updater/ini_line_editor.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSaveFile>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// One line of the file: its text without the line end, and the line end
// itself ("\r\n", "\n" or nothing for a last line without one).
struct IniLine
{
    QByteArray text;
    QByteArray end;
};

QList<IniLine> SplitLines(const QByteArray& bytes)
{
    QList<IniLine> lines;
    int start = 0;
    while (start < bytes.size()) {
        const int newline = bytes.indexOf('\n', start);
        IniLine line;
        if (newline < 0) {
            line.text = bytes.mid(start);
            start = bytes.size();
        } else {
            line.text = bytes.mid(start, newline - start);
            line.end = "\n";
            if (line.text.endsWith('\r')) {
                line.text.chop(1);
                line.end = "\r\n";
            }
            start = newline + 1;
        }
        lines.append(line);
    }
    return lines;
}

bool IsComment(const QByteArray& trimmed)
{
    return trimmed.startsWith(';') || trimmed.startsWith('#');
}

// The group name of a "[name]" line, or a null array when it is no group line.
QByteArray GroupName(const QByteArray& trimmed)
{
    if (!trimmed.startsWith('['))
        return QByteArray();
    const int close = trimmed.indexOf(']');
    if (close < 0)
        return QByteArray();
    QByteArray name = trimmed.mid(1, close - 1).trimmed();
    if (name.isNull())
        name = QByteArray("");
    return name;
}

bool SameName(const QByteArray& utf8, const QString& name)
{
    return QString::fromUtf8(utf8).compare(name, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, or a null array.
QByteArray KeyName(const QByteArray& trimmed)
{
    if (trimmed.isEmpty() || IsComment(trimmed) || trimmed.startsWith('['))
        return QByteArray();
    const int equals = trimmed.indexOf('=');
    if (equals < 0)
        return QByteArray();
    return trimmed.left(equals).trimmed();
}

bool ReadWholeFile(const QString& filePath, QByteArray* bytes, bool* exists)
{
    QFile file(filePath);
    *exists = file.exists();
    if (!*exists)
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// Locates the group: index of its header line and one past its last line.
bool FindGroup(const QList<IniLine>& lines, const QString& group, int* header, int* end)
{
    *header = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray name = GroupName(lines[i].text.trimmed());
        if (name.isNull())
            continue;
        if (*header >= 0) {
            *end = i;
            return true;
        }
        if (SameName(name, group))
            *header = i;
    }
    *end = lines.size();
    return *header >= 0;
}

}  // namespace

QString ReadIniValue(const QString& filePath, const QString& group, const QString& key,
                     const QString& fallback, bool* found)
{
    if (found)
        *found = false;
    QByteArray bytes;
    bool exists = false;
    if (!ReadWholeFile(filePath, &bytes, &exists) || !exists)
        return fallback;
    if (bytes.startsWith(kUtf8Bom))
        bytes.remove(0, kUtf8Bom.size());
    const QList<IniLine> lines = SplitLines(bytes);
    int header = 0;
    int end = 0;
    if (!FindGroup(lines, group, &header, &end))
        return fallback;
    for (int i = header + 1; i < end; ++i) {
        const QByteArray trimmed = lines[i].text.trimmed();
        const QByteArray name = KeyName(trimmed);
        if (name.isNull() || !SameName(name, key.trimmed()))
            continue;
        if (found)
            *found = true;
        return QString::fromUtf8(trimmed.mid(trimmed.indexOf('=') + 1).trimmed());
    }
    return fallback;
}

bool WriteIniValue(const QString& filePath, const QString& group, const QString& key,
                   const QString& value)
{
    const auto hasBreak = [](const QString& text) {
        return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    };
    if (group.trimmed().isEmpty() || key.trimmed().isEmpty() || hasBreak(group) || hasBreak(key)
        || hasBreak(value) || key.contains(QLatin1Char('=')) || group.contains(QLatin1Char(']')))
        return false;

    QByteArray bytes;
    bool exists = false;
    if (!ReadWholeFile(filePath, &bytes, &exists))
        return false;

    QByteArray bom;
    if (bytes.startsWith(kUtf8Bom)) {
        bom = kUtf8Bom;
        bytes.remove(0, kUtf8Bom.size());
    }
    QList<IniLine> lines = SplitLines(bytes);
    // New lines follow the file's own line ends.
    QByteArray lineEnd("\n");
    for (const IniLine& line : lines) {
        if (!line.end.isEmpty()) {
            lineEnd = line.end;
            break;
        }
    }
    const QByteArray newLine = key.trimmed().toUtf8() + '=' + value.toUtf8();

    int header = 0;
    int end = 0;
    if (FindGroup(lines, group, &header, &end)) {
        int lastContent = header;
        bool replaced = false;
        for (int i = header + 1; i < end; ++i) {
            const QByteArray trimmed = lines[i].text.trimmed();
            if (!trimmed.isEmpty())
                lastContent = i;
            const QByteArray name = KeyName(trimmed);
            if (!name.isNull() && SameName(name, key.trimmed())) {
                lines[i].text = newLine;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            if (lines[lastContent].end.isEmpty())
                lines[lastContent].end = lineEnd;
            lines.insert(lastContent + 1, IniLine{newLine, lineEnd});
        }
    } else {
        if (!lines.isEmpty() && lines.last().end.isEmpty())
            lines.last().end = lineEnd;
        lines.append(IniLine{'[' + group.trimmed().toUtf8() + ']', lineEnd});
        lines.append(IniLine{newLine, lineEnd});
    }

    QByteArray result = bom;
    for (const IniLine& line : lines)
        result += line.text + line.end;

    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(result) != result.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
