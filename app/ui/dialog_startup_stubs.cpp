// Stand-ins that let the whiteboard start end to end before the subsystems
// behind them exist. Each writes one debug line; each is removed from here
// when its real body lands.
#include "app/ui/dialog.h"

#include <QDebug>

void Dialog::OptProjectSave(bool saveAs)
{
    qDebug().noquote() << QStringLiteral("exe : OptProjectSave(%1) is not available yet").arg(saveAs ? 1 : 0);
}

void Dialog::OpenISPFile(QString path)
{
    qDebug().noquote() << QStringLiteral("OpenISPFile : %1").arg(path);
}

void Dialog::OpenIICFile(QString path)
{
    qDebug().noquote() << QStringLiteral("OpenIICFile : %1").arg(path);
}
