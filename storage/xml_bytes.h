#pragma once

// An XML document built straight into a byte buffer, for the files a save
// writes in their thousands of elements. Its bytes are those of a
// QXmlStreamWriter on UTF-8 with automatic formatting indented by four
// spaces: the declaration, every start tag on a line of its own, an element
// without children closed by "/>", a line break at the end. The number forms
// are those of the project writer (FormatDouble, FormatCoord), made without a
// QString in between.

#include <QByteArray>
#include <QString>
#include <QVector>

namespace storage {

class XmlBytes
{
public:
    XmlBytes();

    // Reserves room for about `bytes` more bytes.
    void reserve(int bytes) { m_bytes.reserve(m_bytes.size() + bytes); }

    // "<name" on a new line; the attributes follow.
    void startElement(const char* name);
    void startElement(const char* name, int suffix);  // "<name_suffix"
    void attribute(const char* name, const QString& value);
    void attribute(const char* name, const char* latin1Value);
    void intAttribute(const char* name, qint64 value);
    void doubleAttribute(const char* name, double value);  // as FormatDouble
    void coordAttribute(const char* name, double value);   // as FormatCoord
    void colorAttribute(const char* name, unsigned rgb);    // "#rrggbb"
    // Ends the innermost element: "/>" when nothing was written into it.
    void endElement();
    // The document with its closing line break; every element is ended.
    QByteArray finish();

private:
    // Where an open element's name lies in the buffer.
    struct OpenName {
        int offset;
        int length;
    };

    void openTag();
    void closeStartTag();
    void appendName(const char* name);
    void appendInt(qint64 value);
    void appendEscaped(const QString& value);

    QByteArray m_bytes;
    QVector<OpenName> m_open;  // outermost first
    bool m_startTagOpen = false;  // the innermost start tag awaits its ">"
};

}  // namespace storage
