// The host's write and tool rights, and the reset of a pointer slot's drawing
// attributes when a session ends or a page starts over.
#include "app/ui/dialog.h"
#include "collab/coll_messages.h"
#include "collab/ui/colluserlistdlg.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QListWidget>
#include <QTcpSocket>

namespace {

// The writer's pointer slot on every board.
constexpr int kWriterSlotIndex = 10;
// The debug list is emptied when a line makes it this long.
constexpr int kDisplayDataLogLimit = 100;

}  // namespace

void Dialog::OptSetUserLevel(QString userId, bool flag)
{
    ApplyRightsSteps(coll::SetUserLevel(m_session, userId, flag, m_toolRightHolder));
}

void Dialog::ApplyRightsSteps(const QVector<coll::RightsStep>& steps)
{
    for (const coll::RightsStep& step : steps) {
        switch (step.kind) {
        case coll::RightsStep::SendLevel:
            // A writer losing the right mid-stroke sends no more of it.
            if (step.level != 2)
                Coll_EndRemoteStroke(kWriterSlotIndex);
            Coll_SendFrame("LEVEL_CH", coll::LevelChangeData(step.id, step.level, step.flag));
            break;
        case coll::RightsStep::UnmarkWrite:
            if (m_collUserListDlg)
                m_collUserListDlg->MarkWriteUser(step.id, false);
            break;
        case coll::RightsStep::MarkWrite:
            if (m_collUserListDlg)
                m_collUserListDlg->MarkWriteUser(step.id, true);
            break;
        case coll::RightsStep::ToolBackToHost:
            OptSetUseTool(step.id);
            if (m_collUserListDlg)
                m_collUserListDlg->MarkToolUser(step.id);
            break;
        case coll::RightsStep::ClearWriterHighlight:
            m_board.slot[kWriterSlotIndex].highlight = false;
            break;
        }
    }
}

// The holder itself changes when the relay brings the tool change back, on
// the host as on every participant.
void Dialog::OptSetUseTool(QString userId)
{
    Coll_SendFrame("TOOL_CH", coll::ParticipantData(userId));
    Coll_Send_URdata(0, QString(), m_undo.URIndex, m_undo.URList.size());
}

void Dialog::SetDisplayData(int slot)
{
    QListWidget* log = ui->listWidget_logwindow;
    log->addItem(QStringLiteral("SetDisplayData(%1), MyLevel=%2").arg(slot).arg(m_collUserLevel));
    log->scrollToBottom();
    if (log->count() >= kDisplayDataLogLimit)
        log->clear();
    if (slot < -1 || slot >= kPointerSlotCount)
        return;

    const QString freePen(QChar(3));
    if (slot == kWriterSlotIndex) {
        m_board.slot[kWriterSlotIndex].event_kind = ekFree;
        m_board.slot[kWriterSlotIndex].m_curr_drawbtn = freePen;
    } else if (slot != -1) {
        for (int s = 0; s < kWriterSlotIndex; ++s) {
            m_board.slot[s].event_kind = ekFree;
            m_board.slot[s].m_curr_drawbtn = freePen;
        }
    }

    struct OwnPen {
        double zoom;
        int width, companion, margin, further;
        QColor colour;
        SpecialPen special;
    };
    const OwnPen kept{m_zoom, m_penWidth, m_companionWidth, m_strokeMargin, m_penWidthStored, m_currentPenColor,
                      m_specialPen};

    m_penWidth = 2;
    m_zoom = 1.0;
    m_companionWidth = m_penWidth + 5;
    m_strokeMargin = m_penWidth / 2 + 2;
    m_currentPenColor = Qt::black;
    m_ownColor = Qt::black;
    m_specialPen.color = Qt::black;
    m_specialPen.style = Qt::SolidLine;
    m_specialPen.cap = Qt::RoundCap;
    m_specialPen.join = Qt::RoundJoin;
    m_penWidthStored = 2;

    const QPen fresh(QBrush(Qt::black), m_penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (int s = 0; s < kPointerSlotCount; ++s) {
        if (slot != -1 && s != slot)
            continue;
        PointerSlotState& state = m_board.slot[s];
        state.pen = fresh;
        state.brushRadius = 2.0f;
        state.brushWidth = 4.0f;
    }

    // Resetting somebody else's slot leaves the local user's own pen and
    // zoom as they were: the host's for the writer's slot, the writer's for
    // the host's slots.
    const bool othersSlot = (m_collUserLevel == 3 && slot == kWriterSlotIndex)
                            || (m_collUserLevel == 2 && slot != kWriterSlotIndex);
    if (othersSlot) {
        m_zoom = kept.zoom;
        m_penWidth = kept.width;
        m_companionWidth = kept.companion;
        m_strokeMargin = kept.margin;
        m_penWidthStored = kept.further;
        m_currentPenColor = kept.colour;
        m_specialPen.color = kept.special.color;
        m_specialPen.style = kept.special.style;
        m_specialPen.cap = kept.special.cap;
        m_specialPen.join = kept.special.join;
    }
}

// Kept for the master-mode panel, which shows it each time it opens.
void Dialog::OptColl(bool on) { m_collPacketLog = on; }
