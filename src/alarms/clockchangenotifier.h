#ifndef DORVEX_CLOCKCHANGENOTIFIER_H
#define DORVEX_CLOCKCHANGENOTIFIER_H

#include "clock.h"

#include <QObject>

class QSocketNotifier;

// Wakes the program the moment the kernel sets the wall clock, which it
// does when someone or time synchronisation steps it and when the computer
// resumes from sleep. A timer on the real-time clock, armed far ahead with
// cancel-on-set, is cancelled by every such setting and so becomes
// readable; after each notice it is armed again.
//
// A resume is told from a step by two steady clocks: the boot-time clock
// counts the time spent asleep and the monotonic clock does not, so the gap
// between them grows by exactly the length of a sleep.
class ClockChangeNotifier : public QObject
{
    Q_OBJECT

public:
    // The two steady clocks read at one moment, in nanoseconds.
    struct Readings
    {
        qint64 monotonicNs = 0;
        qint64 boottimeNs = 0;
    };

    // A gap that grew by less than this is the clocks' own jitter, not a sleep.
    static constexpr qint64 shortestSleepNs = 500 * 1000 * 1000;

    explicit ClockChangeNotifier(QObject *parent = nullptr);
    ~ClockChangeNotifier() override;

    // The kernel timer is set up and armed: notices will come.
    bool isArmed() const;
    // The kernel timer, for tests that make it readable themselves.
    int descriptor() const { return timerDescriptor; }

    static Readings read();
    // What set the wall clock between two readings.
    static Clock::Change classify(const Readings &before, const Readings &after);

signals:
    void changed(Clock::Change change);

private:
    bool arm();
    void takeNotice();

    int timerDescriptor = -1;
    QSocketNotifier *socketNotifier = nullptr;
    Readings lastReadings;
};

#endif
