#include "tests/support/screenshot.h"

#include <QProcess>

QImage TakeScreenshot(const QString& path)
{
    QProcess grab;
    grab.start(QStringLiteral("import"), {"-window", "root", path});
    if (!grab.waitForFinished(20000) || grab.exitStatus() != QProcess::NormalExit || grab.exitCode() != 0) {
        grab.kill();
        grab.waitForFinished(2000);
        return QImage();
    }
    return QImage(path);
}
