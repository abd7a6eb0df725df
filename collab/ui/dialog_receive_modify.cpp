// A peer's object edit ("MODIFY_SET") on this board: the records change at
// once, the selection frame follows, the host enters the edit in its undo
// list, and the page is redrawn once the burst of edits is over.
#include "app/ui/dialog.h"
#include "collab/modify_receive.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QListWidget>
#include <QTcpSocket>
#include <QTimer>

void Dialog::Coll_ReceiveModify(const QByteArray& data)
{
    coll::ModifyContext context;
    context.ownLevel = m_collUserLevel;
    context.local = QSize(m_canvasWidth, m_canvasHeight);
    context.host = m_hostBoardSize;
    context.writer = m_writerBoardSize;
    context.currentPage = m_curr_note.create_data;
    const bool host = m_collUserLevel == 3;
    const coll::ModifyOutcome outcome = coll::ApplyModify(m_board, coll::Fields(data), context, host);
    if (!outcome.dropped.isEmpty()) {
        qDebug().noquote() << QStringLiteral("exe : MODIFY_SET dropped: %1").arg(outcome.dropped);
        return;
    }
    if (!outcome.logLines.isEmpty()) {
        ui->listWidget_logwindow2->addItems(outcome.logLines);
        ui->listWidget_logwindow2->scrollToBottom();
    }
    if (outcome.cornersSet) {
        for (int i = 0; i < 4; ++i)
            m_selectionState.FrameCorners[i] = outcome.corners[i];
    }
    if (outcome.angleSet)
        SelectionAngle = outcome.angle;
    for (const coll::ModifyUndoEntry& e : outcome.undo)
        InsertURList(e.kind, e.slot, e.master, e.detail, e.erase, e.before, e.place, e.size, e.offset);
    if (outcome.changedRecords > 0) {
        // A peer's edit is part of what the next save writes.
        m_boardModified = true;
        Coll_ScheduleRedraw();
    }
}

void Dialog::Coll_ScheduleRedraw()
{
    if (m_collRedrawQueued)
        return;
    m_collRedrawQueued = true;
    QTimer::singleShot(0, this, [this]() {
        // The reader still has frames of this burst to hand out, or their
        // bytes are in: the redraw waits for the last of them.
        m_collRedrawQueued = false;
        if (m_collReadQueued || (m_collReceiveSocket && m_collReceiveSocket->bytesAvailable() > 0)) {
            Coll_ScheduleRedraw();
            return;
        }
        if (m_board.PressedSlotCount() > 0) {
            m_collRedrawDeferred = true;
            return;
        }
        RedrawChangedObjects();
    });
}
