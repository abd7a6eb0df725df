#pragma once

#include <QByteArray>
#include <QString>

class QTcpSocket;

// The functions of the collaboration library ("Konnexa.dll"), resolved by
// name at run time: the relay server and the one client socket it hands out.
extern "C" {
typedef bool (*ServerStartFunction)(int port);
typedef void (*ServerCloseFunction)();
typedef void (*ServerDeleteFunction)();
typedef bool (*SocCanReadLineFunction)();
typedef QByteArray (*SocReadLineFunction)();
typedef qint64 (*SocWriteFunction)(QByteArray);
typedef void (*SocConnectToHostFunction)(QString host, int port);
typedef void (*SocCloseFunction)();
typedef void (*SocNewFunction)();
typedef void (*SocDeleteFunction)();
typedef QTcpSocket* (*SocFunction)();
}
