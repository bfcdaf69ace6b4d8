#ifndef DORVEX_TESTCLOCK_H
#define DORVEX_TESTCLOCK_H

#include "clock.h"

// A clock that stands still until a test moves it, in no time at all.
// Installed with Clock::install(), the whole program reads it.
class TestClock : public Clock
{
    Q_OBJECT

public:
    explicit TestClock(const QDateTime &start, const QTimeZone &zone = QTimeZone::utc());

    QDateTime now() const override { return instant; }
    QTimeZone timeZone() const override { return zone; }
    std::chrono::milliseconds sinceBoot() const override { return running; }
    void setTimeZone(const QTimeZone &newZone) { zone = newZone; }

    // Time passes as usual: no notice, the program's own timers must tell.
    void runOn(qint64 ms);
    // The computer sleeps `ms` and wakes, and the program is told.
    void sleep(qint64 ms);
    // The clock is set `ms` forward (or back, when negative), and the
    // program is told.
    void step(qint64 ms);
    void stepTo(const QDateTime &newNow);

private:
    QDateTime instant;
    QTimeZone zone;
    std::chrono::milliseconds running { 0 };
};

#endif
