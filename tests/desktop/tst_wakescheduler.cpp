#include "testclock.h"
#include "testenvironment.h"
#include "wakescheduler.h"

#include <QApplication>

#include <csignal>
#include <grp.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <unistd.h>

// The wake-up helper and its scheduler, read back from the kernel's timers.
using State = WakeScheduler::State;

class TestWakeScheduler : public QObject
{
    Q_OBJECT

    QByteArray inSeconds(qint64 seconds) const
    {
        return QByteArray::number(clock.now().addSecs(seconds).toSecsSinceEpoch());
    }

    // The kernel's list, as a timer's own file keeps a disarmed time. 0: none.
    bool queuedIn(qint64 seconds) const
    {
        QFile timers(QStringLiteral("/proc/timer_list"));
        return seconds != 0 && timers.open(QIODevice::ReadOnly)
            && timers.readAll().contains(
                "alarmtimer_fired, S:01\n # expires at " + inSeconds(seconds) + "000000000-");
    }

    QTemporaryDir scratch;
    QString helper = scratch.filePath(QStringLiteral("dorvex-wake"));
    TestClock clock { QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC) };

private slots:
    void initTestCase()
    {
        QFile::setPermissions(scratch.path(), QFile::permissions(scratch.path()) | QFile::ExeOther);
        if (geteuid() != 0 || !QFile::copy(WakeScheduler::helperBesideProgram(), helper)
            || QProcess::execute("/usr/sbin/setcap", { "cap_wake_alarm+ep", helper }) != 0)
            helper.clear();
        QVERIFY(!WakeScheduler::capabilityAvailable(WakeScheduler::helperBesideProgram()));
        QCOMPARE(WakeScheduler::capabilityAvailable(helper), !helper.isEmpty());
    }

    void helperAimsAsAskedAndRefusesTheRest_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<qint64>("wakeUpIn"); // 3600, where it was: refused
        QTest::newRow("moves") << inSeconds(7200) << 7200LL;
        QTest::newRow("off") << QByteArray("off") << 0LL;
        for (const QByteArray &line :
            QByteArray("abc|-5|1e9|| off|0000000001|253402300799").split('|')
                + QByteArrayList { inSeconds(-2 * 86400), inSeconds(9 * 86400),
                    inSeconds(60) + '\0', QByteArray(100 * 1024, '7') })
            QTest::addRow("refuses \"%s\"", line.left(16).constData()) << line << 3600LL;
    }

    void helperAimsAsAskedAndRefusesTheRest()
    {
        QFETCH(QByteArray, line);
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
        const QByteArray answer = wakeUpIn == 3600 ? "refused" : (wakeUpIn ? "armed " : "") + line;
        QCOMPARE(answers, QByteArrayList({ "armed " + inSeconds(3600), answer }));
        QVERIFY(queuedIn(3600) == (wakeUpIn == 3600) && queuedIn(wakeUpIn) == (wakeUpIn != 0));
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished() && process.exitCode() == 0 && !queuedIn(wakeUpIn));
    }

    void wakesALeadBeforeTheNextRingOrTellsWhyNot_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<QList<qint64>>("ringsIn"); // seconds, in turn; 0: none armed
        for (const QList<qint64> &rings :
            { QList<qint64> { 7200, 18000 }, { 7200, 0 }, { 0, 10800 } })
            QTest::addRow("%lld, then %lld", rings[0], rings[1]) << State::Working << rings;
        QTest::newRow("missing") << State::Failed << QList<qint64> { 3600 };
        // Last: it bars the capability from every helper started afterwards.
        QTest::newRow("no capability") << State::NoCapability << QList<qint64> { 3600 };
    }

    void wakesALeadBeforeTheNextRingOrTellsWhyNot()
    {
        QFETCH(State, state);
        QFETCH(QList<qint64>, ringsIn);
        if (state == State::Working && geteuid() != 0)
            QSKIP("Only root can give the helper its capability.");
        if (state == State::NoCapability) {
            QVERIFY(geteuid() != 0 || prctl(PR_CAPBSET_DROP, CAP_WAKE_ALARM, 0, 0, 0) == 0);
            QVERIFY(!WakeScheduler::capabilityAvailable(helper));
        }
        WakeScheduler scheduler(state == State::Failed ? scratch.filePath("missing")
                                                       : WakeScheduler::helperBesideProgram());
        scheduler.setEnabled(true);
        QTRY_COMPARE(scheduler.state(), state);
        qint64 wakeIn = 0;
        for (qint64 ringIn : ringsIn) {
            const bool wakes = ringIn != 0 && state == State::Working;
            const qint64 earlier = std::exchange(wakeIn, wakes ? ringIn - 60 : 0);
            scheduler.setNextRing(ringIn ? clock.now().addSecs(ringIn) : QDateTime());
            QTRY_COMPARE(scheduler.wakeTime(), wakes ? clock.now().addSecs(wakeIn) : QDateTime());
            QVERIFY(queuedIn(wakeIn) == wakes && !queuedIn(earlier));
        }
        if (state != State::Working)
            return;
        // Started by root, it kept no capability but its own.
        const qint64 helperPid = scheduler.findChild<QProcess *>()->processId();
        QFile status(QStringLiteral("/proc/%1/status").arg(helperPid));
        QVERIFY(status.open(QIODevice::ReadOnly)
            && status.readAll().contains("CapPrm:\t0000000800000000\nCapEff:\t0000000800000000\n"));
        QCOMPARE(kill(helperPid, SIGKILL), 0);
        QTRY_COMPARE(scheduler.state(), State::Failed);
        QVERIFY(!scheduler.wakeTime().isValid() && !queuedIn(wakeIn));
        scheduler.setEnabled(false);
        QCOMPARE(scheduler.state(), State::Off);
    }
};

DORVEX_TEST_MAIN(TestWakeScheduler)

#include "tst_wakescheduler.moc"
