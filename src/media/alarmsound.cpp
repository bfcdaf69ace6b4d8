#include "alarmsound.h"

#include "childprocess.h"

#include "clock.h"
#include "systembeep.h"

#include <QCoreApplication>
#include <QDialog>
#include <QProcess>

static const char playerName[] = "dorvex-alarm-sound";

// A player that does not end within this time after its pipe closed is
// hanging, on a sound server that no longer answers, for instance.
static const int playerGraceMs = 2000;

AlarmSound::AlarmSound(const QString &playerPath, std::chrono::milliseconds tick, QObject *parent)
    : QObject(parent)
    , playerPath(playerPath)
{
    ticker.setInterval(tick);
    connect(&ticker, &QTimer::timeout, this, &AlarmSound::tick);
}

AlarmSound &AlarmSound::instance()
{
    // Owned by the application, so that the player is ended while the event
    // loop's machinery still exists.
    static QPointer<AlarmSound> sound;
    if (!sound) {
        sound = new AlarmSound(
            QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(playerName),
            defaultTick, QCoreApplication::instance());
    }
    return *sound;
}

void AlarmSound::prepare()
{
    if (player)
        return;
    player = new QProcess(this);
    player->setProgram(playerPath);
    // The player's own messages (Qt Multimedia's about a missing server)
    // would repeat at every alarm what this class says once.
    player->setStandardOutputFile(QProcess::nullDevice());
    player->setStandardErrorFile(QProcess::nullDevice());
    connect(player, &QProcess::finished, this, &AlarmSound::playerEnded);
    connect(player, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            playerEnded();
    });
    player->start(QIODevice::WriteOnly);
}

void AlarmSound::release()
{
    if (!player)
        return;
    QProcess *leaving = player;
    player = nullptr;
    leaving->disconnect(this);
    // The player ends when its pipe closes; one that does not is killed.
    ChildProcess::letGo(leaving, playerGraceMs);
}

bool AlarmSound::isPrepared() const
{
    return player != nullptr;
}

void AlarmSound::ringWhileOpen(QDialog *dialog)
{
    // Shown again, a dialog is still the same ring.
    if (openDialogs.contains(dialog))
        return;
    openDialogs.append(dialog);
    connect(dialog, &QDialog::finished, this, [this, dialog] { dialogClosed(dialog); });
    connect(dialog, &QObject::destroyed, this, &AlarmSound::dialogClosed);
    latestRing = Clock::instance().sinceBoot();
    if (!isRinging())
        startRinging();
}

bool AlarmSound::isRinging() const
{
    // The ticker runs exactly while a ring lasts.
    return ticker.isActive();
}

bool AlarmSound::isRingingBell() const
{
    return isRinging() && bell;
}

void AlarmSound::startRinging()
{
    ticker.start();
    prepare();
    if (player)
        player->write("play\n");
}

void AlarmSound::stopRinging()
{
    bell = false;
    ticker.stop();
    release();
}

void AlarmSound::dialogClosed(QObject *dialog)
{
    openDialogs.removeAll(dialog);
    openDialogs.removeAll(nullptr);
    if (openDialogs.isEmpty() && isRinging())
        stopRinging();
}

void AlarmSound::tick()
{
    if (Clock::instance().sinceBoot() - latestRing >= longestRing) {
        stopRinging();
        return;
    }
    if (bell)
        SystemBeep::sound();
}

void AlarmSound::playerEnded()
{
    // Deleted later: this may run inside one of the player's own signals.
    player->disconnect(this);
    player->deleteLater();
    player = nullptr;
    if (isRinging())
        fallBackToBell();
}

void AlarmSound::fallBackToBell()
{
    if (!noDeviceReported) {
        noDeviceReported = true;
        qWarning("No sound device was found: the alarms ring the bell instead.");
    }
    bell = true;
    SystemBeep::sound();
}
