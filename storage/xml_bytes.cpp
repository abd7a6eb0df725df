#include "storage/xml_bytes.h"

#include "storage/project_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace storage {

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr int kIndent = 4;

}  // namespace

XmlBytes::XmlBytes()
{
    m_bytes.append(kDeclaration);
}

void XmlBytes::closeStartTag()
{
    if (m_startTagOpen) {
        m_bytes.append('>');
        m_startTagOpen = false;
    }
}

void XmlBytes::appendName(const char* name)
{
    m_bytes.append(name, int(std::strlen(name)));
}

void XmlBytes::appendInt(qint64 value)
{
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    m_bytes.append(digits, int(end.ptr - digits));
}

// The escapes of the stream writer for attribute values: the markup
// characters and the line breaks and tabs as references; control characters
// and the two non-characters U+FFFE and U+FFFF are dropped, as it drops them.
void XmlBytes::appendEscaped(const QString& value)
{
    bool plain = true;
    for (const QChar c : value) {
        const ushort u = c.unicode();
        if (u < 0x20 || u >= 0xD800 || u == '<' || u == '>' || u == '&' || u == '"') {
            plain = false;
            break;
        }
    }
    if (plain) {
        m_bytes.append(value.toUtf8());
        return;
    }
    QString escaped;
    escaped.reserve(value.size() + 16);
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '<': escaped.append(QLatin1String("&lt;")); break;
        case '>': escaped.append(QLatin1String("&gt;")); break;
        case '&': escaped.append(QLatin1String("&amp;")); break;
        case '"': escaped.append(QLatin1String("&quot;")); break;
        case '\t': escaped.append(QLatin1String("&#9;")); break;
        case '\n': escaped.append(QLatin1String("&#10;")); break;
        case '\r': escaped.append(QLatin1String("&#13;")); break;
        default:
            if (c.unicode() > 0x1f && c.unicode() < 0xFFFE)
                escaped.append(c);
            break;
        }
    }
    m_bytes.append(escaped.toUtf8());
}

void XmlBytes::openTag()
{
    closeStartTag();
    m_bytes.append('\n');
    m_bytes.append(m_open.size() * kIndent, ' ');
    m_bytes.append('<');
}

void XmlBytes::startElement(const char* name)
{
    openTag();
    const int from = m_bytes.size();
    appendName(name);
    m_open.append({from, m_bytes.size() - from});
    m_startTagOpen = true;
}

void XmlBytes::startElement(const char* name, int suffix)
{
    openTag();
    const int from = m_bytes.size();
    appendName(name);
    m_bytes.append('_');
    appendInt(suffix);
    m_open.append({from, m_bytes.size() - from});
    m_startTagOpen = true;
}

void XmlBytes::attribute(const char* name, const QString& value)
{
    m_bytes.append(' ');
    appendName(name);
    m_bytes.append("=\"", 2);
    appendEscaped(value);
    m_bytes.append('"');
}

void XmlBytes::attribute(const char* name, const char* latin1Value)
{
    attribute(name, QString::fromLatin1(latin1Value));
}

void XmlBytes::intAttribute(const char* name, qint64 value)
{
    m_bytes.append(' ');
    appendName(name);
    m_bytes.append("=\"", 2);
    appendInt(value);
    m_bytes.append('"');
}

namespace {

// A number the six-digit rounding could take either way: one that is exactly
// halfway between two six-digit numbers. Such a number is its own shortest
// form, of seven digits ending in 5. The stream writer's formatting rounds
// these away from zero where the C library rounds to even.
bool HalfwayAtSixDigits(double value)
{
    char shortest[40];
    const std::to_chars_result end =
        std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific);
    const char* exponent = std::find(shortest, end.ptr, 'e');
    int digits = 0;
    char last = 0;
    for (const char* c = shortest; c < exponent; ++c) {
        if (*c >= '0' && *c <= '9') {
            ++digits;
            last = *c;
        }
    }
    return digits == 7 && last == '5';
}

}  // namespace

void XmlBytes::doubleAttribute(const char* name, double value)
{
    m_bytes.append(' ');
    appendName(name);
    m_bytes.append("=\"", 2);
    // Six significant digits in the shortest of the fixed and the exponent
    // forms, as FormatDouble writes them (a negative zero without its sign).
    // Halfway numbers and what is no finite number go the long way, so they
    // read the same too.
    if (value == 0.0)
        value = 0.0;
    char digits[32];
    std::to_chars_result end{digits, std::errc::value_too_large};
    if (std::isfinite(value) && !HalfwayAtSixDigits(value))
        end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
    if (end.ec == std::errc())
        m_bytes.append(digits, int(end.ptr - digits));
    else
        m_bytes.append(FormatDouble(value).toLatin1());
    m_bytes.append('"');
}

void XmlBytes::coordAttribute(const char* name, double value)
{
    // Truncated toward zero; what no int holds (and NaN) is pinned.
    qint64 whole = 0;
    if (std::isnan(value))
        whole = 0;
    else if (value >= double(std::numeric_limits<int>::max()))
        whole = std::numeric_limits<int>::max();
    else if (value <= double(std::numeric_limits<int>::min()))
        whole = std::numeric_limits<int>::min();
    else
        whole = int(value);
    intAttribute(name, whole);
}

void XmlBytes::colorAttribute(const char* name, unsigned rgb)
{
    static const char hex[] = "0123456789abcdef";
    char text[8] = {'#'};
    for (int i = 0; i < 6; ++i)
        text[1 + i] = hex[(rgb >> (20 - 4 * i)) & 0xF];
    m_bytes.append(' ');
    appendName(name);
    m_bytes.append("=\"", 2);
    m_bytes.append(text, 7);
    m_bytes.append('"');
}

void XmlBytes::endElement()
{
    if (m_open.isEmpty())
        return;
    const OpenName name = m_open.takeLast();
    if (m_startTagOpen) {
        m_bytes.append("/>", 2);
        m_startTagOpen = false;
    } else {
        m_bytes.append('\n');
        m_bytes.append(m_open.size() * kIndent, ' ');
        m_bytes.append("</", 2);
        // The name is copied out first: the append may move the buffer.
        char copy[64];
        const int length = qMin(name.length, int(sizeof copy));
        std::memcpy(copy, m_bytes.constData() + name.offset, size_t(length));
        m_bytes.append(copy, length);
        m_bytes.append('>');
    }
}

QByteArray XmlBytes::finish()
{
    while (!m_open.isEmpty())
        endElement();
    m_bytes.append('\n');
    return std::move(m_bytes);
}

}  // namespace storage
