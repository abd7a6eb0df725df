#include "tests/support/screenshot.h"

#include <QElapsedTimer>
#include <QFile>
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

QImage ScreenshotWhen(const QString& path, const std::function<bool(const QImage&)>& holds, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QImage shot;
    do {
        QFile::remove(path);
        shot = TakeScreenshot(path).convertToFormat(QImage::Format_RGB32);
        if (!shot.isNull() && holds(shot))
            break;
    } while (clock.elapsed() < timeoutMs);
    return shot;
}

QImage SettledScreenshotWhen(const QString& path, const std::function<bool(const QImage&)>& holds, int timeoutMs)
{
    QImage before;
    return ScreenshotWhen(
        path,
        [&](const QImage& shot) {
            const bool settled = shot == before && holds(shot);
            before = shot;
            return settled;
        },
        timeoutMs);
}

int DarkPixels(const QImage& image, QRect area)
{
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90 ? 1 : 0;
        }
    return n;
}
