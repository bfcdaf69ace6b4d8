#ifndef DORVEX_SCREENKEEPER_H
#define DORVEX_SCREENKEEPER_H

#include <QObject>
#include <QTimer>

#include <memory>

// Wakes the screen when an alarm starts ringing and keeps it on, and the
// computer awake, until the last ringing alarm is dismissed. It asks the
// desktop's screen saver on the session bus (org.freedesktop.ScreenSaver),
// the login manager on the system bus (logind's sleep and idle inhibitor)
// and, on X11, the X server itself (its screen saver and display power).
// Nothing here waits for the desktop: the buses are asked asynchronously,
// an answer that comes after the ring has ended is given back at once, and
// without any of them the alarm rings all the same, with one line on
// standard error per run.
class ScreenKeeper : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        // How long the screen saver service has to answer before the screen
        // counts as one that cannot be kept on; a later answer still counts.
        int answerPatienceMs = 2000;
        // How often the X server's screen saver is reset during a ring when
        // it cannot be suspended.
        int screenSaverResetIntervalMs = 30000;
    };

    explicit ScreenKeeper(QObject *parent = nullptr);
    explicit ScreenKeeper(Timing timing, QObject *parent = nullptr);
    // Ends every ring still going, so that nothing stays held.
    ~ScreenKeeper() override;

    // An alarm started ringing. Rings may overlap: each begin() is matched
    // by one end(), and the screen is let go at the last.
    void begin();
    // A ringing alarm was dismissed; an end() without a ring does nothing.
    void end();
    bool isKeeping() const { return rings > 0; }

private:
    struct Hold;

    // Wakes the screen and asks the screen saver to stay off, at each of
    // its usual paths in turn.
    void askScreenSaver(int pathIndex);
    void keepX11ScreenOn();
    void releaseX11Screen();
    void warnIfScreenNotKept();

    int rings = 0;
    // Shared with the bus answers still to come, which may outlive this.
    std::shared_ptr<Hold> hold;
    bool x11ScreenSaverSuspendable = false;
    bool x11ScreenKept = false;
    QTimer x11ResetTimer;
    QTimer patienceTimer;
};

#endif
