#include "alarmdays.h"

#include <QCoreApplication>
#include <QStringList>

AlarmDays AlarmDays::fromDigits(const QString &digits, bool *readable)
{
    unsigned mask = 0;
    for (const QChar character : digits) {
        if (character >= QLatin1Char('1') && character <= QLatin1Char('7'))
            mask |= bit(Qt::DayOfWeek(character.digitValue()));
    }
    const bool understood = digits.isEmpty() || mask != 0;
    if (readable)
        *readable = understood;
    return understood ? AlarmDays(mask) : AlarmDays();
}

QString AlarmDays::toDigits() const
{
    QString digits;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        if (contains(Qt::DayOfWeek(day)))
            digits += QChar(QLatin1Char('0').unicode() + day);
    }
    return digits;
}

void AlarmDays::set(Qt::DayOfWeek day, bool chosen)
{
    if (chosen)
        mask |= bit(day);
    else
        mask &= ~bit(day);
}

QString AlarmDays::describe(const QLocale &locale) const
{
    if (isOnce())
        return QCoreApplication::translate("AlarmDays", "Once");
    if (isEveryDay())
        return QCoreApplication::translate("AlarmDays", "Every day");
    // Runs of chosen days in the locale's week: three or more read as a range.
    QList<Qt::DayOfWeek> week;
    for (int offset = 0; offset < 7; ++offset)
        week.append(Qt::DayOfWeek((locale.firstDayOfWeek() - 1 + offset) % 7 + 1));
    QStringList parts;
    for (int start = 0; start < 7;) {
        if (!contains(week[start])) {
            ++start;
            continue;
        }
        int end = start;
        while (end + 1 < 7 && contains(week[end + 1]))
            ++end;
        const QString first = locale.dayName(week[start], QLocale::ShortFormat);
        const QString last = locale.dayName(week[end], QLocale::ShortFormat);
        if (end - start >= 2)
            parts << first + QChar(0x2013) + last;
        else if (end > start)
            parts << first << last;
        else
            parts << first;
        start = end + 1;
    }
    return parts.join(QLatin1String(", "));
}
