#include "board/picture_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Formats whose reader really decodes at a smaller size (instead of decoding
// the whole picture and scaling it afterwards). A JPEG decoder scales by 1/2,
// 1/4 or 1/8 while decoding; asked for exactly such a size, it makes nothing
// larger on the way.
bool ScalesWhileDecoding(const QByteArray& format)
{
    return format == "jpeg" || format == "jpg";
}

// The largest of those sizes within the budget; invalid when even 1/8 is
// too large.
QSize JpegSizeWithinBudget(QSize full, qint64 budget)
{
    for (int divisor : {2, 4, 8}) {
        const QSize reduced((full.width() + divisor - 1) / divisor, (full.height() + divisor - 1) / divisor);
        if (qint64(reduced.width()) * qint64(reduced.height()) <= budget)
            return reduced;
    }
    return QSize();
}

}  // namespace

PictureRead ReadPicture(const QString& path, QSize fitInto)
{
    PictureRead out;
    auto refuse = [&out, &path](const QString& why) {
        out.image = QImage();
        out.error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
        return out;
    };
    if (path.isEmpty())
        return refuse(QStringLiteral("no file named"));

    // Opened without waiting, so that a pipe with no writer cannot hold us
    // up; what was opened is checked, not the name, so nothing can swap the
    // file in between.
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ELOOP)
            return refuse(QStringLiteral("the name is a link, not a picture file"));
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return refuse(QStringLiteral("not a regular file"));
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return refuse(file.errorString());
    }

    QImageReader reader(&file);
    const QSize full = reader.size();
    if (!full.isValid() || full.isEmpty()) {
        return refuse(reader.canRead() ? QStringLiteral("the picture does not say its size")
                                       : QStringLiteral("not a picture this program can read"));
    }
    out.fullSize = full;
    const QByteArray format = reader.format().toLower();
    const bool scalesWhileDecoding = ScalesWhileDecoding(format);
    const qint64 pixels = qint64(full.width()) * qint64(full.height());

    QSize decodeSize = full;
    if (pixels > kPicturePixelBudget) {
        decodeSize = scalesWhileDecoding ? JpegSizeWithinBudget(full, kPicturePixelBudget) : QSize();
        if (!decodeSize.isValid()) {
            return refuse(QStringLiteral("the picture has %1 x %2 pixels, more than the %3 million a picture may have")
                              .arg(full.width())
                              .arg(full.height())
                              .arg(kPicturePixelBudget / 1000000));
        }
    }
    const bool fitting = fitInto.isValid() && !fitInto.isEmpty();
    const QSize fitted = fitting ? full.scaled(fitInto, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)) : QSize();
    if (fitting && scalesWhileDecoding && fitted.width() < decodeSize.width())
        decodeSize = fitted;
    if (decodeSize != full)
        reader.setScaledSize(decodeSize);

    QImage image = reader.read();
    if (image.isNull())
        return refuse(reader.errorString());
    if (fitting && image.size() != fitted)
        image = image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    out.image = image;
    return out;
}
