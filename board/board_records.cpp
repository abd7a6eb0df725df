#include "board/board_records.h"

#include <QStringList>

QString MakeObjectKey(int slot, int eventId)
{
    return QStringLiteral("%1-%2").arg(slot).arg(eventId);
}

bool ParseObjectKey(const QString& key, int* slot, int* eventId)
{
    const QStringList parts = key.split(QLatin1Char('-'));
    if (parts.size() != 2)
        return false;
    for (const QString& part : parts) {
        if (part.isEmpty())
            return false;
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
    }
    bool slotOk = false;
    bool idOk = false;
    const int s = parts[0].toInt(&slotOk);
    const uint id = parts[1].toUInt(&idOk);
    if (!slotOk || !idOk || !IsValidPointerSlot(s) || id > 0xFFFF)
        return false;
    if (slot)
        *slot = s;
    if (eventId)
        *eventId = static_cast<int>(id);
    return true;
}

QPointF DocumentPoint(QPointF widget, double zoom, int hscroll, int vscroll)
{
    return QPointF(widget.x() / zoom + hscroll / zoom, widget.y() / zoom + vscroll / zoom);
}
