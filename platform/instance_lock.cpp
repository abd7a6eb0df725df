#include "platform/instance_lock.h"

#include "platform/folders.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

InstanceLock::InstanceLock(const QString& name)
    : m_path(KnownFolderPath(KnownFolder::Runtime) + QLatin1Char('/') + name + QStringLiteral(".lock"))
{
}

InstanceLock::~InstanceLock()
{
    unlock();
}

InstanceLock::Result InstanceLock::tryLock()
{
    if (m_fd >= 0)
        return Result::Acquired;
    if (!CheckPrivateFolders().isEmpty())
        return Result::Unavailable;
    // Close-on-exec: programs we start must not inherit the lock and keep it
    // after we end. A link in the lock's place is not followed: it would make
    // us create or hold a file of someone else's choosing.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Result::HeldElsewhere : Result::Unavailable;
    }
    m_fd = fd;
    return Result::Acquired;
}

void InstanceLock::unlock()
{
    if (m_fd < 0)
        return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

}  // namespace platform
