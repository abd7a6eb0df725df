#include "collab/coll_frame.h"

#include <QDataStream>

namespace {

// An array as its 32-bit count and bytes. A null array is written as an empty
// one (count 0), never as the stream's null marker, so a frame's bytes do not
// depend on how its caller happened to make an empty text.
void WriteArray(QDataStream& out, const QByteArray& bytes)
{
    out << quint32(bytes.size());
    out.writeRawData(bytes.constData(), bytes.size());
}

}  // namespace

QByteArray BuildCollFrame(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail, bool* ok)
{
    const qint64 body = 12 + qint64(keyword.size()) + data.size() + tail.size();
    if (body > kCollFrameMaxBody) {
        if (ok)
            *ok = false;
        return QByteArray();
    }
    QByteArray frame;
    frame.reserve(int(2 + body));
    QDataStream out(&frame, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    out << static_cast<quint16>(body);
    WriteArray(out, keyword);
    WriteArray(out, data);
    WriteArray(out, tail);
    if (ok)
        *ok = true;
    return frame;
}

int ReadCollFrame(const QByteArray& bytes, CollFrame* frame)
{
    if (bytes.size() < 2)
        return 0;
    const quint16 body = static_cast<quint16>((static_cast<quint8>(bytes[0]) << 8) | static_cast<quint8>(bytes[1]));
    if (bytes.size() < 2 + body)
        return 0;
    const QByteArray bodyBytes = bytes.mid(2, body);
    QDataStream in(bodyBytes);
    in.setVersion(QDataStream::Qt_5_15);
    CollFrame f;
    in >> f.keyword >> f.data >> f.tail;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return -1;
    if (frame)
        *frame = f;
    return 2 + body;
}

void CollFrameBuffer::Append(const QByteArray& bytes)
{
    if (m_offset > 0) {
        m_bytes.remove(0, m_offset);
        m_offset = 0;
    }
    m_bytes += bytes;
}

int CollFrameBuffer::Next(CollFrame* frame, QByteArray* raw)
{
    const int used =
        ReadCollFrame(QByteArray::fromRawData(m_bytes.constData() + m_offset, m_bytes.size() - m_offset), frame);
    if (used <= 0)
        return used;
    if (raw)
        *raw = m_bytes.mid(m_offset, used);
    m_offset += used;
    return 1;
}

void CollFrameBuffer::Clear()
{
    m_bytes.clear();
    m_offset = 0;
}

int CollFrameBuffer::AnnouncedSize() const
{
    if (Held() < 2)
        return 0;
    return (quint8(m_bytes.at(m_offset)) << 8) | quint8(m_bytes.at(m_offset + 1));
}
