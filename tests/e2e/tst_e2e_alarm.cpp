#include "desktopsession.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>

// One alarm through a whole minute of the running program, the way a user
// sets it: typed in, switched on, seen going off full-screen, clicked away.
// Then the program's clock runs on past its minute-long re-aiming, which is
// what could bring a fired alarm back: libfaketime moves it on at once.
namespace {

// The program re-aims its alarms once a minute, counted from its start.
const int reaimPeriodMs = 60000;
// How long after its second an alarm may take to appear on the screen.
const int lateSlackMs = 5000;
// How long a second ring, had the re-aim brought one, takes to show.
const int secondRingWatchMs = 2000;

QString photosFolder()
{
    return TestEnvironment::instance().workingFolder() + QLatin1String("/photos");
}

} // namespace

class TestE2eAlarm : public QObject
{
    Q_OBJECT

private slots:
    void alarmFiresOnTimeAndOnlyOnce();
};

void TestE2eAlarm::alarmFiresOnTimeAndOnlyOnce()
{
    QDir().mkpath(photosFolder());
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::darkMagenta);
    QVERIFY(photo.save(photosFolder() + QLatin1String("/sunrise.png")));

    FakedClock clock(FakedClock::Monotonic::MovesAlong);
    DorvexProcess dorvex;
    dorvex.addEnvironment(clock.environment());
    QVERIFY(dorvex.start());

    const QDateTime alarmAt = wholeSecondsAhead(6);
    dorvex.armFirstAlarm(alarmAt);
    if (QTest::currentTestFailed())
        return;

    QString dialog;
    while (dialog.isEmpty() && QDateTime::currentDateTime() < alarmAt.addMSecs(lateSlackMs)) {
        dialog = dorvex.fullScreenWindow();
        if (dialog.isEmpty())
            QTest::qWait(50);
    }
    const QDateTime seenAt = QDateTime::currentDateTime();
    QVERIFY2(!dialog.isEmpty(), "the alarm did not go off");
    QVERIFY2(seenAt >= alarmAt,
        qPrintable(QStringLiteral("went off %1 ms early").arg(seenAt.msecsTo(alarmAt))));
    QCOMPARE(Desktop::geometry(dialog), QRect(QPoint(0, 0), Desktop::screenSize()));

    Desktop::clickAt(Desktop::geometry(dialog).center());
    QTRY_VERIFY(dorvex.fullScreenWindow().isEmpty());
    QCOMPARE(
        StoredSettings::value("last_shown_photo").toString(), QStringLiteral("photos:sunrise.png"));

    // Past the first re-aiming, and with it past the periodic save too.
    clock.moveBy((reaimPeriodMs + lateSlackMs) / 1000);
    const QDateTime reaimedBy = clock.now();
    const auto reaimed = [&] {
        const QList<QDateTime> looks = DorvexProcess::looksAtTheClock(dorvex.standardError());
        return !looks.isEmpty() && looks.last() >= reaimedBy;
    };
    QTRY_VERIFY_WITH_TIMEOUT(reaimed(), 10000);
    QElapsedTimer sinceReaim;
    sinceReaim.start();
    while (sinceReaim.elapsed() < secondRingWatchMs) {
        QVERIFY2(dorvex.fullScreenWindow().isEmpty(), "the alarm went off a second time");
        QTest::qWait(200);
    }
    QVERIFY(dorvex.isRunning());
    QCOMPARE(StoredSettings::value("alarm1/time").toTime(), alarmAt.time());
    QCOMPARE(StoredSettings::value("alarm1/enabled").toBool(), true);

    dorvex.exitAnsweringYes();
}

DORVEX_TEST_MAIN(TestE2eAlarm)

#include "tst_e2e_alarm.moc"
