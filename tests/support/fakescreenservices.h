#ifndef DORVEX_FAKESCREENSERVICES_H
#define DORVEX_FAKESCREENSERVICES_H

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QSet>
#include <QStringList>

// The desktop's screen saver and the login manager, each on a bus connection
// of its own so that calls really travel through a bus; they answer at once,
// late or with a refusal, and count what they have granted and not had back.
class FakeInhibitingService : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    // Absent: the service is not on the bus at all.
    enum class Answer { AtOnce, Late, Refusal, Absent };
    // Longer than the program waits for an answer.
    static constexpr int lateAnswerMs = 3000;

    FakeInhibitingService(QDBusConnection::BusType busType, const QString &service);
    ~FakeInhibitingService() override { stop(); }
    bool start(const QString &path, Answer answer);
    void stop(); // leaves the bus

    const QString service;
    QStringList requests;
    int answers = 0;
    int wakes = 0;

protected:
    // Records the call being served and answers it as set; false when refused.
    bool answer(const QString &request, const QVariant &granted);

private:
    QDBusConnection bus;
    QString path;
    Answer answerMode = Answer::AtOnce;
};

class FakeScreenSaver : public FakeInhibitingService
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    FakeScreenSaver()
        : FakeInhibitingService(QDBusConnection::SessionBus, "org.freedesktop.ScreenSaver")
    {
    }

    QSet<uint> held;

public slots:
    Q_SCRIPTABLE void SimulateUserActivity() { ++wakes; }
    Q_SCRIPTABLE uint Inhibit(const QString &application, const QString &reason);
    Q_SCRIPTABLE void UnInhibit(uint cookie) { held.remove(cookie); }

private:
    uint nextCookie = 17;
};

// Hands out the write end of a pipe as logind does its inhibitor lock, and
// counts a lock as held until every copy of it is closed.
class FakeLoginManager : public FakeInhibitingService
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    FakeLoginManager()
        : FakeInhibitingService(QDBusConnection::SystemBus, "org.freedesktop.login1")
    {
    }

    int held = 0;

public slots:
    Q_SCRIPTABLE QDBusUnixFileDescriptor Inhibit(
        const QString &what, const QString &who, const QString &why, const QString &mode);
};

#endif
