#ifndef DORVEX_RANDOMSOURCE_H
#define DORVEX_RANDOMSOURCE_H

#include <QtGlobal>

// The one pseudo-random generator of the process. Start-up seeds it once;
// everything that draws (the photo choice) takes from it, so that a seed
// makes a run of draws repeatable.
class RandomSource
{
public:
    static void seed(quint32 value);
    static void seedFromTimeOfDay();

    // An index in [0, count), taken as generate() % count; count must be > 0.
    static int draw(int count);
};

#endif
