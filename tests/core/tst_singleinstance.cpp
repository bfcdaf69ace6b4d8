#include "singleinstance.h"
#include "testenvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <future>

// Two copies meet through a lock file and a socket in one folder. The later
// copy runs on a thread of its own here, as it would in a process of its
// own, while the first answers from the event loop.
using Role = SingleInstance::Role;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void laterCopyHandsOverItsActivationToken();
    void silentFirstCopyIsNotWaitedForForever_data();
    void silentFirstCopyIsNotWaitedForForever();

private:
    QTemporaryDir folder;
};

void TestSingleInstance::laterCopyHandsOverItsActivationToken()
{
    SingleInstance first(folder.path(), QStringLiteral("talking"));
    QCOMPARE(first.claim(), Role::First);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    auto later = std::async(std::launch::async, [this] {
        return SingleInstance(folder.path(), QStringLiteral("talking")).claim("launcher-7");
    });
    QTRY_VERIFY(later.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
    QCOMPARE(later.get(), Role::HandedOver);
    QCOMPARE(activations.count(), 1);
    QCOMPARE(activations.at(0).at(0).toByteArray(), QByteArray("launcher-7"));
}

void TestSingleInstance::silentFirstCopyIsNotWaitedForForever_data()
{
    QTest::addColumn<bool>("listening");
    QTest::newRow("holds the lock, no socket yet") << false;
    QTest::newRow("listens but never answers") << true;
}

void TestSingleInstance::silentFirstCopyIsNotWaitedForForever()
{
    QFETCH(bool, listening);
    SingleInstance later(folder.path(), QStringLiteral("silent"));
    QLockFile lock(later.lockFilePath());
    QVERIFY(lock.tryLock(0));
    QLocalServer mute;
    QVERIFY(!listening || mute.listen(later.socketPath()));

    QElapsedTimer waited;
    waited.start();
    QCOMPARE(later.claim(QByteArray(), 300), Role::OtherCopySilent);
    QVERIFY(waited.elapsed() < 3000);
}

DORVEX_TEST_MAIN(TestSingleInstance)

#include "tst_singleinstance.moc"
