#pragma once

// The collaboration relay's rules without sockets: admission by handshake,
// routing of each whole frame by keyword and address, departures. The socket
// layer (our collaboration library) reports what happens to its connections
// and carries out the actions this core queues.

#include "collab/coll_frame.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class RelayCore
{
public:
    enum class ActionKind {
        Send,   // write the bytes to the connection
        Close,  // flush what is queued for the connection, then close it
        Abort,  // drop the connection at once, queued bytes and all
    };
    struct Action {
        ActionKind kind;
        int connection;
        QByteArray bytes;
    };

    // A connection that has not handshaken within this time is closed.
    static constexpr qint64 kPendingLimitMs = 30 * 1000;

    // A new connection; `localAddress` tells whether it comes from this
    // machine (loopback or one of its own addresses): only such a connection
    // may become the host.
    void Open(int connection, bool localAddress, qint64 nowMs);
    // Bytes that arrived on a connection. Whole frames are acted on, a partial
    // frame waits for the rest.
    void Receive(int connection, const QByteArray& bytes);
    // The connection went away (closed by the peer or failed).
    void Closed(int connection);
    // Ends a connection from our side at once (its output passed the cap).
    void Drop(int connection);
    // Closes every connection that is still pending after the limit.
    void ExpirePending(qint64 nowMs);
    // Closes everything and forgets the session (host and password).
    void CloseAll();

    // The actions queued since the last call, in order.
    QVector<Action> TakeActions();

    // Admitted participant IDs, host first.
    QStringList Users() const { return m_users; }
    // The participant the host's last level change made the writer; empty
    // while nobody may write.
    QString Writer() const { return m_writer; }
    // The host's connection; -1 while there is none.
    int HostConnection() const { return m_host; }
    bool HasConnection(int connection) const { return m_connections.contains(connection); }

private:
    enum class State { Pending, Waiting, Admitted };
    struct Connection {
        State state = State::Pending;
        bool local = false;
        qint64 openedMs = 0;
        CollFrameBuffer buffer;
        QString id;
        QString password;
        int level = 0;
        qint64 handshakeOrder = 0;
    };

    bool ProcessBuffer(int connection);
    void Handshake(int connection, const CollFrame& frame);
    void Admit(int connection);
    void AdmitWaiting();
    void Refuse(int connection);
    void Route(int connection, const CollFrame& frame, const QByteArray& bytes);
    void FollowLevelChange(const QByteArray& data);
    void SendToId(const QString& id, const QByteArray& bytes);
    void SendToOthers(int connection, const QByteArray& bytes);
    void SendToAdmitted(const QByteArray& bytes);
    void Remove(int connection, ActionKind how);
    void Queue(ActionKind kind, int connection, const QByteArray& bytes = QByteArray());
    QByteArray UsersFrame() const;
    int ConnectionOf(const QString& id) const;

    QHash<int, Connection> m_connections;
    // Admitted connections in admission order, parallel to m_users.
    QVector<int> m_admitted;
    QStringList m_users;
    int m_host = -1;
    QString m_sessionPassword;
    QString m_writer;
    qint64 m_handshakes = 0;
    QVector<Action> m_actions;
};
