#include "app/debug_log_cap.h"

QByteArray DebugLogCap::admit(const QByteArray& line)
{
    const qint64 before = m_written.fetch_add(line.size());
    if (before + line.size() <= m_limit)
        return line;
    if (before <= m_limit)
        return QByteArrayLiteral("debug log: ") + QByteArray::number(m_limit / (1024 * 1024))
            + QByteArrayLiteral(" MB written, the rest of this run is not logged\n");
    return QByteArray();
}
