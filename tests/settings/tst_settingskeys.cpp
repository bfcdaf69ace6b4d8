#include "settingskeys.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTimeZone>

using namespace SettingsKeys;

class TestSettingsKeys : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::instance().reset(); }
    void everyKeyIsDistinct();
    void valuesRoundTripThroughTheStoreFile();
    void brokenStoreFileGivesTheDefaults_data();
    void brokenStoreFileGivesTheDefaults();
    void snoozedRingReadsOnlyAsATimeToCome_data();
    void snoozedRingReadsOnlyAsATimeToCome();
};

void TestSettingsKeys::everyKeyIsDistinct()
{
    const QStringList keys = all();
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    QCOMPARE(alarmTimeKey(2), QStringLiteral("alarm2/time"));
    QCOMPARE(QLatin1String(startOnTray.key), QLatin1String("startOnTrayCheckBox/enabled"));
}

void TestSettingsKeys::valuesRoundTripThroughTheStoreFile()
{
    {
        QSettings settings;
        settings.setValue(alarmTimeKey(3), QTime(23, 59, 58));
        settings.setValue(alarmTextKey(1), QStringLiteral("Wake up, \"now\" = ünïcode"));
        confirmExit.write(settings, false);
        startOnTray.write(settings, true);
        // Kept in UTC whatever zone it is given in.
        writeWatchedUntil(settings,
            QDateTime(QDate(2027, 1, 12), QTime(7, 0, 0, 123), QTimeZone("Europe/Berlin")));
    }
    QVERIFY(QFile::exists(TestEnvironment::instance().settingsFile()));
    const QSettings settings(TestEnvironment::instance().settingsFile(), QSettings::IniFormat);
    QCOMPARE(readAlarmTime(settings, 3), QTime(23, 59, 58));
    QCOMPARE(readAlarmText(settings, 1), QStringLiteral("Wake up, \"now\" = ünïcode"));
    QCOMPARE(confirmExit.read(settings), false);
    QCOMPARE(startOnTray.read(settings), true);
    QCOMPARE(settings.value(QLatin1String(watchedUntil)).toString(),
        QStringLiteral("2027-01-12T06:00:00.123Z"));
    QCOMPARE(
        readWatchedUntil(settings), QDateTime(QDate(2027, 1, 12), QTime(6, 0, 0, 123), Qt::UTC));
}

void TestSettingsKeys::brokenStoreFileGivesTheDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("asFolder");
    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator generator(42);
    for (char &byte : garbage)
        byte = char(generator.generate());
    QTest::newRow("absent") << QByteArray() << false;
    QTest::newRow("binary garbage") << garbage << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("not ini") << QByteArray("<xml>alarm1/time=12</xml>\n[[[[\n=\n") << false;
    QTest::newRow("wrong types") << QByteArray("watched_until=yesterday\n[alarm1]\ntime=25:99\n"
                                               "[alarm2]\ntime=12345\nenabled=maybe\n")
                                 << false;
    QTest::newRow("unreadable: a folder in its place") << QByteArray() << true;
}

void TestSettingsKeys::brokenStoreFileGivesTheDefaults()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, asFolder);
    const QString path = TestEnvironment::instance().settingsFile();
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    if (asFolder) {
        QVERIFY(QDir().mkpath(path));
    } else if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    {
        const QSettings settings;
        for (int number = 1; number <= 3; ++number) {
            QVERIFY(readAlarmTime(settings, number).isNull());
            QCOMPARE(readAlarmEnabled(settings, number), false);
            QCOMPARE(readAlarmLocked(settings, number), false);
            QCOMPARE(readAlarmText(settings, number), QStringLiteral("alarm %1").arg(number));
        }
        for (const BoolOption &option : { disableAll, showTestAlarm, beepOnAlarm, scaleClockImage,
                 minimizeToTray, closeToTray, startOnTray })
            QCOMPARE(option.read(settings), false);
        QCOMPARE(confirmExit.read(settings), true);
        QCOMPARE(readLanguage(settings), QStringLiteral("default"));
        QCOMPARE(readLastShownPhoto(settings), QString());
        QVERIFY(!readWatchedUntil(settings).isValid());
    }
    QDir(path).removeRecursively();
    QFile::remove(path);
}

void TestSettingsKeys::snoozedRingReadsOnlyAsATimeToCome_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read");

    // Read at noon.
    QTest::newRow("ten minutes ahead") << "2027-01-12T12:10:00.000Z"
                                       << "2027-01-12T12:10:00.000Z";
    QTest::newRow("in the past: kept, to ring late or be missed") << "2027-01-12T02:00:00.000Z"
                                                                  << "2027-01-12T02:00:00.000Z";
    QTest::newRow("in another zone") << "2027-01-12T13:10:00+01:00"
                                     << "2027-01-12T12:10:00.000Z";
    QTest::newRow("garbage") << "soon" << QString();
    QTest::newRow("in the year 9999") << "9999-01-01T00:00:00Z" << QString();
}

void TestSettingsKeys::snoozedRingReadsOnlyAsATimeToCome()
{
    QFETCH(QString, stored);
    QFETCH(QString, read);
    const QDateTime noon(QDate(2027, 1, 12), QTime(12, 0), Qt::UTC);
    QSettings settings;
    settings.setValue(alarmSnoozedUntilKey(2), stored);
    QCOMPARE(readAlarmSnoozedUntil(settings, 2, noon).toString(Qt::ISODateWithMs), read);
    // Written back, a valid instant reads the same; none removes the key.
    writeAlarmSnoozedUntil(settings, 2, readAlarmSnoozedUntil(settings, 2, noon));
    QCOMPARE(settings.contains(alarmSnoozedUntilKey(2)), !read.isEmpty());
}

DORVEX_TEST_MAIN(TestSettingsKeys)
#include "tst_settingskeys.moc"
