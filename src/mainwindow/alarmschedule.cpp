#include "alarmschedule.h"

static QTime orMidnight(QTime time)
{
    return time.isValid() ? time : QTime(0, 0);
}

int AlarmSchedule::msecsUntil(QTime alarm, QTime now)
{
    int msecs = now.msecsTo(orMidnight(alarm));
    if (msecs < 0)
        msecs += msecsPerDay;
    return msecs;
}

qint64 AlarmSchedule::interval(QTime alarm, const QDateTime &now, const QDateTime &lastFired)
{
    qint64 msecs = msecsUntil(alarm, now.time());
    if (lastFired.isValid() && now.addMSecs(msecs) <= lastFired)
        msecs += msecsPerDay;
    return msecs;
}

int AlarmSchedule::msecsEarly(QTime alarm, QTime now, int tolerance)
{
    const int left = msecsUntil(alarm, now);
    return left < tolerance ? left : 0;
}

QDateTime AlarmSchedule::occurrenceAt(QTime alarm, const QDateTime &now)
{
    QDateTime occurrence(now.date(), orMidnight(alarm));
    if (occurrence > now)
        occurrence = occurrence.addDays(-1);
    return occurrence;
}
