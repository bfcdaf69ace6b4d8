#ifndef DORVEX_ALARMENGINE_H
#define DORVEX_ALARMENGINE_H

#include "alarmdays.h"

#include <QDateTime>
#include <QObject>
#include <QTime>
#include <QVector>

class Clock;
class QTimer;

// When each of the three alarms rings, and why.
//
// An alarm has a time of day, the days of the week it rings on, and is
// armed or not. It rings once on each of its days (every day unless told
// otherwise), at that wall time in the clock's zone, at the instant
// nextRing() names:
// - a time that a daylight-saving night skips (02:30 when the clocks go
//   from 02:00 to 03:00) rings at the first instant after the gap, 03:00;
// - a time that a night brings twice rings at its first coming only.
// The day is the one of the occurrence's own date. An alarm with no day
// rings at its next coming only, and is switched off then: alarmSpent().
//
// A ring may be snoozed: the alarm rings again, once, at the instant given,
// armed or not, like any occurrence (late after a sleep, never twice).
// The engine looks at the clock whenever an alarm's timer runs out, when
// check() is called (the window does so every minute) and whenever the
// clock says it was set or the computer woke. Each look rings every
// occurrence that came due since the previous look: on time, or late after
// a sleep or a clock step that went over it. Only the latest occurrence of
// each alarm counts, so a long sleep rings nothing more than once.
// - At most twelve hours late it is due: alarmDue(), with how late it is.
// - Later than that it is only reported: alarmMissed().
// Each occurrence is remembered as the instant (UTC) it was due, so that it
// never rings twice, also when the clock is set back over it afterwards (or
// set to another year and back).
//
// An alarm that is armed, or given a new time, while the engine watches
// rings from its next coming on; one whose time has just passed rings
// tomorrow. At start-up the engine is told since when the program last kept
// watch, and rings what came due since (startWatching()).
class AlarmEngine : public QObject
{
    Q_OBJECT

public:
    static constexpr int alarmCount = 3;
    // An occurrence later than this rings no more; it is reported as missed.
    static constexpr qint64 latestRingMs = 12 * 60 * 60 * 1000;

    explicit AlarmEngine(Clock &clock, QObject *parent = nullptr);

    // Sets alarm `index`'s time of day, whether it is armed, and its days; a
    // null time counts as 00:00:00. Re-aims that alarm if anything changed.
    // A new time or days, or switching it off, ends its snooze.
    void setAlarm(int index, QTime time, bool armed, AlarmDays days = AlarmDays());
    QTime alarmTime(int index) const;
    bool isArmed(int index) const;
    AlarmDays alarmDays(int index) const;

    // Rings alarm `index` again at `until` (UTC), in place of any earlier
    // snooze of it.
    void snooze(int index, const QDateTime &until);
    void cancelSnooze(int index);
    // The instant of alarm `index`'s snoozed ring, or invalid when none.
    QDateTime snoozedUntil(int index) const;

    // Begins to watch, as if the program had watched up to `since` (the
    // instant it last kept watch, or invalid when unknown: then from now),
    // and rings at once what came due after it. No alarm rings before. A
    // snooze due before `since` rang then, and is dropped.
    void startWatching(const QDateTime &since);
    // The instant (UTC) up to which every occurrence due has been rung or
    // reported; invalid before startWatching().
    QDateTime watchedUntil() const { return watchedTo; }

    // The instant (UTC) at which alarm `index` rings next, snoozed or not,
    // or an invalid one when it is neither armed nor snoozed. An instant
    // already past means it rings at once.
    QDateTime nextRing(int index) const;
    // The armed alarm that rings soonest (the lower index of two ringing
    // together), or -1 when none is armed.
    int soonestAlarm() const;
    // The latest occurrence (UTC) alarm `index` rang or was reported for,
    // or passed over when armed after it; invalid when none.
    QDateTime lastRung(int index) const;

    // The instant (UTC) of alarm time `time` on the local date `date` in
    // `zone`, with the daylight-saving rules above.
    static QDateTime occurrenceOn(QDate date, QTime time, const QTimeZone &zone);

    // The single-shot timer that wakes the engine for alarm `index`.
    const QTimer *timer(int index) const;

public slots:
    // Looks at the clock now: rings what is due, re-aims every timer.
    void check();

signals:
    // Occurrence `due` (UTC) of alarm `index` rings, `lateMs` after it.
    void alarmDue(int index, const QDateTime &due, qint64 lateMs);
    // Occurrence `due` of alarm `index` passed more than latestRingMs ago.
    void alarmMissed(int index, const QDateTime &due);
    // Alarm `index`, which had no day chosen, rang or was missed, and is
    // switched off; emitted before that ring's alarmDue() or alarmMissed().
    void alarmSpent(int index);
    // What nextRing() or soonestAlarm() answer may have changed.
    void scheduleChanged();

private:
    struct Alarm
    {
        QTime time { 0, 0 };
        bool armed = false;
        AlarmDays days;
        QDateTime snoozedUntil;
        // The occurrences rung, reported or passed over when armed, latest
        // last; a few, for a clock that went away and came back.
        QVector<QDateTime> handled;
        QDateTime aimedAt;
        QTimer *timer = nullptr;

        bool wasHandled(const QDateTime &occurrence) const;
        void handle(const QDateTime &occurrence);
    };

    QDateTime nextRingOf(const Alarm &alarm) const;
    QDateTime nextOccurrenceOf(const Alarm &alarm) const;
    // The latest occurrence of `alarm` on one of its days at or before
    // `instant`.
    QDateTime latestOccurrence(const Alarm &alarm, const QDateTime &instant) const;
    // Aims the alarm's timer at its next ring; true if that ring moved.
    bool aim(Alarm &alarm, const QDateTime &now);
    bool isValidIndex(int index) const { return index >= 0 && index < alarmCount; }

    Clock &clock;
    QVector<Alarm> alarms;
    QDateTime watchedTo;
};

#endif
