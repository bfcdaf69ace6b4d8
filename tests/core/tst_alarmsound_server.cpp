#include "alarmsound.h"
#include "expirationdialog.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "systembeep.h"
#include "testenvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QtEndian>

#include <cmath>

#include <signal.h>

// The alarm heard for real: the harness's sound server plays into a null
// sink, whose monitor the test records while alarm windows open and close.
class TestAlarmSoundServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void toneWhileAnyDialogIsOpen();
    // Last: it stops the harness's sound server.
    void serverDiesDuringRing();
};

static const int sampleRate = 44100;

// What reaches the null sink, as 16-bit mono samples.
class SinkRecording
{
public:
    SinkRecording()
    {
        recorder.start(QStringLiteral("parec"),
            { QStringLiteral("--device=dorvex_test.monitor"), QStringLiteral("--raw"),
                QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                QStringLiteral("--rate=%1").arg(sampleRate), QStringLiteral("--latency-msec=20") });
        QObject::connect(
            &recorder, &QProcess::readyReadStandardOutput, [this] { bytes += recorder.readAll(); });
    }
    ~SinkRecording()
    {
        recorder.kill();
        recorder.waitForFinished();
    }

    qsizetype samples() const { return bytes.size() / 2; }

    // Whether both notes of the tone sound after sample `from`.
    bool toneSince(qsizetype from) const
    {
        return loudestBlock(from, 880) > 0.1 && loudestBlock(from, 1320) > 0.1;
    }

    // Whether a whole second after sample `from` is silent: longer than the
    // tone's own rest.
    bool silentSecondSince(qsizetype from) const
    {
        return samples() - from >= sampleRate && loudestSample(samples() - sampleRate) < 0.01;
    }

private:
    double sample(qsizetype index) const
    {
        return qFromLittleEndian<qint16>(bytes.constData() + 2 * index) / 32768.0;
    }

    double loudestSample(qsizetype from) const
    {
        double loudest = 0;
        for (qsizetype i = from; i < samples(); ++i)
            loudest = std::max(loudest, std::abs(sample(i)));
        return loudest;
    }

    // The largest amplitude of `hertz` in 50 ms blocks after `from`
    // (Goertzel's algorithm: one frequency of a discrete Fourier transform).
    double loudestBlock(qsizetype from, double hertz) const
    {
        const qsizetype block = sampleRate / 20;
        const double coefficient = 2 * std::cos(2 * M_PI * hertz / sampleRate);
        double loudest = 0;
        for (qsizetype start = from; start + block <= samples(); start += block) {
            double previous = 0, beforePrevious = 0;
            for (qsizetype i = start; i < start + block; ++i) {
                const double current = sample(i) + coefficient * previous - beforePrevious;
                beforePrevious = previous;
                previous = current;
            }
            const double power = previous * previous + beforePrevious * beforePrevious
                - coefficient * previous * beforePrevious;
            loudest = std::max(loudest, 2 * std::sqrt(std::max(power, 0.0)) / block);
        }
        return loudest;
    }

    QProcess recorder;
    QByteArray bytes;
};

static QByteArray soundServerList(const char *what)
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), { QStringLiteral("list"), QLatin1String(what) });
    pactl.waitForFinished();
    return pactl.readAllStandardOutput();
}

// The sounds being played.
static int streams()
{
    return soundServerList("sink-inputs").count("Sink Input #");
}

// The connections the alarm's sound player holds open.
static int playerConnections()
{
    return soundServerList("clients").count("application.process.binary = \"dorvex-alarm-sound\"");
}

static void clickOn(QWidget *dialog)
{
    QTest::mouseClick(
        dialog->windowHandle(), Qt::LeftButton, Qt::NoModifier, dialog->rect().center());
}

static bool runDialog(ExpirationDialog &dialog, const ModalAnswerer::Answer &answer)
{
    ModalAnswerer answerer(answer, 30000);
    dialog.exec();
    return answerer.answered();
}

void TestAlarmSoundServer::init()
{
    TestEnvironment::instance().reset();
    QSettings settings;
    SettingsKeys::beepOnAlarm.write(settings, true);
}

void TestAlarmSoundServer::cleanup()
{
    SystemBeep::replace({});
}

void TestAlarmSoundServer::toneWhileAnyDialogIsOpen()
{
    SinkRecording recording;
    QTRY_VERIFY(recording.samples() > 0);
    QCOMPARE(playerConnections(), 0);

    ExpirationDialog first(QStringLiteral("Tea"), 1);
    QElapsedTimer sinceShown;
    const bool answered = runDialog(first, [&](QWidget *) {
        const auto dismiss = qScopeGuard([&] { clickOn(&first); });
        sinceShown.start();
        QTRY_VERIFY_WITH_TIMEOUT(recording.toneSince(0), 10000);
        qInfo("tone recorded %lld ms after the dialog showed", sinceShown.elapsed());
        ExpirationDialog second(QStringLiteral("Bus"), 2);
        QVERIFY(runDialog(second, [&](QWidget *shown) {
            const auto dismissSecond = qScopeGuard([&] { QTest::keyClick(shown, Qt::Key_Escape); });
            QCOMPARE(streams(), 1);
        }));
        const qsizetype afterSecond = recording.samples();
        QTRY_VERIFY_WITH_TIMEOUT(recording.toneSince(afterSecond), 10000);
        QCOMPARE(streams(), 1);
    });
    QVERIFY(answered);

    const qsizetype afterClick = recording.samples();
    QElapsedTimer sinceClick;
    sinceClick.start();
    QTRY_VERIFY_WITH_TIMEOUT(recording.silentSecondSince(afterClick), 10000);
    qInfo("a silent second recorded %lld ms after the click", sinceClick.elapsed());
    QTRY_COMPARE(playerConnections(), 0);
    QCOMPARE(streams(), 0);
}

void TestAlarmSoundServer::serverDiesDuringRing()
{
    const pid_t server = qEnvironmentVariableIntValue("DORVEX_SOUND_SERVER_PID");
    QVERIFY(server > 0);
    int bells = 0;
    SystemBeep::replace([&] { ++bells; });
    SinkRecording recording;

    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    const bool answered = runDialog(dialog, [&](QWidget *shown) {
        const auto dismiss = qScopeGuard([&] { clickOn(shown); });
        QTRY_VERIFY_WITH_TIMEOUT(recording.toneSince(0), 10000);
        QTest::ignoreMessage(
            QtWarningMsg, "No sound device was found: the alarms ring the bell instead.");
        QCOMPARE(::kill(server, SIGKILL), 0);
        QTRY_VERIFY(AlarmSound::instance().isRingingBell());
        QTRY_VERIFY(bells > 1);
    });
    QVERIFY(answered);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!AlarmSound::instance().isRinging());
}

DORVEX_TEST_MAIN(TestAlarmSoundServer)

#include "tst_alarmsound_server.moc"
