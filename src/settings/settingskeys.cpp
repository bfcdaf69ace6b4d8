#include "settingskeys.h"

#include "alarmengine.h"
#include "appconstants.h"

#include <QSettings>
#include <QTextStream>

namespace SettingsKeys {

// The toolkit would read any non-empty text as true; a switch whose stored
// value is not a recognisable boolean keeps its default instead, so that a
// damaged store cannot arm an alarm by itself.
static bool readBool(const QSettings &settings, const QString &key, bool defaultValue)
{
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return defaultValue;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return defaultValue;
}

bool BoolOption::read(const QSettings &settings) const
{
    return readBool(settings, QLatin1String(key), defaultValue);
}

void BoolOption::write(QSettings &settings, bool value) const
{
    settings.setValue(QLatin1String(key), value);
}

static QString alarmKey(int number, const char *field)
{
    return QStringLiteral("alarm%1/%2").arg(number).arg(QLatin1String(field));
}

QString alarmTimeKey(int number)
{
    return alarmKey(number, "time");
}

QString alarmEnabledKey(int number)
{
    return alarmKey(number, "enabled");
}

QString alarmLockedKey(int number)
{
    return alarmKey(number, "locked");
}

QString alarmTextKey(int number)
{
    return alarmKey(number, "text");
}

QString alarmDaysKey(int number)
{
    return alarmKey(number, "days");
}

QString alarmSnoozedUntilKey(int number)
{
    return alarmKey(number, "snoozedUntil");
}

QTime readAlarmTime(const QSettings &settings, int number)
{
    return settings.value(alarmTimeKey(number)).toTime();
}

bool readAlarmEnabled(const QSettings &settings, int number)
{
    return readBool(settings, alarmEnabledKey(number), false);
}

bool readAlarmLocked(const QSettings &settings, int number)
{
    return readBool(settings, alarmLockedKey(number), false);
}

QString readAlarmText(const QSettings &settings, int number)
{
    return settings.value(alarmTextKey(number), defaultAlarmText(number)).toString();
}

QString defaultAlarmText(int number)
{
    switch (number) {
    case 1:
        return QLatin1String(defaultAlarmText1);
    case 2:
        return QLatin1String(defaultAlarmText2);
    case 3:
        return QLatin1String(defaultAlarmText3);
    default:
        return QString();
    }
}

static void tellOnStandardError(const QString &text)
{
    QTextStream(stderr) << text << Qt::endl;
}

AlarmDays readAlarmDays(const QSettings &settings, int number)
{
    const QVariant stored = settings.value(alarmDaysKey(number));
    if (!stored.isValid())
        return AlarmDays();
    bool readable = true;
    const AlarmDays days = AlarmDays::fromDigits(stored.toString(), &readable);
    if (!readable)
        tellOnStandardError(QStringLiteral("Dorvex: the days of alarm %1 (%2) name no day from 1 "
                                           "to 7; it rings every day.")
                                .arg(number)
                                .arg(stored.toString().left(20)));
    return days;
}

QDateTime readAlarmSnoozedUntil(const QSettings &settings, int number, const QDateTime &now)
{
    const QVariant stored = settings.value(alarmSnoozedUntilKey(number));
    if (!stored.isValid())
        return QDateTime();
    const QDateTime instant = QDateTime::fromString(stored.toString(), Qt::ISODateWithMs);
    // Set back since, the clock may put a snooze further ahead than its
    // length, but never a day.
    if (instant.isValid() && instant <= now.addDays(1))
        return instant.toUTC();
    tellOnStandardError(
        QStringLiteral("Dorvex: the snoozed ring of alarm %1 (%2) is not a time to come; "
                       "it is dropped.")
            .arg(number)
            .arg(stored.toString().left(40)));
    return QDateTime();
}

void writeAlarmSnoozedUntil(QSettings &settings, int number, const QDateTime &instant)
{
    if (instant.isValid())
        settings.setValue(
            alarmSnoozedUntilKey(number), instant.toUTC().toString(Qt::ISODateWithMs));
    else
        settings.remove(alarmSnoozedUntilKey(number));
}

QStringList all()
{
    QStringList keys;
    for (int number = 1; number <= AlarmEngine::alarmCount; ++number)
        keys << alarmTimeKey(number) << alarmEnabledKey(number) << alarmLockedKey(number)
             << alarmTextKey(number) << alarmDaysKey(number) << alarmSnoozedUntilKey(number);
    for (const BoolOption &option :
        { beepOnAlarm, scaleClockImage, minimizeToTray, closeToTray, startOnTray, confirmExit,
            showTestAlarm, disableAll, autostartOfferAnswered, wakeComputer })
        keys << QLatin1String(option.key);
    keys << QLatin1String(language) << QLatin1String(lastShownPhoto) << QLatin1String(watchedUntil)
         << QLatin1String(snoozeMinutesKey);
    return keys;
}

QString readLanguage(const QSettings &settings)
{
    return settings.value(QLatin1String(language), QLatin1String(defaultLanguageCode)).toString();
}

QString readLastShownPhoto(const QSettings &settings)
{
    return settings.value(QLatin1String(lastShownPhoto), QString()).toString();
}

QDateTime readWatchedUntil(const QSettings &settings)
{
    const QDateTime instant = QDateTime::fromString(
        settings.value(QLatin1String(watchedUntil)).toString(), Qt::ISODateWithMs);
    return instant.isValid() ? instant.toUTC() : QDateTime();
}

void writeWatchedUntil(QSettings &settings, const QDateTime &instant)
{
    if (instant.isValid())
        settings.setValue(QLatin1String(watchedUntil), instant.toUTC().toString(Qt::ISODateWithMs));
}

int readSnoozeMinutes(const QSettings &settings)
{
    bool whole = false;
    const int minutes = settings.value(QLatin1String(snoozeMinutesKey)).toString().toInt(&whole);
    return whole && minutes >= shortestSnoozeMinutes && minutes <= longestSnoozeMinutes
        ? minutes
        : defaultSnoozeMinutes;
}

} // namespace SettingsKeys
