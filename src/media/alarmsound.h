#ifndef DORVEX_ALARMSOUND_H
#define DORVEX_ALARMSOUND_H

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>

class QDialog;
class QProcess;

// The alarm's sound: the program's own tone, looped while any alarm dialog
// is open, for at most ten minutes after the latest ring. However many
// dialogs are open, there is one sound.
//
// The tone is played by a player process (dorvex-alarm-sound, beside the
// program), because Qt Multimedia starts threads and connects to the sound
// server for the rest of a process's life: prepare() starts the player,
// release() ends it and all of that with it. Without a sound device, or when
// the player cannot go on, the bell (SystemBeep) rings instead, and the first
// time this happens a line on standard error says so.
class AlarmSound : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::minutes longestRing { 10 };
    // How often the cap is checked and, without a sound device, the bell rung:
    // the tone's own length.
    static constexpr std::chrono::milliseconds defaultTick { 1000 };

    // The ten minutes are counted on the clock's time since boot, which also
    // runs while the computer sleeps: an alarm that rang before a sleep is
    // not heard for ten more minutes after it.
    explicit AlarmSound(const QString &playerPath, std::chrono::milliseconds tick = defaultTick,
        QObject *parent = nullptr);

    // The one sound of the program's alarm dialogs.
    static AlarmSound &instance();

    // Starts the player and lets it connect to the sound server and load the
    // tone, so that a ring soon after starts without delay. Rings start it
    // themselves when needed.
    void prepare();
    // Ends the player. Done by itself when a ring is over.
    void release();
    bool isPrepared() const;

    // Rings until `dialog` is dismissed (or destroyed), or until the
    // longest ring has passed since the latest call.
    void ringWhileOpen(QDialog *dialog);
    bool isRinging() const;
    bool isRingingBell() const;

private:
    void startRinging();
    void stopRinging();
    void dialogClosed(QObject *dialog);
    void tick();
    void fallBackToBell();
    void playerEnded();

    QString playerPath;
    QTimer ticker;
    // A child: destroyed with this object, it kills the player.
    QProcess *player = nullptr;
    QList<QPointer<QObject>> openDialogs;
    std::chrono::milliseconds latestRing { 0 };
    bool bell = false;
    bool noDeviceReported = false;
};

#endif
