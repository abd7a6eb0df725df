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

void XdotoolDrag(QPoint from, QPoint to, int steps)
{
    auto n = [](int v) { return QString::number(v); };
    Xdotool({QStringLiteral("mousemove"), n(from.x()), n(from.y()), QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        Xdotool({QStringLiteral("mousemove"), n(p.x()), n(p.y())});
    }
    Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
}
