#ifndef DORVEX_NEXTALARMTEXT_H
#define DORVEX_NEXTALARMTEXT_H

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QTimeZone>

class AlarmEngine;
class Clock;

// What the tray icon and the lamps tell about the next rings, read off the
// engine at the clock's present, with wall times in the clock's zone.
class NextAlarmText
{
    Q_DECLARE_TR_FUNCTIONS(NextAlarmText)

public:
    // "Next alarm: 2 at 07:30, in 8 h 12 min", "Next alarm: 2, Mon–Fri at
    // 07:30, next Mon 07:30, in 2 d", "Alarm 1 snoozed until 07:40", or "No
    // alarm armed"; with ", wakes the computer" after the time when a wake-up
    // is armed for it.
    static QString trayLine(
        const AlarmEngine &engine, const Clock &clock, bool wakesComputer = false);
    // "Rings at 07:30 tomorrow: Tea is ready", "Mon–Fri at 07:30, next Mon
    // 07:30: Tea is ready", "Alarm 1 snoozed until 07:40: Tea is ready", or
    // "Not armed"; likewise.
    static QString lampLine(const AlarmEngine &engine, int index, const QString &alarmText,
        const Clock &clock, bool wakesComputer = false);
    // "Alarm 1 snoozed until 07:40" when alarm `index` rings next snoozed,
    // otherwise empty.
    static QString snoozeLine(const AlarmEngine &engine, int index, const Clock &clock);

    // "in 8 h 12 min" from `now` to `ring`, a minute begun counted whole, so
    // that it never says less than is left; "now" when `ring` has come.
    static QString timeUntil(const QDateTime &now, const QDateTime &ring);
    // "today", "tomorrow", or "on Friday" (further ahead): the day of `ring`
    // as the wall clock in `zone` shows it, seen from `now`.
    static QString dayOf(const QDateTime &now, const QDateTime &ring, const QTimeZone &zone);

private:
    // "Mon–Fri at 07:30, next Mon 07:30" for an alarm not rung every day,
    // otherwise empty.
    static QString daysLine(const AlarmEngine &engine, int index, const Clock &clock);
};

#endif
