#ifndef DORVEX_ALARMNOTIFICATION_H
#define DORVEX_ALARMNOTIFICATION_H

#include <QObject>
#include <QString>
#include <QTime>

#include <memory>

class OrgFreedesktopNotificationsInterface;

// Tells the desktop's notification service that an alarm rang, so that it
// shows on a locked screen, which a full-screen window cannot cover, and
// stays in the notification history. Its Snooze and Dismiss buttons, and a
// click on it, come back as signals. Without such a service (or without a
// session bus) it does nothing and says nothing.
class AlarmNotification : public QObject
{
    Q_OBJECT

public:
    explicit AlarmNotification(QObject *parent = nullptr);

    void send(int alarmNumber, const QString &text, QTime alarmTime);

    // Takes the notification back once the alarm has been dismissed; it may
    // be called before the service has answered, and this object may be
    // destroyed right after.
    void withdraw();

signals:
    void snoozeRequested();
    void dismissRequested();
    // The notification itself was clicked: the alarm's window is wanted.
    void frontRequested();

private:
    void takeAction(uint id, const QString &action);

    struct Shown;
    std::shared_ptr<Shown> shown;
    OrgFreedesktopNotificationsInterface *serviceSignals = nullptr;
};

#endif
