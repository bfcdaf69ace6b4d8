#ifndef DORVEX_ALARMDAYS_H
#define DORVEX_ALARMDAYS_H

#include <QDate>
#include <QLocale>
#include <QString>

// The days of the week an alarm rings on. With no day chosen it rings
// once, at its next coming, and is then switched off.
class AlarmDays
{
public:
    // Every day: what an alarm does unless told otherwise.
    AlarmDays() = default;
    static AlarmDays once() { return AlarmDays(0); }
    static AlarmDays workDays() { return AlarmDays(0x1f); }

    // From the stored text: ISO weekday digits, Monday 1 to Sunday 7, as
    // "12345". Other characters are passed over. An empty text means once;
    // a text with no valid digit means every day, and `readable` is false.
    static AlarmDays fromDigits(const QString &digits, bool *readable = nullptr);
    QString toDigits() const;

    bool isOnce() const { return mask == 0; }
    bool isEveryDay() const { return mask == everyDayMask; }
    bool contains(Qt::DayOfWeek day) const { return mask & bit(day); }
    void set(Qt::DayOfWeek day, bool chosen);
    // Whether an occurrence on `date` counts: any date for a once-only alarm.
    bool ringsOn(QDate date) const { return isOnce() || contains(Qt::DayOfWeek(date.dayOfWeek())); }

    // "Mon–Fri", "Mon, Wed, Sat–Sun", "Once" or "Every day", in `locale`'s
    // short day names and week order.
    QString describe(const QLocale &locale = QLocale()) const;

    bool operator==(const AlarmDays &other) const { return mask == other.mask; }
    bool operator!=(const AlarmDays &other) const { return mask != other.mask; }

private:
    static constexpr unsigned everyDayMask = 0x7f;
    explicit AlarmDays(unsigned mask)
        : mask(mask)
    {
    }
    static unsigned bit(Qt::DayOfWeek day) { return 1u << (day - 1); }

    unsigned mask = everyDayMask;
};

#endif
