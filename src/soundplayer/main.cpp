// The alarm's sound player: a process of its own, started by the program
// when an alarm is prepared and ended when the alarm is over, so that the
// threads and the sound server connection that Qt Multimedia opens, and keeps
// for a process's whole life, end with it.

#include "toneplayer.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (!TonePlayer::soundDeviceFound())
        return TonePlayer::NoSoundDevice;
    TonePlayer player(QUrl(QStringLiteral("qrc:/sounds/sounds/alarm.wav")));
    return QCoreApplication::exec();
}
