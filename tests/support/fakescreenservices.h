#ifndef DORVEX_FAKESCREENSERVICES_H
#define DORVEX_FAKESCREENSERVICES_H

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QSet>
#include <QStringList>

// The desktop's screen saver and the login manager as a test needs them:
// each on a bus connection of its own, so that calls to it really travel
// through a bus, answering at once, late or with a refusal, and keeping
// count of what they have granted and not yet been given back.
class FakeInhibitingService : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    // Absent: the service is not on the bus at all.
    enum class Answer { AtOnce, Late, Refusal, Absent };
    // How long a late answer takes: longer than the program waits for one.
    static constexpr int lateAnswerMs = 3000;

    FakeInhibitingService(QDBusConnection::BusType busType, const QString &service);

    // Takes the service's name and offers its object at `path`.
    bool start(const QString &path, Answer answer);
    // Leaves the bus and forgets what was asked; what is held stays counted.
    void stop();

    const QString service;
    QStringList requests;
    int answers = 0;
    int wakes = 0;

protected:
    bool refuses() const { return answerMode == Answer::Refusal; }
    // Answers the call being served with `granted`, or with a refusal, as
    // the service is set to.
    void answer(const QVariant &granted);

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
    FakeScreenSaver();

    QSet<uint> held;

public slots:
    Q_SCRIPTABLE void SimulateUserActivity();
    Q_SCRIPTABLE uint Inhibit(const QString &application, const QString &reason);
    Q_SCRIPTABLE void UnInhibit(uint cookie);

private:
    uint nextCookie = 17;
};

// Hands out the read end of a pipe as logind does its inhibitor lock, and
// counts a lock as held until every copy of the other end is closed.
class FakeLoginManager : public FakeInhibitingService
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    FakeLoginManager();

    int held = 0;

public slots:
    Q_SCRIPTABLE QDBusUnixFileDescriptor Inhibit(
        const QString &what, const QString &who, const QString &why, const QString &mode);
};

#endif
