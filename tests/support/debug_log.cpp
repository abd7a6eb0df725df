#include "tests/support/debug_log.h"

QStringList g_log;

void CollectLog(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_log.append(message);
}
