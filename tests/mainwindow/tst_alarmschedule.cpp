#include "alarmschedule.h"

#include <QTest>

class TestAlarmSchedule : public QObject
{
    Q_OBJECT

private slots:
    void msecsUntil_data();
    void msecsUntil();
    void neverAimsAtTheOccurrenceJustFired();
    void occurrenceAt();
    void earlyTimerWaitsForTheSecond_data();
    void earlyTimerWaitsForTheSecond();
};

void TestAlarmSchedule::msecsUntil_data()
{
    QTest::addColumn<QTime>("alarm");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<int>("expected");

    const int day = AlarmSchedule::msecsPerDay;
    QTest::newRow("now exactly") << QTime(7, 0) << QTime(7, 0) << 0;
    QTest::newRow("1 ms past: tomorrow") << QTime(7, 0) << QTime(7, 0, 0, 1) << day - 1;
    QTest::newRow("1 ms ahead") << QTime(7, 0) << QTime(6, 59, 59, 999) << 1;
    QTest::newRow("later today") << QTime(18, 30) << QTime(8, 0) << (10 * 60 + 30) * 60000;
    QTest::newRow("midnight from just before") << QTime(0, 0) << QTime(23, 59, 59, 500) << 500;
    QTest::newRow("just before midnight from just after")
        << QTime(23, 59, 59) << QTime(0, 0, 0, 1) << day - 1001;
    QTest::newRow("midnight at midnight") << QTime(0, 0) << QTime(0, 0) << 0;
    QTest::newRow("null alarm counts as midnight") << QTime() << QTime(23, 0) << 3600000;
}

void TestAlarmSchedule::msecsUntil()
{
    QFETCH(QTime, alarm);
    QFETCH(QTime, now);
    QFETCH(int, expected);
    QCOMPARE(AlarmSchedule::msecsUntil(alarm, now), expected);
}

void TestAlarmSchedule::neverAimsAtTheOccurrenceJustFired()
{
    const QDate today(2026, 12, 7);
    const QDateTime fired(today, QTime(7, 0));
    const qint64 day = AlarmSchedule::msecsPerDay;

    // Re-aimed in the very millisecond it fired: not again today.
    QCOMPARE(AlarmSchedule::interval(QTime(7, 0), fired, fired), day);
    // Re-aimed a little later: tomorrow, as usual.
    QCOMPARE(AlarmSchedule::interval(QTime(7, 0), fired.addMSecs(30000), fired), day - 30000);
    // Without a fired occurrence an equal time fires at once.
    QCOMPARE(AlarmSchedule::interval(QTime(7, 0), fired, QDateTime()), 0);
    // The user moved the alarm to later today: that is a new occurrence.
    QCOMPARE(AlarmSchedule::interval(QTime(7, 5), fired.addMSecs(1000), fired), 299000);
    // Yesterday's firing does not hold back today's.
    QCOMPARE(AlarmSchedule::interval(QTime(7, 0), QDateTime(today, QTime(6, 0)), fired.addDays(-1)),
        3600000);
}

void TestAlarmSchedule::occurrenceAt()
{
    const QDate today(2026, 12, 7);
    QCOMPARE(AlarmSchedule::occurrenceAt(QTime(7, 0), QDateTime(today, QTime(7, 0, 0, 3))),
        QDateTime(today, QTime(7, 0)));
    // Fired late, just after midnight: yesterday's occurrence.
    QCOMPARE(AlarmSchedule::occurrenceAt(QTime(23, 59, 59), QDateTime(today, QTime(0, 0, 0, 20))),
        QDateTime(today.addDays(-1), QTime(23, 59, 59)));
}

void TestAlarmSchedule::earlyTimerWaitsForTheSecond_data()
{
    QTest::addColumn<QTime>("alarm");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<int>("wait");

    const int halfDay = AlarmSchedule::msecsPerDay / 2;
    QTest::newRow("on the second") << QTime(7, 0) << QTime(7, 0) << 0;
    QTest::newRow("late") << QTime(7, 0) << QTime(7, 0, 0, 40) << 0;
    QTest::newRow("early") << QTime(7, 0) << QTime(6, 59, 59, 800) << 200;
    QTest::newRow("early across midnight") << QTime(0, 0) << QTime(23, 59, 59, 800) << 200;
    QTest::newRow("late across midnight") << QTime(23, 59, 59) << QTime(0, 0, 0, 10) << 0;
    QTest::newRow("clock set back five minutes") << QTime(7, 0) << QTime(6, 55) << 5 * 60000;
    QTest::newRow("just within the tolerance") << QTime(7, 0) << QTime(19, 0, 0, 1) << halfDay - 1;
    QTest::newRow("beyond the tolerance: overdue since yesterday")
        << QTime(7, 0) << QTime(19, 0) << 0;
}

void TestAlarmSchedule::earlyTimerWaitsForTheSecond()
{
    QFETCH(QTime, alarm);
    QFETCH(QTime, now);
    QFETCH(int, wait);
    QCOMPARE(AlarmSchedule::msecsEarly(alarm, now, AlarmSchedule::msecsPerDay / 2), wait);
}

QTEST_APPLESS_MAIN(TestAlarmSchedule)
#include "tst_alarmschedule.moc"
