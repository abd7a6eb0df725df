#pragma once

#include <QByteArray>
#include <QStringList>

// Runs xdotool with `arguments` (ended after five seconds) and returns its
// standard output. Every test that works windows from outside goes through here.
QByteArray Xdotool(const QStringList& arguments);
