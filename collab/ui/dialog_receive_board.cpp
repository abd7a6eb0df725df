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
    case 14: {
        const QString text = QString::fromUtf8(data);
        qDebug().noquote() << QStringLiteral("EXE : EMDATA = %1").arg(text);
        if (!m_pushReceiver.AddMaster(coll::Fields(text), m_board))
            qDebug().noquote() << "exe : EMDATA_SET for no slot of ours dropped";
        return true;
    }
    case 15: {
        const QString text = QString::fromUtf8(data);
        qDebug().noquote() << QStringLiteral("EXE : EDDATA = %1").arg(text);
        if (!m_pushReceiver.AddDetail(coll::Fields(text), Coll_HostScale(), m_board))
            qDebug().noquote() << "exe : EDDATA_SET for no slot of ours dropped";
        return true;
    }
    case 16:
        if (!m_pushReceiver.AddPoint(coll::Fields(data), Coll_HostScale(), m_board))
            qDebug().noquote() << "exe : FPDATA_SET for no slot of ours dropped";
        return true;
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
