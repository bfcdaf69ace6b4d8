#ifndef DORVEX_ALARMNOTICES_H
#define DORVEX_ALARMNOTICES_H

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// The lines that tell the user about an alarm that did not ring on time,
// with its due time as the clock on the wall showed it.
class AlarmNotices
{
    Q_DECLARE_TR_FUNCTIONS(AlarmNotices)

public:
    // Rung later than this, an alarm says when it was due.
    static constexpr qint64 punctualMs = 60 * 1000;

    // "Due at 07:00, 2 h 03 min ago" for a ring more than punctualMs late,
    // otherwise empty. `due` is in the zone the line is to show.
    static QString dueLine(const QDateTime &due, qint64 lateMs);
    // "Missed: alarm 2, due 07:00 Tue".
    static QString missedLine(int number, const QDateTime &due);
    // "07:00", or "07:00:30" for an alarm set to the second.
    static QString wallTime(const QDateTime &due);
};

#endif
