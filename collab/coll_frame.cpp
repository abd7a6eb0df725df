#include "collab/coll_frame.h"

#include <QDataStream>

QByteArray BuildCollFrame(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail, bool* ok)
{
    const qint64 body = 12 + qint64(keyword.size()) + data.size() + tail.size();
    if (body > kCollFrameMaxBody) {
        if (ok)
            *ok = false;
        return QByteArray();
    }
    QByteArray frame;
    QDataStream out(&frame, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    out << qint16(0);
    out << keyword << data << tail;
    out.device()->seek(0);
    out << static_cast<qint16>(static_cast<quint16>(frame.size() - 2));
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
