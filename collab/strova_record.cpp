#include "collab/strova_record.h"

#include <QtEndian>

namespace strova {

QByteArray EncodeRecord(qint32 command, qint32 argument, const QString& text)
{
    QByteArray record(kRecordSize, '\0');
    char* data = record.data();
    qToLittleEndian<qint32>(command, data);
    qToLittleEndian<qint32>(argument, data + 4);
    const int units = qMin(text.size(), kPayloadUnits);
    const ushort* utf16 = text.utf16();
    for (int i = 0; i < units; ++i)
        qToLittleEndian<quint16>(utf16[i], data + 8 + 2 * i);
    return record;
}

StrovaRecord DecodeRecord(const char* bytes)
{
    StrovaRecord record;
    record.command = qFromLittleEndian<qint32>(bytes);
    record.argument = qFromLittleEndian<qint32>(bytes + 4);
    QVector<ushort> units;
    units.reserve(kPayloadUnits);
    for (int i = 0; i < kPayloadUnits; ++i) {
        const ushort unit = qFromLittleEndian<quint16>(bytes + 8 + 2 * i);
        if (unit == 0)
            break;
        units.append(unit);
    }
    record.text = QString::fromUtf16(units.constData(), units.size());
    return record;
}

bool RecordReader::Next(StrovaRecord* record)
{
    if (Pending() < kRecordSize)
        return false;
    *record = DecodeRecord(m_buffer.constData() + m_offset);
    m_offset += kRecordSize;
    // Drop what was read once it is worth the copy, so a long session keeps
    // the buffer at most a few records long.
    if (m_offset >= 16 * kRecordSize || m_offset == m_buffer.size()) {
        m_buffer.remove(0, m_offset);
        m_offset = 0;
    }
    return true;
}

void RecordReader::Clear()
{
    m_buffer.clear();
    m_offset = 0;
}

QList<Category> ParseCategoryList(const QString& text)
{
    QList<Category> categories;
    const QStringList entries = text.split(QLatin1Char('/'));
    for (const QString& entry : entries) {
        const QStringList fields = entry.split(QLatin1Char(';'));
        if (fields.size() < 2)
            continue;
        categories.append({fields.at(0), fields.at(1)});
    }
    return categories;
}

QByteArray FileBlockHeader(quint32 size)
{
    QByteArray header(4, '\0');
    qToBigEndian<quint32>(size, header.data());
    return header;
}

QString UploadFileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace strova
