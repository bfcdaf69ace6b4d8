#include "desktopsession.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <csignal>

// One copy of the program per user, and how it ends when the system ends
// it: the real program, with a runtime folder of the test's own.
namespace {

const QString panelTitle = QStringLiteral("Dorvex 1.0.2");
const QString handedOver = QStringLiteral("Dorvex is already running");
const QString unguarded = QStringLiteral("a single copy of Dorvex cannot be guaranteed");

void startProgram(QProcess &process)
{
    process.setWorkingDirectory(TestEnvironment::instance().workingFolder());
    process.start(QStringLiteral(DORVEX_PROGRAM));
}

QString activeWindow()
{
    return Desktop::run(QStringLiteral("xdotool"), { QStringLiteral("getactivewindow") });
}

void endWithSignal(DorvexProcess &dorvex, int signalNumber)
{
    ::kill(pid_t(dorvex.processId()), signalNumber);
    QVERIFY(dorvex.waitForEnd(5000));
    QVERIFY(dorvex.endedNormally());
    QCOMPARE(dorvex.exitCode(), 0);
}

} // namespace

class TestE2eLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void laterStartBringsTheFirstCopyToTheFront_data();
    void laterStartBringsTheFirstCopyToTheFront();
    void twoCopiesStartedTogetherMakeOne();
    void endingFromOutsideKeepsTheLastChange_data();
    void endingFromOutsideKeepsTheLastChange();
    void startsDespiteLeftoversOrAnUnusableFolder_data();
    void startsDespiteLeftoversOrAnUnusableFolder();

private:
    QTemporaryDir runtimeFolder;
};

void TestE2eLifecycle::init()
{
    TestEnvironment::instance().reset();
    QDir(runtimeFolder.path()).removeRecursively();
    QDir().mkpath(runtimeFolder.path());
    QFile::setPermissions(runtimeFolder.path(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The program inherits the test's environment.
    qputenv("XDG_RUNTIME_DIR", runtimeFolder.path().toLocal8Bit());
    QTRY_VERIFY(Desktop::windowsNamed(panelTitle).isEmpty());
}

void TestE2eLifecycle::laterStartBringsTheFirstCopyToTheFront_data()
{
    QTest::addColumn<QString>("firstCopyShows");
    QTest::newRow("parked in the tray") << "";
    QTest::newRow("the exit question") << "Question";
    QTest::newRow("an alarm") << "alarm";
}

void TestE2eLifecycle::laterStartBringsTheFirstCopyToTheFront()
{
    QFETCH(QString, firstCopyShows);
    DorvexProcess dorvex({ QStringLiteral("-d") });
    QVERIFY(dorvex.start());
    if (firstCopyShows.isEmpty()) {
        dorvex.clickOnPanel("toTrayPushButton");
        QTRY_VERIFY(dorvex.windowNamed(panelTitle).isEmpty());
    } else if (firstCopyShows == QLatin1String("Question")) {
        dorvex.pressExitShortcut();
    } else {
        dorvex.clickOnPanel("alarm1DebugToolButton");
    }
    const auto inFront = [&] {
        return firstCopyShows.isEmpty()                ? dorvex.windowNamed(panelTitle)
            : firstCopyShows == QLatin1String("alarm") ? dorvex.fullScreenWindow()
                                                       : dorvex.windowNamed(firstCopyShows);
    };
    QTRY_VERIFY(firstCopyShows.isEmpty() || !inFront().isEmpty());

    // The messages on the root window by which launchers see a start end.
    QProcess startupInfo;
    startupInfo.start(QStringLiteral("stdbuf"), { "-oL", "xev", "-root", "-event", "property" });
    QByteArray seenOnRoot;
    // Ready once it reports a property the test itself sets.
    QTRY_VERIFY(
        (Desktop::run("xprop", { "-root", "-f", "DORVEX_TEST", "8s", "-set", "DORVEX_TEST", "1" }),
            seenOnRoot += startupInfo.readAllStandardOutput())
            .contains("DORVEX_TEST"));
    QProcess later;
    later.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESKTOP_STARTUP_ID"), QStringLiteral("menu_TIME42"));
    later.setProcessEnvironment(environment);
    startProgram(later);
    QVERIFY(later.waitForFinished(5000));
    QCOMPARE(later.exitCode(), 0);
    QVERIFY(QString::fromLocal8Bit(later.readAllStandardError()).contains(handedOver));

    // The panel is back; what the first copy showed stays in front of it.
    QTRY_VERIFY2(!dorvex.windowNamed(panelTitle).isEmpty(), qPrintable(dorvex.describeWindows()));
    QTRY_COMPARE(activeWindow(), inFront());
    QCOMPARE(Desktop::windowsNamed(panelTitle).size(), 1);
    // A panel that comes back from the tray ends the later start's startup
    // notification, which the first copy has taken over.
    if (firstCopyShows.isEmpty())
        QTRY_VERIFY(
            (seenOnRoot += startupInfo.readAllStandardOutput()).contains("_NET_STARTUP_INFO"));
    startupInfo.kill();
    startupInfo.waitForFinished();
    endWithSignal(dorvex, SIGTERM);
}

void TestE2eLifecycle::twoCopiesStartedTogetherMakeOne()
{
    QProcess rival;
    startProgram(rival);
    DorvexProcess dorvex;
    dorvex.start();

    // One gives way at once with exit code 0; the other keeps its panel
    // and its tray icon, and nothing more.
    QTRY_VERIFY(!dorvex.isRunning() || rival.state() == QProcess::NotRunning);
    QTest::qWait(1000);
    QCOMPARE(Desktop::windowsNamed(panelTitle).size(), 1);
    const bool rivalStayed = !dorvex.isRunning();
    QVERIFY(rivalStayed == (rival.state() == QProcess::Running));
    QCOMPARE(rivalStayed ? dorvex.exitCode() : rival.exitCode(), 0);
    const qint64 survivor = rivalStayed ? rival.processId() : dorvex.processId();
    QCOMPARE(Desktop::run(QStringLiteral("xdotool"),
                 { "search", "--onlyvisible", "--pid", QString::number(survivor) })
                 .split(QLatin1Char('\n'))
                 .size(),
        2);
    ::kill(pid_t(survivor), SIGTERM);
    QVERIFY(rivalStayed ? rival.waitForFinished(5000) : dorvex.waitForEnd(5000));
}

void TestE2eLifecycle::endingFromOutsideKeepsTheLastChange_data()
{
    // Signal 0 stands for the display going away, as at a log-out without
    // a session manager; the toolkit then ends the program with code 1.
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("questionOpen");
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGINT") << int(SIGINT) << false;
    QTest::newRow("SIGHUP") << int(SIGHUP) << false;
    QTest::newRow("SIGTERM while asking whether to exit") << int(SIGTERM) << true;
    QTest::newRow("display connection lost") << 0 << false;
}

void TestE2eLifecycle::endingFromOutsideKeepsTheLastChange()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, questionOpen);
    DorvexProcess dorvex;
    QVERIFY(dorvex.start());
    dorvex.clickOnPanel("alarm2EnableCheckBox");
    QTRY_VERIFY(dorvex.lampColour("alarm2LedLabel") == DorvexProcess::LampColour::Green);
    if (questionOpen) {
        dorvex.pressExitShortcut();
        QTRY_VERIFY(!dorvex.windowNamed("Question").isEmpty());
    }
    // Well inside the period of the program's own save.
    QTest::qWait(1000);
    QVERIFY(!StoredSettings::contains("alarm2/enabled"));

    if (signalNumber != 0) {
        endWithSignal(dorvex, signalNumber);
    } else {
        Desktop::run(QStringLiteral("xdotool"), { "windowkill", dorvex.panel() });
        QVERIFY(dorvex.waitForEnd(5000));
        QVERIFY(dorvex.endedNormally());
    }
    QCOMPARE(StoredSettings::value("alarm2/enabled").toBool(), true);
}

void TestE2eLifecycle::startsDespiteLeftoversOrAnUnusableFolder_data()
{
    QTest::addColumn<QString>("runtimeFolderState");
    QTest::addColumn<int>("warnings");
    QTest::newRow("lock of a killed copy") << "killed" << 0;
    QTest::newRow("missing, cannot be made") << "/proc/dorvex-missing" << 1;
    QTest::newRow("read-only") << "read-only" << 1;
}

void TestE2eLifecycle::startsDespiteLeftoversOrAnUnusableFolder()
{
    QFETCH(QString, runtimeFolderState);
    QFETCH(int, warnings);
    auto store = DorvexProcess::Store::Writable;
    if (runtimeFolderState == QLatin1String("killed")) {
        // Destroyed while running, it is killed with SIGKILL.
        QVERIFY(DorvexProcess().start());
        QCOMPARE(QDir(runtimeFolder.path()).entryList({ "dorvex-*.lock" }).size(), 1);
    } else if (runtimeFolderState == QLatin1String("read-only")) {
        QFile::setPermissions(runtimeFolder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        // Without the superuser's powers, as every other user.
        store = DorvexProcess::Store::ProtectedByPermissions;
    } else {
        qputenv("XDG_RUNTIME_DIR", runtimeFolderState.toLocal8Bit());
    }

    DorvexProcess dorvex({}, store);
    QVERIFY(dorvex.start());
    endWithSignal(dorvex, SIGTERM);
    QCOMPARE(dorvex.standardError().count(unguarded), warnings);
}

DORVEX_TEST_MAIN(TestE2eLifecycle)

#include "tst_e2e_lifecycle.moc"
