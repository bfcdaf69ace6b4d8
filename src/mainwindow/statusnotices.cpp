#include "statusnotices.h"

#include "statusclock.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QStatusBar>

StatusNotices::StatusNotices(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("missedAlarmsLabel"));
    setVisible(false);
}

void StatusNotices::showLines(const QStringList &snoozed, const QStringList &missed)
{
    const QStringList lines = snoozed + missed;
    setText(lines.join(QLatin1String("; ")));
    setVisible(!lines.isEmpty());
    if (!missed.isEmpty() && missed != announcedMissed) {
        QAccessibleEvent announcement(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&announcement);
    }
    announcedMissed = missed;
}

void StatusNotices::tellSave(bool succeeded)
{
    auto *bar = qobject_cast<QStatusBar *>(parentWidget());
    if (!bar)
        return;
    constexpr int savedMessageMs = 2000;
    if (succeeded)
        bar->showMessage(QCoreApplication::translate("MainWindow", "%1: Saved settings.")
                             .arg(StatusClock::currentText()),
            savedMessageMs);
    else
        bar->showMessage(QCoreApplication::translate("MainWindow", "%1: Could not save settings!")
                             .arg(StatusClock::currentText()));
}
