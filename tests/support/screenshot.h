#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

// The whole X screen, written to `path` by ImageMagick's import and read
// back; a null image when the grab failed.
QImage TakeScreenshot(const QString& path);

// Screenshots to `path` until `holds` is true of one, for at most
// `timeoutMs`: the screen shows a change a moment after a program made it.
// A loaded machine takes seconds for each grab, hence the long default.
// The last one taken, as 32-bit RGB.
QImage ScreenshotWhen(const QString& path, const std::function<bool(const QImage&)>& holds, int timeoutMs = 30000);

// The same, but the screen must also have stopped changing: `holds` is true
// of a screenshot that equals the one taken before it. For a picture that is
// compared whole with another.
QImage SettledScreenshotWhen(const QString& path, const std::function<bool(const QImage&)>& holds,
                             int timeoutMs = 30000);

// How many pixels of the area are dark (every channel below 90).
int DarkPixels(const QImage& image, QRect area);
