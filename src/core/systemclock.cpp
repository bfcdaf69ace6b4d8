#include "systemclock.h"

#include "clockchangenotifier.h"

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
