#pragma once

#include <QString>

// A per-user lock that only a running process can hold. The kernel lets go
// of it when the holder ends, however it ends (a crash or kill -9 included),
// so a copy that died never keeps the next one from starting.
namespace platform {

class InstanceLock
{
public:
    // `name` becomes a file in the user's runtime folder.
    explicit InstanceLock(const QString& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Result {
        Acquired,       // this process holds it (now or already)
        HeldElsewhere,  // another running process holds it
        Unavailable,    // the lock file cannot be opened: nothing is known
    };
    Result tryLock();
    bool isLocked() const { return m_fd >= 0; }
    void unlock();

private:
    QString m_path;
    int m_fd = -1;
};

}  // namespace platform
