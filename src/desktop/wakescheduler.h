#ifndef DORVEX_WAKESCHEDULER_H
#define DORVEX_WAKESCHEDULER_H

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QProcess>

#include <chrono>

// Wakes the computer from sleep shortly before the next alarm, through the
// helper dorvex-wake beside the program: arming a wake-up takes a capability
// that a desktop session lacks, and the helper alone is given it. The
// helper's wake-up lasts as long as the helper runs, and the helper as long
// as it is wanted here: a disarmed alarm, waking switched off, or this
// program ending or killed leaves no wake-up behind.
//
// Nothing here waits for the helper; its answers arrive with the event loop
// and are told by stateChanged() and wakeTimeChanged().
class WakeScheduler : public QObject
{
    Q_OBJECT

public:
    enum class State {
        // Waking is switched off; no helper runs.
        Off,
        // The helper was started and has not answered yet.
        Starting,
        // The helper has armed or disarmed the wake-up as it was told.
        Working,
        // The helper was installed without its capability.
        NoCapability,
        // The helper is missing, ended, or answered what it should not;
        // alarms ring as ever, only a sleeping computer is not woken.
        Failed,
    };
    Q_ENUM(State)

    // The computer wakes this long before an alarm, so that it has resumed
    // and the alarm's window is prepared ahead of the alarm's second.
    static constexpr std::chrono::seconds lead { 60 };

    // With the helper beside the program's executable.
    explicit WakeScheduler(QObject *parent = nullptr);
    explicit WakeScheduler(const QString &helperPath, QObject *parent = nullptr);
    ~WakeScheduler() override;

    static QString helperBesideProgram();
    // Whether the helper may arm a wake-up: it carries its capability, and
    // this process may hand it on. Read off the file, without running it.
    static bool capabilityAvailable(const QString &helperPath = helperBesideProgram());

    // On: starts the helper (again, after it failed); off: ends it, and with
    // it the wake-up.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled; }
    // The instant (UTC) the next armed alarm rings; invalid when none is.
    void setNextRing(const QDateTime &ring);

    State state() const { return currentState; }
    // The instant (UTC) the helper has armed the wake-up for, the next ring
    // less the lead; invalid while none is armed.
    QDateTime wakeTime() const { return armedAt; }

signals:
    void stateChanged(WakeScheduler::State state);
    void wakeTimeChanged(const QDateTime &wakeTime);

private:
    void startHelper();
    void stopHelper();
    // Tells the helper the wanted wake-up, unless it was told already.
    void sendWanted();
    void readAnswers();
    void helperEnded(int exitCode, QProcess::ExitStatus status);
    // Gives up on the helper until waking is switched on again.
    void fail(State state);
    void setState(State state);
    void setArmedAt(const QDateTime &wakeTime);

    const QString helperPath;
    bool enabled = false;
    State currentState = State::Off;
    QDateTime wanted;
    QDateTime armedAt;
    QProcess *helper = nullptr;
    // The last line sent to the running helper, and those it has not
    // answered yet, oldest first.
    QByteArray lastSent;
    QList<QByteArray> unanswered;
};

#endif
