#include "desktopsession.h"
#include "fakenotificationservice.h"
#include "testenvironment.h"

#include <QApplication>

// A real alarm of the running program, seen by the desktop's notification
// service of a private session bus: sent as the alarm shows, taken back when
// it is clicked away or snoozed. Snoozed, the alarm is kept in the store at
// once and rings again when the program's clock has run on by its minute.
class TestE2eNotification : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::instance().reset(); }
    void alarmNotifiesUntilDismissedOrSnoozed_data();
    void alarmNotifiesUntilDismissedOrSnoozed();
};

void TestE2eNotification::alarmNotifiesUntilDismissedOrSnoozed_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::newRow("a click dismisses") << "click";
    QTest::newRow("the S key snoozes") << "s";
    QTest::newRow("the notification's Snooze") << "snooze";
}

void TestE2eNotification::alarmNotifiesUntilDismissedOrSnoozed()
{
    QFETCH(QString, gesture);
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("Needs the private session bus of run-under-x (DORVEX_SESSION_BUS=1).");
    FakeNotificationService service;
    QVERIFY(service.start());
    const uint id = service.nextId;
    StoredSettings::write({ { "snoozeMinutesSpinBox/value", 1 } });
    FakedClock clock(FakedClock::Monotonic::MovesAlong);
    DorvexProcess dorvex;
    dorvex.addEnvironment(clock.environment());
    QVERIFY(dorvex.start());
    const QDateTime alarmAt = wholeSecondsAhead(4);
    dorvex.armFirstAlarm(alarmAt);
    if (QTest::currentTestFailed())
        return;

    QTRY_VERIFY_WITH_TIMEOUT(!dorvex.fullScreenWindow().isEmpty(), 10000);
    QTRY_COMPARE(service.received.size(), 1);
    const QString summary = service.received.first().summary;
    QVERIFY2(summary.contains(QLatin1Char('1'))
            && summary.contains(alarmAt.time().toString(QStringLiteral("HH:mm:ss"))),
        qPrintable(summary));
    QCOMPARE(service.received.first().body, QStringLiteral("alarm 1"));
    QVERIFY(service.closed.isEmpty());

    if (gesture == QLatin1String("click"))
        Desktop::clickAt(Desktop::geometry(dorvex.fullScreenWindow()).center());
    else if (gesture == QLatin1String("s"))
        Desktop::key(gesture);
    else
        service.invokeAction(id, gesture);
    QTRY_VERIFY(dorvex.fullScreenWindow().isEmpty());
    QTRY_COMPARE(service.closed, QList<uint>({ id }));
    if (gesture != QLatin1String("click")) {
        QTRY_VERIFY(StoredSettings::contains("alarm1/snoozedUntil"));
        const QDateTime snoozedUntil = QDateTime::fromString(
            StoredSettings::value("alarm1/snoozedUntil").toString(), Qt::ISODate);
        QVERIFY2(snoozedUntil >= alarmAt.addSecs(60) && snoozedUntil <= clock.now().addSecs(60),
            qPrintable(snoozedUntil.toString(Qt::ISODate)));
        clock.moveBy(60);
        dorvex.dismissAlarmDialog(10000);
        QTRY_COMPARE(service.received.size(), 2);
    }
    dorvex.exitAnsweringYes();
    QVERIFY(!StoredSettings::contains("alarm1/snoozedUntil"));
}

DORVEX_TEST_MAIN(TestE2eNotification)

#include "tst_e2e_notification.moc"
