#ifndef DORVEX_FAKENOTIFICATIONSERVICE_H
#define DORVEX_FAKENOTIFICATIONSERVICE_H

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QVariantMap>

// The desktop's notification service as a test needs it: on a bus
// connection of its own, so that calls to it really travel through the
// session bus, and keeping what it was asked.
class FakeNotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification
    {
        QString application;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };

    FakeNotificationService();

    // Takes the service's well-known name on the session bus.
    bool start();
    void stop();
    // As when the user clicks one of a notification's buttons, or the
    // notification itself ("default").
    void invokeAction(uint id, const QString &actionKey);

    QList<Notification> received;
    QList<uint> closed;
    // The id that the next notification gets.
    uint nextId = 41;

public slots:
    uint Notify(const QString &application, uint replacesId, const QString &icon,
        const QString &summary, const QString &body, const QStringList &actions,
        const QVariantMap &hints, int timeout);
    void CloseNotification(uint id);
    QStringList GetCapabilities();

private:
    QDBusConnection bus;
};

#endif
