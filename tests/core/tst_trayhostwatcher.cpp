#include "testenvironment.h"
#include "trayhostprocess.h"
#include "trayhostwatcher.h"

#include <QElapsedTimer>
#include <QSignalSpy>

// The watcher against real hosts: trayer on the X display and the harness's
// StatusNotifier host on the session bus, started and stopped by the test.
using Kind = TrayHostProcess::Kind;
using Protocol = TrayHostWatcher::Protocol;

class TestTrayHostWatcher : public QObject
{
    Q_OBJECT

private slots:
    void hostThereAtStart_data();
    void hostThereAtStart();
    void hostThatComesAndGoesThreeTimes_data();
    void hostThatComesAndGoesThreeTimes();
    void silentStatusNotifierHostNeitherHangsNorCounts();
    void statusNotifierHostThatAnswersLateIsAskedAgain();
    // Last: the choice it records holds for the rest of the process.
    void committedProtocolIsTheOnlyOneThatCounts();
};

void TestTrayHostWatcher::hostThereAtStart_data()
{
    QTest::addColumn<bool>("xembed");
    QTest::addColumn<bool>("statusNotifier");
    QTest::addColumn<Protocol>("protocol");
    QTest::newRow("XEmbed") << true << false << Protocol::XEmbed;
    QTest::newRow("StatusNotifier") << false << true << Protocol::StatusNotifier;
    // A StatusNotifier desktop that also offers an X tray to older programs.
    QTest::newRow("both") << true << true << Protocol::StatusNotifier;
}

void TestTrayHostWatcher::hostThereAtStart()
{
    QFETCH(bool, xembed);
    QFETCH(bool, statusNotifier);
    QFETCH(Protocol, protocol);
    TrayHostProcess xembedHost(Kind::XEmbed);
    TrayHostProcess statusNotifierHost(Kind::StatusNotifier);
    QVERIFY(!xembed || xembedHost.start());
    QVERIFY(!statusNotifier || statusNotifierHost.start());
    TrayHostWatcher watcher;
    // Nothing is offered before the bus has had its say.
    QVERIFY(!watcher.isSettled());
    QCOMPARE(watcher.usableProtocol(), Protocol::None);
    QSignalSpy changes(&watcher, &TrayHostWatcher::availabilityChanged);
    QTRY_VERIFY(watcher.isSettled());
    QCOMPARE(watcher.usableProtocol(), protocol);
    QCOMPARE(changes.count(), 1);
}

void TestTrayHostWatcher::hostThatComesAndGoesThreeTimes_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Protocol>("protocol");
    QTest::newRow("XEmbed") << Kind::XEmbed << Protocol::XEmbed;
    QTest::newRow("StatusNotifier") << Kind::StatusNotifier << Protocol::StatusNotifier;
}

void TestTrayHostWatcher::hostThatComesAndGoesThreeTimes()
{
    QFETCH(Kind, kind);
    QFETCH(Protocol, protocol);
    TrayHostWatcher watcher;
    QTRY_VERIFY(watcher.isSettled());
    QCOMPARE(watcher.usableProtocol(), Protocol::None);
    QSignalSpy changes(&watcher, &TrayHostWatcher::availabilityChanged);
    TrayHostProcess host(kind);
    for (int round = 1; round <= 3; ++round) {
        QVERIFY(host.start());
        QTRY_COMPARE(watcher.usableProtocol(), protocol);
        host.stop();
        QTRY_COMPARE(watcher.usableProtocol(), Protocol::None);
        QCOMPARE(changes.count(), 2 * round);
    }
}

void TestTrayHostWatcher::silentStatusNotifierHostNeitherHangsNorCounts()
{
    TrayHostProcess silent(Kind::SilentStatusNotifier);
    QVERIFY(silent.start());
    QElapsedTimer clock;
    clock.start();
    TrayHostWatcher watcher({ 300, 200 });
    // Asked without waiting: the watcher is built at once.
    QVERIFY(!watcher.isSettled());
    QVERIFY(clock.elapsed() < 250);
    QTRY_VERIFY(watcher.isSettled());
    QCOMPARE(watcher.usableProtocol(), Protocol::None);

    // A host that answers takes the silent one's place and counts at once.
    silent.stop();
    TrayHostProcess answering(Kind::StatusNotifier);
    QVERIFY(answering.start());
    QTRY_COMPARE(watcher.usableProtocol(), Protocol::StatusNotifier);
}

void TestTrayHostWatcher::statusNotifierHostThatAnswersLateIsAskedAgain()
{
    TrayHostProcess late(Kind::LateStatusNotifier);
    QVERIFY(late.start());
    TrayHostWatcher watcher({ 300, 200 });
    QTRY_VERIFY(watcher.isSettled());
    QCOMPARE(watcher.usableProtocol(), Protocol::None);
    // It never says it woke up: only asking again finds out.
    QTRY_COMPARE(watcher.usableProtocol(), Protocol::StatusNotifier);
}

void TestTrayHostWatcher::committedProtocolIsTheOnlyOneThatCounts()
{
    TrayHostProcess xembed(Kind::XEmbed);
    TrayHostProcess statusNotifier(Kind::StatusNotifier);
    QVERIFY(xembed.start());
    QVERIFY(statusNotifier.start());
    TrayHostWatcher watcher;
    QTRY_VERIFY(watcher.isSettled());
    QCOMPARE(watcher.usableProtocol(), Protocol::StatusNotifier);
    QCOMPARE(TrayHostWatcher::committedProtocol(), Protocol::None);

    watcher.commitProtocol();
    QCOMPARE(TrayHostWatcher::committedProtocol(), Protocol::StatusNotifier);
    // The X tray is still there, but the toolkit no longer uses it.
    statusNotifier.stop();
    QTRY_COMPARE(watcher.usableProtocol(), Protocol::None);
    QVERIFY(statusNotifier.start());
    QTRY_COMPARE(watcher.usableProtocol(), Protocol::StatusNotifier);
}

DORVEX_TEST_MAIN(TestTrayHostWatcher)
#include "tst_trayhostwatcher.moc"
