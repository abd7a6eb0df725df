#include "tests/support/session_tap.h"

#include "app/ui/dialog.h"
#include "collab/coll_messages.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

QTcpSocket* g_tapSocket = nullptr;

QTcpSocket* TapSocket() { return g_tapSocket; }

}  // namespace

SessionTap::SessionTap(Dialog* window, int level, bool connected) : m_window(window)
{
    coll::KonnexaLibrary& konnexa = coll::SharedKonnexa();
    m_previousSoc = reinterpret_cast<void*>(konnexa.soc_);
    m_previousLoaded = window->m_collLibraryLoaded;
    m_previousConnected = window->m_collConnected;
    m_previousLevel = window->m_collUserLevel;
    m_previousBoardTaken = window->m_collBoardTaken;
    if (m_server.listen(QHostAddress::LocalHost, 0)) {
        m_local.connectToHost(QHostAddress::LocalHost, m_server.serverPort());
        if (m_local.waitForConnected(5000) && m_server.waitForNewConnection(5000))
            m_peer = m_server.nextPendingConnection();
    }
    g_tapSocket = &m_local;
    konnexa.soc_ = &TapSocket;
    window->m_collConnected = connected;
    window->m_collUserLevel = level;
    // A made connection hands a participant's board over to the session.
    window->m_collBoardTaken = connected && level != 3;
}

SessionTap::~SessionTap()
{
    coll::SharedKonnexa().soc_ = reinterpret_cast<SocFunction>(m_previousSoc);
    g_tapSocket = nullptr;
    if (!m_window)
        return;
    m_window->m_collLibraryLoaded = m_previousLoaded;
    m_window->m_collConnected = m_previousConnected;
    m_window->m_collUserLevel = m_previousLevel;
    m_window->m_collBoardTaken = m_previousBoardTaken;
    m_window->m_collReceiveSocket = nullptr;
    m_window->m_collReceiveBuffer.Clear();
    m_local.disconnect(m_window);
}

const QList<CollFrame>& SessionTap::Frames()
{
    if (!m_peer)
        return m_frames;
    // Idle for this long with nothing left to write means everything is in.
    constexpr int kQuietMs = 30;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        m_local.flush();
        if (m_peer->waitForReadyRead(m_local.bytesToWrite() > 0 ? 5 : kQuietMs))
            m_buffer.Append(m_peer->readAll());
        else if (m_local.bytesToWrite() == 0)
            break;
    }
    CollFrame frame;
    while (m_buffer.Next(&frame) > 0)
        m_frames.append(frame);
    return m_frames;
}

QStringList SessionTap::Lines()
{
    QStringList lines;
    for (const CollFrame& f : Frames())
        lines << QString::fromUtf8(f.keyword + '(' + f.data + ')');
    return lines;
}

QStringList SessionTap::Keywords()
{
    QStringList keywords;
    for (const CollFrame& f : Frames())
        keywords << QString::fromUtf8(f.keyword);
    return keywords;
}

void SessionTap::Forget()
{
    Frames();
    m_frames.clear();
}

void SessionTap::Send(const QByteArray& keyword, const QByteArray& data)
{
    Send(keyword, data, coll::kBlockEnd);
}

void SessionTap::Deliver(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail)
{
    Send(keyword, data, tail);
    if (!m_window || !m_local.waitForReadyRead(5000))
        return;
    while (m_window->m_collReceiveBuffer.Held() > 0 && m_local.waitForReadyRead(2000)) {
    }
    QCoreApplication::processEvents();
}

void SessionTap::Send(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail)
{
    if (!m_peer)
        return;
    // The reader takes the session socket only from a bound library.
    m_window->m_collLibraryLoaded = true;
    m_window->Coll_AttachSocket();
    m_peer->write(BuildCollFrame(keyword, data, tail));
    m_peer->flush();
}
