#include "launchertoken.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

namespace {

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

QByteArray LauncherToken::ofThisStart()
{
    if (onWayland())
        return qgetenv("XDG_ACTIVATION_TOKEN");
    // The X11 platform takes DESKTOP_STARTUP_ID out of the environment as
    // it starts, and keeps it.
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    const auto *startupId = native
        ? static_cast<const char *>(native->nativeResourceForIntegration("startupid"))
        : nullptr;
    return QByteArray(startupId);
}

void LauncherToken::adopt(const QByteArray &token)
{
    if (token.isEmpty())
        return;
    if (onWayland()) {
        // The Wayland platform reads it when a window asks to be activated.
        qputenv("XDG_ACTIVATION_TOKEN", token);
        return;
    }
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    const auto function
        = native ? native->nativeResourceFunctionForIntegration("setstartupid") : nullptr;
    if (!function)
        return;
    // The platform hands its functions out under one neutral type.
    using SetStartupId = void (*)(const char *);
    reinterpret_cast<SetStartupId>(reinterpret_cast<void (*)()>(function))(token.constData());
}
