#include "singleinstance.h"
#include "testenvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QTemporaryDir>

// A later copy that finds the lock taken must not wait forever for a first
// copy that has hung; the handing over itself is shown on the real program.
using Role = SingleInstance::Role;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void silentFirstCopyIsNotWaitedForForever_data();
    void silentFirstCopyIsNotWaitedForForever();

private:
    QTemporaryDir folder;
};

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
