// Collaboration frames built by the main window.
#include <QDebug>

#include "app/ui/dialog.h"
#include "collab/coll_frame.h"

QByteArray Dialog::setData(QByteArray header, QByteArray data, QByteArray tail)
{
    bool ok = false;
    const QByteArray frame = BuildCollFrame(header, data, tail, &ok);
    if (!ok) {
        qDebug().noquote() << QStringLiteral("EXE Tx: frame too large, not sent: Header = %1, Data = %2, Tail = %3")
                                  .arg(header.size()).arg(data.size()).arg(tail.size());
        return frame;
    }
    qDebug().noquote() << QStringLiteral("EXE Tx: TotalSize = %1, nextSize = %2, Header = %3, Data = %4, Tail = %5")
                              .arg(frame.size())
                              .arg(frame.size() - 2)
                              .arg(header.size())
                              .arg(data.size())
                              .arg(tail.size());
    return frame;
}
