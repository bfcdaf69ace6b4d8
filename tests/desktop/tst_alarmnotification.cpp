#include "alarmnotification.h"
#include "fakenotificationservice.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QRegularExpression>
#include <QSignalSpy>

// What an alarm tells the desktop's notification service, and that the
// notification is taken back however soon the alarm is dismissed.
class TestAlarmNotification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("Needs the private session bus of run-under-x (DORVEX_SESSION_BUS=1).");
    }
    void init() { QVERIFY(service.start()); }
    void cleanup() { service.stop(); }
    void sentAndWithdrawn_data();
    void sentAndWithdrawn();
    void silentWithoutService();
    void actionsComeBack_data();
    void actionsComeBack();

private:
    FakeNotificationService service;
};

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

void TestAlarmNotification::actionsComeBack_data()
{
    QTest::addColumn<uint>("idOffset");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<int>>("expected"); // snoozes, dismissals, calls to the front

    QTest::newRow("Snooze") << 0u << "snooze" << QList<int> { 1, 0, 0 };
    QTest::newRow("Dismiss") << 0u << "dismiss" << QList<int> { 0, 1, 0 };
    QTest::newRow("the notification clicked") << 0u << "default" << QList<int> { 0, 0, 1 };
    QTest::newRow("another program's notification") << 1u << "snooze" << QList<int> { 0, 0, 0 };
    QTest::newRow("an action not offered") << 0u << "open" << QList<int> { 0, 0, 0 };
}

void TestAlarmNotification::actionsComeBack()
{
    QFETCH(uint, idOffset);
    QFETCH(QString, action);
    QFETCH(QList<int>, expected);
    const uint id = service.nextId;
    AlarmNotification notification;
    QSignalSpy snoozes(&notification, &AlarmNotification::snoozeRequested);
    QSignalSpy dismissals(&notification, &AlarmNotification::dismissRequested);
    QSignalSpy fronts(&notification, &AlarmNotification::frontRequested);
    notification.send(1, QStringLiteral("Tea"), QTime(7, 0));
    QTRY_COMPARE(service.received.size(), 1);
    QCOMPARE(service.received.first().actions,
        QStringList({ "snooze", "Snooze", "dismiss", "Dismiss", "default", "" }));

    service.invokeAction(id + idOffset, action);
    // The bus keeps one sender's messages in order: once this click is heard, so was the action.
    service.invokeAction(id, QStringLiteral("default"));
    QTRY_COMPARE(fronts.size(), expected[2] + 1);
    QCOMPARE(snoozes.size(), expected[0]);
    QCOMPARE(dismissals.size(), expected[1]);
}

DORVEX_TEST_MAIN(TestAlarmNotification)

#include "tst_alarmnotification.moc"
