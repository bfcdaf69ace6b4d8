#include "alarmengine.h"
#include "testclock.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

// When the engine rings each alarm, on a clock the test moves: time that
// runs on (the engine's own timers fire), sleeps and clock steps (the clock
// tells the engine), daylight-saving nights, and a start after a pause.
namespace {

constexpr qint64 minute = 60 * 1000;
constexpr qint64 hour = 60 * minute;
constexpr qint64 day = 24 * hour;

struct Move
{
    // Snooze: alarm 1 rings again `ms` from now. Restart: the program is
    // off for `ms` and starts again from what it kept. DisableAll: every
    // alarm is switched off.
    enum Kind { RunOn, Sleep, Step, StepTo, Snooze, Restart, DisableAll } kind;
    qint64 ms = 0;
    // For StepTo: the wall time the clock is set to.
    const char *wallTime = nullptr;
};

// An alarm time per alarm; a null time leaves that alarm disarmed.
using Alarms = QList<QTime>;
using Moves = QList<Move>;

QDateTime at(const QByteArray &zone, const QString &wallTime)
{
    const QDateTime wall = QDateTime::fromString(wallTime, Qt::ISODate);
    return QDateTime(wall.date(), wall.time(), QTimeZone(zone)).toUTC();
}

} // namespace

class TestAlarmEngine : public QObject
{
    Q_OBJECT

private slots:
    void init() { rings.clear(); }
    void cleanup();

    void ringsOnceAtItsWallTime_data();
    void ringsOnceAtItsWallTime();
    void ringsWhatCameDueSinceTheLastWatch_data();
    void ringsWhatCameDueSinceTheLastWatch();
    void armedNowAimsAtItsNextSecond_data();
    void armedNowAimsAtItsNextSecond();
    void aTimeMovedAfterItsRingIsANewOccurrence();
    void timerRunningOutEarlyWaitsForTheSecond();
    void soonestAlarmAndScheduleChanges();
    void ringsOnItsDaysAndWhenSnoozed_data();
    void ringsOnItsDaysAndWhenSnoozed();

private:
    void start(const QByteArray &zone, const QDateTime &now, const Alarms &alarms,
        const QDateTime &watchedUntil = QDateTime(), AlarmDays firstDays = AlarmDays());
    void launch(const Alarms &alarms, AlarmDays firstDays, const QDateTime &watchedUntil,
        const QDateTime &firstSnoozedUntil);
    // A new engine over what the last one kept, as the program after it
    // was off for `offMs`.
    void restart(qint64 offMs);
    // Lets time run on, firing the engine's timers as they come due.
    void runOn(qint64 ms);
    void move(const Move &move);

    std::unique_ptr<TestClock> clock;
    std::unique_ptr<AlarmEngine> engine;
    // Every ring and miss, as the wall clock showed its due time.
    QStringList rings;
};

void TestAlarmEngine::cleanup()
{
    engine.reset();
    clock.reset();
}

void TestAlarmEngine::start(const QByteArray &zone, const QDateTime &now, const Alarms &alarms,
    const QDateTime &watchedUntil, AlarmDays firstDays)
{
    clock = std::make_unique<TestClock>(now, QTimeZone(zone));
    launch(alarms, firstDays, watchedUntil, QDateTime());
}

void TestAlarmEngine::launch(const Alarms &alarms, AlarmDays firstDays,
    const QDateTime &watchedUntil, const QDateTime &firstSnoozedUntil)
{
    engine = std::make_unique<AlarmEngine>(*clock);
    const auto wall = [this](const QDateTime &due) {
        return due.toTimeZone(clock->timeZone()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"));
    };
    connect(engine.get(), &AlarmEngine::alarmDue, this,
        [this, wall](int index, const QDateTime &due, qint64 lateMs) {
            QCOMPARE(due.msecsTo(clock->now()), lateMs);
            rings
                << QStringLiteral("%1 at %2 +%3s").arg(index + 1).arg(wall(due)).arg(lateMs / 1000);
        });
    connect(engine.get(), &AlarmEngine::alarmMissed, this,
        [this, wall](int index, const QDateTime &due) {
            rings << QStringLiteral("%1 missed %2").arg(index + 1).arg(wall(due));
        });
    connect(engine.get(), &AlarmEngine::alarmSpent, this,
        [this](int index) { rings << QStringLiteral("%1 off").arg(index + 1); });
    for (int index = 0; index < alarms.size(); ++index)
        engine->setAlarm(
            index, alarms[index], alarms[index].isValid(), index == 0 ? firstDays : AlarmDays());
    engine->snooze(0, firstSnoozedUntil);
    engine->startWatching(watchedUntil);
}

void TestAlarmEngine::restart(qint64 offMs)
{
    Alarms alarms;
    for (int index = 0; index < AlarmEngine::alarmCount; ++index)
        alarms << (engine->isArmed(index) ? engine->alarmTime(index) : QTime());
    const AlarmDays days = engine->alarmDays(0);
    const QDateTime watchedUntil = engine->watchedUntil();
    const QDateTime snoozedUntil = engine->snoozedUntil(0);
    engine.reset();
    clock->runOn(offMs);
    launch(alarms, days, watchedUntil, snoozedUntil);
}

void TestAlarmEngine::runOn(qint64 ms)
{
    const QDateTime target = clock->now().addMSecs(ms);
    for (;;) {
        // The timers count real time, which hardly passes meanwhile.
        qint64 soonest = -1;
        for (int index = 0; index < AlarmEngine::alarmCount; ++index) {
            const QTimer *timer = engine->timer(index);
            if (timer->isActive() && (soonest < 0 || timer->remainingTime() < soonest))
                soonest = timer->remainingTime();
        }
        if (soonest < 0 || clock->now().addMSecs(soonest) > target)
            break;
        // An event loop runs a timer out at least a millisecond on.
        clock->runOn(qMax<qint64>(soonest, 1));
        engine->check();
    }
    clock->runOn(clock->now().msecsTo(target));
}

void TestAlarmEngine::move(const Move &move)
{
    switch (move.kind) {
    case Move::RunOn:
        runOn(move.ms);
        break;
    case Move::Sleep:
        clock->sleep(move.ms);
        break;
    case Move::Step:
        clock->step(move.ms);
        break;
    case Move::StepTo:
        clock->stepTo(at(clock->timeZone().id(), QLatin1String(move.wallTime)));
        break;
    case Move::Snooze:
        engine->snooze(0, clock->now().addMSecs(move.ms));
        break;
    case Move::Restart:
        restart(move.ms);
        break;
    case Move::DisableAll:
        for (int index = 0; index < AlarmEngine::alarmCount; ++index)
            engine->setAlarm(index, engine->alarmTime(index), false, engine->alarmDays(index));
        break;
    }
}

void TestAlarmEngine::ringsOnceAtItsWallTime_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("startAt");
    QTest::addColumn<Alarms>("alarms");
    QTest::addColumn<Moves>("moves");
    QTest::addColumn<QStringList>("expected");

    const QByteArray berlin = "Europe/Berlin";
    const QByteArray sydney = "Australia/Sydney";
    const QString morning = QStringLiteral("2027-01-12T06:59:00");
    const Alarms seven { QTime(7, 0) };
    const Move nextDay { Move::RunOn, day + 2 * hour };
    const QString nextDayOnTime = QStringLiteral("1 at 2027-01-13 07:00:00 CET +0s");

    QTest::newRow("on time, and the next day")
        << berlin << morning << seven << Moves { nextDay }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +0s", nextDayOnTime };
    QTest::newRow("sleep of 10 min across it")
        << berlin << morning << seven << Moves { { Move::Sleep, 10 * minute }, nextDay }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +540s", nextDayOnTime };
    QTest::newRow("sleep of 5 h across it")
        << berlin << morning << seven << Moves { { Move::Sleep, 5 * hour }, nextDay }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +17940s", nextDayOnTime };
    QTest::newRow("sleep of 13 h across it: missed")
        << berlin << morning << seven << Moves { { Move::Sleep, 13 * hour }, nextDay }
        << QStringList { "1 missed 2027-01-12 07:00:00 CET", nextDayOnTime };
    QTest::newRow("sleep of 3 days: missed once")
        << berlin << morning << seven << Moves { { Move::Sleep, 3 * day + 13 * hour }, nextDay }
        << QStringList { "1 missed 2027-01-15 07:00:00 CET", "1 at 2027-01-16 07:00:00 CET +0s" };
    QTest::newRow("clock stepped 3 min over it")
        << berlin << morning << seven << Moves { { Move::Step, 3 * minute }, nextDay }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +120s", nextDayOnTime };
    QTest::newRow("clock stepped 3 min back before it")
        << berlin << morning << seven << Moves { { Move::Step, -3 * minute }, nextDay }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +0s", nextDayOnTime };
    QTest::newRow("clock set back 10 min after the ring")
        << berlin << morning << seven
        << Moves { { Move::RunOn, 6 * minute }, { Move::Step, -10 * minute }, nextDay }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +0s", nextDayOnTime };
    QTest::newRow("clock set back 1 h before it")
        << berlin << QStringLiteral("2027-01-12T06:50:00") << seven
        << Moves { { Move::Step, -hour }, nextDay }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +0s", nextDayOnTime };
    QTest::newRow("midnight") << berlin << QStringLiteral("2027-01-12T23:59:59")
                              << Alarms { QTime(0, 0) } << Moves { nextDay }
                              << QStringList { "1 at 2027-01-13 00:00:00 CET +0s",
                                     "1 at 2027-01-14 00:00:00 CET +0s" };
    QTest::newRow("all three in the same second")
        << berlin << morning << Alarms { QTime(7, 0), QTime(7, 0), QTime(7, 0) }
        << Moves { { Move::RunOn, 2 * minute } }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +0s", "2 at 2027-01-12 07:00:00 CET +0s",
               "3 at 2027-01-12 07:00:00 CET +0s" };
    QTest::newRow("two after one sleep, the disarmed one not")
        << berlin << morning << Alarms { QTime(7, 0), QTime(), QTime(7, 1) }
        << Moves { { Move::Sleep, 3 * minute } }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +120s",
               "3 at 2027-01-12 07:01:00 CET +60s" };

    // A spring night skips 02:00 to 03:00; an autumn night has 02:00 to
    // 03:00 twice, first in summer time.
    const Alarms halfPastTwo { QTime(2, 30) };
    QTest::newRow("Berlin spring gap: at the gap's end")
        << berlin << QStringLiteral("2027-03-28T01:59:00") << halfPastTwo << Moves { nextDay }
        << QStringList { "1 at 2027-03-28 03:00:00 CEST +0s", "1 at 2027-03-29 02:30:00 CEST +0s" };
    QTest::newRow("Berlin autumn overlap: the first only")
        << berlin << QStringLiteral("2027-10-31T01:59:00") << halfPastTwo << Moves { nextDay }
        << QStringList { "1 at 2027-10-31 02:30:00 CEST +0s", "1 at 2027-11-01 02:30:00 CET +0s" };
    QTest::newRow("Sydney spring gap")
        << sydney << QStringLiteral("2027-10-03T01:59:00") << halfPastTwo << Moves { nextDay }
        << QStringList { "1 at 2027-10-03 03:00:00 AEDT +0s", "1 at 2027-10-04 02:30:00 AEDT +0s" };
    QTest::newRow("Sydney autumn overlap")
        << sydney << QStringLiteral("2027-04-04T01:59:00") << halfPastTwo << Moves { nextDay }
        << QStringList { "1 at 2027-04-04 02:30:00 AEDT +0s", "1 at 2027-04-05 02:30:00 AEST +0s" };

    // To the clock's far ends and back: nothing rings twice, nothing is lost.
    const QString beforeSeven = QStringLiteral("2027-01-12T06:50:00");
    QTest::newRow("clock set to 1970 and back")
        << berlin << beforeSeven << seven
        << Moves { { Move::StepTo, 0, "1970-01-01T12:00:00" }, { Move::RunOn, minute },
               { Move::StepTo, 0, "2027-01-12T06:51:00" }, nextDay }
        << QStringList { "1 at 2027-01-12 07:00:00 CET +0s", nextDayOnTime };
    QTest::newRow("clock set to 2099 and back")
        << berlin << beforeSeven << seven
        << Moves { { Move::StepTo, 0, "2099-06-01T12:00:00" }, { Move::RunOn, minute },
               { Move::StepTo, 0, "2027-01-12T06:51:00" }, nextDay }
        << QStringList { "1 at 2099-06-01 07:00:00 CEST +18000s",
               "1 at 2027-01-12 07:00:00 CET +0s", nextDayOnTime };
}

void TestAlarmEngine::ringsOnceAtItsWallTime()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, startAt);
    QFETCH(Alarms, alarms);
    QFETCH(Moves, moves);
    QFETCH(QStringList, expected);
    start(zone, at(zone, startAt), alarms);
    for (const Move &step : moves)
        move(step);
    QCOMPARE(rings, expected);
}

void TestAlarmEngine::ringsWhatCameDueSinceTheLastWatch_data()
{
    QTest::addColumn<QString>("watchedUntil");
    QTest::addColumn<QTime>("alarm");
    QTest::addColumn<QStringList>("expected");

    // Started at 09:00.
    QTest::newRow("never watched: nothing") << QString() << QTime(7, 0) << QStringList {};
    QTest::newRow("off since 06:00: late") << "2027-01-12T06:00:00" << QTime(7, 0)
                                           << QStringList { "1 at 2027-01-12 07:00:00 CET +7200s" };
    QTest::newRow("off since the very millisecond it rang: not again")
        << "2027-01-12T07:00:00" << QTime(7, 0) << QStringList {};
    QTest::newRow("off since 08:00: it rang before")
        << "2027-01-12T08:00:00" << QTime(7, 0) << QStringList {};
    QTest::newRow("off since yesterday, due 13 h ago: missed")
        << "2027-01-11T18:00:00" << QTime(20, 0)
        << QStringList { "1 missed 2027-01-11 20:00:00 CET" };
    QTest::newRow("watched until a time still to come: the clock was set back")
        << "2027-01-12T10:00:00" << QTime(7, 0) << QStringList {};
}

void TestAlarmEngine::ringsWhatCameDueSinceTheLastWatch()
{
    QFETCH(QString, watchedUntil);
    QFETCH(QTime, alarm);
    QFETCH(QStringList, expected);
    const QByteArray berlin = "Europe/Berlin";
    start(berlin, at(berlin, "2027-01-12T09:00:00"), Alarms { alarm },
        watchedUntil.isEmpty() ? QDateTime() : at(berlin, watchedUntil));
    QCOMPARE(rings, expected);
    // Whatever happened at start, the next day rings on time, once.
    rings.clear();
    runOn(day + 2 * hour);
    QCOMPARE(rings.size(), 1);
    // What is kept for the next start has moved past the ring.
    QVERIFY(engine->watchedUntil() >= engine->lastRung(0));
}

void TestAlarmEngine::armedNowAimsAtItsNextSecond_data()
{
    QTest::addColumn<QTime>("alarm");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<qint64>("wait");

    QTest::newRow("now exactly: at once") << QTime(7, 0) << QTime(7, 0) << qint64(0);
    QTest::newRow("1 ms past: tomorrow") << QTime(7, 0) << QTime(7, 0, 0, 1) << day - 1;
    QTest::newRow("1 ms ahead") << QTime(7, 0) << QTime(6, 59, 59, 999) << qint64(1);
    QTest::newRow("later today") << QTime(18, 30) << QTime(8, 0) << (10 * 60 + 30) * minute;
    QTest::newRow("midnight from just before")
        << QTime(0, 0) << QTime(23, 59, 59, 500) << qint64(500);
    QTest::newRow("just before midnight from just after")
        << QTime(23, 59, 59) << QTime(0, 0, 0, 1) << day - 1001;
    QTest::newRow("null time counts as midnight") << QTime() << QTime(23, 0) << hour;
}

void TestAlarmEngine::armedNowAimsAtItsNextSecond()
{
    QFETCH(QTime, alarm);
    QFETCH(QTime, now);
    QFETCH(qint64, wait);
    start("UTC", QDateTime(QDate(2027, 1, 12), now, Qt::UTC), Alarms {});
    QSignalSpy changes(engine.get(), &AlarmEngine::scheduleChanged);
    engine->setAlarm(0, alarm, true);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(clock->now().msecsTo(engine->nextRing(0)), wait);
    QCOMPARE(engine->timer(0)->interval(), int(wait));
    QVERIFY(engine->timer(0)->isActive());
    QCOMPARE(engine->timer(0)->timerType(), Qt::PreciseTimer);
}

void TestAlarmEngine::aTimeMovedAfterItsRingIsANewOccurrence()
{
    start("UTC", at("UTC", "2027-01-12T06:59:00"), Alarms { QTime(7, 0) });
    runOn(minute + 1000);
    engine->setAlarm(0, QTime(7, 5), true);
    runOn(5 * minute);
    // Back to the time that rang today: tomorrow, not again now.
    engine->setAlarm(0, QTime(7, 0), true);
    QCOMPARE(engine->nextRing(0), at("UTC", "2027-01-13T07:00:00"));
    engine->check();
    QCOMPARE(rings,
        QStringList({ "1 at 2027-01-12 07:00:00 UTC +0s", "1 at 2027-01-12 07:05:00 UTC +0s" }));
}

void TestAlarmEngine::timerRunningOutEarlyWaitsForTheSecond()
{
    start("UTC", at("UTC", "2027-01-12T06:59:00"), Alarms { QTime(7, 0) });
    // The wall clock lags the timer's steady one by 200 ms.
    clock->runOn(minute - 200);
    engine->check();
    QVERIFY(rings.isEmpty());
    QCOMPARE(engine->timer(0)->interval(), 200);
    runOn(200);
    QCOMPARE(rings, QStringList { "1 at 2027-01-12 07:00:00 UTC +0s" });
}

void TestAlarmEngine::soonestAlarmAndScheduleChanges()
{
    start("UTC", at("UTC", "2027-01-12T06:00:00"), Alarms { QTime(8, 0), QTime(7, 30), QTime() });
    QCOMPARE(engine->soonestAlarm(), 1);
    QVERIFY(!engine->nextRing(2).isValid());
    QVERIFY(!engine->timer(2)->isActive());

    QSignalSpy changes(engine.get(), &AlarmEngine::scheduleChanged);
    engine->setAlarm(0, QTime(8, 0), true);
    QCOMPARE(changes.size(), 0);
    runOn(hour + 30 * minute);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(engine->soonestAlarm(), 0);
    QCOMPARE(engine->lastRung(1), at("UTC", "2027-01-12T07:30:00"));
    QCOMPARE(engine->nextRing(1), at("UTC", "2027-01-13T07:30:00"));

    // Set back an hour, no ring moves; set back two days, every ring does.
    clock->step(-hour);
    QCOMPARE(changes.size(), 1);
    clock->step(-2 * day);
    QCOMPARE(changes.size(), 2);
    QCOMPARE(engine->nextRing(0), at("UTC", "2027-01-10T08:00:00"));

    engine->setAlarm(0, QTime(8, 0), false);
    engine->setAlarm(1, QTime(7, 30), false);
    QCOMPARE(changes.size(), 4);
    QCOMPARE(engine->soonestAlarm(), -1);
}

void TestAlarmEngine::ringsOnItsDaysAndWhenSnoozed_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("startAt");
    QTest::addColumn<Alarms>("alarms");
    QTest::addColumn<QString>("firstDays");
    QTest::addColumn<Moves>("moves");
    QTest::addColumn<QStringList>("expected");

    const QByteArray berlin = "Europe/Berlin";
    const QByteArray sydney = "Australia/Sydney";
    const Alarms seven { QTime(7, 0) };
    const Alarms halfPastTwo { QTime(2, 30) };
    const QString everyDay = QStringLiteral("1234567");
    const QString friday = QStringLiteral("2027-01-15T06:59:00");
    const QString tuesday = QStringLiteral("2027-01-12T06:59:00");
    const Move week { Move::RunOn, 8 * day + 2 * hour };
    const Move ring { Move::RunOn, minute };
    const Move snooze { Move::Snooze, 10 * minute };
    const QString rang = QStringLiteral("1 at 2027-01-12 07:00:00 CET +0s");

    QTest::newRow("Mon-Fri across a weekend")
        << berlin << friday << seven << "12345" << Moves { { Move::RunOn, 4 * day + 2 * minute } }
        << QStringList { "1 at 2027-01-15 07:00:00 CET +0s", "1 at 2027-01-18 07:00:00 CET +0s",
               "1 at 2027-01-19 07:00:00 CET +0s" };
    QTest::newRow("Mon-Fri: a weekend asleep misses nothing")
        << berlin << QStringLiteral("2027-01-15T08:00:00") << seven << "12345"
        << Moves { { Move::Sleep, 2 * day + 22 * hour + 59 * minute }, { Move::RunOn, 2 * minute } }
        << QStringList { "1 at 2027-01-18 07:00:00 CET +0s" };
    QTest::newRow("Sunday only, Berlin spring night")
        << berlin << QStringLiteral("2027-03-27T01:59:00") << halfPastTwo << "7" << Moves { week }
        << QStringList { "1 at 2027-03-28 03:00:00 CEST +0s", "1 at 2027-04-04 02:30:00 CEST +0s" };
    QTest::newRow("Sunday only, Berlin autumn night")
        << berlin << QStringLiteral("2027-10-30T01:59:00") << halfPastTwo << "7" << Moves { week }
        << QStringList { "1 at 2027-10-31 02:30:00 CEST +0s", "1 at 2027-11-07 02:30:00 CET +0s" };
    QTest::newRow("Sunday only, Sydney spring night")
        << sydney << QStringLiteral("2027-10-02T01:59:00") << halfPastTwo << "7" << Moves { week }
        << QStringList { "1 at 2027-10-03 03:00:00 AEDT +0s", "1 at 2027-10-10 02:30:00 AEDT +0s" };
    QTest::newRow("Sunday only, Sydney autumn night")
        << sydney << QStringLiteral("2027-04-03T01:59:00") << halfPastTwo << "7" << Moves { week }
        << QStringList { "1 at 2027-04-04 02:30:00 AEDT +0s", "1 at 2027-04-11 02:30:00 AEST +0s" };
    QTest::newRow("once: rings, then off")
        << berlin << tuesday << seven << "" << Moves { week } << QStringList { "1 off", rang };
    QTest::newRow("once across a sleep: late once, then off")
        << berlin << tuesday << seven << "" << Moves { { Move::Sleep, 2 * hour }, week }
        << QStringList { "1 off", "1 at 2027-01-12 07:00:00 CET +7140s" };
    QTest::newRow("once across a long sleep: missed, then off")
        << berlin << tuesday << seven << "" << Moves { { Move::Sleep, 3 * day }, week }
        << QStringList { "1 off", "1 missed 2027-01-14 07:00:00 CET" };

    const QString snoozedOnTime = QStringLiteral("1 at 2027-01-12 07:10:00 CET +0s");
    QTest::newRow("snoozed, and snoozed again")
        << berlin << tuesday << seven << everyDay
        << Moves { ring, snooze, { Move::RunOn, 10 * minute }, snooze, { Move::RunOn, hour } }
        << QStringList { rang, snoozedOnTime, "1 at 2027-01-12 07:20:00 CET +0s" };
    QTest::newRow("snoozed across a sleep: late, once")
        << berlin << tuesday << seven << everyDay
        << Moves { ring, snooze, { Move::Sleep, 30 * minute }, { Move::RunOn, hour } }
        << QStringList { rang, "1 at 2027-01-12 07:10:00 CET +1200s" };
    QTest::newRow("snoozed, clock set back: at its instant, the alarm not again")
        << berlin << tuesday << seven << everyDay
        << Moves { ring, snooze, { Move::Step, -10 * minute }, { Move::RunOn, hour } }
        << QStringList { rang, "1 at 2027-01-12 07:10:00 CET +0s" };
    QTest::newRow("snoozed, restarted before it")
        << berlin << tuesday << seven << everyDay
        << Moves { ring, snooze, { Move::Restart, 5 * minute }, { Move::RunOn, hour } }
        << QStringList { rang, snoozedOnTime };
    QTest::newRow("snoozed, restarted after it: late at start")
        << berlin << tuesday << seven << everyDay
        << Moves { ring, snooze, { Move::Restart, 30 * minute }, { Move::RunOn, hour } }
        << QStringList { rang, "1 at 2027-01-12 07:10:00 CET +1200s" };
    QTest::newRow("snoozed, then every alarm disabled")
        << berlin << tuesday << seven << everyDay
        << Moves { ring, snooze, { Move::DisableAll }, { Move::RunOn, hour } }
        << QStringList { rang };
    QTest::newRow("snoozed into another alarm's second: both ring")
        << berlin << tuesday << Alarms { QTime(7, 0), QTime(7, 10) } << everyDay
        << Moves { ring, snooze, { Move::RunOn, hour } }
        << QStringList { rang, snoozedOnTime, "2 at 2027-01-12 07:10:00 CET +0s" };
    QTest::newRow("once, snoozed after it went off")
        << berlin << tuesday << seven << "" << Moves { ring, snooze, { Move::RunOn, 2 * day } }
        << QStringList { "1 off", rang, snoozedOnTime };
}

void TestAlarmEngine::ringsOnItsDaysAndWhenSnoozed()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, startAt);
    QFETCH(Alarms, alarms);
    QFETCH(QString, firstDays);
    QFETCH(Moves, moves);
    QFETCH(QStringList, expected);
    start(zone, at(zone, startAt), alarms, QDateTime(), AlarmDays::fromDigits(firstDays));
    for (const Move &step : moves)
        move(step);
    QCOMPARE(rings, expected);
}

QTEST_GUILESS_MAIN(TestAlarmEngine)
#include "tst_alarmengine.moc"
