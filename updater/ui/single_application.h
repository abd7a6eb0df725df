#pragma once

#include "platform/instance_lock.h"

#include <QApplication>

// The updater's application object with its single-instance guard: the
// per-user instance lock, which the kernel frees when its holder ends however
// it ends, so a new run is never blocked by a run that was killed.
class SingleApplication : public QApplication
{
    Q_OBJECT
public:
    SingleApplication(int& argc, char** argv);

    // True when this is the only running updater.
    bool lock();

private:
    platform::InstanceLock m_instanceLock;
};
