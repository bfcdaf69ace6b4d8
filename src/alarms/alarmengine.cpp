#include "alarmengine.h"

#include "clock.h"

#include <QLoggingCategory>
#include <QTimeZone>
#include <QTimer>

#include <climits>

// "dorvex.alarms.info=true" in QT_LOGGING_RULES tells every ring and clock change.
Q_LOGGING_CATEGORY(alarmLog, "dorvex.alarms", QtWarningMsg)

namespace {

constexpr qint64 msecsPerDay = 24 * 60 * 60 * 1000;
// Enough for today's occurrence to be known again after the clock went to
// another year, rang there, and came back.
constexpr int handledKept = 4;
// Far enough back and ahead to find an occurrence on an alarm's one day
// of the week, whatever daylight-saving night lies between.
constexpr int daysSearched = 8;

} // namespace

AlarmEngine::AlarmEngine(Clock &clock, QObject *parent)
    : QObject(parent)
    , clock(clock)
    , alarms(alarmCount)
{
    for (Alarm &alarm : alarms) {
        alarm.timer = new QTimer(this);
        alarm.timer->setSingleShot(true);
        // A coarse timer may run out a little early; an alarm must not.
        alarm.timer->setTimerType(Qt::PreciseTimer);
        connect(alarm.timer, &QTimer::timeout, this, &AlarmEngine::check);
    }
    connect(&clock, &Clock::changed, this, [this](Clock::Change change) {
        qCInfo(alarmLog, "clock %s, now %s",
            change == Clock::Change::Resumed ? "resumed" : "stepped",
            qPrintable(this->clock.now().toString(Qt::ISODateWithMs)));
        check();
    });
}

void AlarmEngine::setAlarm(int index, QTime time, bool armed, AlarmDays days)
{
    if (!isValidIndex(index))
        return;
    Alarm &alarm = alarms[index];
    if (!time.isValid())
        time = QTime(0, 0);
    if (alarm.time == time && alarm.armed == armed && alarm.days == days)
        return;
    if (alarm.time != time || alarm.days != days || (alarm.armed && !armed))
        alarm.snoozedUntil = QDateTime();
    alarm.time = time;
    alarm.armed = armed;
    alarm.days = days;
    if (!watchedTo.isValid())
        return;
    // Newly armed or moved: an occurrence that has just passed is not late,
    // it is tomorrow's turn.
    const QDateTime now = clock.now();
    if (armed)
        alarm.handle(latestOccurrence(alarm, now.addMSecs(-1)));
    aim(alarm, now);
    emit scheduleChanged();
}

QTime AlarmEngine::alarmTime(int index) const
{
    return isValidIndex(index) ? alarms[index].time : QTime();
}

bool AlarmEngine::isArmed(int index) const
{
    return isValidIndex(index) && alarms[index].armed;
}

AlarmDays AlarmEngine::alarmDays(int index) const
{
    return isValidIndex(index) ? alarms[index].days : AlarmDays();
}

void AlarmEngine::snooze(int index, const QDateTime &until)
{
    if (!isValidIndex(index) || !until.isValid())
        return;
    Alarm &alarm = alarms[index];
    alarm.snoozedUntil = until.toUTC();
    if (watchedTo.isValid() && aim(alarm, clock.now()))
        emit scheduleChanged();
}

void AlarmEngine::cancelSnooze(int index)
{
    if (!isValidIndex(index) || !alarms[index].snoozedUntil.isValid())
        return;
    Alarm &alarm = alarms[index];
    alarm.snoozedUntil = QDateTime();
    if (watchedTo.isValid() && aim(alarm, clock.now()))
        emit scheduleChanged();
}

QDateTime AlarmEngine::snoozedUntil(int index) const
{
    return isValidIndex(index) ? alarms[index].snoozedUntil : QDateTime();
}

void AlarmEngine::startWatching(const QDateTime &since)
{
    const QDateTime now = clock.now();
    // A watch that seems to end in the future was kept on a clock since set back.
    watchedTo = since.isValid() && since < now ? since.toUTC() : now;
    // The last watch rang everything due up to its very end: an occurrence
    // due at that millisecond rang then. Without one, an occurrence due
    // now is this watch's to ring.
    const QDateTime rungUpTo = since.isValid() && since < now ? watchedTo : now.addMSecs(-1);
    for (Alarm &alarm : alarms) {
        if (alarm.armed)
            alarm.handle(latestOccurrence(alarm, rungUpTo));
        if (alarm.snoozedUntil.isValid() && alarm.snoozedUntil <= rungUpTo)
            alarm.snoozedUntil = QDateTime();
    }
    check();
}

QDateTime AlarmEngine::nextRing(int index) const
{
    return isValidIndex(index) ? nextRingOf(alarms[index]) : QDateTime();
}

QDateTime AlarmEngine::nextRingOf(const Alarm &alarm) const
{
    const QDateTime occurrence = nextOccurrenceOf(alarm);
    if (!alarm.snoozedUntil.isValid())
        return occurrence;
    return occurrence.isValid() ? qMin(occurrence, alarm.snoozedUntil) : alarm.snoozedUntil;
}

QDateTime AlarmEngine::nextOccurrenceOf(const Alarm &alarm) const
{
    if (!alarm.armed)
        return QDateTime();
    const QDateTime from = watchedTo.isValid() ? watchedTo : clock.now();
    const QTimeZone zone = clock.timeZone();
    const QDate today = from.toTimeZone(zone).date();
    for (int day = -1; day <= daysSearched; ++day) {
        const QDate date = today.addDays(day);
        if (!alarm.days.ringsOn(date))
            continue;
        const QDateTime occurrence = occurrenceOn(date, alarm.time, zone);
        if (occurrence >= from && !alarm.wasHandled(occurrence))
            return occurrence;
    }
    return QDateTime();
}

int AlarmEngine::soonestAlarm() const
{
    int soonest = -1;
    for (int index = 0; index < alarmCount; ++index) {
        const QDateTime ring = nextRing(index);
        if (ring.isValid() && (soonest < 0 || ring < nextRing(soonest)))
            soonest = index;
    }
    return soonest;
}

QDateTime AlarmEngine::lastRung(int index) const
{
    return isValidIndex(index) && !alarms[index].handled.isEmpty() ? alarms[index].handled.last()
                                                                   : QDateTime();
}

const QTimer *AlarmEngine::timer(int index) const
{
    return isValidIndex(index) ? alarms[index].timer : nullptr;
}

QDateTime AlarmEngine::occurrenceOn(QDate date, QTime time, const QTimeZone &zone)
{
    // The wall time written as if it were UTC: each offset the zone uses
    // around that day turns it into a candidate instant, which is real if
    // the zone has that very offset then.
    const qint64 wallMs = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    QDateTime first;
    int largestOffsetSecs = INT_MIN;
    for (const qint64 probeMs : { wallMs - msecsPerDay, wallMs, wallMs + msecsPerDay }) {
        const int offsetSecs = zone.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(probeMs, Qt::UTC));
        largestOffsetSecs = qMax(largestOffsetSecs, offsetSecs);
        const QDateTime candidate
            = QDateTime::fromMSecsSinceEpoch(wallMs - offsetSecs * qint64(1000), Qt::UTC);
        // Twice in an autumn night: the first of the two.
        if (zone.offsetFromUtc(candidate) == offsetSecs && (!first.isValid() || candidate < first))
            first = candidate;
    }
    if (first.isValid())
        return first;
    // Skipped by a spring night: the clocks jump at the transition, which is
    // the first instant after the gap.
    const QDateTime beforeGap
        = QDateTime::fromMSecsSinceEpoch(wallMs - largestOffsetSecs * qint64(1000), Qt::UTC);
    return zone.nextTransition(beforeGap).atUtc.toUTC();
}

QDateTime AlarmEngine::latestOccurrence(const Alarm &alarm, const QDateTime &instant) const
{
    const QTimeZone zone = clock.timeZone();
    const QDate date = instant.toTimeZone(zone).date();
    for (int day = 0; day >= -daysSearched; --day) {
        if (!alarm.days.ringsOn(date.addDays(day)))
            continue;
        const QDateTime occurrence = occurrenceOn(date.addDays(day), alarm.time, zone);
        if (occurrence <= instant)
            return occurrence;
    }
    return QDateTime();
}

void AlarmEngine::check()
{
    if (!watchedTo.isValid())
        return;
    const QDateTime now = clock.now();
    // Tells when a clock that was set reached the engine.
    qCDebug(alarmLog, "looks at the clock at %s", qPrintable(now.toString(Qt::ISODateWithMs)));
    struct Ring
    {
        int index;
        QDateTime due;
        qint64 lateMs;
    };
    QVector<Ring> rings;
    QVector<int> spent;
    for (int index = 0; index < alarmCount; ++index) {
        Alarm &alarm = alarms[index];
        const QDateTime snoozed = alarm.snoozedUntil;
        if (snoozed.isValid() && snoozed <= now)
            alarm.snoozedUntil = QDateTime();
        const QDateTime due = alarm.armed ? latestOccurrence(alarm, now) : QDateTime();
        if (due.isValid() && due >= watchedTo && !alarm.wasHandled(due)) {
            alarm.handle(due);
            rings.append({ index, due, due.msecsTo(now) });
            if (alarm.days.isOnce()) {
                alarm.armed = false;
                spent.append(index);
            }
        } else if (snoozed.isValid() && snoozed <= now) {
            // An occurrence due in the same look stands for its snooze.
            rings.append({ index, snoozed, snoozed.msecsTo(now) });
        }
    }
    // Set back, the clock is followed back: what comes due again is rung
    // again, unless it is the very occurrence that rang.
    watchedTo = now;
    bool rescheduled = false;
    for (Alarm &alarm : alarms)
        rescheduled |= aim(alarm, now);
    if (rescheduled)
        emit scheduleChanged();

    // Everything above is settled first: a receiver may run an event loop
    // in which the engine looks again.
    for (const int index : spent)
        emit alarmSpent(index);
    for (const Ring &ring : rings) {
        qCInfo(alarmLog, "alarm %d due %s rings %lld ms late", ring.index + 1,
            qPrintable(ring.due.toString(Qt::ISODateWithMs)), ring.lateMs);
        if (ring.lateMs > latestRingMs)
            emit alarmMissed(ring.index, ring.due);
        else
            emit alarmDue(ring.index, ring.due, ring.lateMs);
    }
}

bool AlarmEngine::aim(Alarm &alarm, const QDateTime &now)
{
    const QDateTime previous = alarm.aimedAt;
    alarm.aimedAt = nextRingOf(alarm);
    if (alarm.aimedAt.isValid())
        alarm.timer->start(int(qBound(qint64(0), now.msecsTo(alarm.aimedAt), qint64(INT_MAX))));
    else
        alarm.timer->stop();
    return alarm.aimedAt != previous;
}

bool AlarmEngine::Alarm::wasHandled(const QDateTime &occurrence) const
{
    return handled.contains(occurrence);
}

void AlarmEngine::Alarm::handle(const QDateTime &occurrence)
{
    if (wasHandled(occurrence))
        return;
    handled.append(occurrence);
    if (handled.size() > handledKept)
        handled.removeFirst();
}
