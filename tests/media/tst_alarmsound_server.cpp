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
    void toneWhileAnyDialogIsOpen();
    // Last: it stops the harness's sound server.
    void serverDiesDuringRing();
};

static const int sampleRate = 44100;

// What reaches the null sink since the recording started, as mono samples.
class SinkRecording
{
public:
    SinkRecording()
    {
        QObject::connect(&recorder, &QProcess::readyReadStandardOutput,
            [this] { bytes += recorder.readAllStandardOutput(); });
        recorder.start(QStringLiteral("parec"),
            { "--device=dorvex_test.monitor", "--raw", "--format=s16le", "--channels=1",
                QStringLiteral("--rate=%1").arg(sampleRate), "--latency-msec=20" });
    }

    qsizetype samples() const { return bytes.size() / 2; }

    // Both notes of the tone sound after sample `from`.
    bool toneSince(qsizetype from) const
    {
        return loudest(from, 880) > 0.1 && loudest(from, 1320) > 0.1;
    }

    // A whole second after sample `from` is silent: longer than the tone's rests.
    bool silentSecondSince(qsizetype from) const
    {
        if (samples() - from < sampleRate)
            return false;
        for (qsizetype i = samples() - sampleRate; i < samples(); ++i)
            if (std::abs(sample(i)) > 0.01)
                return false;
        return true;
    }

private:
    double sample(qsizetype i) const
    {
        return qFromLittleEndian<qint16>(bytes.constData() + 2 * i) / 32768.0;
    }

    // The largest amplitude of `hertz` in the 50 ms blocks after `from`, by
    // Goertzel's algorithm (one bin of a discrete Fourier transform).
    double loudest(qsizetype from, double hertz) const
    {
        const qsizetype block = sampleRate / 20;
        const double coefficient = 2 * std::cos(2 * M_PI * hertz / sampleRate);
        double amplitude = 0;
        for (qsizetype start = from; start + block <= samples(); start += block) {
            double s1 = 0, s2 = 0;
            for (qsizetype i = start; i < start + block; ++i)
                s2 = std::exchange(s1, sample(i) + coefficient * s1 - s2);
            const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
            amplitude = std::max(amplitude, 2 * std::sqrt(std::max(power, 0.0)) / block);
        }
        return amplitude;
    }

    // Before the recorder, which may still deliver while it is destroyed.
    QByteArray bytes;
    QProcess recorder;
};

// How often `needle` occurs in the sound server's list of `what`.
static int listed(const char *what, const char *needle)
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), { "list", what });
    pactl.waitForFinished();
    return pactl.readAllStandardOutput().count(needle);
}

static const char stream[] = "Sink Input #";
static const char playerConnection[] = "application.process.binary = \"dorvex-alarm-sound\"";

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

void TestAlarmSoundServer::toneWhileAnyDialogIsOpen()
{
    SinkRecording recording;
    QTRY_VERIFY(recording.samples() > 0);
    QCOMPARE(listed("clients", playerConnection), 0);

    ExpirationDialog first(QStringLiteral("Tea"), 1);
    QElapsedTimer sinceShown;
    QVERIFY(runDialog(first, [&](QWidget *) {
        const auto dismiss = qScopeGuard([&] { clickOn(&first); });
        sinceShown.start();
        QTRY_VERIFY_WITH_TIMEOUT(recording.toneSince(0), 10000);
        qInfo("tone recorded %lld ms after the dialog showed", sinceShown.elapsed());
        ExpirationDialog second(QStringLiteral("Bus"), 2);
        QVERIFY(runDialog(second, [&](QWidget *shown) {
            QCOMPARE(listed("sink-inputs", stream), 1);
            QTest::keyClick(shown, Qt::Key_Escape);
        }));
        const qsizetype afterSecond = recording.samples();
        QTRY_VERIFY_WITH_TIMEOUT(recording.toneSince(afterSecond), 10000);
    }));

    const qsizetype afterClick = recording.samples();
    QElapsedTimer sinceClick;
    sinceClick.start();
    QTRY_VERIFY_WITH_TIMEOUT(recording.silentSecondSince(afterClick), 10000);
    qInfo("a silent second recorded %lld ms after the click", sinceClick.elapsed());
    QTRY_COMPARE(listed("clients", playerConnection), 0);
    QCOMPARE(listed("sink-inputs", stream), 0);
}

void TestAlarmSoundServer::serverDiesDuringRing()
{
    // Zero would stop this whole process group.
    const pid_t server = qEnvironmentVariableIntValue("DORVEX_SOUND_SERVER_PID");
    QVERIFY(server > 0);
    int bells = 0;
    SystemBeep::replace([&] { ++bells; });
    const auto restoreBell = qScopeGuard([] { SystemBeep::replace({}); });
    SinkRecording recording;

    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    QVERIFY(runDialog(dialog, [&](QWidget *shown) {
        const auto dismiss = qScopeGuard([&] { clickOn(shown); });
        QTRY_VERIFY_WITH_TIMEOUT(recording.toneSince(0), 10000);
        QTest::ignoreMessage(
            QtWarningMsg, "No sound device was found: the alarms ring the bell instead.");
        QCOMPARE(::kill(server, SIGKILL), 0);
        QTRY_VERIFY(AlarmSound::instance().isRingingBell());
        QTRY_VERIFY(bells > 1);
    }));
    QVERIFY(!dialog.isVisible());
    QVERIFY(!AlarmSound::instance().isRinging());
}

DORVEX_TEST_MAIN(TestAlarmSoundServer)

#include "tst_alarmsound_server.moc"
