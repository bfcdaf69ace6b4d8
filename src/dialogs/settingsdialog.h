#ifndef DORVEX_SETTINGSDIALOG_H
#define DORVEX_SETTINGSDIALOG_H

#include "ui_settingsdialog.h"

#include "settingskeys.h"

#include <QDialog>

#include <array>
#include <utility>

// Edits the option switches and the interface language. The controls are
// loaded from the store when the dialog is built and written back only on
// OK; a changed language takes effect at the next start.
class SettingsDialog : public QDialog, private Ui::SettingsDialog
{
    Q_OBJECT

public:
    SettingsDialog(bool showResetButton, QWidget *parent = nullptr);

    // Enables the options that lead into the tray. They start disabled: the
    // dialog does not ask the toolkit, whose first tray question would
    // settle the tray protocol for the whole process.
    void setTrayAvailable(bool available);
    // Why waking the computer does not work although it is on; empty when it works.
    void showWakeProblem(const QString &why);

public slots:
    void accept() override;
    void on_resetSettingsButton_clicked();
    void on_startAtLoginCheckBox_clicked(bool checked);

private:
    // Each check box with the switch it edits, in the order of loading and saving.
    using OptionRows = std::array<std::pair<QCheckBox *, SettingsKeys::BoolOption>, 7>;
    OptionRows optionRows() const;

    void fillLanguageList();
    void loadSettings();
    void saveSettings();
    // Greys the wake-up option out, saying how to give the helper beside
    // the program its capability, unless it can arm a wake-up.
    void loadWakeOption();
    void showWakeNote();

    bool wakeCapable = false;
    QString wakeProblem;
};

#endif
