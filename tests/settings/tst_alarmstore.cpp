#include "alarmstore.h"
#include "testenvironment.h"

#include <QApplication>
#include <QSignalSpy>

// How the panel's store tells whether a save went through, and tries again
// after one that did not.
namespace {

StoredPanel teaAtFive()
{
    StoredPanel panel;
    for (const char *text : { "wake up", "tea", "sleep" })
        panel.alarms.append({ QTime(17, 0), true, false, QLatin1String(text), {}, {} });
    return panel;
}

} // namespace

class TestAlarmStore : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::instance().reset(); }

    void savingTellsHowItWent_data();
    void savingTellsHowItWent();
    void failedSaveIsTriedAgainOnceTheStoreCanBeWritten();
};

void TestAlarmStore::savingTellsHowItWent_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("failures");
    QTest::newRow("nothing changed") << false << true << 0 << 0;
    QTest::newRow("changed") << true << true << 1 << 0;
    QTest::newRow("changed, store cannot be written") << true << false << 0 << 1;
    QTest::newRow("nothing changed, store cannot be written") << false << false << 0 << 0;
}

void TestAlarmStore::savingTellsHowItWent()
{
    QFETCH(bool, changed);
    QFETCH(bool, writable);
    QFETCH(int, saves);
    QFETCH(int, failures);
    if (!writable)
        QVERIFY(TestEnvironment::instance().blockStore());
    AlarmStore store(teaAtFive);
    QSignalSpy saved(&store, &AlarmStore::saved);
    QSignalSpy failed(&store, &AlarmStore::saveFailed);
    if (changed)
        store.markChanged();
    store.saveIfChanged();
    QCOMPARE(saved.count(), saves);
    QCOMPARE(failed.count(), failures);
    // What was saved is what the next start reads.
    if (saves)
        QCOMPARE(AlarmStore(teaAtFive).load().alarms.at(1).text, QStringLiteral("tea"));
}

void TestAlarmStore::failedSaveIsTriedAgainOnceTheStoreCanBeWritten()
{
    QVERIFY(TestEnvironment::instance().blockStore());
    AlarmStore store(teaAtFive);
    QSignalSpy saved(&store, &AlarmStore::saved);
    QSignalSpy failed(&store, &AlarmStore::saveFailed);
    store.markChanged();
    store.saveIfChanged();
    QCOMPARE(failed.count(), 1);

    TestEnvironment::instance().unblockStore();
    store.saveIfChanged();
    QCOMPARE(saved.count(), 1);
    store.saveIfChanged();
    QCOMPARE(saved.count(), 1);
    QCOMPARE(failed.count(), 1);
}

DORVEX_TEST_MAIN(TestAlarmStore)

#include "tst_alarmstore.moc"
