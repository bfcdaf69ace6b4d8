#ifndef DORVEX_MAINWINDOW_H
#define DORVEX_MAINWINDOW_H

#include "ui_mainwindow.h"

#include <QDateTime>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QVector>

class AlarmEngine;
class AutostartOffer;
class QTimer;
class TrayHostWatcher;

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
    void on_alarm1EnableCheckBox_toggled();
    void on_alarm2EnableCheckBox_toggled();
    void on_alarm3EnableCheckBox_toggled();
    void on_disableAllCheckBox_toggled();
    void on_alarm1LockCheckBox_toggled();
    void on_alarm2LockCheckBox_toggled();
    void on_alarm3LockCheckBox_toggled();
    void on_timeEditAlarm1_timeChanged(QTime time);
    void on_timeEditAlarm2_timeChanged(QTime time);
    void on_timeEditAlarm3_timeChanged(QTime time);
    void on_alarm1TextToolButton_clicked();
    void on_alarm2TextToolButton_clicked();
    void on_alarm3TextToolButton_clicked();
    void on_alarm1DebugToolButton_clicked();
    void on_alarm2DebugToolButton_clicked();
    void on_alarm3DebugToolButton_clicked();
    void on_action_RestoreWindow_triggered();
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
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
    // lets the window close without a question when the session ends it.
    void commitSessionData();
    // Saves when no one can be asked or warned: a failure goes to standard
    // error. For the last moment of a process that ends on its own.
    void saveWithoutQuestion();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private slots:
    void alarm1Triggered();
    void alarm2Triggered();
    void alarm3Triggered();
    void maybeSaveSettings();
    void updateTime();
    void updateAlarms();
    void followTrayHost();

private:
    void loadSettings();
    bool saveSettings();
    void markSettingsChanged();
    void updateLamps();
    void refreshAlarms();
    void rescheduleAlarm(int index);
    void ringAlarm(int index, const QDateTime &due, qint64 lateMs);
    void noteMissedAlarm(int index, const QDateTime &due);
    void showMissedAlarms();
    void writeWatchedUntil();
    void showAlarm(const QString &text, int number, const QString &dueLine = QString());
    void editAlarmText(int index);
    void setTestButtonsVisible(bool visible);
    void applyTestButtonSetting();

    void setupTrayIcon();
    void removeTrayIcon();
    void centerOnScreen();
    bool isParked() const;
    void parkInTray();
    void restoreFromTray();

    QTimeEdit *timeEdit(int index) const;
    QCheckBox *enableCheckBox(int index) const;
    QCheckBox *lockCheckBox(int index) const;
    QLabel *ledLabel(int index) const;
    bool trayAvailable() const;
    QString trayToolTip() const;

    QVector<bool> alarmArmed;
    QVector<QString> alarmTexts;
    AlarmEngine *engine = nullptr;
    QLabel clockLabel;
    QTimer *clockTimer = nullptr;
    bool settingsChanged = false;
    // The store could not be read as a whole at start: the next save writes
    // it afresh.
    bool storeDamaged = false;
    bool sessionEnding = false;
    bool debugMode;
    bool suppressReactions = false;
    bool testButtonsSetting = false;
    QIcon trayImage;
    QSystemTrayIcon *trayIcon = nullptr;
    // Alarms that passed too long ago to ring, told until the window has
    // been shown with them.
    QStringList missedAlarms;
    QLabel missedLabel;
    TrayHostWatcher *trayHost = nullptr;
    AutostartOffer *autostartOffer = nullptr;
};

#endif
