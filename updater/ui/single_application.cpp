#include "updater/ui/single_application.h"

#include "platform/folders.h"

SingleApplication::SingleApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool SingleApplication::lock()
{
    if (m_lock)
        return m_lock->isLocked();
    const QString path = platform::KnownFolderPath(platform::KnownFolder::Runtime)
                         + QStringLiteral("/Halcy_Patchora.lock");
    m_lock = new QLockFile(path);
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
