#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <atomic>

// The debug log goes to stderr, which a session manager or a redirect may
// keep in a file for as long as the machine runs. One run writes at most this
// much of it.
constexpr qint64 kDebugLogLimit = 32LL * 1024 * 1024;

// Decides what of each debug line is written, from any thread.
class DebugLogCap
{
public:
    explicit DebugLogCap(qint64 limit) : m_limit(limit) {}

    // The line itself while the log stays within the limit; the one line
    // saying that the log stops, for the line that would pass it; nothing
    // after that.
    QByteArray admit(const QByteArray& line);

private:
    const qint64 m_limit;
    std::atomic<qint64> m_written{0};
};
