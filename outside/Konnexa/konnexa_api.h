#pragma once

// The collaboration transport's functions as the whiteboard resolves them by
// name from "Konnexa.dll" (libKonnexa.so). The library holds both sides of a
// session: the relay that a host runs (a TCP server on its own thread) and the
// one client socket of this program. Every function may be called in any
// order and more than once.

#include <QByteArray>
#include <QString>

class QTcpSocket;

#if defined(KONNEXA_LIBRARY_BUILD)
#define KONNEXA_EXPORT __attribute__((visibility("default")))
#else
#define KONNEXA_EXPORT
#endif

using ServerStartFunction = bool (*)(int port);
using ServerCloseFunction = void (*)();
using ServerDeleteFunction = void (*)();
using SocCanReadLineFunction = bool (*)();
using SocReadLineFunction = QByteArray (*)();
using SocWriteFunction = qint64 (*)(QByteArray bytes);
using SocConnectToHostFunction = void (*)(QString host, int port);
using SocCloseFunction = void (*)();
using SocNewFunction = void (*)();
using SocDeleteFunction = void (*)();
using SocFunction = QTcpSocket* (*)();

extern "C" {
// Starts the relay on every IPv4 address of this machine. Returns once the
// listen result is known: false when the port cannot be taken.
KONNEXA_EXPORT bool server_start(int port);
// Disconnects every participant and stops listening.
KONNEXA_EXPORT void server_close();
// Closes the relay and ends its thread.
KONNEXA_EXPORT void server_delete();

// Makes a new client socket on the calling thread; the previous one is
// disconnected from every receiver first, so none of its late signals can
// arrive, and then disposed of.
KONNEXA_EXPORT void soc_new();
// The client socket, the same object until the next soc_new or soc_delete;
// null before the first soc_new. The caller never deletes it.
KONNEXA_EXPORT QTcpSocket* soc_();
// Starts connecting asynchronously; the socket reports connected() or
// error(QAbstractSocket::SocketError).
KONNEXA_EXPORT void soc_connectToHost(QString host, int port);
KONNEXA_EXPORT void soc_close();
KONNEXA_EXPORT bool soc_canReadLine();
KONNEXA_EXPORT QByteArray soc_readLine();
KONNEXA_EXPORT qint64 soc_write(QByteArray bytes);
// Disposes of the client socket as soc_new does, without making a new one.
KONNEXA_EXPORT void soc_delete();
}
