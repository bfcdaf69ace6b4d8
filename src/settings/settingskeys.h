#ifndef DORVEX_SETTINGSKEYS_H
#define DORVEX_SETTINGSKEYS_H

#include "alarmdays.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

class QSettings;

// Every key of the settings store with its default, in one place.
// Readers and writers go through these so that a key or a default
// can never differ between two places of the program.
namespace SettingsKeys {

struct BoolOption
{
    const char *key;
    bool defaultValue;

    bool read(const QSettings &settings) const;
    void write(QSettings &settings, bool value) const;
};

// Options of the settings dialog (and the disable-all switch of the main
// window); the key is the editing check box's name plus "/enabled", except
// start-in-tray, whose key predates its check box's name.
inline constexpr BoolOption beepOnAlarm { "beepOnAlarmCheckBox/enabled", false };
inline constexpr BoolOption scaleClockImage { "scaleClockImageCheckBox/enabled", false };
inline constexpr BoolOption minimizeToTray { "minimizeToTrayCheckBox/enabled", false };
inline constexpr BoolOption closeToTray { "closeToTrayCheckBox/enabled", false };
inline constexpr BoolOption startOnTray { "startOnTrayCheckBox/enabled", false };
inline constexpr BoolOption confirmExit { "confirmExitCheckBox/enabled", true };
inline constexpr BoolOption showTestAlarm { "showTestAlarmCheckBox/enabled", false };
inline constexpr BoolOption disableAll { "disableAllCheckBox/enabled", false };
// Kept while the wake-up helper lacks its capability and the box is greyed out.
inline constexpr BoolOption wakeComputer { "wakeComputerCheckBox/enabled", false };
// Set once the user has answered the main window's offer to start at log-in.
inline constexpr BoolOption autostartOfferAnswered { "autostartOffer/answered", false };

inline constexpr char language[] = "language";
inline constexpr char lastShownPhoto[] = "last_shown_photo";
// The instant up to which the program kept watch over the alarms, as ISO
// text in UTC: what came due after it, while the program was not running,
// is rung at the next start.
inline constexpr char watchedUntil[] = "watched_until";
// How long a snoozed alarm waits before it rings again, in whole minutes.
inline constexpr char snoozeMinutesKey[] = "snoozeMinutesSpinBox/value";
inline constexpr int defaultSnoozeMinutes = 10;
inline constexpr int shortestSnoozeMinutes = 1;
inline constexpr int longestSnoozeMinutes = 60;

// Per-alarm keys, for alarm number 1, 2 or 3.
QString alarmTimeKey(int number);
QString alarmEnabledKey(int number);
QString alarmLockedKey(int number);
QString alarmTextKey(int number);
// Written only once the user has chosen days: a store without it rings daily.
QString alarmDaysKey(int number);
// The instant of a snoozed ring, as ISO text in UTC; absent when none.
QString alarmSnoozedUntilKey(int number);

// An absent or unreadable time gives a null time.
QTime readAlarmTime(const QSettings &settings, int number);
bool readAlarmEnabled(const QSettings &settings, int number);
bool readAlarmLocked(const QSettings &settings, int number);
QString readAlarmText(const QSettings &settings, int number);
QString defaultAlarmText(int number);
// Absent: every day. A value with no day in it reads as every day, and
// standard error says so.
AlarmDays readAlarmDays(const QSettings &settings, int number);
// Invalid when absent. One that cannot be read, or lies further ahead of
// `now` than any snooze can, is dropped with a line on standard error.
QDateTime readAlarmSnoozedUntil(const QSettings &settings, int number, const QDateTime &now);
void writeAlarmSnoozedUntil(QSettings &settings, int number, const QDateTime &instant);

// Every key the program reads or writes; a store damaged on disk is cut
// back to these. A new key belongs here too.
QStringList all();

QString readLanguage(const QSettings &settings);
QString readLastShownPhoto(const QSettings &settings);
// Invalid when absent or unreadable.
QDateTime readWatchedUntil(const QSettings &settings);
void writeWatchedUntil(QSettings &settings, const QDateTime &instant);
// The default for anything but a whole number in the allowed range.
int readSnoozeMinutes(const QSettings &settings);

} // namespace SettingsKeys

#endif
