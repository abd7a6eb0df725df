#include "board/time_stamps.h"

#include <QMutex>
#include <QMutexLocker>

QString FormatTimeStampId(const QDateTime& moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    return QString::asprintf("%04d%02d%02d%02d%02d%02d%03d", d.year(), d.month(), d.day(), t.hour(),
                             t.minute(), t.second(), t.msec());
}

QString FormatFileTimeStamp(const QDateTime& moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    return QString::asprintf("%04d%02d%02d_%02d%02d%02d", d.year(), d.month(), d.day(), t.hour(),
                             t.minute(), t.second());
}

QString NextTimeStampId(const QDateTime& now, QDateTime* last)
{
    QDateTime moment = now;
    if (last->isValid() && moment <= *last)
        moment = last->addMSecs(1);
    *last = moment;
    return FormatTimeStampId(moment);
}

QString MakeTimeStampId()
{
    static QMutex mutex;
    static QDateTime last;
    QMutexLocker lock(&mutex);
    return NextTimeStampId(QDateTime::currentDateTime(), &last);
}

QString MakeFileTimeStamp()
{
    return FormatFileTimeStamp(QDateTime::currentDateTime());
}
