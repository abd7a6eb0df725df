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

const char* const kWriterKeywords[] = {
    "REALTIME_EVENT", "MODIFY_SET",   "PENCOLOR_SET",   "PENWIDTH_SET", "PENHIGHLIGHT_SET", "PENTYPE_SET",
    "PENINFO_SET",    "RESOLUTION_SET", "DATAINFO_SET", "ChangeNote_SET", "UndoRedo_SET",   "DOC_ST",
    "DOC_EN",         nullptr};

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
bool IsWriterKeyword(const QByteArray& keyword) { return InList(keyword, kWriterKeywords); }
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

namespace {

QStringList AddressFields(const Address& to)
{
    return {IntText(to.mode), TextField(to.userId)};
}

QByteArray Addressed(const Address& to, const QStringList& values)
{
    return JoinFields(AddressFields(to) + values);
}

QString ObjectKeyField(int slot, quint16 eventId) { return MakeObjectKey(slot, eventId); }

}  // namespace

QByteArray UsersData(const QStringList& ids)
{
    QStringList fields;
    for (const QString& id : ids)
        fields << TextField(id);
    return JoinFields(fields);
}

QByteArray ParticipantData(const QString& id) { return TextField(id).toUtf8(); }

QByteArray HandshakeData(const QString& id, const QString& password, int level)
{
    return JoinFields({TextField(id), password, IntText(level)});
}

QByteArray LevelChangeData(const QString& id, int level, int flag)
{
    return JoinFields({TextField(id), IntText(level), IntText(flag)});
}

QByteArray RealtimeEventData(int tool, int slot, int phase, int x, int y)
{
    return JoinFields({IntText(tool), IntText(slot), IntText(phase), IntText(x), IntText(y)});
}

QByteArray EraseAllEventData(int tool) { return IntText(tool).toUtf8(); }

QByteArray PenColorData(const QColor& colour, int level)
{
    return JoinFields(ColourFields(colour) << IntText(level));
}

QByteArray PenWidthData(int width, int level) { return JoinFields({IntText(width), IntText(level)}); }

QByteArray PenHighlightData(bool highlight, int level) { return JoinFields({BoolText(highlight), IntText(level)}); }

QByteArray PenTypeData(const QString& toolName, int level) { return JoinFields({TextField(toolName), IntText(level)}); }

QByteArray PenInfoData(const QColor& colour, int width, const QString& toolName, bool highlight, int level)
{
    return JoinFields(ColourFields(colour)
                      << IntText(width) << TextField(toolName) << BoolText(highlight) << IntText(level));
}

QByteArray EventMasterData(const Address& to, int slot, int index, const EventMaster& m)
{
    return Addressed(to, {IntText(slot), IntText(index), IntText(m.EventID), DoubleText(m.MediaPos), IntText(m.Kind),
                          IntText(m.StrData), DoubleText(m.SCale), IntText(m.VScroll), IntText(m.HScroll),
                          IntText(m.Slot), TextField(m.NoteName), TextField(m.Extra)});
}

QByteArray EventDetailData(const Address& to, int slot, int index, const EventDetail& d)
{
    QStringList values = {IntText(slot),         IntText(index),        IntText(d.EventID),
                          DoubleText(d.S.x()),   DoubleText(d.S.y()),   DoubleText(d.E.x()),
                          DoubleText(d.E.y()),   DoubleText(d.M.x()),   DoubleText(d.M.y()),
                          DoubleText(d.C.x()),   DoubleText(d.C.y()),   IntText(d.OriginRF.x()),
                          IntText(d.OriginRF.y()), IntText(d.OriginRF.width()), IntText(d.OriginRF.height()),
                          IntText(d.BoundRF.x()), IntText(d.BoundRF.y()), IntText(d.BoundRF.width()),
                          IntText(d.BoundRF.height())};
    values << ColourFields(d.PenColor);
    values << IntText(d.PenWidth) << DoubleText(d.Angle) << IntText(d.Deleted) << IntText(d.Selected)
           << IntText(d.Modified) << IntText(d.Transparent) << IntText(d.CanvasWidth) << IntText(d.CanvasHeight);
    for (const QPoint& p : d.AuxPoints)
        values << IntText(p.x()) << IntText(p.y());
    return Addressed(to, values);
}

QByteArray FreePenPointData(const Address& to, int slot, int index, quint16 eventId, const FreePenPoint& p)
{
    return Addressed(to, {IntText(slot), IntText(index), IntText(eventId), DoubleText(p.MediaPos),
                          DoubleText(p.Press), DoubleText(p.S.x()), DoubleText(p.S.y()), DoubleText(p.M.x()),
                          DoubleText(p.M.y()), IntText(p.MouseAction)});
}

QByteArray DataClearData(const Address& to, const QString& table) { return Addressed(to, {TextField(table)}); }

QByteArray NoteData(const Address& to, const NoteInfo& note, bool sent)
{
    return Addressed(to, {TextField(note.name), TextField(note.create_data), TextField(note.path),
                          TextField(note.extra), TextField(note.imagePath), IntText(note.type),
                          BoolText(note.page_option), IntText(note.width), IntText(note.height), BoolText(sent)});
}

QByteArray RedrawData(const Address& to, const QString& what) { return Addressed(to, {TextField(what)}); }

QByteArray DataInfoData(const Address& to, const QVector<int>& tools, const QVector<int>& nextEventIds, int level)
{
    QStringList values;
    for (int slot = 0; slot < 11; ++slot)
        values << IntText(tools.value(slot));
    for (int slot = 0; slot < 11; ++slot)
        values << IntText(nextEventIds.value(slot));
    values << IntText(level);
    return Addressed(to, values);
}

QByteArray NoteButtonData(const Address& to, const QString& noteButtonName)
{
    return Addressed(to, {TextField(noteButtonName)});
}

QByteArray ResolutionData(const Address& to, int level, int width, int height)
{
    return Addressed(to, {IntText(level), IntText(width), IntText(height)});
}

QByteArray ScrollBarData(const Address& to, int position, int maximum)
{
    Address address = to;
    if (address.mode == 0)
        address.userId = QStringLiteral("NULL");
    return Addressed(address, {IntText(position), IntText(maximum)});
}

QByteArray ImagePathData(const Address& to, const QString& path, bool clear, int counter)
{
    return Addressed(to, {clear ? QStringLiteral("NULL") : TextField(path), BoolText(clear), IntText(counter)});
}

QByteArray NoteIndexData(const Address& to, int index, int count)
{
    return Addressed(to, {IntText(index), IntText(count)});
}

QByteArray InitProjectData(const Address& to, int flag) { return Addressed(to, {IntText(flag)}); }
QByteArray ChangeNoteData(const Address& to, int direction) { return Addressed(to, {IntText(direction)}); }
QByteArray UndoRedoData(const Address& to, int action) { return Addressed(to, {IntText(action)}); }
QByteArray MouseReleaseData(const Address& to, int action) { return Addressed(to, {IntText(action)}); }

QByteArray UndoPositionData(const Address& to, int position, int count)
{
    return Addressed(to, {IntText(position), IntText(count)});
}

QByteArray ModifyMoveData(int slot, quint16 eventId, int dx, int dy, const QPoint corners[4], int place, int size,
                          int level)
{
    QStringList fields = {IntText(0), ObjectKeyField(slot, eventId), IntText(eventId), IntText(dx), IntText(dy)};
    for (int i = 0; i < 4; ++i)
        fields << IntText(corners[i].x()) << IntText(corners[i].y());
    fields << IntText(place) << IntText(size) << IntText(level);
    return JoinFields(fields);
}

QByteArray ModifyResizeData(int slot, quint16 eventId, const QRect& rect, int place, int size, int level)
{
    return JoinFields({IntText(1), ObjectKeyField(slot, eventId), IntText(eventId), IntText(rect.x()),
                       IntText(rect.y()), IntText(rect.width()), IntText(rect.height()), IntText(place),
                       IntText(size), IntText(level)});
}

QByteArray ModifyDeleteData(int slot, quint16 eventId, bool deleted, int place, int size)
{
    return JoinFields({IntText(2), ObjectKeyField(slot, eventId), IntText(eventId), BoolText(deleted),
                       IntText(place), IntText(size)});
}

QByteArray ModifyRotateData(int slot, quint16 eventId, float angle, int place, int size)
{
    return JoinFields({IntText(3), ObjectKeyField(slot, eventId), IntText(eventId), IntText(qint64(angle)),
                       IntText(place), IntText(size)});
}

QByteArray FileTail(const Address& to, int kind, const QString& name)
{
    QStringList fields = AddressFields(to) << IntText(kind);
    if (kind == 3 || kind == 4)
        fields << TextField(name);
    fields << QString::fromLatin1(kBlockEnd);
    return JoinFields(fields);
}

QByteArray FileEndData() { return QByteArrayLiteral("NULL"); }

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
