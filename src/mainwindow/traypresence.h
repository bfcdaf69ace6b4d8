#ifndef DORVEX_TRAYPRESENCE_H
#define DORVEX_TRAYPRESENCE_H

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>

class QAbstractButton;
class QAction;
class QWidget;
class TrayHostWatcher;

// The window's life in the system tray: the icon with its menu and tool
// tip while a tray host is there, and the window parked there (hidden, its
// taskbar entry gone) or restored. A host that comes later gets the icon
// then; one that goes takes the icon with it and brings a parked window
// back rather than leave it out of reach.
class TrayPresence : public QObject
{
    Q_OBJECT

public:
    // What the icon tells: whether an alarm is armed, and its tool tip.
    struct Status
    {
        bool armed = false;
        QString toolTip;
    };
    // The window's own controls the tray works with.
    struct Controls
    {
        QAction *restore = nullptr;
        QAction *about = nullptr;
        QAction *exit = nullptr;
        QAbstractButton *toTray = nullptr;
    };

    TrayPresence(QWidget *window, Controls controls, std::function<Status()> status);

    bool isAvailable() const;
    // False until the session bus told whether a tray host is there.
    bool isSettled() const;

    void setupIcon();
    // Makes the icon once the window has drawn its first frame: the window
    // does not need it to appear, and making it (the toolkit's tray
    // protocol, the icon's own window) would delay that frame. Until then a
    // host that comes only enables parking; parking makes the icon at once.
    void setupIconAfterFirstFrame();
    void removeIcon();
    // Shows the status anew, changing only what changed, so that a tray
    // panel is not asked to redraw the same icon every minute.
    void refresh();

    // Shows the window, or parks it at once when `inTray` and a tray is
    // there. Only a start in the tray waits for the session bus to tell
    // whether a tray host is there (or to time out): a window that shows
    // anyway does not.
    void showWindowAtStart(bool inTray);
    bool isParked() const;
    void park();
    // Brings a parked window back; a window that is not parked stays as it is.
    void restore();
    void activate(QSystemTrayIcon::ActivationReason reason);

signals:
    // The window is to come back to the front (a click on the icon, or the
    // host went away while the window was parked).
    void restoreRequested();
    void settled();

private:
    // True once the icon lives in a StatusNotifier panel rather than an XEmbed tray.
    static bool inStatusNotifierPanel();
    void followHost();

    QWidget *window;
    Controls controls;
    std::function<Status()> status;
    TrayHostWatcher *host;
    QSystemTrayIcon *trayIcon = nullptr;
    bool iconWanted = false;
    bool trayShowsArmed = false;
};

#endif
