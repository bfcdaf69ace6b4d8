#include "alarmnotification.h"

#include "notificationservice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLocale>
#include <QVariantMap>

static const char service[] = "org.freedesktop.Notifications";
static const char path[] = "/org/freedesktop/Notifications";
static const char snoozeAction[] = "snooze";
static const char dismissAction[] = "dismiss";
// What the service reports when the notification itself is clicked.
static const char defaultAction[] = "default";

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
    const QStringList actions { QLatin1String(snoozeAction), tr("Snooze"),
        QLatin1String(dismissAction), tr("Dismiss"), QLatin1String(defaultAction), QString() };
    const int neverExpires = 0;
    QDBusMessage notify = QDBusMessage::createMethodCall(QLatin1String(service),
        QLatin1String(path), QLatin1String(service), QStringLiteral("Notify"));
    // The body may hold markup: the alarm's text is shown as typed.
    notify << QStringLiteral("Dorvex") << uint(0) << QStringLiteral("dorvex") << summary
           << text.toHtmlEscaped() << actions << hints << neverExpires;

    if (!serviceSignals) {
        serviceSignals = new OrgFreedesktopNotificationsInterface(
            QLatin1String(service), QLatin1String(path), bus, this);
        connect(serviceSignals, &OrgFreedesktopNotificationsInterface::ActionInvoked, this,
            &AlarmNotification::takeAction);
    }

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

void AlarmNotification::takeAction(uint id, const QString &action)
{
    // The service tells every program of every notification's actions.
    if (!shown || shown->withdrawn || shown->id == 0 || id != shown->id)
        return;
    if (action == QLatin1String(snoozeAction))
        emit snoozeRequested();
    else if (action == QLatin1String(dismissAction))
        emit dismissRequested();
    else if (action == QLatin1String(defaultAction))
        emit frontRequested();
}
