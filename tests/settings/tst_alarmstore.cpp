#include "alarmstore.h"
#include "testenvironment.h"

#include <QApplication>
#include <QSignalSpy>

// How the panel's store tells whether a save went through, and retries a failed one.
static StoredPanel teaAtFive()
{
    StoredPanel panel;
    for (const char *text : { "wake up", "tea", "sleep" })
        panel.alarms.append({ QTime(17, 0), true, false, QLatin1String(text), {}, {} });
    return panel;
}

class TestAlarmStore : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::instance().reset(); }

    void savesWhatChangedOnceTheStoreCanBeWritten_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("writable");
        QTest::newRow("nothing changed") << false << true;
        QTest::newRow("changed") << true << true;
        QTest::newRow("changed, store cannot be written") << true << false;
        QTest::newRow("nothing changed, store cannot be written") << false << false;
    }

    void savesWhatChangedOnceTheStoreCanBeWritten()
    {
        QFETCH(bool, changed);
        QFETCH(bool, writable);
        QVERIFY(writable || TestEnvironment::instance().blockStore());
        AlarmStore store(teaAtFive);
        QSignalSpy saved(&store, &AlarmStore::saved);
        QSignalSpy failed(&store, &AlarmStore::saveFailed);
        if (changed)
            store.markChanged();
        store.saveIfChanged();
        QCOMPARE(saved.count(), int(changed && writable));
        QCOMPARE(failed.count(), int(changed && !writable));
        TestEnvironment::instance().unblockStore();
        for (int retry = 0; retry < 2; ++retry) {
            store.saveIfChanged();
            QCOMPARE(saved.count(), int(changed));
        }
        QCOMPARE(failed.count(), int(changed && !writable));
        // What was saved is what the next start reads.
        if (changed)
            QCOMPARE(AlarmStore(teaAtFive).load().alarms.at(1).text, QStringLiteral("tea"));
    }
};

DORVEX_TEST_MAIN(TestAlarmStore)

#include "tst_alarmstore.moc"
