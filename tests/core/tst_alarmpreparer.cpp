#include "alarmengine.h"
#include "alarmpreparer.h"
#include "testclock.h"

#include <QTest>
#include <QTimer>

#include <memory>

// When an alarm is made ready before its ring, on a clock the test moves:
// once, a lead before its second, with one wake-up of its own; discarded and
// prepared anew when its ring moves, and handed to the ring otherwise.
namespace {

constexpr qint64 lead = 4000;
constexpr qint64 minute = 60 * 1000;

struct Action
{
    enum Kind { RunOn, SetAlarm, Disarm, Step, Renew } kind;
    qint64 ms = 0;
    int index = 0;
    QTime time;
};

using Actions = QList<Action>;

Action runOn(qint64 ms)
{
    return { Action::RunOn, ms, 0, {} };
}
Action setAlarm(int index, QTime time)
{
    return { Action::SetAlarm, 0, index, time };
}
Action disarm(int index)
{
    return { Action::Disarm, 0, index, {} };
}
Action step(qint64 ms)
{
    return { Action::Step, ms, 0, {} };
}
Action renew(int index)
{
    return { Action::Renew, 0, index, {} };
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestAlarmPreparer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void preparesALeadBeforeTheRing_data();
    void preparesALeadBeforeTheRing();

private:
    void runTo(qint64 ms);
    QString wall(const QDateTime &instant) const
    {
        return instant.toString(QStringLiteral("HH:mm:ss"));
    }

    std::unique_ptr<TestClock> clock;
    std::unique_ptr<AlarmEngine> engine;
    std::unique_ptr<AlarmPreparer> preparer;
    QStringList events;
    int wakeUps = 0;
};

void TestAlarmPreparer::cleanup()
{
    preparer.reset();
    engine.reset();
    clock.reset();
    events.clear();
    wakeUps = 0;
}

// Lets time run on, firing the engine's and the preparer's timers as they
// come due, and counting the preparer's.
void TestAlarmPreparer::runTo(qint64 ms)
{
    const QDateTime target = clock->now().addMSecs(ms);
    for (;;) {
        const QTimer *soonest = nullptr;
        QList<const QTimer *> timers { preparer->timer() };
        for (int index = 0; index < AlarmEngine::alarmCount; ++index)
            timers << engine->timer(index);
        for (const QTimer *timer : timers) {
            if (timer->isActive()
                && (!soonest || timer->remainingTime() < soonest->remainingTime()))
                soonest = timer;
        }
        if (!soonest || clock->now().addMSecs(soonest->remainingTime()) > target)
            break;
        clock->runOn(qMax(soonest->remainingTime(), 1));
        // The timers count real time, which hardly passes meanwhile: each
        // look re-aims them from the test's clock.
        if (soonest == preparer->timer()) {
            ++wakeUps;
            preparer->check();
            engine->check();
        } else {
            engine->check();
            preparer->check();
        }
    }
    clock->runOn(clock->now().msecsTo(target));
}

void TestAlarmPreparer::preparesALeadBeforeTheRing_data()
{
    QTest::addColumn<QTime>("alarm1");
    QTest::addColumn<QTime>("alarm2");
    QTest::addColumn<Actions>("actions");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("expectedWakeUps");

    // The clock starts at 07:00:00 UTC; a null time leaves the alarm disarmed.
    const QTime none;
    QTest::newRow("once, a lead before its second")
        << QTime(7, 1) << none << Actions { runOn(2 * minute) }
        << QStringList { "07:00:56 prepare 1 for 07:01:00", "07:01:00 ring 1" } << 1;
    QTest::newRow("two at the same second: both, one wake-up")
        << QTime(7, 1) << QTime(7, 1) << Actions { runOn(2 * minute) }
        << QStringList { "07:00:56 prepare 1 for 07:01:00", "07:00:56 prepare 2 for 07:01:00",
               "07:01:00 ring 1", "07:01:00 ring 2" }
        << 1;
    QTest::newRow("within the lead at the start: at once")
        << QTime(7, 0, 2) << none << Actions { runOn(minute) }
        << QStringList { "07:00:00 prepare 1 for 07:00:02", "07:00:02 ring 1" } << 0;
    QTest::newRow("re-timed after preparation: rings at its new second only")
        << QTime(7, 1) << none
        << Actions { runOn(58 * 1000), setAlarm(0, QTime(7, 2)), runOn(2 * minute) }
        << QStringList { "07:00:56 prepare 1 for 07:01:00", "07:00:58 discard 1",
               "07:01:56 prepare 1 for 07:02:00", "07:02:00 ring 1" }
        << 2;
    QTest::newRow("re-timed into the lead: prepared again at once")
        << QTime(7, 1) << none
        << Actions { runOn(57 * 1000), setAlarm(0, QTime(7, 0, 59)), runOn(minute) }
        << QStringList { "07:00:56 prepare 1 for 07:01:00", "07:00:57 discard 1",
               "07:00:57 prepare 1 for 07:00:59", "07:00:59 ring 1" }
        << 1;
    QTest::newRow("disarmed after preparation: discarded, silent")
        << QTime(7, 1) << none << Actions { runOn(58 * 1000), disarm(0), runOn(minute) }
        << QStringList { "07:00:56 prepare 1 for 07:01:00", "07:00:58 discard 1" } << 1;
    QTest::newRow("clock set past the second: rung late, not discarded")
        << QTime(7, 1) << none << Actions { runOn(58 * 1000), step(minute) }
        << QStringList { "07:00:56 prepare 1 for 07:01:00", "07:01:58 ring 1" } << 1;
    QTest::newRow("its text changed: made again")
        << QTime(7, 1) << QTime(7, 3) << Actions { runOn(58 * 1000), renew(0), renew(1) }
        << QStringList { "07:00:56 prepare 1 for 07:01:00", "07:00:58 discard 1",
               "07:00:58 prepare 1 for 07:01:00" }
        << 1;
}

void TestAlarmPreparer::preparesALeadBeforeTheRing()
{
    QFETCH(QTime, alarm1);
    QFETCH(QTime, alarm2);
    QFETCH(Actions, actions);
    QFETCH(QStringList, expected);
    QFETCH(int, expectedWakeUps);

    clock = std::make_unique<TestClock>(QDateTime(QDate(2027, 3, 1), QTime(7, 0), Qt::UTC));
    engine = std::make_unique<AlarmEngine>(*clock);
    engine->setAlarm(0, alarm1, alarm1.isValid());
    engine->setAlarm(1, alarm2, alarm2.isValid());
    engine->startWatching(QDateTime());
    preparer = std::make_unique<AlarmPreparer>(*engine, *clock, lead);
    connect(preparer.get(), &AlarmPreparer::prepare, this, [this](int index, const QDateTime &due) {
        QCOMPARE(preparer->preparedFor(index), due);
        events << QStringLiteral("%1 prepare %2 for %3")
                      .arg(wall(clock->now()))
                      .arg(index + 1)
                      .arg(wall(due));
    });
    connect(preparer.get(), &AlarmPreparer::discard, this, [this](int index) {
        events << QStringLiteral("%1 discard %2").arg(wall(clock->now())).arg(index + 1);
    });
    connect(engine.get(), &AlarmEngine::alarmDue, this, [this](int index) {
        events << QStringLiteral("%1 ring %2").arg(wall(clock->now())).arg(index + 1);
    });
    preparer->check();

    for (const Action &action : actions) {
        switch (action.kind) {
        case Action::RunOn:
            runTo(action.ms);
            break;
        case Action::SetAlarm:
            engine->setAlarm(action.index, action.time, true);
            break;
        case Action::Disarm:
            engine->setAlarm(action.index, engine->alarmTime(action.index), false);
            break;
        case Action::Step:
            clock->step(action.ms);
            break;
        case Action::Renew:
            preparer->renew(action.index);
            break;
        }
    }
    QCOMPARE(events, expected);
    QCOMPARE(wakeUps, expectedWakeUps);
    // What rang was handed over, not kept.
    for (int index = 0; index < AlarmEngine::alarmCount; ++index) {
        const QDateTime prepared = preparer->preparedFor(index);
        QVERIFY(!prepared.isValid() || prepared == engine->nextRing(index));
    }
}

QTEST_GUILESS_MAIN(TestAlarmPreparer)
#include "tst_alarmpreparer.moc"
