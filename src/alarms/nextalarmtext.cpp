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
    if (const QString snoozed = snoozeLine(engine, soonest, clock); !snoozed.isEmpty())
        return withWakeUp(snoozed, wakesComputer);
    if (const QString days = daysLine(engine, soonest, clock); !days.isEmpty())
        return withWakeUp(
            tr("Next alarm: %1, %2, %3").arg(soonest + 1).arg(days, timeUntil(clock.now(), ring)),
            wakesComputer);
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
    QString when = snoozeLine(engine, index, clock);
    if (when.isEmpty())
        when = daysLine(engine, index, clock);
    if (when.isEmpty())
        when = tr("Rings at %1 %2")
                   .arg(AlarmNotices::wallTime(ring.toTimeZone(clock.timeZone())),
                       dayOf(clock.now(), ring, clock.timeZone()));
    when = withWakeUp(when, wakesComputer);
    return alarmText.isEmpty() ? when : tr("%1: %2").arg(when, alarmText);
}

QString NextAlarmText::snoozeLine(const AlarmEngine &engine, int index, const Clock &clock)
{
    const QDateTime snoozed = engine.snoozedUntil(index);
    if (!snoozed.isValid() || snoozed != engine.nextRing(index))
        return QString();
    return tr("Alarm %1 snoozed until %2")
        .arg(index + 1)
        .arg(AlarmNotices::wallTime(snoozed.toTimeZone(clock.timeZone())));
}

QString NextAlarmText::daysLine(const AlarmEngine &engine, int index, const Clock &clock)
{
    const AlarmDays days = engine.alarmDays(index);
    const QDateTime ring = engine.nextRing(index).toTimeZone(clock.timeZone());
    if (days.isEveryDay() || !ring.isValid())
        return QString();
    const QDateTime alarmTime(ring.date(), engine.alarmTime(index), clock.timeZone());
    return tr("%1 at %2, next %3 %4")
        .arg(days.describe(), AlarmNotices::wallTime(alarmTime),
            QLocale().dayName(ring.date().dayOfWeek(), QLocale::ShortFormat),
            AlarmNotices::wallTime(ring));
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
