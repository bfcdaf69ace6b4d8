#include "wakeups.h"

#include "alarmengine.h"
#include "clock.h"
#include "settingskeys.h"
#include "wakescheduler.h"

#include <QSettings>

WakeUps::WakeUps(const AlarmEngine &engine, QObject *parent)
    : QObject(parent)
    , engine(engine)
    , wakeScheduler(new WakeScheduler(this))
{
    connect(&engine, &AlarmEngine::scheduleChanged, this, &WakeUps::aim);
    // A clock set moves the instant the next wall-clock ring falls on.
    connect(&Clock::instance(), &Clock::changed, this, &WakeUps::aim);
    connect(wakeScheduler, &WakeScheduler::wakeTimeChanged, this, &WakeUps::changed);
    connect(wakeScheduler, &WakeScheduler::stateChanged, this, &WakeUps::changed);
    readOption();
}

void WakeUps::readOption()
{
    // Aimed first, so that a helper started now is told the ring at once.
    aim();
    wakeScheduler->setEnabled(SettingsKeys::wakeComputer.read(QSettings()));
}

void WakeUps::aim()
{
    const int soonest = engine.soonestAlarm();
    wakeScheduler->setNextRing(soonest < 0 ? QDateTime() : engine.nextRing(soonest));
}

bool WakeUps::wakesFor(int index) const
{
    const QDateTime ring = engine.nextRing(index);
    const QDateTime wake = wakeScheduler->wakeTime();
    // The helper counts whole seconds.
    return ring.isValid() && wake.isValid()
        && ring.toSecsSinceEpoch() - WakeScheduler::lead.count() == wake.toSecsSinceEpoch();
}

QString WakeUps::problem() const
{
    switch (wakeScheduler->state()) {
    case WakeScheduler::State::NoCapability:
        return tr("the wake-up helper %1 lacks its capability")
            .arg(WakeScheduler::helperBesideProgram());
    case WakeScheduler::State::Failed:
        return tr("the wake-up helper %1 is missing or stopped")
            .arg(WakeScheduler::helperBesideProgram());
    default:
        return QString();
    }
}
