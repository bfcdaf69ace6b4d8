#ifndef DORVEX_FAKESCREENSERVICES_H
#define DORVEX_FAKESCREENSERVICES_H

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QSet>
#include <QStringList>

// The desktop's screen saver (org.freedesktop.ScreenSaver) or the login manager
// (org.freedesktop.login1, whose locks are the write ends of pipes), on a bus
// connection of its own so that calls really travel through a bus. It answers
// at once, late or with a refusal, and counts what it granted and did not get back.
class FakeInhibitingService : public QDBusVirtualObject
{
public:
    // Absent: the service is not on the bus at all.
    enum class Answer { AtOnce, Late, Refusal, Absent };
    // Longer than the program waits for an answer.
    static constexpr int lateAnswerMs = 3000;

    // The login manager is on the system bus, the screen saver on the session's.
    explicit FakeInhibitingService(const QString &service);
    ~FakeInhibitingService() override { stop(); }
    bool start(const QString &path, Answer answer);
    void stop()
    {
        bus.unregisterService(service);
        bus.unregisterObject(path);
    }
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
    QList<QDBusUnixFileDescriptor> lockReadEnds;
};

#endif
