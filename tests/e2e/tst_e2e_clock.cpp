#include "desktopsession.h"
#include "testenvironment.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

// The running program on a wall clock that libfaketime moves, as a
// sleeping laptop or a set clock moves it. Such a move reaches the program
// at its next look at the clock (an alarm's timer or the minute's re-aim),
// not through the kernel's notices, which the unit tests cover. Where the
// clock runs on, the program's steady clock moves along with it, so that its
// minute's re-aim comes at once; where it is set back, only the wall clock
// moves, and a second alarm's timer is the look that finds it. The programs
// of all cases run side by side, each with its own store and clock.
namespace {

constexpr int watchLimitMs = 60000;
// How long a second ring, had a look at the clock brought one, takes to show.
constexpr int secondRingWatchMs = 2000;
constexpr qint64 punctualMs = 60000;
// Past the minute's re-aim, counted from the program's start.
constexpr qint64 pastReaimSecs = 65;
const QRegularExpression ringLine(QStringLiteral("alarm 1 due (\\S+) rings (\\d+) ms late"));

struct Case
{
    const char *name;
    // Where the program's wall clock starts, in UTC; it runs in Berlin.
    const char *startUtc;
    QTime alarm;
    // A second alarm, armed so that its timer looks at the clock; null: none.
    QTime secondAlarm;
    FakedClock::Monotonic monotonic;
    // The clock is moved this far once, either after the first ring was
    // dismissed or at moveAtMs after the start.
    qint64 moveBySecs;
    bool moveAfterRing;
    int moveAtMs;
    const char *dueUtc;
    bool late;
};

// Rings come about 4 s apart (counted from each program's start, and the
// programs start one after the other), so that one full-screen alarm is
// clicked away before the next one covers the screen. The clock set back
// comes last, so that it is watched from its ring on: it must be set back
// before its second alarm's timer looks.
const Case cases[] = {
    { "spring gap: 02:30 rings at 03:00", "2027-03-28T00:59:52Z", QTime(2, 30), QTime(),
        FakedClock::Monotonic::MovesAlong, pastReaimSecs, true, 0, "2027-03-28T01:00:00.000Z",
        false },
    { "autumn overlap: 02:30 rings in summer time only", "2027-10-31T00:29:49Z", QTime(2, 30),
        QTime(), FakedClock::Monotonic::MovesAlong, 3590 + pastReaimSecs, true, 0,
        "2027-10-31T00:30:00.000Z", false },
    { "asleep for 10 min across the alarm", "2027-01-12T05:59:40Z", QTime(7, 0), QTime(),
        FakedClock::Monotonic::MovesAlong, 600, false, 14000, "2027-01-12T06:00:00.000Z", true },
    { "set back 10 min after the ring", "2027-01-12T05:59:43Z", QTime(7, 0), QTime(7, 0, 10),
        FakedClock::Monotonic::RunsOn, -600, true, 0, "2027-01-12T06:00:00.000Z", false },
};

class FakedProgram
{
public:
    explicit FakedProgram(const Case &scenario)
        : scenario(scenario)
        , clock(scenario.monotonic,
              QDateTime::fromString(QLatin1String(scenario.startUtc), Qt::ISODate))
    {
        QSettings store(
            config.path() + QLatin1String("/Ostrevan/dorvex.conf"), QSettings::IniFormat);
        store.setValue(QStringLiteral("alarm1/time"), scenario.alarm);
        store.setValue(QStringLiteral("alarm1/enabled"), true);
        if (scenario.secondAlarm.isValid()) {
            store.setValue(QStringLiteral("alarm2/time"), scenario.secondAlarm);
            store.setValue(QStringLiteral("alarm2/enabled"), true);
        }

        QProcessEnvironment environment = clock.environment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
        dorvex.addEnvironment(environment);
    }

    bool start()
    {
        started.start();
        return dorvex.start();
    }

    // One look at the screen: an alarm is counted and clicked away, and the
    // clock moved when its time has come.
    void look()
    {
        const QString dialog = dorvex.fullScreenWindow();
        if (!dialog.isEmpty()) {
            ++dialogsSeen;
            Desktop::activate(dialog);
            Desktop::clickAt(Desktop::geometry(dialog).center());
            QTRY_VERIFY2(dorvex.fullScreenWindow().isEmpty(), scenario.name);
        }
        const bool moveNow
            = scenario.moveAfterRing ? dialogsSeen > 0 : started.elapsed() >= scenario.moveAtMs;
        if (!moved.isValid() && moveNow) {
            outputBeforeMove = dorvex.standardError().size();
            clock.moveBy(scenario.moveBySecs);
            moved = clock.now();
        }
    }

    // The program has looked at its clock since it was moved, and seen it
    // moved: not before where it went, and when set back, not yet where it
    // came from.
    bool sawTheMove() const
    {
        if (!moved.isValid())
            return false;
        const QDateTime movedFrom = moved.addSecs(-scenario.moveBySecs);
        const QList<QDateTime> looks
            = DorvexProcess::looksAtTheClock(dorvex.standardError().mid(outputBeforeMove));
        return std::any_of(looks.cbegin(), looks.cend(), [&](const QDateTime &look) {
            return look >= moved && (scenario.moveBySecs > 0 || look < movedFrom);
        });
    }

    void verify()
    {
        QVERIFY2(dorvex.isRunning(), scenario.name);
        QCOMPARE(dialogsSeen, 1);
        QStringList rings;
        qint64 lateMs = -1;
        for (auto match = ringLine.globalMatch(dorvex.standardError()); match.hasNext();) {
            const QRegularExpressionMatch ring = match.next();
            rings << ring.captured(1);
            lateMs = ring.captured(2).toLongLong();
        }
        QCOMPARE(rings, QStringList { QLatin1String(scenario.dueUtc) });
        // Rung late, its dialog says when it was due; on time, it does not.
        QCOMPARE(lateMs > punctualMs, scenario.late);
        QVERIFY(lateMs < 12 * 3600 * 1000);
    }

    const Case &scenario;

private:
    QTemporaryDir config;
    FakedClock clock;
    DorvexProcess dorvex;
    QElapsedTimer started;
    int dialogsSeen = 0;
    // The program's instant just after the move; invalid before it.
    QDateTime moved;
    qsizetype outputBeforeMove = 0;
};

} // namespace

class TestE2eClock : public QObject
{
    Q_OBJECT

private slots:
    void ringsOnceWhateverTheWallClockDoes();
};

void TestE2eClock::ringsOnceWhateverTheWallClockDoes()
{
    std::vector<std::unique_ptr<FakedProgram>> programs;
    for (const Case &scenario : cases) {
        programs.push_back(std::make_unique<FakedProgram>(scenario));
        QVERIFY2(programs.back()->start(), scenario.name);
    }
    const auto allSawTheirMove = [&] {
        return std::all_of(programs.cbegin(), programs.cend(),
            [](const auto &program) { return program->sawTheMove(); });
    };
    QElapsedTimer watching;
    watching.start();
    QElapsedTimer sinceAllSawTheirMove;
    while (!sinceAllSawTheirMove.isValid() || sinceAllSawTheirMove.elapsed() < secondRingWatchMs) {
        QVERIFY2(watching.elapsed() < watchLimitMs, "a program did not look at its moved clock");
        for (const auto &program : programs) {
            program->look();
            if (QTest::currentTestFailed())
                return;
        }
        if (!sinceAllSawTheirMove.isValid() && allSawTheirMove())
            sinceAllSawTheirMove.start();
        QTest::qWait(250);
    }
    for (const auto &program : programs) {
        qInfo("%s", program->scenario.name);
        program->verify();
        if (QTest::currentTestFailed())
            return;
    }
}

DORVEX_TEST_MAIN(TestE2eClock)

#include "tst_e2e_clock.moc"
