#include "nextalarmtext.h"

#include "alarmengine.h"
#include "alarmnotices.h"
#include "clock.h"

#include <QLocale>

static QString withWakeUp(const QString &when, bool wakesComputer)
{
    return wakesComputer ? NextAlarmText::tr("%1, wakes the computer").arg(when) : when;
}

QString NextAlarmText::trayLine(const AlarmEngine &engine, const Clock &clock, bool wakesComputer)
{
    const int soonest = engine.soonestAlarm();
    if (soonest < 0)
        return tr("No alarm armed");
    const QDateTime ring = engine.nextRing(soonest);
    return withWakeUp(tr("Next alarm: %1 at %2, %3")
                          .arg(soonest + 1)
                          .arg(AlarmNotices::wallTime(ring.toTimeZone(clock.timeZone())),
                              timeUntil(clock.now(), ring)),
        wakesComputer);
}

QString NextAlarmText::lampLine(const AlarmEngine &engine, int index, const QString &alarmText,
    const Clock &clock, bool wakesComputer)
{
    const QDateTime ring = engine.nextRing(index);
    if (!ring.isValid())
        return tr("Not armed");
    const QString when
        = withWakeUp(tr("Rings at %1 %2")
                         .arg(AlarmNotices::wallTime(ring.toTimeZone(clock.timeZone())),
                             dayOf(clock.now(), ring, clock.timeZone())),
            wakesComputer);
    return alarmText.isEmpty() ? when : tr("%1: %2").arg(when, alarmText);
}

QString NextAlarmText::timeUntil(const QDateTime &now, const QDateTime &ring)
{
    const qint64 ms = now.msecsTo(ring);
    if (ms <= 0)
        return tr("now");
    const qint64 minutes = (ms + 59999) / 60000;
    if (minutes < 60)
        return tr("in %1 min").arg(minutes);
    return tr("in %1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}

QString NextAlarmText::dayOf(const QDateTime &now, const QDateTime &ring, const QTimeZone &zone)
{
    const QDate ringDay = ring.toTimeZone(zone).date();
    switch (now.toTimeZone(zone).date().daysTo(ringDay)) {
    case 0:
        return tr("today");
    case 1:
        return tr("tomorrow");
    default:
        return tr("on %1").arg(QLocale().dayName(ringDay.dayOfWeek()));
    }
}
