#include "singleinstance.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Two copies of the program meet through a lock file and a socket in one
// folder. The later copy runs on a thread of its own here, as it would in a
// process of its own, while the first answers from the event loop.
namespace {

using Role = SingleInstance::Role;

const QString key = QStringLiteral("dorvex-test");

// What a copy killed without warning leaves behind: a socket file that no
// one listens on.
void leaveDeadSocket(const QString &path)
{
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    QVERIFY(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    ::close(socketFd);
}

// A process id that belonged to a process which has ended.
qint64 endedProcessId()
{
    QProcess process;
    process.start(QStringLiteral("sleep"), { QStringLiteral("30") });
    process.waitForStarted();
    const qint64 id = process.processId();
    process.kill();
    process.waitForFinished();
    return id;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void laterCopyHandsOverWithItsToken();
    void storesOfTheirOwnNeverMeet();
    void leftoversOfAKilledCopyAreTakenOver();
    void silentFirstCopyIsNotWaitedForForever_data();
    void silentFirstCopyIsNotWaitedForForever();
    void unusableFolderLeavesTheCopyUnguarded_data();
    void unusableFolderLeavesTheCopyUnguarded();

private:
    std::unique_ptr<QTemporaryDir> folder;
};

void TestSingleInstance::init()
{
    folder = std::make_unique<QTemporaryDir>();
}

void TestSingleInstance::laterCopyHandsOverWithItsToken()
{
    SingleInstance first(folder->path(), key);
    QCOMPARE(first.claim(), Role::First);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    auto later = std::async(std::launch::async,
        [this] { return SingleInstance(folder->path(), key).claim("launcher-token-7"); });
    QTRY_VERIFY(later.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
    QCOMPARE(later.get(), Role::HandedOver);
    QCOMPARE(activations.count(), 1);
    QCOMPARE(activations.at(0).at(0).toByteArray(), QByteArray("launcher-token-7"));
}

void TestSingleInstance::storesOfTheirOwnNeverMeet()
{
    const QString keyA = SingleInstance::keyForStore(QStringLiteral("/home/a/.config/O/d.conf"));
    const QString keyB = SingleInstance::keyForStore(QStringLiteral("/home/b/.config/O/d.conf"));
    QVERIFY(keyA != keyB);
    QCOMPARE(SingleInstance::keyForStore(QStringLiteral("/home/a/.config/O/d.conf")), keyA);

    SingleInstance first(folder->path(), keyA);
    SingleInstance other(folder->path(), keyB);
    QCOMPARE(first.claim(), Role::First);
    QCOMPARE(other.claim(), Role::First);
}

void TestSingleInstance::leftoversOfAKilledCopyAreTakenOver()
{
    SingleInstance first(folder->path(), key);
    // The lock as a copy that has ended wrote it, and its socket file.
    QByteArray lockContents;
    {
        QLockFile lock(first.lockFilePath());
        QVERIFY(lock.tryLock(0));
        QFile file(first.lockFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        lockContents = file.readAll();
    }
    QFile lockFile(first.lockFilePath());
    QVERIFY(lockFile.open(QIODevice::WriteOnly));
    lockFile.write(
        QByteArray::number(endedProcessId()) + lockContents.mid(lockContents.indexOf('\n')));
    lockFile.close();
    leaveDeadSocket(first.socketPath());

    QCOMPARE(first.claim(), Role::First);
    // And it answers on the socket it took over.
    auto later = std::async(
        std::launch::async, [this] { return SingleInstance(folder->path(), key).claim(); });
    QTRY_VERIFY(later.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
    QCOMPARE(later.get(), Role::HandedOver);
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
    SingleInstance later(folder->path(), key);
    QLockFile lock(later.lockFilePath());
    QVERIFY(lock.tryLock(0));
    QLocalServer mute;
    if (listening)
        QVERIFY(mute.listen(later.socketPath()));

    QElapsedTimer waited;
    waited.start();
    QCOMPARE(later.claim(QByteArray(), 300), Role::OtherCopySilent);
    QVERIFY(waited.elapsed() < 3000);
}

void TestSingleInstance::unusableFolderLeavesTheCopyUnguarded_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::newRow("missing") << "no-such-folder";
    QTest::newRow("a file in its place") << "file";
}

void TestSingleInstance::unusableFolderLeavesTheCopyUnguarded()
{
    QFETCH(QString, folderName);
    QFile file(folder->filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    SingleInstance copy(folder->filePath(folderName), key);
    QCOMPARE(copy.claim(QByteArray(), 300), Role::Unguarded);
}

DORVEX_TEST_MAIN(TestSingleInstance)

#include "tst_singleinstance.moc"
