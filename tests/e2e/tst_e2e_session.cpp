#include "desktopsession.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTime>

// The program started the way a user starts it, on a desktop with a window
// manager and a tray: what comes up on the screen, what the keys and clicks
// do, and what ends up in the settings store.
namespace {

const QString panelTitle = QStringLiteral("Dorvex 1.0.2");
const int exitTimeoutMs = 5000;
using Lamp = DorvexProcess::LampColour;

QString settingsFolder()
{
    return QFileInfo(TestEnvironment::instance().settingsFile()).absolutePath();
}

QString workingFolder(const char *subfolder)
{
    return TestEnvironment::instance().workingFolder() + QLatin1Char('/')
        + QLatin1String(subfolder);
}

void putPhoto(const QString &fileName)
{
    QDir().mkpath(workingFolder("photos"));
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    QVERIFY(photo.save(workingFolder("photos") + QLatin1Char('/') + fileName));
}

} // namespace

class TestE2eSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunShowsTheDefaults();
    void exitAnsweredNoKeepsTheProgramRunning();
    void exitSavesAndTheNextStartShowsTheSameValues();
    void testButtons_data();
    void testButtons();
    void noLangIgnoresTheStoredLanguage_data();
    void noLangIgnoresTheStoredLanguage();
    void keepsRunningWithAReadOnlySettingsFolder();
    void keepsRunningWithACorruptSettingsFile();
    void offersToStartAtLogIn();
};

void TestE2eSession::init()
{
    const QString folder = settingsFolder();
    QFile::setPermissions(
        folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir(folder).removeRecursively();
    QDir(workingFolder("photos")).removeRecursively();
    QDir(workingFolder("translations")).removeRecursively();
    QTRY_VERIFY(Desktop::windowsNamed(panelTitle).isEmpty());
}

void TestE2eSession::cleanup()
{
    QFile::setPermissions(
        settingsFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(TestEnvironment::instance().settingsFile(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestE2eSession::firstRunShowsTheDefaults()
{
    DorvexProcess dorvex;
    QVERIFY(dorvex.start());

    QCOMPARE(Desktop::windowsNamed(panelTitle), QStringList { dorvex.panel() });
    QCOMPARE(dorvex.panelGeometry().size(), QSize(482, 308));
    QVERIFY(dorvex.lampColour("alarm1LedLabel") == Lamp::Red);
    QVERIFY(dorvex.lampColour("alarm2LedLabel") == Lamp::Red);
    QVERIFY(dorvex.lampColour("alarm3LedLabel") == Lamp::Red);
    QVERIFY(dorvex.fullScreenWindow().isEmpty());
    // Besides the panel, only the icon that the tray holds.
    const QStringList windows = dorvex.visibleWindows();
    QCOMPARE(windows.size(), 2);
    const QString icon = windows.at(windows.at(0) == dorvex.panel() ? 1 : 0);
    QVERIFY(Desktop::geometry(icon).width() <= 32);

    dorvex.exitAnsweringYes();
    if (QTest::currentTestFailed())
        return;

    for (int number = 1; number <= 3; ++number) {
        const QString alarm = QStringLiteral("alarm%1/").arg(number);
        QCOMPARE(StoredSettings::value(alarm + "time").toTime(), QTime(0, 0, 0));
        QCOMPARE(StoredSettings::value(alarm + "enabled").toBool(), false);
        QCOMPARE(StoredSettings::value(alarm + "locked").toBool(), false);
        QCOMPARE(StoredSettings::value(alarm + "text").toString(),
            QStringLiteral("alarm %1").arg(number));
    }
    QCOMPARE(StoredSettings::value("disableAllCheckBox/enabled").toBool(), false);
    // Exit writes the alarm panel's values and how long it kept watch only;
    // the options stay unset.
    const QDateTime watchedUntil = QDateTime::fromString(
        StoredSettings::value("watched_until").toString(), Qt::ISODateWithMs);
    QVERIFY(qAbs(watchedUntil.secsTo(QDateTime::currentDateTimeUtc())) < 120);
    QCOMPARE(StoredSettings::keys().size(), 14);
}

void TestE2eSession::exitAnsweredNoKeepsTheProgramRunning()
{
    DorvexProcess dorvex;
    QVERIFY(dorvex.start());

    dorvex.pressExitShortcut();
    QTRY_VERIFY(!dorvex.windowNamed("Question").isEmpty());
    Desktop::activate(dorvex.windowNamed("Question"));
    Desktop::key(QStringLiteral("Escape"));
    QTRY_VERIFY(dorvex.windowNamed("Question").isEmpty());

    QTest::qWait(500);
    QVERIFY(dorvex.isRunning());
    QCOMPARE(Desktop::windowsNamed(panelTitle), QStringList { dorvex.panel() });
    QVERIFY(!QFile::exists(TestEnvironment::instance().settingsFile()));

    dorvex.exitAnsweringYes();
}

void TestE2eSession::exitSavesAndTheNextStartShowsTheSameValues()
{
    const QDateTime now = QDateTime::currentDateTime();
    // Already past today, so that it does not go off during the test.
    const QTime earlier = QTime(now.time().hour(), now.time().minute()).addSecs(-2 * 3600 + 17);
    const QString text = QStringLiteral("Tea is ready");

    {
        DorvexProcess dorvex;
        QVERIFY(dorvex.start());

        dorvex.enterTime("timeEditAlarm2", earlier);
        dorvex.clickOnPanel("alarm2EnableCheckBox");
        dorvex.clickOnPanel("alarm3LockCheckBox");
        dorvex.clickOnPanel("alarm1TextToolButton");
        QTRY_VERIFY(!dorvex.windowNamed("Question").isEmpty());
        Desktop::activate(dorvex.windowNamed("Question"));
        Desktop::key(QStringLiteral("ctrl+a"));
        Desktop::type(text);
        Desktop::key(QStringLiteral("Return"));
        QTRY_VERIFY(dorvex.windowNamed("Question").isEmpty());

        QTRY_VERIFY(dorvex.lampColour("alarm2LedLabel") == Lamp::Green);
        QVERIFY(dorvex.lampColour("alarm1LedLabel") == Lamp::Red);
        QVERIFY(dorvex.lampColour("alarm3LedLabel") == Lamp::Red);

        dorvex.exitAnsweringYes();
        if (QTest::currentTestFailed())
            return;
    }

    const QVariantMap expected {
        { "alarm1/time", QTime(0, 0, 0) },
        { "alarm2/time", earlier },
        { "alarm3/time", QTime(0, 0, 0) },
        { "alarm1/enabled", false },
        { "alarm2/enabled", true },
        { "alarm3/enabled", false },
        { "alarm1/locked", false },
        { "alarm2/locked", false },
        { "alarm3/locked", true },
        { "alarm1/text", text },
        { "alarm2/text", "alarm 2" },
        { "alarm3/text", "alarm 3" },
        { "disableAllCheckBox/enabled", false },
    };
    auto compareStore = [&expected] {
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QVariant stored = StoredSettings::value(it.key());
            QVERIFY2(it.value().typeId() == QMetaType::QTime
                    ? stored.toTime() == it.value().toTime()
                    : stored.toString() == it.value().toString(),
                qPrintable(it.key() + QLatin1String(" holds ") + stored.toString()));
        }
    };
    compareStore();
    if (QTest::currentTestFailed())
        return;

    // Exit saves what the controls hold, so the store comes out the same
    // only if the second start put every value back into its control.
    DorvexProcess again;
    QVERIFY(again.start());
    QVERIFY(again.lampColour("alarm1LedLabel") == Lamp::Red);
    QVERIFY(again.lampColour("alarm2LedLabel") == Lamp::Green);
    QVERIFY(again.lampColour("alarm3LedLabel") == Lamp::Red);
    QFile::remove(TestEnvironment::instance().settingsFile());

    again.exitAnsweringYes();
    if (QTest::currentTestFailed())
        return;
    compareStore();
}

void TestE2eSession::testButtons_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("storedOption");
    QTest::addColumn<bool>("buttonsShown");

    QTest::newRow("plain start") << QStringList() << false << false;
    QTest::newRow("-d") << QStringList { "-d" } << false << true;
    QTest::newRow("stored option") << QStringList() << true << true;
    QTest::newRow("-d in other case") << QStringList { "-D" } << false << false;
}

void TestE2eSession::testButtons()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, storedOption);
    QFETCH(bool, buttonsShown);

    if (storedOption)
        StoredSettings::write({ { "showTestAlarmCheckBox/enabled", true } });
    putPhoto(QStringLiteral("picture.png"));

    DorvexProcess dorvex(arguments);
    QVERIFY(dorvex.start());
    dorvex.clickOnPanel("alarm2DebugToolButton");

    if (buttonsShown) {
        dorvex.dismissAlarmDialog();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(StoredSettings::value("last_shown_photo").toString(),
            QStringLiteral("photos:picture.png"));
    } else {
        QTest::qWait(2000);
        QVERIFY(dorvex.fullScreenWindow().isEmpty());
    }
    QVERIFY(dorvex.isRunning());
    dorvex.exitAnsweringYes();
}

void TestE2eSession::noLangIgnoresTheStoredLanguage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("questionTitle");
    QTest::addColumn<QString>("yesKey");

    QTest::newRow("stored German") << QStringList() << "Frage"
                                   << "j";
    QTest::newRow("-nolang") << QStringList { "-nolang" } << "Question"
                             << "y";
    QTest::newRow("-nolang with -d") << QStringList { "-d", "-nolang" } << "Question"
                                     << "y";
}

void TestE2eSession::noLangIgnoresTheStoredLanguage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, questionTitle);
    QFETCH(QString, yesKey);

    StoredSettings::write({ { "language", "de" } });
    QDir().mkpath(workingFolder("translations"));
    QVERIFY(QFile::copy(QStringLiteral(E2E_CATALOGUE),
        workingFolder("translations") + QLatin1String("/dorvex_de.qm")));

    DorvexProcess dorvex(arguments);
    QVERIFY(dorvex.start());
    dorvex.exitAnsweringYes(questionTitle, yesKey);
    QCOMPARE(StoredSettings::value("language").toString(), QStringLiteral("de"));
}

void TestE2eSession::keepsRunningWithAReadOnlySettingsFolder()
{
    putPhoto(QStringLiteral("picture.png"));
    const QDateTime alarmAt = wholeSecondsAhead(4);
    StoredSettings::write({ { "alarm1/time", alarmAt.time() }, { "alarm1/enabled", true } });
    QVERIFY(QFile::setPermissions(TestEnvironment::instance().settingsFile(),
        QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(QFile::setPermissions(settingsFolder(),
        QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
            | QFileDevice::ExeOther));
    const QStringList keysBefore = StoredSettings::keys();

    DorvexProcess dorvex({}, DorvexProcess::Store::ProtectedByPermissions);
    QVERIFY(dorvex.start());
    QVERIFY2(QDateTime::currentDateTime() < alarmAt, "starting took too long");
    QVERIFY(dorvex.lampColour("alarm1LedLabel") == Lamp::Green);

    dorvex.dismissAlarmDueAt(alarmAt);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(Desktop::windowsNamed(panelTitle), QStringList { dorvex.panel() });
    // The click could not record the photo, and nothing else got in either.
    QCOMPARE(StoredSettings::keys(), keysBefore);

    // Ending it still works, and the user is told that the settings could
    // not be saved rather than left to believe they were.
    dorvex.pressExitShortcut();
    QTRY_VERIFY(!dorvex.windowNamed("Question").isEmpty());
    Desktop::activate(dorvex.windowNamed("Question"));
    Desktop::key(QStringLiteral("y"));
    QTRY_VERIFY(!dorvex.windowNamed("Warning").isEmpty());
    QVERIFY(dorvex.isRunning());
    Desktop::activate(dorvex.windowNamed("Warning"));
    Desktop::key(QStringLiteral("Return"));
    QVERIFY(dorvex.waitForEnd(exitTimeoutMs));
    QVERIFY(dorvex.endedNormally());
    QCOMPARE(dorvex.exitCode(), 0);
    QCOMPARE(StoredSettings::keys(), keysBefore);
}

void TestE2eSession::keepsRunningWithACorruptSettingsFile()
{
    QDir().mkpath(settingsFolder());
    QFile store(TestEnvironment::instance().settingsFile());
    QVERIFY(store.open(QIODevice::WriteOnly));
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919 + 13) % 256));
    garbage.insert(100, "[alarm1\n=time=@Variant(\\0\\0\n\"\\x");
    store.write(garbage);
    store.close();

    DorvexProcess dorvex;
    QVERIFY(dorvex.start());

    const QDateTime alarmAt = wholeSecondsAhead(5);
    dorvex.armFirstAlarm(alarmAt);
    if (QTest::currentTestFailed())
        return;

    dorvex.dismissAlarmDueAt(alarmAt);
    if (QTest::currentTestFailed())
        return;

    dorvex.exitAnsweringYes();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(StoredSettings::value("alarm1/time").toTime(), alarmAt.time());
    QCOMPARE(StoredSettings::value("alarm1/enabled").toBool(), true);
}

// With an alarm armed the status bar offers to start at log-in, and the
// window keeps its size; the offer's keyboard shortcut writes an entry the
// desktop accepts.
void TestE2eSession::offersToStartAtLogIn()
{
    const QString entry
        = TestEnvironment::instance().configHome() + "/autostart/org.ostrevan.dorvex.desktop";
    QFile::remove(entry);
    StoredSettings::write({ { "alarm1/enabled", true } });
    DorvexProcess dorvex;
    QVERIFY(dorvex.start());
    QCOMPARE(dorvex.panelGeometry().size(), QSize(482, 308));

    Desktop::activate(dorvex.panel());
    Desktop::key(QStringLiteral("alt+l"));
    QTRY_VERIFY(QFile::exists(entry));
    QCOMPARE(dorvex.panelGeometry().size(), QSize(482, 308));
    QCOMPARE(Desktop::run("desktop-file-validate", { entry }), QString());
    dorvex.exitAnsweringYes();
    QVERIFY(StoredSettings::value("autostartOffer/answered").toBool());
    QFile::remove(entry);
}

DORVEX_TEST_MAIN(TestE2eSession)

#include "tst_e2e_session.moc"
