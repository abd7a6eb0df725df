// Stand-ins that let the whiteboard start end to end before the subsystems
// behind them exist. Each writes one debug line; each is removed from here
// when its real body lands.
#include "app/ui/dialog.h"

#include <QDebug>

void Dialog::StartProjectLoad(QString path)
{
    qDebug().noquote() << QStringLiteral("exe : StartProjectLoad(%1) is not available yet").arg(path);
}

void Dialog::LoadProject() { qDebug().noquote() << QStringLiteral("exe : LoadProject is not available yet"); }

