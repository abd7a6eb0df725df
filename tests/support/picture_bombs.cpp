#include "picture_bombs.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QtEndian>

#include <zlib.h>

#include <vector>

namespace {

QByteArray PngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    const QByteArray typed = QByteArray(type, 4) + data;
    chunk += typed;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()))),
                          crc.data());
    return chunk + crc;
}

// All rows are the same (filter byte 0 and black pixels), compressed row by
// row so that the whole picture never sits in memory.
QByteArray CompressedBlackRows(int width, int height)
{
    const std::vector<Bytef> row(size_t(width) * 3 + 1, 0);
    std::vector<Bytef> out(64 * 1024);
    QByteArray compressed;
    z_stream z{};
    if (deflateInit(&z, Z_BEST_COMPRESSION) != Z_OK)
        return QByteArray();
    for (int y = 0; y < height; ++y) {
        z.next_in = const_cast<Bytef*>(row.data());
        z.avail_in = uInt(row.size());
        const int flush = y + 1 == height ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, flush);
            compressed.append(reinterpret_cast<const char*>(out.data()), int(out.size() - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return compressed;
}

bool WriteWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

bool WritePngBomb(const QString& path, int width, int height)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(width), header.data());
    qToBigEndian<quint32>(quint32(height), header.data() + 4);
    header[8] = 8;  // bits per sample
    header[9] = 2;  // RGB
    const QByteArray rows = CompressedBlackRows(width, height);
    if (rows.isEmpty())
        return false;
    const QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", rows)
        + PngChunk("IEND", QByteArray());
    return WriteWhole(path, png);
}

bool WriteJpegBomb(const QString& path, int width, int height)
{
    QImage tiny(16, 16, QImage::Format_RGB32);
    tiny.fill(Qt::darkCyan);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    if (!buffer.open(QIODevice::WriteOnly) || !tiny.save(&buffer, "JPEG"))
        return false;
    // Start of frame (baseline or progressive): length, precision, height, width.
    for (int i = 2; i + 9 < jpeg.size(); ++i) {
        const uchar marker = uchar(jpeg.at(i + 1));
        if (uchar(jpeg.at(i)) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            qToBigEndian<quint16>(quint16(height), jpeg.data() + i + 5);
            qToBigEndian<quint16>(quint16(width), jpeg.data() + i + 7);
            return WriteWhole(path, jpeg);
        }
    }
    return false;
}

qint64 PeakResidentKb(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}
