#include "settingsdialog.h"

#include "appconstants.h"
#include "autostartentry.h"
#include "settingskeys.h"
#include "wakescheduler.h"

#include <QCheckBox>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>

namespace {

const QLatin1String cataloguePrefix("dorvex_");
const QLatin1String catalogueSuffix(".qm");

} // namespace

SettingsDialog::SettingsDialog(bool showResetButton, QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    fillLanguageList();
    loadSettings();
    setTrayAvailable(false);
    loadWakeOption();
    // Read from the desktop's entry, which the desktop's own settings may change too.
    startAtLoginCheckBox->setChecked(AutostartEntry().isEnabled());
    resetSettingsButton->setVisible(showResetButton);
}

void SettingsDialog::fillLanguageList()
{
    QStringList catalogues;
    const QStringList nameFilters { cataloguePrefix + QLatin1String("*") + catalogueSuffix };
    const QStringList folders = QDir::searchPaths(QStringLiteral("translations"));
    for (const QString &folder : folders) {
        QDir dir(folder);
        if (!dir.exists())
            continue;
        dir.setFilter(QDir::Files);
        dir.setNameFilters(nameFilters);
        catalogues += dir.entryList();
    }

    languagesComboBox->insertItem(
        0, tr("default (system locale)"), QLatin1String(defaultLanguageCode));
    languagesComboBox->insertItem(1, tr("English"), QLatin1String(englishLanguageCode));
    for (int i = 0; i < catalogues.size(); ++i) {
        QString code = catalogues.at(i);
        code.chop(catalogueSuffix.size());
        code.remove(0, cataloguePrefix.size());
        const QLocale locale(code);
        const QString text = tr("%1 (%2)")
                                 .arg(QLocale::languageToString(locale.language()))
                                 .arg(QLocale::territoryToString(locale.territory()));
        languagesComboBox->insertItem(i + 2, text, code);
    }
}

SettingsDialog::OptionRows SettingsDialog::optionRows() const
{
    return { {
        { beepOnAlarmCheckBox, SettingsKeys::beepOnAlarm },
        { scaleClockImageCheckBox, SettingsKeys::scaleClockImage },
        { minimizeToTrayCheckBox, SettingsKeys::minimizeToTray },
        { closeToTrayCheckBox, SettingsKeys::closeToTray },
        { startToTrayCheckBox, SettingsKeys::startOnTray },
        { confirmExitCheckBox, SettingsKeys::confirmExit },
        { showTestAlarmCheckBox, SettingsKeys::showTestAlarm },
    } };
}

void SettingsDialog::loadSettings()
{
    const QSettings settings;
    for (const auto &[box, option] : optionRows())
        box->setChecked(option.read(settings));
    snoozeMinutesSpinBox->setRange(
        SettingsKeys::shortestSnoozeMinutes, SettingsKeys::longestSnoozeMinutes);
    snoozeMinutesSpinBox->setValue(SettingsKeys::readSnoozeMinutes(settings));

    const QString language = SettingsKeys::readLanguage(settings);
    int selected = -1;
    for (int i = 0; i < languagesComboBox->count(); ++i) {
        const QVariant code = languagesComboBox->itemData(i, Qt::UserRole);
        if (code.isValid() && code.toString() == language)
            selected = i;
    }
    if (selected != -1)
        languagesComboBox->setCurrentIndex(selected);
}

void SettingsDialog::setTrayAvailable(bool available)
{
    startToTrayCheckBox->setEnabled(available);
    minimizeToTrayCheckBox->setEnabled(available);
    closeToTrayCheckBox->setEnabled(available);
}

void SettingsDialog::loadWakeOption()
{
    const QString helperPath = WakeScheduler::helperBesideProgram();
    wakeCapable = WakeScheduler::capabilityAvailable(helperPath);
    // Greyed out, the box shows what will happen, and the store keeps the
    // choice for when the helper has its capability.
    wakeComputerCheckBox->setEnabled(wakeCapable);
    wakeComputerCheckBox->setChecked(wakeCapable && SettingsKeys::wakeComputer.read(QSettings()));
    const QString howTo = wakeCapable
        ? tr("Wake the computer from sleep a minute before the next alarm rings")
        : tr("Needs the wake-up helper's capability: run sudo setcap cap_wake_alarm+ep %1")
              .arg(helperPath);
    wakeComputerCheckBox->setToolTip(howTo);
    wakeComputerCheckBox->setAccessibleDescription(wakeCapable ? QString() : howTo);
    showWakeNote();
}

void SettingsDialog::showWakeProblem(const QString &why)
{
    wakeProblem = why;
    showWakeNote();
}

void SettingsDialog::showWakeNote()
{
    const QString note = !wakeProblem.isEmpty() ? tr("Waking is not working: %1").arg(wakeProblem)
        : wakeCapable                           ? QString()
                                                : tr("Needs the wake-up helper's capability.");
    wakeComputerNoteLabel->setText(note);
    wakeComputerNoteLabel->setVisible(!note.isEmpty());
}

void SettingsDialog::saveSettings()
{
    QSettings settings;
    for (const auto &[box, option] : optionRows())
        option.write(settings, box->isChecked());
    if (wakeComputerCheckBox->isEnabled())
        SettingsKeys::wakeComputer.write(settings, wakeComputerCheckBox->isChecked());
    settings.setValue(QLatin1String(SettingsKeys::snoozeMinutesKey), snoozeMinutesSpinBox->value());

    const QVariant code = languagesComboBox->currentData(Qt::UserRole);
    settings.setValue(QLatin1String(SettingsKeys::language),
        code.isValid() ? code.toString() : QLatin1String(defaultLanguageCode));
}

void SettingsDialog::accept()
{
    saveSettings();
    QDialog::accept();
}

// Applied at once rather than on OK: the entry is the desktop's, not part of
// the store, and a failure is best reported while the user looks at the box.
void SettingsDialog::on_startAtLoginCheckBox_clicked(bool checked)
{
    AutostartEntry entry;
    if (!entry.setEnabled(checked)) {
        QMessageBox::warning(this, tr("Warning"), entry.errorString());
        startAtLoginCheckBox->setChecked(entry.isEnabled());
    }
}

void SettingsDialog::on_resetSettingsButton_clicked()
{
    if (QMessageBox::question(this, tr("Question"), tr("Really reset settings?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;

    QSettings settings;
    settings.clear();
    QMessageBox::information(this, tr("Message"), tr("Settings set to defaults!"), QMessageBox::Ok,
        QMessageBox::NoButton);
    // The base class's accept: the controls still show the old values and
    // must not be written back over the cleared store.
    QDialog::accept();
}
