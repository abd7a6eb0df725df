#include "collab/relay_core.h"

#include "collab/coll_messages.h"

#include <algorithm>

namespace {

QByteArray RelayFrame(const char* keyword, const QByteArray& data)
{
    return BuildCollFrame(keyword, data, coll::kBlockEnd);
}

}  // namespace

void RelayCore::Open(int connection, bool localAddress, qint64 nowMs)
{
    Connection c;
    c.local = localAddress;
    c.openedMs = nowMs;
    m_connections.insert(connection, c);
}

void RelayCore::Receive(int connection, const QByteArray& bytes)
{
    auto it = m_connections.find(connection);
    if (it == m_connections.end())
        return;
    it->buffer.Append(bytes);
    ProcessBuffer(connection);
}

// Acts on every whole frame at the front of the connection's buffer. Returns
// false when the connection is gone afterwards.
bool RelayCore::ProcessBuffer(int connection)
{
    for (;;) {
        auto it = m_connections.find(connection);
        if (it == m_connections.end())
            return false;
        CollFrame frame;
        QByteArray original;
        const int result = it->buffer.Next(&frame, &original);
        if (result == 0)
            return true;
        if (result < 0) {
            Remove(connection, ActionKind::Abort);
            return false;
        }
        if (it->state == State::Admitted)
            Route(connection, frame, original);
        else if (it->state == State::Pending && frame.keyword == "Connected_OK")
            Handshake(connection, frame);
        // Anything else from a connection that is not admitted is dropped.
    }
}

void RelayCore::Handshake(int connection, const CollFrame& frame)
{
    Connection& c = m_connections[connection];
    const QStringList fields = coll::Fields(frame.data).parts();
    if (fields.size() < 3 || fields.first().isEmpty()) {
        Refuse(connection);
        return;
    }
    c.id = fields.first();
    c.handshakeOrder = ++m_handshakes;
    c.level = fields.last().toInt();
    c.password = fields.mid(1, fields.size() - 2).join(QLatin1Char(','));
    // Two connections under one ID would make every addressed frame and every
    // departure ambiguous.
    for (auto other = m_connections.cbegin(); other != m_connections.cend(); ++other) {
        if (other.key() != connection && other->state != State::Pending && other->id == c.id) {
            Refuse(connection);
            return;
        }
    }
    if (c.level == 3) {
        if (!c.local || m_host >= 0) {
            Refuse(connection);
            return;
        }
        m_sessionPassword = c.password;
        Admit(connection);
        AdmitWaiting();
        return;
    }
    if (m_host < 0) {
        c.state = State::Waiting;
        return;
    }
    if (c.password == m_sessionPassword)
        Admit(connection);
    else
        Refuse(connection);
}

void RelayCore::Admit(int connection)
{
    Connection& c = m_connections[connection];
    c.state = State::Admitted;
    if (c.level == 3)
        m_host = connection;
    m_admitted.append(connection);
    m_users.append(c.id);
    SendToAdmitted(UsersFrame());
    if (connection != m_host && m_host >= 0)
        Queue(ActionKind::Send, m_host, RelayFrame("Connected_ID", coll::ParticipantData(c.id)));
}

// Handshakes that came before the host's are checked in the order they came.
void RelayCore::AdmitWaiting()
{
    QVector<QPair<qint64, int>> waiting;
    for (auto it = m_connections.cbegin(); it != m_connections.cend(); ++it) {
        if (it->state == State::Waiting)
            waiting.append({it->handshakeOrder, it.key()});
    }
    std::sort(waiting.begin(), waiting.end());
    for (const auto& entry : waiting) {
        if (m_connections.value(entry.second).password == m_sessionPassword)
            Admit(entry.second);
        else
            Refuse(entry.second);
    }
}

void RelayCore::Refuse(int connection)
{
    Queue(ActionKind::Send, connection, BuildCollFrame("PASSERROR", QByteArray(), coll::kBlockEnd));
    Queue(ActionKind::Close, connection);
    m_connections.remove(connection);
}

void RelayCore::Route(int connection, const CollFrame& frame, const QByteArray& bytes)
{
    const QByteArray& keyword = frame.keyword;
    if (keyword == "Connected_OK" || coll::IsRelayKeyword(keyword))
        return;
    if (coll::IsHostOnlyKeyword(keyword) && connection != m_host)
        return;
    if (coll::IsWriterKeyword(keyword) && connection != m_host
        && (m_writer.isEmpty() || m_connections.value(connection).id != m_writer))
        return;
    if (keyword == "LEVEL_CH") {
        FollowLevelChange(frame.data);
        SendToId(coll::Fields(frame.data).text(0), bytes);
    } else if (keyword == "TOOL_CH") {
        SendToAdmitted(bytes);
    } else if (coll::IsAddressedKeyword(keyword) || coll::IsFileKeyword(keyword)) {
        const coll::Fields address(coll::IsFileKeyword(keyword) ? frame.tail : frame.data);
        if (address.text(0) == QLatin1String("1"))
            SendToId(address.text(1), bytes);
        else
            SendToOthers(connection, bytes);
    } else {
        SendToOthers(connection, bytes);
    }
}

// "<participant ID>,<level>,<flag>", from the host: level 2 makes the
// participant it goes to the writer, any other level takes the right from
// it. The level is read where the participant reads it, next to last.
void RelayCore::FollowLevelChange(const QByteArray& data)
{
    const coll::Fields fields(data);
    if (fields.count() < 3)
        return;
    const QString id = fields.text(0);
    if (fields.toInt(fields.count() - 2) == 2)
        m_writer = id;
    else if (id == m_writer)
        m_writer.clear();
}

int RelayCore::ConnectionOf(const QString& id) const
{
    const int index = m_users.indexOf(id);
    return index < 0 ? -1 : m_admitted.at(index);
}

void RelayCore::SendToId(const QString& id, const QByteArray& bytes)
{
    const int target = ConnectionOf(id);
    if (target >= 0)
        Queue(ActionKind::Send, target, bytes);
}

void RelayCore::SendToOthers(int connection, const QByteArray& bytes)
{
    for (const int target : qAsConst(m_admitted)) {
        if (target != connection)
            Queue(ActionKind::Send, target, bytes);
    }
}

void RelayCore::SendToAdmitted(const QByteArray& bytes)
{
    for (const int target : qAsConst(m_admitted))
        Queue(ActionKind::Send, target, bytes);
}

void RelayCore::Closed(int connection)
{
    if (m_connections.contains(connection))
        Remove(connection, ActionKind::Close);
}

void RelayCore::Drop(int connection)
{
    if (m_connections.contains(connection))
        Remove(connection, ActionKind::Abort);
}

// Forgets the connection, tells the socket layer how to end it, and, when it
// was admitted, tells the others that it left.
void RelayCore::Remove(int connection, ActionKind how)
{
    const Connection c = m_connections.take(connection);
    Queue(how, connection);
    const int index = m_admitted.indexOf(connection);
    if (index < 0)
        return;
    m_admitted.removeAt(index);
    m_users.removeAt(index);
    if (connection == m_host) {
        m_host = -1;
        m_sessionPassword.clear();
        m_writer.clear();
    }
    if (c.id == m_writer)
        m_writer.clear();
    SendToAdmitted(RelayFrame("EXIT", coll::ParticipantData(c.id)));
    SendToAdmitted(UsersFrame());
}

void RelayCore::ExpirePending(qint64 nowMs)
{
    QVector<int> expired;
    for (auto it = m_connections.cbegin(); it != m_connections.cend(); ++it) {
        if (it->state != State::Admitted && nowMs - it->openedMs >= kPendingLimitMs)
            expired.append(it.key());
    }
    for (const int connection : qAsConst(expired))
        Remove(connection, ActionKind::Close);
}

void RelayCore::CloseAll()
{
    for (auto it = m_connections.cbegin(); it != m_connections.cend(); ++it)
        Queue(ActionKind::Abort, it.key());
    m_connections.clear();
    m_admitted.clear();
    m_users.clear();
    m_host = -1;
    m_sessionPassword.clear();
    m_writer.clear();
}

QVector<RelayCore::Action> RelayCore::TakeActions()
{
    QVector<Action> actions;
    actions.swap(m_actions);
    return actions;
}

void RelayCore::Queue(ActionKind kind, int connection, const QByteArray& bytes)
{
    if (kind == ActionKind::Send && bytes.isEmpty())
        return;
    m_actions.append({kind, connection, bytes});
}

QByteArray RelayCore::UsersFrame() const
{
    return RelayFrame("users", coll::UsersData(m_users));
}
