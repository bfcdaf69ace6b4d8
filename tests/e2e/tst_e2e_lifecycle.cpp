#include "desktopsession.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <memory>

// One copy of the program per user, and how it ends when the system rather
// than the user ends it: the real program, started as a user starts it,
// with a runtime folder of the test's own.
namespace {

const QString panelTitle = QStringLiteral("Dorvex 1.0.2");
const QString handedOver = QStringLiteral("Dorvex is already running");
const QString unguarded = QStringLiteral("a single copy of Dorvex cannot be guaranteed");
const int endTimeoutMs = 5000;

struct LaterStart
{
    int exitCode = -1;
    QString standardError;
};

// Starts the program once more and waits for that start to end.
LaterStart startAgain()
{
    QProcess later;
    later.setWorkingDirectory(TestEnvironment::instance().workingFolder());
    later.start(QStringLiteral(DORVEX_PROGRAM));
    LaterStart result;
    if (!later.waitForFinished(endTimeoutMs)) {
        later.kill();
        later.waitForFinished();
        return result;
    }
    result.exitCode = later.exitStatus() == QProcess::NormalExit ? later.exitCode() : -1;
    result.standardError = QString::fromLocal8Bit(later.readAllStandardError());
    return result;
}

QStringList windowsOf(qint64 processId)
{
    return Desktop::run(QStringLiteral("xdotool"),
        { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
            QString::number(processId) })
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString activeWindow()
{
    return Desktop::run(QStringLiteral("xdotool"), { QStringLiteral("getactivewindow") });
}

} // namespace

class TestE2eLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void laterStartBringsTheFirstCopyToTheFront_data();
    void laterStartBringsTheFirstCopyToTheFront();
    void twoCopiesStartedTogetherMakeOne();
    void terminationSignalSavesAndEndsWithZero_data();
    void terminationSignalSavesAndEndsWithZero();
    void lockOfAKilledCopyDoesNotBlock();
    void unusableRuntimeFolderRunsUnguarded_data();
    void unusableRuntimeFolderRunsUnguarded();

private:
    void useRuntimeFolder(const QString &folder);

    std::unique_ptr<QTemporaryDir> runtimeFolder;
};

void TestE2eLifecycle::init()
{
    QDir(QFileInfo(TestEnvironment::instance().settingsFile()).absolutePath()).removeRecursively();
    runtimeFolder = std::make_unique<QTemporaryDir>();
    QFile::setPermissions(runtimeFolder->path(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    useRuntimeFolder(runtimeFolder->path());
    QTRY_VERIFY(Desktop::windowsNamed(panelTitle).isEmpty());
}

void TestE2eLifecycle::cleanup()
{
    QFile::setPermissions(runtimeFolder->path(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    runtimeFolder.reset();
}

void TestE2eLifecycle::useRuntimeFolder(const QString &folder)
{
    // The program inherits the test's environment.
    qputenv("XDG_RUNTIME_DIR", folder.toLocal8Bit());
}

void TestE2eLifecycle::laterStartBringsTheFirstCopyToTheFront_data()
{
    QTest::addColumn<QString>("firstCopyState");
    QTest::newRow("parked in the tray") << "parked";
    QTest::newRow("asking whether to exit") << "question";
    QTest::newRow("showing an alarm") << "alarm";
}

void TestE2eLifecycle::laterStartBringsTheFirstCopyToTheFront()
{
    QFETCH(QString, firstCopyState);
    DorvexProcess dorvex({ QStringLiteral("-d") });
    QVERIFY(dorvex.start());
    if (firstCopyState == QLatin1String("parked")) {
        if (Desktop::run(QStringLiteral("xwininfo"), { "-root", "-tree" }).contains("\"panel\"")
            == false)
            QSKIP("no tray on this display");
        dorvex.clickOnPanel("toTrayPushButton");
        QTRY_VERIFY(dorvex.windowNamed(panelTitle).isEmpty());
    } else if (firstCopyState == QLatin1String("question")) {
        dorvex.pressExitShortcut();
        QTRY_VERIFY(!dorvex.windowNamed("Question").isEmpty());
    } else {
        dorvex.clickOnPanel("alarm1DebugToolButton");
        QTRY_VERIFY(!dorvex.fullScreenWindow().isEmpty());
    }

    const LaterStart later = startAgain();
    QCOMPARE(later.exitCode, 0);
    QVERIFY2(later.standardError.contains(handedOver), qPrintable(later.standardError));

    QVERIFY(dorvex.isRunning());
    QTRY_VERIFY2(!dorvex.windowNamed(panelTitle).isEmpty(), qPrintable(dorvex.describeWindows()));
    QCOMPARE(Desktop::windowsNamed(panelTitle).size(), 1);
    if (firstCopyState == QLatin1String("parked")) {
        QTRY_COMPARE(activeWindow(), dorvex.windowNamed(panelTitle));
        dorvex.exitAnsweringYes();
    } else if (firstCopyState == QLatin1String("question")) {
        // The question stays in front, still waiting for its answer.
        QTRY_COMPARE(activeWindow(), dorvex.windowNamed("Question"));
        Desktop::key(QStringLiteral("y"));
        QVERIFY(dorvex.waitForEnd(endTimeoutMs));
        QCOMPARE(dorvex.exitCode(), 0);
    } else {
        // One alarm on the screen, still in front, from the first copy only.
        QTRY_COMPARE(activeWindow(), dorvex.fullScreenWindow());
        dorvex.dismissAlarmDialog();
        if (QTest::currentTestFailed())
            return;
        dorvex.exitAnsweringYes();
    }
}

void TestE2eLifecycle::twoCopiesStartedTogetherMakeOne()
{
    QProcess rival;
    rival.setWorkingDirectory(TestEnvironment::instance().workingFolder());
    rival.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    rival.start(QStringLiteral(DORVEX_PROGRAM));
    DorvexProcess dorvex;
    dorvex.start();

    // One of them gives way at once; the other shows its panel and icon.
    QTRY_VERIFY(!dorvex.isRunning() || rival.state() == QProcess::NotRunning);
    QTRY_COMPARE(Desktop::windowsNamed(panelTitle).size(), 1);
    QTest::qWait(1000);
    QCOMPARE(Desktop::windowsNamed(panelTitle).size(), 1);
    const bool dorvexStayed = dorvex.isRunning();
    QVERIFY(dorvexStayed != (rival.state() == QProcess::Running));
    const qint64 survivor = dorvexStayed ? dorvex.processId() : rival.processId();
    QCOMPARE(windowsOf(survivor).size(), 2);
    if (dorvexStayed) {
        QCOMPARE(rival.exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(rival.readAllStandardError()).contains(handedOver));
    } else {
        QCOMPARE(dorvex.exitCode(), 0);
        QVERIFY(dorvex.standardError().contains(handedOver));
    }

    ::kill(pid_t(survivor), SIGTERM);
    if (dorvexStayed) {
        QVERIFY(dorvex.waitForEnd(endTimeoutMs));
        QCOMPARE(dorvex.exitCode(), 0);
    } else {
        QVERIFY(rival.waitForFinished(endTimeoutMs));
        QCOMPARE(rival.exitCode(), 0);
    }
}

void TestE2eLifecycle::terminationSignalSavesAndEndsWithZero_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("questionOpen");
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGINT") << int(SIGINT) << false;
    QTest::newRow("SIGHUP") << int(SIGHUP) << false;
    QTest::newRow("SIGTERM while asking whether to exit") << int(SIGTERM) << true;
}

void TestE2eLifecycle::terminationSignalSavesAndEndsWithZero()
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
    QVERIFY(!StoredSettings::value("alarm2/enabled").toBool());

    ::kill(pid_t(dorvex.processId()), signalNumber);
    QVERIFY(dorvex.waitForEnd(endTimeoutMs));
    QVERIFY(dorvex.endedNormally());
    QCOMPARE(dorvex.exitCode(), 0);
    QCOMPARE(StoredSettings::value("alarm2/enabled").toBool(), true);
    QCOMPARE(StoredSettings::value("alarm1/enabled").toBool(), false);
}

void TestE2eLifecycle::lockOfAKilledCopyDoesNotBlock()
{
    {
        DorvexProcess crashed;
        QVERIFY(crashed.start());
        // Destroyed while running: killed with SIGKILL, it leaves its lock behind.
    }
    QVERIFY(!QDir(runtimeFolder->path()).entryList({ QStringLiteral("dorvex-*.lock") }).isEmpty());

    DorvexProcess dorvex;
    QVERIFY(dorvex.start());
    QVERIFY2(!dorvex.standardError().contains(unguarded), qPrintable(dorvex.standardError()));
    // It holds the lock now: a further start hands over to it.
    QCOMPARE(startAgain().exitCode, 0);
    QCOMPARE(Desktop::windowsNamed(panelTitle).size(), 1);
    dorvex.exitAnsweringYes();
}

void TestE2eLifecycle::unusableRuntimeFolderRunsUnguarded_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("missing, and cannot be made") << "/proc/dorvex-missing";
    QTest::newRow("read-only") << QString();
}

void TestE2eLifecycle::unusableRuntimeFolderRunsUnguarded()
{
    QFETCH(QString, folder);
    auto store = DorvexProcess::Store::Writable;
    if (folder.isEmpty()) {
        QVERIFY(QFile::setPermissions(
            runtimeFolder->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        // Without the superuser's powers, as every other user.
        store = DorvexProcess::Store::ProtectedByPermissions;
    } else {
        useRuntimeFolder(folder);
    }
    DorvexProcess dorvex({}, store);
    QVERIFY(dorvex.start());
    QCOMPARE(dorvex.standardError().count(unguarded), 1);
    QVERIFY(dorvex.isRunning());
    ::kill(pid_t(dorvex.processId()), SIGTERM);
    QVERIFY(dorvex.waitForEnd(endTimeoutMs));
    QCOMPARE(dorvex.exitCode(), 0);
    QCOMPARE(dorvex.standardError().count(unguarded), 1);
}

DORVEX_TEST_MAIN(TestE2eLifecycle)

#include "tst_e2e_lifecycle.moc"
