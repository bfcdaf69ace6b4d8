#include "desktopsession.h"
#include "testenvironment.h"

#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// The running program on a wall clock that libfaketime moves while its
// monotonic clock runs on, as a sleeping laptop or a set clock moves it.
// Such a move reaches the program at its next look at the clock (its alarm
// timer or the minute's re-aim), not through the kernel's notices, which
// the unit tests cover. The programs of all cases run side by side, each
// with its own store and clock, so that the minute they wait is shared.
namespace {

constexpr int watchMs = 75000;
constexpr qint64 punctualMs = 60000;
const QRegularExpression ringLine(QStringLiteral("alarm 1 due (\\S+) rings (\\d+) ms late"));

struct Case
{
    const char *name;
    // Where the program's wall clock starts, in UTC; it runs in Berlin.
    const char *startUtc;
    QTime alarm;
    // The clock is moved this far once, either after the first ring was
    // dismissed or at moveAtMs after the start.
    qint64 moveBySecs;
    bool moveAfterRing;
    int moveAtMs;
    const char *dueUtc;
    bool late;
};

// Rings come 10 s or more apart (counted from each program's start, and
// the programs start one after the other), so that one full-screen alarm
// is clicked away before the next one covers the screen.
const Case cases[] = {
    { "spring gap: 02:30 rings at 03:00", "2027-03-28T00:59:45Z", QTime(2, 30), 0, false, 0,
        "2027-03-28T01:00:00.000Z", false },
    { "autumn overlap: 02:30 rings in summer time only", "2027-10-31T00:29:35Z", QTime(2, 30), 3590,
        true, 0, "2027-10-31T00:30:00.000Z", false },
    { "set back 10 min after the ring", "2027-01-12T05:59:25Z", QTime(7, 0), -600, true, 0,
        "2027-01-12T06:00:00.000Z", false },
    { "asleep for 10 min across the alarm", "2027-01-12T05:59:10Z", QTime(7, 0), 600, false, 5000,
        "2027-01-12T06:00:00.000Z", true },
};

class FakedProgram
{
public:
    explicit FakedProgram(const Case &scenario)
        : scenario(scenario)
    {
        QSettings store(
            config.path() + QLatin1String("/Ostrevan/dorvex.conf"), QSettings::IniFormat);
        store.setValue(QStringLiteral("alarm1/time"), scenario.alarm);
        store.setValue(QStringLiteral("alarm1/enabled"), true);
        offsetSecs = QDateTime::currentDateTimeUtc().secsTo(
            QDateTime::fromString(QLatin1String(scenario.startUtc), Qt::ISODate));
        writeOffset();

        QProcessEnvironment environment;
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAKETIME_LIBRARY));
        environment.insert(QStringLiteral("FAKETIME_TIMESTAMP_FILE"), offsetFile());
        environment.insert(QStringLiteral("FAKETIME_CACHE_DURATION"), QStringLiteral("1"));
        environment.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
        environment.insert(
            QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("dorvex.alarms.info=true"));
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
        if (!moved && moveNow && scenario.moveBySecs != 0) {
            offsetSecs += scenario.moveBySecs;
            writeOffset();
            moved = true;
        }
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
    QString offsetFile() const { return config.path() + QLatin1String("/faketime"); }
    void writeOffset()
    {
        QFile file(offsetFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(offsetSecs < 0 ? "" : "+") + QByteArray::number(offsetSecs) + '\n');
    }

    QTemporaryDir config;
    DorvexProcess dorvex;
    QElapsedTimer started;
    qint64 offsetSecs = 0;
    int dialogsSeen = 0;
    bool moved = false;
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
    QElapsedTimer watching;
    watching.start();
    while (watching.elapsed() < watchMs) {
        for (const auto &program : programs) {
            program->look();
            if (QTest::currentTestFailed())
                return;
        }
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
