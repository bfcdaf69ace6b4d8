#include "autostartoffer.h"

#include "autostartentry.h"
#include "settingskeys.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>

AutostartOffer::AutostartOffer(QStatusBar *statusBar, QWidget *bar, QAbstractButton *acceptButton,
    QAbstractButton *dismissButton)
    : QObject(statusBar)
    , window(statusBar->window())
    , bar(bar)
{
    bar->hide();
    statusBar->addWidget(bar);
    connect(acceptButton, &QAbstractButton::clicked, this, &AutostartOffer::accept);
    connect(dismissButton, &QAbstractButton::clicked, this, &AutostartOffer::dismiss);
}

void AutostartOffer::setAlarmsArmed(bool anyArmed)
{
    alarmsArmed = anyArmed;
    if (anyArmed && !bar->isVisibleTo(window) && wanted())
        setShown(true);
}

void AutostartOffer::refresh()
{
    setShown(alarmsArmed && wanted());
}

bool AutostartOffer::wanted() const
{
    const QSettings settings;
    return !SettingsKeys::autostartOfferAnswered.read(settings) && !AutostartEntry().isEnabled();
}

void AutostartOffer::accept()
{
    AutostartEntry entry;
    if (!entry.setEnabled(true)) {
        QMessageBox::warning(window, tr("Warning"), entry.errorString());
        return;
    }
    recordAnswer();
}

void AutostartOffer::dismiss()
{
    recordAnswer();
}

void AutostartOffer::recordAnswer()
{
    QSettings settings;
    SettingsKeys::autostartOfferAnswered.write(settings, true);
    setShown(false);
}

void AutostartOffer::setShown(bool shown)
{
    bar->setVisible(shown);
}
