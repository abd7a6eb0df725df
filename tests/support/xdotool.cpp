#include "tests/support/xdotool.h"

#include <QProcess>

QByteArray Xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
    }
    return process.readAllStandardOutput();
}
