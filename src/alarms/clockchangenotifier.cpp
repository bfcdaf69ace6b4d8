#include "clockchangenotifier.h"

#include <QSocketNotifier>
#include <QtGlobal>

#include <cerrno>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// Far enough ahead never to run out while the program runs, near enough
// for the kernel's time arithmetic (which ends in 2262).
constexpr time_t armedAheadSecs = time_t(100) * 365 * 24 * 60 * 60;

qint64 readNs(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

ClockChangeNotifier::ClockChangeNotifier(QObject *parent)
    : QObject(parent)
    , lastReadings(read())
{
    timerDescriptor = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timerDescriptor < 0 || !arm()) {
        qWarning("Dorvex: clock changes are noticed only at the next minute: %s",
            qPrintable(qt_error_string(errno)));
        return;
    }
    socketNotifier = new QSocketNotifier(timerDescriptor, QSocketNotifier::Read, this);
    connect(socketNotifier, &QSocketNotifier::activated, this, &ClockChangeNotifier::takeNotice);
}

ClockChangeNotifier::~ClockChangeNotifier()
{
    if (timerDescriptor >= 0)
        close(timerDescriptor);
}

bool ClockChangeNotifier::arm()
{
    itimerspec far {};
    far.it_value.tv_sec = time_t(readNs(CLOCK_REALTIME) / 1000000000) + armedAheadSecs;
    return timerfd_settime(
               timerDescriptor, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &far, nullptr)
        == 0;
}

bool ClockChangeNotifier::isArmed() const
{
    itimerspec left {};
    return timerDescriptor >= 0 && socketNotifier && socketNotifier->isEnabled()
        && timerfd_gettime(timerDescriptor, &left) == 0
        && (left.it_value.tv_sec > 0 || left.it_value.tv_nsec > 0);
}

ClockChangeNotifier::Readings ClockChangeNotifier::read()
{
    Readings readings;
    readings.monotonicNs = readNs(CLOCK_MONOTONIC);
    readings.boottimeNs = readNs(CLOCK_BOOTTIME);
    return readings;
}

Clock::Change ClockChangeNotifier::classify(const Readings &before, const Readings &after)
{
    const qint64 gapBefore = before.boottimeNs - before.monotonicNs;
    const qint64 gapAfter = after.boottimeNs - after.monotonicNs;
    return gapAfter - gapBefore >= shortestSleepNs ? Clock::Change::Resumed
                                                   : Clock::Change::Stepped;
}

void ClockChangeNotifier::takeNotice()
{
    // A cancelled timer reads as ECANCELED; one that ran out (the clock set
    // beyond the far instant) reads its count. Either way it must be armed
    // again, and only a cancellation means that the clock was set.
    quint64 expirations = 0;
    const bool clockWasSet
        = ::read(timerDescriptor, &expirations, sizeof expirations) < 0 && errno == ECANCELED;
    arm();
    if (!clockWasSet)
        return;
    const Readings readings = read();
    const Clock::Change change = classify(lastReadings, readings);
    lastReadings = readings;
    emit changed(change);
}
