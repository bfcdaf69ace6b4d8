#ifndef DORVEX_MAINWINDOW_H
#define DORVEX_MAINWINDOW_H

#include "alarmrow.h"
#include "traypresence.h"
#include "ui_mainwindow.h"

#include <QLabel>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QVector>

#include <memory>

class AlarmAnnouncer;
class AlarmEngine;
class AlarmStore;
class AutostartOffer;
class ExpirationDialog;
class QTimer;
class SessionEnding;
class StatusClock;
class StatusNotices;
class WakeUps;

// The alarm panel: three daily alarms, each armed by its enable box unless
// everything is disabled. It shows and edits them; the alarm engine decides
// when they ring, is re-aimed every minute, and the panel shows its rings.
// The panel can live in the system tray, and the alarm values are saved
// periodically and on exit.
class MainWindow : public QMainWindow, private Ui::MainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(bool debugMode, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Shows the window, or only the tray icon when the user asked to start there.
    void showAtStart();

    // The single-shot timer of alarm index 0, 1 or 2, for inspection.
    const QTimer *alarmTimer(int index) const;
    const AlarmEngine *alarmEngine() const { return engine; }

public slots:
    void on_action_About_triggered();
    void on_action_About_Qt_triggered();
    void on_action_Help_triggered();
    void on_action_Settings_triggered();
    void on_action_Exit_triggered();
    // The rows' reactions: each names its alarm, the work is shared.
    void on_alarm1EnableCheckBox_toggled() { armingChanged(); }
    void on_alarm2EnableCheckBox_toggled() { armingChanged(); }
    void on_alarm3EnableCheckBox_toggled() { armingChanged(); }
    void on_disableAllCheckBox_toggled() { armingChanged(); }
    void on_alarm1LockCheckBox_toggled() { markSettingsChanged(); }
    void on_alarm2LockCheckBox_toggled() { markSettingsChanged(); }
    void on_alarm3LockCheckBox_toggled() { markSettingsChanged(); }
    void on_timeEditAlarm1_timeChanged(QTime) { alarmTimeChanged(0); }
    void on_timeEditAlarm2_timeChanged(QTime) { alarmTimeChanged(1); }
    void on_timeEditAlarm3_timeChanged(QTime) { alarmTimeChanged(2); }
    void on_alarm1TextToolButton_clicked() { editAlarmText(0); }
    void on_alarm2TextToolButton_clicked() { editAlarmText(1); }
    void on_alarm3TextToolButton_clicked() { editAlarmText(2); }
    void on_alarm1DebugToolButton_clicked() { showTestAlarm(0); }
    void on_alarm2DebugToolButton_clicked() { showTestAlarm(1); }
    void on_alarm3DebugToolButton_clicked() { showTestAlarm(2); }
    void on_action_RestoreWindow_triggered();
    void trayActivated(QSystemTrayIcon::ActivationReason reason) { tray->activate(reason); }
    void on_toTrayPushButton_clicked();
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

    // Another start of the program asked for this copy: the window comes
    // back from the tray and to the front, under any question it has open.
    void bringToFront();
    // The system asked the program to end (a termination signal): saves and
    // ends at once with exit code 0. Nobody may be there to answer a question.
    void endWithoutQuestion();
    // The desktop session is logging out or shutting down: saves now, and
    // lets the window close without a question when the session ends it
    // (not when the log-out is cancelled and the user closes it later).
    void commitSessionData();
    // Saves when no one can be asked or warned: a failure goes to standard
    // error. For the last moment of a process that ends on its own.
    void saveWithoutQuestion();

protected:
    void hideEvent(QHideEvent *event) override;

private slots:
    // The engine's timers wake it by themselves; these let anyone ask it to look.
    void alarm1Triggered() { checkAlarms(); }
    void alarm2Triggered() { checkAlarms(); }
    void alarm3Triggered() { checkAlarms(); }
    void maybeSaveSettings();
    void updateTime();
    void updateAlarms();

private:
    void armingChanged();
    void alarmTimeChanged(int index);
    void checkAlarms();
    void loadSettings();
    bool saveSettings();
    void markSettingsChanged();
    void updateLamps();
    void refreshAlarms();
    void rescheduleAlarm(int index);
    // Snoozed alarms, then those missed, in the status bar and the tray.
    void showStatusLines();
    // The next rings in the lamps' and the tray icon's tool tips, and
    // whether anything is armed in the tray icon's picture.
    void showNextAlarm();
    // Shows `prepared` when given, or a dialog built now.
    void showAlarm(const QString &text, int number, const QString &dueLine = QString(),
        std::unique_ptr<ExpirationDialog> prepared = nullptr);
    void editAlarmText(int index);
    void showTestAlarm(int index);
    void setTestButtonsVisible(bool visible);
    void applyTestButtonSetting();

    void setupTrayIcon() { tray->setupIcon(); }
    void removeTrayIcon() { tray->removeIcon(); }
    void centerOnScreen();
    bool isParked() const { return tray->isParked(); }
    void parkInTray() { tray->park(); }
    void restoreFromTray() { tray->restore(); }

    bool trayAvailable() const { return tray->isAvailable(); }
    QString trayToolTip() const;

    QVector<AlarmRow> rows;
    QVector<bool> alarmArmed;
    QVector<QString> alarmTexts;
    AlarmEngine *engine = nullptr;
    AlarmStore *store = nullptr;
    AlarmAnnouncer *announcer = nullptr;
    TrayPresence *tray = nullptr;
    SessionEnding *sessionEnding = nullptr;
    StatusClock *clockLabel = nullptr;
    StatusNotices *missedLabel = nullptr;
    bool debugMode;
    bool suppressReactions = false;
    bool testButtonsSetting = false;
    AutostartOffer *autostartOffer = nullptr;
    WakeUps *wakeUps = nullptr;
};

#endif
