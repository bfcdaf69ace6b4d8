#include "alarmsound.h"
#include "systembeep.h"
#include "testclock.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <memory>

using namespace std::chrono_literals;

// The alarm's sound without a sound server: one player for any number of
// dialogs, the bell when the sound cannot play, and the longest ring, on a
// clock the test moves.
class TestAlarmSound : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void onePlayerForTwoDialogs_data();
    void onePlayerForTwoDialogs();
    void bellWithoutSoundDevice_data();
    void bellWithoutSoundDevice();
    void longestRingCountsFromLatestDialog();

private:
    std::unique_ptr<AlarmSound> soundPlayedBy(const QString &player);

    // Counts the ten minutes; moved by setting `now`.
    void setNow(std::chrono::milliseconds now) { clock->runOn((now - clock->sinceBoot()).count()); }
    std::unique_ptr<TestClock> clock;
    int bells = 0;
};

static const char noDeviceMessage[]
    = "No sound device was found: the alarms ring the bell instead.";

static QString playerLog()
{
    return QDir::currentPath() + QLatin1String("/player.log");
}

// A stand-in for the player that writes down when it starts, the commands it
// gets, and when its pipe closes.
static QString loggingPlayer(const char *name, const QByteArray &script)
{
    const QString path = QDir::currentPath() + QLatin1Char('/') + QLatin1String(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write("#!/bin/sh\nlog='" + QFile::encodeName(playerLog()) + "'\n" + script) < 0)
        qFatal("cannot write %s", qPrintable(path));
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return path;
}

static QString loggedByPlayer()
{
    QFile file(playerLog());
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

void TestAlarmSound::init()
{
    TestEnvironment::instance().reset();
    QFile::remove(playerLog());
    clock = std::make_unique<TestClock>(QDateTime(QDate(2026, 12, 7), QTime(7, 0), Qt::UTC));
    Clock::install(clock.get());
    bells = 0;
    SystemBeep::replace([this] { ++bells; });
}

void TestAlarmSound::cleanup()
{
    Clock::install(nullptr);
    SystemBeep::replace({});
}

std::unique_ptr<AlarmSound> TestAlarmSound::soundPlayedBy(const QString &player)
{
    // Ticks at every turn of the event loop, so that moving the clock is
    // noticed at once.
    return std::make_unique<AlarmSound>(player, 0ms);
}

void TestAlarmSound::onePlayerForTwoDialogs_data()
{
    QTest::addColumn<bool>("firstOpenedClosesFirst");
    QTest::addColumn<bool>("destroyed");

    QTest::newRow("dismissed in order") << true << false;
    QTest::newRow("dismissed in reverse") << false << false;
    QTest::newRow("destroyed unanswered") << true << true;
}

void TestAlarmSound::onePlayerForTwoDialogs()
{
    QFETCH(bool, firstOpenedClosesFirst);
    QFETCH(bool, destroyed);
    auto sound = soundPlayedBy(loggingPlayer("logging-player",
        "echo started >>\"$log\"\ncat >>\"$log\"\n"
        "echo ended >>\"$log\"\n"));
    auto first = std::make_unique<QDialog>();
    auto second = std::make_unique<QDialog>();
    sound->ringWhileOpen(first.get());
    sound->ringWhileOpen(second.get());
    QTRY_COMPARE(loggedByPlayer(), QStringLiteral("started\nplay\n"));

    std::unique_ptr<QDialog> &closing = firstOpenedClosesFirst ? first : second;
    std::unique_ptr<QDialog> &staying = firstOpenedClosesFirst ? second : first;
    destroyed ? closing.reset() : closing->reject();
    QVERIFY(sound->isRinging());
    destroyed ? staying.reset() : staying->accept();
    QVERIFY(!sound->isRinging());
    QVERIFY(!sound->isPrepared());
    QTRY_COMPARE(loggedByPlayer(), QStringLiteral("started\nplay\nended\n"));
    QCOMPARE(bells, 0);
}

void TestAlarmSound::bellWithoutSoundDevice_data()
{
    QTest::addColumn<QString>("player");

    QTest::newRow("no sound server")
        << QCoreApplication::applicationDirPath() + QLatin1String("/dorvex-alarm-sound");
    QTest::newRow("player missing") << QStringLiteral("/nonexistent/dorvex-alarm-sound");
    QTest::newRow("sound lost while playing")
        << loggingPlayer("failing-player", "read command\nexit 3\n");
}

void TestAlarmSound::bellWithoutSoundDevice()
{
    QFETCH(QString, player);
    QTest::ignoreMessage(QtWarningMsg, noDeviceMessage);
    QTest::failOnWarning(QRegularExpression(QStringLiteral("sound device")));
    auto sound = soundPlayedBy(player);

    for (int ring = 1; ring <= 2; ++ring) {
        QDialog dialog;
        const int bellsBefore = bells;
        sound->ringWhileOpen(&dialog);
        // The player may take a while to start on a busy machine.
        QTRY_VERIFY_WITH_TIMEOUT(sound->isRingingBell(), 10000);
        QTRY_VERIFY(bells > bellsBefore + 1);
        dialog.accept();
        QVERIFY(!sound->isRinging());
    }
}

void TestAlarmSound::longestRingCountsFromLatestDialog()
{
    QTest::ignoreMessage(QtWarningMsg, noDeviceMessage);
    // Without a sound device every tick rings the bell: a bell shows that the
    // ring goes on.
    auto sound = soundPlayedBy(loggingPlayer("deviceless-player", "exit 2\n"));
    const auto ringGoesOn = [&] {
        const int bellsBefore = bells;
        QTRY_VERIFY(bells > bellsBefore);
        QVERIFY(sound->isRinging());
    };

    QDialog first;
    QDialog second;
    sound->ringWhileOpen(&first);
    QTRY_VERIFY(sound->isRingingBell());
    setNow(9min);
    ringGoesOn();
    sound->ringWhileOpen(&second);
    setNow(18min);
    ringGoesOn();
    setNow(19min);
    QTRY_VERIFY(!sound->isRinging());
    QVERIFY(!sound->isPrepared());

    // Both dialogs still wait for their click; a third alarm rings again.
    QDialog third;
    sound->ringWhileOpen(&third);
    QTRY_VERIFY(sound->isRingingBell());
    setNow(29min);
    QTRY_VERIFY(!sound->isRinging());
}

DORVEX_TEST_MAIN(TestAlarmSound)

#include "tst_alarmsound.moc"
