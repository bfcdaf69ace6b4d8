#include "fakescreenservices.h"

#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

FakeInhibitingService::FakeInhibitingService(const QString &service, const QString &interface)
    : service(service)
    , interface(interface)
    , bus(QDBusConnection::connectToBus(
          service.contains("login1") ? QDBusConnection::SystemBus : QDBusConnection::SessionBus,
          QStringLiteral("fake ") + service))
{
}

FakeInhibitingService::~FakeInhibitingService()
{
    stop();
    for (int end : std::as_const(lockReadEnds))
        close(end);
}

bool FakeInhibitingService::start(const QString &objectPath, Answer mode)
{
    answerMode = mode;
    path = objectPath;
    return mode == Answer::Absent
        || (bus.registerVirtualObject(path, this) && bus.registerService(service));
}

void FakeInhibitingService::stop()
{
    bus.unregisterService(service);
    bus.unregisterObject(path);
}

int FakeInhibitingService::held() const
{
    int open = int(cookies.size());
    for (int end : lockReadEnds) {
        // Nothing is written to the pipe: it hangs up only at the lock's last close.
        pollfd lock { end, POLLIN, 0 };
        open += poll(&lock, 1, 0) == 0;
    }
    return open;
}

bool FakeInhibitingService::handleMessage(const QDBusMessage &call, const QDBusConnection &)
{
    const QVariantList arguments = call.arguments();
    if (call.interface() != interface)
        return false;
    if (call.member() != QLatin1String("Inhibit")) {
        if (call.member() == QLatin1String("SimulateUserActivity"))
            ++wakes;
        else if (call.member() == QLatin1String("UnInhibit"))
            cookies.remove(arguments.value(0).toUInt());
        else
            return false;
        return bus.send(call.createReply());
    }
    QStringList request;
    for (const QVariant &argument : arguments)
        request += argument.toString();
    requests += request.join(QLatin1Char(' '));
    QDBusMessage reply = call.createErrorReply(QDBusError::AccessDenied, QStringLiteral("Not now"));
    if (answerMode != Answer::Refusal && arguments.size() == 2) {
        cookies.insert(nextCookie);
        reply = call.createReply(nextCookie++);
    } else if (answerMode != Answer::Refusal) {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            qFatal("No pipe for the inhibitor lock");
        lockReadEnds += ends[0];
        reply = call.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[1])));
        close(ends[1]);
    }
    QTimer::singleShot(answerMode == Answer::Late ? lateAnswerMs : 0, this, [this, reply] {
        ++answers;
        bus.send(reply);
    });
    return true;
}
