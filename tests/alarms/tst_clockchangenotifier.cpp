#include "clockchangenotifier.h"

#include <QSignalSpy>
#include <QTest>

#include <sys/timerfd.h>

// The kernel's notice of a set wall clock, as far as a test may go: nobody
// sets the host's clock or suspends it here, so the timer is made to run
// out instead, which the notifier must take in and arm itself again after.
namespace {

constexpr qint64 second = 1000 * 1000 * 1000;

qint64 secondsLeft(int descriptor)
{
    itimerspec left {};
    timerfd_gettime(descriptor, &left);
    return left.it_value.tv_sec;
}

} // namespace

Q_DECLARE_METATYPE(Clock::Change)

class TestClockChangeNotifier : public QObject
{
    Q_OBJECT

private slots:
    void armedFarAheadAtOnce();
    void armsAgainAfterEachNotice();
    void tellsAResumeFromAStep_data();
    void tellsAResumeFromAStep();
    void readingsOfTheSteadyClocks();
};

void TestClockChangeNotifier::armedFarAheadAtOnce()
{
    ClockChangeNotifier notifier;
    QVERIFY(notifier.isArmed());
    // Decades ahead: it must never run out while the program runs.
    QVERIFY(secondsLeft(notifier.descriptor()) > qint64(50) * 365 * 24 * 3600);
}

void TestClockChangeNotifier::armsAgainAfterEachNotice()
{
    ClockChangeNotifier notifier;
    QSignalSpy changes(&notifier, &ClockChangeNotifier::changed);
    for (int notice = 0; notice < 2; ++notice) {
        // Due at the epoch, the timer runs out at once and the descriptor
        // becomes readable, as it does when the clock is set.
        itimerspec past {};
        past.it_value.tv_nsec = 1;
        QCOMPARE(timerfd_settime(notifier.descriptor(), TFD_TIMER_ABSTIME, &past, nullptr), 0);
        QVERIFY(!notifier.isArmed());
        QTRY_VERIFY(notifier.isArmed());
    }
    // A timer that ran out is not a clock that was set.
    QCOMPARE(changes.size(), 0);
}

void TestClockChangeNotifier::tellsAResumeFromAStep_data()
{
    QTest::addColumn<qint64>("monotonicRan");
    QTest::addColumn<qint64>("boottimeRan");
    QTest::addColumn<Clock::Change>("change");

    QTest::newRow("stepped: both ran alike")
        << 60 * second << 60 * second << Clock::Change::Stepped;
    QTest::newRow("stepped at once") << qint64(0) << qint64(0) << Clock::Change::Stepped;
    QTest::newRow("jitter is no sleep")
        << 60 * second << 60 * second + 1000000 << Clock::Change::Stepped;
    QTest::newRow("slept half a second")
        << 60 * second << 60 * second + ClockChangeNotifier::shortestSleepNs
        << Clock::Change::Resumed;
    QTest::newRow("slept 3 days") << 60 * second << 60 * second + 3 * 24 * 3600 * second
                                  << Clock::Change::Resumed;
}

void TestClockChangeNotifier::tellsAResumeFromAStep()
{
    QFETCH(qint64, monotonicRan);
    QFETCH(qint64, boottimeRan);
    QFETCH(Clock::Change, change);
    // Boot time is ahead of the monotonic clock by the sleeps before.
    const ClockChangeNotifier::Readings before { 1000 * second, 5000 * second };
    const ClockChangeNotifier::Readings after { before.monotonicNs + monotonicRan,
        before.boottimeNs + boottimeRan };
    QCOMPARE(ClockChangeNotifier::classify(before, after), change);
}

void TestClockChangeNotifier::readingsOfTheSteadyClocks()
{
    const ClockChangeNotifier::Readings first = ClockChangeNotifier::read();
    const ClockChangeNotifier::Readings later = ClockChangeNotifier::read();
    QVERIFY(first.monotonicNs > 0);
    // Boot time counts the sleeps the monotonic clock leaves out.
    QVERIFY(first.boottimeNs >= first.monotonicNs);
    QVERIFY(later.monotonicNs >= first.monotonicNs);
    QCOMPARE(ClockChangeNotifier::classify(first, later), Clock::Change::Stepped);
}

QTEST_GUILESS_MAIN(TestClockChangeNotifier)
#include "tst_clockchangenotifier.moc"
