#include "trayhostwatcher.h"

#include <QAbstractEventDispatcher>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString watcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");

// The toolkit's choice is made once per process, and so is this record of it.
TrayHostWatcher::Protocol processProtocol = TrayHostWatcher::Protocol::None;

template<typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_connection_t *x11Connection()
{
    const auto *x11
        = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

TrayHostWatcher::TrayHostWatcher(QObject *parent)
    : TrayHostWatcher(Timing(), parent)
{
}

TrayHostWatcher::TrayHostWatcher(Timing timing, QObject *parent)
    : QObject(parent)
    , timing(timing)
{
    retryTimer.setSingleShot(true);
    retryTimer.setInterval(timing.retryIntervalMs);
    connect(&retryTimer, &QTimer::timeout, this, &TrayHostWatcher::askStatusNotifierWatcher);
    watchXEmbedSelection();
    watchStatusNotifierHost();
}

TrayHostWatcher::~TrayHostWatcher()
{
    if (selectionNotifyEvent >= 0)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

TrayHostWatcher::Protocol TrayHostWatcher::usableProtocol() const
{
    // Until the bus has answered, an X tray may be only the stand-in that a
    // StatusNotifier desktop offers to older programs. While a watcher is on
    // the bus but does not answer, the toolkit's first tray call would wait
    // for it without a timeout of ours, so none is made.
    if (processProtocol == Protocol::None && (!statusNotifierSettled || statusNotifierSilent))
        return Protocol::None;
    switch (processProtocol) {
    case Protocol::StatusNotifier:
        return statusNotifierHost ? Protocol::StatusNotifier : Protocol::None;
    case Protocol::XEmbed:
        return xembedTray ? Protocol::XEmbed : Protocol::None;
    case Protocol::None:
        break;
    }
    // The toolkit prefers a StatusNotifier host when it has a choice.
    if (statusNotifierHost)
        return Protocol::StatusNotifier;
    return xembedTray ? Protocol::XEmbed : Protocol::None;
}

void TrayHostWatcher::commitProtocol()
{
    if (processProtocol == Protocol::None)
        processProtocol = usableProtocol();
}

TrayHostWatcher::Protocol TrayHostWatcher::committedProtocol()
{
    return processProtocol;
}

void TrayHostWatcher::watchStatusNotifierHost()
{
    // Without an address the bus library would start a bus of its own,
    // on which no panel can be.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    statusNotifierSettled = false;
    auto *owners = new QDBusServiceWatcher(
        watcherService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owners, &QDBusServiceWatcher::serviceOwnerChanged, this,
        &TrayHostWatcher::askStatusNotifierWatcher);
    // The bus takes its receivers' slots by name only.
    for (const char *signal : { "StatusNotifierHostRegistered", "StatusNotifierHostUnregistered" })
        bus.connect(watcherService, watcherPath, watcherInterface, QLatin1String(signal), this,
            SLOT(askStatusNotifierWatcher()));
    askStatusNotifierWatcher();
}

void TrayHostWatcher::askStatusNotifierWatcher()
{
    retryTimer.stop();
    const quint64 question = ++questionsAsked;
    QDBusMessage get = QDBusMessage::createMethodCall(watcherService, watcherPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
    auto *call = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(get, timing.answerTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
        [this, question](QDBusPendingCallWatcher *finished) {
            finished->deleteLater();
            // Only the latest question counts: the host may have come and
            // gone again while an earlier one was on its way.
            if (question != questionsAsked)
                return;
            const QDBusPendingReply<QDBusVariant> reply = *finished;
            const QDBusError::ErrorType error = reply.error().type();
            const bool silent = error == QDBusError::NoReply || error == QDBusError::Timeout;
            answerStatusNotifierQuestion(
                !reply.isError() && reply.value().variant().toBool(), silent);
        });
}

void TrayHostWatcher::answerStatusNotifierQuestion(bool hostRegistered, bool watcherSilent)
{
    // A watcher that is there but busy or hung is asked again later; one
    // that answered, or is not there, tells of changes itself.
    if (watcherSilent)
        retryTimer.start();
    const bool firstAnswer = !statusNotifierSettled;
    const Protocol before = usableProtocol();
    statusNotifierSettled = true;
    statusNotifierSilent = watcherSilent;
    statusNotifierHost = hostRegistered;
    if (usableProtocol() != before)
        emit availabilityChanged();
    if (firstAnswer)
        emit settled();
}

void TrayHostWatcher::watchXEmbedSelection()
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    // The screen the display name picks, as the toolkit's connection does.
    char *host = nullptr;
    int display = 0;
    int screenNumber = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screenNumber))
        screenNumber = 0;
    std::free(host);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int skipped = 0; skipped < screenNumber && screens.rem > 1; ++skipped)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;

    const QByteArray selectionName = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screenNumber);
    const ReplyPointer<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection,
            xcb_intern_atom(connection, false, selectionName.size(), selectionName.constData()),
            nullptr),
        &std::free);
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (!atom || !xfixes || !xfixes->present)
        return;
    const ReplyPointer<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(connection,
            xcb_xfixes_query_version(
                connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr),
        &std::free);
    if (!version)
        return;

    trayManagerSelection = atom->atom;
    selectionNotifyEvent = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    QCoreApplication::instance()->installNativeEventFilter(this);
    xcb_xfixes_select_selection_input(connection, root, trayManagerSelection,
        XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
            | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
            | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    // Asked after the events are selected, so that no change falls between.
    const ReplyPointer<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, trayManagerSelection), nullptr),
        &std::free);
    xembedTray = owner && owner->owner != XCB_WINDOW_NONE;
}

bool TrayHostWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != selectionNotifyEvent)
        return false;
    const auto *notify = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
    if (notify->selection == trayManagerSelection)
        setHosts(statusNotifierHost,
            notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER
                && notify->owner != XCB_WINDOW_NONE);
    // The toolkit watches selections of its own through the same events.
    return false;
}

void TrayHostWatcher::setHosts(bool statusNotifier, bool xembed)
{
    const Protocol before = usableProtocol();
    statusNotifierHost = statusNotifier;
    xembedTray = xembed;
    if (usableProtocol() != before)
        emit availabilityChanged();
}
