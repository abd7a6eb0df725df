// The board push's tool state: what each pointer slot draws with and the
// EventID its next object gets, so that a peer replaying our live strokes
// files them under the same identities.
#include <QTcpSocket>

#include "app/ui/dialog.h"

void Dialog::Coll_Send_DataInfo(int mode, QString userId, int value)
{
    QString tools;
    QString nextIds;
    for (const PointerSlotState& s : m_board.slot) {
        tools += QLatin1Char(',') + QString::number(s.event_kind);
        nextIds += QLatin1Char(',') + QString::number(s.nextEventId);
    }
    // Both lists begin with a comma: 25 plain fields in all.
    const QString data = QString::number(mode) + QLatin1Char(',') + userId + tools + nextIds + QLatin1Char(',')
                         + QString::number(value);
    const QByteArray frame = setData("DATAINFO_SET", data.toUtf8(), "Block_EN\n");
    if (m_collSocket && !frame.isEmpty())
        m_collSocket->write(frame);
}
