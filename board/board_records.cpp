#include "board/board_records.h"

#include <QStringList>

// Built digit by digit rather than through arg(): the page's repaints look
// up every stroke of the page by this key.
QString MakeObjectKey(int slot, int eventId)
{
    QChar text[24];
    int n = 0;
    auto put = [&](int value) {
        QChar digits[11];
        int d = 0;
        // Negative values do not name objects, but keep their text.
        const bool negative = value < 0;
        unsigned magnitude = negative ? 0u - unsigned(value) : unsigned(value);
        do {
            digits[d++] = QChar(ushort('0' + magnitude % 10));
            magnitude /= 10;
        } while (magnitude > 0);
        if (negative)
            text[n++] = QLatin1Char('-');
        while (d > 0)
            text[n++] = digits[--d];
    };
    put(slot);
    text[n++] = QLatin1Char('-');
    put(eventId);
    return QString(text, n);
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
