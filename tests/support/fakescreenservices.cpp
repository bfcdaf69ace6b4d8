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
    requests.clear();
    answers = wakes = 0;
    bus.unregisterService(service);
    if (!path.isEmpty())
        bus.unregisterObject(path);
}

bool FakeInhibitingService::grants(const QString &request)
{
    requests.append(request);
    if (answerMode == Answer::Refusal)
        answer({});
    return answerMode != Answer::Refusal;
}

void FakeInhibitingService::answer(const QVariant &granted)
{
    setDelayedReply(true);
    const QDBusMessage reply = answerMode == Answer::Refusal
        ? message().createErrorReply(QDBusError::AccessDenied, QStringLiteral("Not now"))
        : message().createReply(granted);
    QTimer::singleShot(answerMode == Answer::Late ? lateAnswerMs : 0, this, [this, reply] {
        ++answers;
        bus.send(reply);
    });
}

uint FakeScreenSaver::Inhibit(const QString &application, const QString &reason)
{
    if (grants(application + QLatin1String(": ") + reason)) {
        held.insert(nextCookie);
        answer(nextCookie++);
    }
    return 0;
}

QDBusUnixFileDescriptor FakeLoginManager::Inhibit(
    const QString &what, const QString &who, const QString &why, const QString &mode)
{
    if (!grants(QStringList { what, who, why, mode }.join(QLatin1Char(' '))))
        return {};
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        qFatal("No pipe for the inhibitor lock");
    const QDBusUnixFileDescriptor lock(ends[1]);
    close(ends[1]);
    ++held;
    // Nothing is written to the pipe: its read end wakes only at the lock's last close.
    auto *closing = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
    connect(closing, &QSocketNotifier::activated, this, [this, closing] {
        --held;
        closing->setEnabled(false);
        close(int(closing->socket()));
        closing->deleteLater();
    });
    answer(QVariant::fromValue(lock));
    return lock;
}
