#include "fakenotificationservice.h"

#include <QDBusMessage>

static const char serviceName[] = "org.freedesktop.Notifications";
static const char objectPath[] = "/org/freedesktop/Notifications";

FakeNotificationService::FakeNotificationService()
    : bus(QDBusConnection::connectToBus(
        QDBusConnection::SessionBus, QStringLiteral("fake-notification-service")))
{
}

bool FakeNotificationService::start()
{
    received.clear();
    closed.clear();
    if (!bus.objectRegisteredAt(QLatin1String(objectPath))
        && !bus.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportAllSlots))
        return false;
    return bus.registerService(QLatin1String(serviceName));
}

void FakeNotificationService::stop()
{
    bus.unregisterService(QLatin1String(serviceName));
}

void FakeNotificationService::invokeAction(uint id, const QString &actionKey)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1String(objectPath), QLatin1String(serviceName), QStringLiteral("ActionInvoked"));
    signal << id << actionKey;
    bus.send(signal);
}

uint FakeNotificationService::Notify(const QString &application, uint, const QString &,
    const QString &summary, const QString &body, const QStringList &actions,
    const QVariantMap &hints, int timeout)
{
    received.append({ application, summary, body, actions, hints, timeout });
    return nextId++;
}

void FakeNotificationService::CloseNotification(uint id)
{
    closed.append(id);
}

QStringList FakeNotificationService::GetCapabilities()
{
    return { QStringLiteral("body") };
}
