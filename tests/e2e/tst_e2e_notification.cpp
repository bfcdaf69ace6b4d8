#include "desktopsession.h"
#include "fakenotificationservice.h"
#include "testenvironment.h"

#include <QApplication>

// A real alarm of the running program, seen by the desktop's notification
// service of a private session bus: sent as the alarm shows, taken back by
// the click that dismisses it.
class TestE2eNotification : public QObject
{
    Q_OBJECT

private slots:
    void alarmNotifiesAndTheClickWithdraws();
};

void TestE2eNotification::alarmNotifiesAndTheClickWithdraws()
{
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("Needs the private session bus of run-under-x (DORVEX_SESSION_BUS=1).");
    FakeNotificationService service;
    QVERIFY(service.start());
    const uint id = service.nextId;

    DorvexProcess dorvex;
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

    Desktop::clickAt(Desktop::geometry(dorvex.fullScreenWindow()).center());
    QTRY_COMPARE(service.closed, QList<uint>({ id }));
    dorvex.exitAnsweringYes();
}

DORVEX_TEST_MAIN(TestE2eNotification)

#include "tst_e2e_notification.moc"
