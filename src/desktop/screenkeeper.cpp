#include "screenkeeper.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/dpms.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

const QString screenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
// Desktops offer the screen saver at one or both of these paths.
const QStringList screenSaverPaths
    = { QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver") };
const QString applicationName = QStringLiteral("Dorvex");
const QString inhibitReason = QStringLiteral("An alarm is ringing");

// The answers are waited for far longer than the ring waits for them, so
// that what a slow service grants still reaches us and is given back.
constexpr int lateAnswerTimeoutMs = 60 * 1000;

template<typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_connection_t *x11Connection()
{
    const auto *x11
        = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

bool hasExtension(xcb_connection_t *connection, xcb_extension_t *extension)
{
    const xcb_query_extension_reply_t *data = xcb_get_extension_data(connection, extension);
    return data && data->present;
}

QDBusMessage screenSaverCall(const QString &path, const QString &method)
{
    return QDBusMessage::createMethodCall(screenSaverService, path, screenSaverService, method);
}

void unInhibitScreenSaver(const QString &path, uint cookie)
{
    QDBusMessage unInhibit = screenSaverCall(path, QStringLiteral("UnInhibit"));
    unInhibit << cookie;
    QDBusConnection::sessionBus().send(unInhibit);
}

bool isMissingObject(QDBusError::ErrorType error)
{
    return error == QDBusError::UnknownObject || error == QDBusError::UnknownInterface
        || error == QDBusError::UnknownMethod;
}

} // namespace

// What one stretch of ringing holds. The bus answers keep it alive, and
// when one comes after the stretch was released, what it grants is given
// back at once.
struct ScreenKeeper::Hold
{
    bool released = false;
    QString screenSaverPath;
    uint screenSaverCookie = 0;
    bool screenSaverInhibited = false;
    // logind keeps the computer awake until every copy of this is closed.
    QDBusUnixFileDescriptor sleepLock;
};

ScreenKeeper::ScreenKeeper(QObject *parent)
    : ScreenKeeper(Timing(), parent)
{
}

ScreenKeeper::ScreenKeeper(Timing timing, QObject *parent)
    : QObject(parent)
{
    // Connecting to a bus waits for its daemon's greeting: that is done
    // here, long before a ring.
    QDBusConnection::sessionBus();
    QDBusConnection::systemBus();

    patienceTimer.setSingleShot(true);
    patienceTimer.setInterval(timing.answerPatienceMs);
    connect(&patienceTimer, &QTimer::timeout, this, &ScreenKeeper::warnIfScreenNotKept);

    x11ResetTimer.setInterval(timing.screenSaverResetIntervalMs);
    connect(&x11ResetTimer, &QTimer::timeout, this, [] {
        if (xcb_connection_t *connection = x11Connection()) {
            xcb_force_screen_saver(connection, XCB_SCREEN_SAVER_RESET);
            xcb_flush(connection);
        }
    });

    if (xcb_connection_t *connection = x11Connection()) {
        xcb_prefetch_extension_data(connection, &xcb_dpms_id);
        if (hasExtension(connection, &xcb_screensaver_id)) {
            const ReplyPointer<xcb_screensaver_query_version_reply_t> version(
                xcb_screensaver_query_version_reply(
                    connection, xcb_screensaver_query_version(connection, 1, 1), nullptr),
                &std::free);
            // Suspending came with version 1.1 of the extension.
            x11ScreenSaverSuspendable = version
                && (version->server_major_version > 1
                    || (version->server_major_version == 1 && version->server_minor_version >= 1));
        }
    }
}

ScreenKeeper::~ScreenKeeper()
{
    if (rings > 0) {
        rings = 1;
        end();
    }
}

void ScreenKeeper::begin()
{
    if (rings++ > 0)
        return;

    hold = std::make_shared<Hold>();
    keepX11ScreenOn();
    askScreenSaver(0);

    QDBusMessage inhibit = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("sleep:idle") << applicationName << inhibitReason
            << QStringLiteral("block");
    auto *watcher = new QDBusPendingCallWatcher(
        QDBusConnection::systemBus().asyncCall(inhibit, lateAnswerTimeoutMs));
    connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
        [state = hold](QDBusPendingCallWatcher *answered) {
            answered->deleteLater();
            const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *answered;
            // A lock granted after the ring has ended is closed with the reply.
            if (!reply.isError() && !state->released)
                state->sleepLock = reply.value();
        });

    patienceTimer.start();
}

void ScreenKeeper::end()
{
    if (rings == 0 || --rings > 0)
        return;

    patienceTimer.stop();
    releaseX11Screen();
    hold->released = true;
    if (hold->screenSaverInhibited)
        unInhibitScreenSaver(hold->screenSaverPath, hold->screenSaverCookie);
    hold->sleepLock = QDBusUnixFileDescriptor();
    hold.reset();
}

void ScreenKeeper::keepX11ScreenOn()
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;

    // Resetting wakes a blanked screen and restarts the blanking timer.
    xcb_force_screen_saver(connection, XCB_SCREEN_SAVER_RESET);
    if (hasExtension(connection, &xcb_dpms_id)) {
        const ReplyPointer<xcb_dpms_info_reply_t> info(
            xcb_dpms_info_reply(connection, xcb_dpms_info(connection), nullptr), &std::free);
        // With power management disabled the monitor is on, and forcing a
        // level would be refused.
        if (info && info->state)
            xcb_dpms_force_level(connection, XCB_DPMS_DPMS_MODE_ON);
    }
    if (x11ScreenSaverSuspendable)
        xcb_screensaver_suspend(connection, 1);
    else
        x11ResetTimer.start();
    xcb_flush(connection);
    x11ScreenKept = true;
}

void ScreenKeeper::releaseX11Screen()
{
    if (!x11ScreenKept)
        return;
    x11ScreenKept = false;
    x11ResetTimer.stop();
    xcb_connection_t *connection = x11Connection();
    if (connection && x11ScreenSaverSuspendable) {
        xcb_screensaver_suspend(connection, 0);
        xcb_flush(connection);
    }
}

void ScreenKeeper::warnIfScreenNotKept()
{
    if (x11ScreenKept || (hold && hold->screenSaverInhibited))
        return;
    // Every ring would say the same; once a run is enough.
    static bool warned = false;
    if (warned)
        return;
    warned = true;
    qWarning("Dorvex: the screen cannot be woken or kept on while an alarm rings: no screen "
             "saver service answered.");
}

void ScreenKeeper::askScreenSaver(int pathIndex)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString path = screenSaverPaths.at(pathIndex);
    bus.send(screenSaverCall(path, QStringLiteral("SimulateUserActivity")));

    QDBusMessage inhibit = screenSaverCall(path, QStringLiteral("Inhibit"));
    inhibit << applicationName << inhibitReason;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(inhibit, lateAnswerTimeoutMs));
    // The answer may come after this keeper is gone; while the hold is not
    // released, the keeper is there.
    connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
        [this, state = hold, pathIndex, path](QDBusPendingCallWatcher *call) {
            call->deleteLater();
            const QDBusPendingReply<uint> reply = *call;
            if (state->released) {
                if (!reply.isError())
                    unInhibitScreenSaver(path, reply.value());
                return;
            }
            if (reply.isError()) {
                if (isMissingObject(reply.error().type())
                    && pathIndex + 1 < screenSaverPaths.size())
                    askScreenSaver(pathIndex + 1);
                else
                    warnIfScreenNotKept();
                return;
            }
            state->screenSaverPath = path;
            state->screenSaverCookie = reply.value();
            state->screenSaverInhibited = true;
            patienceTimer.stop();
        });
}
