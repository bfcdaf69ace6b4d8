#ifndef DORVEX_CLOCK_H
#define DORVEX_CLOCK_H

#include <QDateTime>
#include <QObject>
#include <QTimeZone>

#include <chrono>

// Where the program asks for the time: the wall clock as an instant and the
// zone it is read in, and a notice whenever the wall clock moves other than
// by running on (set, stepped by time synchronisation, or left behind while
// the computer slept). Everything that asks "what time is it" goes through
// the instance(), so that a test can install a clock it moves at will.
class Clock : public QObject
{
    Q_OBJECT

public:
    enum class Change {
        // The wall clock was set forward or back while the computer ran.
        Stepped,
        // The computer woke from sleep; the wall clock ran on meanwhile.
        Resumed,
    };
    Q_ENUM(Change)

    using QObject::QObject;

    // The present instant, in UTC.
    virtual QDateTime now() const = 0;
    // The zone that wall times (alarm times, the status-bar clock) are read in.
    virtual QTimeZone timeZone() const = 0;
    // How long the computer has run since it started, sleep included; never
    // set or stepped, so it measures how long something lasted.
    virtual std::chrono::milliseconds sinceBoot() const = 0;

    // The present instant in the clock's zone.
    QDateTime localNow() const;

    // The clock in use: the system's, unless a test installed another.
    static Clock &instance();
    // Makes `clock` the one instance() returns, for as long as it lives;
    // nullptr goes back to the system's clock.
    static void install(Clock *clock);

signals:
    // The wall clock moved by `change`; what was computed from it is stale.
    void changed(Clock::Change change);
};

#endif
