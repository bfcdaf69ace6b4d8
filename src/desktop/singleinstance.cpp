#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

// One line each way: the later copy's request with its token, the first
// copy's acknowledgement.
const QByteArray activateRequest = QByteArrayLiteral("activate ");
const QByteArray acknowledgement = QByteArrayLiteral("ok\n");
const int retryPauseMs = 100;
const int connectTimeoutMs = 1000;

} // namespace

SingleInstance::SingleInstance(const QString &folder, const QString &key, QObject *parent)
    : QObject(parent)
    , folder(folder)
    , key(key)
    , lock(folder + QLatin1Char('/') + key + QLatin1String(".lock"))
{
    // Never stale by age: only a lock whose process is gone is taken over,
    // however long the first copy has been running.
    lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    // The server goes first, so that no later copy reaches a socket whose
    // lock is already released.
    delete server;
}

QString SingleInstance::runtimeFolder()
{
    const QString named = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return named.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                           : named;
}

QString SingleInstance::keyForStore(const QString &settingsFile)
{
    const QByteArray digest = QCryptographicHash::hash(
        QFileInfo(settingsFile).absoluteFilePath().toUtf8(), QCryptographicHash::Sha256);
    return QLatin1String("dorvex-") + QString::fromLatin1(digest.toHex().left(16));
}

QString SingleInstance::lockFilePath() const
{
    return lock.fileName();
}

QString SingleInstance::socketPath() const
{
    return folder + QLatin1Char('/') + key + QLatin1String(".socket");
}

SingleInstance::Role SingleInstance::claim(const QByteArray &activationToken, int patienceMs)
{
    const QDeadlineTimer deadline(patienceMs);
    for (;;) {
        if (lock.tryLock(0))
            return listen() ? Role::First : Role::Unguarded;
        if (lock.error() != QLockFile::LockFailedError)
            return Role::Unguarded;
        // The first copy may hold the lock but not listen yet, or be ending
        // and about to let the lock go: ask again until the patience runs out.
        if (askFirstCopy(activationToken, deadline))
            return Role::HandedOver;
        if (deadline.hasExpired())
            return Role::OtherCopySilent;
        QThread::msleep(retryPauseMs);
    }
}

bool SingleInstance::listen()
{
    // Whatever socket file is left there belongs to a copy that held the
    // lock before and is gone.
    QLocalServer::removeServer(socketPath());
    server = new QLocalServer;
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
    return server->listen(socketPath());
}

void SingleInstance::answer(QLocalSocket *socket)
{
    if (!socket->canReadLine())
        return;
    const QByteArray request = socket->readLine().trimmed();
    if (!request.startsWith(activateRequest.trimmed())) {
        socket->disconnectFromServer();
        return;
    }
    socket->write(acknowledgement);
    socket->flush();
    emit activationRequested(request.mid(activateRequest.size()));
}

bool SingleInstance::askFirstCopy(const QByteArray &activationToken, const QDeadlineTimer &deadline)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(int(qMin<qint64>(connectTimeoutMs, deadline.remainingTime()))))
        return false;
    socket.write(activateRequest + activationToken + '\n');
    socket.flush();
    // The first copy answers from its event loop, which runs also while it
    // shows a dialog, but only once it has finished starting.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine() == acknowledgement;
}
