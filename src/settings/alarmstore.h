#ifndef DORVEX_ALARMSTORE_H
#define DORVEX_ALARMSTORE_H

#include "alarmdays.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTime>
#include <QTimer>
#include <QVector>

#include <functional>

// The values of the alarm panel that the store keeps.
struct StoredPanel
{
    struct Alarm
    {
        QTime time;
        bool enabled = false;
        bool locked = false;
        QString text;
        AlarmDays days;
        // The instant of its snoozed ring, or invalid when none.
        QDateTime snoozedUntil;
    };

    // By index: alarm 1 first.
    QVector<Alarm> alarms;
    bool disableAll = false;
    // The instant up to which the program kept watch over the alarms.
    QDateTime watchedUntil;
};

// Reads the panel's values at start and writes them back: every 30 seconds
// when something changed, and whenever asked. A store that could not be
// read as a whole is written afresh at the next save.
class AlarmStore : public QObject
{
    Q_OBJECT

public:
    // `current` gives the panel's values whenever they are to be written.
    explicit AlarmStore(std::function<StoredPanel()> current, QObject *parent = nullptr);

    // The panel's values, all but the end of the watch.
    StoredPanel load();
    QDateTime readWatchedUntil() const;
    // Changes made while the panel was being filled from the store are not
    // the user's: only a damaged store still needs its fresh write.
    void forgetChangesOfLoading();

    void markChanged();
    // Writes the values now; false when the store cannot be written.
    bool save();
    // Saves when something changed, and tells how it went by signal. A
    // failed save is tried again at the next period.
    void saveIfChanged();
    // Written on its own at each ring, so that a crash right after does not
    // ring the alarm again at the next start.
    void writeWatchedUntil(const QDateTime &until);

signals:
    void saved();
    void saveFailed();

private:
    std::function<StoredPanel()> current;
    QTimer periodicSave;
    bool settingsChanged = false;
    bool storeDamaged = false;
};

#endif
