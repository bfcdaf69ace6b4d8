#include "systemclock.h"

#include "clockchangenotifier.h"

#include <ctime>

SystemClock::SystemClock(QObject *parent)
    : Clock(parent)
    , notifier(new ClockChangeNotifier(this))
{
    connect(notifier, &ClockChangeNotifier::changed, this, &Clock::changed);
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTimeUtc();
}

QTimeZone SystemClock::timeZone() const
{
    return QTimeZone::systemTimeZone();
}

std::chrono::milliseconds SystemClock::sinceBoot() const
{
    timespec running {};
    clock_gettime(CLOCK_BOOTTIME, &running);
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::seconds(running.tv_sec) + std::chrono::nanoseconds(running.tv_nsec));
}
