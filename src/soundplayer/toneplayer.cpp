#include "toneplayer.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>

#include <unistd.h>

TonePlayer::TonePlayer(const QUrl &tone, QObject *parent)
    : QObject(parent)
    , effect(QMediaDevices::defaultAudioOutput())
    , commands(STDIN_FILENO, QSocketNotifier::Read)
{
    effect.setSource(tone);
    effect.setLoopCount(QSoundEffect::Infinite);
    connect(&commands, &QSocketNotifier::activated, this, &TonePlayer::readCommands);
    // A looping tone that stops by itself, or one that cannot be loaded,
    // means that the sound server went away or the device failed.
    connect(&effect, &QSoundEffect::playingChanged, this, [this] {
        if (playWanted && !effect.isPlaying())
            QCoreApplication::exit(SoundLost);
    });
    connect(&effect, &QSoundEffect::statusChanged, this, [this] {
        if (effect.status() == QSoundEffect::Error)
            QCoreApplication::exit(SoundLost);
    });
}

bool TonePlayer::soundDeviceFound()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

void TonePlayer::readCommands()
{
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
        commands.setEnabled(false);
        QCoreApplication::exit(Released);
        return;
    }
    pending.append(buffer, count);
    for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
        obey(pending.left(end).trimmed());
        pending.remove(0, end + 1);
    }
}

void TonePlayer::obey(const QByteArray &command)
{
    if (command == "play") {
        playWanted = true;
        effect.play();
    } else if (command == "stop") {
        playWanted = false;
        effect.stop();
    }
}
