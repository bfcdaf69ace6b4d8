#include "fakenotificationservice.h"

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

uint FakeNotificationService::Notify(const QString &application, uint, const QString &,
    const QString &summary, const QString &body, const QStringList &, const QVariantMap &hints,
    int timeout)
{
    received.append({ application, summary, body, hints, timeout });
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
