#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The debug lines of the code under test, for tests that look at what it
// logged: install CollectLog with qInstallMessageHandler and the lines gather
// in g_log, which a test clears where it starts looking.
extern QStringList g_log;

void CollectLog(QtMsgType type, const QMessageLogContext& context, const QString& message);
