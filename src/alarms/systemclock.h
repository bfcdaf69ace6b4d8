#ifndef DORVEX_SYSTEMCLOCK_H
#define DORVEX_SYSTEMCLOCK_H

#include "clock.h"

class ClockChangeNotifier;

// The computer's own clock and time zone; its changes come from the kernel.
class SystemClock : public Clock
{
    Q_OBJECT

public:
    explicit SystemClock(QObject *parent = nullptr);

    QDateTime now() const override;
    QTimeZone timeZone() const override;
    std::chrono::milliseconds sinceBoot() const override;

private:
    ClockChangeNotifier *notifier;
};

#endif
