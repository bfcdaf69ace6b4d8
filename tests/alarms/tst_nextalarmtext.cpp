#include "alarmengine.h"
#include "nextalarmtext.h"
#include "testclock.h"

#include <QLocale>
#include <QTest>

// What the tray and the lamps say about the next rings, read off an engine
// on a clock the test sets.
using namespace Qt::StringLiterals;

namespace {

// Alarm 1, 2 and 3's times; a null time leaves that alarm disarmed.
using Alarms = QList<QTime>;

const QTimeZone berlin("Europe/Berlin");

QDateTime inBerlin(const QString &wallTime)
{
    const QDateTime wall = QDateTime::fromString(wallTime, Qt::ISODate);
    return QDateTime(wall.date(), wall.time(), berlin).toUTC();
}

} // namespace

class TestNextAlarmText : public QObject
{
    Q_OBJECT

private slots:
    // Weekday names in English, whatever the machine's language.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English)); }
    void traySaysTheSoonestAndLampsTheirOwn_data();
    void traySaysTheSoonestAndLampsTheirOwn();
    void daysAndSnoozeAreTold_data();
    void daysAndSnoozeAreTold();
    void dayOfTheRing_data();
    void dayOfTheRing();
};

void TestNextAlarmText::traySaysTheSoonestAndLampsTheirOwn_data()
{
    QTest::addColumn<QString>("now");
    QTest::addColumn<Alarms>("alarms");
    QTest::addColumn<QString>("trayLine");
    QTest::addColumn<QStringList>("lampLines");

    const QTime none;
    QTest::newRow("late evening, ringing tomorrow morning")
        << "2026-12-07T23:18:00" << Alarms { none, QTime(7, 30), none }
        << "Next alarm: 2 at 07:30, in 8 h 12 min"
        << QStringList { "Not armed", "Rings at 07:30 tomorrow: Text 2", "Not armed" };
    QTest::newRow("early morning, the sooner of two today")
        << "2026-12-08T06:00:00" << Alarms { QTime(7, 30), none, QTime(6, 10) }
        << "Next alarm: 3 at 06:10, in 10 min"
        << QStringList { "Rings at 07:30 today: Text 1", "Not armed",
               "Rings at 06:10 today: Text 3" };
    QTest::newRow("just past its time: tomorrow, a day less a minute away")
        << "2026-12-08T07:31:00" << Alarms { QTime(7, 30), none, none }
        << "Next alarm: 1 at 07:30, in 23 h 59 min"
        << QStringList { "Rings at 07:30 tomorrow: Text 1", "Not armed", "Not armed" };
    QTest::newRow("across midnight")
        << "2026-12-07T23:50:00" << Alarms { QTime(0, 10), QTime(23, 55), none }
        << "Next alarm: 2 at 23:55, in 5 min"
        << QStringList { "Rings at 00:10 tomorrow: Text 1", "Rings at 23:55 today: Text 2",
               "Not armed" };
    QTest::newRow("a minute begun counts whole, seconds shown when set")
        << "2026-12-08T12:00:30" << Alarms { none, none, QTime(12, 5, 15) }
        << "Next alarm: 3 at 12:05:15, in 5 min"
        << QStringList { "Not armed", "Not armed", "Rings at 12:05:15 today: Text 3" };
    QTest::newRow("spring night: an hour shorter")
        << "2026-03-28T23:00:00" << Alarms { QTime(7, 30), none, none }
        << "Next alarm: 1 at 07:30, in 7 h 30 min"
        << QStringList { "Rings at 07:30 tomorrow: Text 1", "Not armed", "Not armed" };
    QTest::newRow("spring night: a skipped time rings after the gap")
        << "2026-03-29T01:00:00" << Alarms { none, QTime(2, 30), none }
        << "Next alarm: 2 at 03:00, in 1 h 0 min"
        << QStringList { "Not armed", "Rings at 03:00 today: Text 2", "Not armed" };
    QTest::newRow("autumn night: an hour longer")
        << "2026-10-24T23:00:00" << Alarms { QTime(7, 30), none, none }
        << "Next alarm: 1 at 07:30, in 9 h 30 min"
        << QStringList { "Rings at 07:30 tomorrow: Text 1", "Not armed", "Not armed" };
    QTest::newRow("nothing armed")
        << "2026-12-07T23:18:00" << Alarms { none, none, none } << "No alarm armed"
        << QStringList { "Not armed", "Not armed", "Not armed" };
}

void TestNextAlarmText::traySaysTheSoonestAndLampsTheirOwn()
{
    QFETCH(QString, now);
    QFETCH(Alarms, alarms);
    QFETCH(QStringList, lampLines);
    TestClock clock(inBerlin(now), berlin);
    AlarmEngine engine(clock);
    for (int index = 0; index < AlarmEngine::alarmCount; ++index)
        engine.setAlarm(index, alarms[index], alarms[index].isValid());
    engine.startWatching(QDateTime());

    QTEST(NextAlarmText::trayLine(engine, clock), "trayLine");
    for (int index = 0; index < AlarmEngine::alarmCount; ++index)
        QCOMPARE(NextAlarmText::lampLine(engine, index, u"Text %1"_s.arg(index + 1), clock),
            lampLines[index]);
}

void TestNextAlarmText::daysAndSnoozeAreTold_data()
{
    QTest::addColumn<QString>("days");
    QTest::addColumn<qint64>("snoozeMinutes");
    QTest::addColumn<QString>("trayLine");
    QTest::addColumn<QString>("lampLine");

    // Saturday evening, an alarm at 06:45.
    QTest::newRow("Mon-Fri over the weekend")
        << "12345" << qint64(0)
        << QString::fromUtf8("Next alarm: 1, Mon–Fri at 06:45, next Mon 06:45, in 35 h 45 min")
        << QString::fromUtf8("Mon–Fri at 06:45, next Mon 06:45: Text 1");
    QTest::newRow("once") << "" << qint64(0)
                          << "Next alarm: 1, Once at 06:45, next Sun 06:45, in 11 h 45 min"
                          << "Once at 06:45, next Sun 06:45: Text 1";
    QTest::newRow("snoozed") << "1234567" << qint64(10) << "Alarm 1 snoozed until 19:10"
                             << "Alarm 1 snoozed until 19:10: Text 1";
}

void TestNextAlarmText::daysAndSnoozeAreTold()
{
    QFETCH(QString, days);
    QFETCH(qint64, snoozeMinutes);
    TestClock clock(inBerlin("2026-12-12T19:00:00"), berlin);
    AlarmEngine engine(clock);
    engine.setAlarm(0, QTime(6, 45), true, AlarmDays::fromDigits(days));
    engine.startWatching(QDateTime());
    if (snoozeMinutes > 0)
        engine.snooze(0, clock.now().addSecs(snoozeMinutes * 60));

    QTEST(NextAlarmText::trayLine(engine, clock), "trayLine");
    QTEST(NextAlarmText::lampLine(engine, 0, QStringLiteral("Text 1"), clock), "lampLine");
}

void TestNextAlarmText::dayOfTheRing_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("ring");
    QTest::addColumn<QString>("day");
    // Seen from noon UTC; the days on either side of midnight come with the lamps' lines.
    QTest::newRow("same day on the wall, next day in UTC")
        << QByteArray("America/New_York") << "2026-12-08T01:00:00Z"
        << "today";
    QTest::newRow("further ahead: the weekday")
        << QByteArray("Europe/Berlin") << "2026-12-09T12:00:00Z"
        << "on Wednesday";
}

void TestNextAlarmText::dayOfTheRing()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, ring);
    const QDateTime noon(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
    QTEST(NextAlarmText::dayOf(noon, QDateTime::fromString(ring, Qt::ISODate), QTimeZone(zone)),
        "day");
}

QTEST_GUILESS_MAIN(TestNextAlarmText)
#include "tst_nextalarmtext.moc"
