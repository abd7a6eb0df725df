// What peers draw as it happens: their strokes replayed through the pointer
// primitives, their pens, their board sizes and their scroll positions.
#include "app/ui/dialog.h"
#include "board/event_kind.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QScrollBar>
#include <cmath>

namespace {

constexpr int kWriterSlot = 10;
// Positions and sizes a peer may announce; anything past this is no board.
constexpr double kCoordinateLimit = 100000.0;

bool IsReplayedKind(int kind)
{
    return kind == ekFree || kind == ekBrush || kind == ekLine || (kind >= ekRect && kind <= ekEArrow);
}

int ScaledCoordinate(int value, double factor)
{
    return int(std::trunc(qBound(-kCoordinateLimit, value * factor, kCoordinateLimit)));
}

QColor ColourFromFields(const coll::Fields& f, int first)
{
    return QColor(qBound(0, f.toInt(first), 255), qBound(0, f.toInt(first + 1), 255),
                  qBound(0, f.toInt(first + 2), 255), qBound(0, f.toInt(first + 3), 255));
}

// A pen a peer names: wide enough to see, never wide enough to stall painting.
int PeerPenWidth(int width) { return qBound(1, width, 200); }

}  // namespace

bool Dialog::Coll_ReceiveLive(int code, const QByteArray& data)
{
    const coll::Fields fields(data);
    switch (code) {
    case 3:
        Coll_ReceiveRealtime(fields);
        return true;
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
        Coll_ReceivePen(code, fields);
        return true;
    case 22: {
        const int level = fields.toInt(2);
        const int width = fields.toInt(3);
        const int height = fields.toInt(4);
        if (width <= 0 || height <= 0 || width > kCoordinateLimit || height > kCoordinateLimit) {
            qDebug().noquote() << QStringLiteral("exe : RESOLUTION_SET of %1 x %2 ignored").arg(width).arg(height);
            return true;
        }
        if (level == 3)
            m_hostBoardSize = QSize(width, height);
        else if (level == 2)
            m_writerBoardSize = QSize(width, height);
        return true;
    }
    case 23:
    case 24:
        Coll_ReceiveScroll(code == 23, fields);
        return true;
    default:
        return false;
    }
}

void Dialog::Coll_ReceiveRealtime(const coll::Fields& f)
{
    const int kind = f.toInt(0);
    if (kind == ekEraseAll) {
        const QString eraseKey = m_eraseKey;
        m_eraseKey = QStringLiteral("ekEraseAll");
        OptEraseBtn(false);
        m_eraseKey = eraseKey;
        return;
    }
    const int slot = f.toInt(1);
    if (!IsReplayedKind(kind) || !IsValidPointerSlot(slot))
        return;
    // Our own input's slots are never driven from outside: the host draws in
    // 0..9, a writer in 10.
    if ((m_collUserLevel == 3 && slot != kWriterSlot) || (m_collUserLevel == 2 && slot == kWriterSlot)) {
        qDebug().noquote() << QStringLiteral("exe : REALTIME_EVENT for our own slot %1 dropped").arg(slot);
        return;
    }
    // The writer's slot draws only while somebody holds the write right.
    if (m_collUserLevel == 3 && m_session.writeHolder.isEmpty()) {
        qDebug().noquote() << "exe : REALTIME_EVENT of a writer while nobody may write dropped";
        return;
    }
    const coll::BoardScale scale = coll::ScaleFromHost(QSize(m_canvasWidth, m_canvasHeight),
                                                       slot == kWriterSlot ? m_writerBoardSize : m_hostBoardSize);
    const int x = ScaledCoordinate(f.toInt(3), scale.x);
    const int y = ScaledCoordinate(f.toInt(4), scale.y);
    bool& down = m_remoteStrokeDown[slot];
    const QString phase = f.text(2);
    if (phase == QLatin1String("1")) {
        // A press while the slot's last stroke is still down means its
        // release never came: that stroke ends where it got to.
        Coll_EndRemoteStroke(slot);
        if (m_board.slot[slot].pressed)
            return;
        down = true;
        PointerPress(slot, x, y, false, false);
    } else if (!down) {
        return;
    } else if (phase == QLatin1String("2")) {
        if (kind == ekFree || kind == ekBrush)
            PointerMove(slot, x, y, false, false);
    } else if (phase == QLatin1String("3")) {
        down = false;
        PointerRelease(slot, x, y, false, false);
    }
}

void Dialog::Coll_EndRemoteStroke(int slot)
{
    if (!IsValidPointerSlot(slot) || !m_remoteStrokeDown[slot])
        return;
    m_remoteStrokeDown[slot] = false;
    const QPoint last = m_board.slot[slot].current;
    qDebug().noquote() << QStringLiteral("exe : unfinished stroke of slot %1 ended at %2,%3")
                              .arg(slot).arg(last.x()).arg(last.y());
    PointerRelease(slot, last.x(), last.y(), false, false);
}

void Dialog::Coll_ReceivePen(int code, const coll::Fields& f)
{
    static const int kLevelField[] = {4, 1, 1, 1, 7};  // codes 7..11
    const int level = f.toInt(kLevelField[code - 7]);
    // A peer speaks for the host's slots or the writer's; never for our own.
    if ((level == 3 && m_collUserLevel == 3) || (level == 2 && m_collUserLevel == 2)) {
        qDebug().noquote() << QStringLiteral("exe : pen message for our own pen dropped");
        return;
    }
    const bool host = level == 3;
    const int first = host ? 0 : kWriterSlot;
    const int last = host ? kWriterSlot - 1 : kWriterSlot;
    switch (code) {
    case 7: {
        const QColor colour = ColourFromFields(f, 0);
        qDebug().noquote() << QStringLiteral("recv : r=%1, g=%2, b=%3, a=%4, Lv=%5")
                                  .arg(colour.red()).arg(colour.green()).arg(colour.blue()).arg(colour.alpha())
                                  .arg(level);
        for (int s = first; s <= last; ++s)
            m_board.slot[s].pen.setColor(colour);
        break;
    }
    case 8: {
        const int width = PeerPenWidth(f.toInt(0));
        qDebug().noquote() << QStringLiteral("recv : penwidth=%1, Lv=%2").arg(width).arg(level);
        for (int s = first; s <= last; ++s)
            m_board.slot[s].pen.setWidth(width);
        break;
    }
    case 9: {
        const bool on = f.toInt(0) != 0;
        qDebug().noquote() << QStringLiteral("recv : nPenHighlight=%1, Lv=%2").arg(on).arg(level);
        QColor colour = m_board.slot[first].pen.color();
        colour.setAlpha(on ? 127 : 255);
        for (int s = first; s <= last; ++s) {
            m_board.slot[s].highlight = on;
            m_board.slot[s].pen.setColor(colour);
        }
        ChangePenWidth_Send(false);
        break;
    }
    case 10: {
        const QString name = f.text(0).left(64);
        qDebug().noquote() << QStringLiteral("EXE PENTYPE_info : draw_name = %1, ClientLevel = %2").arg(name).arg(level);
        if (level != 3 && level != 2)
            return;
        for (int s = first; s <= last; ++s)
            m_board.slot[s].m_curr_drawbtn = name;
        OptDrawBtn(first, false, true, m_collUserLevel);
        break;
    }
    case 11: {
        if (level != 3 && level != 2)
            return;
        const QColor colour = ColourFromFields(f, 0);
        const int width = PeerPenWidth(f.toInt(4));
        const QString name = f.text(5).left(64);
        const bool on = f.toInt(6) != 0;
        for (int s = first; s <= last; ++s) {
            PointerSlotState& slot = m_board.slot[s];
            slot.highlight = on;
            slot.pen.setColor(colour);
            slot.pen.setWidth(width);
            slot.m_curr_drawbtn = name;
        }
        OptDrawBtn(first, false, false, m_collUserLevel);
        break;
    }
    default:
        break;
    }
}

// The sender's position in its own range, put into ours.
void Dialog::Coll_ReceiveScroll(bool horizontal, const coll::Fields& f)
{
    if (m_collUserLevel != 1 && m_collUserLevel != 2)
        return;
    const int senderMaximum = f.toInt(3);
    if (senderMaximum == 0)
        return;
    QScrollBar* bar = horizontal ? ui->horizontalScrollBar : ui->verticalScrollBar;
    const double value = f.toInt(2) * (double(bar->maximum()) / senderMaximum);
    bar->setValue(int(std::trunc(qBound(-kCoordinateLimit, value, kCoordinateLimit))));
}
