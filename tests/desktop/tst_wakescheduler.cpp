#include "testclock.h"
#include "testenvironment.h"
#include "wakescheduler.h"

#include <QApplication>
#include <QSignalSpy>

#include <csignal>
#include <grp.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <unistd.h>

// The wake-up helper and its scheduler, the helper's timer read back from the
// kernel: the helper's answers, run as installed (a copy with its capability,
// as an ordinary user); the scheduler's wake-up as the next ring moves, and
// what it tells when the helper cannot wake the computer.
using State = WakeScheduler::State;

namespace {

// Whether the kernel holds a wake-up for `seconds` since the epoch (every
// process's; the times here are the test's own). A timer's own file shows a
// disarmed wake-up's last time, so the kernel's list of timers is asked.
bool wakeUpQueuedAt(const QByteArray &seconds)
{
    QFile timers(QStringLiteral("/proc/timer_list"));
    return timers.open(QIODevice::ReadOnly)
        && timers.readAll().contains(
            "alarmtimer_fired, S:01\n # expires at " + seconds + "000000000-");
}

bool reaches(WakeScheduler &scheduler, State state)
{
    QSignalSpy changes(&scheduler, &WakeScheduler::stateChanged);
    return scheduler.state() == state || (changes.wait() && scheduler.state() == state);
}

} // namespace

class TestWakeScheduler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void helperAimsAsAskedAndRefusesTheRest_data();
    void helperAimsAsAskedAndRefusesTheRest();
    void wakesALeadBeforeTheNextRingUntilKilled_data();
    void wakesALeadBeforeTheNextRingUntilKilled();
    // Last: it bars the capability from every helper started afterwards.
    void tellsWhyItCannotWake_data();
    void tellsWhyItCannotWake();

private:
    QByteArray inSeconds(qint64 seconds) const
    {
        return QByteArray::number(clock.now().addSecs(seconds).toSecsSinceEpoch());
    }

    QTemporaryDir scratch;
    QString helper = scratch.filePath(QStringLiteral("dorvex-wake"));
    TestClock clock { QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC) };
};

void TestWakeScheduler::initTestCase()
{
    QFile::setPermissions(scratch.path(), QFile::permissions(scratch.path()) | QFile::ExeOther);
    if (geteuid() != 0 || !QFile::copy(WakeScheduler::helperBesideProgram(), helper)
        || QProcess::execute(QStringLiteral("/usr/sbin/setcap"), { "cap_wake_alarm+ep", helper })
            != 0)
        helper.clear();
    QVERIFY(!WakeScheduler::capabilityAvailable(WakeScheduler::helperBesideProgram()));
    QCOMPARE(WakeScheduler::capabilityAvailable(helper), !helper.isEmpty());
}

void TestWakeScheduler::helperAimsAsAskedAndRefusesTheRest_data()
{
    // Each row's line follows one that arms the wake-up in an hour.
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<qint64>("wakeUpIn"); // seconds; 0: disarmed
    QTest::newRow("moves") << inSeconds(7200) << "armed " + inSeconds(7200) << 7200LL;
    QTest::newRow("off") << QByteArray("off") << QByteArray("off") << 0LL;
    for (const QByteArray &line :
        { QByteArray("abc"), QByteArray("-5"), QByteArray("1e9"), QByteArray(), QByteArray(" off"),
            QByteArray("0000000001"), QByteArray("253402300799"), inSeconds(-2 * 86400),
            inSeconds(9 * 86400), inSeconds(60) + '\0', QByteArray(100 * 1024, '7') })
        QTest::addRow("refuses \"%s\"", line.left(16).constData())
            << line << QByteArray("refused") << 3600LL;
}

void TestWakeScheduler::helperAimsAsAskedAndRefusesTheRest()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, answer);
    QFETCH(qint64, wakeUpIn);
    if (helper.isEmpty())
        QSKIP("Only root can give the helper its capability.");
    QProcess process;
    process.setChildProcessModifier([] {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(127);
    });
    process.start(helper);
    process.write(inSeconds(3600) + '\n' + line + '\n');
    QByteArrayList answers;
    while (answers.size() < 2 && (process.canReadLine() || process.waitForReadyRead()))
        answers += process.readLine().chopped(1);
    QCOMPARE(answers, QByteArrayList({ "armed " + inSeconds(3600), answer }));
    QCOMPARE(wakeUpQueuedAt(inSeconds(3600)), wakeUpIn == 3600);
    QVERIFY(wakeUpIn == 0 || wakeUpQueuedAt(inSeconds(wakeUpIn)));
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(!wakeUpQueuedAt(inSeconds(wakeUpIn)));
}

void TestWakeScheduler::wakesALeadBeforeTheNextRingUntilKilled_data()
{
    QTest::addColumn<QList<int>>("rings"); // hours from now, in turn; -1: none armed
    QTest::newRow("a ring") << QList<int> { 2 };
    QTest::newRow("moved") << QList<int> { 2, 5 };
    QTest::newRow("disarmed") << QList<int> { 2, -1 };
    QTest::newRow("armed later") << QList<int> { -1, 3 };
}

void TestWakeScheduler::wakesALeadBeforeTheNextRingUntilKilled()
{
    QFETCH(QList<int>, rings);
    if (geteuid() != 0)
        QSKIP("Only root can give the helper its capability.");
    WakeScheduler scheduler; // root's helper beside the test has every capability
    scheduler.setEnabled(true);
    QVERIFY(reaches(scheduler, State::Working));
    QDateTime wake;
    for (int hours : rings) {
        const QDateTime earlier = wake;
        wake = hours < 0 ? QDateTime() : clock.now().addSecs(hours * 3600 - 60);
        QSignalSpy armed(&scheduler, &WakeScheduler::wakeTimeChanged);
        scheduler.setNextRing(hours < 0 ? QDateTime() : clock.now().addSecs(hours * 3600));
        QVERIFY(scheduler.wakeTime() == wake || armed.wait());
        QCOMPARE(scheduler.wakeTime(), wake);
        QCOMPARE(wakeUpQueuedAt(QByteArray::number(wake.toSecsSinceEpoch())), wake.isValid());
        QVERIFY(
            !earlier.isValid() || !wakeUpQueuedAt(QByteArray::number(earlier.toSecsSinceEpoch())));
    }
    // Started by root, the helper kept nothing of root's but its own capability.
    const qint64 helperPid = scheduler.findChild<QProcess *>()->processId();
    QFile status(QStringLiteral("/proc/%1/status").arg(helperPid));
    QVERIFY(status.open(QIODevice::ReadOnly));
    QVERIFY(status.readAll().contains("CapPrm:\t0000000800000000\nCapEff:\t0000000800000000\n"));
    QCOMPARE(kill(helperPid, SIGKILL), 0);
    QVERIFY(reaches(scheduler, State::Failed));
    QVERIFY(!scheduler.wakeTime().isValid());
    QVERIFY(!wakeUpQueuedAt(QByteArray::number(wake.toSecsSinceEpoch())));
    scheduler.setEnabled(false);
    QCOMPARE(scheduler.state(), State::Off);
}

void TestWakeScheduler::tellsWhyItCannotWake_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<State>("state");
    QTest::newRow("missing") << scratch.filePath(QStringLiteral("missing")) << State::Failed;
    QTest::newRow("no capability") << WakeScheduler::helperBesideProgram() << State::NoCapability;
}

void TestWakeScheduler::tellsWhyItCannotWake()
{
    QFETCH(QString, path);
    QFETCH(State, state);
    // Root's programs have every capability unless the session bars it.
    QVERIFY(geteuid() != 0 || prctl(PR_CAPBSET_DROP, CAP_WAKE_ALARM, 0, 0, 0) == 0);
    QVERIFY(!WakeScheduler::capabilityAvailable(helper));
    WakeScheduler scheduler(path);
    scheduler.setNextRing(clock.now().addSecs(3600));
    scheduler.setEnabled(true);
    QVERIFY(reaches(scheduler, state));
    QVERIFY(!scheduler.wakeTime().isValid());
}

DORVEX_TEST_MAIN(TestWakeScheduler)

#include "tst_wakescheduler.moc"
