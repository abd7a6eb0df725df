#include "app/ui/single_application.h"

#include <QDebug>
#include <QFileOpenEvent>
#include <QPixmap>
#include <QSharedMemory>
#include <QSplashScreen>
#include <QTabletEvent>
#include <QTimer>

SingleApplication::SingleApplication(int& argc, char** argv)
    : QApplication(argc, argv)
    , m_instanceLock(QStringLiteral("Dravik"))
{
    m_splash = new QSplashScreen(QPixmap(), Qt::WindowFlags());
    m_sharedMemory = new QSharedMemory(QStringLiteral("Dravik"), this);
}

SingleApplication::~SingleApplication()
{
    if (m_sharedMemory->isAttached())
        m_sharedMemory->detach();
    delete m_splash;
}

bool SingleApplication::lock()
{
    switch (m_instanceLock.tryLock()) {
    case platform::InstanceLock::Result::HeldElsewhere:
        return false;
    case platform::InstanceLock::Result::Unavailable:
        // Without the lock file only the shared memory can tell.
        if (m_sharedMemory->attach(QSharedMemory::ReadOnly)) {
            m_sharedMemory->detach();
            return false;
        }
        return m_sharedMemory->create(1, QSharedMemory::ReadWrite);
    case platform::InstanceLock::Result::Acquired:
        break;
    }

    // No other copy runs. A segment that is still there was left by a copy
    // that was killed; letting go of it removes it once nobody else holds it.
    if (m_sharedMemory->attach(QSharedMemory::ReadOnly))
        m_sharedMemory->detach();
    if (!m_sharedMemory->create(1, QSharedMemory::ReadWrite))
        qDebug() << "single instance guard kept by another user's copy:" << m_sharedMemory->errorString();
    return true;
}

void SingleApplication::ShowSplash()
{
    m_splash->setPixmap(QPixmap(QStringLiteral(":/Etc/splash")));
    m_splash->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_splash->show();
    QTimer::singleShot(2000, this, &SingleApplication::timeDone);
}

void SingleApplication::timeDone()
{
    qDebug() << "time Done";
    m_splash->close();
}

void SingleApplication::OpenFileAtStart(const QString& path)
{
    emit OpenISPFile(path);
}

bool SingleApplication::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FileOpen: {
        const QString path = static_cast<QFileOpenEvent*>(event)->file();
        QString ending = path.right(3);
        if (ending.contains(QLatin1String("vk")))
            ending = path.right(2);
        if (ending == QLatin1String("vk")) {
            m_pendingKind = 1;
            m_pendingPath = path;
            emit OpenISPFile(path);
        } else if (ending == QLatin1String("iic")) {
            m_pendingKind = 2;
            m_pendingPath = path;
            emit OpenIICFile(path);
        }
        return true;
    }
    case QEvent::TabletEnterProximity:
        emit TabletEnterSignal(static_cast<QTabletEvent*>(event));
        return true;
    case QEvent::TabletLeaveProximity:
        emit TabletLeaveSignal(static_cast<QTabletEvent*>(event));
        return true;
    default:
        return QApplication::event(event);
    }
}
