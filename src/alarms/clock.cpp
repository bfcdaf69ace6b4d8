#include "clock.h"

#include "systemclock.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

QPointer<Clock> &installedClock()
{
    static QPointer<Clock> installed;
    return installed;
}

} // namespace

QDateTime Clock::localNow() const
{
    return now().toTimeZone(timeZone());
}

Clock &Clock::instance()
{
    if (Clock *installed = installedClock().data())
        return *installed;
    // Made on first use, so that its kernel notices are set up only in a
    // process that asks the time, and owned by the application so that it
    // goes before the event loop it watches from.
    static QPointer<SystemClock> systemClock;
    if (!systemClock)
        systemClock = new SystemClock(QCoreApplication::instance());
    return *systemClock;
}

void Clock::install(Clock *clock)
{
    installedClock() = clock;
}
