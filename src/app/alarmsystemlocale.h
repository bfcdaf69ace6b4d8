#ifndef DORVEX_ALARMSYSTEMLOCALE_H
#define DORVEX_ALARMSYSTEMLOCALE_H

#include <QLocale>
#include <private/qlocale_p.h>

// Makes the chosen interface language the toolkit's system locale.
// Only language and territory are forced: number, date and time formats
// still come from the operating system. Constructing one installs it for
// the whole process; it must then live until the process ends.
class AlarmSystemLocale : public QSystemLocale
{
public:
    explicit AlarmSystemLocale(const QLocale &locale);
    ~AlarmSystemLocale() override;

    QVariant query(QueryType type, QVariant in = QVariant()) const override;

private:
    QLocale forcedLocale;
};

#endif
