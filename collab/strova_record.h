#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The lecture server's fixed-size record: a little-endian command, a
// little-endian argument and 256 UTF-16LE units of text, zero after the text.
namespace strova {

constexpr int kRecordSize = 520;
constexpr int kPayloadUnits = 256;

enum Command : qint32 {
    End = 0,
    Login = 3,
    LoginAccepted = 4,
    LoginRefused = 5,
    ListRequest = 6,
    CategoryList = 7,
    UploadRequest = 8,  // also the server's "upload accepted"
    UploadRefused = 9,
    FileFollows = 10,
    TransferDone = 11,
};

struct StrovaRecord {
    qint32 command = 0;
    qint32 argument = 0;
    QString text;
};

// The 520 bytes of a record. A text longer than the payload is cut at 256
// units, so nothing is ever written past the record.
QByteArray EncodeRecord(qint32 command, qint32 argument, const QString& text);

// Reads one record from exactly kRecordSize bytes; the text ends at the first
// zero unit or at the end of the payload.
StrovaRecord DecodeRecord(const char* bytes);

// Collects bytes as they arrive and hands out every whole record, in order,
// however the stream was cut into segments.
class RecordReader
{
public:
    void Append(const QByteArray& bytes) { m_buffer.append(bytes); }
    bool Next(StrovaRecord* record);
    int Pending() const { return m_buffer.size() - m_offset; }
    void Clear();

private:
    QByteArray m_buffer;
    int m_offset = 0;
};

struct Category {
    QString code;
    QString name;
};

// Entries are separated by "/", each a code, ";" and a name. Entries without
// ";" (such as the empty one after a trailing "/") name nothing and are skipped.
QList<Category> ParseCategoryList(const QString& text);

// The file block starts with the byte count, big-endian, 32 bits; the file's
// bytes follow. Sizes that do not fit a signed 32-bit count are refused.
constexpr qint64 kMaxFileSize = 2147483647;
QByteArray FileBlockHeader(quint32 size);

// The file name sent to the server: the part of the path after its last "/".
QString UploadFileName(const QString& path);

}  // namespace strova
