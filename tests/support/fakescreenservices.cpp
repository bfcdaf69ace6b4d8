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
    return mode == Answer::Absent
        || (bus.registerObject(path, this, QDBusConnection::ExportScriptableSlots)
            && bus.registerService(service));
}

void FakeInhibitingService::stop()
{
    bus.unregisterService(service);
    bus.unregisterObject(path);
}

bool FakeInhibitingService::answer(const QString &request, const QVariant &granted)
{
    requests.append(request);
    setDelayedReply(true);
    const QDBusMessage reply = answerMode == Answer::Refusal
        ? message().createErrorReply(QDBusError::AccessDenied, QStringLiteral("Not now"))
        : message().createReply(granted);
    QTimer::singleShot(answerMode == Answer::Late ? lateAnswerMs : 0, this, [this, reply] {
        ++answers;
        bus.send(reply);
    });
    return answerMode != Answer::Refusal;
}

uint FakeScreenSaver::Inhibit(const QString &application, const QString &reason)
{
    if (answer(application + QLatin1String(": ") + reason, nextCookie))
        held.insert(nextCookie++);
    return 0;
}

QDBusUnixFileDescriptor FakeLoginManager::Inhibit(
    const QString &what, const QString &who, const QString &why, const QString &mode)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        qFatal("No pipe for the inhibitor lock");
    const QDBusUnixFileDescriptor lock(ends[1]);
    close(ends[1]);
    if (!answer(QStringList { what, who, why, mode }.join(QLatin1Char(' ')),
            QVariant::fromValue(lock))) {
        close(ends[0]);
        return {};
    }
    ++held;
    // Nothing is written to the pipe: its read end wakes only at the lock's last close.
    auto *closing = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
    connect(closing, &QSocketNotifier::activated, this, [this, closing] {
        --held;
        closing->setEnabled(false);
        close(int(closing->socket()));
        closing->deleteLater();
    });
    return lock;
}
