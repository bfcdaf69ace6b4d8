#include "testenvironment.h"
#include "trayhostprocess.h"
#include "trayhostwatcher.h"

#include <QSignalSpy>

// The watcher against real hosts started by the test: trayer on the X
// display, the harness's StatusNotifier host on the session bus. Coming and
// going is tested with the window; here, what counts as a host.
using Kind = TrayHostProcess::Kind;
using Protocol = TrayHostWatcher::Protocol;

class TestTrayHostWatcher : public QObject
{
    Q_OBJECT

private slots:
    void hostsThereAtStart_data();
    void hostsThereAtStart();
    // Last: the choice it records holds for the rest of the process.
    void committedProtocolIsTheOnlyOneThatCounts();
};

void TestTrayHostWatcher::hostsThereAtStart_data()
{
    QTest::addColumn<bool>("xembed");
    QTest::addColumn<QString>("statusNotifier");
    QTest::addColumn<Protocol>("first");
    QTest::addColumn<Protocol>("later");
    QTest::newRow("XEmbed") << true << "" << Protocol::XEmbed << Protocol::XEmbed;
    QTest::newRow("StatusNotifier")
        << false << "answering" << Protocol::StatusNotifier << Protocol::StatusNotifier;
    // A StatusNotifier desktop that also offers an X tray to older programs.
    QTest::newRow("both") << true << "answering" << Protocol::StatusNotifier
                          << Protocol::StatusNotifier;
    // Owns the watcher's name and never answers: no hang, and not even the
    // X tray, since the toolkit's own first question would hang.
    QTest::newRow("silent") << true << "silent" << Protocol::None << Protocol::None;
    // Answers only after a second and never says so: found by asking again.
    QTest::newRow("late") << false << "late" << Protocol::None << Protocol::StatusNotifier;
}

void TestTrayHostWatcher::hostsThereAtStart()
{
    QFETCH(bool, xembed);
    QFETCH(QString, statusNotifier);
    QFETCH(Protocol, first);
    QFETCH(Protocol, later);
    const QHash<QString, Kind> kinds { { "answering", Kind::StatusNotifier },
        { "silent", Kind::SilentStatusNotifier }, { "late", Kind::LateStatusNotifier } };
    TrayHostProcess xembedHost(Kind::XEmbed);
    TrayHostProcess statusNotifierHost(kinds.value(statusNotifier));
    QVERIFY(!xembed || xembedHost.start());
    QVERIFY(statusNotifier.isEmpty() || statusNotifierHost.start());
    TrayHostWatcher watcher({ 300, 200 });
    // Nothing is offered before the bus has had its say, which is not waited for.
    QVERIFY(!watcher.isSettled());
    QCOMPARE(watcher.usableProtocol(), Protocol::None);
    QSignalSpy changes(&watcher, &TrayHostWatcher::availabilityChanged);
    QTRY_VERIFY(watcher.isSettled());
    QCOMPARE(watcher.usableProtocol(), first);
    QCOMPARE(changes.count(), first == Protocol::None ? 0 : 1);
    QTRY_COMPARE(watcher.usableProtocol(), later);
}

void TestTrayHostWatcher::committedProtocolIsTheOnlyOneThatCounts()
{
    TrayHostProcess xembed(Kind::XEmbed);
    TrayHostProcess statusNotifier(Kind::StatusNotifier);
    QVERIFY(xembed.start());
    QVERIFY(statusNotifier.start());
    TrayHostWatcher watcher;
    QTRY_COMPARE(watcher.usableProtocol(), Protocol::StatusNotifier);
    watcher.commitProtocol();
    QCOMPARE(TrayHostWatcher::committedProtocol(), Protocol::StatusNotifier);
    // The X tray is still there, but the toolkit no longer uses it.
    statusNotifier.stop();
    QTRY_COMPARE(watcher.usableProtocol(), Protocol::None);
}

DORVEX_TEST_MAIN(TestTrayHostWatcher)
#include "tst_trayhostwatcher.moc"
