#ifndef DORVEX_ALARMANNOUNCER_H
#define DORVEX_ALARMANNOUNCER_H

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class AlarmEngine;
class AlarmPreparer;
class AlarmStore;
class ExpirationDialog;
class PreparedAlarmDialogs;
class ScreenKeeper;
class QWidget;

// Tells of the engine's rings: the alarm's dialog, prepared ahead of its
// second (or built at once for a late ring, with the second it was due at),
// the desktop's notification while the dialog is up, and the list of
// alarms missed for good. The end of the watch is stored at each ring. The
// screen is woken and kept on while a dialog is up.
class AlarmAnnouncer : public QObject
{
    Q_OBJECT

public:
    // The alarm's text by index.
    using TextOf = std::function<QString(int index)>;

    AlarmAnnouncer(AlarmEngine &engine, AlarmStore &store, TextOf textOf, QWidget *dialogParent);

    // Prepares what rings soon; to be called once the engine watches.
    void prepareAhead();
    // The alarm's text changed, or the options its dialog shows.
    void renew(int index);
    void renewAll();

    // Shows `prepared` when given, or a dialog built now; returns when the
    // dialog is closed.
    void show(const QString &text, int number, const QString &dueLine = QString(),
        std::unique_ptr<ExpirationDialog> prepared = nullptr);

    // Alarms that passed too long ago to ring, until they have been seen.
    const QStringList &missedAlarms() const { return missed; }
    void forgetMissedAlarms();

signals:
    void missedAlarmsChanged();

private:
    void ring(int index, const QDateTime &due, qint64 lateMs);
    void noteMissed(int index, const QDateTime &due);
    void writeWatchedUntil();
    ScreenKeeper &keeper();

    AlarmEngine &engine;
    AlarmStore &store;
    TextOf textOf;
    QWidget *dialogParent;
    AlarmPreparer *preparer;
    PreparedAlarmDialogs *preparedDialogs;
    QStringList missed;
    // Made once the window is up: it opens the buses.
    ScreenKeeper *screenKeeper = nullptr;
};

#endif
