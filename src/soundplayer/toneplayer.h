#ifndef DORVEX_TONEPLAYER_H
#define DORVEX_TONEPLAYER_H

#include <QObject>
#include <QSocketNotifier>
#include <QSoundEffect>
#include <QUrl>

// The sound player's side of the pipe: loops the alarm tone on the default
// sound device while told to play, and ends the process when the pipe closes
// or when the sound cannot go on. Commands are lines on standard input:
// "play" and "stop".
class TonePlayer : public QObject
{
    Q_OBJECT

public:
    // Why the process ended, for the program that started it.
    enum ExitCode {
        Released = 0,
        NoSoundDevice = 2,
        SoundLost = 3,
    };

    explicit TonePlayer(const QUrl &tone, QObject *parent = nullptr);

    // False when no sound device could be found: the caller ends with
    // NoSoundDevice without waiting for commands.
    static bool soundDeviceFound();

private:
    void readCommands();
    void obey(const QByteArray &command);

    QSoundEffect effect;
    QSocketNotifier commands;
    QByteArray pending;
    bool playWanted = false;
};

#endif
