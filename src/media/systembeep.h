#ifndef DORVEX_SYSTEMBEEP_H
#define DORVEX_SYSTEMBEEP_H

#include <functional>

// The system bell: the alarm's sound when no sound device can play its tone.
// It goes through here so that a test can count beeps on a machine without a
// speaker.
class SystemBeep
{
public:
    static void sound();

    // Sounds the given action instead of the system beep from now on; an
    // empty action brings the system beep back.
    static void replace(std::function<void()> action);
};

#endif
