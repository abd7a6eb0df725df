// The receiver's dispatch. The handlers of the messages come with their own
// subsystems; until a handler exists its message writes one line.
#include "app/ui/dialog.h"

#include <QDebug>

void Dialog::Coll_Receive(int code, const QByteArray& keyword, const QByteArray& data, const QByteArray& tail)
{
    Q_UNUSED(tail);
    // Unknown keywords and "SENDMSG" (code 0) do nothing.
    if (code == 0 || Coll_ReceiveSession(code, data) || Coll_ReceiveBoard(code, data))
        return;
    qDebug().noquote() << QStringLiteral("exe : receiver of %1 (%2) is not available yet : %3")
                              .arg(QString::fromUtf8(keyword))
                              .arg(code)
                              .arg(QString::fromUtf8(data.left(64)));
}
