#pragma once

#include "collab/coll_frame.h"

#include <QList>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include "app/ui/dialog.h"

#include <QPointer>

// A collaboration session for a window under test, without a relay: while
// the tap lives, the library's socket function hands out one end of a
// loopback pair as the session socket and the window counts as connected at
// the given level; the test reads at the other end every frame the window
// wrote, and may write frames the window's reader takes in. Everything is
// put back when the tap ends.
class SessionTap
{
public:
    SessionTap(Dialog* window, int level, bool connected = true);
    ~SessionTap();
    SessionTap(const SessionTap&) = delete;
    SessionTap& operator=(const SessionTap&) = delete;

    bool ok() const { return m_peer != nullptr; }

    // Every frame the window wrote so far, in order, after the bytes in
    // flight have come through (a bounded wait).
    const QList<CollFrame>& Frames();
    // The same as "KEYWORD(data)" lines.
    QStringList Lines();
    int Count(const QString& line) { return Lines().count(line); }
    // The keywords alone, in order.
    QStringList Keywords();
    void Forget();

    // A frame from the peer's side, read by the window's own reader.
    void Send(const QByteArray& keyword, const QByteArray& data);
    // The same with a tail of its own (the file messages carry fields there).
    void Send(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail);
    // A frame from the peer's side, handled by the window before this
    // returns (a bounded wait).
    void Deliver(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail = coll::kBlockEnd);

    QTcpSocket* windowSocket() { return &m_local; }

private:
    QPointer<Dialog> m_window;
    QTcpServer m_server;
    QTcpSocket m_local;
    QTcpSocket* m_peer = nullptr;
    CollFrameBuffer m_buffer;
    QList<CollFrame> m_frames;
    void* m_previousSoc = nullptr;
    bool m_previousLoaded = false;
    bool m_previousConnected = false;
    int m_previousLevel = 0;
    bool m_previousBoardTaken = false;
};
