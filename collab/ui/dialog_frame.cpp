// Collaboration frames built by the main window.
#include <QDebug>
#include <QTcpSocket>

#include "app/ui/dialog.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"

QByteArray Dialog::setData(QByteArray header, QByteArray data, QByteArray tail)
{
    bool ok = false;
    const QByteArray frame = BuildCollFrame(header, data, tail, &ok);
    if (!ok) {
        qDebug().noquote() << QStringLiteral("EXE Tx: frame too large, not sent: Header = %1, Data = %2, Tail = %3")
                                  .arg(header.size()).arg(data.size()).arg(tail.size());
        return frame;
    }
    qDebug().noquote() << QStringLiteral("EXE Tx: TotalSize = %1, nextSize = %2, Header = %3, Data = %4, Tail = %5")
                              .arg(frame.size())
                              .arg(frame.size() - 2)
                              .arg(header.size())
                              .arg(data.size())
                              .arg(tail.size());
    return frame;
}

void Dialog::SendRealtimeEvent(int kind, int slot, int phase, int x, int y)
{
    const QByteArray frame =
        setData("REALTIME_EVENT", coll::RealtimeEventData(kind, slot, phase, x, y), coll::kBlockEnd);
    if (m_collSocket && !frame.isEmpty())
        m_collSocket->write(frame);
}

void Dialog::Coll_Send_Modify(int mode, QString key, quint16 eventId, int dx, int dy, int deleted, int angle,
                              QRect rect, int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3, int place,
                              int size)
{
    if (m_collUserLevel != 2 && m_collUserLevel != 3)
        return;
    int slot = 0, keyId = 0;
    if (!ParseObjectKey(key, &slot, &keyId)) {
        qDebug().noquote() << QStringLiteral("exe : MODIFY_SET for key \"%1\" not sent").arg(key);
        return;
    }
    QByteArray data;
    switch (mode) {
    case 0: {
        const QPoint corners[4] = {QPoint(x0, y0), QPoint(x1, y1), QPoint(x2, y2), QPoint(x3, y3)};
        data = coll::ModifyMoveData(slot, eventId, dx, dy, corners, place, size, m_collUserLevel);
        break;
    }
    case 1:
        data = coll::ModifyResizeData(slot, eventId, rect, place, size, m_collUserLevel);
        break;
    case 2:
        data = coll::ModifyDeleteData(slot, eventId, (deleted & 0xFF) != 0, place, size);
        break;
    case 3:
        data = coll::ModifyRotateData(slot, eventId, float(angle), place, size);
        break;
    default:
        qDebug().noquote() << QStringLiteral("exe : MODIFY_SET of unknown kind %1 not sent").arg(mode);
        return;
    }
    const QByteArray frame = setData("MODIFY_SET", data, coll::kBlockEnd);
    if (m_collSocket && !frame.isEmpty())
        m_collSocket->write(frame);
}
