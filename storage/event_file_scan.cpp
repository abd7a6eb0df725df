#include "storage/event_file_scan.h"

#include "board/board_records.h"

#include <cstring>

namespace storage {

const char* const kMasterAttributes[kMasterAttributeCount] = {"KD", "MP", "SD", "EI", "SC", "HS", "VS"};
const char* const kDetailAttributes[kDetailAttributeCount] = {"EI", "SX", "SY", "EX", "EY", "MX", "MY", "CX",
                                                              "CY", "OX", "OY", "OW", "OH", "BX", "BY", "BW",
                                                              "BH", "PC", "PW", "AG", "BD", "TP"};
const char* const kPointAttributes[kPointAttributeCount] = {"EI", "MP", "MA", "PS", "SX", "SY", "MX", "MY"};
const char* const kEventAttributes[kEventAttributeCount] = {"Note", "Width", "Height", "RWidth", "RHeight"};

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A character an attribute value holds as itself in any XML reader.
bool IsPlain(char c)
{
    return c >= 0x20 && c <= 0x7E && c != '"' && c != '<' && c != '&';
}

// The three kinds of slot group and their records.
enum class Group { Master, Detail, Point };

struct GroupForm {
    const char* tag;
    const char* const* attributes;
    int count;
};

const GroupForm kGroups[] = {{"EM", kMasterAttributes, kMasterAttributeCount},
                             {"ED", kDetailAttributes, kDetailAttributeCount},
                             {"FP", kPointAttributes, kPointAttributeCount}};

// Where the scan stands; every step checks that what it takes is there.
class Cursor
{
public:
    Cursor(const char* begin, const char* end) : m_at(begin), m_end(end) {}

    bool atEnd() const { return m_at == m_end; }

    // True when blanks were skipped.
    bool skipBlanks()
    {
        const char* from = m_at;
        while (m_at < m_end && IsBlank(*m_at))
            ++m_at;
        return m_at != from;
    }

    bool take(const char* text, size_t length)
    {
        if (size_t(m_end - m_at) < length || std::memcmp(m_at, text, length) != 0)
            return false;
        m_at += length;
        return true;
    }

    bool take(const char* text) { return take(text, std::strlen(text)); }

    // Decimal digits, at least one; `digits` receives them.
    bool takeDigits(XmlText* digits)
    {
        digits->begin = m_at;
        while (m_at < m_end && *m_at >= '0' && *m_at <= '9')
            ++m_at;
        digits->end = m_at;
        return digits->size() > 0;
    }

    // Blanks, then name="value" with a plain value.
    bool attribute(const char* name, XmlText* value)
    {
        if (!skipBlanks() || !take(name) || !take("=\"", 2))
            return false;
        value->begin = m_at;
        while (m_at < m_end && IsPlain(*m_at))
            ++m_at;
        value->end = m_at;
        return take("\"", 1);
    }

    bool attributes(const char* const* names, int count, XmlText* values)
    {
        for (int i = 0; i < count; ++i) {
            if (!attribute(names[i], &values[i]))
                return false;
        }
        return true;
    }

    // The end of a start tag: "/>" (`empty` set) or ">", blanks before it.
    bool closeStartTag(bool* empty)
    {
        skipBlanks();
        *empty = take("/>", 2);
        return *empty || take(">", 1);
    }

    // "</name>", blanks allowed before the ">".
    bool endTag(const char* name, size_t length)
    {
        if (!take("</", 2) || !take(name, length))
            return false;
        skipBlanks();
        return take(">", 1);
    }

    bool at(const char* text) const
    {
        const size_t length = std::strlen(text);
        return size_t(m_end - m_at) >= length && std::memcmp(m_at, text, length) == 0;
    }

private:
    const char* m_at;
    const char* m_end;
};

// The slot of a group named tag + "_" + digits with Index="digits": the
// writer's own decimal form of a slot that exists, nothing else.
bool GroupSlot(const XmlText& suffix, const XmlText& index, int* slot)
{
    if (suffix.size() != index.size() || std::memcmp(suffix.begin, index.begin, size_t(suffix.size())) != 0)
        return false;
    if (suffix.size() > 2 || (suffix.size() == 2 && suffix.begin[0] == '0'))
        return false;
    int value = 0;
    for (const char* c = suffix.begin; c < suffix.end; ++c)
        value = value * 10 + (*c - '0');
    *slot = value;
    return IsValidPointerSlot(value);
}

// One slot group from its "<": the start tag, its records, its end tag.
bool ScanGroup(Cursor& cursor, EventFileVisitor& visitor)
{
    const GroupForm* form = nullptr;
    int which = 0;
    for (const GroupForm& candidate : kGroups) {
        if (cursor.take(candidate.tag, 2)) {
            form = &candidate;
            break;
        }
        ++which;
    }
    XmlText suffix;
    XmlText type;
    XmlText index;
    if (!form || !cursor.take("_", 1) || !cursor.takeDigits(&suffix) || !cursor.attribute("Type", &type)
        || type.size() != 2 || std::memcmp(type.begin, form->tag, 2) != 0 || !cursor.attribute("Index", &index))
        return false;
    int slot = 0;
    bool empty = false;
    if (!GroupSlot(suffix, index, &slot) || !cursor.closeStartTag(&empty))
        return false;
    visitor.group(slot);
    if (empty)
        return true;

    // The group's name, for its end tag: tag, "_", digits.
    char name[8];
    const size_t nameLength = 3 + size_t(suffix.size());
    std::memcpy(name, form->tag, 2);
    name[2] = '_';
    std::memcpy(name + 3, suffix.begin, size_t(suffix.size()));

    XmlText values[kDetailAttributeCount];
    for (;;) {
        cursor.skipBlanks();
        if (cursor.at("</"))
            return cursor.endTag(name, nameLength);
        bool recordEmpty = false;
        if (!cursor.take("<", 1) || !cursor.take(form->tag, 2) || !cursor.attributes(form->attributes, form->count, values)
            || !cursor.closeStartTag(&recordEmpty) || !recordEmpty)
            return false;
        switch (Group(which)) {
        case Group::Master: visitor.master(values); break;
        case Group::Detail: visitor.detail(values); break;
        case Group::Point: visitor.point(values); break;
        }
    }
}

}  // namespace

bool ScanEventFile(const char* data, qint64 size, EventFileVisitor& visitor)
{
    if (!data || size <= 0)
        return false;
    Cursor cursor(data, data + size);
    XmlText values[kEventAttributeCount];
    bool empty = false;
    if (!cursor.take(kDeclaration, sizeof kDeclaration - 1))
        return false;
    cursor.skipBlanks();
    if (!cursor.take("<Event", 6) || !cursor.attributes(kEventAttributes, kEventAttributeCount, values)
        || !cursor.closeStartTag(&empty))
        return false;
    visitor.event(values);
    while (!empty) {
        cursor.skipBlanks();
        if (cursor.at("</"))
            break;
        if (!cursor.take("<", 1) || !ScanGroup(cursor, visitor))
            return false;
    }
    if (!empty && !cursor.endTag("Event", 5))
        return false;
    cursor.skipBlanks();
    return cursor.atEnd();
}

}  // namespace storage
