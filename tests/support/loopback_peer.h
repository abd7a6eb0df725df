#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QVector>

#include "collab/coll_frame.h"

// A collaboration socket connected to a peer on the loopback interface, for
// tests that look at the frames the board sends: hand client() to the
// board as its session socket and read what arrived with Frames().
class CollLoopbackPeer
{
public:
    // Listens, connects and accepts; false when any of it failed.
    bool Open();
    QTcpSocket* client() { return &m_client; }

    // Every whole frame that arrives within about `waitMs` (sooner once no
    // byte came for a while), in order; the client's queued bytes are
    // flushed first.
    QVector<CollFrame> Frames(int waitMs = 1000);
    // Only those with the keyword.
    QVector<CollFrame> Frames(const QByteArray& keyword, int waitMs = 1000);

private:
    QTcpServer m_server;
    QTcpSocket m_client;
    QTcpSocket* m_peer = nullptr;
    CollFrameBuffer m_buffer;
};
