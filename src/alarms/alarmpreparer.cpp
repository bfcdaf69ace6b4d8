#include "alarmpreparer.h"

#include "alarmengine.h"
#include "clock.h"

#include <QTimer>

#include <climits>

AlarmPreparer::AlarmPreparer(AlarmEngine &engine, Clock &clock, qint64 leadMs, QObject *parent)
    : QObject(parent)
    , engine(engine)
    , clock(clock)
    , leadMs(leadMs)
    , wakeUp(new QTimer(this))
    , prepared(AlarmEngine::alarmCount)
{
    wakeUp->setSingleShot(true);
    // A coarse timer may run out a little early, and then wake once more.
    wakeUp->setTimerType(Qt::PreciseTimer);
    connect(wakeUp, &QTimer::timeout, this, &AlarmPreparer::check);
    connect(&engine, &AlarmEngine::scheduleChanged, this, &AlarmPreparer::check);
    connect(&clock, &Clock::changed, this, &AlarmPreparer::check);
}

QDateTime AlarmPreparer::preparedFor(int index) const
{
    return index >= 0 && index < prepared.size() ? prepared[index] : QDateTime();
}

void AlarmPreparer::renew(int index)
{
    if (!preparedFor(index).isValid())
        return;
    prepared[index] = QDateTime();
    emit discard(index);
    check();
}

void AlarmPreparer::renewAll()
{
    for (int index = 0; index < prepared.size(); ++index)
        renew(index);
}

void AlarmPreparer::check()
{
    const QDateTime now = clock.now();
    for (int index = 0; index < prepared.size(); ++index) {
        const QDateTime ring = engine.nextRing(index);
        if (prepared[index].isValid() && prepared[index] != ring) {
            const bool rang = engine.lastRung(index) == prepared[index];
            prepared[index] = QDateTime();
            if (!rang)
                emit discard(index);
        }
        if (!prepared[index].isValid() && ring.isValid() && now < ring
            && now.msecsTo(ring) <= leadMs) {
            prepared[index] = ring;
            emit prepare(index, ring);
        }
    }
    aim(now);
}

void AlarmPreparer::aim(const QDateTime &now)
{
    qint64 soonest = -1;
    for (int index = 0; index < prepared.size(); ++index) {
        const QDateTime ring = engine.nextRing(index);
        if (prepared[index].isValid() || !ring.isValid() || now.msecsTo(ring) <= leadMs)
            continue;
        const qint64 wait = now.msecsTo(ring) - leadMs;
        if (soonest < 0 || wait < soonest)
            soonest = wait;
    }
    if (soonest < 0)
        wakeUp->stop();
    else
        wakeUp->start(int(qMin(soonest, qint64(INT_MAX))));
}
