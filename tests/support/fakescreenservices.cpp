#include "fakescreenservices.h"

#include <QDBusMessage>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

FakeInhibitingService::FakeInhibitingService(const QString &service)
    : service(service)
    , interface(service.endsWith("login1") ? service + ".Manager" : service)
    , bus(QDBusConnection::connectToBus(
          service == interface ? QDBusConnection::SessionBus : QDBusConnection::SystemBus,
          QStringLiteral("fake ") + service))
{
}

bool FakeInhibitingService::start(const QString &objectPath, Answer mode)
{
    answerMode = mode;
    path = objectPath;
    return mode == Answer::Absent
        || (bus.registerVirtualObject(path, this) && bus.registerService(service));
}

int FakeInhibitingService::held() const
{
    int open = int(cookies.size());
    for (const QDBusUnixFileDescriptor &end : lockReadEnds) {
        // Nothing is written to the pipe: it hangs up only at the lock's last close.
        pollfd lock { end.fileDescriptor(), POLLIN, 0 };
        open += poll(&lock, 1, 0) == 0;
    }
    return open;
}

bool FakeInhibitingService::handleMessage(const QDBusMessage &call, const QDBusConnection &)
{
    const QVariantList arguments = call.arguments();
    if (call.interface() != interface)
        return false;
    if (call.member() == QLatin1String("SimulateUserActivity"))
        ++wakes;
    else if (call.member() == QLatin1String("UnInhibit"))
        cookies.remove(arguments.value(0).toUInt());
    if (call.member() != QLatin1String("Inhibit"))
        return bus.send(call.createReply());
    requests += QVariant(arguments).toStringList().join(QLatin1Char(' '));
    const bool refused = answerMode == Answer::Refusal;
    QVariant granted = nextCookie;
    if (arguments.size() == 4) { // a lock: one unsent or refused hangs up at once
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            qFatal("No pipe for the inhibitor lock");
        lockReadEnds.emplace_back().giveFileDescriptor(ends[0]);
        granted = QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
        close(ends[1]);
    } else if (!refused) {
        cookies.insert(nextCookie++);
    }
    const QDBusMessage reply = refused
        ? call.createErrorReply(QDBusError::AccessDenied, QStringLiteral("Not now"))
        : call.createReply(granted);
    QTimer::singleShot(answerMode == Answer::Late ? lateAnswerMs : 0, this, [this, reply] {
        ++answers;
        bus.send(reply);
    });
    return true;
}
