// The host's board arriving on a participant: the tables emptied, every
// record appended and scaled to our board, the tool state, and the redraw
// that ends the loading animation.
#include "app/ui/dialog.h"
#include "collab/board_push.h"
#include "collab/coll_messages.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QMovie>

bool Dialog::Coll_ReceiveBoard(int code, const QByteArray& data)
{
    switch (code) {
    case 12:
        Coll_ReceiveNewcomer(QString::fromUtf8(data));
        return true;
    case 14:
    case 15:
    case 16: {
        const QString text = QString::fromUtf8(data);
        if (code == 14)
            qDebug().noquote() << QStringLiteral("EXE : EMDATA = %1").arg(text);
        else if (code == 15)
            qDebug().noquote() << QStringLiteral("EXE : EDDATA = %1").arg(text);
        const coll::Fields fields(text);
        const bool taken = code == 14 ? m_pushReceiver.AddMaster(fields, m_board)
            : code == 15             ? m_pushReceiver.AddDetail(fields, Coll_HostScale(), m_board)
                                     : m_pushReceiver.AddPoint(fields, Coll_HostScale(), m_board);
        if (m_pushReceiver.overLimit()) {
            qDebug().noquote() << QStringLiteral("exe : board push past %1 objects or %2 samples, session ended")
                                      .arg(coll::kPushObjectLimit)
                                      .arg(coll::kPushPointLimit);
            Coll_AbortSession(QStringLiteral("The host's board is larger than this board can take "
                                             "(more than %1 objects or %2 pen points). The session was ended.")
                                  .arg(coll::kPushObjectLimit)
                                  .arg(coll::kPushPointLimit));
        } else if (!taken) {
            const char* const names[] = {"EMDATA_SET", "EDDATA_SET", "FPDATA_SET"};
            qDebug().noquote() << QStringLiteral("exe : %1 for no slot of ours dropped").arg(QLatin1String(names[code - 14]));
        }
        return true;
    }
    case 17: {
        ShowLoading();
        const QString table = coll::Fields(data).text(2);
        if (!m_pushReceiver.Clear(table, m_board))
            qDebug().noquote() << QStringLiteral("exe : DATA_CLEAR of unknown table %1").arg(table.left(16));
        return true;
    }
    case 19:
        Coll_ReceiveRedraw(coll::Fields(data).text(2));
        return true;
    case 20:
        if (!m_pushReceiver.ApplyDataInfo(coll::Fields(data), m_board))
            qDebug().noquote() << "exe : DATAINFO_SET without a selector of ours ignored";
        return true;
    default:
        return false;
    }
}

coll::BoardScale Dialog::Coll_HostScale() const
{
    return coll::ScaleFromHost(QSize(m_canvasWidth, m_canvasHeight), m_hostBoardSize);
}

void Dialog::Coll_ReceiveRedraw(const QString& what)
{
    // An object whose release sample never came is still an object.
    m_pushReceiver.Flush(m_board);
    if (ui->label_gif->isVisible()) {
        ui->label_gif->hide();
        if (m_loadingMovie) {
            m_loadingMovie->stop();
            ui->label_gif->setMovie(nullptr);
            m_loadingMovie->deleteLater();
            m_loadingMovie = nullptr;
        }
    }
    if (what == QLatin1String("FromEventData"))
        RedrawPageObjects(true);
    else if (what == QLatin1String("WhiteBoardNote"))
        RedrawAllPages();
}
