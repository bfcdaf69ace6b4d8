#include "alarmnotification.h"
#include "fakenotificationservice.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QRegularExpression>

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
    FakeNotificationService service;
};

void TestAlarmNotification::initTestCase()
{
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("Needs the private session bus of run-under-x (DORVEX_SESSION_BUS=1).");
}

void TestAlarmNotification::init()
{
    QVERIFY(service.start());
}

void TestAlarmNotification::cleanup()
{
    service.stop();
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
    const uint id = service.nextId;
    {
        AlarmNotification notification;
        notification.send(2, QStringLiteral("Tea <b>& cake</b>"), QTime(7, 5, 9));
        QTRY_COMPARE(service.received.size(), 1);
        if (waitForAnswer)
            QTest::qWait(50);
        notification.withdraw();
    }

    const FakeNotificationService::Notification &note = service.received.first();
    QCOMPARE(note.application, QStringLiteral("Dorvex"));
    QVERIFY2(note.summary.contains(QLatin1Char('2')) && note.summary.contains("07:05:09"),
        qPrintable(note.summary));
    QCOMPARE(note.body, QStringLiteral("Tea &lt;b&gt;&amp; cake&lt;/b&gt;"));
    QCOMPARE(note.hints.value(QStringLiteral("urgency")).toInt(), 2);
    QCOMPARE(note.timeout, 0);
    QTRY_COMPARE(service.closed, QList<uint>({ id }));
}

void TestAlarmNotification::silentWithoutService()
{
    service.stop();
    QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.Notifications")));
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
