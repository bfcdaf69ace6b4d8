#ifndef DORVEX_WAKEUPS_H
#define DORVEX_WAKEUPS_H

#include <QObject>
#include <QString>

class AlarmEngine;
class WakeScheduler;

// Wakes the computer from sleep for the soonest armed alarm, snoozed rings
// included, while the user's option asks for it: the scheduler follows the
// engine's schedule and the clock, and is told of no ring when nothing is
// armed, so that no wake-up outlives its alarm.
class WakeUps : public QObject
{
    Q_OBJECT

public:
    WakeUps(const AlarmEngine &engine, QObject *parent);

    // Reads the option from the store again, after the settings changed.
    void readOption();
    // Whether a wake-up is armed for the next ring of alarm `index`.
    bool wakesFor(int index) const;
    // Why waking does not work although it is on, or nothing.
    QString problem() const;

signals:
    // What wakesFor() or problem() answer may have changed.
    void changed();

private:
    void aim();

    const AlarmEngine &engine;
    WakeScheduler *wakeScheduler;
};

#endif
