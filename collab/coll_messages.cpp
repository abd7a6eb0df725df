#include "collab/coll_messages.h"

#include <cstring>

namespace coll {

const char* const kBlockEnd = "Block_EN\n";

namespace {

bool InList(const QByteArray& keyword, const char* const* list)
{
    for (const char* const* entry = list; *entry; ++entry) {
        if (keyword == *entry)
            return true;
    }
    return false;
}

const char* const kRelayKeywords[] = {"users", "Connected_ID", "PASSERROR", "EXIT", nullptr};

const char* const kHostOnlyKeywords[] = {
    "LEVEL_CH",   "TOOL_CH",          "DATA_CLEAR",         "EMDATA_SET",          "EDDATA_SET",
    "FPDATA_SET", "NOTEDATA_SET",     "NOTEBTN_SET",        "NOTEIDX_SET",         "IMGPATH_SET",
    "INITPROJ_SET", "REDRAW_SET",     "URdata_SET",         "MouseRelease_SET",    "WIDTHSCROLLBAR_SET",
    "HEIGHTSCROLLBAR_SET", nullptr};

// Messages that begin with mode and user ID. "REALTIME_EVENT", the five pen
// messages and "MODIFY_SET" are missing on purpose: their first fields are
// values, never an address.
const char* const kAddressedKeywords[] = {
    "EMDATA_SET",  "EDDATA_SET",     "FPDATA_SET",         "DATA_CLEAR",          "NOTEDATA_SET",
    "REDRAW_SET",  "DATAINFO_SET",   "NOTEBTN_SET",        "RESOLUTION_SET",      "WIDTHSCROLLBAR_SET",
    "HEIGHTSCROLLBAR_SET", "IMGPATH_SET", "NOTEIDX_SET",   "INITPROJ_SET",        "ChangeNote_SET",
    "UndoRedo_SET", "MouseRelease_SET", "URdata_SET",      nullptr};

QString Escape(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '\\')
            out += QLatin1String("\\\\");
        else if (c == '\n')
            out += QLatin1String("\\n");
        else if (c == '\r')
            out += QLatin1String("\\r");
        else if (c == '|' || u < 0x20 || u > 0x7E)
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += QLatin1Char(c);
    }
    return out;
}

int HexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

}  // namespace

const QVector<KeywordEntry>& KeywordTable()
{
    static const QVector<KeywordEntry> table = {
        {"users", 1},            {"DOC_ST", 2},              {"DOC_EN", 2},           {"REALTIME_EVENT", 3},
        {"LEVEL_CH", 4},         {"PASSERROR", 5},           {"EXIT", 6},             {"PENCOLOR_SET", 7},
        {"PENWIDTH_SET", 8},     {"PENHIGHLIGHT_SET", 9},    {"PENTYPE_SET", 10},     {"PENINFO_SET", 11},
        {"Connected_ID", 12},    {"EMDATA_SET", 14},         {"EDDATA_SET", 15},      {"FPDATA_SET", 16},
        {"DATA_CLEAR", 17},      {"NOTEDATA_SET", 18},       {"REDRAW_SET", 19},      {"DATAINFO_SET", 20},
        {"NOTEBTN_SET", 21},     {"RESOLUTION_SET", 22},     {"WIDTHSCROLLBAR_SET", 23},
        {"HEIGHTSCROLLBAR_SET", 24}, {"MODIFY_SET", 25},     {"IMGPATH_SET", 26},     {"NOTEIDX_SET", 27},
        {"INITPROJ_SET", 28},    {"TOOL_CH", 29},            {"ChangeNote_SET", 30},  {"UndoRedo_SET", 31},
        {"MouseRelease_SET", 32}, {"URdata_SET", 33},
    };
    return table;
}

int KeywordCode(const QByteArray& keyword)
{
    for (const KeywordEntry& entry : KeywordTable()) {
        if (keyword == entry.keyword)
            return entry.code;
    }
    return 0;
}

bool IsRelayKeyword(const QByteArray& keyword) { return InList(keyword, kRelayKeywords); }
bool IsHostOnlyKeyword(const QByteArray& keyword) { return InList(keyword, kHostOnlyKeywords); }
bool IsAddressedKeyword(const QByteArray& keyword) { return InList(keyword, kAddressedKeywords); }
bool IsFileKeyword(const QByteArray& keyword) { return keyword == "DOC_ST" || keyword == "DOC_EN"; }

QString IntText(qint64 value) { return QString::number(value); }

QString DoubleText(double value) { return QString::asprintf("%g", value); }

QString BoolText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

QString TextField(const QString& text)
{
    QString field = text;
    field.replace(QLatin1Char(','), QLatin1Char('_'));
    return field;
}

QStringList ColourFields(const QColor& colour)
{
    return {IntText(colour.red()), IntText(colour.green()), IntText(colour.blue()), IntText(colour.alpha())};
}

QByteArray JoinFields(const QStringList& fields) { return fields.join(QLatin1Char(',')).toUtf8(); }

Fields::Fields(const QByteArray& utf8) : Fields(QString::fromUtf8(utf8)) {}

Fields::Fields(const QString& text) : m_parts(text.split(QLatin1Char(','), Qt::KeepEmptyParts)) {}

QString Fields::text(int index) const
{
    return index >= 0 && index < m_parts.size() ? m_parts.at(index) : QString();
}

int Fields::toInt(int index) const { return text(index).toInt(); }

double Fields::toDouble(int index) const { return text(index).toDouble(); }

QString FrameText(const CollFrame& frame)
{
    return Escape(frame.keyword) + QLatin1Char('|') + Escape(frame.data) + QLatin1Char('|') + Escape(frame.tail);
}

bool ParseFrameText(const QString& line, CollFrame* frame)
{
    QVector<QByteArray> parts(1);
    // Plain characters are gathered and converted together, so characters
    // outside the basic plane keep both halves.
    QString plain;
    const auto flush = [&]() {
        parts.last() += plain.toUtf8();
        plain.clear();
    };
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('|')) {
            flush();
            parts.append(QByteArray());
            continue;
        }
        if (c != QLatin1Char('\\')) {
            plain += c;
            continue;
        }
        flush();
        if (++i >= line.size())
            return false;
        const QChar e = line.at(i);
        if (e == QLatin1Char('\\'))
            parts.last() += '\\';
        else if (e == QLatin1Char('n'))
            parts.last() += '\n';
        else if (e == QLatin1Char('r'))
            parts.last() += '\r';
        else if (e == QLatin1Char('x') && i + 2 < line.size() && HexDigit(line.at(i + 1)) >= 0
                 && HexDigit(line.at(i + 2)) >= 0) {
            parts.last() += char(HexDigit(line.at(i + 1)) * 16 + HexDigit(line.at(i + 2)));
            i += 2;
        } else {
            return false;
        }
    }
    flush();
    if (parts.size() > 3)
        return false;
    CollFrame parsed;
    parsed.keyword = parts.value(0);
    parsed.data = parts.value(1);
    parsed.tail = parts.size() == 3 ? parts.at(2) : QByteArray(kBlockEnd);
    if (frame)
        *frame = parsed;
    return true;
}

}  // namespace coll
