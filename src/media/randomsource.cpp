#include "randomsource.h"

#include <QRandomGenerator>
#include <QTime>

static QRandomGenerator &generator()
{
    static QRandomGenerator instance;
    return instance;
}

void RandomSource::seed(quint32 value)
{
    generator().seed(value);
}

void RandomSource::seedFromTimeOfDay()
{
    seed(static_cast<quint32>(QTime(0, 0).secsTo(QTime::currentTime())));
}

int RandomSource::draw(int count)
{
    Q_ASSERT(count > 0);
    return static_cast<int>(generator().generate() % static_cast<quint32>(count));
}
