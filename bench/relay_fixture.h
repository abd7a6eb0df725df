#pragma once
// Shared by the collaboration benchmarks: waiting on the event loop, and the
// relay of our collaboration library on a free loopback port with sockets
// and a whiteboard window joined to it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "app/ui/dialog.h"
#include "bench/board_fixture.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/konnexa_binding.h"

namespace bench {

template <typename Done>
inline bool Wait(Done done, int timeoutMs)
{
    QTimer wake;
    wake.start(5);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// The relay on a free port, a host socket and the window joined to it.
struct Relay {
    coll::KonnexaLibrary& konnexa = coll::SharedKonnexa();
    quint16 port = 0;
    bool ready = false;

    Relay()
    {
        OffscreenApplication();
        if (!konnexa.bound && !coll::BindKonnexa(konnexa))
            return;
        QTcpServer probe;
        probe.listen(QHostAddress::AnyIPv4, 0);
        port = probe.serverPort();
        probe.close();
        ready = konnexa.server_start(port);
    }
    ~Relay()
    {
        if (!konnexa.bound)
            return;
        konnexa.soc_delete();
        konnexa.server_close();
        konnexa.server_delete();
    }

    static bool Join(QTcpSocket& socket, quint16 port, const QByteArray& id, int level)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(5000))
            return false;
        // As the whiteboard's own session socket.
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket.write(BuildCollFrame("Connected_OK", id + ",pw," + QByteArray::number(level), coll::kBlockEnd));
        socket.flush();
        return Wait([]() { return false; }, 100), true;
    }

    // The window's own session socket, connected through the library.
    bool JoinWindow(Dialog& window, int level)
    {
        window.m_collLibraryLoaded = true;
        window.m_collConnected = true;
        window.m_collUserLevel = level;
        konnexa.soc_new();
        window.Coll_AttachSocket();
        konnexa.soc_connectToHost(QStringLiteral("127.0.0.1"), port);
        if (!Wait([&]() { return konnexa.soc_()->state() == QAbstractSocket::ConnectedState; }, 5000))
            return false;
        konnexa.soc_()->write(BuildCollFrame(
            "Connected_OK", coll::HandshakeData(QStringLiteral("[W]_127.0.0.1"), QStringLiteral("pw"), level),
            coll::kBlockEnd));
        Wait([]() { return false; }, 200);
        return true;
    }
};

}  // namespace bench
