#include "sessionbusaddress.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

QByteArray machineId()
{
    // Where the bus library reads it, in the same order.
    for (const char *path : { "/var/lib/dbus/machine-id", "/etc/machine-id" }) {
        QFile file { QString::fromLatin1(path) };
        if (file.open(QIODevice::ReadOnly))
            return file.readLine().trimmed();
    }
    return {};
}

// Whether a bus launched for this display and user is there; nothing when
// that cannot be told, and the bus library is then left to find out.
std::optional<bool> autolaunchedBusPresent()
{
    const auto *x11
        = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    const passwd *user = getpwuid(getuid());
    const QByteArray machine = machineId();
    if (!x11 || !user || machine.isEmpty())
        return std::nullopt;
    xcb_connection_t *connection = x11->connection();
    const QByteArray selection
        = "_DBUS_SESSION_BUS_SELECTION_" + QByteArray(user->pw_name) + '_' + machine;
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection,
            xcb_intern_atom(connection, true, selection.size(), selection.constData()), nullptr),
        &std::free);
    if (!atom)
        return std::nullopt;
    // An atom nobody ever made names no selection.
    if (atom->atom == XCB_ATOM_NONE)
        return false;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    if (!owner)
        return std::nullopt;
    return owner->owner != XCB_WINDOW_NONE;
}

} // namespace

void SessionBusAddress::skipAutolaunch()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    if (autolaunchedBusPresent().value_or(true))
        return;
    // An address of a kind no bus library knows: every connection fails at
    // once, as it would have after the launch failed or found no service.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}
