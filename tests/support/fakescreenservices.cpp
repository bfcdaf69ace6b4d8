#include "fakescreenservices.h"

#include <QDBusMessage>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

FakeInhibitingService::FakeInhibitingService(
    QDBusConnection::BusType busType, const QString &service)
    : service(service)
    , bus(QDBusConnection::connectToBus(busType, QStringLiteral("fake ") + service))
{
}

bool FakeInhibitingService::start(const QString &objectPath, Answer mode)
{
    answerMode = mode;
    path = objectPath;
    if (mode == Answer::Absent)
        return true;
    return bus.registerObject(path, this, QDBusConnection::ExportScriptableSlots)
        && bus.registerService(service);
}

void FakeInhibitingService::stop()
{
    requests.clear();
    answers = 0;
    wakes = 0;
    bus.unregisterService(service);
    if (!path.isEmpty())
        bus.unregisterObject(path);
}

void FakeInhibitingService::answer(const QVariant &granted)
{
    setDelayedReply(true);
    const QDBusMessage reply = refuses()
        ? message().createErrorReply(QDBusError::AccessDenied, QStringLiteral("Not now"))
        : message().createReply(granted);
    QTimer::singleShot(answerMode == Answer::Late ? lateAnswerMs : 0, this, [this, reply] {
        ++answers;
        bus.send(reply);
    });
}

FakeScreenSaver::FakeScreenSaver()
    : FakeInhibitingService(
        QDBusConnection::SessionBus, QStringLiteral("org.freedesktop.ScreenSaver"))
{
}

void FakeScreenSaver::SimulateUserActivity()
{
    ++wakes;
}

uint FakeScreenSaver::Inhibit(const QString &application, const QString &reason)
{
    requests.append(application + QLatin1String(": ") + reason);
    if (refuses()) {
        answer({});
        return 0;
    }
    held.insert(nextCookie);
    answer(nextCookie++);
    return 0;
}

void FakeScreenSaver::UnInhibit(uint cookie)
{
    held.remove(cookie);
}

FakeLoginManager::FakeLoginManager()
    : FakeInhibitingService(QDBusConnection::SystemBus, QStringLiteral("org.freedesktop.login1"))
{
}

QDBusUnixFileDescriptor FakeLoginManager::Inhibit(
    const QString &what, const QString &who, const QString &why, const QString &mode)
{
    requests.append(QStringList { what, who, why, mode }.join(QLatin1Char(' ')));
    if (refuses()) {
        answer({});
        return {};
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        qFatal("No pipe for the inhibitor lock");
    const QDBusUnixFileDescriptor lock(ends[1]);
    close(ends[1]);
    ++held;
    auto *closing = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
    connect(closing, &QSocketNotifier::activated, this, [this, closing] {
        char byte;
        if (read(int(closing->socket()), &byte, 1) > 0)
            return;
        --held;
        closing->setEnabled(false);
        close(int(closing->socket()));
        closing->deleteLater();
    });
    answer(QVariant::fromValue(lock));
    return lock;
}
