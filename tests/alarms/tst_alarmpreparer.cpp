#include "alarmengine.h"
#include "alarmpreparer.h"
#include "testclock.h"

#include <QTest>
#include <QTimer>

// When an alarm is made ready, on a clock the test moves: a lead before its
// ring, with one wake-up of its own; again when its ring moves; handed to
// the ring, not discarded, when it rings.
class TestAlarmPreparer : public QObject
{
    Q_OBJECT

private slots:
    void preparesALeadBeforeTheRing_data();
    void preparesALeadBeforeTheRing();
};

void TestAlarmPreparer::preparesALeadBeforeTheRing_data()
{
    QTest::addColumn<QTime>("alarm2");
    // Done at 07:00:58 to alarm 1, prepared at 07:00:56 for 07:01:00: a new
    // time, "off", "step" (the clock set a minute on) or "renew".
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("wakeUps");

    const QString prepared = QStringLiteral("07:00:56 prepare 1 for 07:01:00");
    QTest::newRow("untouched, a second alarm with it: one wake-up")
        << QTime(7, 1) << ""
        << QStringList { prepared, "07:00:56 prepare 2 for 07:01:00", "07:01:00 ring 1",
               "07:01:00 ring 2" }
        << 1;
    QTest::newRow("re-timed: rings at its new second only")
        << QTime() << "07:02:00"
        << QStringList { prepared, "07:00:58 discard 1", "07:01:56 prepare 1 for 07:02:00",
               "07:02:00 ring 1" }
        << 2;
    QTest::newRow("re-timed into the lead: prepared at once")
        << QTime() << "07:00:59"
        << QStringList { prepared, "07:00:58 discard 1", "07:00:58 prepare 1 for 07:00:59",
               "07:00:59 ring 1" }
        << 1;
    QTest::newRow("disarmed") << QTime() << "off" << QStringList { prepared, "07:00:58 discard 1" }
                              << 1;
    QTest::newRow("clock set past it: rung late, handed over")
        << QTime() << "step" << QStringList { prepared, "07:01:58 ring 1" } << 1;
    QTest::newRow("renewed") << QTime() << "renew"
                             << QStringList { prepared, "07:00:58 discard 1",
                                    "07:00:58 prepare 1 for 07:01:00", "07:01:00 ring 1" }
                             << 1;
}

void TestAlarmPreparer::preparesALeadBeforeTheRing()
{
    QFETCH(QTime, alarm2);
    QFETCH(QString, change);
    QFETCH(QStringList, expected);
    QFETCH(int, wakeUps);
    TestClock clock(QDateTime(QDate(2027, 3, 1), QTime(7, 0), Qt::UTC));
    AlarmEngine engine(clock);
    engine.setAlarm(0, QTime(7, 1), true);
    engine.setAlarm(1, alarm2, alarm2.isValid());
    engine.startWatching(QDateTime());
    AlarmPreparer preparer(engine, clock, 4000);
    QStringList events;
    const auto note = [&](const QString &what, int index) {
        events << QStringLiteral("%1 %2 %3")
                      .arg(clock.now().toString("HH:mm:ss"), what)
                      .arg(index + 1);
    };
    connect(&preparer, &AlarmPreparer::prepare, this, [&](int index, const QDateTime &due) {
        note(QStringLiteral("prepare"), index);
        events.last() += QStringLiteral(" for ") + due.toString("HH:mm:ss");
    });
    connect(&preparer, &AlarmPreparer::discard, this, [&](int index) { note("discard", index); });
    connect(&engine, &AlarmEngine::alarmDue, this, [&](int index) { note("ring", index); });
    preparer.check();

    // Runs the timers out in the test's time; each look re-aims them from it.
    int wokeUp = 0;
    const auto runTo = [&](const QTime &until) {
        const QDateTime end(clock.now().date(), until, Qt::UTC);
        engine.check();
        preparer.check();
        for (;;) {
            const QTimer *soonest = preparer.timer()->isActive() ? preparer.timer() : nullptr;
            for (int index = 0; index < AlarmEngine::alarmCount; ++index) {
                const QTimer *timer = engine.timer(index);
                if (timer->isActive()
                    && (!soonest || timer->remainingTime() < soonest->remainingTime()))
                    soonest = timer;
            }
            if (!soonest || clock.now().addMSecs(soonest->remainingTime()) > end)
                break;
            clock.runOn(qMax(soonest->remainingTime(), 1));
            wokeUp += soonest == preparer.timer();
            engine.check();
            preparer.check();
        }
        clock.runOn(clock.now().msecsTo(end));
    };
    runTo(QTime(7, 0, 58));
    if (change == QLatin1String("off"))
        engine.setAlarm(0, QTime(7, 1), false);
    else if (change == QLatin1String("step"))
        clock.step(60000);
    else if (change == QLatin1String("renew"))
        preparer.renew(0);
    else if (!change.isEmpty())
        engine.setAlarm(0, QTime::fromString(change), true);
    runTo(QTime(7, 3));
    QCOMPARE(events, expected);
    QCOMPARE(wokeUp, wakeUps);
}

QTEST_GUILESS_MAIN(TestAlarmPreparer)
#include "tst_alarmpreparer.moc"
