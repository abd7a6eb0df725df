#include "outside/Konnexa/konnexa_api.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

// The eleven names the whiteboard resolves; nothing here talks to a network.
FAKE_EXPORT bool server_start(int) { return false; }
FAKE_EXPORT void server_close() {}
FAKE_EXPORT void server_delete() {}
FAKE_EXPORT bool soc_canReadLine() { return false; }
FAKE_EXPORT QByteArray soc_readLine() { return QByteArray(); }
FAKE_EXPORT qint64 soc_write(QByteArray) { return -1; }
FAKE_EXPORT void soc_connectToHost(QString, int) {}
FAKE_EXPORT void soc_close() {}
FAKE_EXPORT void soc_new() {}
FAKE_EXPORT void soc_delete() {}
FAKE_EXPORT QTcpSocket* soc_() { return nullptr; }
