#pragma once

#include "platform/instance_lock.h"

#include <QApplication>
#include <QString>

class QSharedMemory;
class QSplashScreen;
class QTabletEvent;

// The whiteboard's application object: the splash screen, the guard that
// keeps the system to one running copy, and the file-open and tablet
// proximity events that the top-level window takes over once it exists.
class SingleApplication : public QApplication
{
    Q_OBJECT

public:
    SingleApplication(int& argc, char** argv);
    ~SingleApplication() override;

    // True when this process is the only running copy. The guard stays taken
    // until the application object is destroyed.
    bool lock();

    void ShowSplash();
    void OpenFileAtStart(const QString& path);

    // 0 nothing pending, 1 a project file, 2 a contents package.
    int pendingKind() const { return m_pendingKind; }
    QString pendingPath() const { return m_pendingPath; }
    void clearPending() { m_pendingKind = 0; }

signals:
    void OpenISPFile(QString path);
    void OpenIICFile(QString path);
    void TabletEnterSignal(QTabletEvent* event);
    void TabletLeaveSignal(QTabletEvent* event);

public slots:
    void timeDone();

protected:
    bool event(QEvent* event) override;

private:
    QSplashScreen* m_splash = nullptr;
    QString m_pendingPath;
    int m_pendingKind = 0;
    QSharedMemory* m_sharedMemory = nullptr;
    // The shared memory outlives a copy that was killed, so it cannot tell a
    // running copy from a dead one; this lock can.
    platform::InstanceLock m_instanceLock;
};
