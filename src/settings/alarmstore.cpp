#include "alarmstore.h"

#include "alarmengine.h"
#include "clock.h"
#include "settingskeys.h"
#include "settingsrepair.h"

#include <QSettings>

namespace {

constexpr int saveIntervalMs = 30000;

} // namespace

AlarmStore::AlarmStore(std::function<StoredPanel()> current, QObject *parent)
    : QObject(parent)
    , current(std::move(current))
{
    connect(&periodicSave, &QTimer::timeout, this, &AlarmStore::saveIfChanged);
    periodicSave.start(saveIntervalMs);
}

StoredPanel AlarmStore::load()
{
    const QSettings settings;
    const QDateTime now = Clock::instance().now();
    StoredPanel panel;
    for (int index = 0; index < AlarmEngine::alarmCount; ++index) {
        const int number = index + 1;
        panel.alarms.append({ SettingsKeys::readAlarmTime(settings, number),
            SettingsKeys::readAlarmEnabled(settings, number),
            SettingsKeys::readAlarmLocked(settings, number),
            SettingsKeys::readAlarmText(settings, number),
            SettingsKeys::readAlarmDays(settings, number),
            SettingsKeys::readAlarmSnoozedUntil(settings, number, now) });
    }
    panel.disableAll = SettingsKeys::disableAll.read(settings);
    storeDamaged = settings.status() == QSettings::FormatError;
    return panel;
}

QDateTime AlarmStore::readWatchedUntil() const
{
    return SettingsKeys::readWatchedUntil(QSettings());
}

void AlarmStore::forgetChangesOfLoading()
{
    settingsChanged = storeDamaged;
}

void AlarmStore::markChanged()
{
    settingsChanged = true;
}

bool AlarmStore::save()
{
    if (storeDamaged && !SettingsRepair::rewriteClean(SettingsKeys::all()))
        return false;
    storeDamaged = false;
    const StoredPanel panel = current();
    QSettings settings;
    for (int index = 0; index < panel.alarms.size(); ++index) {
        const int number = index + 1;
        const StoredPanel::Alarm &alarm = panel.alarms[index];
        settings.setValue(SettingsKeys::alarmTimeKey(number), alarm.time);
        settings.setValue(SettingsKeys::alarmEnabledKey(number), alarm.enabled);
        settings.setValue(SettingsKeys::alarmLockedKey(number), alarm.locked);
        settings.setValue(SettingsKeys::alarmTextKey(number), alarm.text);
        // A store that never had days keeps ringing daily without them.
        if (!alarm.days.isEveryDay() || settings.contains(SettingsKeys::alarmDaysKey(number)))
            settings.setValue(SettingsKeys::alarmDaysKey(number), alarm.days.toDigits());
        SettingsKeys::writeAlarmSnoozedUntil(settings, number, alarm.snoozedUntil);
    }
    SettingsKeys::disableAll.write(settings, panel.disableAll);
    SettingsKeys::writeWatchedUntil(settings, panel.watchedUntil);

    // Written now rather than when the store object goes, so that a store
    // that cannot be written (read-only or full) is known and reported.
    settings.sync();
    // A format error comes from reading a file damaged since the last save;
    // the values were written all the same, and the next save cleans up.
    storeDamaged = settings.status() == QSettings::FormatError;
    if (storeDamaged)
        markChanged();
    return settings.status() != QSettings::AccessError;
}

void AlarmStore::saveIfChanged()
{
    if (!settingsChanged)
        return;
    settingsChanged = false;
    if (save()) {
        emit saved();
    } else {
        settingsChanged = true;
        emit saveFailed();
    }
}

void AlarmStore::writeWatchedUntil(const QDateTime &until)
{
    QSettings settings;
    SettingsKeys::writeWatchedUntil(settings, until);
}
