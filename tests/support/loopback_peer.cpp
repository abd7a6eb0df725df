#include "tests/support/loopback_peer.h"

#include <QElapsedTimer>

bool CollLoopbackPeer::Open()
{
    if (!m_server.listen(QHostAddress::LocalHost))
        return false;
    m_client.connectToHost(QHostAddress::LocalHost, m_server.serverPort());
    if (!m_client.waitForConnected(5000) || !m_server.waitForNewConnection(5000))
        return false;
    m_peer = m_server.nextPendingConnection();
    return m_peer != nullptr;
}

QVector<CollFrame> CollLoopbackPeer::Frames(int waitMs)
{
    QVector<CollFrame> frames;
    if (!m_peer)
        return frames;
    m_client.flush();
    QElapsedTimer clock;
    clock.start();
    int quietRounds = 0;
    // Bounded: the peer stops reading after waitMs, or after three quiet
    // rounds once something came.
    while (clock.elapsed() < waitMs && quietRounds < 3) {
        m_client.flush();
        if (m_peer->bytesAvailable() == 0 && !m_peer->waitForReadyRead(100)) {
            if (!frames.isEmpty() || m_buffer.Held() == 0)
                ++quietRounds;
            continue;
        }
        quietRounds = 0;
        m_buffer.Append(m_peer->readAll());
        CollFrame frame;
        while (m_buffer.Next(&frame) == 1)
            frames.append(frame);
    }
    return frames;
}

QVector<CollFrame> CollLoopbackPeer::Frames(const QByteArray& keyword, int waitMs)
{
    QVector<CollFrame> matching;
    for (const CollFrame& frame : Frames(waitMs)) {
        if (frame.keyword == keyword)
            matching.append(frame);
    }
    return matching;
}
