// Stand-ins that let the whiteboard start end to end before the subsystems
// behind them exist. Each writes one debug line; each is removed from here
// when its real body lands.
#include "app/ui/dialog.h"

#include <QDebug>

void Dialog::Coll_Send_InitProj(int mode, QString userId, bool flag)
{
    qDebug().noquote() << QStringLiteral("exe : Coll_Send_InitProj(%1,%2,%3) is not available yet")
                              .arg(mode).arg(userId).arg(flag ? 1 : 0);
}
