#pragma once

#include <QApplication>
#include <QLockFile>

// The updater's application object with its single-instance guard. The guard
// is a lock file in the runtime folder: the kernel and the lock's owner check
// make a crashed updater's lock count as free, so a new run is never blocked
// by a run that was killed.
class SingleApplication : public QApplication
{
    Q_OBJECT
public:
    SingleApplication(int& argc, char** argv);

    // True when this is the only running updater.
    bool lock();

private:
    QLockFile* m_lock = nullptr;
};
