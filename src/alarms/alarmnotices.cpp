#include "alarmnotices.h"

#include <QLocale>

QString AlarmNotices::dueLine(const QDateTime &due, qint64 lateMs)
{
    if (lateMs <= punctualMs)
        return QString();
    const qint64 minutes = lateMs / 60000;
    const QString late = minutes < 60
        ? tr("%1 min").arg(minutes)
        : tr("%1 h %2 min").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return tr("Due at %1, %2 ago").arg(wallTime(due), late);
}

QString AlarmNotices::missedLine(int number, const QDateTime &due)
{
    return tr("Missed: alarm %1, due %2 %3")
        .arg(number)
        .arg(wallTime(due), QLocale().dayName(due.date().dayOfWeek(), QLocale::ShortFormat));
}

QString AlarmNotices::wallTime(const QDateTime &due)
{
    // Seconds only when the alarm has them: most are set to the minute.
    return due.time().toString(
        due.time().second() == 0 ? QStringLiteral("HH:mm") : QStringLiteral("HH:mm:ss"));
}
