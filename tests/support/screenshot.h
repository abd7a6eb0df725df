#pragma once

#include <QImage>
#include <QString>

// The whole X screen, written to `path` by ImageMagick's import and read
// back; a null image when the grab failed.
QImage TakeScreenshot(const QString& path);
