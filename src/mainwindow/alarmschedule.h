#ifndef DORVEX_ALARMSCHEDULE_H
#define DORVEX_ALARMSCHEDULE_H

#include <QDateTime>
#include <QTime>

// The arithmetic of aiming a daily alarm, kept apart from the timers so that
// it can be checked at any time of day, midnight included.
class AlarmSchedule
{
public:
    static constexpr int msecsPerDay = 24 * 60 * 60 * 1000;

    // Milliseconds from `now` to the next occurrence of `alarm`: 0 when they
    // are equal, up to one day less one millisecond when `alarm` has just
    // passed. A null alarm time counts as 00:00:00.
    static int msecsUntil(QTime alarm, QTime now);

    // Interval to aim a timer at from `now`, never at the occurrence that
    // fired last (`lastFired`, invalid when none has): a re-aim made before
    // the clock has moved past that occurrence goes on to the next day.
    static qint64 interval(QTime alarm, const QDateTime &now, const QDateTime &lastFired);

    // How long a timer that ran out at `now` must still wait for `alarm`'s
    // second: 0 when the second has come (or passed), otherwise the time
    // left, provided it is less than `tolerance`; a longer time means the
    // timer ran out late for an earlier occurrence, which then is due now.
    static int msecsEarly(QTime alarm, QTime now, int tolerance);

    // The occurrence of `alarm` that has come at `now` (today's, or
    // yesterday's just after midnight).
    static QDateTime occurrenceAt(QTime alarm, const QDateTime &now);
};

#endif
