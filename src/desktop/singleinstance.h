#ifndef DORVEX_SINGLEINSTANCE_H
#define DORVEX_SINGLEINSTANCE_H

#include <QByteArray>
#include <QDeadlineTimer>
#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Keeps one running copy of the program per settings store. The first copy
// holds a lock file in the user's runtime folder and listens on a local
// socket beside it; a later copy finds the lock taken, asks the first one
// through the socket to come to the front, and is then expected to end.
// A lock left by a copy that crashed names a process that is gone, and is
// taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Role {
        // This is the only copy: it holds the lock and answers later copies.
        First,
        // Another copy runs and has been asked to come to the front.
        HandedOver,
        // Another copy holds the lock but did not answer in time.
        OtherCopySilent,
        // The folder cannot hold the lock: nothing keeps a second copy out.
        Unguarded,
    };

    // The lock and the socket are named after the key, inside the folder.
    SingleInstance(const QString &folder, const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The user's runtime folder as the environment names it. Asked directly:
    // the toolkit would quietly fall back to a folder of its own, which a
    // copy started with a proper environment never looks into.
    static QString runtimeFolder();
    // A short name derived from the settings file, so that copies with
    // different stores (two users, two tests) never meet.
    static QString keyForStore(const QString &settingsFile);

    // Takes the lock, or hands over to the copy that has it. A copy that is
    // still starting is given up to `patienceMs` to answer.
    // `activationToken` goes to the first copy, which needs it on desktops
    // that let a program come to the front only with the launcher's consent.
    Role claim(const QByteArray &activationToken = QByteArray(), int patienceMs = 5000);

    QString lockFilePath() const;
    QString socketPath() const;

signals:
    // A later copy asked this one to come to the front.
    void activationRequested(const QByteArray &activationToken);

private:
    bool listen();
    bool askFirstCopy(const QByteArray &activationToken, const QDeadlineTimer &deadline);
    void answer(QLocalSocket *socket);

    QString folder;
    QString key;
    QLockFile lock;
    QLocalServer *server = nullptr;
};

#endif
