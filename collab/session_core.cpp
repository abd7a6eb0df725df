#include "collab/session_core.h"

namespace coll {

QString SafeTypedId(const QString& typed)
{
    QString safe;
    safe.reserve(qMin(typed.size(), kTypedIdMaxLength));
    for (const QChar c : typed) {
        if (safe.size() >= kTypedIdMaxLength)
            break;
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            continue;
        safe += (c == QLatin1Char(',') || c == QLatin1Char('/')) ? QLatin1Char('_') : c;
    }
    return safe;
}

QString ParticipantId(const QString& typedId, const QString& address)
{
    return QStringLiteral("[%1]_%2").arg(SafeTypedId(typedId), address);
}

QString ParticipantAddress(const QString& participantId)
{
    const int cut = participantId.lastIndexOf(QLatin1Char('_'));
    return cut < 0 ? QString() : participantId.mid(cut + 1);
}

bool CaseInsensitiveLessThan(const QString& a, const QString& b)
{
    return a.toLower() < b.toLower();
}

void Session::Leave()
{
    const int timeouts = timeoutCount;
    const QString address = ownAddress;
    *this = Session();
    timeoutCount = timeouts;
    ownAddress = address;
}

QVector<RightsStep> SetUserLevel(Session& session, QString id, bool suspend, const QString& toolHolder)
{
    const int flag = suspend ? 1 : 0;
    if (suspend) {
        if (!session.writeHolder.isEmpty()) {
            session.suspendedWriteHolder = session.writeHolder;
            id = session.writeHolder;
        } else if (!session.suspendedWriteHolder.isEmpty()) {
            id = session.suspendedWriteHolder;
            session.suspendedWriteHolder.clear();
        }
    }
    // The host's own level never changes.
    if (id.isEmpty() || id == session.hostId)
        return {};

    QVector<RightsStep> steps;
    // Taking the right from `holder`: told first, unmarked, and the tool
    // right comes home when it went with the write right.
    auto takeFrom = [&](const QString& holder) {
        steps.append({RightsStep::SendLevel, holder, 1, flag});
        steps.append({RightsStep::UnmarkWrite, holder, 0, 0});
        if (toolHolder == holder)
            steps.append({RightsStep::ToolBackToHost, session.hostId, 0, 0});
    };

    if (id == session.writeHolder) {
        session.writeHolder.clear();
        takeFrom(id);
        return steps;
    }
    if (!session.writeHolder.isEmpty())
        takeFrom(session.writeHolder);
    session.writeHolder = id;
    steps.append({RightsStep::SendLevel, id, 2, flag});
    steps.append({RightsStep::MarkWrite, id, 0, 0});
    steps.append({RightsStep::ClearWriterHighlight, id, 0, 0});
    return steps;
}

}  // namespace coll
