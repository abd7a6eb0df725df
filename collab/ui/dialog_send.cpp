// The senders: each local change goes to the peers as its one message, all
// through one path that finds the session socket, builds the frame and
// writes it once.
#include "app/ui/dialog.h"
#include "collab/board_push.h"
#include "collab/coll_messages.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QScrollBar>
#include <QTcpSocket>

namespace {

coll::Address To(int mode, const QString& userId) { return coll::Address{mode, userId}; }

}  // namespace

// Asked of the library on every call, never kept: a session that ended or
// was replaced since the last frame can never receive this one. The binding
// resolves all of its functions or none.
QTcpSocket* Dialog::Coll_SessionSocket()
{
    if (!m_collConnected || !m_konnexa.soc_)
        return nullptr;
    QTcpSocket* socket = m_konnexa.soc_();
    return socket && socket->isOpen() ? socket : nullptr;
}

// No flush and no wait: the bytes leave when the event loop next runs, and
// a lost connection is the session control's to notice.
void Dialog::Coll_WriteFrame(QTcpSocket* socket, const char* keyword, const QByteArray& data,
                             const QByteArray& tail)
{
    const QByteArray frame = setData(keyword, data, tail);
    if (!frame.isEmpty())
        socket->write(frame);
}

void Dialog::Coll_SendFrame(const char* keyword, const QByteArray& data)
{
    Coll_SendFrame(keyword, data, coll::kBlockEnd);
}

void Dialog::Coll_SendFrame(const char* keyword, const QByteArray& data, const QByteArray& tail)
{
    if (QTcpSocket* socket = Coll_SessionSocket())
        Coll_WriteFrame(socket, keyword, data, tail);
}

void Dialog::SendRealtimeEvent(int kind, int slot, int phase, int x, int y)
{
    Coll_SendFrame("REALTIME_EVENT", coll::RealtimeEventData(kind, slot, phase, x, y));
}

void Dialog::Coll_Send_ChangeNote(int mode, QString userId, int direction)
{
    Coll_SendFrame("ChangeNote_SET", coll::ChangeNoteData(To(mode, userId), direction));
}

void Dialog::Coll_Send_InitProj(int mode, QString userId, bool flag)
{
    Coll_SendFrame("INITPROJ_SET", coll::InitProjectData(To(mode, userId), flag ? 1 : 0));
}

void Dialog::Coll_Send_NoteBtn(int mode, QString userId, QString noteKind)
{
    Coll_SendFrame("NOTEBTN_SET", coll::NoteButtonData(To(mode, userId), noteKind));
}

void Dialog::Coll_Send_NoteData(int mode, QString userId, int flag)
{
    Coll_SendFrame("NOTEDATA_SET", coll::NoteData(To(mode, userId), m_curr_note, flag != 0));
}

void Dialog::Coll_Send_NoteIdx(int mode, QString userId)
{
    Coll_SendFrame("NOTEIDX_SET", coll::NoteIndexData(To(mode, userId), m_note_idx, m_note_cnt));
}

void Dialog::Coll_Send_Resolution(int mode, QString userId)
{
    Coll_SendFrame("RESOLUTION_SET",
                   coll::ResolutionData(To(mode, userId), m_collUserLevel, m_canvasWidth, m_canvasHeight));
}

void Dialog::Coll_Send_Redraw(int mode, QString userId, int what)
{
    const QString name = coll::RedrawName(what);
    if (name.isEmpty()) {
        qDebug().noquote() << QStringLiteral("exe : REDRAW_SET of unknown part %1 not sent").arg(what);
        return;
    }
    Coll_SendFrame("REDRAW_SET", coll::RedrawData(To(mode, userId), name));
}

void Dialog::Coll_Send_ImgPath(int mode, QString userId, int clear)
{
    QTcpSocket* socket = Coll_SessionSocket();
    if (!socket)
        return;
    if (clear) {
        Coll_WriteFrame(socket, "IMGPATH_SET",
                        coll::ImagePathData(To(mode, userId), QString(), true, m_imageCounter), coll::kBlockEnd);
        return;
    }
    for (const QString& path : qAsConst(m_mediaFiles)) {
        Coll_WriteFrame(socket, "IMGPATH_SET", coll::ImagePathData(To(mode, userId), path, false, m_imageCounter),
                        coll::kBlockEnd);
    }
}

// Only the host's view is followed; a participant's own scrolling stays its own.
void Dialog::Coll_Send_HeightScrollBar(int mode, QString userId)
{
    const QScrollBar* bar = ui->verticalScrollBar;
    const int position = bar->value();
    if (m_collUserLevel == 3)
        Coll_SendFrame("HEIGHTSCROLLBAR_SET", coll::ScrollBarData(To(mode, userId), position, bar->maximum()));
}

void Dialog::Coll_Send_WidthScrollBar(int mode, QString userId)
{
    const QScrollBar* bar = ui->horizontalScrollBar;
    const int position = bar->value();
    if (m_collUserLevel == 3)
        Coll_SendFrame("WIDTHSCROLLBAR_SET", coll::ScrollBarData(To(mode, userId), position, bar->maximum()));
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
    Coll_SendFrame("MODIFY_SET", data);
}
