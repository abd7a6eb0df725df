#include "editing/image_objects.h"

#include <algorithm>

#include "storage/project_file.h"

QSize ImageObjectSize(QSize image, QSize board)
{
    const qint64 iw = image.width();
    const qint64 ih = image.height();
    const qint64 W = board.width();
    const qint64 H = board.height();
    if (iw <= 0 || ih <= 0 || W <= 0 || H <= 0 || (iw <= W && ih <= H))
        return image;
    // The smaller ratio wins: compare W / iw with H / ih without dividing.
    qint64 w;
    qint64 h;
    if (H * iw <= W * ih) {
        h = H;
        w = iw * H / ih;
    } else {
        w = W;
        h = ih * W / iw;
    }
    return QSize(int(std::max<qint64>(w, 1)), int(std::max<qint64>(h, 1)));
}

QSize HostImageSize(QSize image, coll::BoardScale scale)
{
    return QSize(std::max(1, int(image.width() * scale.x)), std::max(1, int(image.height() * scale.y)));
}

QString ReceivedImagePath(const QString& documentFolder, const QString& hostName, const QString& stamp)
{
    const QString name = storage::IsBareFileName(hostName) ? hostName : QStringLiteral("Obj_image") + stamp;
    return QStringLiteral("%1%2.png").arg(documentFolder, name);
}
