// The host's board push: the whole record tables to every peer or to one
// newcomer, the tool state, and the host's answer to a newcomer.
#include "app/tool_commands.h"
#include "app/ui/dialog.h"
#include "collab/board_push.h"
#include "collab/coll_messages.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QScrollBar>
#include <QTcpSocket>

namespace {

// Page types of the note list.
constexpr int kBoardPageType = 1;

}  // namespace

// One frame per record and per sample, all in one pass: nothing of ours can
// come between them on the socket.
void Dialog::Coll_Send_StrokeData(int mode, QString userId, int table)
{
    QTcpSocket* socket = Coll_SessionSocket();
    if (!socket)
        return;
    coll::ForEachPushMessage(m_board, m_curr_note.create_data, coll::Address{mode, userId}, table,
                             [&](const char* keyword, const QByteArray& data) {
                                 Coll_WriteFrame(socket, keyword, data, coll::kBlockEnd);
                             });
}

// The tool state: what each pointer slot draws with and the EventID its next
// object gets, so that a peer replaying our live strokes files them under the
// same identities.
void Dialog::Coll_Send_DataInfo(int mode, QString userId, int value)
{
    Coll_SendFrame("DATAINFO_SET", coll::BoardDataInfo(m_board, coll::Address{mode, userId}, value));
}

// The records, the tool state, the redraw order and the view, to one
// newcomer: sent at once when it joins, or after the last pointer is up.
void Dialog::Coll_PushBoardTo(const QString& userId)
{
    Coll_Send_Resolution(1, userId);
    Coll_Send_StrokeData(1, userId, coll::kPushAll);
    Coll_Send_DataInfo(1, userId, 3);
    Coll_Send_Redraw(1, userId, 3);
    if (!ui->verticalScrollBar->isHidden())
        Coll_Send_HeightScrollBar(1, userId);
    if (!ui->horizontalScrollBar->isHidden())
        Coll_Send_WidthScrollBar(1, userId);
}

// A newcomer gets the page first, whatever the pointers do; the records wait
// while a stroke is being drawn, so that it never gets half of one.
void Dialog::Coll_ReceiveNewcomer(const QString& userId)
{
    if (m_collUserLevel != 3)
        return;
    if (userId.isEmpty()) {
        qDebug().noquote() << "exe : Connected_ID without a participant ignored";
        return;
    }
    Coll_Send_Resolution(1, userId);
    if (m_curr_note.type == kBoardPageType) {
        Coll_Send_NoteBtn(1, userId, NoteKeyForPageName(m_curr_note.name));
        Coll_Send_NoteData(1, userId, 1);
    } else {
        Coll_Send_NoteData(1, userId, 0);
        Coll_Send_Doc(1, userId, 0, QString(), QString());
        Coll_Send_NoteData(1, userId, 1);
    }
    Coll_Send_ImgPath(1, userId, 0);
    Coll_Send_ImgFile(1, userId);
    Coll_Send_NoteIdx(1, userId);
    if (m_board.PressedSlotCount() > 0) {
        if (!m_pendingNewcomers.contains(userId))
            m_pendingNewcomers.append(userId);
        return;
    }
    Coll_PushBoardTo(userId);
}
