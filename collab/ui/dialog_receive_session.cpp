// What the session's own messages do on receipt: the participant list, a
// level change, a refused password, a departure and the tool right.
#include "app/ui/dialog.h"
#include "app/ui/message_box.h"
#include "board/event_kind.h"
#include "collab/coll_messages.h"
#include "collab/ui/colluserlistdlg.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QListWidget>
#include <QTcpSocket>

namespace {

constexpr int kWriterSlotIndex = 10;

bool IsDrawingTool(int kind)
{
    return kind == 3 || kind == 4 || kind == 5 || (kind >= 8 && kind <= 13);
}

}  // namespace

bool Dialog::Coll_ReceiveSession(int code, const QByteArray& data)
{
    switch (code) {
    case 1:
        Coll_ReceiveUsers(QString::fromUtf8(data));
        return true;
    case 4:
        Coll_ReceiveLevel(QString::fromUtf8(data));
        return true;
    case 5:
        ui::CriticalBox(this, QStringLiteral("PASSERROR"), QStringLiteral("Pass error"));
        return true;
    case 6:
        Coll_ReceiveExit(QString::fromUtf8(data));
        return true;
    case 29:
        Coll_ReceiveTool(QString::fromUtf8(data));
        return true;
    default:
        return false;
    }
}

void Dialog::Coll_ReceiveUsers(const QString& data)
{
    qDebug().noquote() << QStringLiteral("exe : users : %1").arg(data.left(256));
    QStringList ids = data.split(QLatin1Char(','), Qt::SkipEmptyParts);
    std::stable_sort(ids.begin(), ids.end(), coll::CaseInsensitiveLessThan);
    if (m_collUserListDlg) {
        m_collUserListDlg->ClearRows();
        for (const QString& id : qAsConst(ids))
            m_collUserListDlg->SetUserList(id);
    }
    if (m_collUserLevel == 3 || m_collUserLevel == 2)
        Coll_SendOwnPen();
}

// The own pen, as the others draw our strokes with it: the host's is slot
// 0's, a writer's slot 10's. The colour with the highlighter's alpha becomes
// the current one.
void Dialog::Coll_SendOwnPen()
{
    const PointerSlotState& own = m_board.slot[m_collUserLevel == 3 ? 0 : kWriterSlotIndex];
    QColor colour = m_currentPenColor;
    colour.setAlpha(own.highlight ? 127 : 255);
    m_currentPenColor = colour;
    Coll_SendFrame("PENINFO_SET",
                   coll::PenInfoData(colour, m_penWidth, own.m_curr_drawbtn, own.highlight, m_collUserLevel));
}

// The data is "<participant ID>,<level>,<flag>". The relay hands the frame
// only to the participant it names, so the ID is not compared; level and flag
// are the last two fields, so an ID holding "_" or "," cannot shift them.
void Dialog::Coll_ReceiveLevel(const QString& data)
{
    const coll::Fields fields(data);
    const int last = fields.count() - 1;
    const int level = last >= 2 ? fields.toInt(last - 1) : 0;
    const bool flag = last >= 2 && fields.toInt(last) != 0;
    // Only the two participant levels can be handed out.
    if (level != 1 && level != 2) {
        qDebug().noquote() << QStringLiteral("exe : LEVEL_CH with level %1 ignored").arg(fields.text(last - 1).left(16));
        return;
    }
    PointerSlotState& writer = m_board.slot[kWriterSlotIndex];
    if (m_collUserLevel == 2 && level != 2 && writer.pressed) {
        const QPoint last = writer.current;
        PointerRelease(kWriterSlotIndex, last.x(), last.y(), true, false);
        if (m_debugMode) {
            ui->listWidget_logwindow2->addItem(
                QStringLiteral("Level_info MX=%1, MY=%2, LV_CH=%3").arg(last.x()).arg(last.y()).arg(level));
        }
    }
    m_collUserLevel = level;
    SetToolbarByRole(level, true);
    if (level != 2)
        return;
    if (!flag)
        SetFreePenMode(false);
    // The writer draws with the pen it chose before, in the slot peers show it in.
    m_currentPenColor = m_ownColor;
    writer.pen.setColor(m_ownColor);
    writer.pen.setWidth(m_penWidth);
    Coll_SendOwnPen();
    Coll_Send_Resolution(0, QString());
}

void Dialog::Coll_ReceiveExit(const QString& id)
{
    Coll_DropTransferOf(id);
    if (m_collUserLevel != 3 || !m_collUserListDlg)
        return;
    const QString marked = m_collUserListDlg->m_markedId;
    qDebug().noquote() << QStringLiteral("strCurID[1]=%1, strExtID=%2").arg(marked, id);
    if (marked.isEmpty() || marked != id)
        return;
    // The writer left mid-stroke: its release will never come.
    Coll_EndRemoteStroke(kWriterSlotIndex);
    m_session.writeHolder.clear();
    m_collUserListDlg->m_markedId.clear();
    if (m_toolRightHolder == id) {
        OptSetUseTool(m_session.hostId);
        m_collUserListDlg->MarkToolUser(m_session.hostId);
    }
}

void Dialog::Coll_ReceiveTool(const QString& id)
{
    // A stroke of the writer's slot that is still down ends when the tool
    // right goes to anybody but the writer.
    if (id != m_session.writeHolder)
        Coll_EndRemoteStroke(kWriterSlotIndex);
    m_toolRightHolder = id;
    if (m_collUserListDlg)
        m_collUserListDlg->m_toolId = id;
    if (id == m_ownId) {
        // A drawing tool in hand is kept; anything else goes back to the
        // tool the slot's name stands for.
        if (m_collUserLevel == 3 && !IsDrawingTool(m_board.slot[0].event_kind)) {
            for (int s = 0; s < kWriterSlotIndex; ++s)
                m_board.slot[s].event_kind = EventKindFromName(m_board.slot[s].m_curr_drawbtn);
            OptDrawBtn(0, true, true, m_collUserLevel);
        } else if (m_collUserLevel == 2 && !IsDrawingTool(m_board.slot[kWriterSlotIndex].event_kind)) {
            PointerSlotState& writer = m_board.slot[kWriterSlotIndex];
            writer.event_kind = EventKindFromName(writer.m_curr_drawbtn);
            OptDrawBtn(kWriterSlotIndex, true, true, m_collUserLevel);
        }
    }
    SetToolbarByRole(m_collUserLevel, true);
}
