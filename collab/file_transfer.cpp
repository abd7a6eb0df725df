#include "collab/file_transfer.h"

namespace coll {

QString DocumentFolder(const QString& workFolder)
{
    return workFolder + QStringLiteral("Doc/");
}

QString FileTransferPath(int kind, const QString& notePath, const QString& given, const QString& programFolder)
{
    switch (kind) {
    case 0:
        return notePath;
    case 1:
        return programFolder + QStringLiteral("/UpDateTx/Konnexa.dll");
    case 2:
        return programFolder + QStringLiteral("/UpDateTx/Orbel5.exe");
    case 3:
    case 4:
        return given;
    default:
        return QString();
    }
}

QString ImageNameFromPath(const QString& path)
{
    const int cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString file = path.mid(cut + 1);
    const int dot = file.indexOf(QLatin1Char('.'));
    return dot < 0 ? file : file.left(dot);
}

}  // namespace coll
