#include "testclock.h"

TestClock::TestClock(const QDateTime &start, const QTimeZone &zone)
    : instant(start.toUTC())
    , zone(zone)
{
}

void TestClock::runOn(qint64 ms)
{
    instant = instant.addMSecs(ms);
    running += std::chrono::milliseconds(ms);
}

void TestClock::sleep(qint64 ms)
{
    instant = instant.addMSecs(ms);
    running += std::chrono::milliseconds(ms);
    emit changed(Change::Resumed);
}

void TestClock::step(qint64 ms)
{
    stepTo(instant.addMSecs(ms));
}

void TestClock::stepTo(const QDateTime &newNow)
{
    instant = newNow.toUTC();
    emit changed(Change::Stepped);
}
