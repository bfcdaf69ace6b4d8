#include "alarmnotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLocale>
#include <QVariantMap>

static const char service[] = "org.freedesktop.Notifications";
static const char path[] = "/org/freedesktop/Notifications";

// The service's answer may come after the dialog, and this object with it,
// is gone; what is needed to take the notification back then lives here.
struct AlarmNotification::Shown
{
    uint id = 0;
    bool withdrawn = false;
};

static void closeNotification(uint id)
{
    QDBusMessage close = QDBusMessage::createMethodCall(QLatin1String(service), QLatin1String(path),
        QLatin1String(service), QStringLiteral("CloseNotification"));
    close << id;
    QDBusConnection::sessionBus().send(close);
}

AlarmNotification::AlarmNotification(QObject *parent)
    : QObject(parent)
{
}

void AlarmNotification::send(int alarmNumber, const QString &text, QTime alarmTime)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;

    const QString summary = tr("Alarm %1 at %2")
                                .arg(alarmNumber)
                                .arg(QLocale().toString(alarmTime, QStringLiteral("HH:mm:ss")));
    // Critical notifications show on lock screens and stay until taken back.
    const QVariantMap hints {
        { QStringLiteral("urgency"), QVariant::fromValue(uchar(2)) },
        { QStringLiteral("category"), QStringLiteral("alarm") },
        { QStringLiteral("desktop-entry"), QStringLiteral("org.ostrevan.dorvex") },
    };
    const int neverExpires = 0;
    QDBusMessage notify = QDBusMessage::createMethodCall(QLatin1String(service),
        QLatin1String(path), QLatin1String(service), QStringLiteral("Notify"));
    // The body may hold markup: the alarm's text is shown as typed.
    notify << QStringLiteral("Dorvex") << uint(0) << QStringLiteral("dorvex") << summary
           << text.toHtmlEscaped() << QStringList() << hints << neverExpires;

    auto state = std::make_shared<Shown>();
    shown = state;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(notify));
    connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
        [state](QDBusPendingCallWatcher *answered) {
            answered->deleteLater();
            const QDBusPendingReply<uint> reply = *answered;
            if (reply.isError())
                return;
            state->id = reply.value();
            if (state->withdrawn)
                closeNotification(state->id);
        });
}

void AlarmNotification::withdraw()
{
    if (!shown || shown->withdrawn)
        return;
    shown->withdrawn = true;
    if (shown->id != 0)
        closeNotification(shown->id);
}
