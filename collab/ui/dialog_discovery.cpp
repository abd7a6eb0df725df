// Finding the hosts of the local network: a participant's search, run on a
// pool thread, and a host's answers to the searches of others.
#include "app/ui/dialog.h"
#include "collab/discovery_core.h"
#include "collab/ui/collconnectdlg.h"

#include <QElapsedTimer>
#include <QThread>
#include <QUdpSocket>

namespace {

void Coll_BroadcastThread(void* owner) { static_cast<Dialog*>(owner)->Coll_Broadcast_Send(QString()); }

// One datagram as it came, however large; empty when it could not be read.
QByteArray ReadDatagram(QUdpSocket& socket)
{
    QByteArray datagram(int(qBound<qint64>(0, socket.pendingDatagramSize(), 65536)), Qt::Uninitialized);
    const qint64 size = socket.readDatagram(datagram.data(), datagram.size());
    datagram.resize(int(qMax<qint64>(0, size)));
    return datagram;
}

}  // namespace

void Dialog::Coll_ThreadBroadcastSend()
{
    if (m_collConnectDlg)
        m_collConnectDlg->Btn_FindServer_Disable();
    // The listener of a session hosted before belongs to this thread: it goes
    // here, never on the search's thread, and no query is answered any more.
    if (m_collUserLevel != 3) {
        delete m_discoverySocket;
        m_discoverySocket = nullptr;
    }
    m_hostSearchStop = false;
    const QFuture<void> search = DialogWorker(Coll_BroadcastThread, this);
    if (m_ThreadCollSearch.future() != search)
        m_ThreadCollSearch.setFuture(search);
}

void Dialog::Coll_Broadcast_Send(QString address)
{
    if (m_collUserLevel == 3)
        Coll_AnswerQuery(address);
    else
        Coll_SearchHosts();
}

// The search's sockets are its own: made, used and deleted on its thread, so
// that ending a session on the GUI thread meanwhile cannot pull one away.
void Dialog::Coll_SearchHosts()
{
    // A copy: the list is the GUI thread's, and iterating the member here
    // could detach it under that thread's feet.
    const QStringList addresses = m_localIpv4Addresses;
    for (const QString& address : addresses) {
        if (m_hostSearchStop)
            return;
        QUdpSocket socket;
        socket.bind(QHostAddress(address), coll::kDiscoveryPort,
                    QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
        socket.writeDatagram(coll::DiscoveryQuery(address), QHostAddress(QHostAddress::Broadcast),
                             coll::kDiscoveryPort);
        QElapsedTimer pass;
        pass.start();
        int datagrams = 0;
        while (!m_hostSearchStop && pass.elapsed() < coll::kDiscoveryPassLimitMs
               && datagrams < coll::kDiscoveryPassDatagrams && socket.waitForReadyRead(coll::kDiscoveryWaitMs)) {
            while (socket.hasPendingDatagrams() && datagrams < coll::kDiscoveryPassDatagrams) {
                ++datagrams;
                QString host;
                if (!coll::DiscoveryValue(coll::DiscoveryText(ReadDatagram(socket)), QStringLiteral("SV"), &host))
                    continue;
                // Queued calls keep the order of arrival; the search's end
                // reaches the button only after them.
                QMetaObject::invokeMethod(this, [this, host]() { Coll_AddFoundServer(host); }, Qt::QueuedConnection);
            }
        }
    }
}

void Dialog::Coll_AddFoundServer(const QString& id)
{
    if (!m_collConnectDlg)
        return;
    for (int i = 0; i < m_collConnectDlg->ServerListCount(); ++i) {
        if (m_collConnectDlg->ServerListText(i) == id)
            return;
    }
    m_collConnectDlg->AddServer(id);
}

// The answer goes to the address written in the query, not to where the
// datagram came from: the searcher listens only there.
void Dialog::Coll_AnswerQuery(const QString& address)
{
    if (!coll::AnswerableAddress(address, coll::LocalBroadcastAddresses()))
        return;
    if (!m_discoverySocket || QThread::currentThread() != m_discoverySocket->thread())
        return;
    m_discoverySocket->writeDatagram(coll::DiscoveryAnswer(m_ownId), QHostAddress(address), coll::kDiscoveryPort);
}

void Dialog::Coll_Broadcast_Receive()
{
    // What is left over comes with the listener's next readiness.
    for (int i = 0; i < coll::kDiscoveryPassDatagrams && m_discoverySocket
                    && m_discoverySocket->hasPendingDatagrams();
         ++i) {
        QString address;
        if (coll::DiscoveryValue(coll::DiscoveryText(ReadDatagram(*m_discoverySocket)), QStringLiteral("CL"), &address)
            && m_collUserLevel == 3)
            Coll_Broadcast_Send(address);
    }
}

void Dialog::Coll_StopHostSearch()
{
    m_hostSearchStop = true;
    m_ThreadCollSearch.waitForFinished();
}
