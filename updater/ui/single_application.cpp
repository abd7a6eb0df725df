#include "updater/ui/single_application.h"

#include <QDebug>

SingleApplication::SingleApplication(int& argc, char** argv)
    : QApplication(argc, argv)
    , m_instanceLock(QStringLiteral("Halcy_Patchora"))
{
}

bool SingleApplication::lock()
{
    switch (m_instanceLock.tryLock()) {
    case platform::InstanceLock::Result::Acquired:
        return true;
    case platform::InstanceLock::Result::HeldElsewhere:
        return false;
    case platform::InstanceLock::Result::Unavailable:
        // Two updaters at once could install over each other: without a lock
        // file nothing is known, so this run gives way.
        qDebug() << "updater instance lock file cannot be opened";
        return false;
    }
    return false;
}
