#ifndef DORVEX_ALARMNOTIFICATION_H
#define DORVEX_ALARMNOTIFICATION_H

#include <QObject>
#include <QString>
#include <QTime>

#include <memory>

// Tells the desktop's notification service that an alarm rang, so that it
// shows on a locked screen, which a full-screen window cannot cover, and
// stays in the notification history. Without such a service (or without a
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

private:
    struct Shown;
    std::shared_ptr<Shown> shown;
};

#endif
