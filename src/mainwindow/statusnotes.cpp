#include "statusnotes.h"

#include "alarmannouncer.h"
#include "alarmstore.h"
#include "statusclock.h"

#include <QAccessible>
#include <QLabel>
#include <QStatusBar>

StatusNotes::StatusNotes(
    QStatusBar *statusBar, const AlarmStore &store, const AlarmAnnouncer &announcer)
    : QObject(statusBar)
    , statusBar(statusBar)
    , announcer(announcer)
    , missedLabel(new QLabel(statusBar))
{
    constexpr int savedMessageMs = 2000;
    connect(&store, &AlarmStore::saved, this, [this] {
        this->statusBar->showMessage(
            tr("%1: Saved settings.").arg(StatusClock::currentText()), savedMessageMs);
    });
    // Left up until the next period tries again.
    connect(&store, &AlarmStore::saveFailed, this, [this] {
        this->statusBar->showMessage(
            tr("%1: Could not save settings!").arg(StatusClock::currentText()));
    });
    missedLabel->setObjectName(QStringLiteral("missedAlarmsLabel"));
    missedLabel->setVisible(false);
    statusBar->addWidget(missedLabel, 1);
    connect(&announcer, &AlarmAnnouncer::missedAlarmsChanged, this, &StatusNotes::showMissedAlarms);
}

void StatusNotes::showMissedAlarms()
{
    missedLabel->setText(announcer.missedAlarms().join(QLatin1String("; ")));
    missedLabel->setVisible(!announcer.missedAlarms().isEmpty());
    // Screen readers do not watch the status bar: a new line is announced.
    if (!announcer.missedAlarms().isEmpty()) {
        QAccessibleEvent announcement(missedLabel, QAccessible::Alert);
        QAccessible::updateAccessibility(&announcement);
    }
}
