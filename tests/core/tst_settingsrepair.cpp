#include "settingsrepair.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>

// A settings file that cannot be read as a whole is replaced by a clean one
// that keeps what could still be read.
namespace {

void writeDamagedStore(const QByteArray &readablePart, qsizetype debrisBytes)
{
    const QString fileName = TestEnvironment::instance().settingsFile();
    QDir().mkpath(QFileInfo(fileName).path());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray debris(debrisBytes, Qt::Uninitialized);
    QRandomGenerator random(20261207);
    for (char &byte : debris)
        byte = char(random.bounded(256));
    file.write(readablePart + debris);
}

} // namespace

class TestSettingsRepair : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::instance().reset(); }

    void damagedFileIsReplacedKeepingWhatCouldBeRead();
};

void TestSettingsRepair::damagedFileIsReplacedKeepingWhatCouldBeRead()
{
    // Debris may well look like a key; only the named keys are kept.
    writeDamagedStore("[General]\nlanguage=de\nZ=debris\n[alarm2]\ntext=Tea is ready\n"
                      "enabled=true\n",
        10 * 1024 * 1024);
    QCOMPARE(QSettings().status(), QSettings::FormatError);

    QVERIFY(SettingsRepair::rewriteClean(
        { "language", "alarm2/text", "alarm2/enabled", "alarm3/time" }));

    const QSettings repaired;
    QCOMPARE(repaired.status(), QSettings::NoError);
    QCOMPARE(repaired.value("language").toString(), QStringLiteral("de"));
    QCOMPARE(repaired.value("alarm2/text").toString(), QStringLiteral("Tea is ready"));
    QCOMPARE(repaired.value("alarm2/enabled").toString(), QStringLiteral("true"));
    QCOMPARE(repaired.allKeys().size(), 3);
    QVERIFY(QFileInfo(repaired.fileName()).size() < 200);
}

DORVEX_TEST_MAIN(TestSettingsRepair)

#include "tst_settingsrepair.moc"
