#include "alarmannouncer.h"

#include "alarmengine.h"
#include "alarmnotices.h"
#include "alarmnotification.h"
#include "alarmpreparer.h"
#include "alarmstore.h"
#include "clock.h"
#include "expirationdialog.h"
#include "preparedalarmdialogs.h"
#include "screenkeeper.h"
#include "settingskeys.h"

#include <QSettings>

#include <QScopeGuard>
#include <QTimer>

AlarmAnnouncer::AlarmAnnouncer(
    AlarmEngine &engine, AlarmStore &store, TextOf textOf, QWidget *dialogParent)
    : QObject(dialogParent)
    , engine(engine)
    , store(store)
    , textOf(std::move(textOf))
    , dialogParent(dialogParent)
    , preparer(new AlarmPreparer(engine, Clock::instance(), AlarmPreparer::defaultLeadMs, this))
    , preparedDialogs(new PreparedAlarmDialogs(*preparer, this->textOf, dialogParent))
{
    // Queued, so that alarms due together each open a dialog above the
    // previous one rather than wait for it to close.
    connect(&engine, &AlarmEngine::alarmDue, this, &AlarmAnnouncer::ring, Qt::QueuedConnection);
    connect(&engine, &AlarmEngine::alarmMissed, this, &AlarmAnnouncer::noteMissed);
    QTimer::singleShot(0, this, [this] { keeper(); });
}

ScreenKeeper &AlarmAnnouncer::keeper()
{
    if (!screenKeeper)
        screenKeeper = new ScreenKeeper(this);
    return *screenKeeper;
}

void AlarmAnnouncer::prepareAhead()
{
    preparer->check();
}

void AlarmAnnouncer::renew(int index)
{
    preparer->renew(index);
}

void AlarmAnnouncer::renewAll()
{
    preparer->renewAll();
}

void AlarmAnnouncer::ring(int index, const QDateTime &due, qint64 lateMs)
{
    // Kept past the ring as soon as its dialog is on its way to the screen
    // (the store is written and synced to disk, which takes milliseconds), so
    // that a crash in the dialog does not ring the alarm again at the next start.
    QTimer::singleShot(0, this, &AlarmAnnouncer::writeWatchedUntil);
    const QString dueLine
        = AlarmNotices::dueLine(due.toTimeZone(Clock::instance().timeZone()), lateMs);
    std::unique_ptr<ExpirationDialog> prepared = preparedDialogs->take(index, due);
    // One that rings late (after a sleep) is built anew, with its due line.
    if (!dueLine.isEmpty())
        prepared.reset();
    show(textOf(index), index + 1, dueLine, std::move(prepared));
}

void AlarmAnnouncer::noteMissed(int index, const QDateTime &due)
{
    writeWatchedUntil();
    preparedDialogs->discard(index);
    missed.append(
        AlarmNotices::missedLine(index + 1, due.toTimeZone(Clock::instance().timeZone())));
    emit missedAlarmsChanged();
}

void AlarmAnnouncer::forgetMissedAlarms()
{
    if (missed.isEmpty())
        return;
    missed.clear();
    emit missedAlarmsChanged();
}

void AlarmAnnouncer::writeWatchedUntil()
{
    store.writeWatchedUntil(engine.watchedUntil());
}

void AlarmAnnouncer::show(const QString &text, int number, const QString &dueLine,
    std::unique_ptr<ExpirationDialog> prepared)
{
    // Re-entrant: another alarm may open its own dialog above this one
    // while this dialog runs its event loop.
    const std::unique_ptr<ExpirationDialog> shown = prepared
        ? std::move(prepared)
        : std::make_unique<ExpirationDialog>(text, number, dialogParent);
    ExpirationDialog &dialog = *shown;
    keeper().begin();
    const auto screenLetGo = qScopeGuard([this] { screenKeeper->end(); });
    dialog.setDueLine(dueLine);
    const int snoozeMinutes = SettingsKeys::readSnoozeMinutes(QSettings());
    dialog.setSnoozeMinutes(snoozeMinutes);
    // Sent once the dialog is on its way to the screen, so as not to hold it up.
    AlarmNotification notification;
    const QTime alarmTime = engine.alarmTime(number - 1);
    QTimer::singleShot(0, &notification,
        [&notification, number, text, alarmTime] { notification.send(number, text, alarmTime); });
    connect(&notification, &AlarmNotification::snoozeRequested, &dialog,
        [&dialog] { dialog.done(ExpirationDialog::Snoozed); });
    connect(&notification, &AlarmNotification::dismissRequested, &dialog, &QDialog::accept);
    connect(&notification, &AlarmNotification::frontRequested, &dialog, [&dialog] {
        dialog.raise();
        dialog.activateWindow();
    });
    const bool snoozed = dialog.exec() == ExpirationDialog::Snoozed;
    notification.withdraw();
    if (snoozed) {
        engine.snooze(number - 1, Clock::instance().now().addSecs(snoozeMinutes * 60));
        // Kept at once, through a crash or a sleep that may come next.
        store.save();
    }
}
