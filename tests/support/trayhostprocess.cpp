#include "trayhostprocess.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QTest>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const int waitLimitMs = 10000;
const int waitStepMs = 20;

// Runs the event loop while waiting: the program under test may live in
// this very process and has to answer the host meanwhile.
template<typename Condition> bool waitFor(Condition condition)
{
    for (int waited = 0; waited < waitLimitMs; waited += waitStepMs) {
        if (condition())
            return true;
        QTest::qWait(waitStepMs);
    }
    return condition();
}

QDBusMessage askPanel(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(watcherService,
        QStringLiteral("/TestPanel"), QStringLiteral("org.dorvex.TestPanel"), method);
    message.setArguments(arguments);
    QDBusPendingCall call = QDBusConnection::sessionBus().asyncCall(message, waitLimitMs);
    waitFor([&call] { return call.isFinished(); });
    return call.reply();
}

bool watcherOnBus()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(watcherService);
}

} // namespace

TrayHostProcess::TrayHostProcess(Kind kind)
    : kind(kind)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

TrayHostProcess::~TrayHostProcess()
{
    stop();
}

TrayHostProcess::Kind TrayHostProcess::kindFromEnvironment()
{
    return qEnvironmentVariable("DORVEX_TEST_TRAY_HOST") == QLatin1String("statusnotifier")
        ? Kind::StatusNotifier
        : Kind::XEmbed;
}

bool TrayHostProcess::start()
{
    if (kind == Kind::XEmbed) {
        // As the harness runs it.
        process.start(QStringLiteral("trayer"),
            { "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "120",
                "--height", "24", "--SetDockType", "true", "--transparent", "false" });
        return process.waitForStarted() && waitFor([this] { return trayManagerPresent(); });
    }
    QStringList arguments;
    if (kind == Kind::SilentStatusNotifier)
        arguments << QStringLiteral("--silent");
    if (kind == Kind::LateStatusNotifier)
        arguments << QStringLiteral("--silent-for") << QStringLiteral("1000");
    process.start(QStringLiteral(DORVEX_STATUS_NOTIFIER_HOST), arguments);
    return process.waitForStarted()
        && waitFor([this] { return process.canReadLine() || process.state() != QProcess::Running; })
        && process.readLine().trimmed() == "ready";
}

void TrayHostProcess::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(waitLimitMs)) {
        process.kill();
        process.waitForFinished();
    }
    if (kind == Kind::XEmbed)
        waitFor([this] { return !trayManagerPresent(); });
    else
        waitFor([] { return !watcherOnBus(); });
}

bool TrayHostProcess::trayManagerPresent() const
{
    QProcess xprop;
    xprop.start(QStringLiteral("xwininfo"), { "-root", "-tree" });
    xprop.waitForFinished(waitLimitMs);
    return xprop.readAllStandardOutput().contains("\"panel\"");
}

QStringList TrayHostProcess::items() const
{
    const QDBusMessage reply = askPanel(QStringLiteral("Items"));
    return reply.arguments().value(0).toStringList();
}

void TrayHostProcess::activate(const QString &item) const
{
    askPanel(QStringLiteral("Activate"), { item });
}

TrayHostProcess::Icon TrayHostProcess::icon(const QString &item) const
{
    const QDBusMessage reply = askPanel(QStringLiteral("Icon"), { item });
    Icon icon;
    icon.name = reply.arguments().value(0).toString();
    const QVariant sizes = reply.arguments().value(1);
    if (sizes.userType() == qMetaTypeId<QDBusArgument>())
        sizes.value<QDBusArgument>() >> icon.pictureSizes;
    else
        icon.pictureSizes = sizes.value<QList<int>>();
    return icon;
}
