#ifndef DORVEX_FAKESCREENSERVICES_H
#define DORVEX_FAKESCREENSERVICES_H

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QSet>
#include <QStringList>

// The desktop's screen saver or the login manager, on a bus connection of its
// own so that calls really travel through a bus. It answers at once, late or
// with a refusal, and counts what it has granted and not had back.
class FakeInhibitingService : public QDBusVirtualObject
{
public:
    // Absent: the service is not on the bus at all.
    enum class Answer { AtOnce, Late, Refusal, Absent };
    // Longer than the program waits for an answer.
    static constexpr int lateAnswerMs = 3000;

    explicit FakeInhibitingService(const QString &service, const QString &interface);
    ~FakeInhibitingService() override;
    bool start(const QString &path, Answer answer);
    void stop(); // leaves the bus
    // Cookies not given back, and locks of which a copy is still open.
    int held() const;

    const QString service;
    QStringList requests; // each Inhibit call's arguments
    int answers = 0;
    int wakes = 0;

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &call, const QDBusConnection &) override;

private:
    const QString interface;
    QDBusConnection bus;
    QString path;
    Answer answerMode = Answer::AtOnce;
    QSet<uint> cookies;
    uint nextCookie = 17;
    QList<int> lockReadEnds;
};

struct FakeScreenSaver : FakeInhibitingService
{
    FakeScreenSaver()
        : FakeInhibitingService("org.freedesktop.ScreenSaver", "org.freedesktop.ScreenSaver")
    {
    }
};

// Hands out the write end of a pipe as logind does its inhibitor lock.
struct FakeLoginManager : FakeInhibitingService
{
    FakeLoginManager()
        : FakeInhibitingService("org.freedesktop.login1", "org.freedesktop.login1.Manager")
    {
    }
};

#endif
