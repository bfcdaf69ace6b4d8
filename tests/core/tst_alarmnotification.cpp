#include "alarmnotification.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QRegularExpression>

namespace {

const char serviceName[] = "org.freedesktop.Notifications";
const char objectPath[] = "/org/freedesktop/Notifications";

struct Received
{
    QString application;
    QString summary;
    QString body;
    QVariantMap hints;
    int timeout;
};

} // namespace

// A notification service as desktops have it, on a bus connection of its own
// so that the calls really travel through the bus.
class FakeNotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QList<Received> received;
    QList<uint> closed;

public slots:
    uint Notify(const QString &application, uint, const QString &, const QString &summary,
        const QString &body, const QStringList &, const QVariantMap &hints, int timeout)
    {
        received.append({ application, summary, body, hints, timeout });
        return 40 + uint(received.size());
    }
    void CloseNotification(uint id) { closed.append(id); }
    QStringList GetCapabilities() { return { QStringLiteral("body") }; }
};

// What an alarm tells the desktop's notification service, and that the
// notification is taken back however soon the alarm is dismissed.
class TestAlarmNotification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sentAndWithdrawn_data();
    void sentAndWithdrawn();
    void silentWithoutService();

private:
    QDBusConnection serviceBus { QString() };
    FakeNotificationService service;
};

void TestAlarmNotification::initTestCase()
{
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("Needs the private session bus of run-under-x (DORVEX_SESSION_BUS=1).");
    serviceBus = QDBusConnection::connectToBus(
        QDBusConnection::SessionBus, QStringLiteral("fake-notification-service"));
    QVERIFY(serviceBus.isConnected());
    QVERIFY(serviceBus.registerObject(
        QLatin1String(objectPath), &service, QDBusConnection::ExportAllSlots));
}

void TestAlarmNotification::init()
{
    QVERIFY(serviceBus.registerService(QLatin1String(serviceName)));
    service.received.clear();
    service.closed.clear();
}

void TestAlarmNotification::cleanup()
{
    serviceBus.unregisterService(QLatin1String(serviceName));
}

void TestAlarmNotification::sentAndWithdrawn_data()
{
    QTest::addColumn<bool>("waitForAnswer");
    QTest::newRow("dismissed after the service answered") << true;
    QTest::newRow("dismissed at once, the notifier gone") << false;
}

void TestAlarmNotification::sentAndWithdrawn()
{
    QFETCH(bool, waitForAnswer);
    {
        AlarmNotification notification;
        notification.send(2, QStringLiteral("Tea <b>& cake</b>"), QTime(7, 5, 9));
        QTRY_COMPARE(service.received.size(), 1);
        if (waitForAnswer)
            QTest::qWait(50);
        notification.withdraw();
    }

    const Received &note = service.received.first();
    QCOMPARE(note.application, QStringLiteral("Dorvex"));
    QVERIFY2(note.summary.contains(QLatin1Char('2')) && note.summary.contains("07:05:09"),
        qPrintable(note.summary));
    QCOMPARE(note.body, QStringLiteral("Tea &lt;b&gt;&amp; cake&lt;/b&gt;"));
    QCOMPARE(note.hints.value(QStringLiteral("urgency")).toInt(), 2);
    QCOMPARE(note.timeout, 0);
    QTRY_COMPARE(service.closed, QList<uint>({ 41 }));
}

void TestAlarmNotification::silentWithoutService()
{
    serviceBus.unregisterService(QLatin1String(serviceName));
    QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QLatin1String(serviceName)));
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));

    AlarmNotification notification;
    notification.send(1, QStringLiteral("Tea"), QTime(7, 0));
    // The error answer comes back through the bus; give it time to arrive.
    QTest::qWait(200);
    notification.withdraw();
    QVERIFY(service.received.isEmpty());
}

DORVEX_TEST_MAIN(TestAlarmNotification)

#include "tst_alarmnotification.moc"
